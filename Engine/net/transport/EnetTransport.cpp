#include "Engine/net/transport/EnetTransport.h"

#include <enet/enet.h>
#include <enet/time.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <mutex>
#include <string>

#include "Engine/Engine.h"

namespace GAME {

namespace {

// Frames of type 0 belong to the transport itself: [0, 0, host id] welcomes a client.
constexpr std::uint8_t kControlWelcome = 1;
// Peer slots beyond the clients: a connection that never finishes its handshake (or one too
// many) must find a slot to be refused in, not take the one a real client needs.
constexpr int kSpareSlots = 4;

bool InitializeEnet() {
    static std::once_flag once;
    static bool ok = false;
    std::call_once(once, [] {
        ok = enet_initialize() == 0;
        if (ok)
            std::atexit(enet_deinitialize);
    });
    return ok;
}

using Clock = std::chrono::steady_clock;

int RemainingMs(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

std::string AddressText(const ENetAddress& address) {
    char ip[64] = "?";
    enet_address_get_host_ip(&address, ip, sizeof ip);
    return std::string(ip) + ":" + std::to_string(address.port);
}

bool IsHandshaking(const ENetPeer& peer) {
    return peer.state == ENET_PEER_STATE_CONNECTING ||
           peer.state == ENET_PEER_STATE_ACKNOWLEDGING_CONNECT ||
           peer.state == ENET_PEER_STATE_CONNECTION_PENDING ||
           peer.state == ENET_PEER_STATE_CONNECTION_SUCCEEDED;
}

}  // namespace

struct EnetTransport::Impl {
    ENetHost* host = nullptr;
    bool server = false;
    bool refused = false;  // a client the server turned away
    int localId = -1;
    int maxClients = 1;
    int lastId = 0;  // server: the host id given last
    int handshakeTimeoutMs = EnetTransport::kDefaultHandshakeTimeoutMs;
    std::map<ENetPeer*, Clock::time_point> handshakes;  // server: when each began
    std::map<int, ENetPeer*> peers;                     // by host id
    std::vector<NetFrame> received;

    ~Impl() {
        if (host)
            enet_host_destroy(host);
    }

    static int PeerHost(const ENetPeer* peer) {
        return static_cast<int>(reinterpret_cast<std::intptr_t>(peer->data));
    }

    void OnConnect(ENetPeer* peer) {
        if (!server) {
            peer->data = reinterpret_cast<void*>(static_cast<std::intptr_t>(kServerHostId));
            return;
        }
        handshakes.erase(peer);
        // Ids go round: a client that comes right after another left gets a fresh one, so
        // what is keyed by host id (greetings, rate limits) does not mix the two up.
        int id = 0;
        for (int step = 1; step <= kMaxClientHosts && id == 0; ++step) {
            const int candidate = (lastId + step - 1) % kMaxClientHosts + 1;
            if (!peers.count(candidate))
                id = candidate;
        }
        if (static_cast<int>(peers.size()) >= maxClients || id == 0) {
            gEngine->Log(1, "Net: refused a connection from %s: all %d client slots are taken",
                         AddressText(peer->address).c_str(), maxClients);
            enet_peer_disconnect_now(peer, 0);
            return;
        }
        lastId = id;
        peer->data = reinterpret_cast<void*>(static_cast<std::intptr_t>(id));
        peers[id] = peer;
        const std::uint8_t welcome[4] = {0, 0, kControlWelcome, static_cast<std::uint8_t>(id)};
        enet_peer_send(peer, 0,
                       enet_packet_create(welcome, sizeof welcome, ENET_PACKET_FLAG_RELIABLE));
        enet_host_flush(host);
        gEngine->Log(0, "Net: client connected as host %d", id);
    }

    void OnReceive(ENetPeer* peer, ENetPacket* packet) {
        const std::uint8_t* data = packet->data;
        const std::size_t size = packet->dataLength;
        if (size >= 2 && data[0] == 0 && data[1] == 0) {
            if (!server && size == 4 && data[2] == kControlWelcome && data[3] >= 1 &&
                data[3] <= kMaxClientHosts) {
                localId = data[3];
                peers[kServerHostId] = peer;
            }
            return;
        }
        // Only from a connected host, and from the peer that holds its id now.
        const int from = PeerHost(peer);
        const auto it = peers.find(from);
        if (it == peers.end() || it->second != peer || (server && from < 1))
            return;
        received.push_back(NetFrame{from, std::vector<std::uint8_t>(data, data + size)});
    }

