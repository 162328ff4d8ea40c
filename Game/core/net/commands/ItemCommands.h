#pragma once
// The configuration commands that change a character's items: drop, use, attach, detach, remove
// and pick up an item, use a relic, release a pet. Each runs on the character its object id
// names, on every machine.
#include <cstdint>

#include "Engine/net/ActorConfigCommand.h"
#include "Game/core/net/packets/CharacterCommandPackets.h"

namespace GAME {

// Sent by the machine that controls the character, also from inside a pick-up every machine
// runs (a full bag drops what it cannot take).
class DropItemConfigCmd : public ActorConfigCommand {
public:
    DropItemConfigCmd(unsigned int objectId, std::uint32_t itemId, float x, float z);
    explicit DropItemConfigCmd(const DropItemConfigCmdPacket& packet);
    void Execute() override;
    std::unique_ptr<NetPacket> GetNetPacket() override;
    bool AcceptFromClient(int sourceHost) const override;
    bool DecidedByOneMachine() const override { return true; }

    std::uint32_t itemId;
    float x;
    float z;
};

class DropItemFromEquipLocationConfigCmd : public ActorConfigCommand {
public:
    DropItemFromEquipLocationConfigCmd(unsigned int objectId, std::uint32_t itemId,
                                       std::uint32_t location, bool toss);
    explicit DropItemFromEquipLocationConfigCmd(const DropItemFromEquipLocConfigCmdPacket& packet);
    void Execute() override;
    std::unique_ptr<NetPacket> GetNetPacket() override;
    bool AcceptFromClient(int sourceHost) const override;

    std::uint32_t itemId;
    std::uint32_t location;
    bool toss;
};

// Sent by the machine that controls the character, also from inside a pick-up every machine
// runs (a pile of gold is used up as its taker takes it, on the taker's machine alone).
class UseItemConfigCmd : public ActorConfigCommand {
public:
    UseItemConfigCmd(unsigned int objectId, std::uint32_t itemId, bool destroy);
    explicit UseItemConfigCmd(const UseItemConfigCmdPacket& packet);
    void Execute() override;
    std::unique_ptr<NetPacket> GetNetPacket() override;
    bool AcceptFromClient(int sourceHost) const override;
    bool DecidedByOneMachine() const override { return true; }

    std::uint32_t itemId;
    bool destroy;
};

class UseRelicConfigCmd : public ActorConfigCommand {
public:
    UseRelicConfigCmd(unsigned int objectId, std::uint32_t relicId, std::uint32_t itemId);
    explicit UseRelicConfigCmd(const UseRelicConfigCmdPacket& packet);
    void Execute() override;
    std::unique_ptr<NetPacket> GetNetPacket() override;
    bool AcceptFromClient(int sourceHost) const override;

    std::uint32_t relicId;
    std::uint32_t itemId;
};

// The machine that controls the character decides what it wears (also while it runs a pick-up
// that every machine runs); a client attaches only an item its character carries, at a location
// not already taken.
class AttachItemConfigCmd : public ActorConfigCommand {
public:
    AttachItemConfigCmd(unsigned int objectId, std::uint32_t itemId, std::uint32_t location);
    explicit AttachItemConfigCmd(const AttachItemConfigCmdPacket& packet);
    void Execute() override;
    std::unique_ptr<NetPacket> GetNetPacket() override;
    bool AcceptFromClient(int sourceHost) const override;
    bool DecidedByOneMachine() const override { return true; }

    std::uint32_t itemId;
    std::uint32_t location;
};

// One item id: detach, remove from the inventory (and destroy).
template <class Packet>
class ItemIdConfigCmd : public ActorConfigCommand {
public:
    ItemIdConfigCmd(unsigned int objectId, std::uint32_t itemId_)
        : ActorConfigCommand(objectId), itemId(itemId_) {
        SetFlag(1);
    }
    explicit ItemIdConfigCmd(const Packet& packet)
        : ItemIdConfigCmd(packet.parent.GetId(), packet.number) {}
    std::unique_ptr<NetPacket> GetNetPacket() override {
        auto packet = std::make_unique<Packet>();
        packet->parent = GetObjectId();
        packet->number = itemId;
        return packet;
    }

    std::uint32_t itemId;
};

// Decided as attaching is; a client detaches only what its character wears.
class DetachItemConfigCmd : public ItemIdConfigCmd<DetachItemConfigCmdPacket> {
public:
    using ItemIdConfigCmd::ItemIdConfigCmd;
    void Execute() override;
    bool AcceptFromClient(int sourceHost) const override;
    bool DecidedByOneMachine() const override { return true; }
};

// Takes the item from the character and destroys it; an item the character does not hold is
// left alone, whatever object the id names.
class RemoveInventoryItemConfigCmd : public ItemIdConfigCmd<RemoveInventoryItemConfigCmdPacket> {
public:
    using ItemIdConfigCmd::ItemIdConfigCmd;
    void Execute() override;
};

// Releases a pet of the character (its master); a pet of anyone else stays.
class ReleasePetConfigCmd : public ActorConfigCommand {
public:
    ReleasePetConfigCmd(unsigned int objectId, std::uint32_t petId);
    explicit ReleasePetConfigCmd(const ReleasePetConfigCmdPacket& packet);
    void Execute() override;
    std::unique_ptr<NetPacket> GetNetPacket() override;

    std::uint32_t petId;
};

// A player picks an item up from the world, unless it holds one of that name already and the
// item may be held only once; either way the item may be offered again afterwards. An item no
// longer lying in the world stays where it is. Two players may reach for one item at once: the
// server decides who takes it (a request), the other's machine never takes it.
class CharPickUpConfigCmd : public ActorConfigCommand {
public:
    CharPickUpConfigCmd(unsigned int objectId, std::uint32_t itemId);
    explicit CharPickUpConfigCmd(const PickupItemConfigCmdPacket& packet);
    void Execute() override;
    std::unique_ptr<NetPacket> GetNetPacket() override;
    // From a client: only an item lying in the world within reach of its player.
    bool AcceptFromClient(int sourceHost) const override;
    bool IsRequest() const override { return true; }

    // Generous beside the player's own reach (radius, item extents and a metre): the server
    // sees a client's player a step late.
    static constexpr float kPickupReach = 10.0f;
    std::uint32_t itemId;
};

}  // namespace GAME
