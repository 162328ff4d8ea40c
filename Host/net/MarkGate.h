#pragma once
// A client's transport in a lockstep game: it hands on what arrived only up to and including the
// server's next frame mark, and keeps the rest for the next poll. Frames that came in one burst
// after a mark (the server's next frame, already run) would otherwise be carried out before this
// machine has run its own.
#include <cstdint>
#include <deque>
#include <memory>

#include "Engine/net/PacketTypes.h"
#include "Engine/net/transport/NetTransport.h"

namespace GAME {

class MarkGate : public NetTransport {
public:
    MarkGate(std::unique_ptr<NetTransport> inner, PACKET_TYPE mark);

    NetTransport& GetInner() { return *mInner; }

    bool IsServer() const override { return mInner->IsServer(); }
    int GetLocalHostId() const override { return mInner->GetLocalHostId(); }
    std::vector<int> GetPeers() const override { return mInner->GetPeers(); }
    bool Send(int host, const std::vector<std::uint8_t>& frame) override {
        return mInner->Send(host, frame);
    }
    // Polls the connection only when nothing is held; stops after the first mark.
    void Poll(std::vector<NetFrame>& out, int timeoutMs) override;
    void DropHost(int host, const char* reason) override { mInner->DropHost(host, reason); }
    const char* GetName() const override { return mInner->GetName(); }
    int GetSilenceMs(int host) const override { return mInner->GetSilenceMs(host); }

    std::size_t GetHeld() const { return mHeld.size(); }

private:
    bool IsMark(const NetFrame& frame) const;

    std::unique_ptr<NetTransport> mInner;
    PACKET_TYPE mMark;
    std::deque<NetFrame> mHeld;
    std::vector<NetFrame> mPolled;
};

}  // namespace GAME
