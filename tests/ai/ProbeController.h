#pragma once
// A controller whose states write what happens to them into the controller's journal
// ("Name:begin", "Name:end", "Name:update", "Name:event:<event>"), with hooks a test sets to act
// from inside a state's operations. Its class record is in ProbeController.cpp.
#include <functional>
#include <string>
#include <vector>

#include "Engine/text/Name.h"
#include "Game/ai/controllers/ControllerAIStateT.h"

namespace GAME::test {

class ProbeState : public ControllerAIStateT<ControllerAI, Character> {
public:
    ProbeState(ControllerAI* controller, std::string name, std::vector<std::string>* journal)
        : ControllerAIStateT(controller), mName(std::move(name)), mJournal(journal) {}

    void OnBegin() override { Note("begin", onBegin); }
    void OnEnd() override { Note("end", onEnd); }
    void OnUpdate(int) override { Note("update", onUpdate); }
    void HandleEvent(const Name& event) override {
        mJournal->push_back(mName + ":event:" + event.str());
        if (onEvent)
            onEvent();
    }

    using ControllerAIStateT::CloseEnoughToUseSkillOn;
    using ControllerAIStateT::FindAlliesInSight;
    using ControllerAIStateT::FindAlliesOfType;
    using ControllerAIStateT::FindEnemiesInSight;
    using ControllerAIStateT::IsPathClear;

    std::function<void()> onBegin, onEnd, onUpdate, onEvent;

private:
    void Note(const char* what, const std::function<void()>& hook) {
        mJournal->push_back(mName + ":" + what);
        if (hook)
            hook();
    }

    std::string mName;
    std::vector<std::string>* mJournal;
};

class ProbeController : public ControllerAI {
    RTTI_DECLARE(ProbeController)
public:
    ProbeState* AddProbeState(const std::string& name) {
        auto state = std::make_unique<ProbeState>(this, name, &journal);
        ProbeState* raw = state.get();
        AddState(name, std::move(state));
        return raw;
    }
    ProbeState* AddProbeTemporaryState(const std::string& name) {
        auto state = std::make_unique<ProbeState>(this, name, &journal);
        ProbeState* raw = state.get();
        ControllerAI::AddTemporaryState(name, std::move(state));
        return raw;
    }
    using ControllerAI::AddTemporaryState;

    // A permission to answer instead of the default rules; -1 keeps them.
    int forcedPermission = -1;
    unsigned CheckAction(CharacterActionType type) override {
        return forcedPermission >= 0 ? static_cast<unsigned>(forcedPermission)
                                     : ControllerAI::CheckAction(type);
    }

    // Whether a dead character still asks for its death update.
    bool wantsDeathUpdate = false;
    bool NeedsDeathUpdate() override { return wantsDeathUpdate; }
    void DeathUpdate(int) override { journal.push_back("death-update"); }

    std::vector<std::string> journal;
};

}  // namespace GAME::test
