#include "Game/core/net/packets/WorldPackets.h"

#include "Engine/Engine.h"
#include "Engine/net/NetPacketRegistry.h"
#include "Engine/net/fields/NetPacketFields.h"

namespace GAME {

GAME_PACKET_KIND_DEFINITIONS(WorldInitPacket, NetPacket)
GAME_PACKET_KIND_DEFINITIONS(ServerSpawnCompletePacket, NetPacket)
GAME_PACKET_KIND_DEFINITIONS(WarpEntityPacket, NetPacket)
GAME_PACKET_KIND_DEFINITIONS(FrustumUpdatePacket, NetPacket)
GAME_PACKET_KIND_DEFINITIONS(UpdatePositionPacket, NetPacket)
GAME_PACKET_KIND_DEFINITIONS(PlayerPositionUpdatePacket, NetPacket)
GAME_PACKET_KIND_DEFINITIONS(StartTeleportPacket, NetPacket)
GAME_PACKET_KIND_DEFINITIONS(NRLoaderStatePacket, NetPacket)
GAME_PACKET_KIND_DEFINITIONS(StartServerRespawnPacket, NetPacket)
GAME_PACKET_KIND_DEFINITIONS(PartyRequestResponsePacket, NetPacket)
GAME_PACKET_KIND_DEFINITIONS(RemoteMessagePacket, NetPacket)
GAME_PACKET_KIND_DEFINITIONS(RemoteWMessagePacket, NetPacket)
GAME_PACKET_KIND_DEFINITIONS(QuestMessagePacket, NetPacket)

// The spawn packet also asks for its player to be replicated along with it.
SpawnPlayerPacket::SpawnPlayerPacket() : ObjectContainerPacket(PacketType::SpawnPlayerPacket) {
    SetPacketClass(2);
}
SpawnPlayerPacket::~SpawnPlayerPacket() = default;
unsigned int SpawnPlayerPacket::PrepareOutBuffer() {
    gEngine->Log(0, "Replicating entity %d (0x%x) in SpawnPlayerPacket",
                 static_cast<int>(player.GetId()), player.GetId());
    player.MarkForReplication(true);
    NetPacketOutBuffer out(this);
    WriteFields(*this, out);
    if (!record.empty()) {
        out.AddFileName(record);
        std::vector<std::uint32_t> words;
        words.reserve(foundStones.size() * 4);
        for (const UniqueId& stone : foundStones)
            for (int word = 0; word < 4; ++word)
                words.push_back(stone.GetWord(word));
        out.AddIdList(words);
        out.Write32(attributePoints);
        out.WriteBytes(replication.data(), replication.size());
    }
    return out.Done();
}
void SpawnPlayerPacket::CopyInbound(const unsigned char* data, int size) {
    record.clear();
    foundStones.clear();
    attributePoints = 0;
    replication.clear();
    NetPacketInBuffer in(GetHeader(), data, size);
    ReadFields(*this, in);
    if (in.Failed() || in.Remaining() == 0)
        return;
    if (!in.Remove(&record) || record.empty()) {
        in.Fail("record");
        record.clear();
        return;
    }
    std::vector<std::uint32_t> words;
    if (!in.RemoveIdList(&words) || words.size() % 4 != 0) {
        in.Fail("found stones");
        record.clear();
        return;
    }
    for (std::size_t i = 0; i < words.size(); i += 4)
        foundStones.emplace_back(words[i], words[i + 1], words[i + 2], words[i + 3]);
    if (!in.Read32(attributePoints)) {
        in.Fail("attribute points");
        record.clear();
        return;
    }
    replication.resize(in.Remaining());
    in.ReadBytes(replication.data(), replication.size());
}
std::string SpawnPlayerPacket::GetPacketDescription(bool flag) {
    return DescribePacketFields(*this, flag);
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
