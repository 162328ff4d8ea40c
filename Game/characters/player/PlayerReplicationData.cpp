#include "Game/characters/player/PlayerReplicationData.h"

#include "Engine/net/fields/NetPacketBuffer.h"

namespace GAME {

namespace {

// The smallest wire size of one record of each list, so that a count is checked against what
// remains of the body before a record is read or a vector grows.
constexpr std::size_t kMinDurationDamage = 12;  // type, attacker, run count
constexpr std::size_t kMinFixedDurationDamage = 8;
constexpr std::size_t kMinSkill = 4 + 8 + 8;  // empty name, two images
constexpr std::size_t kMinSkillBuff = 3 * kMinSkill + 4;
constexpr std::size_t kMinInventory = 4 + 4 + 4 + 1;  // location, empty name, id, flags

template <class Record>
void WriteList(NetPacketOutBuffer& out, const std::vector<Record>& records) {
    out.Write32(static_cast<std::int32_t>(records.size()));
    for (const Record& record : records)
        record.Write(out);
}

template <class Record>
bool ReadList(NetPacketInBuffer& in, std::vector<Record>& records, std::size_t minSize,
              const char* what) {
    std::int32_t count = 0;
    if (!in.Read32(count))
        return false;
    if (count < 1)
        return true;
    if (static_cast<std::size_t>(count) > in.Remaining() / minSize) {
        in.Fail(what);
        return false;
    }
    records.reserve(records.size() + static_cast<std::size_t>(count));
    for (std::int32_t i = 0; i < count; ++i) {
        Record record;
        if (!record.Read(in))
            return false;
        records.push_back(std::move(record));
    }
    return true;
}

void WriteTeam(NetPacketOutBuffer& out, const Team& team) {
    out.Write32(team.GetTeamMajor());
    out.Write32(team.GetTeamMinor());
    out.Write32(static_cast<std::uint32_t>(team.IsInitialized() ? 1 : 0));
}

bool ReadTeam(NetPacketInBuffer& in, Team& team) {
    std::uint32_t words[3];
    if (!in.Read12Bytes(words))
        return false;
    team = Team();
    if (words[2] != 0)
        team.Set(words[0], words[1]);
    return true;
}

}  // namespace

void InventoryReplica::Write(NetPacketOutBuffer& out) const {
    out.Write32(location);
    out.AddFileName(item.baseName);
    item.WriteToPacket(out);
}

bool InventoryReplica::Read(NetPacketInBuffer& in) {
    return in.Read32(location) && in.Remove(&item.baseName) && item.ReadFromPacket(in);
}

void PlayerReplicationData::Write(NetPacketOutBuffer& out) const {
    out.Add(playerName);
    out.Add(&position);
    out.Write32(currentLife);
    out.Write32(currentMana);
    out.Add(&taintedBio);
    for (float base : {baseLife, baseMana, baseStrength, baseDexterity, baseIntelligence})
        out.Write32(base);
    WriteTeam(out, team);
    out.Write32(characterLevel);
    out.Write32(experiencePoints);
    out.Write32(money);
    out.Add(playerTexture);
    WriteList(out, durationDamage);
    WriteList(out, fixedDurationDamage);
    WriteList(out, skills);
    WriteList(out, skillBuffs);
    WriteList(out, inventory);
    out.Write32(static_cast<std::int32_t>(actionState));
    out.Add(&moving);
    if (!moving)
        return;
    out.Add(&pathTarget);
    out.Write32(attackTarget);
    out.Write32(attackSkill);
}

bool PlayerReplicationData::Read(NetPacketInBuffer& in) {
    std::int32_t action = 0;
    const bool ok =
        in.Remove(&playerName) && in.Remove(&position) && in.Read32(currentLife) &&
        in.Read32(currentMana) && in.Remove(&taintedBio) && in.Read32(baseLife) &&
        in.Read32(baseMana) && in.Read32(baseStrength) && in.Read32(baseDexterity) &&
        in.Read32(baseIntelligence) && ReadTeam(in, team) && in.Read32(characterLevel) &&
        in.Read32(experiencePoints) && in.Read32(money) && in.Remove(&playerTexture) &&
        ReadList(in, durationDamage, kMinDurationDamage, "duration damage count") &&
        ReadList(in, fixedDurationDamage, kMinFixedDurationDamage, "fixed duration damage count") &&
        ReadList(in, skills, kMinSkill, "skill count") &&
        ReadList(in, skillBuffs, kMinSkillBuff, "skill buff count") &&
        ReadList(in, inventory, kMinInventory, "inventory count") && in.Read32(action) &&
        in.Remove(&moving);
    if (!ok)
        return false;
    if (action < 0 || action > static_cast<std::int32_t>(Character_ActionState::Dying)) {
        in.Fail("action state");
        return false;
    }
    actionState = static_cast<Character_ActionState>(action);
    if (!moving)
        return true;
    return in.Remove(&pathTarget) && in.Read32(attackTarget) && in.Read32(attackSkill);
}

}  // namespace GAME
