#include "Game/quests/Quest.h"

#include <algorithm>

#include "Engine/Engine.h"
#include "Engine/streams/IOStream.h"
#include "Game/quests/ConditionId.h"
#include "Game/quests/QuestEvents.h"
#include "Game/quests/QuestRepository.h"
#include "Game/quests/QuestStep.h"

namespace GAME {

Name QuestHandleOf(std::string_view path) {
    std::string text(path);
    for (char& c : text)
        c = c == '/' ? '\\' : (c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c);
    return Name::Create(text);
}

Quest::Quest(std::uint32_t id) : mId(id) {}

Quest::~Quest() = default;

void Quest::Serialize(IOStream& stream) {
    stream.BeginBlock("quest");
    stream.StreamString("title", mTitle);
    stream.StreamString("rewardItemTag", mRewardItemTag[0]);
    stream.StreamInt("rewardGold", mRewardGold[0]);
    stream.StreamInt("rewardXP", mRewardExperience[0]);
    stream.StreamInt("rewardSkill", mRewardSkillPoints);
    stream.StreamInt("rewardAttr", mRewardAttributePoints);
    // The harder difficulties' rewards carry the names their fields had in the editor.
    static constexpr const char* kKeys[kDifficulties][3] = {
        {},
        {"this->rewardItemTag[1]", "this->rewardGold[1]", "this->rewardXP[1]"},
        {"this->rewardItemTag[2]", "this->rewardGold[2]", "this->rewardXP[2]"}};
    for (int difficulty = 1; difficulty < kDifficulties; ++difficulty) {
        stream.StreamString(kKeys[difficulty][0], mRewardItemTag[difficulty]);
        stream.StreamInt(kKeys[difficulty][1], mRewardGold[difficulty]);
        stream.StreamInt(kKeys[difficulty][2], mRewardExperience[difficulty]);
    }
    stream.EndBlock();

    stream.BeginBlock("steps");
    int count = static_cast<int>(mSteps.size());
    stream.StreamInt("max", count);
    if (stream.IsReading()) {
        mSteps.clear();
        if (count < 0 ||
            !stream.CheckCount("max", count, IOStream::MinEntrySize(IOStream::Kind::Begin, "step")))
            count = 0;
        if (static_cast<std::size_t>(count) > kMaxTriggerElements) {
            gEngine->Log(1, "%s: quest \"%s\": %d steps, of which only the first %zu are read",
                         stream.GetName().c_str(), mTitle.c_str(), count, kMaxTriggerElements);
            count = static_cast<int>(kMaxTriggerElements);
        }
        for (int i = 0; i < count; ++i) {
            QuestStep* step = AddNewQuestStep();
            step->SetQuestTitle(mTitle);
            step->Serialize(stream);
        }
    } else {
        for (auto& step : mSteps)
            step->Serialize(stream);
    }
    stream.EndBlock();
}

void Quest::StreamProperties(IOStream& stream) {
    stream.BeginBlock("questState");
    stream.BeginBlock("header");
    stream.StreamString("comments", mComments);
    stream.StreamBool("active", mActive);
    stream.EndBlock();
    stream.BeginBlock("steps");
    for (auto& step : mSteps)
        step->StreamProperties(stream);
    stream.EndBlock();
    stream.EndBlock();
    mDirty = false;
}

QuestStep* Quest::AddNewQuestStep() {
    mSteps.push_back(std::make_unique<QuestStep>(QuestElementId(mId, mSteps.size(), 16), this));
    return mSteps.back().get();
}

void Quest::RemoveQuestStep(std::size_t index) {
    if (index < mSteps.size())
        mSteps.erase(mSteps.begin() + static_cast<std::ptrdiff_t>(index));
}

void Quest::MoveUp(std::size_t index) {
    if (index > 0 && index < mSteps.size())
        std::swap(mSteps[index - 1], mSteps[index]);
}

void Quest::MoveDown(std::size_t index) {
    if (index + 1 < mSteps.size())
        std::swap(mSteps[index], mSteps[index + 1]);
}

QuestStep* Quest::GetQuestStepAtIndx(std::size_t index) const {
    return index < mSteps.size() ? mSteps[index].get() : nullptr;
}

int Quest::GetIdxOfQuestStep(const QuestStep* step) const {
    for (std::size_t i = 0; i < mSteps.size(); ++i)
        if (mSteps[i].get() == step)
            return static_cast<int>(i);
    return -1;
}

void Quest::GetActiveTriggers(std::vector<Trigger*>& out) const {
    for (const auto& step : mSteps)
        step->GetActiveTriggers(out);
}

void Quest::SetHandle(const Name& handle, std::string path) {
    mHandle = handle;
    mPath = std::move(path);
    QuestRepository::Get()->AddCompleteQuestNow(mHandle, this);
}

const std::string& Quest::GetRewardItemTag(int difficulty) const {
    return mRewardItemTag[Index(difficulty)];
}
int Quest::GetRewardGold(int difficulty) const {
    return mRewardGold[Index(difficulty)];
}
int Quest::GetRewardExperience(int difficulty) const {
    return mRewardExperience[Index(difficulty)];
}
void Quest::SetReward(int difficulty, std::string itemTag, int gold, int experience) {
    const int i = Index(difficulty);
    mRewardItemTag[i] = std::move(itemTag);
    mRewardGold[i] = gold;
    mRewardExperience[i] = experience;
}

bool Quest::ContainsToken(const char* token) const {
    for (const auto& step : mSteps) {
        for (std::size_t i = 0; i < step->GetTriggerCount(); ++i)
            if (step->GetTriggerOfIdx(i)->ContainsToken(token))
                return true;
        if (step->GetCompletionTrigger()->ContainsToken(token))
            return true;
    }
    return false;
}

void Quest::RemoveTokenReferences(const char* token) {
    for (auto& step : mSteps) {
        for (std::size_t i = 0; i < step->GetTriggerCount(); ++i)
            step->GetTriggerOfIdx(i)->RemoveTokenReferences(token);
        step->GetCompletionTrigger()->RemoveTokenReferences(token);
    }
}

void Quest::UpdateContainerUI(const std::string& description, const std::string& bulletPoint,
                              bool complete, bool playSound, bool firstFire) {
    GameEvent_UpdateMapMarker event;
    event.handle = mHandle;
    event.description = description;
    event.bulletPoint = bulletPoint;
    event.complete = complete;
    event.playSound = playSound;
    event.firstFire = firstFire;
    SendGameEvent(event, "UpdateMapMarker");
}

void Quest::UpdateDialogTab(const std::string& dialogPack) {
    GameEvent_UpdateDialogTab event;
    event.handle = mHandle;
    event.dialogPack = dialogPack;
    SendGameEvent(event, "UpdateDialogTab");
}

void Quest::FireAction(TriggerAction& action, std::uint32_t target) {
    QuestRepository::Get()->FireAction(action, target);
}

void Quest::AddFiredTrigger(const QuestStep& step, int triggerIndex, std::uint32_t target) {
    mDirty = true;
    QuestRepository::Get()->AddTrigger(mHandle, GetIdxOfQuestStep(&step), triggerIndex, target);
}

void Quest::OnStepComplete(bool first, bool second) {
    mDirty = true;
    if (!mActive) {
        GameEvent_QuestHandle inherit;
        inherit.handle = mHandle;
        SendGameEvent(inherit, "InheritQuest");
        mActive = true;
    }
    if (std::all_of(mSteps.begin(), mSteps.end(), [](const auto& s) { return s->IsComplete(); }))
        OnQuestComplete(first, second);
}

void Quest::OnQuestComplete(bool first, bool second) {
    mComplete = true;
    GameEvent_QuestComplete event;
    event.handle = mHandle;
    event.first = first;
    event.second = second;
    SendGameEvent(event, "QuestComplete");
}

void Quest::ForceCompleteNow(bool first, bool second) {
    // By index: a completion may reach back into the quest (an action completing another step).
    for (std::size_t i = 0; i < mSteps.size(); ++i) {
        QuestStep& step = *mSteps[i];
        step.OnCompletion(true, first, second);
        for (std::size_t t = 0; t < step.GetTriggerCount(); ++t)
            step.GetTriggerOfIdx(t)->Fire(false);
    }
}

void Quest::OnCompleteQuestNow(const GameEvent_CompleteQuestNow& event) {
    if (QuestHandleOf(event.name) == mHandle)
        ForceCompleteNow(event.first, event.second);
}

void Quest::SetUnsolvable() {
    if (mUnsolvable)
        return;
    mUnsolvable = true;
    mDirty = true;
    mActive = true;
    mComplete = true;
    for (std::size_t i = 0; i < mSteps.size(); ++i) {
        QuestStep& step = *mSteps[i];
        step.OnCompletion(false, false, false);
        for (std::size_t t = 0; t < step.GetTriggerCount(); ++t)
            step.GetTriggerOfIdx(t)->Fire(false);
    }
    GameEvent_QuestHandle event;
    event.handle = mHandle;
    SendGameEvent(event, "QuestUnsolvable");
}

}  // namespace GAME
