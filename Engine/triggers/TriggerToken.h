#pragma once
// A named token of the quest scripts: a player holds the tokens quests gave it, and triggers ask
// whether it holds one by name.
#include <string>
#include <utility>

namespace GAME {

class IOStream;

class TriggerToken {
public:
    TriggerToken() = default;
    explicit TriggerToken(std::string name) : mName(std::move(name)) {}

    const std::string& GetName() const { return mName; }
    bool operator==(const TriggerToken&) const = default;

    // One routine reads and writes the token ("tokenName").
    void StreamProperties(IOStream& stream);

private:
    std::string mName;
};

}  // namespace GAME
