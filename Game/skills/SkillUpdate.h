#pragma once
// The bodies of the weapon kinds' update, inline for the two callers that run it every frame: the
// kinds' own Update and the manager's walk, which calls it without the virtual call. Include
// only from .cpp files.

#include <cstdint>
#include <cstdlib>

#include "Engine/Engine.h"
#include "Engine/sys/RandomUniform.h"
#include "Game/characters/Character.h"
#include "Game/core/GameEngine.h"
#include "Game/skills/Skill.h"
#include "Game/skills/profile/SkillProfile.h"

namespace GAME {

namespace detail {
// One draw of the root's generator, as a skill attribute sum's seed.
inline std::uint32_t DrawSeed(GameEngine* engine) {
    return engine ? engine->GetRandomSeed() & 0xFFFFu : 0u;
}

#ifdef NDEBUG
// The same draw for a kept sum, which doesn't read the seed: debug builds take the full draw,
// as their re-check needs the seed.
inline void SkipSeed(GameEngine* engine) {
    if (engine)
        engine->GetRandomGen().Skip();
}

// Out of line, so that the walk's skip below is the one the update inlines.
[[gnu::noinline]] void SkipRootSeed();

// The same, from the manager's walk's generator where it has one.
[[gnu::always_inline]] inline void SkipSeed(const SkillManagerBase& manager) {
    if (RandomUniformLocked* random = manager.GetWalkRandom())
        random->Skip();
    else
        SkipRootSeed();
}
#endif
}  // namespace detail

// Inlined into SetAvailability: most frames keep the cost.
[[gnu::always_inline]] inline float Skill::KeptOrFreshManaCost() const {
    const Character* owner = mManager ? mManager->GetParent() : nullptr;
    if (owner && mCostKept && mCostInputs == owner->GetCharAttributeInputs() &&
        mCostStamp == mManager->GetSkillAttributesStamp()) {
        // The draw GetTotalSkillAttribute takes on every call.
#ifndef NDEBUG
        CheckKeptManaCost(detail::DrawSeed(gGameEngine));
#else
        detail::SkipSeed(*mManager);
#endif
        return mCost;
    }
    return RefreshManaCost(owner);
}

// Inlined into the updates of the kinds that keep the base's test.
[[gnu::always_inline]] inline bool Skill::BaseAvailability(bool ignoreMana, bool ignoreCooldown) {
    if (mIgnoresManaAndCooldown) {
        ignoreMana = true;
        ignoreCooldown = true;
    }
#ifndef NDEBUG
    const SkillProfile& profile = GetSkillProfile();
    if (mDualWeaponsOnly != profile.GetQualifyingDualWeapons() ||
        mAnyWeapon != profile.GetQualifyingWeapons().empty()) {
        gEngine->Log(0, "Skill: the kept weapon rules of %s are stale", GetObjectName().c_str());
        std::abort();
    }
#endif
    const float mana = mManager ? mManager->GetCurrentMana() : 0.0f;
    ForgetQuiet();
    mNotEnoughMana = KeptOrFreshManaCost() > mana;
    mCoolingDown = mCooldownRemaining > 0;
    mWeaponNotQualifying = !QualifyingWeapon();
    mHandStateNotQualifying = !QualifyingHandState();
    if (mNotEnoughMana && !ignoreMana)
        mReason = SkillReason::NotEnoughMana;
    else if (mCoolingDown && !ignoreCooldown)
        mReason = SkillReason::CoolingDown;
    else if (mWeaponNotQualifying || mHandStateNotQualifying)
        mReason = SkillReason::NotQualifying;
    else if (GetCurrentLevel() == 0)
        mReason = SkillReason::LevelZero;
    else
        mReason = SkillReason::Available;
    return mReason == SkillReason::Available;
}

template <bool BaseTest>
[[gnu::always_inline]] inline void Skill::RunDown(int ms) {
    if (mCooldownRemaining > 0) {
        mCooldownRemaining -= ms;
        ForgetQuiet();
    }
    if (!IsControllingSkill())
        return;
    bool enabled;
    if constexpr (BaseTest)
        enabled = BaseAvailability(mIgnoreMana, false);
    else
        enabled = SetAvailability(mIgnoreMana, false);
    if (enabled != mSkillState.enabled) {
        mSkillState.enabled = enabled;
        ForgetQuiet();
        ContributionChanged();
        SendStateUpdate();
    }
}

[[gnu::always_inline]] inline void Skill::UpdateAsWeapon(int ms) {
    RunDown<true>(ms);
    FollowWeaponRange();
}

}  // namespace GAME
