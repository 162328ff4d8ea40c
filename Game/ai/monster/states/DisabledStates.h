#pragma once
// The states other parts of the game impose on a monster: stunned, immobile, trapped (striking
// from the trap when it can), paralysed with fear and then panicking. Each obeys quest
// commands; a second stun, trap or immobilisation replaces it through the state base.
#include <cstdint>

#include "Game/ai/monster/states/MonsterStateBases.h"

namespace GAME {

class ControllerMonsterStateStunned : public MonsterQuestObedientState {
public:
    using MonsterQuestObedientState::MonsterQuestObedientState;

    void OnBegin() override { TakeStun(); }
    void OnEnd() override {}
    void OnUpdate(int) override {}
    void EndStun() override;
};

class ControllerMonsterStateImmobile : public MonsterQuestObedientState {
public:
    using MonsterQuestObedientState::MonsterQuestObedientState;

    void OnBegin() override { GetController()->Immobilize(); }
    void OnEnd() override {}
    void OnUpdate(int) override {}
    void EndImmobilize() override;
};

class ControllerMonsterStateTrapped : public MonsterQuestObedientState {
public:
    using MonsterQuestObedientState::MonsterQuestObedientState;

    void OnBegin() override { GetController()->TakeTrap(); }
    void OnEnd() override {}
    void OnUpdate(int) override {}
    void EndTrap() override;
    // Strikes from the trap with a skill usable while trapped.
    void EnemyFound(std::uint32_t enemy) override;
};

// One skill use from the trap, then trapped again.
class ControllerMonsterStateTrappedAttack : public MonsterQuestObedientState {
public:
    using MonsterQuestObedientState::MonsterQuestObedientState;

    void OnBegin() override;
    void OnEnd() override {}
    void OnUpdate(int) override {}
    void HandleEvent(const Name& event) override;
    void EndTrap() override;
};

// Frozen with fear for a time that depends on the distance to the enemy, turning to face
// away from it, then panicking.
class ControllerMonsterStateParalyze : public MonsterQuestObedientState {
public:
    using MonsterQuestObedientState::MonsterQuestObedientState;

    void OnBegin() override;
    void OnEnd() override {}
    void OnUpdate(int ms) override;

    // (1 - (d mod 25) * 0.04) * 4000 ms for the whole distance d.
    static int GetParalysisTime(float distance);

private:
    int mParalysisCountdown = 0;
};

// Running straight away from the enemy, then standing there until something else happens.
class ControllerMonsterStatePanic : public MonsterDistractedState {
public:
    using MonsterDistractedState::MonsterDistractedState;

    void OnBegin() override;
    void OnEnd() override {}
    void OnUpdate(int) override {}

private:
    bool RunAway();
};

}  // namespace GAME
