#pragma once
// The common CRC-32 (reflected polynomial 0xEDB88320).
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace GAME {

std::uint32_t Crc32(const void* data, std::size_t size, std::uint32_t crc = 0);
inline std::uint32_t Crc32(std::string_view text) {
    return Crc32(text.data(), text.size());
}

}  // namespace GAME
