#pragma once
// The connection manager of one machine: sends packets to the server, to every client or to one
// host, and runs the packets it receives. A packet is written out (PrepareOutBuffer) before a
// send returns, so the caller may reuse or destroy it at once.
//
// Received configuration-command packets are rebuilt into their command and executed; a server
// also passes a command it received from one client on to every other client, so that every
// machine runs it once, but only those the game's command gate lets through.
//
// A server bounds what each client may send: past kFramesPerWindow frames within kRateWindowMs
// of game time the host is dropped (one log line), and nothing more of it is run.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <vector>

#include "Engine/net/PacketTypes.h"
#include "Engine/net/transport/NetTransport.h"

namespace GAME {

class NetPacket;
class NetPacketRegistry;

class NetworkConnectionManager {
public:
    static constexpr std::uint64_t kRateWindowMs = 1000;
    static constexpr int kFramesPerWindow = 25000;

    // Whether a client's command about that object may run here and go on to the others.
    using CommandGate =
        std::function<bool(int sourceHost, PACKET_TYPE type, std::uint32_t objectId)>;

    NetworkConnectionManager();
    ~NetworkConnectionManager();
    NetworkConnectionManager(const NetworkConnectionManager&) = delete;
    NetworkConnectionManager& operator=(const NetworkConnectionManager&) = delete;

    // Takes a transport and sets the engine's network mode to match it (null: single player).
    void SetTransport(std::unique_ptr<NetTransport> transport);
    NetTransport* GetTransport() const { return mTransport.get(); }
    bool IsConnected() const { return mTransport != nullptr; }
    // Closes every connection and returns to single player.
    void Shutdown();

    // The server is host 0, clients 1..15; a single-player machine is host 0 as well.
    int GetLocalHostId() const;
    std::vector<int> GetClientHosts() const;

    // A client sends to the server, a server to every client.
    bool SendPacket(NetPacket* packet);
    bool SendToServer(NetPacket* packet);
    bool SendToAllClients(NetPacket* packet);
    bool SendToAllClientsExcept(int host, NetPacket* packet);
    bool SendToHost(int host, NetPacket* packet);
    void DropHost(int host, const char* reason);

    // Receives what has arrived (waiting up to timeoutMs) and runs each packet; the number of
    // frames handled.
    int ProcessIncoming(int timeoutMs = 0);
    // Runs one received frame (type id and body).
    void HandleFrame(int sourceHost, const std::uint8_t* bytes, std::size_t size);

    // A handler of this machine for a kind, in place of the registry's.
    void SetPacketHandler(PACKET_TYPE type, std::function<void(NetPacket&)> handler);
    // The machine's handler of a kind (empty: the registry's runs).
    std::function<void(NetPacket&)> GetPacketHandler(PACKET_TYPE type) const;
    void SetCommandGate(CommandGate gate) { mCommandGate = std::move(gate); }
    // Closed once the game's objects are shut down and opened again by the next game root: while
    // closed, frames of the game's kinds are dropped unread (nothing may reach freed objects).
    void SetGameKindsClosed(bool closed) { mGameKindsClosed = closed; }
    bool AreGameKindsClosed() const { return mGameKindsClosed; }
    // Told when this server drops a client for flooding, so the game can let its players go.
    void SetHostDroppedHandler(std::function<void(int host)> handler) {
        mHostDropped = std::move(handler);
    }
    void SetRegistry(const NetPacketRegistry* registry) { mRegistry = registry; }
    const NetPacketRegistry& GetRegistry() const;

    std::uint64_t GetPacketsSent() const { return mPacketsSent; }
    std::uint64_t GetPacketsReceived() const { return mPacketsReceived; }
    std::uint64_t GetPacketsDropped() const { return mPacketsDropped; }
    // Whether this server dropped the host for flooding (until the connection is replaced).
    bool WasDroppedForFlood(int host) const { return mFlooders.contains(host); }

    // The frame a packet travels as (type id, then the body written now).
    static std::vector<std::uint8_t> Serialize(NetPacket& packet);

private:
    bool SendFrame(int host, const std::vector<std::uint8_t>& frame);
    bool SendFrameToClientsExcept(int host, const std::vector<std::uint8_t>& frame);
    // Counts a client's frame against its bound; false once the host is dropped.
    bool WithinRate(int host);
    // A client's command on a server: checked by the gate, then relayed and run.
    void RunClientCommand(NetPacket& packet, PACKET_TYPE type, int sourceHost,
                          const std::uint8_t* bytes, std::size_t size);

    struct RateWindow {
        std::uint64_t start = 0;
        int frames = 0;
    };

    std::unique_ptr<NetTransport> mTransport;
    const NetPacketRegistry* mRegistry = nullptr;
    std::map<PACKET_TYPE, std::function<void(NetPacket&)>> mHandlers;
    std::uint64_t mPacketsSent = 0;
    std::uint64_t mPacketsReceived = 0;
    std::uint64_t mPacketsDropped = 0;
    std::uint64_t mConnection = 0;  // counts SetTransport calls
    CommandGate mCommandGate;
    bool mGameKindsClosed = false;
    std::function<void(int host)> mHostDropped;
    std::map<int, RateWindow> mRates;
    std::set<int> mFlooders;
};

}  // namespace GAME
