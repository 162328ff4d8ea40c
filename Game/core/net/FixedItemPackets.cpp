#include "Game/core/net/FixedItemPackets.h"

#include "Engine/net/NetPacketBuffer.h"
#include "Engine/net/NetPacketDescriber.h"
#include "Engine/net/NetPacketRegistry.h"
#include "Engine/object/ObjectManager.h"

namespace GAME {

namespace {

template <class Target>
Target* FindTarget(unsigned int id) {
    return dynamic_cast<Target*>(Singleton<ObjectManager>::Get().GetObject(id));
}

void DescribeList(NetPacketDescriber& d, const char* heading, const SmartObjectIdList& list) {
    d.Heading(heading, 0);
    for (std::size_t i = 0; i < list.Size(); ++i)
        d.Describe(("Target " + std::to_string(i) + ": ").c_str(),
                   static_cast<unsigned int>(list.GetIds()[i]), 1);
}

// The two fixed-item target kinds share their body.
template <class Packet>
unsigned int WriteTargets(Packet& packet) {
    NetPacketOutBuffer out(&packet);
    out.Add(&packet.parent);
    out.Add(&packet.primaryTarget);
    out.Add(&packet.targets);
    return out.Done();
}

template <class Packet>
void ReadTargets(Packet& packet, const unsigned char* data, int size) {
    NetPacketInBuffer in(packet.GetHeader(), data, size);
    in.Remove(&packet.parent);
    in.Remove(&packet.primaryTarget);
    in.Remove(&packet.targets);
}

}  // namespace

// FixedItemStateChangeConfigCmdPacket
FixedItemStateChangeConfigCmdPacket::FixedItemStateChangeConfigCmdPacket()
    : ObjectInteractionPacket(PacketType::FixedItemStateChangeConfigCmdPacket) {}
FixedItemStateChangeConfigCmdPacket::~FixedItemStateChangeConfigCmdPacket() = default;
unsigned int FixedItemStateChangeConfigCmdPacket::PrepareOutBuffer() {
    NetPacketOutBuffer out(this);
    out.Add(&parent);
    out.Write32(state);
    out.Add(&instigator);
    out.Add(&doSound);
    return out.Done();
}
void FixedItemStateChangeConfigCmdPacket::CopyInbound(const unsigned char* data, int size) {
    NetPacketInBuffer in(GetHeader(), data, size);
    in.Remove(&parent);
    in.Read32(state);
    in.Remove(&instigator);
    in.Remove(&doSound);
}
std::string FixedItemStateChangeConfigCmdPacket::GetPacketDescription(bool flag) {
    NetPacketDescriber d(this, flag);
    d.Describe("Parent ID: ", parent, 0);
    d.Describe("State:     ", static_cast<unsigned int>(state), 0);
    d.Describe("Target ID: ", instigator, 0);
    d.Describe("Do Sound:  ", doSound, 0);
    return d.GetDescription();
}

// FixedItemTargetConfigCmdPacket
FixedItemTargetConfigCmdPacket::FixedItemTargetConfigCmdPacket()
    : ObjectInteractionPacket(PacketType::FixedItemTargetConfigCmdPacket) {}
FixedItemTargetConfigCmdPacket::~FixedItemTargetConfigCmdPacket() = default;
unsigned int FixedItemTargetConfigCmdPacket::PrepareOutBuffer() {
    return WriteTargets(*this);
}
void FixedItemTargetConfigCmdPacket::CopyInbound(const unsigned char* data, int size) {
    ReadTargets(*this, data, size);
}
std::string FixedItemTargetConfigCmdPacket::GetPacketDescription(bool flag) {
    NetPacketDescriber d(this, flag);
    d.Describe("Parent ID: ", parent, 0);
    d.Describe("Primary Target ID: ", static_cast<unsigned int>(primaryTarget.GetId()), 0);
    DescribeList(d, "Secondary Target IDs:", targets);
    return d.GetDescription();
}

// FixedItemSkillTargetConfigCmdPacket
FixedItemSkillTargetConfigCmdPacket::FixedItemSkillTargetConfigCmdPacket()
    : ObjectInteractionPacket(PacketType::FixedItemSkillTargetConfigCmdPacket) {}
FixedItemSkillTargetConfigCmdPacket::~FixedItemSkillTargetConfigCmdPacket() = default;
unsigned int FixedItemSkillTargetConfigCmdPacket::PrepareOutBuffer() {
    return WriteTargets(*this);
}
void FixedItemSkillTargetConfigCmdPacket::CopyInbound(const unsigned char* data, int size) {
    ReadTargets(*this, data, size);
}
std::string FixedItemSkillTargetConfigCmdPacket::GetPacketDescription(bool flag) {
    NetPacketDescriber d(this, flag);
    d.Describe("Parent ID: ", parent, 0);
    d.Describe("Primary Target ID: ", static_cast<unsigned int>(primaryTarget.GetId()), 0);
    DescribeList(d, "Skill Target IDs:", targets);
    return d.GetDescription();
}

// StrategicMovementTargetConfigCmdPacket
StrategicMovementTargetConfigCmdPacket::StrategicMovementTargetConfigCmdPacket()
    : ObjectInteractionPacket(PacketType::StrategicMovementTargetConfigCmdPacket) {}
StrategicMovementTargetConfigCmdPacket::~StrategicMovementTargetConfigCmdPacket() = default;
unsigned int StrategicMovementTargetConfigCmdPacket::PrepareOutBuffer() {
    NetPacketOutBuffer out(this);
    out.Add(&parent);
    out.Add(&targets);
    return out.Done();
}
void StrategicMovementTargetConfigCmdPacket::CopyInbound(const unsigned char* data, int size) {
    NetPacketInBuffer in(GetHeader(), data, size);
    in.Remove(&parent);
    in.Remove(&targets);
}
std::string StrategicMovementTargetConfigCmdPacket::GetPacketDescription(bool flag) {
    NetPacketDescriber d(this, flag);
    d.Describe("Parent ID: ", parent, 0);
    DescribeList(d, "Target IDs:", targets);
    return d.GetDescription();
}

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
        item->SetFixedItemState(state, instigator, false, doSound);
}
NetPacket* FixedItemStateChangeConfigCmd::GetNetPacket() {
    auto* packet = new FixedItemStateChangeConfigCmdPacket();
    packet->parent = GetObjectId();
    packet->state = state;
    packet->instigator = instigator;
    packet->doSound = doSound;
    return packet;
}

