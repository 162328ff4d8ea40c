#include "Game/core/net/packets/FixedItemPackets.h"

#include "Engine/net/NetPacketRegistry.h"
#include "Engine/net/fields/NetPacketFields.h"
#include "Engine/object/ObjectManager.h"

namespace GAME {

namespace {

template <class Target>
Target* FindTarget(unsigned int id) {
    return dynamic_cast<Target*>(Singleton<ObjectManager>::Get().GetObject(id));
}

}  // namespace

GAME_PACKET_KIND_DEFINITIONS(FixedItemStateChangeConfigCmdPacket, ObjectInteractionPacket)
GAME_PACKET_KIND_DEFINITIONS(StrategicMovementTargetConfigCmdPacket, ObjectInteractionPacket)

// FixedItemStateChangeConfigCmd
FixedItemStateChangeConfigCmd::FixedItemStateChangeConfigCmd(unsigned int objectId,
                                                             unsigned int state_,
                                                             unsigned int instigator_,
                                                             bool doSound_)
    : ActorConfigCommand(objectId), state(state_), instigator(instigator_), doSound(doSound_) {
    SetFlag(1);
}
FixedItemStateChangeConfigCmd::FixedItemStateChangeConfigCmd(
    const FixedItemStateChangeConfigCmdPacket& packet)
    : FixedItemStateChangeConfigCmd(packet.parent.GetId(), packet.state, packet.instigator.GetId(),
                                    packet.doSound) {}
void FixedItemStateChangeConfigCmd::Execute() {
    if (auto* item = FindTarget<FixedItemCommandTarget>(GetObjectId()))
        item->SetFixedItemState(static_cast<FixedItem_State>(state), instigator, false, doSound);
}
std::unique_ptr<NetPacket> FixedItemStateChangeConfigCmd::GetNetPacket() {
    auto packet = std::make_unique<FixedItemStateChangeConfigCmdPacket>();
    packet->parent = GetObjectId();
    packet->state = state;
    packet->instigator = instigator;
    packet->doSound = doSound;
    return packet;
}

// FixedItemTargetConfigCmd, FixedItemSkillTargetConfigCmd
template <class Packet, FixedItemUse Use>
void FixedItemTargetsConfigCmd<Packet, Use>::Execute() {
    if (auto* item = FindTarget<FixedItemCommandTarget>(GetObjectId()))
        (item->*Use)(primaryTarget, targets);
}
template <class Packet, FixedItemUse Use>
std::unique_ptr<NetPacket> FixedItemTargetsConfigCmd<Packet, Use>::GetNetPacket() {
    auto packet = std::make_unique<Packet>();
    packet->parent = GetObjectId();
    packet->primaryTarget = primaryTarget;
    packet->targets = targets;
    return packet;
}
template class FixedItemTargetsConfigCmd<FixedItemTargetConfigCmdPacket,
                                         &FixedItemCommandTarget::UseOnTarget>;
template class FixedItemTargetsConfigCmd<FixedItemSkillTargetConfigCmdPacket,
                                         &FixedItemCommandTarget::UseSkillOnTargets>;

// StrategicMovementTargetConfigCmd
StrategicMovementTargetConfigCmd::StrategicMovementTargetConfigCmd(
    unsigned int objectId, std::vector<unsigned int> targets_)
    : ActorConfigCommand(objectId), targets(std::move(targets_)) {
    SetFlag(1);
}
StrategicMovementTargetConfigCmd::StrategicMovementTargetConfigCmd(
    const StrategicMovementTargetConfigCmdPacket& packet)
    : StrategicMovementTargetConfigCmd(packet.parent.GetId(), packet.targets.GetIds()) {}
void StrategicMovementTargetConfigCmd::Execute() {
    if (auto* mover = FindTarget<StrategicMovementCommandTarget>(GetObjectId()))
        mover->HandleTargets(targets);
}
std::unique_ptr<NetPacket> StrategicMovementTargetConfigCmd::GetNetPacket() {
    auto packet = std::make_unique<StrategicMovementTargetConfigCmdPacket>();
    packet->parent = GetObjectId();
    packet->targets = targets;
    return packet;
}

REGISTER_CONFIG_COMMAND(FixedItemStateChangeConfigCmd, FixedItemStateChangeConfigCmdPacket);
REGISTER_CONFIG_COMMAND(FixedItemTargetConfigCmd, FixedItemTargetConfigCmdPacket);
REGISTER_CONFIG_COMMAND(FixedItemSkillTargetConfigCmd, FixedItemSkillTargetConfigCmdPacket);
REGISTER_CONFIG_COMMAND(StrategicMovementTargetConfigCmd, StrategicMovementTargetConfigCmdPacket);

}  // namespace GAME
