#pragma once
// The auras of one owner (a character or a placed object): record-made entities attached to it
// for a while. Removal takes effect at the owner's next update, so an aura removed while its
// owner is being walked never disappears under the walker.
#include <cstdint>
#include <string>
#include <vector>

#include "Game/skills/auras/AuraContainer.h"

namespace GAME {

class Actor;

class AuraManager {
public:
    // The aura entity's id, 0 for an empty name or a record that makes no entity.
    std::uint32_t AddAura(Actor& owner, const std::string& name, bool permanent, int seconds);
    void RemoveAura(std::uint32_t entityId);
    void RemoveAura(const std::string& name);
    // Inline: most owners hold no aura, and their frame then only asks.
    void Update(Actor& owner, int ms) {
        if (!mAuras.empty())
            UpdateHeld(owner, ms);
    }
    // Removes every aura at once (the owner is dying).
    void Clear(Actor& owner);

    const std::vector<AuraContainer>& GetAuras() const { return mAuras; }

private:
    void UpdateHeld(Actor& owner, int ms);
    // Detaches the aura's entity when it still exists and destroys it.
    static void EndAura(Actor& owner, const AuraContainer& aura);

    std::vector<AuraContainer> mAuras;  // oldest first
};

}  // namespace GAME
