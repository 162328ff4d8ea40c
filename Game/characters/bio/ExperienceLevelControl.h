#pragma once
// A character's level, experience and unspent attribute and skill points, with the per-level
// rules of its level record: the experience formula, the points per level, the increment of each
// base attribute per point spent and the maximum level.
#include <array>
#include <cstdint>
#include <memory>

#include "Game/rules/formulas/DesignerEquation.h"

namespace GAME {

class Character;
class IOStream;
class LoadTable;

class ExperienceLevelControl : public EquationInterface<float> {
public:
    ExperienceLevelControl() = default;
    ~ExperienceLevelControl() override;
    ExperienceLevelControl(const ExperienceLevelControl&) = delete;
    ExperienceLevelControl& operator=(const ExperienceLevelControl&) = delete;

    void SetOwner(Character* owner) { mOwner = owner; }
    bool GetDesignerVariable(const char* name, float& value) override;

    void Load(const LoadTable& record);
    void StreamProperties(IOStream& stream);
    // The level table, to the engine log.
    void DumpLevelTable();

    std::uint32_t GetLevel() const { return mLevel; }
    // Asks for the level's line: the bio reads it every frame.
    void PrefetchLevel() const { __builtin_prefetch(&mLevel); }
    // Replication and tests set it directly.
    void SetLevel(std::uint32_t level) { mLevel = level; }
    std::uint32_t GetExperiencePoints() const { return mExperience; }
    void SetExperiencePoints(std::uint32_t points) { mExperience = points; }
    std::uint32_t GetMaxLevel() const { return mMaxLevel; }
    bool IsMaxLevel() const { return mLevel >= mMaxLevel; }
    // The experience at which the next level is reached.
    std::uint32_t GetNextLevelExperience();
    // The experience at which the current level was reached (0 at level 1).
    std::uint32_t GetLastLevelExperience();

    // The level record's rules, for the server's check of a joining player.
    std::uint32_t GetModifierPointsPerLevel() const { return mModifierPointsPerLevel; }
    std::uint32_t GetSkillPointsPerLevel() const { return mSkillPointsPerLevel; }
    // The five increments in the order Life, Mana, Strength, Dexterity, Intelligence.
    std::array<std::uint32_t, 5> GetIncrements() const {
        return {mLifeIncrement, mManaIncrement, mStrengthIncrement, mDexterityIncrement,
                mIntelligenceIncrement};
    }

    std::uint32_t GetModifierPoints() const { return mModifierPoints; }
    void AddModifierPoints(std::uint32_t points) { mModifierPoints += points; }
    std::uint32_t GetSkillPoints() const { return mSkillPoints; }
    void AddSkillPoints(std::uint32_t points) { mSkillPoints += points; }
    void AddToSkillPoints(int points);
    void SubtractSkillPoint();

    // Each takes one modifier point and answers the attribute's increment; 0 with none left.
    std::uint32_t SpendStrengthPoint() { return SpendPoint(mStrengthIncrement); }
    std::uint32_t SpendDexterityPoint() { return SpendPoint(mDexterityIncrement); }
    std::uint32_t SpendIntelligencePoint() { return SpendPoint(mIntelligenceIncrement); }
    std::uint32_t SpendLifePoint() { return SpendPoint(mLifeIncrement); }
    std::uint32_t SpendManaPoint() { return SpendPoint(mManaIncrement); }

    // True when the level rose (perhaps by several levels).
    bool ReceiveExperience(std::uint32_t amount);
    // Never below the threshold of the current level.
    void LoseExperience(std::uint32_t amount);

private:
    std::uint32_t EvaluateAt(std::uint32_t level);
    std::uint32_t SpendPoint(std::uint32_t increment);

    Character* mOwner = nullptr;
    std::unique_ptr<DesignerEquation<float>> mFormula;
    std::uint32_t mPlayerLevelVariable = 0;
    std::uint32_t mModifierPointsPerLevel = 0;
    std::uint32_t mSkillPointsPerLevel = 0;
    std::uint32_t mManaIncrement = 1;
    std::uint32_t mLifeIncrement = 1;
    std::uint32_t mDexterityIncrement = 1;
    std::uint32_t mStrengthIncrement = 1;
    std::uint32_t mIntelligenceIncrement = 1;
    std::uint32_t mMaxLevel = 0;
    std::uint32_t mLevel = 1;
    std::uint32_t mExperience = 0;
    std::uint32_t mModifierPoints = 0;
    std::uint32_t mSkillPoints = 0;
};

}  // namespace GAME
