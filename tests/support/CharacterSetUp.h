#pragma once
// Set-up of a character's state that tests need without the records, equipment, skills or pets
// that would give it in play. The game itself has no such setters.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "Game/characters/Character.h"

namespace GAME::test {

// Reaches the members that only the equipment, skills and summoning would set.
struct CharacterTestAccess {
    static void SetHandState(Character& c, int state) { c.mHandState = state; }
    static void SetMasterId(Character& c, std::uint32_t master) { c.mMasterId = master; }
    static void SetWarmUpSpeed(Character& c, bool on) { c.mWarmUpSpeed = on; }
    static void SetRotateTowardsTarget(Character& c, bool on) { c.mRotateTowardsTarget = on; }
    static void SetLootStruct(Character& c, const LootStruct& loot) { c.mLoot = loot; }
    // Where the fields each frame reads of every character lie, from the first of the block the
    // frame loop asks for as a whole.
    struct FrameField {
        const char* name;
        std::ptrdiff_t offset;
    };
    static std::ptrdiff_t FrameBlockBytes(const Character& c) {
        return Offset(c, &c.mMovement + 1);
    }
    static std::vector<FrameField> FrameFields(const Character& c) {
        return {{"controller", Offset(c, &c.mControllerId)},
                {"frame time", Offset(c, &c.mFrameElapsed)},
                {"frame timer", Offset(c, &c.mFrameTimer)},
                {"action state", Offset(c, &c.mActionState)},
                {"hand state", Offset(c, &c.mHandState)},
                {"attribute inputs", Offset(c, &c.mCharAttributeInputs)},
                {"attack target", Offset(c, &c.mAttackTargetId)},
                {"distress countdown", Offset(c, &c.mDistressCountdown)},
                {"spine", Offset(c, &c.mSpineCurveMax)},
                {"low health", Offset(c, &c.mLowHealthResetLevel)},
                {"animation set", Offset(c, &c.mAnimationSet)},
                {"hit reaction", Offset(c, &c.mRagdollData)},
                {"combat manager", Offset(c, &c.mCombatManager)},
                {"death manager", Offset(c, &c.mDeathManager)},
                {"auras", Offset(c, &c.mAuraManager)},
                {"skill manager", Offset(c, &c.mSkillManager)},
                {"action handler", Offset(c, &c.mActionHandler)}};
    }

private:
    static std::ptrdiff_t Offset(const Character& c, const void* field) {
        return static_cast<const char*>(field) - reinterpret_cast<const char*>(&c.mForcedUpdates);
    }
};

// Sets the base life (mana) and fills it up to the given value.
inline void SetLife(Character& c, float life, float limit) {
    CharacterBio& bio = c.GetCharacterBio();
    bio.SetBaseVital(CharAttributeType::Life, limit);
    bio.Update(c, 0);
    bio.AddLifeFast(life - bio.GetCurrentLife());
}
inline void SetMana(Character& c, float mana, float limit) {
    CharacterBio& bio = c.GetCharacterBio();
    bio.SetBaseVital(CharAttributeType::Mana, limit);
    bio.Update(c, 0);
    bio.AddManaFast(mana - bio.GetCurrentMana());
}
inline void SetCharLevel(Character& c, std::uint32_t level) {
    c.GetExperienceLevelControl().SetLevel(level);
}
// Two melee weapons (2) halve the base attack speed.
inline void SetHandState(Character& c, int state) {
    CharacterTestAccess::SetHandState(c, state);
}
inline void SetMasterId(Character& c, std::uint32_t master) {
    CharacterTestAccess::SetMasterId(c, master);
}
inline void SetWarmUpSpeed(Character& c, bool on) {
    CharacterTestAccess::SetWarmUpSpeed(c, on);
}
inline void SetRotateTowardsTarget(Character& c, bool on) {
    CharacterTestAccess::SetRotateTowardsTarget(c, on);
}

}  // namespace GAME::test
