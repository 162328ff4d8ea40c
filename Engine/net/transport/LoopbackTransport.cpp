#include "Engine/net/transport/LoopbackTransport.h"

#include <algorithm>

namespace GAME {

class LoopbackTransport : public NetTransport {
public:
    LoopbackTransport(std::shared_ptr<LoopbackNetwork> network, int host)
        : mNetwork(std::move(network)), mHost(host) {}
    ~LoopbackTransport() override { mNetwork->Disconnect(mHost); }

    bool IsServer() const override { return mHost == kServerHostId; }
    int GetLocalHostId() const override { return mHost; }
    std::vector<int> GetPeers() const override {
        if (!IsServer())
            return {kServerHostId};
        std::vector<int> peers = mNetwork->Connected();
        std::erase(peers, kServerHostId);
        return peers;
    }
    bool Send(int host, const std::vector<std::uint8_t>& frame) override {
        if (!IsServer() && host != kServerHostId)
            return false;  // clients talk to the server only
        return mNetwork->Push(mHost, host, frame);
    }
    void Poll(std::vector<NetFrame>& out, int) override { mNetwork->Drain(mHost, out); }
    void DropHost(int host, const char*) override {
        if (IsServer() && host != kServerHostId)
            mNetwork->Disconnect(host, true);
        else if (!IsServer() && host == kServerHostId)
            mNetwork->Disconnect(mHost);
    }
    const char* GetName() const override { return "loopback"; }

private:
    std::shared_ptr<LoopbackNetwork> mNetwork;
    int mHost;
};

std::shared_ptr<LoopbackNetwork> LoopbackNetwork::Create() {
    return std::shared_ptr<LoopbackNetwork>(new LoopbackNetwork());
}

std::unique_ptr<NetTransport> LoopbackNetwork::CreateServer() {
    std::lock_guard lock(mMutex);
    if (mQueues.empty()) {
        mQueues.resize(1);
        mConnected.resize(1);
    }
    mConnected[kServerHostId] = true;
    return std::make_unique<LoopbackTransport>(shared_from_this(), kServerHostId);
}

std::unique_ptr<NetTransport> LoopbackNetwork::CreateClient() {
    std::lock_guard lock(mMutex);
    if (mNextClient > kMaxClientHosts)
        return nullptr;
    const int host = mNextClient++;
    if (static_cast<int>(mQueues.size()) <= host) {
        mQueues.resize(host + 1);
        mConnected.resize(host + 1);
    }
    mConnected[host] = true;
    return std::make_unique<LoopbackTransport>(shared_from_this(), host);
}

bool LoopbackNetwork::Push(int from, int to, const std::vector<std::uint8_t>& frame) {
    std::lock_guard lock(mMutex);
    if (to == from || to < 0 || to >= static_cast<int>(mQueues.size()) || from < 0 ||
        from >= static_cast<int>(mQueues.size()) || !mConnected[to] || !mConnected[from])
        return false;
    mQueues[to].push_back(NetFrame{from, frame});
    return true;
}

void LoopbackNetwork::Drain(int host, std::vector<NetFrame>& out) {
    std::lock_guard lock(mMutex);
    if (host < 0 || host >= static_cast<int>(mQueues.size()))
        return;
    auto& queue = mQueues[host];
    while (!queue.empty()) {
        out.push_back(std::move(queue.front()));
        queue.pop_front();
    }
}

void LoopbackNetwork::Disconnect(int host, bool dropped) {
    std::lock_guard lock(mMutex);
    if (host < 0 || host >= static_cast<int>(mConnected.size()))
        return;
    mConnected[host] = false;
    mQueues[host].clear();
    // A server that drops a client hears nothing more from it, not even what was on the way.
    if (dropped && !mQueues.empty())
        std::erase_if(mQueues[kServerHostId],
                      [host](const NetFrame& frame) { return frame.host == host; });
}

std::vector<int> LoopbackNetwork::Connected() const {
    std::lock_guard lock(mMutex);
    std::vector<int> hosts;
    for (int host = 0; host < static_cast<int>(mConnected.size()); ++host)
        if (mConnected[host])
            hosts.push_back(host);
    return hosts;
}

std::size_t LoopbackNetwork::Pending(int host) const {
    std::lock_guard lock(mMutex);
    return host >= 0 && host < static_cast<int>(mQueues.size()) ? mQueues[host].size() : 0;
}

std::size_t LoopbackNetwork::PendingTotal() const {
    std::lock_guard lock(mMutex);
    std::size_t total = 0;
    for (const auto& queue : mQueues)
        total += queue.size();
    return total;
}

}  // namespace GAME
