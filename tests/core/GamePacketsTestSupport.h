#pragma once
// Byte builders and round trips for the game packet tests.
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Engine/net/NetPacket.h"
#include "support/PacketBytes.h"

namespace GAME::test {

// The expected body, written field by field in the engine's encodings.
class Body {
public:
    Body& u8(std::uint8_t v) {
        bytes.push_back(v);
        return *this;
    }
    Body& u16(std::uint16_t v) {
        return u8(static_cast<std::uint8_t>(v)).u8(static_cast<std::uint8_t>(v >> 8));
    }
    Body& u32(std::uint32_t v) {
        return u16(static_cast<std::uint16_t>(v)).u16(static_cast<std::uint16_t>(v >> 16));
    }
    Body& i32(std::int32_t v) { return u32(static_cast<std::uint32_t>(v)); }
    Body& f32(float v) {
        std::uint32_t bits;
        std::memcpy(&bits, &v, 4);
        return u32(bits);
    }
    Body& b(bool v) { return u8(v ? 1 : 0); }
    // Narrow string and file name: 32-bit length, bytes.
    Body& str(const std::string& s) {
        u32(static_cast<std::uint32_t>(s.size()));
        bytes.insert(bytes.end(), s.begin(), s.end());
        return *this;
    }
    // Raw string: 16-bit length, bytes.
    Body& raw(const std::string& s) {
        u16(static_cast<std::uint16_t>(s.size()));
        bytes.insert(bytes.end(), s.begin(), s.end());
        return *this;
    }
    Body& wstr(const std::wstring& s) {
        u32(static_cast<std::uint32_t>(s.size()));
        for (wchar_t c : s)
            u16(static_cast<std::uint16_t>(c));
        return *this;
    }
    // A position without a region.
    Body& vec3(float x, float y, float z) { return raw("").f32(x).f32(y).f32(z); }
    // A placement without a region: identity axes and an origin.
    Body& coords(float x, float y, float z) {
        raw("");
        f32(1).f32(0).f32(0);
        f32(0).f32(1).f32(0);
        f32(0).f32(0).f32(1);
        return f32(x).f32(y).f32(z);
    }
    std::vector<std::uint8_t> bytes;
};

// A fresh packet of the same kind read from the packet's own body.
template <class Kind>
std::unique_ptr<Kind> ReadBack(Kind& packet) {
    const std::vector<std::uint8_t> body = BodyOf(packet);
    auto copy = std::make_unique<Kind>();
    copy->CopyInbound(body.data(), static_cast<int>(body.size()));
    EXPECT_TRUE(copy->IsInboundValid());
    return copy;
}

}  // namespace GAME::test
