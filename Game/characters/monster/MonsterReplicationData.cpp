#include "Game/characters/monster/MonsterReplicationData.h"

#include <algorithm>

#include "Engine/Engine.h"
#include "Engine/net/fields/NetPacketBuffer.h"

namespace GAME {

namespace {

enum FlagBits : std::uint8_t {
    kReplicaLifeStateMask = 0x07,
    kReplicaVisible = 1 << 3,
    kAliveFlag = 1 << 4,
    kReplicaMoving = 1 << 5,
    kReplicaTaintedBio = 1 << 6,
    kReplicaConsecutiveIds = 1 << 7,
};
enum SkillBits : std::uint8_t {
    kReplicaEnabled = 1 << 0,
    kReplicaActive = 1 << 1,
    kReplicaTransition = 1 << 2
};

// The smallest wire size of one record of each list, so that a count is checked against what
// remains of the body before a record is read or a vector grows.
constexpr std::size_t kMonsterMinDurationDamage = 12;  // type, attacker, run count
constexpr std::size_t kMonsterMinFixedDurationDamage = 8;
constexpr std::size_t kMonsterMinSkill = 4 + 2 + 2 + 1;  // empty name, level, sub-level, flags
constexpr std::size_t kMonsterMinSkillBuff = 3 * kMonsterMinSkill + 4;

void WriteSkill(NetPacketOutBuffer& out, const SkillManager::_SkillReplica& skill) {
    out.AddFileName(skill.skillName);
    out.Write16(static_cast<std::uint16_t>(skill.state.level));
    out.Write16(static_cast<std::uint16_t>(skill.activeState.subLevel));
    std::uint8_t flags = 0;
    if (skill.state.enabled)
        flags |= kReplicaEnabled;
    if (skill.activeState.active)
        flags |= kReplicaActive;
    if (skill.activeState.transition)
        flags |= kReplicaTransition;
    out.Write8(flags);
}

bool ReadSkill(NetPacketInBuffer& in, SkillManager::_SkillReplica& skill) {
    std::uint16_t level = 0;
    std::uint16_t subLevel = 0;
    std::uint8_t flags = 0;
    if (!in.Remove(&skill.skillName) || !in.Read16(level) || !in.Read16(subLevel) ||
        !in.Read8(flags))
        return false;
    skill.state.level = level;
    skill.activeState.subLevel = subLevel;
    skill.state.enabled = (flags & kReplicaEnabled) != 0;
    skill.activeState.active = (flags & kReplicaActive) != 0;
    skill.activeState.transition = (flags & kReplicaTransition) != 0;
    return true;
}

void WriteRecord(NetPacketOutBuffer& out, const DurationDamageReplication& r) {
    r.Write(out);
}
void WriteRecord(NetPacketOutBuffer& out, const FixedDurationDamageReplication& r) {
    r.Write(out);
}
void WriteRecord(NetPacketOutBuffer& out, const SkillManager::_SkillReplica& r) {
    WriteSkill(out, r);
}
void WriteRecord(NetPacketOutBuffer& out, const SkillManager::_SkillBuffReplica& r) {
    WriteSkill(out, r.buff);
    WriteSkill(out, r.modifier1);
    WriteSkill(out, r.modifier2);
    out.Write32(r.casterId);
}

bool ReadRecord(NetPacketInBuffer& in, DurationDamageReplication& r) {
    return r.Read(in);
}
bool ReadRecord(NetPacketInBuffer& in, FixedDurationDamageReplication& r) {
    return r.Read(in);
}
bool ReadRecord(NetPacketInBuffer& in, SkillManager::_SkillReplica& r) {
    return ReadSkill(in, r);
}
bool ReadRecord(NetPacketInBuffer& in, SkillManager::_SkillBuffReplica& r) {
    return ReadSkill(in, r.buff) && ReadSkill(in, r.modifier1) && ReadSkill(in, r.modifier2) &&
           in.Read32(r.casterId);
}

// A count byte, then at most that many records; a longer list loses its tail, and says so.
template <class Record>
void WriteMonsterList(NetPacketOutBuffer& out, const std::vector<Record>& records,
                      std::uint32_t owner, const char* what) {
    const std::size_t count = std::min(records.size(), MonsterReplicationData::kMaxCount);
    if (count < records.size())
        gEngine->Log(2,
                     "Monster::WriteReplicationData: monster %u has %zu %s; only the first %zu "
                     "travel.",
                     owner, records.size(), what, count);
    out.Write8(static_cast<std::uint8_t>(count));
    for (std::size_t i = 0; i < count; ++i)
        WriteRecord(out, records[i]);
}

template <class Record>
bool ReadMonsterList(NetPacketInBuffer& in, std::vector<Record>& records, std::size_t minSize,
                     const char* what) {
    std::uint8_t count = 0;
    if (!in.Read8(count))
        return false;
    if (count > in.Remaining() / minSize) {
        in.Fail(what);
        return false;
    }
    records.reserve(records.size() + count);
    for (std::uint8_t i = 0; i < count; ++i) {
        Record record;
        if (!ReadRecord(in, record))
            return false;
        records.push_back(std::move(record));
    }
    return true;
}

}  // namespace

void MonsterReplicationData::Write(NetPacketOutBuffer& out, std::uint32_t owner) const {
    const bool consecutive = loot.AreIdsConsecutive();
    std::uint8_t flags =
        static_cast<std::uint8_t>(static_cast<std::uint32_t>(lifeState) & kReplicaLifeStateMask);
    if (visible)
        flags |= kReplicaVisible;
    if (alive)
        flags |= kAliveFlag;
    if (moving)
        flags |= kReplicaMoving;
    if (taintedBio)
        flags |= kReplicaTaintedBio;
    if (consecutive)
        flags |= kReplicaConsecutiveIds;
    out.Write8(flags);
    out.Write32(static_cast<std::int32_t>(actionState));
    out.Write32(currentLife);
    out.Write32(currentMana);
    out.Write32(leaderId);
    // Only the low byte travels; nothing on the other side sizes a list by it.
    out.Write8(static_cast<std::uint8_t>(proxySiblingCount & 0xFFu));
    out.AddFileName(proxyParent);
    team.AddToPacket(out);
    WriteMonsterList(out, durationDamage, owner, "duration damage records");
    WriteMonsterList(out, fixedDurationDamage, owner, "fixed duration damage records");
    WriteMonsterList(out, skills, owner, "skills");
    WriteMonsterList(out, skillBuffs, owner, "skill buffs");
    if (alive) {
        out.Write16(loot.lootSeed);
        out.Write16(loot.lootLevel);
        out.Write32(loot.attachedItemIds[0]);
        if (!consecutive)
            for (std::size_t k = 1; k < LootStruct::kAttachedItems; ++k)
                out.Write32(loot.attachedItemIds[k]);
    }
    if (moving) {
        out.Add(&pathTarget);
        out.Write32(attackTarget);
        out.Write32(attackSkill);
    }
}

bool MonsterReplicationData::Read(NetPacketInBuffer& in) {
    std::uint8_t flags = 0;
    std::int32_t action = 0;
    std::uint8_t siblings = 0;
    if (!in.Read8(flags) || !in.Read32(action) || !in.Read32(currentLife) ||
        !in.Read32(currentMana) || !in.Read32(leaderId) || !in.Read8(siblings) ||
        !in.Remove(&proxyParent))
        return false;
    const int life = flags & kReplicaLifeStateMask;
    if (life > static_cast<int>(Character_LifeState::Respawning)) {
        in.Fail("life state");
        return false;
    }
    if (action < 0 || action > static_cast<std::int32_t>(Character_ActionState::Dying)) {
        in.Fail("action state");
        return false;
    }
    lifeState = static_cast<Character_LifeState>(life);
    visible = (flags & kReplicaVisible) != 0;
    alive = (flags & kAliveFlag) != 0;
    moving = (flags & kReplicaMoving) != 0;
    taintedBio = (flags & kReplicaTaintedBio) != 0;
    actionState = static_cast<Character_ActionState>(action);
    proxySiblingCount = siblings;
    team.RemoveFromPacket(in);
    if (in.Failed() ||
        !ReadMonsterList(in, durationDamage, kMonsterMinDurationDamage, "duration damage count") ||
        !ReadMonsterList(in, fixedDurationDamage, kMonsterMinFixedDurationDamage,
                         "fixed duration damage count") ||
        !ReadMonsterList(in, skills, kMonsterMinSkill, "skill count") ||
        !ReadMonsterList(in, skillBuffs, kMonsterMinSkillBuff, "skill buff count"))
        return false;
    if (alive) {
        if (!in.Read16(loot.lootSeed) || !in.Read16(loot.lootLevel) ||
            !in.Read32(loot.attachedItemIds[0]))
            return false;
        for (std::size_t k = 1; k < LootStruct::kAttachedItems; ++k) {
            if (flags & kReplicaConsecutiveIds)
                loot.attachedItemIds[k] = loot.attachedItemIds[0] + static_cast<std::uint32_t>(k);
            else if (!in.Read32(loot.attachedItemIds[k]))
                return false;
        }
    }
    if (!moving)
        return true;
    return in.Remove(&pathTarget) && in.Read32(attackTarget) && in.Read32(attackSkill);
}

}  // namespace GAME
