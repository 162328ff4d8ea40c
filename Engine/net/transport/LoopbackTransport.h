#pragma once
// In-process transport between machines of one process: frames wait in the receiver's queue
// until its connection manager polls. The network object is shared by the transports of its
// machines (no process-wide state).
#include <deque>
#include <memory>
#include <mutex>
#include <vector>

#include "Engine/net/transport/NetTransport.h"

namespace GAME {

class LoopbackNetwork : public std::enable_shared_from_this<LoopbackNetwork> {
public:
    static std::shared_ptr<LoopbackNetwork> Create();

    // The transport of the server (host 0) or of the next client (hosts 1, 2, ...).
    std::unique_ptr<NetTransport> CreateServer();
    std::unique_ptr<NetTransport> CreateClient();

    // Frames waiting for a host.
    std::size_t Pending(int host) const;
    std::size_t PendingTotal() const;

private:
    friend class LoopbackTransport;
    LoopbackNetwork() = default;
    bool Push(int from, int to, const std::vector<std::uint8_t>& frame);
    void Drain(int host, std::vector<NetFrame>& out);
    // `dropped`: the server ended the client's connection.
    void Disconnect(int host, bool dropped = false);
    std::vector<int> Connected() const;

    mutable std::mutex mMutex;
    std::vector<std::deque<NetFrame>> mQueues;  // by host
    std::vector<bool> mConnected;
    int mNextClient = 1;
};

}  // namespace GAME
