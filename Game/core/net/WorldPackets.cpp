#include "Game/core/net/WorldPackets.h"

#include "Engine/Engine.h"
#include "Engine/net/NetPacketBuffer.h"
#include "Engine/net/NetPacketDescriber.h"
#include "Engine/net/NetPacketRegistry.h"

namespace GAME {

// WorldInitPacket
WorldInitPacket::WorldInitPacket() : NetPacket(PacketType::WorldInitPacket) {}
WorldInitPacket::~WorldInitPacket() = default;
unsigned int WorldInitPacket::PrepareOutBuffer() {
    NetPacketOutBuffer out(this);
    out.Write32(timeOfDay);
    return out.Done();
}
void WorldInitPacket::CopyInbound(const unsigned char* data, int size) {
    NetPacketInBuffer in(GetHeader(), data, size);
    in.Read32(timeOfDay);
}
std::string WorldInitPacket::GetPacketDescription(bool flag) {
    NetPacketDescriber d(this, flag);
    d.Describe("Time (24hr): ", timeOfDay, 0);
    return d.GetDescription();
}

// SpawnPlayerPacket
SpawnPlayerPacket::SpawnPlayerPacket() : ObjectContainerPacket(PacketType::SpawnPlayerPacket) {
    SetPacketClass(2);
}
SpawnPlayerPacket::~SpawnPlayerPacket() = default;
unsigned int SpawnPlayerPacket::PrepareOutBuffer() {
    gEngine->Log(0, "Replicating entity %d (0x%x) in SpawnPlayerPacket",
                 static_cast<int>(player.GetId()), player.GetId());
    player.MarkForReplication(true);
    NetPacketOutBuffer out(this);
    out.Add(&player);
    return out.Done();
}
void SpawnPlayerPacket::CopyInbound(const unsigned char* data, int size) {
    NetPacketInBuffer in(GetHeader(), data, size);
    in.Remove(&player);
}
std::string SpawnPlayerPacket::GetPacketDescription(bool flag) {
    NetPacketDescriber d(this, flag);
    d.Describe("Player Object Id: ", player.GetId(), 0);
    return d.GetDescription();
}

// ServerSpawnCompletePacket
ServerSpawnCompletePacket::ServerSpawnCompletePacket()
    : NetPacket(PacketType::ServerSpawnCompletePacket) {}
ServerSpawnCompletePacket::~ServerSpawnCompletePacket() = default;
unsigned int ServerSpawnCompletePacket::PrepareOutBuffer() {
    NetPacketOutBuffer out(this);
    return out.Done();
}
void ServerSpawnCompletePacket::CopyInbound(const unsigned char* data, int size) {
    NetPacketInBuffer in(GetHeader(), data, size);
}
std::string ServerSpawnCompletePacket::GetPacketDescription(bool flag) {
    NetPacketDescriber d(this, flag);
    return d.GetDescription();
}

// WarpEntityPacket
WarpEntityPacket::WarpEntityPacket() : NetPacket(PacketType::WarpEntityPacket) {}
WarpEntityPacket::~WarpEntityPacket() = default;
unsigned int WarpEntityPacket::PrepareOutBuffer() {
    NetPacketOutBuffer out(this);
    out.Add(&warpPoint);
    return out.Done();
}
void WarpEntityPacket::CopyInbound(const unsigned char* data, int size) {
    NetPacketInBuffer in(GetHeader(), data, size);
    in.Remove(&warpPoint);
}
std::string WarpEntityPacket::GetPacketDescription(bool flag) {
    NetPacketDescriber d(this, flag);
    d.Describe("Warp Point: ", warpPoint, 0);
    return d.GetDescription();
}

// FrustumUpdatePacket
FrustumUpdatePacket::FrustumUpdatePacket() : NetPacket(PacketType::FrustumUpdatePacket) {}
FrustumUpdatePacket::~FrustumUpdatePacket() = default;
unsigned int FrustumUpdatePacket::PrepareOutBuffer() {
    NetPacketOutBuffer out(this);
    out.Write32(static_cast<std::int32_t>(originatorHostId));
    out.Add(&originatorPosition);
    return out.Done();
}
void FrustumUpdatePacket::CopyInbound(const unsigned char* data, int size) {
    NetPacketInBuffer in(GetHeader(), data, size);
    std::int32_t host = originatorHostId;
    if (in.Read32(host))
        originatorHostId = host;
    in.Remove(&originatorPosition);
}
std::string FrustumUpdatePacket::GetPacketDescription(bool flag) {
    NetPacketDescriber d(this, flag);
    d.Describe("Originator Host ID: ", originatorHostId, 0);
    d.Describe("Originator position: ", originatorPosition, 0);
    return d.GetDescription();
}

// UpdatePositionPacket
UpdatePositionPacket::UpdatePositionPacket() : NetPacket(PacketType::UpdatePositionPacket) {}
UpdatePositionPacket::~UpdatePositionPacket() = default;
unsigned int UpdatePositionPacket::PrepareOutBuffer() {
    NetPacketOutBuffer out(this);
    out.Write32(static_cast<std::int32_t>(originatorId));
    out.Write32(static_cast<std::uint32_t>(entityId));
    out.Add(&placement);
    return out.Done();
}
void UpdatePositionPacket::CopyInbound(const unsigned char* data, int size) {
    NetPacketInBuffer in(GetHeader(), data, size);
    std::int32_t originator = originatorId;
    std::uint32_t entity = entityId;
    if (in.Read32(originator))
        originatorId = originator;
    if (in.Read32(entity))
        entityId = entity;
    in.Remove(&placement);
}
std::string UpdatePositionPacket::GetPacketDescription(bool flag) {
    NetPacketDescriber d(this, flag);
    d.Describe("Originator ID: ", originatorId, 0);
    d.Describe("Entity ID: ", entityId, 0);
    return d.GetDescription();
}

// PlayerPositionUpdatePacket
PlayerPositionUpdatePacket::PlayerPositionUpdatePacket()
    : NetPacket(PacketType::PlayerPositionUpdatePacket) {}
PlayerPositionUpdatePacket::~PlayerPositionUpdatePacket() = default;
unsigned int PlayerPositionUpdatePacket::PrepareOutBuffer() {
    NetPacketOutBuffer out(this);
    out.AddIdList(playerIds);
    out.AddWorldVec3List(playerPositions);
    return out.Done();
}
void PlayerPositionUpdatePacket::CopyInbound(const unsigned char* data, int size) {
    NetPacketInBuffer in(GetHeader(), data, size);
    in.RemoveIdList(&playerIds);
    in.RemoveWorldVec3List(&playerPositions);
}
std::string PlayerPositionUpdatePacket::GetPacketDescription(bool flag) {
    NetPacketDescriber d(this, flag);
    d.Heading("Player Positions: ", 0);
    for (std::size_t i = 0; i < playerIds.size() && i < playerPositions.size(); ++i) {
        d.Describe("Player ID: ", playerIds[i], 0);
        d.Describe("Player Position: ", playerPositions[i], 0);
    }
    return d.GetDescription();
}

// AckEntityPacket, NackEntityPacket
AckEntityPacket::AckEntityPacket() : NetPacket(PacketType::AckEntityPacket) {}
AckEntityPacket::~AckEntityPacket() = default;
unsigned int AckEntityPacket::PrepareOutBuffer() {
    NetPacketOutBuffer out(this);
    out.AddIdList(entityIds);
    return out.Done();
}
void AckEntityPacket::CopyInbound(const unsigned char* data, int size) {
    NetPacketInBuffer in(GetHeader(), data, size);
    in.RemoveIdList(&entityIds);
}
std::string AckEntityPacket::GetPacketDescription(bool flag) {
    NetPacketDescriber d(this, flag);
    d.Heading("Acked Entities: ", 0);
    for (unsigned int id : entityIds)
        d.Describe("Entity IDs: ", id, 0);
    return d.GetDescription();
}

NackEntityPacket::NackEntityPacket() : NetPacket(PacketType::NackEntityPacket) {}
NackEntityPacket::~NackEntityPacket() = default;
unsigned int NackEntityPacket::PrepareOutBuffer() {
    NetPacketOutBuffer out(this);
    out.AddIdList(entityIds);
    return out.Done();
}
void NackEntityPacket::CopyInbound(const unsigned char* data, int size) {
    NetPacketInBuffer in(GetHeader(), data, size);
    in.RemoveIdList(&entityIds);
}
std::string NackEntityPacket::GetPacketDescription(bool flag) {
    NetPacketDescriber d(this, flag);
    d.Heading("Nacked Entities: ", 0);
    for (unsigned int id : entityIds)
        d.Describe("Entity IDs: ", id, 0);
    return d.GetDescription();
}

// StartTeleportPacket
StartTeleportPacket::StartTeleportPacket() : NetPacket(PacketType::StartTeleportPacket) {}
StartTeleportPacket::~StartTeleportPacket() = default;
unsigned int StartTeleportPacket::PrepareOutBuffer() {
    NetPacketOutBuffer out(this);
    out.Write32(static_cast<std::uint32_t>(playerId));
    out.Write32(x);
    out.Write32(y);
    out.Write32(z);
    return out.Done();
}
void StartTeleportPacket::CopyInbound(const unsigned char* data, int size) {
    NetPacketInBuffer in(GetHeader(), data, size);
    std::uint32_t id = playerId;
    if (in.Read32(id))
        playerId = id;
    in.Read32(x);
    in.Read32(y);
    in.Read32(z);
}
std::string StartTeleportPacket::GetPacketDescription(bool flag) {
    NetPacketDescriber d(this, flag);
    d.Describe("Player Id: ", playerId, 0);
    d.Describe("x: ", x, 0);
    d.Describe("y: ", y, 0);
    d.Describe("z: ", z, 0);
    return d.GetDescription();
}

// NRLoaderStatePacket
NRLoaderStatePacket::NRLoaderStatePacket() : NetPacket(PacketType::NRLoaderStatePacket) {}
NRLoaderStatePacket::~NRLoaderStatePacket() = default;
unsigned int NRLoaderStatePacket::PrepareOutBuffer() {
    NetPacketOutBuffer out(this);
    out.Write32(static_cast<std::uint32_t>(playerId));
    out.Write32(static_cast<std::int32_t>(state));
    return out.Done();
}
void NRLoaderStatePacket::CopyInbound(const unsigned char* data, int size) {
    NetPacketInBuffer in(GetHeader(), data, size);
    std::uint32_t id = playerId;
    std::int32_t value = state;
    if (in.Read32(id))
        playerId = id;
    if (in.Read32(value))
        state = value;
}
std::string NRLoaderStatePacket::GetPacketDescription(bool flag) {
    NetPacketDescriber d(this, flag);
    d.Describe("Player Id: ", playerId, 0);
    d.Describe("State: ", state, 0);
    return d.GetDescription();
}

// StartServerRespawnPacket
StartServerRespawnPacket::StartServerRespawnPacket()
    : NetPacket(PacketType::StartServerRespawnPacket) {}
StartServerRespawnPacket::~StartServerRespawnPacket() = default;
unsigned int StartServerRespawnPacket::PrepareOutBuffer() {
    NetPacketOutBuffer out(this);
    out.Write32(static_cast<std::uint32_t>(playerId));
    out.Add(&location);
    return out.Done();
}
void StartServerRespawnPacket::CopyInbound(const unsigned char* data, int size) {
    NetPacketInBuffer in(GetHeader(), data, size);
    std::uint32_t id = playerId;
    if (in.Read32(id))
        playerId = id;
    in.Remove(&location);
}
std::string StartServerRespawnPacket::GetPacketDescription(bool flag) {
    NetPacketDescriber d(this, flag);
    d.Describe("Player Id: ", playerId, 0);
    d.Describe("Location: ", location, 0);
    return d.GetDescription();
}

// PartyRequestResponsePacket: the flag travels between the two ids.
PartyRequestResponsePacket::PartyRequestResponsePacket()
    : NetPacket(PacketType::PartyRequestResponsePacket) {}
PartyRequestResponsePacket::~PartyRequestResponsePacket() = default;
unsigned int PartyRequestResponsePacket::PrepareOutBuffer() {
    NetPacketOutBuffer out(this);
    out.Write32(static_cast<std::uint32_t>(recipient));
    out.Add(&accepted);
    out.Write32(static_cast<std::uint32_t>(sender));
    return out.Done();
}
void PartyRequestResponsePacket::CopyInbound(const unsigned char* data, int size) {
    NetPacketInBuffer in(GetHeader(), data, size);
    std::uint32_t to = recipient;
    std::uint32_t from = sender;
    if (in.Read32(to))
        recipient = to;
    in.Remove(&accepted);
    if (in.Read32(from))
        sender = from;
}
std::string PartyRequestResponsePacket::GetPacketDescription(bool flag) {
    NetPacketDescriber d(this, flag);
    d.Describe("Recipient: ", recipient, 0);
    d.Describe("Accepted:  ", accepted, 0);
    d.Describe("Sender:    ", sender, 0);
    return d.GetDescription();
}

// RemoteMessagePacket
RemoteMessagePacket::RemoteMessagePacket() : NetPacket(PacketType::RemoteMessagePacket) {}
RemoteMessagePacket::~RemoteMessagePacket() = default;
unsigned int RemoteMessagePacket::PrepareOutBuffer() {
    NetPacketOutBuffer out(this);
    out.Write32(static_cast<std::uint32_t>(receiver));
    out.Write32(static_cast<std::uint32_t>(optionalInsert));
    out.Add(&asBubble);
    out.AddRaw(textTag);
    return out.Done();
}
void RemoteMessagePacket::CopyInbound(const unsigned char* data, int size) {
    NetPacketInBuffer in(GetHeader(), data, size);
    std::uint32_t to = receiver;
    std::uint32_t insert = optionalInsert;
    if (in.Read32(to))
        receiver = to;
    if (in.Read32(insert))
        optionalInsert = insert;
    in.Remove(&asBubble);
    in.RemoveRaw(&textTag);
}
std::string RemoteMessagePacket::GetPacketDescription(bool flag) {
    NetPacketDescriber d(this, flag);
    d.Describe("Receiver: ", receiver, 0);
    d.Describe("optionalInsert: ", optionalInsert, 0);
    d.Describe("AsBubble: ", asBubble, 0);
    d.Describe("TextTag: ", textTag, 0);
    return d.GetDescription();
}

// RemoteWMessagePacket
RemoteWMessagePacket::RemoteWMessagePacket() : NetPacket(PacketType::RemoteWMessagePacket) {}
RemoteWMessagePacket::~RemoteWMessagePacket() = default;
unsigned int RemoteWMessagePacket::PrepareOutBuffer() {
    NetPacketOutBuffer out(this);
    out.Write32(static_cast<std::uint32_t>(receiver));
    out.Add(&asBubble);
    out.Add(text);
    return out.Done();
}
void RemoteWMessagePacket::CopyInbound(const unsigned char* data, int size) {
    NetPacketInBuffer in(GetHeader(), data, size);
    std::uint32_t to = receiver;
    if (in.Read32(to))
        receiver = to;
    in.Remove(&asBubble);
    in.Remove(&text);
}
std::string RemoteWMessagePacket::GetPacketDescription(bool flag) {
    NetPacketDescriber d(this, flag);
    d.Describe("Receiver: ", receiver, 0);
    d.Describe("AsBubble: ", asBubble, 0);
    d.Describe("text: ", text, 0);
    return d.GetDescription();
}

// QuestMessagePacket: the words are replaced, not appended.
QuestMessagePacket::QuestMessagePacket() : NetPacket(PacketType::QuestMessagePacket) {}
QuestMessagePacket::~QuestMessagePacket() = default;
unsigned int QuestMessagePacket::PrepareOutBuffer() {
    NetPacketOutBuffer out(this);
    out.Write32(static_cast<std::uint32_t>(sender));
    out.Write32(static_cast<std::uint32_t>(receiver));
    out.Write32(static_cast<std::uint32_t>(words.size()));
    for (unsigned int word : words)
        out.Write32(static_cast<std::uint32_t>(word));
    out.Add(&conditionSet);
    return out.Done();
}
void QuestMessagePacket::CopyInbound(const unsigned char* data, int size) {
    NetPacketInBuffer in(GetHeader(), data, size);
    std::uint32_t from = sender;
    std::uint32_t to = receiver;
    if (in.Read32(from))
        sender = from;
    if (in.Read32(to))
        receiver = to;
    std::uint32_t count = 0;
    if (!in.RemoveCount(count, 4))
        return;
    words.assign(count, 0u);
    for (auto& word : words) {
        std::uint32_t value = 0;
        if (!in.Read32(value))
            return;
        word = value;
    }
    in.Remove(&conditionSet);
}
std::string QuestMessagePacket::GetPacketDescription(bool flag) {
    NetPacketDescriber d(this, flag);
    d.Heading("QuestMessage Data", 1);
    d.Describe("Sender:   ", sender, 2);
    d.Describe("Receiver: ", receiver, 2);
    for (unsigned int word : words)
        d.Describe("Data: ", word, 2);
    d.Describe("Is Condition Set:", conditionSet, 2);
    return d.GetDescription();
}

REGISTER_NET_PACKET(WorldInitPacket);
REGISTER_NET_PACKET(SpawnPlayerPacket);
REGISTER_NET_PACKET(ServerSpawnCompletePacket);
REGISTER_NET_PACKET(WarpEntityPacket);
REGISTER_NET_PACKET(FrustumUpdatePacket);
REGISTER_NET_PACKET(UpdatePositionPacket);
REGISTER_NET_PACKET(PlayerPositionUpdatePacket);
REGISTER_NET_PACKET(AckEntityPacket);
REGISTER_NET_PACKET(NackEntityPacket);
REGISTER_NET_PACKET(StartTeleportPacket);
REGISTER_NET_PACKET(NRLoaderStatePacket);
REGISTER_NET_PACKET(StartServerRespawnPacket);
REGISTER_NET_PACKET(PartyRequestResponsePacket);
REGISTER_NET_PACKET(RemoteMessagePacket);
REGISTER_NET_PACKET(RemoteWMessagePacket);
REGISTER_NET_PACKET(QuestMessagePacket);

}  // namespace GAME
