#pragma once
// The address of a quest element: its quest's load index and its positions in the quest, one
// byte each, quest byte most significant.
#include <compare>
#include <cstdint>

namespace GAME {

struct ConditionId {
    static constexpr std::uint32_t kNone = 0xFFFFFFFFu;

    std::uint8_t quest = 0;
    std::uint8_t step = 0;
    std::uint8_t trigger = 0;
    std::uint8_t condition = 0;

    static constexpr ConditionId FromWord(std::uint32_t word) {
        return {static_cast<std::uint8_t>(word >> 24), static_cast<std::uint8_t>(word >> 16),
                static_cast<std::uint8_t>(word >> 8), static_cast<std::uint8_t>(word)};
    }
    constexpr std::uint32_t ToWord() const {
        return static_cast<std::uint32_t>(quest) << 24 | static_cast<std::uint32_t>(step) << 16 |
               static_cast<std::uint32_t>(trigger) << 8 | condition;
    }
    constexpr auto operator<=>(const ConditionId& other) const {
        return ToWord() <=> other.ToWord();
    }
    constexpr bool operator==(const ConditionId& other) const = default;
};

// Ids of the elements of a quest: each position taken modulo 256.
constexpr std::uint32_t QuestElementId(std::uint32_t parentId, std::size_t index, int shift) {
    return parentId | static_cast<std::uint32_t>(index & 0xFF) << shift;
}

}  // namespace GAME
