#pragma once
// One quest of the world, read from its quest file: ordered steps, rewards per difficulty, and
// the flags that say how far the player got.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "Engine/text/Name.h"

namespace GAME {

class IOStream;
class QuestStep;
class Trigger;
class TriggerAction;
struct GameEvent_CompleteQuestNow;

// The handle of the quest of a file: made from its path lower-cased with every '/' a '\\', so
// that any spelling of the path names one quest.
Name QuestHandleOf(std::string_view path);

class Quest;
// The name of the quest's state file: "%08x%08x%08x%08x.que" of four words of its handle.
std::string QuestStateFileName(const Quest& quest);

class Quest {
public:
    static constexpr int kDifficulties = 3;

    explicit Quest(std::uint32_t id);
    ~Quest();
    Quest(const Quest&) = delete;
    Quest& operator=(const Quest&) = delete;

    // The author's quest (quest files) and what changed while playing (quest state files).
    void Serialize(IOStream& stream);
    void StreamProperties(IOStream& stream);

    QuestStep* AddNewQuestStep();
    void RemoveQuestStep(std::size_t index);
    void MoveUp(std::size_t index);
    void MoveDown(std::size_t index);
    QuestStep* GetQuestStepAtIndx(std::size_t index) const;
    int GetIdxOfQuestStep(const QuestStep* step) const;
    std::size_t GetStepCount() const { return mSteps.size(); }
    void GetActiveTriggers(std::vector<Trigger*>& out) const;

    std::uint32_t GetId() const { return mId; }
    const Name& GetHandle() const { return mHandle; }
    const std::string& GetPath() const { return mPath; }
    // Also makes the quest answer "GameEvent_CompleteQuestNow" under its handle.
    void SetHandle(const Name& handle, std::string path);
    std::uint32_t GetCrc() const { return mCrc; }
    void SetCrc(std::uint32_t crc) { mCrc = crc; }

    const std::string& GetName() const { return mTitle; }
    void SetName(std::string title) { mTitle = std::move(title); }
    const std::string& GetComments() const { return mComments; }
    const std::string& GetSummaryTag() const { return mSummaryTag; }
    void SetSummaryTag(std::string tag) { mSummaryTag = std::move(tag); }
    const std::string& GetMapMarker() const { return mMapMarker; }
    void SetMapMarker(std::string marker) { mMapMarker = std::move(marker); }

    // Rewards by difficulty (0 Normal, 1 Epic, 2 Legendary; others read as Normal).
    const std::string& GetRewardItemTag(int difficulty) const;
    int GetRewardGold(int difficulty) const;
    int GetRewardExperience(int difficulty) const;
    void SetReward(int difficulty, std::string itemTag, int gold, int experience);
    int GetRewardSkillPoints() const { return mRewardSkillPoints; }
    int GetRewardAttributePoints() const { return mRewardAttributePoints; }

    bool IsActive() const { return mActive; }
    void SetActive(bool active) { mActive = active; }
    bool IsComplete() const { return mComplete; }
    bool IsUnsolvable() const { return mUnsolvable; }
    bool IsDirty() const { return mDirty; }
    void SetDirty(bool dirty) { mDirty = dirty; }

    bool ContainsToken(const char* token) const;
    void RemoveTokenReferences(const char* token);
    void UpdateContainerUI(const std::string& description, const std::string& bulletPoint,
                           bool complete, bool playSound, bool firstFire);
    void UpdateDialogTab(const std::string& dialogPack);

    void FireAction(TriggerAction& action, std::uint32_t target);
    void AddFiredTrigger(const QuestStep& step, int triggerIndex, std::uint32_t target);
    void OnStepComplete(bool first, bool second);
    void ForceCompleteNow(bool first, bool second);
    void OnCompleteQuestNow(const GameEvent_CompleteQuestNow& event);
    void SetUnsolvable();

private:
    void OnQuestComplete(bool first, bool second);
    static int Index(int difficulty) {
        return difficulty >= 0 && difficulty < kDifficulties ? difficulty : 0;
    }

    std::uint32_t mId;
    std::uint32_t mCrc = 0;
    std::string mTitle = "New Quest";
    std::string mComments;
    std::string mSummaryTag;
    std::string mMapMarker;
    std::vector<std::unique_ptr<QuestStep>> mSteps;
    Name mHandle;
    std::string mPath;
    bool mActive = false;
    bool mComplete = false;
    bool mUnsolvable = false;
    bool mDirty = false;
    std::array<std::string, kDifficulties> mRewardItemTag;
    std::array<int, kDifficulties> mRewardGold{};
    std::array<int, kDifficulties> mRewardExperience{};
    int mRewardSkillPoints = 0;
    int mRewardAttributePoints = 0;
};

}  // namespace GAME
