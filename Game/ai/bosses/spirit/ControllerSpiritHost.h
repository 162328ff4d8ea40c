#pragma once
// The controller of a statue that a spirit brings to life: inert, unseen by enemies and
// invincible until animated, then an ordinary monster.
#include <cstdint>
#include <string>

#include "Game/ai/monster/ControllerMonster.h"

namespace GAME {

class ControllerSpiritHost : public ControllerMonster {
    RTTI_DECLARE(ControllerSpiritHost)
public:
    ControllerSpiritHost();
    ~ControllerSpiritHost() override;

    void Load(const LoadTable& table) override;
    void RegisterStates() override;

    bool IsAnimated() const { return mAnimated; }
    void SetAnimatedFlag(bool animated) { mAnimated = animated; }
    void SetAnimator(std::uint32_t spiritId) { mAnimator = spiritId; }
    std::uint32_t GetAnimator() const { return mAnimator; }
    // Free while not animated and no living spirit has claimed it.
    bool CanBeAnimated() const;
    // The statue rises (the spirit-spawning skill's burst arrived).
    void Animate();
    // Kept from the record; nothing compares it with the animating spirit.
    const std::string& GetSpiritThatCanAnimateMe() const { return mSpiritThatCanAnimateMe; }

private:
    std::string mSpiritThatCanAnimateMe;
    bool mAnimated = false;
    std::uint32_t mAnimator = 0;
};

}  // namespace GAME
