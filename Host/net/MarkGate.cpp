#include "Host/net/MarkGate.h"

namespace GAME {

MarkGate::MarkGate(std::unique_ptr<NetTransport> inner, PACKET_TYPE mark)
    : mInner(std::move(inner)), mMark(mark) {}

bool MarkGate::IsMark(const NetFrame& frame) const {
    return frame.bytes.size() >= 2 && (frame.bytes[0] | frame.bytes[1] << 8) == mMark;
}

void MarkGate::Poll(std::vector<NetFrame>& out, int timeoutMs) {
    if (mHeld.empty()) {
        mPolled.clear();
        mInner->Poll(mPolled, timeoutMs);
        for (NetFrame& frame : mPolled)
            mHeld.push_back(std::move(frame));
    }
    while (!mHeld.empty()) {
        const bool mark = IsMark(mHeld.front());
        out.push_back(std::move(mHeld.front()));
        mHeld.pop_front();
        if (mark)
            break;
    }
}

}  // namespace GAME
