#include "Game/quests/QuestStep.h"

#include <algorithm>

#include "Engine/Engine.h"
#include "Engine/streams/IOStream.h"
#include "Game/characters/Player.h"
#include "Game/core/GameEngine.h"
#include "Game/quests/ConditionId.h"
#include "Game/quests/Quest.h"
#include "Game/rules/formulas/DesignerEquation_Boolean.h"

namespace GAME {

QuestStep::QuestStep(std::uint32_t id, Quest* parent)
    : mId(id), mParent(parent), mCompletion(Trigger::Spawn(0xFFFFFFFFu)) {
    mCompletion->SetParent(this);
    GenerateEnablingEquation();
}

QuestStep::~QuestStep() = default;

std::uint32_t QuestStep::NextTriggerId() const {
    return QuestElementId(mId, mTriggers.size(), 8);
}

void QuestStep::Adopt(Trigger& trigger) {
    trigger.SetQuestTitle(mQuestTitle);
    trigger.SetArmingFunctor([this] { return IsEnabled(); });
    trigger.SetNotifyFiredFunctor([this](Trigger& fired) { OnTriggerFired(fired); });
    trigger.SetParent(this);
}

void QuestStep::SetEnablingTokenFunction(std::string text) {
    mEnablingFunction = std::move(text);
    GenerateEnablingEquation();
}

void QuestStep::GenerateEnablingEquation() {
    mEnabling = std::make_unique<DesignerEquation_Boolean>();
    const std::string text = mEnablingFunction.empty() ? "1" : mEnablingFunction;
    if (!mEnabling->ParseEquation(text.c_str(), this, "enablingTokenFunction")) {
        mEnabling.reset();
        gEngine->Log(1, "A quest step equation for Quest \"%s\" failed.  Quest will not function.",
                     mQuestTitle.c_str());
    }
}

void QuestStep::Serialize(IOStream& stream) {
    stream.BeginBlock("step");
    stream.BeginBlock("properties");
    stream.StreamString("name", mName);
    stream.StreamString("enablingTokenFunction", mEnablingFunction);
    if (stream.IsReading())
        GenerateEnablingEquation();
    stream.StreamString("nextTaskDescription", mNextTask);
    stream.EndBlock();

    stream.BeginBlock("triggers");
    int count = static_cast<int>(mTriggers.size());
    stream.StreamInt("max", count);
    if (stream.IsReading()) {
        mTriggers.clear();
        if (count < 0 ||
            !stream.CheckCount("max", count,
                               IOStream::MinEntrySize(IOStream::Kind::Begin, "trigger")))
            count = 0;
        if (static_cast<std::size_t>(count) > kMaxTriggerElements) {
            gEngine->Log(1, "%s: step \"%s\": %d triggers, of which only the first %zu are read",
                         stream.GetName().c_str(), mName.c_str(), count, kMaxTriggerElements);
            count = static_cast<int>(kMaxTriggerElements);
        }
        for (int i = 0; i < count; ++i) {
            auto trigger = Trigger::Spawn(NextTriggerId());
            trigger->SetQuestTitle(mQuestTitle);
            trigger->Serialize(stream);
            Adopt(*trigger);
            mTriggers.push_back(std::move(trigger));
        }
    } else {
        for (auto& trigger : mTriggers)
            trigger->Serialize(stream);
    }
    stream.EndBlock();

    stream.BeginBlock("completion");
    mCompletion->Serialize(stream);
    stream.EndBlock();
    stream.EndBlock();
}

void QuestStep::StreamProperties(IOStream& stream) {
    stream.BeginBlock("stepState");
    stream.BeginBlock("header");
    stream.StreamString("comments", mComments);
    stream.EndBlock();
    stream.BeginBlock("triggers");
    for (auto& trigger : mTriggers)
        trigger->StreamProperties(stream);
    stream.EndBlock();
    stream.EndBlock();
}

Trigger* QuestStep::AddNewTrigger() {
    auto trigger = Trigger::Spawn(NextTriggerId());
    trigger->SetDisplayTag("New Trigger");
    Adopt(*trigger);
    mTriggers.push_back(std::move(trigger));
    return mTriggers.back().get();
}

void QuestStep::RemoveTrigger(std::size_t index) {
    if (index < mTriggers.size())
        mTriggers.erase(mTriggers.begin() + static_cast<std::ptrdiff_t>(index));
}

void QuestStep::MoveUp(std::size_t index) {
    if (index > 0 && index < mTriggers.size())
        std::swap(mTriggers[index - 1], mTriggers[index]);
}

void QuestStep::MoveDown(std::size_t index) {
    if (index + 1 < mTriggers.size())
        std::swap(mTriggers[index], mTriggers[index + 1]);
}

int QuestStep::GetIdxOfTrigger(const Trigger* trigger) const {
    for (std::size_t i = 0; i < mTriggers.size(); ++i)
        if (mTriggers[i].get() == trigger)
            return static_cast<int>(i);
    return -1;
}

void QuestStep::GetActiveTriggers(std::vector<Trigger*>& out) const {
    for (const auto& trigger : mTriggers)
        if (trigger->IsActive())
            out.push_back(trigger.get());
}

bool QuestStep::IsEnabled() const {
    return !mComplete && mEnabling && (*mEnabling)();
}

void QuestStep::OnTriggerFired(Trigger& trigger) {
    const int index = GetIdxOfTrigger(&trigger);
    if (index < 0)
        return;
    mParent->AddFiredTrigger(*this, index, trigger.GetTarget());
    const bool all = std::all_of(mTriggers.begin(), mTriggers.end(),
                                 [](const auto& each) { return each->HasFired(); });
    if (!all)
        return;
    if (trigger.IsReplaying())
        CompleteReplayed();
    else
        OnCompletion(true, true, true);
}

// A step replayed from a saved game completes again without running its completion's actions
// anew: only those that may repeat their effect run, as re-fired actions.
void QuestStep::CompleteReplayed() {
    if (mComplete)
        return;
    mCompletion->ReFire(gGameEngine ? gGameEngine->GetPlayerId() : 0);
    mComplete = true;
    mParent->SetSummaryTag(mNextTask);
    mParent->OnStepComplete(true, true);
}

void QuestStep::OnCompletion(bool fire, bool first, bool second) {
    if (mComplete)
        return;
    if (fire) {
        mCompletion->SetTarget(gGameEngine ? gGameEngine->GetPlayerId() : 0);
        mCompletion->Fire(true);
    }
    mComplete = true;
    if (fire) {
        mParent->SetSummaryTag(mNextTask);
        mParent->OnStepComplete(first, second);
    }
}

void QuestStep::SetDirty() {
    mParent->SetDirty(true);
    mParent->SetActive(true);
}

void QuestStep::FireAction(TriggerAction& action, std::uint32_t target) {
    mParent->FireAction(action, target);
}

const Name& QuestStep::GetQuestHandle() const {
    return mParent->GetHandle();
}

void QuestStep::UpdateContainerUI(const std::string& description, const std::string& bulletPoint,
                                  bool complete, bool playSound, bool firstFire) {
    mParent->UpdateContainerUI(description, bulletPoint, complete, playSound, firstFire);
}

void QuestStep::UpdateDialogTab(const std::string& dialogPack) {
    mParent->UpdateDialogTab(dialogPack);
}

bool QuestStep::GetDesignerVariable(const char* name, bool& value) {
    const Player* player = gGameEngine ? gGameEngine->GetMainPlayer() : nullptr;
    value = player && player->HasToken(name);
    return true;
}

}  // namespace GAME
