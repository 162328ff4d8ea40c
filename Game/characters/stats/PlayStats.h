#pragma once
// What happens to one character during play: time, deaths, kills, levels, hits, damage dealt,
// received and prevented by kind, healing, mana, skills used and the greatest monster killed per
// difficulty. It scores itself with a designer formula and writes a short and a long report.
#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Engine/text/Name.h"
#include "Game/characters/stats/PlayStatsTypes.h"
#include "Game/core/GameEventListener.h"
#include "Game/core/util/RingQueue.h"
#include "Game/core/util/SmallMap.h"
#include "Game/rules/formulas/DesignerEquation.h"

namespace GAME {

class Object;

class IOStream;
class LoadTable;

// Sent once the game is about to run; play statistics load their score formula then.
struct GameEvent_PreRun : GameEvent {};

class PlayStats : public EquationInterface<float> {
public:
    static constexpr int kDifficultyCount = 3;
    // Recent damage older than this many seconds no longer counts towards damage per second.
    static constexpr std::uint32_t kRecentDamageWindow = 5;

    PlayStats();
    ~PlayStats() override;
    PlayStats(const PlayStats&) = delete;
    PlayStats& operator=(const PlayStats&) = delete;

    bool GetDesignerVariable(const char* name, float& value) override;

    void IncrementDeaths() { ++mDeaths; }
    void IncrementKills(std::uint32_t experience, std::uint32_t hits);
    void IncrementLevel() { ++mMaxLevel; }
    void ReceiveHit() { ++mHitsReceived; }
    std::uint32_t GetHitsReceived() const { return mHitsReceived; }
    void GainExperience(std::uint32_t amount) { mExperienceGained += amount; }
    void LoseExperience(std::int32_t amount) { mExperienceLost -= amount; }
    void UseMana(float amount) { mManaUsed += amount; }
    void InflictCriticalHit() { ++mCriticalHitsInflicted; }
    void ReceiveCriticalHit() { ++mCriticalHitsReceived; }
    void IMissed() { ++mMyMisses; }
    void IWasMissed() { ++mMissesAgainstMe; }
    void SetShieldBlockChance(float chance);
    void DisableShieldBlockChance() { mShieldBlockShown = false; }
    void IncrementHealthPotions() { ++mHealthPotions; }
    void IncrementManaPotions() { ++mManaPotions; }
    // A used one-shot item: a health or a mana potion counts (by class, so the item kinds need
    // not be known here); anything else, or null, counts nothing.
    void IncrementPotion(const Object* oneShot);
    void SkillUsed(const std::string& skillName) { ++mSkillsUsed[Name::Create(skillName)]; }
    // Starts of each skill by record name.
    std::map<std::string, int> GetSkillsUsed() const;
    void TallyDamageInflicted(float amount, const PlayStatsDamageType& type);
    void TallyDamageReceived(float amount, const PlayStatsDamageType& type);
    void TallyDamageReduction(float amount, PlayStatsDamageReductionType type);
    void GainLife(float amount, PlayStatsLifeType type);

    // Indexed by the root's current difficulty.
    const std::wstring& GetGreatestMonsterKilledName() const;
    void SetGreatestMonsterKilledName(const std::wstring& name);
    std::uint32_t GetGreatestMonsterKilledLevel() const;
    void SetGreatestMonsterKilledLevel(std::uint32_t level);
    std::uint32_t GetGreatestMonsterKilledLifeAndMana() const;
    void SetGreatestMonsterKilledLifeAndMana(std::uint32_t value);

    void Update(int ms);
    // floor(ms * 0.001) for every int, in integers: the double nearest 0.001 exceeds it by far
    // less than a whole count of milliseconds could show, so the two never part.
    static constexpr int WholeSeconds(int ms) {
        return ms >= 0 ? ms / 1000 : -(-(ms + 1) / 1000) - 1;
    }
    std::uint32_t GetPlayTimeInSeconds() const { return mPlayTimeSeconds; }
    std::uint32_t GetPlayTimeInMinutes() const { return mPlayTimeSeconds / 60; }
    // Asks for the line each frame's Update writes, ahead of it.
    void PrefetchUpdateLine() const { __builtin_prefetch(&mMsAccumulator); }
    int GetScore() const;
    void Load(const LoadTable& record);
    void OnPreRun(const GameEvent_PreRun& event);

