#pragma once
// How frames move between machines. A frame is the packet's type id (16 bits, little-endian)
// followed by its body. Host ids: the server is host 0, clients are 1 to 15.
#include <cstdint>
#include <string>
#include <vector>

namespace GAME {

inline constexpr int kServerHostId = 0;
inline constexpr int kMaxClientHosts = 15;

struct NetFrame {
    int host = -1;  // the sending host of a received frame, the target of a sent one
    std::vector<std::uint8_t> bytes;
};

class NetTransport {
public:
    virtual ~NetTransport() = default;

    virtual bool IsServer() const = 0;
    // This machine's host id (-1 while a client has not been given one).
    virtual int GetLocalHostId() const = 0;
    // The hosts this machine can send to: every client on a server, the server on a client.
    virtual std::vector<int> GetPeers() const = 0;
    // Queues one frame for a host; false when the host is not connected.
    virtual bool Send(int host, const std::vector<std::uint8_t>& frame) = 0;
    // Moves the frames received so far (waiting up to timeoutMs for the first) into `out`.
    virtual void Poll(std::vector<NetFrame>& out, int timeoutMs) = 0;
    // Ends the connection to a host (a client ends its connection to the server).
    virtual void DropHost(int host, const char* reason) = 0;
    virtual const char* GetName() const = 0;
    // Milliseconds since the host last showed life (the connection's own keep-alive counts
    // too): a machine that was killed says nothing, not even goodbye. 0 when not known.
    virtual int GetSilenceMs(int /*host*/) const { return 0; }
};

}  // namespace GAME
