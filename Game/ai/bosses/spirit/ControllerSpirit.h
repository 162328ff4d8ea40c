#pragma once
// The controller of a spirit: it appears unseen, walks to the nearest statue no other spirit has
// claimed, uses its animating skill on it and dies into it.
#include <cstdint>

#include "Game/ai/monster/ControllerMonster.h"

namespace GAME {

class ControllerSpirit : public ControllerMonster {
    RTTI_DECLARE(ControllerSpirit)
public:
    ControllerSpirit();
    ~ControllerSpirit() override;

    void Update(int ms) override;
    void RegisterStates() override;
    // Against a statue the skill is always the fifth special attack.
    std::uint32_t ChooseBestSkillOverride(std::uint32_t enemyId, bool checkDistance) override;

    std::uint32_t GetAnimateTarget() const { return mAnimateTarget; }
    void SetAnimateTarget(std::uint32_t id) { mAnimateTarget = id; }

private:
    std::uint32_t mAnimateTarget = 0;
};

}  // namespace GAME
