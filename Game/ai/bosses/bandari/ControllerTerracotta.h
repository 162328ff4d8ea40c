#pragma once
// A terracotta warrior: stands until an enemy comes into range ahead of it or its Bandari wakes
// it, marches straight ahead, and then fights as an ordinary monster.
#include <cstdint>

#include "Game/ai/monster/ControllerMonster.h"

namespace GAME {

class ControllerTerracotta : public ControllerMonster {
    RTTI_DECLARE(ControllerTerracotta)
public:
    ControllerTerracotta();
    ~ControllerTerracotta() override;

    void Load(const LoadTable& table) override;
    void RegisterStates() override;

    void StartAttackMarch();
    void StartReturn();
    // How far ahead of the warrior (along its facing) the target stands; 0 behind it or when
    // the target is no character.
    float GetForwardDistance(std::uint32_t targetId) const;

    float GetAttackRange() const { return mAttackRange; }
    float GetMarchRange() const { return mMarchRange; }

private:
    float mAttackRange = 2.0f;
    float mMarchRange = 0.0f;
};

}  // namespace GAME
