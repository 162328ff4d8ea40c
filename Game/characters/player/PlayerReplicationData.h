#pragma once
// A snapshot of a player that another machine needs to show and simulate it, as read from a
// spawn packet and held until applied. Byte layout, in order:
//   name (wide string), position (WorldCoords), current life and mana (raw floats), tainted
//   flag (bool), base Life, Mana, Strength, Dexterity, Intelligence (raw floats), team (12 raw
//   bytes), level, experience, money (raw 32-bit), texture (narrow string), then five lists, each
//   a signed 32-bit count and its records (a count below 1 carries none): duration damage, fixed
//   duration damage, skills, buffs, inventory; then the action state (raw 32-bit) and the moving
//   flag (bool), and only while moving the path target (WorldVec3), the attack target and the
//   attack skill (raw 32-bit).
#include <cstdint>
#include <string>
#include <vector>

#include "Engine/world/Region.h"
#include "Game/characters/CharacterStates.h"
#include "Game/core/players/Team.h"
#include "Game/items/ItemReplicaInfo.h"
#include "Game/rules/duration/DurationDamageReplication.h"
#include "Game/skills/manager/SkillManager.h"

namespace GAME {

class NetPacketInBuffer;
class NetPacketOutBuffer;

// One item a character carries (location 0) or wears (its equip location). Wire form: the
// location (raw 32-bit), the base record name, then the record's packet form.
struct InventoryReplica {
    std::uint32_t location = 0;
    ItemReplicaInfo item;

    void Write(NetPacketOutBuffer& out) const;
    bool Read(NetPacketInBuffer& in);
};

struct PlayerReplicationData {
    std::wstring playerName;
    WorldCoords position;
    float currentLife = 0.0f;
    float currentMana = 0.0f;
    bool taintedBio = false;
    float baseLife = 0.0f;
    float baseMana = 0.0f;
    float baseStrength = 0.0f;
    float baseDexterity = 0.0f;
    float baseIntelligence = 0.0f;
    Team team;
    std::uint32_t characterLevel = 0;
    std::uint32_t experiencePoints = 0;
    std::int32_t money = 0;
    std::string playerTexture;
    std::vector<DurationDamageReplication> durationDamage;
    std::vector<FixedDurationDamageReplication> fixedDurationDamage;
    std::vector<SkillManager::_SkillReplica> skills;
    std::vector<SkillManager::_SkillBuffReplica> skillBuffs;
    std::vector<InventoryReplica> inventory;
    Character_ActionState actionState{};
    bool moving = false;
    WorldVec3 pathTarget;
    std::uint32_t attackTarget = 0;
    std::uint32_t attackSkill = 0;

    void Write(NetPacketOutBuffer& out) const;
    // Reads every field in order; false (and the body marked bad) when a field, a length or a
    // count does not fit in what remains of the body. The record is then incomplete.
    bool Read(NetPacketInBuffer& in);
};

}  // namespace GAME
