#pragma once
// A packet's body as bytes, and little-endian values appended to hand-made bodies.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "Engine/net/NetPacket.h"

namespace GAME::test {

using Bytes = std::vector<std::uint8_t>;

// The body the packet writes; the size it reports is the size of its buffer.
inline Bytes BodyOf(NetPacket& packet) {
    const unsigned int size = packet.PrepareOutBuffer();
    EXPECT_EQ(size, packet.GetOutBufferSize());
    const auto* data = reinterpret_cast<const std::uint8_t*>(packet.GetOutBuffer());
    return Bytes(data, data + size);
}

inline void Append32(Bytes& bytes, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

inline void AppendFloat(Bytes& bytes, float value) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, 4);
    Append32(bytes, bits);
}

}  // namespace GAME::test
