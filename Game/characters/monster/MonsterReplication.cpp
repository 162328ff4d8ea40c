// The monster on other machines: the snapshot it writes, and the snapshot read and applied on
// the receiving side.
#include <limits>

#include "Engine/Engine.h"
#include "Engine/net/fields/NetPacketBuffer.h"
#include "Game/characters/monster/Monster.h"
#include "Game/characters/monster/MonsterReplicationData.h"
#include "Game/characters/movement/CharacterMovementManager.h"
#include "Game/core/util/MathUtil.h"
#include "Game/core/util/SeamLog.h"
#include "Game/rules/duration/DurationDamageManager.h"

namespace GAME {

void Monster::WriteReplicationData(NetPacketOutBuffer& out) {
    MonsterReplicationData data;
    data.lifeState = GetLifeState();
    data.visible = IsVisible();
    data.alive = IsAlive();
    data.moving = IsMoving();
    CharacterBioReplicaInfo bio;
    GetCharacterBio().GetCurrentBioStats(bio);
    data.taintedBio = bio.tainted;
    data.actionState = GetActionState();
    data.currentLife = GetCurrentLife();
    data.currentMana = GetCurrentMana();
    data.leaderId = mLeaderId;
    data.team = Character::GetTeam();
    GetDurationDamageManager().GetDamageReplica(data.durationDamage);
    GetDurationDamageManager().GetFixedDamageReplica(data.fixedDurationDamage);
    GetSkillManager().GetSkillReplica(data.skills);
    GetSkillManager().GetSkillBuffReplica(data.skillBuffs);
    data.loot = mLoot;
    data.proxyParent = mProxyParent;
    data.proxySiblingCount = mProxyNumSiblings;
    if (data.moving) {
        data.pathTarget = GetMovementManager().GetPathTarget();
        WorldVec3 targetPosition;
        GetCurrentAttackTarget(data.attackTarget, targetPosition, data.attackSkill);
    }
    data.Write(out, GetObjectId());
}

bool Monster::ReadReplicationData(NetPacketInBuffer& in) {
    mPendingReplication.reset();
    auto data = std::make_unique<MonsterReplicationData>();
    if (!data->Read(in)) {
        gEngine->Log(1,
                     "Monster::ReadReplicationData: the replication body of monster %u is cut "
                     "short or malformed; refused.",
                     GetObjectId());
        return false;
    }
    mPendingReplication = std::move(data);
    return true;
}

void Monster::ApplyReplicationData() {
    if (!mPendingReplication) {
        gEngine->Log(1, "Monster::ApplyReplicationData: Attempt to Apply NULL replication data.");
        return;
    }
    const std::unique_ptr<MonsterReplicationData> data = std::move(mPendingReplication);
    CharacterBioReplicaInfo bio;
    bio.currentLife = TruncateToUnsigned(data->currentLife);
    bio.currentMana = TruncateToUnsigned(data->currentMana);
    bio.tainted = data->taintedBio;
    GetCharacterBio().RestoreCurrentBioStats(bio, false);
    SetTeam(data->team);
    SetLeader(data->leaderId);
    SetVisibility(data->visible);
    GetDurationDamageManager().SetDamageReplica(data->durationDamage);
    GetDurationDamageManager().SetFixedDamageReplica(data->fixedDurationDamage);
    GetSkillManager().SetSkillReplica(data->skills);
    GetSkillManager().SetSkillBuffReplica(data->skillBuffs);
    SetLifeState(data->lifeState);
    mProxyParent = data->proxyParent;
    mProxyNumSiblings = data->proxySiblingCount;
    SetInitialStateInfo(data->actionState, data->pathTarget, data->attackTarget, data->attackSkill);
    if (data->alive)
        LoadLootFromStruct(data->loot);
}

}  // namespace GAME