    void OnDisconnect(ENetPeer* peer) {
        handshakes.erase(peer);
        if (!server && localId < 0)
            refused = true;
        for (auto it = peers.begin(); it != peers.end(); ++it)
            if (it->second == peer) {
                gEngine->Log(0, "Net: host %d disconnected", it->first);
                peers.erase(it);
                break;
            }
        peer->data = nullptr;
    }

    // Handles events, waiting up to timeoutMs for the first one.
    void Service(int timeoutMs) {
        if (!host)
            return;
        ENetEvent event;
        int wait = timeoutMs;
        while (enet_host_service(host, &event, static_cast<enet_uint32>(wait)) > 0) {
            wait = 0;
            switch (event.type) {
                case ENET_EVENT_TYPE_CONNECT:
                    OnConnect(event.peer);
                    break;
                case ENET_EVENT_TYPE_RECEIVE:
                    OnReceive(event.peer, event.packet);
                    enet_packet_destroy(event.packet);
                    break;
                case ENET_EVENT_TYPE_DISCONNECT:
                    OnDisconnect(event.peer);
                    break;
                case ENET_EVENT_TYPE_NONE:
                    break;
            }
        }
        if (server)
            DropStalledHandshakes();
    }

    // A peer that began a handshake and never finished it holds a slot until ENet gives up on
    // it, which takes up to 30 s; it gets handshakeTimeoutMs.
    void DropStalledHandshakes() {
        const auto now = Clock::now();
        for (ENetPeer* peer = host->peers; peer < host->peers + host->peerCount; ++peer) {
            if (!IsHandshaking(*peer)) {
                handshakes.erase(peer);
                continue;
            }
            const auto [it, added] = handshakes.emplace(peer, now);
            if (added || now - it->second < std::chrono::milliseconds(handshakeTimeoutMs))
                continue;
            gEngine->Log(1, "Net: dropped a connection from %s: no handshake within %d ms",
                         AddressText(peer->address).c_str(), handshakeTimeoutMs);
            handshakes.erase(it);
            enet_peer_reset(peer);
        }
    }
};

EnetTransport::EnetTransport(std::unique_ptr<Impl> impl) : mImpl(std::move(impl)) {}

EnetTransport::~EnetTransport() {
    DisconnectAll(200);
}

std::unique_ptr<EnetTransport> EnetTransport::Listen(unsigned short port, int maxClients) {
    if (!InitializeEnet())
        return nullptr;
    ENetAddress address;
    enet_address_set_host(&address, "127.0.0.1");
    address.port = port;
    auto impl = std::make_unique<Impl>();
    impl->server = true;
    impl->localId = kServerHostId;
    impl->maxClients =
        maxClients < 1 ? 1 : (maxClients > kMaxClientHosts ? kMaxClientHosts : maxClients);
    impl->host =
        enet_host_create(&address, static_cast<size_t>(impl->maxClients + kSpareSlots), 1, 0, 0);
    if (!impl->host) {
        gEngine->Log(1, "Net: cannot listen on 127.0.0.1:%u", unsigned(port));
        return nullptr;
    }
    return std::unique_ptr<EnetTransport>(new EnetTransport(std::move(impl)));
}

std::unique_ptr<EnetTransport> EnetTransport::Connect(const std::string& address,
                                                      unsigned short port, int timeoutMs) {
    if (!InitializeEnet())
        return nullptr;
    ENetAddress server;
    if (enet_address_set_host(&server, address.c_str()) != 0) {
        gEngine->Log(1, "Net: unknown server address %s", address.c_str());
        return nullptr;
    }
    server.port = port;
    auto impl = std::make_unique<Impl>();
    impl->host = enet_host_create(nullptr, 1, 1, 0, 0);
    if (!impl->host)
        return nullptr;
    ENetPeer* peer = enet_host_connect(impl->host, &server, 1, 0);
    if (!peer)
        return nullptr;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (impl->localId < 0) {
        if (impl->refused) {
            gEngine->Log(1, "Net: %s:%u refused the connection", address.c_str(), unsigned(port));
            return nullptr;
        }
        const int left = RemainingMs(deadline);
        if (left == 0) {
            gEngine->Log(1, "Net: no answer from %s:%u", address.c_str(), unsigned(port));
            enet_peer_reset(peer);
            return nullptr;
        }
        impl->Service(left < 20 ? left : 20);
    }
    return std::unique_ptr<EnetTransport>(new EnetTransport(std::move(impl)));
}

unsigned short EnetTransport::GetPort() const {
    ENetAddress address{};
    if (!mImpl->host || enet_socket_get_address(mImpl->host->socket, &address) != 0)
        return 0;
    return address.port;
}

void EnetTransport::SetHandshakeTimeout(int timeoutMs) {
    mImpl->handshakeTimeoutMs = timeoutMs;
}

bool EnetTransport::WaitForClients(int count, int timeoutMs) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (static_cast<int>(mImpl->peers.size()) < count) {
        const int left = RemainingMs(deadline);
        if (left == 0)
            return false;
        mImpl->Service(left < 20 ? left : 20);
    }
    return true;
}

void EnetTransport::DisconnectAll(int timeoutMs) {
    if (!mImpl || !mImpl->host)
        return;
    for (ENetPeer* peer = mImpl->host->peers; peer < mImpl->host->peers + mImpl->host->peerCount;
         ++peer)
        if (peer->state != ENET_PEER_STATE_DISCONNECTED)
            enet_peer_disconnect_later(peer, 0);
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    auto anyConnected = [this] {
        for (ENetPeer* peer = mImpl->host->peers;
             peer < mImpl->host->peers + mImpl->host->peerCount; ++peer)
            if (peer->state != ENET_PEER_STATE_DISCONNECTED)
                return true;
        return false;
    };
    while (anyConnected()) {
        const int left = RemainingMs(deadline);
        if (left == 0)
            break;
        mImpl->Service(left < 20 ? left : 20);
    }
    for (ENetPeer* peer = mImpl->host->peers; peer < mImpl->host->peers + mImpl->host->peerCount;
         ++peer)
        if (peer->state != ENET_PEER_STATE_DISCONNECTED)
            enet_peer_reset(peer);
    mImpl->peers.clear();
}

int EnetTransport::GetPeerCount() const {
    return static_cast<int>(mImpl->peers.size());
}

bool EnetTransport::IsServer() const {
    return mImpl->server;
}

int EnetTransport::GetLocalHostId() const {
    return mImpl->localId;
}

std::vector<int> EnetTransport::GetPeers() const {
    std::vector<int> hosts;
    for (const auto& [id, peer] : mImpl->peers)
        hosts.push_back(id);
    return hosts;
}

bool EnetTransport::Send(int host, const std::vector<std::uint8_t>& frame) {
    auto it = mImpl->peers.find(host);
    if (it == mImpl->peers.end() || frame.size() < 2)
        return false;
    ENetPacket* packet = enet_packet_create(frame.data(), frame.size(), ENET_PACKET_FLAG_RELIABLE);
    if (!packet)
        return false;
    if (enet_peer_send(it->second, 0, packet) != 0) {
        enet_packet_destroy(packet);
        return false;
    }
    enet_host_flush(mImpl->host);
    return true;
}

void EnetTransport::Poll(std::vector<NetFrame>& out, int timeoutMs) {
    mImpl->Service(timeoutMs);
    for (NetFrame& frame : mImpl->received)
        out.push_back(std::move(frame));
    mImpl->received.clear();
}

int EnetTransport::GetSilenceMs(int host) const {
    const auto it = mImpl->peers.find(host);
    if (it == mImpl->peers.end())
        return 0;
    const enet_uint32 silence = ENET_TIME_DIFFERENCE(enet_time_get(), it->second->lastReceiveTime);
    return silence > 0x7FFFFFFFu ? 0x7FFFFFFF : static_cast<int>(silence);
}

void EnetTransport::DropHost(int host, const char* reason) {
    auto it = mImpl->peers.find(host);
    if (it == mImpl->peers.end())
        return;
    gEngine->Log(0, "Net: dropping host %d (%s)", host, reason ? reason : "");
    ENetPeer* peer = it->second;
    mImpl->peers.erase(it);
    // Nothing more from it, neither what came in already nor what ENet still hands out.
    std::erase_if(mImpl->received, [host](const NetFrame& frame) { return frame.host == host; });
    enet_peer_disconnect(peer, 0);
}

}  // namespace GAME
