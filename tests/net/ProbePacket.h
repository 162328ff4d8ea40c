#pragma once
// A packet whose body is written and read by the test itself.
#include <cstdint>
#include <functional>
#include <vector>

#include "Engine/net/NetPacket.h"
#include "Engine/net/fields/NetPacketBuffer.h"

namespace GAME::test {

class ProbePacket : public ObjectInteractionPacket {
public:
    std::function<void(NetPacketOutBuffer&)> write;
    std::function<void(NetPacketInBuffer&)> read;

    ProbePacket() : ObjectInteractionPacket(250) {}
    unsigned int PrepareOutBuffer() override {
        NetPacketOutBuffer out(this);
        if (write)
            write(out);
        return out.Done();
    }
    void CopyInbound(const unsigned char* data, int size) override {
        NetPacketInBuffer in(GetHeader(), data, size);
        if (read)
            read(in);
    }
};

// The body that `write` produces.
inline std::vector<std::uint8_t> Encode(const std::function<void(NetPacketOutBuffer&)>& write) {
    ProbePacket packet;
    packet.write = write;
    const unsigned int size = packet.PrepareOutBuffer();
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(packet.GetOutBuffer());
    return std::vector<std::uint8_t>(bytes, bytes + size);
}

// Reads `body` with `read`; true when the body was well formed and read to its end.
inline bool Decode(const std::vector<std::uint8_t>& body,
                   const std::function<void(NetPacketInBuffer&)>& read) {
    ProbePacket packet;
    packet.read = read;
    packet.CopyInbound(body.data(), static_cast<int>(body.size()));
    return packet.IsInboundValid();
}

}  // namespace GAME::test