    void AddRealTimeString(const char* format, ...) __attribute__((format(printf, 2, 3)));
    void AddLogString(const char* format, ...) __attribute__((format(printf, 2, 3)));
    // Rebuilds the reports when stale and writes them to the engine log.
    void Dump();
    const std::vector<std::string>& GetRealTimeStrings();
    const std::vector<std::string>& GetLogStrings();
    std::size_t GetRecentDamageCount() const { return mRecentDamage.size(); }

    void StreamProperties(IOStream& stream);

    std::uint32_t GetDeaths() const { return mDeaths; }
    std::uint32_t GetKills() const { return mKills; }
    std::uint32_t GetMaxLevel() const { return mMaxLevel; }
    std::uint32_t GetExperienceGained() const { return mExperienceGained; }
    std::int32_t GetExperienceLost() const { return mExperienceLost; }
    float GetManaUsed() const { return mManaUsed; }
    float GetGreatestDamageInflicted() const { return mGreatestDamageInflicted; }
    float GetLifeHealed(PlayStatsLifeType type) const;
    bool HasLifeHealed(PlayStatsLifeType type) const { return mLifeHealed.Find(type) != nullptr; }
    float GetDamageReceived(const PlayStatsDamageType& type) const;
    float GetDamageReduction(PlayStatsDamageReductionType type) const;

private:
    struct RecentDamage {
        std::uint32_t time;
        PlayStatsDamageType type;
        float amount;
    };

    void UpdateStrings();
    void PruneRecentDamage();
    std::size_t DifficultyIndex() const;

    std::vector<std::string> mRealTimeStrings;
    std::vector<std::string> mLogStrings;
    // Beside the clock's tallies: each frame's Update writes both.
    bool mStringsStale = true;
    int mMsAccumulator = 0;
    int mMsRemainder = 0;
    std::uint32_t mPlayTimeSeconds = 0;
    std::uint32_t mDeaths = 0;
    std::uint32_t mKills = 0;
    std::uint32_t mExperienceFromKills = 0;
    std::uint32_t mHealthPotions = 0;
    std::uint32_t mManaPotions = 0;
    std::uint32_t mMaxLevel = 1;
    std::uint32_t mHitsReceived = 0;
    std::uint32_t mHitsInflicted = 0;
    float mGreatestDamageInflicted = 0.0f;
    std::uint32_t mCriticalHitsInflicted = 0;
    std::uint32_t mCriticalHitsReceived = 0;
    std::array<std::wstring, kDifficultyCount> mGreatestMonsterName;
    std::array<std::uint32_t, kDifficultyCount> mGreatestMonsterLevel{};
    std::array<std::uint32_t, kDifficultyCount> mGreatestMonsterLifeAndMana{};
    // Tallies by kind: a character meets a few kinds of each.
    SmallMap<PlayStatsDamageType, float, 4, PlayStatsDamageTypeLess> mDamageInflicted;
    RingQueue<RecentDamage> mRecentDamage;
    SmallMap<PlayStatsDamageType, float, 4, PlayStatsDamageTypeLess> mDamageReceived;
    SmallMap<PlayStatsDamageReductionType, float, 8> mDamageReduction;
    std::uint32_t mExperienceGained = 0;
    std::int32_t mExperienceLost = 0;
    SmallMap<PlayStatsLifeType, float, 5> mLifeHealed;
    float mManaUsed = 0.0f;
    std::uint32_t mMyMisses = 0;
    std::uint32_t mMissesAgainstMe = 0;
    bool mShieldBlockShown = false;
    float mShieldBlockChance = 0.0f;
    std::unique_ptr<DesignerEquation<float>> mScoreFormula;
    SmallMap<Name, int, 4> mSkillsUsed;
    GameEventListener<PlayStats, GameEvent_PreRun> mPreRunListener;
};

}  // namespace GAME
