#pragma once
// The text of a quest "Q" of one step whose completion trigger holds one action, for tests that
// load a quest of their own. `action` is the action's property list, for example
// R"({"name": "Action_GiveMoney"}, {"moneyAmount[0]": 40})".
#include <string>

namespace GAME::test {

inline std::string OneActionQuest(const std::string& action) {
    return R"([{"quest": [{"title": "Q"}]}, {"steps": [{"max": 1}, {"step": [)"
           R"({"properties": [{"name": "s"}]}, {"triggers": [{"max": 0}]}, {"completion": [)"
           R"({"trigger": [{"displayTag": "t"}, {"conditions": [{"max": 0}]}, {"actions": [)"
           R"({"max": 1}, {"action": [)" +
           action + "]}]}]}]}]}]}]";
}

}  // namespace GAME::test
