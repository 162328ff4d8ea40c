#include "Game/ai/monster/states/ScriptedStates.h"

#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/sys/Machine.h"
#include "Game/ai/monster/states/MonsterStateQueries.h"
#include "Game/core/net/commands/CharacterCommands.h"
#include "Game/skills/Skill.h"

namespace GAME {

// QuestMove, QuestWalk

void ControllerMonsterStateQuestMove::OnBegin() {
    Monster* monster = GetCharacter();
    if (!monster)
        return;
    const WorldVec3 point =
        GetController()->GetClosestMovePoint(GetController()->GetMoveTerrainPoint());
    if (!monster->CanMoveTo(point, kMonsterMoveTolerance)) {
        monster->SetPathPosition(point);
        Go("Idle");
        return;
    }
    GoTo(point);
}

void ControllerMonsterStateQuestMove::OnEnd() {
    GetController()->ReleaseMoveGoal();
    Monster* monster = GetCharacter();
    if (!monster)
        return;
    monster->Enqueue(std::make_unique<QuestMoveCompletedConfigCmd>(monster->GetObjectId()));
    monster->SetSpawnPoint(monster->GetCoords());
}

void ControllerMonsterStateQuestMove::EndOfPathReached() {
    if (Monster* monster = GetCharacter())
        monster->SetSpawnPoint(monster->GetCoords());
    Go("Idle");
}

void ControllerMonsterStateQuestMove::EnemyFound(std::uint32_t enemy) {
    if (Interruptible())
        DefaultEnemyFoundResponse(enemy);
}

void ControllerMonsterStateQuestMove::ClosestEnemyFound(std::uint32_t enemy, float distance) {
    if (Interruptible())
        DefaultClosestEnemyFoundResponse(enemy, distance);
}

void ControllerMonsterStateQuestMove::Attacked(std::uint32_t attacker) {
    if (Interruptible())
        DefaultAttackedResponse(attacker);
}

void ControllerMonsterStateQuestMove::AllyAttacked(std::uint32_t ally, std::uint32_t attacker) {
    if (Interruptible())
        DefaultAllyAttackedResponse(ally, attacker);
}

void ControllerMonsterStateQuestMove::LowHealth() {
    if (Interruptible())
        DefaultLowHealthResponse();
}

void ControllerMonsterStateQuestMove::AllyDied(std::uint32_t ally) {
    if (Interruptible())
        DefaultAllyDiedResponse(ally);
}

void ControllerMonsterStateQuestMove::AllyNeedsHelp(std::uint32_t enemy, std::uint32_t ally) {
    if (Interruptible())
        DefaultAllyNeedsHelpResponse(enemy, ally);
}

void ControllerMonsterStateQuestMove::RequestAttack(std::uint32_t requester, std::uint32_t target) {
    if (Interruptible())
        DefaultRequestAttackResponse(requester, target);
}

void ControllerMonsterStateQuestMove::RequestMove(std::uint32_t requester, const WorldVec3& point) {
    if (Interruptible())
        DefaultRequestMoveResponse(requester, point);
}

void ControllerMonsterStateQuestMove::ProjectileNotification(std::uint32_t projectile) {
    if (Interruptible())
        DefaultProjectileNotificationResponse(projectile);
}

void ControllerMonsterStateQuestMove::Confused(int duration) {
    if (Interruptible())
        DefaultConfusedResponse(duration);
}

// QuestPlayAnimation

void ControllerMonsterStateQuestPlayAnimation::OnBegin() {
    ControllerMonster* controller = GetController();
    PlayAnimation(controller->GetQuestAnimation(), Name(), 1.0f,
                  controller->GetQuestAnimationLooping(), 0);
}

void ControllerMonsterStateQuestPlayAnimation::OnEnd() {
    if (Monster* monster = GetCharacter())
        monster->Enqueue(
            std::make_unique<QuestAnimationCompletedConfigCmd>(monster->GetObjectId()));
}

void ControllerMonsterStateQuestPlayAnimation::HandleEvent(const Name& event) {
    if (IsEndEvent(event) && !GetController()->GetQuestAnimationLooping())
        Go("Idle");
}

// QuestUseSkill

void ControllerMonsterStateQuestUseSkill::OnBegin() {
    mWaiting = false;
    if (TryUseSkill())
        return;
    const Monster* monster = GetCharacter();
    gEngine->Log(2, "Skill is not ready in ControllerMonsterStateQuestUseSkill - %s",
                 monster ? monster->GetObjectName().c_str() : "");
    mWaiting = true;
    mWaitLeft = kMaxSkillWait;
}

void ControllerMonsterStateQuestUseSkill::OnEnd() {
    mWaiting = false;
    if (Monster* monster = GetCharacter())
        monster->Enqueue(
            std::make_unique<QuestAnimationCompletedConfigCmd>(monster->GetObjectId()));
}

void ControllerMonsterStateQuestUseSkill::OnUpdate(int ms) {
    if (!mWaiting)
        return;
    if (TryUseSkill()) {
        mWaiting = false;
        return;
    }
    mWaitLeft -= ms;
    if (mWaitLeft > 0)
        return;
    const Monster* monster = GetCharacter();
    gEngine->Log(2, "Quest skill of %s never became ready; giving up",
                 monster ? monster->GetObjectName().c_str() : "");
    Go("Idle");
}

void ControllerMonsterStateQuestUseSkill::HandleEvent(const Name& event) {
    if (IsEndEvent(event))
        Go("Idle");
}

bool ControllerMonsterStateQuestUseSkill::TryUseSkill() {
    Monster* monster = GetCharacter();
    if (!monster)
        return true;
    const std::uint32_t skillId = GetCurrentSkillID();
    const Skill* skill = Singleton<ObjectManager>::Get().GetObject<Skill>(skillId);
    if (skill && skill->GetReason() != SkillReason::Available)
        return false;
    const auto seed = static_cast<std::uint16_t>(crt_rand());
    if (const Character* target = FindCharacter(GetCurrentEnemy()))
        UseSkill(target->GetObjectId(), target->GetPathPosition(), skillId, seed);
    else
        UseSkill(monster->GetObjectId(), monster->GetPathPosition(), skillId, seed);
    return true;
}

}  // namespace GAME
