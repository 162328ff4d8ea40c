#include "Game/ai/bosses/cyclops/CyclopsStates.h"

#include <vector>

#include "Engine/Engine.h"
#include "Engine/text/Name.h"
#include "Engine/world/World.h"
#include "Game/ai/controllers/CharacterController.h"
#include "Game/characters/CharacterRagDoll.h"
#include "Game/core/ObjectLookup.h"

namespace GAME {

namespace {

std::uint32_t ThePlayer() {
    return gGameEngine ? gGameEngine->GetPlayerId() : 0;
}

bool IsFoeOf(const Character& a, const Character& b) {
    const TeamManager* teams = gGameEngine ? gGameEngine->GetTeamManager() : nullptr;
    return teams && teams->IsFoe(a.GetTeam(), b.GetTeam());
}

// The actors within the radius of the point, in world order.
void ActorsAround(std::vector<Entity*>& out, const WorldVec3& at, float radius) {
    out.clear();
    if (at.GetRegion())
        World::Get().GetEntitiesInSphere(
            out, at.GetRegion(), Sphere{at.GetRegionPosition(), radius}, EntityListType::Actors);
}

}  // namespace

void ControllerCyclopsStateScriptedMove::OnBegin() {
    WorldCoords point;
    if (Ctl().GetScriptPoint(0, point)) {
        Monster* self = GetCharacter();
        const WorldVec3 destination = point.GetPosition();
        if (self && self->CanMoveTo(destination, 0.5f)) {
            MoveTo(destination, 0, 0);
            return;
        }
        gEngine->Log(1, "-=- Boos Cyclops could not path to scripted location");
    }
    BullRun();
}

void ControllerCyclopsStateScriptedMove::BullRun() {
    const std::uint32_t player = ThePlayer();
    Ctl().SetMostHatedEnemy(player);
    Go("BullRun", Data({.enemy = player}));
}

void ControllerCyclopsStateBullRun::OnBegin() {
    const std::uint32_t enemy = GetCurrentEnemy();
    if (!mRoared) {
        mRoared = true;
        // The roar runs in front of this state, which begins again when it is done.
        AddTemporaryState("Roar", Data({.enemy = enemy}));
        return;
    }
    Ctl().SetPlayerFocused(true);
    Monster* self = GetCharacter();
    const Character* target = FindCharacter(enemy);
    const WorldVec3 point =
        self && target ? self->GetMoveToPoint(enemy, GetCurrentSkillID(), target->GetPathPosition())
                       : WorldVec3();
    if (point.GetRegion())
        WalkTo(point, enemy);
    else
        Go("Idle");
}

void ControllerCyclopsStateBullRun::OnUpdate(int) {
    Monster* self = GetCharacter();
    if (!self)
        return;
    thread_local std::vector<Entity*> found;
    ActorsAround(found, self->GetPathPosition(), kTrampleRadius);
    const WorldVec3 from = self->GetCoords().GetPosition();
    for (Entity* entity : found) {
        if (entity == self || !entity->IsA<Character>())
            continue;
        auto& victim = static_cast<Character&>(*entity);
        if (victim.IsA<Monster>()) {
            if (!victim.IsAlive() || !IsFoeOf(*self, victim))
                continue;
            CharacterRagDoll::EffectData throwAway;
            throwAway.effect = CharacterRagDoll::TakeHit;
            throwAway.direction = from.VectorTo(victim.GetCoords().GetPosition()).Unit();
            throwAway.speed = kThrowStrength;
            throwAway.amplification = 0.0f;
            victim.SetRagdollData(throwAway, true);
            if (ControllerMonster* brain = static_cast<Monster&>(victim).GetMonsterController())
                brain->KillMe();
        } else if (IsOfClass(&victim, "AmbientCharacter")) {
            if (ControllerCombat* brain = FindController<ControllerCombat>(victim))
                brain->KillMe();
        }
    }
}

void ControllerCyclopsStateBullRun::EndOfPathReached() {
    const std::uint32_t enemy = GetCurrentEnemy();
    const std::uint32_t skill = Ctl().ChooseBestSkill(enemy, false);
    mRoared = false;
    if (CloseEnoughToUseSkill(enemy, skill) && IsPathClear(enemy)) {
        Go("Attack", Data({.enemy = enemy, .skill = skill}));
        gEngine->Log(1, "-=-=-=- Bullrun -> Attack ");
    } else {
        Go("Pursue", Data({.enemy = enemy, .skill = skill}));
        gEngine->Log(1, "-=-=-=- Bullrun -> Pursue ");
    }
}

void ControllerCyclopsStateRoar::OnBegin() {
    static const Name kRoar = Name::Create("Roar");
    PlayAnimation(AnimationSet_Type::Special, kRoar, 1.0f, false, 0);
    Monster* self = GetCharacter();
    if (!self)
        return;
    thread_local std::vector<Entity*> found;
    ActorsAround(found, self->GetCoords().GetPosition(), kPanicRadius);
    for (Entity* entity : found) {
        if (entity == self || !entity->IsA<Monster>())
            continue;
        auto& other = static_cast<Monster&>(*entity);
        if (!IsFoeOf(*self, other))
            continue;
        if (ControllerMonster* brain = other.GetMonsterController())
            brain->Panic(SelfId());
    }
}

void ControllerCyclopsStateRoar::HandleEvent(const Name& name) {
    static const Name kEnd = Name::Create("End");
    if (name == kEnd)
        SetDone(true);
}

void ControllerCyclopsStateReturn::OnBegin() {
    const std::uint32_t player = ThePlayer();
    const TeamManager* teams = gGameEngine ? gGameEngine->GetTeamManager() : nullptr;
    // A foe it cannot fight (dead, out of its pursuit range) would send "Attack" straight back
    // here, without end: it rests instead.
    if (player != 0 && teams && teams->IsFoe(SelfId(), player) && Ctl().IsEnemyValid(player)) {
        Ctl().SetMostHatedEnemy(player);
        Go("Attack", Data({.enemy = player, .skill = Ctl().ChooseBestSkill(player, false)}));
        return;
    }
    Go("Idle");
}

}  // namespace GAME
