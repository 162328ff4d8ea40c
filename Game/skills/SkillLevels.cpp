// A skill's levels: bought, augmented and what its profile allows.
#include "Game/skills/Skill.h"

#include <algorithm>
#include <cstdint>

#include "Game/skills/profile/SkillProfile.h"

namespace GAME {

std::uint32_t Skill::GetMaxLevel() const {
    return GetSkillProfile().GetMaxLevel();
}
std::uint32_t Skill::GetUltimateLevel() const {
    return GetSkillProfile().GetUltimateLevel();
}
std::uint32_t Skill::GetMasteryLevelRequirement() const {
    return GetSkillProfile().GetMasteryLevelRequirement();
}
const std::string& Skill::GetDisplayNameTag() const {
    return GetSkillProfile().GetDisplayNameTag();
}
const std::string& Skill::GetBaseDescriptionTag() const {
    return GetSkillProfile().GetBaseDescriptionTag();
}
const std::vector<std::string>& Skill::GetSkillDependancy() const {
    return GetSkillProfile().GetSkillDependancy();
}

void Skill::IncrementSkillLevel(int count) {
    AddSkillLevel(count);
}

void Skill::SetSkillLevel(int level) {
    mSkillState.level = static_cast<std::uint32_t>(std::max(level, 0));
    ForgetQuiet();
    if (mManager) {
        if (level >= 1 && !mIsTemporary)
            mManager->AddToActiveList(this);
        if (mManager->IsMonsterSkill())
            mSkillState.enabled = true;
    }
    ContributionChanged();
    PreLoadResources();
}

void Skill::AddSkillLevel(int count) {
    const long long wanted = static_cast<long long>(mSkillState.level) + count;
    const auto level = static_cast<std::uint32_t>(
        std::clamp<long long>(wanted, 0, static_cast<long long>(GetMaxLevel())));
    if (level == mSkillState.level)
        return;
    SetSkillLevel(static_cast<int>(level));
    SendStateUpdate();
}

void Skill::SubtractSkillLevel(int count) {
    const long long wanted = static_cast<long long>(mSkillState.level) - count;
    const auto level = static_cast<std::uint32_t>(std::max<long long>(wanted, 0));
    if (level == mSkillState.level)
        return;
    SetSkillLevel(static_cast<int>(level));
    SendStateUpdate();
}

bool Skill::DecrementSkillLevel() {
    if (mSkillState.level < 1)
        return false;
    SubtractSkillLevel(1);
    if (mSkillState.level == 0 && mManager)
        mManager->RemoveFromActiveList(this);
    return true;
}

void Skill::IncrementAugmentedSkillLevel(std::uint32_t count) {
    mAugmentedLevel = count > UINT32_MAX - mAugmentedLevel ? UINT32_MAX : mAugmentedLevel + count;
    ForgetQuiet();
    ContributionChanged();
}

void Skill::DecrementAugmentedSkillLevel(std::uint32_t count) {
    mAugmentedLevel = count >= mAugmentedLevel ? 0 : mAugmentedLevel - count;
    ForgetQuiet();
    ContributionChanged();
}

}  // namespace GAME
