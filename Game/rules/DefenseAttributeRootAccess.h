#pragma once
// The game-wide armor absorption comes from the root object's settings
// ("armorDefensiveAbsorption"). The root installs its getter here when it starts; without one there
// is no root, and armor loaded then keeps an absorption of 0.
#include <functional>
#include <optional>

namespace GAME {

struct DefenseAttributeRootAccess {
    std::function<float()> armorDefensiveAbsorption;
};

// The root's value, or nothing when no root answers.
std::optional<float> GetRootArmorDefensiveAbsorption();
void SetRootArmorDefensiveAbsorptionSource(std::function<float()> source);

}  // namespace GAME
