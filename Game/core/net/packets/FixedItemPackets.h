#pragma once
// The configuration commands of placed world objects whose state must change on every machine:
// a fixed item's state, the targets of a fixed item's use or skill, and a strategic movement
// object's targets, with their packets.
#include <cstdint>
#include <vector>

#include "Engine/net/ActorConfigCommand.h"
#include "Engine/net/NetPacket.h"
#include "Engine/net/SmartObjectId.h"
#include "Engine/net/fields/NetFieldLabels.h"
#include "Engine/net/fields/NetPacketFields.h"
#include "Game/core/net/packets/GameEnginePacketKind.h"

namespace GAME {

// Defined with the fixed items (Game/world/fixeditems/FixedItemState.h).
enum FixedItem_State : std::uint32_t;

// What the commands ask of a fixed item; the fixed-item classes implement it.
class FixedItemCommandTarget {
public:
    virtual ~FixedItemCommandTarget() = default;
    virtual void SetFixedItemState(FixedItem_State state, unsigned int instigator, bool initial,
                                   bool doSound) = 0;
    virtual void UseOnTarget(unsigned int primaryTarget,
                             const std::vector<unsigned int>& targets) = 0;
    virtual void UseSkillOnTargets(unsigned int primaryTarget,
                                   const std::vector<unsigned int>& targets) = 0;
};

// What the command asks of a strategic movement object; those classes implement it.
class StrategicMovementCommandTarget {
public:
    virtual ~StrategicMovementCommandTarget() = default;
    virtual void HandleTargets(const std::vector<unsigned int>& targets) = 0;
};

// Target lists are described under a heading, one numbered line per target.
constexpr NetList NumberedTargets(const char* heading) {
    return {.heading = heading, .item = "Target ", .indent = 1, .numbered = true};
}

class FixedItemStateChangeConfigCmdPacket : public ObjectInteractionPacket {
    GAME_PACKET_KIND_OPERATIONS(FixedItemStateChangeConfigCmdPacket)
    SmartObjectId parent{this};
    std::uint32_t state = 0;
    SmartObjectIdNullable instigator{this};
    bool doSound = false;

    template <class V>
    void VisitFields(V& v) {
        v.Object(parent, "Parent ID: ");
        v.Word(state, "State:     ");
        v.Object(instigator, "Target ID: ");
        v.Bool(doSound, "Do Sound:  ");
    }
};

// The use and skill kinds share their body; only the heading of their targets differs.
template <PACKET_TYPE Type>
class FixedItemTargetsPacket : public ObjectInteractionPacket {
    GAME_PACKET_LAYOUT_OPERATIONS(FixedItemTargetsPacket, ObjectInteractionPacket)
    SmartObjectId parent{this};
    SmartObjectId primaryTarget{this};
    SmartObjectIdList targets{this};

    template <class V>
    void VisitFields(V& v) {
        constexpr bool kSkill = Type == PacketType::FixedItemSkillTargetConfigCmdPacket;
        v.Object(parent, "Parent ID: ");
        v.Object(primaryTarget, "Primary Target ID: ");
        v.Objects(targets, NumberedTargets(kSkill ? "Skill Target IDs:" : "Secondary Target IDs:"));
    }
};

class FixedItemTargetConfigCmdPacket
    : public FixedItemTargetsPacket<PacketType::FixedItemTargetConfigCmdPacket> {};
class FixedItemSkillTargetConfigCmdPacket
    : public FixedItemTargetsPacket<PacketType::FixedItemSkillTargetConfigCmdPacket> {};

class StrategicMovementTargetConfigCmdPacket : public ObjectInteractionPacket {
    GAME_PACKET_KIND_OPERATIONS(StrategicMovementTargetConfigCmdPacket)
    SmartObjectId parent{this};
    SmartObjectIdList targets{this};

    template <class V>
    void VisitFields(V& v) {
        v.Object(parent, "Parent ID: ");
        v.Objects(targets, NumberedTargets("Target IDs:"));
    }
};

class FixedItemStateChangeConfigCmd : public ActorConfigCommand {
public:
    FixedItemStateChangeConfigCmd(unsigned int objectId, unsigned int state,
                                  unsigned int instigator, bool doSound);
    explicit FixedItemStateChangeConfigCmd(const FixedItemStateChangeConfigCmdPacket& packet);
    void Execute() override;
    std::unique_ptr<NetPacket> GetNetPacket() override;
    // Only the deciding machine changes a fixed item's state; a client's command instead asks
    // the server to use the item for the client's player, and goes no further.
    bool AcceptFromClient(int sourceHost) const override;
    bool DecidedByOneMachine() const override { return true; }
    // Opening alerts the monsters around and a use changes characters, which every machine
    // runs in step: the change is held to the machines' next meeting point, as strikes are.
    bool IsStrike() const override { return true; }

    unsigned int state;
    unsigned int instigator;
    bool doSound;
};

// What a fixed item is asked to do with a primary target and the others.
using FixedItemUse = void (FixedItemCommandTarget::*)(unsigned int,
                                                      const std::vector<unsigned int>&);

// The use and skill commands: a primary target and the others, handed to the fixed item.
template <class Packet, FixedItemUse Use>
class FixedItemTargetsConfigCmd : public ActorConfigCommand {
public:
    FixedItemTargetsConfigCmd(unsigned int objectId, unsigned int primaryTarget_,
                              std::vector<unsigned int> targets_)
        : ActorConfigCommand(objectId),
          primaryTarget(primaryTarget_),
          targets(std::move(targets_)) {
        SetFlag(1);
    }
    explicit FixedItemTargetsConfigCmd(const Packet& packet)
        : FixedItemTargetsConfigCmd(packet.parent.GetId(), packet.primaryTarget.GetId(),
                                    packet.targets.GetIds()) {}
    void Execute() override;
    std::unique_ptr<NetPacket> GetNetPacket() override;
    bool DecidedByOneMachine() const override { return true; }
    bool IsStrike() const override { return true; }

    unsigned int primaryTarget;
    std::vector<unsigned int> targets;
};

class FixedItemTargetConfigCmd
    : public FixedItemTargetsConfigCmd<FixedItemTargetConfigCmdPacket,
                                       &FixedItemCommandTarget::UseOnTarget> {
public:
    using FixedItemTargetsConfigCmd::FixedItemTargetsConfigCmd;
};

class FixedItemSkillTargetConfigCmd
    : public FixedItemTargetsConfigCmd<FixedItemSkillTargetConfigCmdPacket,
                                       &FixedItemCommandTarget::UseSkillOnTargets> {
public:
    using FixedItemTargetsConfigCmd::FixedItemTargetsConfigCmd;
};

class StrategicMovementTargetConfigCmd : public ActorConfigCommand {
public:
    StrategicMovementTargetConfigCmd(unsigned int objectId, std::vector<unsigned int> targets);
    explicit StrategicMovementTargetConfigCmd(const StrategicMovementTargetConfigCmdPacket& packet);
    void Execute() override;
    std::unique_ptr<NetPacket> GetNetPacket() override;
    // A heal the server found: every machine gives it at the same point of the frame.
    bool DecidedByOneMachine() const override { return true; }
    bool IsStrike() const override { return true; }

    std::vector<unsigned int> targets;
};

}  // namespace GAME
