// Startup, Idle and the states that bring a monster to its enemy.
#include "Engine/text/Name.h"
#include "Game/ai/monster/states/CombatStates.h"

namespace GAME {

namespace {
// Skills are weighed again this often while running, in milliseconds.
constexpr int kSkillRecheckInterval = 200;

const Name& PursueEndEvent() {
    static const Name end = Name::Create("End");
    return end;
}
}  // namespace

void ControllerMonsterStateStartup::OnBegin() {
    Monster* self = GetCharacter();
    if (!self || !self->CanPlayAnimation(AnimationSet_Type::Spawn)) {
        Go("Idle");
        UseInitialSkillIfSet();
        return;
    }
    if (mSpawnAnimationStarted)
        return;
    mSpawnAnimationStarted = true;
    PlayAnimation(AnimationSet_Type::Spawn, Name(), 1.0f, false, 0);
}

void ControllerMonsterStateStartup::HandleEvent(const Name& name) {
    if (name != PursueEndEvent())
        return;
    Go("Idle");
    if (mSpawnAnimationStarted)
        UseInitialSkillIfSet();
}

void ControllerMonsterStateStartup::UseInitialSkillIfSet() {
    if (const std::uint32_t skill = Ctl().GetInitialSkillId())
        UseSkillOnAlly(SelfId(), skill);
}

void ControllerMonsterStateIdle::OnBegin() {
    const std::uint32_t leader = LeaderId();
    if (leader != 0 && IsAlive(leader)) {
        Go("DefendLeader", Data({.ally = leader}));
        return;
    }
    Idle();
    mRoamCountdown =
        static_cast<int>(MonsterRandomFloat(static_cast<float>(Ctl().GetMinTimeBeforeRoam()),
                                            static_cast<float>(Ctl().GetMaxTimeBeforeRoam())));
}

void ControllerMonsterStateIdle::StartedRoaming(int ms) {
    ControllerMonster& ctl = Ctl();
    // The kept setting first: most never roam, and CanMove reads the animation set.
    if (ctl.GetRoamBehavior() == 0 || !ctl.CanMove())
        return;
    mRoamCountdown -= ms;
    if (mRoamCountdown >= 0)
        return;
    if (LeaderId() != 0)
        Go("Wander");
    else if (ctl.GetPatrolPoints().empty())
        Go("Roam");
    else
        Go("Patrol");
}

void ControllerMonsterStatePursue::OnBegin() {
    ControllerMonster& ctl = Ctl();
    if (!ctl.CanMove()) {
        Go("Idle");
        return;
    }
    const std::uint32_t enemy = GetCurrentEnemy();
    const Character* enemyCharacter = ctl.ValidEnemy(enemy);
    if (!enemyCharacter) {
        Go("Return");
        return;
    }
    if (ctl.ShouldEmoteBeforePursuing()) {
        ctl.SetEmoted(true);
        Go("EmoteBeforePursue", Data({.enemy = enemy}));
        return;
    }
    Monster* self = GetCharacter();
    const std::uint32_t skill = GetCurrentSkillID();
    // Asking for the point also claims an attack slot around the enemy.
    const std::uint64_t slotLosses = ControllerAI::GetSlotLossCount();
    // The enemy validated above: nothing since has filed or dropped an object.
    const WorldVec3 point = self->GetMoveToPoint(enemy, skill, enemyCharacter->GetPathPosition());
    if (!point.IsValid()) {
        Go("WaitToAttack", Data({.enemy = enemy, .skill = skill}));
        return;
    }
    // A holder the request displaced may have answered by changing the ring.
    const bool inReach = slotLosses == ControllerAI::GetSlotLossCount()
                             ? CloseEnoughToUseSkillAt(enemy, skill, point)
                             : CloseEnoughToUseSkill(enemy, skill);
    if (inReach) {
        Go(IsPathClear(enemy) ? AIStateId::Attack : AIStateId::NavigateObstacle,
           Data({.enemy = enemy, .skill = skill}));
        return;
    }
    if (!self->AlreadyThere(point) && self->CanMoveTo(point, GetSkillUseTolerance(enemy))) {
        MoveTo(point, enemy, skill);
        mPursuitCountdown = ctl.GetPursuitTime();
        mSkillRecheckCountdown = kSkillRecheckInterval;
        return;
    }
    Go("Idle");
}

void ControllerMonsterStatePursue::OnUpdate(int ms) {
    ControllerMonster& ctl = Ctl();
    Monster* self = GetCharacter();
    const std::uint32_t enemy = GetCurrentEnemy();
    const std::uint32_t skill = GetCurrentSkillID();
    if (self && !gEngine->IsNetworkEnabled()) {
        std::uint32_t target = 0, characterSkill = 0;
        WorldVec3 position;
        self->GetCurrentAttackTarget(target, position, characterSkill);
        if (characterSkill != skill)
            gEngine->Log(2,
                         "Pursue - controller skill (%d) doesn't match character skill (%d) in "
                         "monster %s",
                         static_cast<int>(skill), static_cast<int>(characterSkill),
                         self->GetObjectName().c_str());
    }
    if (ctl.GetPursuitTime() != 0) {
        mPursuitCountdown -= ms;
        if (mPursuitCountdown < 0) {
            Go("Return");
            return;
        }
    }
    const Character* enemyCharacter = ctl.ValidEnemy(enemy);
    if (!enemyCharacter) {
        Go("Return");
        return;
    }
    mSkillRecheckCountdown -= ms;
    if (mSkillRecheckCountdown < 0) {
        const Skill* current = Singleton<ObjectManager>::Get().GetObject<Skill>(skill);
        if (current && current->ShouldMonsterSkillBeInterruptedWhilePursuing()) {
            const std::uint32_t better = ctl.ChooseBestSkill(enemy, false);
            if (better != 0 && better != skill) {
                Go("Pursue", Data({.enemy = enemy, .skill = better}));
                return;
            }
        }
        mSkillRecheckCountdown = kSkillRecheckInterval;
    }
    if (const Character* barrier = IsBarrierBlocking(enemy)) {
        const std::uint32_t barrierId = barrier->GetObjectId();
        if (barrierId != enemy) {
            ctl.SetMostHatedEnemy(barrierId);
            PursueWithBestSkill(barrierId);
            return;
        }
    }
    if (CloseEnoughToUseSkillOn(*enemyCharacter, skill))
        Go(IsPathClear(enemy) ? AIStateId::Attack : AIStateId::NavigateObstacle,
           Data({.enemy = enemy, .skill = skill}));
}

void ControllerMonsterStatePursue::EndOfPathReached() {
    const std::uint32_t enemy = GetCurrentEnemy();
    const std::uint32_t skill = GetCurrentSkillID();
    if (CloseEnoughToUseSkill(enemy, skill) && IsPathClear(enemy))
        Go("Attack", Data({.enemy = enemy, .skill = skill}));
    else
        Go("Return");
}

void ControllerMonsterStatePursue::LostSlot() {
    Monster* self = GetCharacter();
    const std::uint32_t enemy = GetCurrentEnemy();
    if (self && !self->GetMoveToPoint(enemy, GetCurrentSkillID(), PathPositionOf(enemy)).IsValid())
        Go("WaitToAttack", Data({.enemy = enemy}));
}

void ControllerMonsterStateEmoteBeforePursue::OnBegin() {
    if (Ctl().IsEnemyValid(GetCurrentEnemy()))
        PlayAnimation(AnimationSet_Type::Special, Name::Create("Emote"), 1.0f, false, 0);
    else
        Go("Return");
}

void ControllerMonsterStateEmoteBeforePursue::HandleEvent(const Name& name) {
    if (name == PursueEndEvent())
        PursueWithBestSkill(GetCurrentEnemy());
}

void ControllerMonsterStateNavigateObstacle::OnBegin() {
    const std::uint32_t enemy = GetCurrentEnemy();
    if (!IsAlive(enemy)) {
        Go("Return");
        return;
    }
    Monster* self = GetCharacter();
    const WorldVec3 at = PathPositionOf(enemy);
    if (self && self->CanMoveTo(at, 0.5f) && !self->AlreadyThere(at))
        MoveTo(at, 0, 0);
    else
        Go("Idle");
}

void ControllerMonsterStateNavigateObstacle::OnUpdate(int) {
    const std::uint32_t enemy = GetCurrentEnemy();
    const std::uint32_t skill = GetCurrentSkillID();
    const bool inReach = CloseEnoughToUseSkill(enemy, skill);
    if (IsPathClear(enemy))
        Go(inReach ? AIStateId::Attack : AIStateId::Pursue, Data({.enemy = enemy, .skill = skill}));
}

}  // namespace GAME
