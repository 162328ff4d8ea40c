#pragma once
// The packet bases. A kind writes its body in PrepareOutBuffer (through a NetPacketOutBuffer on
// the packet) and reads it in CopyInbound (through a NetPacketInBuffer on the packet's header).
// Readers never read past the body: a short, long or malformed body marks the header bad, and
// the receiver then drops the packet without executing anything. Kinds list their fields once
// and have both generated from that list (NetPacketFields.h).
#include <cstdint>
#include <string>
#include <vector>

#include "Engine/net/PacketTypes.h"
#include "Engine/net/fields/NetOutBytes.h"
#include "Engine/net/fields/NetSmallList.h"

namespace GAME {

class NetPacketOutBuffer;
class NetPacketInBuffer;

// Object ids a received packet names, gathered while reading, checked before it executes.
struct NetObjectReference {
    std::uint32_t id = 0;
    bool required = false;  // must name a live object for the packet to run
};

// What travels beside the body (the type id) and what the receiver learns while reading it.
struct NetPacketHeader {
    PACKET_TYPE type = 0;
    std::uint32_t bodySize = 0;  // size handed to the last CopyInbound
    std::uint32_t consumed = 0;  // bytes the last reader took
    int sourceHost = -1;         // sending host of a received packet (-1: built locally)
    bool bad = false;            // the last CopyInbound met a short, long or malformed body
    // A command names a handful; held in place so reading one allocates nothing for them.
    NetSmallList<NetObjectReference, 8> objects;

    // Forgets everything a previous read left.
    void BeginInbound(std::uint32_t size) {
        bodySize = size;
        consumed = 0;
        bad = false;
        objects.clear();
    }
};

class NetPacket {
public:
    explicit NetPacket(PACKET_TYPE type) { mHeader.type = type; }
    virtual ~NetPacket();
    NetPacket(const NetPacket& other);
    NetPacket& operator=(const NetPacket& other);

    // Writes the body; returns its size in bytes.
    virtual unsigned int PrepareOutBuffer() = 0;
    // The bytes the last PrepareOutBuffer wrote.
    virtual const char* GetOutBuffer();
    virtual unsigned int GetOutBufferSize();
    // Reads a received body into the members.
    virtual void CopyInbound(const unsigned char* data, int size) = 0;
    virtual std::string GetPacketDescription(bool flag);
    // True when the objects the packet names are there for it to run.
    virtual bool CheckObjects(int pass);
    virtual void FinishObjectProcessing();

    PACKET_TYPE GetType() const { return mHeader.type; }
    NetPacketHeader& GetHeader() { return mHeader; }
    const NetPacketHeader& GetHeader() const { return mHeader; }
    // True when the last CopyInbound read a well-formed body exactly to its end.
    bool IsInboundValid() const { return !mHeader.bad && mHeader.consumed == mHeader.bodySize; }
    // A value of the engine's own that single kinds set in their constructor (0 by default).
    int GetPacketClass() const { return mPacketClass; }
    void SetPacketClass(int value) { mPacketClass = value; }

private:
    friend class NetPacketOutBuffer;
    NetPacketHeader mHeader;
    NetOutBytes mOutBuffer;
    int mPacketClass = 0;
};

// A packet that names objects through SmartObjectId holders; base of the command packets.
class ObjectInteractionPacket : public NetPacket {
public:
    explicit ObjectInteractionPacket(PACKET_TYPE type) : NetPacket(type) {}
    ~ObjectInteractionPacket() override;
    ObjectInteractionPacket(const ObjectInteractionPacket&) = default;
    ObjectInteractionPacket& operator=(const ObjectInteractionPacket&) = default;

    // Every required object id read into the packet names a live object of this machine.
    bool CheckObjects(int pass) override;
    void FinishObjectProcessing() override;
};

// A packet that carries objects the receiver is about to create (the spawn of a player).
class ObjectContainerPacket : public ObjectInteractionPacket {
public:
    explicit ObjectContainerPacket(PACKET_TYPE type);
    ~ObjectContainerPacket() override;
    ObjectContainerPacket(const ObjectContainerPacket&) = default;
    ObjectContainerPacket& operator=(const ObjectContainerPacket&) = default;

    // The carried objects need not exist yet.
    bool CheckObjects(int pass) override;
};

// The packet of one character action; kinds write and read their body in Serialize/Deserialize.
class CharacterActionPacket : public ObjectInteractionPacket {
public:
    explicit CharacterActionPacket(PACKET_TYPE type);
    ~CharacterActionPacket() override;
    CharacterActionPacket(const CharacterActionPacket&) = default;
    CharacterActionPacket& operator=(const CharacterActionPacket&) = default;

    unsigned int PrepareOutBuffer() override;
    void CopyInbound(const unsigned char* data, int size) override;

    virtual void Serialize(NetPacketOutBuffer& out) = 0;
    virtual void Deserialize(NetPacketInBuffer& in) = 0;
};

}  // namespace GAME
