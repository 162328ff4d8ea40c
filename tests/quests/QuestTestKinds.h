#pragma once
// Trigger kinds of the quest tests: a condition switched by the test and an action that counts
// its firings. They register in this test program only.
#include <string>
#include <vector>

#include "Engine/streams/IOStream.h"
#include "Game/quests/triggers/TriggerKinds.h"

namespace GAME::test {

class Condition_TestSwitch : public TriggerCondition {
public:
    explicit Condition_TestSwitch(std::uint32_t id) : TriggerCondition(id) {}
    const char* GetName() const override { return "Condition_TestSwitch"; }
};

struct FiredAction {
    std::string label;
    std::uint32_t target;
    bool reFire;
};

class Action_TestCounter : public TriggerAction {
public:
    explicit Action_TestCounter(std::uint32_t id) : TriggerAction(id) {}
    void Fire(std::uint32_t target, bool reFire) override {
        if (reFire && !mCanReFire)
            return;
        Log().push_back({mLabel, target, reFire});
    }
    const char* GetName() const override { return "Action_TestCounter"; }
    bool CanDelay() const override { return mCanDelay; }
    bool CanReFire() const override { return mCanReFire; }
    void SerializeChildProperties(IOStream& stream) override {
        stream.StreamString("label", mLabel);
        stream.StreamBool("canDelay", mCanDelay);
        stream.StreamBool("canReFire", mCanReFire);
    }
    static std::vector<FiredAction>& Log() {
        static std::vector<FiredAction> log;
        return log;
    }

private:
    std::string mLabel;
    bool mCanDelay = false;
    bool mCanReFire = false;
};

}  // namespace GAME::test
