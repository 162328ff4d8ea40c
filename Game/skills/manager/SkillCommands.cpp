#include "Game/skills/manager/SkillCommands.h"

#include <algorithm>

#include "Engine/net/NetPacketRegistry.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/text/Name.h"
#include "Game/characters/Character.h"
#include "Game/skills/manager/SkillManager.h"
#include "Game/skills/manager/SkillPointSpend.h"

namespace GAME {

SkillManager* SkillConfigCmd::FindManager() const {
    auto* character = Singleton<ObjectManager>::Get().GetObject<Character>(mObjectId);
    return character ? &character->GetSkillManager() : nullptr;
}

// SkillTargetResultConfigCmd
SkillTargetResultConfigCmd::SkillTargetResultConfigCmd(
    const SkillTargetResultConfigCmdPacket& packet)
    : SkillTargetResultConfigCmd(packet.parent.GetId(), packet.reference, packet.targets.GetIds(),
                                 packet.origin, packet.seed, packet.weaponId, packet.useWeapon,
                                 packet.hitIteration) {}

void SkillTargetResultConfigCmd::Execute() {
    if (SkillManager* manager = FindManager())
        manager->SkillTargetResult(reference, targets, origin, seed, weaponId, useWeapon,
                                   hitIteration);
}

std::unique_ptr<NetPacket> SkillTargetResultConfigCmd::GetNetPacket() {
    auto packet = std::make_unique<SkillTargetResultConfigCmdPacket>();
    packet->parent = GetObjectId();
    packet->reference = reference;
    packet->targets = targets;
    packet->origin = origin;
    packet->seed = seed;
    packet->weaponId = weaponId;
    packet->useWeapon = useWeapon;
    packet->hitIteration = hitIteration;
    return packet;
}

// CreateProjectileConfigCmd
CreateProjectileConfigCmd::CreateProjectileConfigCmd(const CreateProjectileConfigCmdPacket& packet)
    : CreateProjectileConfigCmd(packet.parent.GetId(), packet.reference, packet.weaponId,
                                packet.origin, packet.target.GetId(), packet.point,
                                packet.projectileId, packet.seed, packet.hitIteration) {}

void CreateProjectileConfigCmd::Execute() {
    if (SkillManager* manager = FindManager())
        manager->CreateProjectile(reference, weaponId, origin, targetId, aim, projectileId, seed,
                                  static_cast<std::uint32_t>(hitIteration));
}

std::unique_ptr<NetPacket> CreateProjectileConfigCmd::GetNetPacket() {
    auto packet = std::make_unique<CreateProjectileConfigCmdPacket>();
    packet->parent = GetObjectId();
    packet->reference = reference;
    packet->weaponId = weaponId;
    packet->origin = origin;
    packet->target = targetId;
    packet->point = aim;
    packet->projectileId = projectileId;
    packet->seed = seed;
    packet->hitIteration = hitIteration;
    return packet;
}

// SpawnObjectConfigCmd
SpawnObjectConfigCmd::SpawnObjectConfigCmd(const SpawnObjectConfigCmdPacket& packet)
    : SpawnObjectConfigCmd(packet.parent.GetId(), packet.reference, packet.origin, packet.targetId,
                           packet.positions, packet.ids, packet.spawnValue) {}

void SpawnObjectConfigCmd::Execute() {
    SkillManager* manager = FindManager();
    if (!manager)
        return;
    // Each object made under a given id moves the counter past it, and then makes objects of
    // its own (controller, skills): those must not take the ids of the objects still to come.
    if (!ids.empty())
        Singleton<ObjectManager>::Get().SkipIdsThrough(*std::max_element(ids.begin(), ids.end()));
    manager->SkillSpawnObject(reference, origin, targetId, positions, ids, spawnValue);
}

std::unique_ptr<NetPacket> SpawnObjectConfigCmd::GetNetPacket() {
    auto packet = std::make_unique<SpawnObjectConfigCmdPacket>();
    packet->parent = GetObjectId();
    packet->reference = reference;
    packet->origin = origin;
    packet->targetId = targetId;
    packet->positions = positions;
    packet->ids = ids;
    packet->spawnValue = spawnValue;
    return packet;
}

// SkillStateUpdateConfigCmd
SkillStateUpdateConfigCmd::SkillStateUpdateConfigCmd(const SkillStateUpdateConfigCmdPacket& packet)
    : SkillStateUpdateConfigCmd(packet.parent.GetId(), packet.reference, packet.state) {}

bool SkillStateUpdateConfigCmd::IsStrike() const {
    SkillManager* manager = FindManager();
    return manager && IsSkillPointSpend(*manager, reference, state);
}

void SkillStateUpdateConfigCmd::Execute() {
    if (SkillManager* manager = FindManager())
        manager->SkillStateUpdateCommand(reference, state);
}

std::unique_ptr<NetPacket> SkillStateUpdateConfigCmd::GetNetPacket() {
    auto packet = std::make_unique<SkillStateUpdateConfigCmdPacket>();
    packet->parent = GetObjectId();
    packet->reference = reference;
    packet->state = state;
    return packet;
}

// SkillActiveStateUpdateConfigCmd
SkillActiveStateUpdateConfigCmd::SkillActiveStateUpdateConfigCmd(
    const SkillActiveStateUpdateConfigCmdPacket& packet)
    : SkillActiveStateUpdateConfigCmd(packet.parent.GetId(), packet.reference, packet.state) {}

void SkillActiveStateUpdateConfigCmd::Execute() {
    if (SkillManager* manager = FindManager())
        manager->SkillActiveStateUpdateCommand(reference, state);
}

std::unique_ptr<NetPacket> SkillActiveStateUpdateConfigCmd::GetNetPacket() {
    auto packet = std::make_unique<SkillActiveStateUpdateConfigCmdPacket>();
    packet->parent = GetObjectId();
    packet->reference = reference;
    packet->state = state;
    return packet;
}

// CreateRemoveSkillBuffConfigCmd
CreateRemoveSkillBuffConfigCmd::CreateRemoveSkillBuffConfigCmd(
    const CreateRemoveSkillBuffConfigCmdPacket& packet)
    : CreateRemoveSkillBuffConfigCmd(packet.parent.GetId(), packet.skillId, packet.buffName,
                                     packet.level, packet.modifier1Name, packet.modifier1Level,
                                     packet.modifier2Name, packet.modifier2Level, packet.timeToLive,
                                     packet.casterId) {}

void CreateRemoveSkillBuffConfigCmd::Execute() {
    if (auto* character = Singleton<ObjectManager>::Get().GetObject<Character>(GetObjectId()))
        character->CreateRemoveSkillBuff(skillId, buffName, level, modifier1Name, modifier1Level,
                                         modifier2Name, modifier2Level, timeToLive, casterId);
}

std::unique_ptr<NetPacket> CreateRemoveSkillBuffConfigCmd::GetNetPacket() {
    auto packet = std::make_unique<CreateRemoveSkillBuffConfigCmdPacket>();
    packet->parent = GetObjectId();
    packet->skillId = skillId;
    packet->level = level;
    packet->modifier1Level = modifier1Level;
    packet->modifier2Level = modifier2Level;
    packet->buffName = buffName;
    packet->modifier1Name = modifier1Name;
    packet->modifier2Name = modifier2Name;
    packet->timeToLive = timeToLive;
    packet->casterId = casterId;
    return packet;
}

// ActivateSkillConfigCmd
ActivateSkillConfigCmd::ActivateSkillConfigCmd(const ActivateSkillConfigCmdPacket& packet)
    : ActivateSkillConfigCmd(packet.parent.GetId(), packet.reference, packet.target.GetId(),
                             packet.point) {}

void ActivateSkillConfigCmd::Execute() {
    if (auto* character = Singleton<ObjectManager>::Get().GetObject<Character>(GetObjectId()))
        character->ActivateSkill(reference, Name::Create("End"), targetId, point);
}

std::unique_ptr<NetPacket> ActivateSkillConfigCmd::GetNetPacket() {
    auto packet = std::make_unique<ActivateSkillConfigCmdPacket>();
    packet->parent = GetObjectId();
    packet->reference = reference;
    packet->target = targetId;
    packet->point = point;
    return packet;
}

REGISTER_CONFIG_COMMAND(SkillTargetResultConfigCmd, SkillTargetResultConfigCmdPacket);
REGISTER_CONFIG_COMMAND(CreateProjectileConfigCmd, CreateProjectileConfigCmdPacket);
REGISTER_CONFIG_COMMAND(SpawnObjectConfigCmd, SpawnObjectConfigCmdPacket);
REGISTER_CONFIG_COMMAND(SkillStateUpdateConfigCmd, SkillStateUpdateConfigCmdPacket);
REGISTER_CONFIG_COMMAND(SkillActiveStateUpdateConfigCmd, SkillActiveStateUpdateConfigCmdPacket);
REGISTER_CONFIG_COMMAND(CreateRemoveSkillBuffConfigCmd, CreateRemoveSkillBuffConfigCmdPacket);
REGISTER_CONFIG_COMMAND(ActivateSkillConfigCmd, ActivateSkillConfigCmdPacket);

}  // namespace GAME
