#pragma once
// A snapshot of a monster that another machine needs to show and simulate it, as read from a
// spawn and held until applied. Byte layout, in order:
//   flags byte: life state in bits 0-2, visible 3, alive 4, moving 5, tainted biography 6,
//     bit 7 when the nine attached-item ids are consecutive (id[k] == id[0] + k);
//   action state, current life, current mana (raw floats), leader id: raw 32-bit each;
//   proxy sibling count (one byte); proxy parent (file name); team (Team::AddToPacket);
//   four lists, each a count byte and its records: duration damage, fixed duration damage,
//     skills and buffs (compact skill entries: name, 16-bit level, 16-bit sub-level, a flags
//     byte with enabled, active and transition in bits 0-2; a buff is three entries and the
//     caster id);
//   only when alive: loot seed and level (16-bit each), attached-item id 0, and ids 1-8 unless
//     bit 7 is set;
//   only when moving: the path target (WorldVec3), the attack target and attack skill ids.
#include <cstdint>
#include <string>
#include <vector>

#include "Engine/world/Region.h"
#include "Game/characters/CharacterStates.h"
#include "Game/characters/monster/MonsterLoot.h"
#include "Game/core/players/Team.h"
#include "Game/rules/duration/DurationDamageReplication.h"
#include "Game/skills/manager/SkillManager.h"

namespace GAME {

class NetPacketInBuffer;
class NetPacketOutBuffer;

struct MonsterReplicationData {
    // What a count byte can carry; longer lists and counts are capped with a log line.
    static constexpr std::size_t kMaxCount = 255;

    Character_LifeState lifeState = Character_LifeState::Unknown;
    bool visible = false;
    bool alive = false;
    bool moving = false;
    bool taintedBio = false;
    Character_ActionState actionState = Character_ActionState::Unknown;
    float currentLife = 0.0f;
    float currentMana = 0.0f;
    std::uint32_t leaderId = 0;
    Team team;
    std::vector<DurationDamageReplication> durationDamage;
    std::vector<FixedDurationDamageReplication> fixedDurationDamage;
    std::vector<SkillManager::_SkillReplica> skills;
    std::vector<SkillManager::_SkillBuffReplica> skillBuffs;
    LootStruct loot;
    std::string proxyParent;
    std::uint32_t proxySiblingCount = 0;
    WorldVec3 pathTarget;
    std::uint32_t attackTarget = 0;
    std::uint32_t attackSkill = 0;

    // `owner` names the monster in the log lines of capped lists.
    void Write(NetPacketOutBuffer& out, std::uint32_t owner) const;
    // Reads every field in order; false (and the body marked bad) when a field, a count or a
    // length does not fit in what remains of the body, or a state is out of range.
    bool Read(NetPacketInBuffer& in);
};

}  // namespace GAME
