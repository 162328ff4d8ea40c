#pragma once
// The game-wide armor absorption comes from the root object's settings
// ("armorDefensiveAbsorption"). A source installed here answers first (tests, tools); otherwise the
// current machine's root answers; with neither, armor loaded keeps an absorption of 0.
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
