#include "Game/core/net/commands/CharacterCommands.h"

#include "Engine/net/NetPacketRegistry.h"
#include "Engine/object/ObjectManager.h"
#include "Game/characters/Character.h"
#include "Game/characters/monster/Typhon.h"

namespace GAME {

#define GAME_CHARACTER_LAYOUT_PACKET_DEFINITIONS(Kind, Layout) \
    template class Layout<PacketType::Kind>;
GAME_CHARACTER_LAYOUT_PACKETS(GAME_CHARACTER_LAYOUT_PACKET_DEFINITIONS)
#undef GAME_CHARACTER_LAYOUT_PACKET_DEFINITIONS

GAME_PACKET_KIND_DEFINITIONS(StartStopDamageEffectConfigCmdPacket, ObjectInteractionPacket)
GAME_PACKET_KIND_DEFINITIONS(SetTeamConfigCmdPacket, ObjectInteractionPacket)
GAME_PACKET_KIND_DEFINITIONS(RequestAllyAttackConfigCmdPacket, ObjectInteractionPacket)
GAME_PACKET_KIND_DEFINITIONS(RequestAllyMoveConfigCmdPacket, ObjectInteractionPacket)

Character* FindCommandCharacter(unsigned int id) {
    return Singleton<ObjectManager>::Get().GetObject<Character>(id);
}

namespace character_calls {
void IncrementBaseStrength(Character& c) {
    c.IncrementBaseStrength();
}
void IncrementBaseDexterity(Character& c) {
    c.IncrementBaseDexterity();
}
void IncrementBaseIntelligence(Character& c) {
    c.IncrementBaseIntelligence();
}
void ReleaseTrap(Character& c) {
    c.ReleaseTrap();
}
void ReleaseStun(Character& c) {
    c.ReleaseStun();
}
void ReleaseImmobilize(Character& c) {
    c.ReleaseImmobilize();
}
void QuestMoveCompleted(Character& c) {
    c.SendQuestMoveCompletedEvent();
}
void QuestAnimationCompleted(Character& c) {
    c.SendQuestAnimationCompletedEvent();
}
void IncrementBaseLife(Character& c, int amount) {
    if (amount == 0)
        c.IncrementBaseLife();
    else
        c.IncrementBaseLife(amount);
}
void IncrementBaseMana(Character& c, int amount) {
    if (amount == 0)
        c.IncrementBaseMana();
    else
        c.IncrementBaseMana(amount);
}
void PlaySound(Character& c, std::uint32_t index) {
    c.OnPlayNetSound(index);
}
void Show(Character& c, bool visible) {
    c.SetVisibility(visible);
}
void SetCausesAnger(Character& c, bool on) {
    c.SetCausesAnger(on);
}
void SetInvincible(Character& c, bool on) {
    c.SetInvincible(on);
}
}  // namespace character_calls

// StartStopDamageEffectConfigCmd
StartStopDamageEffectConfigCmd::StartStopDamageEffectConfigCmd(unsigned int objectId, bool start_,
                                                               CombatAttributeType type_)
    : ActorConfigCommand(objectId), start(start_), type(type_) {
    SetFlag(1);
}
StartStopDamageEffectConfigCmd::StartStopDamageEffectConfigCmd(
    const StartStopDamageEffectConfigCmdPacket& packet)
    : StartStopDamageEffectConfigCmd(packet.parent.GetId(), packet.start,
                                     static_cast<CombatAttributeType>(packet.type)) {}
void StartStopDamageEffectConfigCmd::Execute() {
    Character* character = FindCommandCharacter(GetObjectId());
    if (!character)
        return;
    if (start)
        character->StartDamageEffect(type);
    else
        character->StopDamageEffect(type);
}
std::unique_ptr<NetPacket> StartStopDamageEffectConfigCmd::GetNetPacket() {
    auto packet = std::make_unique<StartStopDamageEffectConfigCmdPacket>();
    packet->parent = GetObjectId();
    packet->start = start;
    packet->type = static_cast<std::uint32_t>(type);
    return packet;
}

// SetTeamConfigCmd
SetTeamConfigCmd::SetTeamConfigCmd(unsigned int objectId, const Team& team_)
    : ActorConfigCommand(objectId), team(team_) {
    SetFlag(1);
}
SetTeamConfigCmd::SetTeamConfigCmd(const SetTeamConfigCmdPacket& packet)
    : SetTeamConfigCmd(packet.parent.GetId(), packet.team) {}
void SetTeamConfigCmd::Execute() {
    if (Character* character = FindCommandCharacter(GetObjectId()))
        character->SetTeam(team);
}
std::unique_ptr<NetPacket> SetTeamConfigCmd::GetNetPacket() {
    auto packet = std::make_unique<SetTeamConfigCmdPacket>();
    packet->parent = GetObjectId();
    packet->team = team;
    return packet;
}

// RequestAllyAttackConfigCmd
RequestAllyAttackConfigCmd::RequestAllyAttackConfigCmd(unsigned int petId,
                                                       std::uint32_t requesterId_,
                                                       std::uint32_t targetId_)
    : ActorConfigCommand(petId), requesterId(requesterId_), targetId(targetId_) {
    SetFlag(1);
}
RequestAllyAttackConfigCmd::RequestAllyAttackConfigCmd(
    const RequestAllyAttackConfigCmdPacket& packet)
    : RequestAllyAttackConfigCmd(packet.parent.GetId(), packet.requester.GetId(), packet.targetId) {
}
void RequestAllyAttackConfigCmd::Execute() {
    if (Character* pet = FindCommandCharacter(GetObjectId()))
        pet->RequestAttack(requesterId, targetId);
}
std::unique_ptr<NetPacket> RequestAllyAttackConfigCmd::GetNetPacket() {
    auto packet = std::make_unique<RequestAllyAttackConfigCmdPacket>();
    packet->parent = GetObjectId();
    packet->requester = requesterId;
    packet->targetId = targetId;
    return packet;
}

// RequestAllyMoveConfigCmd
RequestAllyMoveConfigCmd::RequestAllyMoveConfigCmd(unsigned int petId, std::uint32_t requesterId_,
                                                   const WorldVec3& point_)
    : ActorConfigCommand(petId), requesterId(requesterId_), point(point_) {
    SetFlag(1);
}
RequestAllyMoveConfigCmd::RequestAllyMoveConfigCmd(const RequestAllyMoveConfigCmdPacket& packet)
    : RequestAllyMoveConfigCmd(packet.parent.GetId(), packet.requester.GetId(), packet.point) {}
void RequestAllyMoveConfigCmd::Execute() {
    if (Character* pet = FindCommandCharacter(GetObjectId()))
        pet->RequestMove(requesterId, point);
}
std::unique_ptr<NetPacket> RequestAllyMoveConfigCmd::GetNetPacket() {
    auto packet = std::make_unique<RequestAllyMoveConfigCmdPacket>();
    packet->parent = GetObjectId();
    packet->requester = requesterId;
    packet->point = point;
    return packet;
}

// DisableTyphonSkillEffectsConfigCmd
DisableTyphonSkillEffectsConfigCmd::DisableTyphonSkillEffectsConfigCmd(unsigned int objectId)
    : ActorConfigCommand(objectId) {
    SetFlag(1);
}
DisableTyphonSkillEffectsConfigCmd::DisableTyphonSkillEffectsConfigCmd(
    const DisableTyphonSkillEffectsConfigCmdPacket& packet)
    : DisableTyphonSkillEffectsConfigCmd(packet.parent.GetId()) {}
void DisableTyphonSkillEffectsConfigCmd::Execute() {
    if (auto* typhon = Singleton<ObjectManager>::Get().GetObject<Typhon>(GetObjectId()))
        typhon->DisableSkillEffects();
}
std::unique_ptr<NetPacket> DisableTyphonSkillEffectsConfigCmd::GetNetPacket() {
    auto packet = std::make_unique<DisableTyphonSkillEffectsConfigCmdPacket>();
    packet->parent = GetObjectId();
    return packet;
}

#define GAME_REGISTER_CALL_COMMAND(Command, Packet, ...) REGISTER_CONFIG_COMMAND(Command, Packet);
GAME_CHARACTER_CALL_COMMANDS(GAME_REGISTER_CALL_COMMAND)
GAME_CHARACTER_SPEND_COMMANDS(GAME_REGISTER_CALL_COMMAND)
GAME_CHARACTER_VALUE_COMMANDS(GAME_REGISTER_CALL_COMMAND)
#undef GAME_REGISTER_CALL_COMMAND
REGISTER_CONFIG_COMMAND(IncrementBaseLifeConfigCmd, IncBaseLifeConfigCmdPacket);
REGISTER_CONFIG_COMMAND(IncrementBaseManaConfigCmd, IncBaseManaConfigCmdPacket);
REGISTER_CONFIG_COMMAND(StartStopDamageEffectConfigCmd, StartStopDamageEffectConfigCmdPacket);
REGISTER_CONFIG_COMMAND(SetTeamConfigCmd, SetTeamConfigCmdPacket);
REGISTER_CONFIG_COMMAND(RequestAllyAttackConfigCmd, RequestAllyAttackConfigCmdPacket);
REGISTER_CONFIG_COMMAND(RequestAllyMoveConfigCmd, RequestAllyMoveConfigCmdPacket);
REGISTER_CONFIG_COMMAND(DisableTyphonSkillEffectsConfigCmd,
                        DisableTyphonSkillEffectsConfigCmdPacket);

}  // namespace GAME
