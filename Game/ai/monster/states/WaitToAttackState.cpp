// Waiting for a free attack slot at the enemy.
#include <algorithm>

#include "Engine/text/Name.h"
#include "Game/ai/monster/states/CombatStates.h"

namespace GAME {

namespace {
// How often the free slots are counted again, in milliseconds.
constexpr int kSlotRecheckInterval = 333;
// Closer than this to its enemy, a monster circles beyond the enemy instead of around itself.
constexpr float kNearEnemy = 4.0f;
constexpr int kRoamTries = 3;
}  // namespace

void ControllerMonsterStateWaitToAttack::OnBegin() {
    mAnchor = WorldVec3();
    mAnchorRadius = 0.0f;
    mIdleCountdown = 0;
    mWaitingStarted = false;
    mSlotRecheckCountdown = kSlotRecheckInterval;
    if (!EmoteOrRoam())
        Go("Idle");
}

bool ControllerMonsterStateWaitToAttack::Faces(const Vec3& forward, const Vec3& toTarget) {
    // The designers' threshold is against the raw product: a far enemy counts as faced
    // across a wide angle, a near one only straight ahead.
    return forward.Dot(toTarget) > kEmoteCone;
}

bool ControllerMonsterStateWaitToAttack::EmoteOrRoam() {
    ControllerMonster& ctl = Ctl();
    if (crt_rand() % 100 >= ctl.GetEmoteWhenWaitingChance())
        return StartRoaming();
    Monster* self = GetCharacter();
    const Character* enemy = FindCharacter(GetCurrentEnemy());
    if (self && enemy &&
        Faces(self->GetCoords().GetRegionCoords().zAxis,
              self->GetPathPosition().VectorTo(enemy->GetPathPosition())) &&
        self->CanPlayAnimation(AnimationSet_Type::Fidget) && crt_rand() % 2 == 0) {
        PlayAnimation(AnimationSet_Type::Fidget, Name(), 1.0f, false, 0);
        mWaitingStarted = true;
        return true;
    }
    Idle();
    mIdleCountdown = MonsterRandomInt(ctl.GetMinEmoteTime(), ctl.GetMaxEmoteTime());
    mWaitingStarted = true;
    return true;
}

bool ControllerMonsterStateWaitToAttack::StartRoaming() {
    mWaitingStarted = false;
    Monster* self = GetCharacter();
    const Character* enemy = FindCharacter(GetCurrentEnemy());
    if (!self || !enemy)
        return false;
    if (!mAnchor.IsValid()) {
        const WorldVec3 enemyAt = enemy->GetCoords().GetPosition();
        const Vec3 d = self->GetPathPosition().VectorTo(enemyAt);
        const float distance = d.Length();
        float basis = distance;
        if (distance < kNearEnemy) {
            // The point as far beyond the enemy as the monster stands before it.
            mAnchor = enemyAt;
            mAnchor.Translate(d);
            basis = kNearEnemy;
        } else {
            mAnchor = self->GetPathPosition();
        }
        mAnchorRadius = basis * 0.5f;
    }
    for (int attempt = 0; attempt < kRoamTries; ++attempt) {
        WorldVec3 point;
        if (PickRandomPointInVicinity(point, *self, mAnchor, mAnchorRadius, mAnchorRadius, 0.0f,
                                      Ctl().GetMaxYViewDistance())) {
            WalkTo(point, 0);
            return true;
        }
    }
    return false;
}

void ControllerMonsterStateWaitToAttack::OnUpdate(int ms) {
    mSlotRecheckCountdown -= ms;
    if (mSlotRecheckCountdown < 0) {
        ControllerMonster& ctl = Ctl();
        const std::uint32_t enemy = GetCurrentEnemy();
        if (!ctl.IsEnemyValid(enemy)) {
            Go("Return");
            return;
        }
        const std::uint32_t skill = ctl.ChooseBestSkill(enemy, false);
        Monster* self = GetCharacter();
        // A look: Pursue holds the slot as it moves.
        if (self && self->GetMoveToPoint(enemy, skill, PathPositionOf(enemy), false).IsValid()) {
            Go("Pursue", Data({.enemy = enemy, .skill = skill}));
            return;
        }
        mSlotRecheckCountdown = kSlotRecheckInterval;
    }
    if (mIdleCountdown >= 1 && mWaitingStarted) {
        mIdleCountdown -= ms;
        if (mIdleCountdown <= 0 && !StartRoaming())
            Go("Idle");
    }
}

void ControllerMonsterStateWaitToAttack::EndOfPathReached() {
    if (!EmoteOrRoam())
        Go("Idle");
}

void ControllerMonsterStateWaitToAttack::HandleEvent(const Name& name) {
    static const Name end = Name::Create("End");
    if (name != end)
        return;
    Monster* self = GetCharacter();
    if (mWaitingStarted && self && self->CanPlayAnimation(AnimationSet_Type::Fidget) &&
        !StartRoaming())
        Go("Idle");
}

}  // namespace GAME
