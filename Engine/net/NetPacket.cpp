#include "Engine/net/NetPacket.h"

#include "Engine/net/fields/NetPacketBuffer.h"
#include "Engine/net/fields/NetPacketDescriber.h"
#include "Engine/object/ObjectManager.h"

namespace GAME {

NetPacket::~NetPacket() = default;

// A copy is a packet of its own: it keeps its kind but none of the other's transfer state.
NetPacket::NetPacket(const NetPacket& other) : mPacketClass(other.mPacketClass) {
    mHeader.type = other.mHeader.type;
}

NetPacket& NetPacket::operator=(const NetPacket& other) {
    if (this != &other) {
        mHeader.type = other.mHeader.type;
        mPacketClass = other.mPacketClass;
    }
    return *this;
}

const char* NetPacket::GetOutBuffer() {
    return mOutBuffer.data();
}

unsigned int NetPacket::GetOutBufferSize() {
    return static_cast<unsigned int>(mOutBuffer.size());
}

std::string NetPacket::GetPacketDescription(bool flag) {
    NetPacketDescriber describer(this, flag);
    return describer.GetDescription();
}

bool NetPacket::CheckObjects(int) {
    return true;
}

void NetPacket::FinishObjectProcessing() {
    mHeader.objects.clear();
}

ObjectInteractionPacket::~ObjectInteractionPacket() = default;

bool ObjectInteractionPacket::CheckObjects(int) {
    ObjectManager& manager = Singleton<ObjectManager>::Get();
    for (const NetObjectReference& ref : GetHeader().objects)
        if (ref.required && (ref.id == 0 || !manager.GetObject(ref.id)))
            return false;
    return true;
}

void ObjectInteractionPacket::FinishObjectProcessing() {
    NetPacket::FinishObjectProcessing();
}

ObjectContainerPacket::ObjectContainerPacket(PACKET_TYPE type) : ObjectInteractionPacket(type) {}
ObjectContainerPacket::~ObjectContainerPacket() = default;

bool ObjectContainerPacket::CheckObjects(int) {
    return true;
}

CharacterActionPacket::CharacterActionPacket(PACKET_TYPE type) : ObjectInteractionPacket(type) {}
CharacterActionPacket::~CharacterActionPacket() = default;

unsigned int CharacterActionPacket::PrepareOutBuffer() {
    NetPacketOutBuffer out(this);
    Serialize(out);
    return out.Done();
}

void CharacterActionPacket::CopyInbound(const unsigned char* data, int size) {
    NetPacketInBuffer in(GetHeader(), data, size);
    Deserialize(in);
}

}  // namespace GAME
