#pragma once
// One pile of identical potions: the visible potion that sits in a sack and the hidden ones
// behind it. The visible potion shows the number of hidden ones.
#include <cstdint>
#include <vector>

namespace GAME {

class PotionStack {
public:
    explicit PotionStack(std::uint32_t visiblePotion) : mVisible(visiblePotion) {}

    std::uint32_t GetVisiblePotion() const { return mVisible; }
    std::uint32_t GetNumberInStack() const { return static_cast<std::uint32_t>(mHidden.size()); }
    std::uint32_t GetTotalPotions() const { return GetNumberInStack() + 1; }
    void PushStack(std::uint32_t id);
    // The most recently pushed hidden potion; 0 when none.
    std::uint32_t PopStack();
    // A stack whose visible potion is gone counts as full: nothing more goes behind it.
    bool IsStackFull() const;
    void GetPotions(std::uint32_t& visible, std::vector<std::uint32_t>& ids) const;

private:
    void ShowCount() const;

    std::uint32_t mVisible;
    std::vector<std::uint32_t> mHidden;
};

}  // namespace GAME
