#pragma once
// A bundle of rewards for one player: life and mana (points and percent of the maximum), gold,
// skill and attribute points, experience and an effect to show.
#include <cstdint>
#include <string>

namespace GAME {

class LoadTable;

class Bonus {
public:
    Bonus() = default;
    Bonus(const Bonus&) = default;
    Bonus& operator=(const Bonus&) = default;

    void Load(const LoadTable& table);
    // Every field but the effect name.
    void CopyValues(const Bonus& other);
    // How much the bonus is worth to a character with that life and mana (ranks potions).
    float GetTotalValue(float life, float mana) const;

    std::uint32_t id = 0;  // the player the bonus is addressed to
    float lifePoints = 0.0f;
    float lifePercent = 0.0f;
    float manaPoints = 0.0f;
    float manaPercent = 0.0f;
    std::uint32_t gold = 0;
    std::uint32_t skillPoints = 0;
    std::uint32_t attributePoints = 0;
    std::uint32_t experience = 0;
    std::string effectName;
    std::uint32_t sourceId = 0;  // the object whose death or use produced the bonus
};

}  // namespace GAME
