// Attacking, stepping aside between attacks, dodging, and the one-skill temporary states.
#include "Engine/text/Name.h"
#include "Game/ai/monster/states/CombatStates.h"

namespace GAME {

namespace {
const Name& EndEvent() {
    static const Name end = Name::Create("End");
    return end;
}

std::uint16_t Seed() {
    return static_cast<std::uint16_t>(crt_rand());
}
}  // namespace

void ControllerMonsterStateAttack::OnBegin() {
    mRepositionWanted = false;
    const std::uint32_t enemy = GetCurrentEnemy();
    if (Ctl().IsEnemyValid(enemy))
        UseSkill(enemy, PathPositionOf(enemy), GetCurrentSkillID(), Seed());
    else
        Go("Return");
}

void ControllerMonsterStateAttack::OnUpdate(int) {
    if (!Ctl().IsEnemyValid(GetCurrentEnemy()))
        Go("Return");
}

void ControllerMonsterStateAttack::HandleEvent(const Name& name) {
    if (name != EndEvent())
        return;
    if (TeleportToFarLeader() || BuffSelfAndReturn() || ContinueChain())
        return;
    const std::uint32_t enemy = GetCurrentEnemy();
    const std::uint32_t skill = Ctl().ChooseBestSkill(enemy, false);
    if (CloseEnoughToUseSkill(enemy, skill) && IsPathClear(enemy)) {
        const bool reposition = mRepositionWanted && skill == GetCurrentSkillID();
        Go(reposition ? AIStateId::RepositionForAttack : AIStateId::Attack,
           Data({.enemy = enemy, .skill = skill}));
    } else {
        Go("Pursue", Data({.enemy = enemy, .skill = skill}));
    }
}

bool ControllerMonsterStateAttack::TeleportToFarLeader() {
    ControllerMonster& ctl = Ctl();
    const float limit = ctl.GetTeleportToLeaderDistance();
    const Monster* self = GetCharacter();
    Character* leader = FindCharacter(LeaderId());
    if (!self || !leader || !ctl.CanMove() || limit == 0.0f)
        return false;
    const float distance =
        self->GetCoords().GetPosition().DistanceTo(leader->GetCoords().GetPosition());
    if (distance <= limit)
        return false;
    ctl.TeleportToLeader(leader);
    return true;
}

bool ControllerMonsterStateAttack::BuffSelfAndReturn() {
    if (!ShouldBuffSelf())
        return false;
    const std::uint32_t skill = Ctl().ChooseBestBuffSelfSkill();
    if (skill == 0)
        return false;
    UseSkillOnAlly(SelfId(), skill);
    Go("Return");
    return true;
}

bool ControllerMonsterStateAttack::ContinueChain() {
    ControllerMonster& ctl = Ctl();
    const std::uint32_t first = ctl.GetChainInitialSkill();
    const std::uint32_t next = ctl.GetChainNextSkill();
    if (first == 0 || GetCurrentSkillID() != first || next == 0)
        return false;
    switch (ctl.GetChainBehavior()) {
        case ControllerMonster::ChainUseOnLeader:
            UseSkillOnAlly(LeaderId(), next);
            break;
        case ControllerMonster::ChainUseOnSelf:
            UseSkillOnAlly(SelfId(), next);
            break;
        default:
            Go("Attack", Data({.enemy = GetCurrentEnemy(), .skill = next}));
            break;
    }
    return true;
}

void ControllerMonsterStateAttack::Attacked(std::uint32_t attacker) {
    ControllerMonster& ctl = Ctl();
    if (ctl.GetFleeBehavior() == ControllerMonster::FleeOnDamage && ctl.CanFlee())
        Go("Flee", Data({.enemy = attacker}));
}

void ControllerMonsterStateAttack::ProjectileCollisionCallback(const ProjectileInfo&,
                                                               const CollisionData&) {
    const bool rolled = crt_rand() % 100 < Ctl().GetRepositionChance();
    mRepositionWanted = rolled && Ctl().CanMove();
}

void ControllerMonsterStateRepositionForAttack::OnBegin() {
    ControllerMonster& ctl = Ctl();
    Monster* self = GetCharacter();
    WorldVec3 point;
    if (self && ctl.IsEnemyValid(GetCurrentEnemy()) &&
        PickRandomPointInVicinity(point, *self, self->GetPathPosition(), 3.0f, 5.0f, 3.0f,
                                  ctl.GetMaxYViewDistance()))
        MoveTo(ctl.GetClosestMovePoint(point), 0, 0);
    else
        Go("Return");
}

void ControllerMonsterStateRepositionForAttack::EndOfPathReached() {
    const std::uint32_t enemy = GetCurrentEnemy();
    const std::uint32_t skill = GetCurrentSkillID();
    if (CloseEnoughToUseSkill(enemy, skill) && IsPathClear(enemy))
        Go("Attack", Data({.enemy = enemy, .skill = skill}));
    else
        Go("Return");
}

void ControllerMonsterStateDodgeAttack::OnBegin() {
    Monster* self = GetCharacter();
    const WorldVec3 point = GetPointOfInterest();
    if (self && self->CanMoveTo(point, 0.5f))
        MoveTo(point, 0, 0);
    else
        Go("Return");
}

void ControllerMonsterStateUseSkillTemporary::HandleEvent(const Name& name) {
    if (name == EndEvent())
        SetDone(true);
}

std::uint32_t ControllerMonsterStateUseSkillTemporary::ReadySkillOrDone() {
    const std::uint32_t skillId = GetCurrentSkillID();
    const Skill* skill = Singleton<ObjectManager>::Get().GetObject<Skill>(skillId);
    // A skill that is gone would never end its animation and would hold the monster here.
    if (!skill || skill->GetReason() != SkillReason::Available) {
        SetDone(true);
        return 0;
    }
    return skillId;
}

void ControllerMonsterStateUseSkillOnAlly::OnBegin() {
    const std::uint32_t skill = ReadySkillOrDone();
    if (skill == 0)
        return;
    const std::uint32_t ally = GetCurrentAlly();
    if (FindCharacter(ally))
        UseSkill(ally, PathPositionOf(ally), skill, Seed());
    else
        SetDone(true);
}

void ControllerMonsterStateUseSkillOnPoint::OnBegin() {
    if (const std::uint32_t skill = ReadySkillOrDone())
        UseSkill(0, GetPointOfInterest(), skill, Seed());
}

}  // namespace GAME
