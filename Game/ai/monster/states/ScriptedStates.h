#pragma once
// The states quest scripts command: move or walk to a point, play an animation, use a skill.
// Each reports its completion to the quest machinery when it ends.
#include <cstdint>

#include "Game/ai/monster/states/MonsterStateBases.h"

namespace GAME {

// Runs to the move target (teleporting there when it cannot); reacts to enemies and allies
// only when the quest command allowed interruptions.
class ControllerMonsterStateQuestMove : public MonsterQuestObedientState {
public:
    using MonsterQuestObedientState::MonsterQuestObedientState;

    void OnBegin() override;
    void OnEnd() override;
    void OnUpdate(int) override {}
    void EndOfPathReached() override;

    bool ShouldFindEnemy() override { return Interruptible(); }
    bool ShouldFindClosestEnemy() override { return Interruptible(); }
    void EnemyFound(std::uint32_t enemy) override;
    void ClosestEnemyFound(std::uint32_t enemy, float distance) override;
    void Attacked(std::uint32_t attacker) override;
    void AllyAttacked(std::uint32_t ally, std::uint32_t attacker) override;
    void LowHealth() override;
    void AllyDied(std::uint32_t ally) override;
    void AllyNeedsHelp(std::uint32_t enemy, std::uint32_t ally) override;
    void RequestAttack(std::uint32_t requester, std::uint32_t target) override;
    void RequestMove(std::uint32_t requester, const WorldVec3& point) override;
    void ProjectileNotification(std::uint32_t projectile) override;
    void Confused(int duration) override;

protected:
    virtual void GoTo(const WorldVec3& point) { MoveTo(point, 0, 0); }

private:
    bool Interruptible() const { return GetController()->GetAllowQuestInterruptions(); }
};

class ControllerMonsterStateQuestWalk : public ControllerMonsterStateQuestMove {
public:
    using ControllerMonsterStateQuestMove::ControllerMonsterStateQuestMove;

protected:
    void GoTo(const WorldVec3& point) override { WalkTo(point, 0); }
};

class ControllerMonsterStateQuestPlayAnimation : public MonsterQuestObedientState {
public:
    using MonsterQuestObedientState::MonsterQuestObedientState;

    void OnBegin() override;
    void OnEnd() override;
    void OnUpdate(int) override {}
    void HandleEvent(const Name& event) override;
};

// Uses the commanded skill on the target (or on itself). A skill that is not ready yet is
// waited for, a bounded time, so that the quest always hears back.
class ControllerMonsterStateQuestUseSkill : public MonsterQuestObedientState {
public:
    using MonsterQuestObedientState::MonsterQuestObedientState;

    // How long a skill that is not ready is waited for.
    static constexpr int kMaxSkillWait = 10000;

    void OnBegin() override;
    void OnEnd() override;
    void OnUpdate(int ms) override;
    void HandleEvent(const Name& event) override;

private:
    // Uses the skill when it is ready; false when it is not.
    bool TryUseSkill();

    int mWaitLeft = 0;
    bool mWaiting = false;
};

}  // namespace GAME
