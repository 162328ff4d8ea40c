#include "Game/ai/bosses/spirit/ControllerSpiritStates.h"

#include <limits>
#include <vector>

#include "Engine/text/Name.h"
#include "Game/ai/bosses/spirit/ControllerSpiritHost.h"
#include "Game/ai/controllers/CharacterController.h"
#include "Game/ai/monster/states/MonsterStateQueries.h"

namespace GAME {

namespace {

ControllerSpiritHost* HostControllerOf(const Character* character) {
    return character ? FindController<ControllerSpiritHost>(*character) : nullptr;
}

}  // namespace

bool ControllerSpiritState::FindNewAnimateTarget() {
    const Monster* self = GetCharacter();
    if (!self)
        return false;
    thread_local std::vector<Character*> allies;
    FindAlliesInSight(allies);
    Character* best = nullptr;
    ControllerSpiritHost* bestHost = nullptr;
    float bestDistance = std::numeric_limits<float>::infinity();
    for (Character* ally : allies) {
        ControllerSpiritHost* host = HostControllerOf(ally);
        if (!host || !host->CanBeAnimated())
            continue;
        const float distance =
            World::Get().GetDistanceSquared(self->GetCoords(), ally->GetCoords());
        if (distance < bestDistance) {
            best = ally;
            bestHost = host;
            bestDistance = distance;
        }
    }
    if (!best)
        return false;
    bestHost->SetAnimator(SelfId());
    SetAnimateTarget(best->GetObjectId());
    return true;
}

void ControllerSpiritState::PursueAnimateTarget() {
    const std::uint32_t target = GetAnimateTarget();
    Ctl().SetMostHatedEnemy(target);
    Go("PursueToAnimate", Data({.enemy = target, .skill = Ctl().ChooseBestSkill(target, false)}));
}

void ControllerSpiritState::AttackToAnimate() {
    Go("AttackToAnimate", Data({.enemy = GetCurrentEnemy(), .skill = GetCurrentSkillID()}));
}

void ControllerSpiritStateStartup::OnBegin() {
    Ctl().SetTeam(TeamManager::InvisibleTeam());
    PlayAnimation(AnimationSet_Type::Respawn, Name(), 1.0f, false, 0);
    FindNewAnimateTarget();
}

void ControllerSpiritStateStartup::HandleEvent(const Name& name) {
    if (!IsEndEvent(name))
        return;
    if (GetAnimateTarget() != 0) {
        PursueAnimateTarget();
        return;
    }
    gEngine->Log(2, "Spirit error - went to idle because it could not find an animate target.");
    Go("Idle");
}

void ControllerSpiritStatePursueToAnimate::OnBegin() {
    const Character* target = ValidateObjectId(GetAnimateTarget(), "PursueToAnimate");
    if (!target || !target->IsAlive()) {
        gEngine->Log(2,
                     "Spirit error - went to idle because StatePursueToAnimate was given a bad "
                     "enemy.");
        Go("Idle");
        return;
    }
    const std::uint32_t enemy = GetCurrentEnemy();
    const std::uint32_t skill = GetCurrentSkillID();
    if (CloseEnoughToUseSkill(enemy, skill)) {
        AttackToAnimate();
        return;
    }
    Monster* self = GetCharacter();
    const WorldVec3 point =
        self ? self->GetMoveToPoint(enemy, skill, target->GetPathPosition()) : WorldVec3();
    if (!point.IsValid()) {
        gEngine->Log(2,
                     "Spirit error - went to idle because StatePursueToAnimate could not find a "
                     "valid moveto point.");
        Go("Idle");
        return;
    }
    MoveTo(point, target->GetObjectId(), skill);
}

void ControllerSpiritStatePursueToAnimate::OnUpdate(int) {
    const ControllerSpiritHost* host = HostControllerOf(FindCharacter(GetAnimateTarget()));
    if (host && host->IsAnimated()) {
        // Another spirit got there first.
        if (!FindNewAnimateTarget()) {
            Go("Idle");
            gEngine->Log(2,
                         "Spirit error - went to idle because StatePursueToAnimate could not find "
                         "a valid animate target.");
            return;
        }
        PursueAnimateTarget();
        return;
    }
    if (CloseEnoughToUseSkill(GetCurrentEnemy(), GetCurrentSkillID()))
        AttackToAnimate();
}

void ControllerSpiritStateAttackToAnimate::OnBegin() {
    const Character* target = ValidateObjectId(GetAnimateTarget(), "AttackToAnimate");
    if (!target || !target->IsAlive()) {
        gEngine->Log(2,
                     "Spirit error - went to idle because StateAttackToAnimate could not find a "
                     "valid animate target.");
        Go("Idle");
        return;
    }
    UseSkill(target->GetObjectId(), target->GetPathPosition(), GetCurrentSkillID(), 0);
}

void ControllerSpiritStateAttackToAnimate::HandleEvent(const Name& name) {
    if (IsEndEvent(name))
        KillMe();
}

}  // namespace GAME