// FixedItemTargetConfigCmd
FixedItemTargetConfigCmd::FixedItemTargetConfigCmd(unsigned int objectId,
                                                   unsigned int primaryTarget_,
                                                   std::vector<unsigned int> targets_)
    : ActorConfigCommand(objectId), primaryTarget(primaryTarget_), targets(std::move(targets_)) {
    SetFlag(1);
}
FixedItemTargetConfigCmd::FixedItemTargetConfigCmd(const FixedItemTargetConfigCmdPacket& packet)
    : FixedItemTargetConfigCmd(packet.parent.GetId(), packet.primaryTarget.GetId(),
                               packet.targets.GetIds()) {}
void FixedItemTargetConfigCmd::Execute() {
    if (auto* item = FindTarget<FixedItemCommandTarget>(GetObjectId()))
        item->UseOnTarget(primaryTarget, targets);
}
NetPacket* FixedItemTargetConfigCmd::GetNetPacket() {
    auto* packet = new FixedItemTargetConfigCmdPacket();
    packet->parent = GetObjectId();
    packet->primaryTarget = primaryTarget;
    packet->targets = targets;
    return packet;
}

// FixedItemSkillTargetConfigCmd
FixedItemSkillTargetConfigCmd::FixedItemSkillTargetConfigCmd(unsigned int objectId,
                                                             unsigned int primaryTarget_,
                                                             std::vector<unsigned int> targets_)
    : ActorConfigCommand(objectId), primaryTarget(primaryTarget_), targets(std::move(targets_)) {
    SetFlag(1);
}
FixedItemSkillTargetConfigCmd::FixedItemSkillTargetConfigCmd(
    const FixedItemSkillTargetConfigCmdPacket& packet)
    : FixedItemSkillTargetConfigCmd(packet.parent.GetId(), packet.primaryTarget.GetId(),
                                    packet.targets.GetIds()) {}
void FixedItemSkillTargetConfigCmd::Execute() {
    if (auto* item = FindTarget<FixedItemCommandTarget>(GetObjectId()))
        item->UseSkillOnTargets(primaryTarget, targets);
}
NetPacket* FixedItemSkillTargetConfigCmd::GetNetPacket() {
    auto* packet = new FixedItemSkillTargetConfigCmdPacket();
    packet->parent = GetObjectId();
    packet->primaryTarget = primaryTarget;
    packet->targets = targets;
    return packet;
}

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
NetPacket* StrategicMovementTargetConfigCmd::GetNetPacket() {
    auto* packet = new StrategicMovementTargetConfigCmdPacket();
    packet->parent = GetObjectId();
    packet->targets = targets;
    return packet;
}

REGISTER_CONFIG_COMMAND(FixedItemStateChangeConfigCmd, FixedItemStateChangeConfigCmdPacket);
REGISTER_CONFIG_COMMAND(FixedItemTargetConfigCmd, FixedItemTargetConfigCmdPacket);
REGISTER_CONFIG_COMMAND(FixedItemSkillTargetConfigCmd, FixedItemSkillTargetConfigCmdPacket);
REGISTER_CONFIG_COMMAND(StrategicMovementTargetConfigCmd, StrategicMovementTargetConfigCmdPacket);

}  // namespace GAME
