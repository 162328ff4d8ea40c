#include "Host/net/FrameMarks.h"

#include "Engine/Engine.h"
#include "Engine/net/NetFaultLog.h"
#include "Engine/net/NetworkConnectionManager.h"
#include "Engine/object/ObjectManager.h"
#include "Game/characters/Player.h"
#include "Game/core/players/PlayerReport.h"

namespace GAME {

namespace {

WorldVec3 PositionOf(std::uint32_t player) {
    const Player* p = Singleton<ObjectManager>::Get().GetObject<Player>(player);
    return p ? p->GetPosition() : WorldVec3();
}

}  // namespace

FrameMarks::~FrameMarks() {
    Uninstall();
}

void FrameMarks::Install() {
    NetworkConnectionManager* net = gEngine->GetNetworkConnectionManager();
    mServer = gEngine->IsServer();
    mInstalled = true;
    if (mServer)
        net->SetPacketHandler(PacketType::FrustumUpdatePacket,
                              [this](NetPacket& packet) { OnClientMark(packet); });
    else
        net->SetPacketHandler(PacketType::PlayerPositionUpdatePacket,
                              [this](NetPacket& packet) { OnServerMark(packet); });
    net->SetPacketHandler(PacketType::UpdatePositionPacket,
                          [this](NetPacket& packet) { OnPositionReport(packet); });
}

void FrameMarks::Uninstall() {
    if (!mInstalled)
        return;
    mInstalled = false;
    NetworkConnectionManager* net = gEngine->GetNetworkConnectionManager();
    net->SetPacketHandler(
        mServer ? PacketType::FrustumUpdatePacket : PacketType::PlayerPositionUpdatePacket,
        nullptr);
    net->SetPacketHandler(PacketType::UpdatePositionPacket, nullptr);
}

void FrameMarks::AddClient(int host) {
    mMarks.emplace(host, 0);
}

int FrameMarks::GetMarks(int host) const {
    const auto it = mMarks.find(host);
    return it == mMarks.end() ? 0 : it->second;
}

bool FrameMarks::IsHonestClientMark(const FrustumUpdatePacket& mark, int sender) {
    const WorldVec3& at = mark.originatorPosition;
    return mark.originatorHostId == sender && IsFinite(at);
}

void FrameMarks::OnClientMark(NetPacket& packet) {
    auto& mark = static_cast<FrustumUpdatePacket&>(packet);
    const int sender = packet.GetHeader().sourceHost;
    const auto it = mMarks.find(sender);
    if (it == mMarks.end() || !IsHonestClientMark(mark, sender)) {
        ++mRefused;
        NetFaultLog::Get().Report(
            1, sender, NetFault::Refused, PacketType::FrustumUpdatePacket,
            "Host: host %d sent a frame mark naming host %d at %s; "
            "ignored.",
            sender, mark.originatorHostId,
            IsFinite(mark.originatorPosition) ? "a finite point" : "a point that is not finite");
        return;
    }
    ++it->second;
}

void FrameMarks::OnServerMark(NetPacket& packet) {
    if (packet.GetHeader().sourceHost != kServerHostId) {
        ++mRefused;
        return;
    }
    const auto& ids = static_cast<PlayerPositionUpdatePacket&>(packet).playerIds;
    mStrikeRoundAsked = !ids.empty() && ids.back() == 0;
    ++mMarks[kServerHostId];
}

void FrameMarks::OnPositionReport(NetPacket& packet) {
    const auto& report = static_cast<UpdatePositionPacket&>(packet);
    const int sender = packet.GetHeader().sourceHost;
    if (report.originatorId != sender) {
        ++mRefused;
        NetFaultLog::Get().Report(1, sender, NetFault::Refused, PacketType::UpdatePositionPacket,
                                  "Host: host %d sent a position report naming host %d; ignored.",
                                  sender, report.originatorId);
        return;
    }
    ++mPositionReports;
}

void FrameMarks::SendServerMark(const std::vector<std::uint32_t>& players, int host,
                                bool strikeRound) {
    mServerMark.playerIds.assign(players.begin(), players.end());
    mServerMark.playerPositions.clear();
    for (std::uint32_t player : players)
        mServerMark.playerPositions.push_back(PositionOf(player));
    if (strikeRound) {
        mServerMark.playerIds.push_back(0);
        mServerMark.playerPositions.push_back(WorldVec3());
    }
    NetworkConnectionManager* net = gEngine->GetNetworkConnectionManager();
    if (host < 0)
        net->SendToAllClients(&mServerMark);
    else
        net->SendToHost(host, &mServerMark);
}

void FrameMarks::SendClientMark(std::uint32_t player) {
    mClientMark.originatorHostId = gEngine->GetNetworkConnectionManager()->GetLocalHostId();
    mClientMark.originatorPosition = PositionOf(player);
    gEngine->GetNetworkConnectionManager()->SendToServer(&mClientMark);
}

}  // namespace GAME
