#pragma once
// A controller of a character that fights: kills its character when its life runs out, drops
// its gold, and takes the combat hooks (stun, fear, taunt, traps) that its kinds respond to.
#include <cstdint>

#include "Game/ai/controllers/ControllerCharacter.h"

namespace GAME {

class ControllerCombat : public ControllerCharacter {
    RTTI_DECLARE(ControllerCombat)
public:
    ControllerCombat();
    ~ControllerCombat() override;

    void Update(int ms) override;
    void HandleEvent(const Name& name) override;

    virtual bool NeedsDeathUpdate() { return false; }
    virtual void DeathUpdate(int) {}
    virtual void StunMe(float) {}
    virtual void ScareMe(std::uint32_t, float) {}
    virtual void KillMe();
    virtual void TauntMe(float, std::uint32_t) {}
    virtual void BeginStun() {}
    virtual void EndStun() {}
    virtual void BeginImmobilize() {}
    virtual void EndImmobilize() {}
    virtual void BeginTrap() {}
    virtual void EndTrap() {}
    virtual void UnderAttack(std::uint32_t) {}
    virtual void AllyAttacked(std::uint32_t, std::uint32_t) {}
    virtual void CharacterIsDying() {}
    virtual void CharacterIsDead() {}

    void RunGoldGenerator(Character& character);
};

}  // namespace GAME
