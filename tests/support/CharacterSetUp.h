#pragma once
// Set-up of a character's state that tests need without the records, equipment, skills or pets
// that would give it in play. The game itself has no such setters.
#include <cstdint>

#include "Game/characters/Character.h"

namespace GAME::test {

// Reaches the members that only the equipment, skills and summoning would set.
struct CharacterTestAccess {
    static void SetHandState(Character& c, int state) { c.mHandState = state; }
    static void SetMasterId(Character& c, std::uint32_t master) { c.mMasterId = master; }
    static void SetWarmUpSpeed(Character& c, bool on) { c.mWarmUpSpeed = on; }
    static void SetRotateTowardsTarget(Character& c, bool on) { c.mRotateTowardsTarget = on; }
    static void SetLootStruct(Character& c, const LootStruct& loot) { c.mLoot = loot; }
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
