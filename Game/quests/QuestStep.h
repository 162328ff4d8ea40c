#pragma once
// One step of a quest: triggers that are armed while the step's enabling formula (over the local
// player's tokens) holds, and a completion trigger that fires when every trigger has fired.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Engine/triggers/Trigger.h"
#include "Game/rules/formulas/EquationInterface.h"

namespace GAME {

class DesignerEquation_Boolean;
class IOStream;
class Quest;

class QuestStep : public TriggerContainer, public EquationInterface<bool> {
public:
    QuestStep(std::uint32_t id, Quest* parent);
    ~QuestStep() override;
    QuestStep(const QuestStep&) = delete;
    QuestStep& operator=(const QuestStep&) = delete;

    // The author's step (quest files) and what changed while playing (quest state files).
    void Serialize(IOStream& stream);
    void StreamProperties(IOStream& stream);

    Trigger* AddNewTrigger();
    void RemoveTrigger(std::size_t index);
    void MoveUp(std::size_t index);
    void MoveDown(std::size_t index);
    std::size_t GetTriggerCount() const { return mTriggers.size(); }
    Trigger* GetTriggerOfIdx(std::size_t index) const {
        return index < mTriggers.size() ? mTriggers[index].get() : nullptr;
    }
    int GetIdxOfTrigger(const Trigger* trigger) const;
    Trigger* GetCompletionTrigger() const { return mCompletion.get(); }
    void GetActiveTriggers(std::vector<Trigger*>& out) const;

    bool IsEnabled() const;
    bool IsComplete() const { return mComplete; }
    void OnTriggerFired(Trigger& trigger);
    void OnCompletion(bool fire, bool first, bool second);
    void GenerateEnablingEquation();

    std::uint32_t GetId() const { return mId; }
    Quest* GetQuest() const { return mParent; }
    const std::string& GetName() const { return mName; }
    void SetName(std::string name) { mName = std::move(name); }
    const std::string& GetComments() const { return mComments; }
    void SetComments(std::string comments) { mComments = std::move(comments); }
    const std::string& GetNextTaskDescription() const { return mNextTask; }
    void SetNextTaskDescription(std::string text) { mNextTask = std::move(text); }
    const std::string& GetEnablingTokenFunction() const { return mEnablingFunction; }
    void SetEnablingTokenFunction(std::string text);
    void SetQuestTitle(std::string title) { mQuestTitle = std::move(title); }

    // TriggerContainer
    void SetDirty() override;
    void FireAction(TriggerAction& action, std::uint32_t target) override;
    const Name& GetQuestHandle() const override;
    void UpdateContainerUI(const std::string& description, const std::string& bulletPoint,
                           bool complete, bool playSound, bool firstFire) override;
    void UpdateDialogTab(const std::string& dialogPack) override;

    // EquationInterface<bool>: a name is a token of the local player.
    bool GetDesignerVariable(const char* name, bool& value) override;

private:
    // Arms the trigger and makes the step hear of its firing.
    void Adopt(Trigger& trigger);
    void CompleteReplayed();
    std::uint32_t NextTriggerId() const;

    std::uint32_t mId;
    Quest* mParent;
    std::string mName = "New Quest Step";
    std::string mEnablingFunction;
    std::string mNextTask;
    std::string mComments;
    std::string mQuestTitle;
    std::unique_ptr<DesignerEquation_Boolean> mEnabling;
    std::vector<std::unique_ptr<Trigger>> mTriggers;
    std::unique_ptr<Trigger> mCompletion;
    bool mComplete = false;
};

}  // namespace GAME
