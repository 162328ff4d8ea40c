#include "Game/ai/monster/states/DisabledStates.h"

#include "Engine/sys/Machine.h"
#include "Engine/text/Name.h"
#include "Game/ai/monster/states/MonsterStateQueries.h"
#include "Game/core/GameEngine.h"
#include "Game/core/players/Team.h"

namespace GAME {

namespace {

// How far a panicking monster runs.
constexpr float kRunAwayDistance = 24.0f;

}  // namespace

void ControllerMonsterStateStunned::EndStun() {
    Go("Return");
}

void ControllerMonsterStateImmobile::EndImmobilize() {
    Go("Return");
}

void ControllerMonsterStateTrapped::EndTrap() {
    if (Monster* monster = GetCharacter())
        RemoveTrap(*monster);
    Go("Return");
}

void ControllerMonsterStateTrapped::EnemyFound(std::uint32_t enemy) {
    if (const std::uint32_t skill = GetController()->ChooseBestSkill(enemy, true))
        Go("TrappedAttack", Data({.enemy = enemy, .skill = skill}));
}

// TrappedAttack

void ControllerMonsterStateTrappedAttack::OnBegin() {
    // The enemy may have gone between the sighting and this state.
    const Character* enemy = FindCharacter(GetCurrentEnemy());
    if (!enemy) {
        Go("Trapped");
        return;
    }
    UseSkill(enemy->GetObjectId(), enemy->GetPathPosition(), GetCurrentSkillID(),
             static_cast<std::uint16_t>(crt_rand()));
}

void ControllerMonsterStateTrappedAttack::HandleEvent(const Name& event) {
    if (IsEndEvent(event))
        Go("Trapped");
}

void ControllerMonsterStateTrappedAttack::EndTrap() {
    if (Monster* monster = GetCharacter())
        RemoveTrap(*monster);
    Go("Return");
}

// Paralyze

int ControllerMonsterStateParalyze::GetParalysisTime(float distance) {
    const int whole = static_cast<int>(distance);
    // In float: the steps come out as whole multiples of 160 ms.
    return static_cast<int>((1.0f - static_cast<float>(whole % 25) * 0.04f) * 4000.0f);
}

void ControllerMonsterStateParalyze::OnBegin() {
    PlayAnimation(AnimationSet_Type::Stun, Name(), 1.0f, true, 0);
    Monster* monster = GetCharacter();
    const Character* enemy = FindCharacter(GetCurrentEnemy());
    if (!monster || !enemy) {
        Go("Idle");
        return;
    }
    mParalysisCountdown = GetParalysisTime(monster->GetPosition().DistanceTo(enemy->GetPosition()));
}

void ControllerMonsterStateParalyze::OnUpdate(int ms) {
    const std::uint32_t enemyId = GetCurrentEnemy();
    mParalysisCountdown -= ms;
    if (mParalysisCountdown < 1)
        Go("Panic", Data({.enemy = enemyId}));
    Monster* monster = GetCharacter();
    const Character* enemy = FindCharacter(enemyId);
    if (monster && enemy)
        monster->RotateTowards(ms, enemy->GetPosition().VectorTo(monster->GetPosition()),
                               monster->GetPosition());
}

// Panic

void ControllerMonsterStatePanic::OnBegin() {
    if (!RunAway())
        Go("Idle");
}

bool ControllerMonsterStatePanic::RunAway() {
    Monster* monster = GetCharacter();
    const Character* enemy = FindCharacter(GetCurrentEnemy());
    TeamManager* teams = gGameEngine ? gGameEngine->GetTeamManager() : nullptr;
    if (!monster || !enemy || !enemy->IsAlive() || !teams ||
        !teams->IsFoe(enemy->GetTeam(), monster->GetTeam()))
        return false;
    const Vec3 away = enemy->GetPosition().VectorTo(monster->GetPosition()).Unit();
    WorldVec3 point = monster->GetPosition();
    if (!point.TranslateToFloor(away * kRunAwayDistance) ||
        !monster->CanMoveTo(point, kMonsterMoveTolerance))
        return false;
    MoveTo(point, 0, 0);
    return true;
}

}  // namespace GAME
