#include "Engine/net/NetworkConnectionManager.h"

#include <algorithm>

#include "Engine/Engine.h"
#include "Engine/net/ActorConfigCommand.h"
#include "Engine/net/FrameStrikes.h"
#include "Engine/net/NetFaultLog.h"
#include "Engine/net/NetPacket.h"
#include "Engine/net/NetPacketRegistry.h"

namespace GAME {

NetworkConnectionManager::NetworkConnectionManager() = default;

NetworkConnectionManager::~NetworkConnectionManager() = default;

void NetworkConnectionManager::SetTransport(std::unique_ptr<NetTransport> transport) {
    NetFaultLog::Get().FlushAll();
    ++mConnection;
    mRates.clear();
    mFlooders.clear();
    mTransport = std::move(transport);
    gEngine->SetNetworkMode(mTransport != nullptr, mTransport && mTransport->IsServer());
}

void NetworkConnectionManager::Shutdown() {
    SetTransport(nullptr);
}

int NetworkConnectionManager::GetLocalHostId() const {
    return mTransport ? mTransport->GetLocalHostId() : kServerHostId;
}

std::vector<int> NetworkConnectionManager::GetClientHosts() const {
    if (!mTransport || !mTransport->IsServer())
        return {};
    return mTransport->GetPeers();
}

const NetPacketRegistry& NetworkConnectionManager::GetRegistry() const {
    return mRegistry ? *mRegistry : NetPacketRegistry::Global();
}

std::vector<std::uint8_t> NetworkConnectionManager::Serialize(NetPacket& packet) {
    const PACKET_TYPE type = packet.GetType();
    packet.PrepareOutBuffer();
    const char* body = packet.GetOutBuffer();
    const unsigned int size = packet.GetOutBufferSize();
    std::vector<std::uint8_t> frame;
    frame.reserve(2 + size);
    frame.push_back(static_cast<std::uint8_t>(type & 0xFF));
    frame.push_back(static_cast<std::uint8_t>(type >> 8));
    if (size)
        frame.insert(frame.end(), reinterpret_cast<const std::uint8_t*>(body),
                     reinterpret_cast<const std::uint8_t*>(body) + size);
    return frame;
}

bool NetworkConnectionManager::SendFrame(int host, const std::vector<std::uint8_t>& frame) {
    if (!mTransport->Send(host, frame)) {
        gEngine->Log(1, "Net: host %d is not connected; packet not sent", host);
        return false;
    }
    ++mPacketsSent;
    return true;
}

bool NetworkConnectionManager::SendPacket(NetPacket* packet) {
    if (!mTransport || !packet)
        return false;
    return mTransport->IsServer() ? SendToAllClients(packet) : SendToServer(packet);
}

bool NetworkConnectionManager::SendToServer(NetPacket* packet) {
    if (!mTransport || !packet || mTransport->IsServer())
        return false;
    return SendFrame(kServerHostId, Serialize(*packet));
}

bool NetworkConnectionManager::SendToAllClients(NetPacket* packet) {
    return SendToAllClientsExcept(-1, packet);
}

bool NetworkConnectionManager::SendToAllClientsExcept(int host, NetPacket* packet) {
    if (!mTransport || !packet || !mTransport->IsServer())
        return false;
    return SendFrameToClientsExcept(host, Serialize(*packet));
}

bool NetworkConnectionManager::SendFrameToClientsExcept(int host,
                                                        const std::vector<std::uint8_t>& frame) {
    if (!mTransport || !mTransport->IsServer())
        return false;
    bool all = true;
    for (int client : mTransport->GetPeers())
        if (client != host)
            all = SendFrame(client, frame) && all;
    return all;
}

bool NetworkConnectionManager::SendToHost(int host, NetPacket* packet) {
    if (!mTransport || !packet || host == mTransport->GetLocalHostId())
        return false;
    return SendFrame(host, Serialize(*packet));
}

void NetworkConnectionManager::DropHost(int host, const char* reason) {
    if (mTransport)
        mTransport->DropHost(host, reason ? reason : "");
}

int NetworkConnectionManager::ProcessIncoming(int timeoutMs) {
    if (!mTransport)
        return 0;
    std::vector<NetFrame> frames;
    mTransport->Poll(frames, timeoutMs);
    // A handler may close or replace the connection: the rest came over the old one.
    const std::uint64_t connection = mConnection;
    std::size_t handled = 0;
    while (handled < frames.size() && mConnection == connection) {
        const NetFrame& frame = frames[handled++];
        HandleFrame(frame.host, frame.bytes.data(), frame.bytes.size());
    }
    if (handled < frames.size()) {
        mPacketsDropped += frames.size() - handled;
        gEngine->Log(0, "Net: dropped %zu frames of a connection that was closed",
                     frames.size() - handled);
    }
    NetFaultLog::Get().Flush();
    return static_cast<int>(handled);
}

bool NetworkConnectionManager::WithinRate(int host) {
    if (!mTransport || !mTransport->IsServer() || host == GetLocalHostId())
        return true;
    if (mFlooders.contains(host))
        return false;
    const std::uint64_t now = gEngine->GetGameTime();
    RateWindow& window = mRates[host];
    if (now - window.start >= kRateWindowMs)
        window = RateWindow{now, 0};
    if (++window.frames <= kFramesPerWindow)
        return true;
    mFlooders.insert(host);
    mRates.erase(host);
    NetFaultLog::Get().Report(1, host, NetFault::Flood, 0,
                              "Net: dropped host %d: more than %d frames in %llu ms", host,
                              kFramesPerWindow, static_cast<unsigned long long>(kRateWindowMs));
    mTransport->DropHost(host, "flooding");
    if (mHostDropped)
        mHostDropped(host);
    return false;
}

void NetworkConnectionManager::RunClientCommand(NetPacket& packet, PACKET_TYPE type, int sourceHost,
                                                const std::uint8_t* bytes, std::size_t size) {
    const NetPacketKind* kind = GetRegistry().Find(type);
    std::unique_ptr<ActorConfigCommand> command(kind ? kind->command(packet) : nullptr);
    if (!command)
        return;
    if (mCommandGate && !mCommandGate(sourceHost, type, command->GetObjectId())) {
        ++mPacketsDropped;
        NetFaultLog::Get().Report(1, sourceHost, NetFault::Refused, type,
                                  "Net: refused %s from host %d: object %u is not its to command",
                                  kind->name.c_str(), sourceHost, command->GetObjectId());
        return;
    }
    if (!command->AcceptFromClient(sourceHost)) {
        ++mPacketsDropped;
        return;
    }
    // The received bytes travel on as they came: what this machine made of them may lack what
    // only the other machines know (a region the server has not loaded).
    // A request goes back to the asker too: it has not run it yet.
    SendFrameToClientsExcept(command->IsRequest() ? -1 : sourceHost,
                             std::vector<std::uint8_t>(bytes, bytes + size));
    if (FrameStrikes::Holds(*command))
        FrameStrikes::Get().Hold(std::move(command));
    else
        command->RunExecute();
}

void NetworkConnectionManager::HandleFrame(int sourceHost, const std::uint8_t* bytes,
                                           std::size_t size) {
    ++mPacketsReceived;
    if (!WithinRate(sourceHost)) {
        ++mPacketsDropped;
        return;
    }
    if (!bytes || size < 2) {
        ++mPacketsDropped;
        NetFaultLog::Get().Report(1, sourceHost, NetFault::NoTypeId, 0,
                                  "Net: dropped a frame of %zu bytes from host %d: no type id",
                                  size, sourceHost);
        return;
    }
    const PACKET_TYPE type = static_cast<PACKET_TYPE>(bytes[0] | (bytes[1] << 8));
    if (mGameKindsClosed) {
        if (const char* name = GetGamePacketKindName(type)) {
            ++mPacketsDropped;
            NetFaultLog::Get().Report(1, sourceHost, NetFault::NoHandler, type,
                                      "Net: dropped %s from host %d: the game is shut down", name,
                                      sourceHost);
            return;
        }
    }
    const NetPacketRegistry& registry = GetRegistry();
    const NetPacketKind* kind = registry.Find(type);

    // A copy: the handler may remove or replace itself while it runs.
    auto it = mHandlers.find(type);
    NetPacketHandler handler = it == mHandlers.end() ? NetPacketHandler() : it->second;
    // A server runs a client's command only when the gate allows it, and then passes it on to
    // the other clients so that every machine runs it.
    if (!handler && kind && kind->command && mTransport && mTransport->IsServer() &&
        sourceHost != GetLocalHostId())
        handler = [this, type, sourceHost, bytes, size](NetPacket& packet) {
            RunClientCommand(packet, type, sourceHost, bytes, size);
        };
    const NetReceiveResult result =
        registry.Receive(type, bytes + 2, size - 2, sourceHost, handler ? &handler : nullptr, {});
    if (result != NetReceiveResult::Executed)
        ++mPacketsDropped;
}

void NetworkConnectionManager::SetPacketHandler(PACKET_TYPE type,
                                                std::function<void(NetPacket&)> handler) {
    if (handler)
        mHandlers[type] = std::move(handler);
    else
        mHandlers.erase(type);
}

std::function<void(NetPacket&)> NetworkConnectionManager::GetPacketHandler(PACKET_TYPE type) const {
    const auto it = mHandlers.find(type);
    return it == mHandlers.end() ? std::function<void(NetPacket&)>() : it->second;
}

}  // namespace GAME
