#pragma once
// Transport between processes over ENet: one reliable, ordered channel on 127.0.0.1. The server
// gives each client a host id (1..15) in a welcome frame right after it connects. A server keeps
// a few peer slots beyond its clients, refuses (and logs) connections past its client count and
// drops (and logs) connections whose handshake does not complete in time.
#include <memory>
#include <string>

#include "Engine/net/transport/NetTransport.h"

namespace GAME {

class EnetTransport : public NetTransport {
public:
    static constexpr int kDefaultHandshakeTimeoutMs = 3000;
    ~EnetTransport() override;

    // A server listening on the port (0: any free port, see GetPort); null on failure.
    static std::unique_ptr<EnetTransport> Listen(unsigned short port, int maxClients);
    // A client connected to the server and given its host id; null on failure or time-out.
    static std::unique_ptr<EnetTransport> Connect(const std::string& address, unsigned short port,
                                                  int timeoutMs);

    unsigned short GetPort() const;
    // Server: how long a connection may take to complete its handshake.
    void SetHandshakeTimeout(int timeoutMs);
    // Server: services the connection until `count` clients are connected; false on time-out.
    bool WaitForClients(int count, int timeoutMs);
    // Ends every connection, waiting up to timeoutMs for the peers to acknowledge.
    void DisconnectAll(int timeoutMs);
    // Number of connected peers.
    int GetPeerCount() const;

    bool IsServer() const override;
    int GetLocalHostId() const override;
    std::vector<int> GetPeers() const override;
    bool Send(int host, const std::vector<std::uint8_t>& frame) override;
    void Poll(std::vector<NetFrame>& out, int timeoutMs) override;
    void DropHost(int host, const char* reason) override;
    const char* GetName() const override { return "enet"; }
    // Since the peer's last acknowledgement: ENet pings an idle peer twice a second.
    int GetSilenceMs(int host) const override;

private:
    struct Impl;
    explicit EnetTransport(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> mImpl;
};

}  // namespace GAME
