// The player on other machines: its spawn packet, the snapshot it writes, and the snapshot read
// and applied on the receiving side (or on a local copy).
#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "Engine/Engine.h"
#include "Engine/net/fields/NetPacketBuffer.h"
#include "Engine/object/ObjectManager.h"
#include "Game/characters/Player.h"
#include "Game/characters/movement/CharacterMovementManager.h"
#include "Game/characters/player/PlayerJoinCheck.h"
#include "Game/characters/player/PlayerReplicationData.h"
#include "Game/core/net/packets/WorldPackets.h"
#include "Game/core/util/MathUtil.h"
#include "Game/rules/duration/DurationDamageManager.h"
#include "Game/skills/Skill.h"

namespace GAME {

std::unique_ptr<NetPacket> Player::CreateSpawnNetPacket() const {
    auto packet = std::make_unique<SpawnPlayerPacket>();
    packet->player = GetObjectId();
    return packet;
}

void Player::WriteReplicationData(NetPacketOutBuffer& out) {
    PlayerReplicationData data;
    data.playerName = mName;
    data.position = GetCoords();
    CharacterBioReplicaInfo bio;
    GetCharacterBio().GetCurrentBioStats(bio);
    data.currentLife = static_cast<float>(bio.currentLife);
    data.currentMana = static_cast<float>(bio.currentMana);
    data.taintedBio = bio.tainted;
    data.baseLife = static_cast<float>(bio.baseLife);
    data.baseMana = static_cast<float>(bio.baseMana);
    data.baseStrength = static_cast<float>(bio.baseStrength);
    data.baseDexterity = static_cast<float>(bio.baseDexterity);
    data.baseIntelligence = static_cast<float>(bio.baseIntelligence);
    data.team = GetOwnTeam();
    data.characterLevel = GetExperienceLevelControl().GetLevel();
    data.experiencePoints = GetExperienceLevelControl().GetExperiencePoints();
    data.money = static_cast<std::int32_t>(GetMoney());
    data.playerTexture = mPlayerTexture;
    GetDurationDamageManager().GetDamageReplica(data.durationDamage);
    GetDurationDamageManager().GetFixedDamageReplica(data.fixedDurationDamage);
    GetSkillManager().GetSkillReplica(data.skills);
    GetSkillManager().GetSkillBuffReplica(data.skillBuffs);
    GetInventoryReplica(data.inventory);
    data.actionState = GetActionState();
    data.moving = IsMoving();
    if (data.moving) {
        data.pathTarget = GetMovementManager().GetPathTarget();
        WorldVec3 targetPosition;
        GetCurrentAttackTarget(data.attackTarget, targetPosition, data.attackSkill);
    }
    data.Write(out);
}

bool Player::ReadReplicationData(NetPacketInBuffer& in) {
    mPendingReplication.reset();
    auto data = std::make_unique<PlayerReplicationData>();
    if (!data->Read(in)) {
        gEngine->Log(1,
                     "Player::ReadReplicationData: the replication body of player %u is cut short "
                     "or malformed; refused.",
                     GetObjectId());
        return false;
    }
    // A copy makes items of its own instead of naming the source's.
    if (mIsCopy)
        for (InventoryReplica& replica : data->inventory)
            replica.item.objectId = 0;
    mPendingReplication = std::move(data);
    return true;
}

namespace {

// The snapshot carries no unspent attribute points, but its level and base attributes tell them:
// the points the levels above the record's give, less those the bases took; or, when more, what
// the server found the character brings (its quests' points count there). Every machine works
// them out alike, so the owner can spend them in a network game.
std::uint32_t UnspentAttributePoints(const ExperienceLevelControl& levels, std::uint32_t firstLevel,
                                     const CharacterBioReplicaInfo& record,
                                     const CharacterBioReplicaInfo& claimed,
                                     std::uint32_t brought) {
    const std::uint64_t given =
        levels.GetModifierPoints() +
        std::uint64_t{levels.GetLevel() > firstLevel ? levels.GetLevel() - firstLevel : 0} *
            levels.GetModifierPointsPerLevel();
    const std::array<std::uint32_t, 5> increments = levels.GetIncrements();
    const std::uint64_t taken =
        AttributePointsTaken(claimed.baseLife, record.baseLife, increments[0]) +
        AttributePointsTaken(claimed.baseMana, record.baseMana, increments[1]) +
        AttributePointsTaken(claimed.baseStrength, record.baseStrength, increments[2]) +
        AttributePointsTaken(claimed.baseDexterity, record.baseDexterity, increments[3]) +
        AttributePointsTaken(claimed.baseIntelligence, record.baseIntelligence, increments[4]);
    const std::uint64_t left = std::max<std::uint64_t>(given > taken ? given - taken : 0, brought);
    return static_cast<std::uint32_t>(std::min<std::uint64_t>(left, 0xFFFFFFFFu));
}

// Nor unspent skill points: the points the record and the levels above its give, less the levels
// the skills rose above the record's.
std::uint32_t UnspentSkillPoints(const ExperienceLevelControl& levels, std::uint32_t firstLevel,
                                 std::uint32_t recordPoints, std::uint64_t raised) {
    const std::uint64_t given =
        recordPoints +
        std::uint64_t{levels.GetLevel() > firstLevel ? levels.GetLevel() - firstLevel : 0} *
            levels.GetSkillPointsPerLevel();
    return given > raised
               ? static_cast<std::uint32_t>(std::min<std::uint64_t>(given - raised, 0xFFFFFFFFu))
               : 0;
}

}  // namespace

void Player::ApplyReplicationData(std::uint32_t attributePoints) {
    if (!mPendingReplication) {
        gEngine->Log(1, "Player::ApplyReplicationData: Attempt to apply NULL replication data.");
        return;
    }
    const std::unique_ptr<PlayerReplicationData> data = std::move(mPendingReplication);
    SetPlayerName(data->playerName);
    SetSpawnPoint(data->position);
    CharacterBioReplicaInfo record;
    GetCharacterBio().GetCurrentBioStats(record);
    const std::uint32_t firstLevel = GetExperienceLevelControl().GetLevel();
    CharacterBioReplicaInfo bio;
    bio.currentLife = TruncateToUnsigned(data->currentLife);
    bio.currentMana = TruncateToUnsigned(data->currentMana);
    bio.tainted = data->taintedBio;
    bio.baseLife = TruncateToUnsigned(data->baseLife);
    bio.baseMana = TruncateToUnsigned(data->baseMana);
    bio.baseStrength = TruncateToUnsigned(data->baseStrength);
    bio.baseDexterity = TruncateToUnsigned(data->baseDexterity);
    bio.baseIntelligence = TruncateToUnsigned(data->baseIntelligence);
    GetCharacterBio().RestoreCurrentBioStats(bio, true);
    SetTeam(data->team);
    GetDurationDamageManager().SetDamageReplica(data->durationDamage);
    GetDurationDamageManager().SetFixedDamageReplica(data->fixedDurationDamage);
    std::uint64_t raised = 0;
    for (const SkillManager::_SkillReplica& replica : data->skills)
        if (const auto* skill = Singleton<ObjectManager>::Get().GetObject<Skill>(
                GetSkillManager().FindSkillId(replica.skillName));
            skill && replica.state.level > skill->GetSkillLevel())
            raised += replica.state.level - skill->GetSkillLevel();
    const std::uint32_t recordSkillPoints = GetExperienceLevelControl().GetSkillPoints();
    GetSkillManager().SetSkillReplica(data->skills);
    GetSkillManager().SetSkillBuffReplica(data->skillBuffs);
    SetInventoryReplica(data->inventory);
    GetExperienceLevelControl().SetLevel(data->characterLevel);
    GetExperienceLevelControl().SetExperiencePoints(data->experiencePoints);
    ExperienceLevelControl& levels = GetExperienceLevelControl();
    const std::uint32_t unspent =
        UnspentAttributePoints(levels, firstLevel, record, bio, attributePoints);
    if (unspent > levels.GetModifierPoints())
        levels.AddModifierPoints(unspent - levels.GetModifierPoints());
    const std::uint32_t unspentSkill =
        UnspentSkillPoints(levels, firstLevel, recordSkillPoints, raised);
    if (unspentSkill > levels.GetSkillPoints())
        levels.AddSkillPoints(unspentSkill - levels.GetSkillPoints());
    SubtractMoney(GetMoney());
    AddMoney(data->money > 0 ? static_cast<std::uint32_t>(data->money) : 0);
    mPlayerTexture = data->playerTexture;
    ResetPlayerTexture();
    SetInitialStateInfo(data->actionState, data->pathTarget, data->attackTarget, data->attackSkill);
}

}  // namespace GAME
