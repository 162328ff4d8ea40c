#pragma once
// A character that counts what its controller would be told.
#include <cstdint>
#include <vector>

#include "Game/characters/Character.h"

namespace GAME::test {

class ProbeCharacter : public Character {
    RTTI_DECLARE(ProbeCharacter)
public:
    void LostSlot() override { ++lostSlots; }
    void AllyAttacked(std::uint32_t ally, std::uint32_t attacker) override {
        allyCalls.push_back({ally, attacker});
    }
    struct AllyCall {
        std::uint32_t ally;
        std::uint32_t attacker;
    };
    int lostSlots = 0;
    std::vector<AllyCall> allyCalls;
};

}  // namespace GAME::test
