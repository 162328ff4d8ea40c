#include "Game/ai/monster/states/FearStates.h"

#include "Engine/Engine.h"
#include "Engine/sys/Machine.h"
#include "Game/ai/monster/states/MonsterStateHelpers.h"
#include "Game/ai/monster/states/MonsterStateQueries.h"
#include "Game/core/net/commands/CharacterCommands.h"

namespace GAME {

namespace {

// A confused monster strays this far from home, and fires at spots this far from it...
constexpr float kWanderRadius = 7.0f;
constexpr float kAttackRadius = 5.0f;
// ...each at least this far from where it stands.
constexpr float kMinStep = 1.0f;
constexpr int kRunToTries = 5;

}  // namespace

// Confused

void ControllerMonsterStateConfused::OnBegin() {
    ShowConfusion(true);
    WalkRandomly();
    mAttackCountdown = crt_rand() % 2000 + 1000;
}

void ControllerMonsterStateConfused::OnEnd() {
    ShowConfusion(false);
}

void ControllerMonsterStateConfused::OnUpdate(int ms) {
    ControllerMonster* controller = GetController();
    controller->SetConfusedTime(controller->GetConfusedTime() - ms);
    if (controller->GetConfusedTime() < 0) {
        Go("Return");
        return;
    }
    mAttackCountdown -= ms;
    if (mAttackCountdown >= 0)
        return;
    WorldVec3 point;
    if (PickRandomPoint(point, kAttackRadius))
        AddTemporaryState("UseSkillOnPoint",
                          Data({.skill = controller->ChooseBestSkill(0, false), .point = point}));
}

bool ControllerMonsterStateConfused::PickRandomPoint(WorldVec3& out, float maxRadius) {
    Monster* monster = GetCharacter();
    if (!monster)
        return false;
    ControllerMonster* controller = GetController();
    return PickRandomPointInVicinity(out, *monster, controller->GetHomePosition(),
                                     2.0f * monster->GetExtents(), maxRadius, kMinStep,
                                     controller->GetMaxYViewDistance());
}

void ControllerMonsterStateConfused::WalkRandomly() {
    if (!GetController()->CanMove())
        return;
    WorldVec3 point;
    if (!PickRandomPoint(point, kWanderRadius))
        return;
    if (GetCharacter()->CanWalk())
        WalkTo(point, 0);
    else
        MoveTo(point, 0, 0);
}

void ControllerMonsterStateConfused::ShowConfusion(bool on) {
    if (Monster* monster = GetCharacter())
        monster->Enqueue(std::make_unique<StartStopDamageEffectConfigCmd>(
            monster->GetObjectId(), on, CombatAttributeType::Confusion));
}

// Scared

void ControllerMonsterStateScared::OnBegin() {
    mRepickCountdown = 0;
    mHideCountdown = 0;
    WorldVec3 point;
    if (PickRunToPoint(point)) {
        Monster* monster = GetCharacter();
        monster->PlayNetSound(monster->GetFleeSound());
        MoveTo(point, 0, 0);
    } else {
        Hide();
    }
}

void ControllerMonsterStateScared::OnUpdate(int ms) {
    if (!GetController()->StillScared()) {
        Go("Return");
        return;
    }
    if (mHideCountdown > 0) {
        mHideCountdown -= ms;
        if (mHideCountdown > 0)
            return;
    }
    mRepickCountdown -= ms;
    if (mRepickCountdown < 0)
        RunOrHide();
}

bool ControllerMonsterStateScared::PickRunToPoint(WorldVec3& out) {
    Monster* monster = GetCharacter();
    if (!monster)
        return false;
    const Character* enemy = FindCharacter(GetCurrentEnemy());
    if (!enemy) {
        gEngine->Log(2, "%s is scared of an invalid enemy.", monster->GetObjectName().c_str());
        return false;
    }
    const float distance = GetController()->GetFleeDistance();
    const WorldVec3 position = monster->GetPathPosition();
    const Vec3 away = enemy->GetPathPosition().VectorTo(position).Unit();
    bool found = false;
    for (int attempt = 0; attempt < kRunToTries && !found; ++attempt) {
        const float u = MonsterRandomFloat(-1.0f, 1.0f);
        const float v = MonsterRandomFloat(-1.0f, 1.0f);
        out = position;
        // Off the ground the try fails: the monster would stay where it is.
        found = out.TranslateToFloor(
                    Vec3(away.x * distance + u, away.y * distance, away.z * distance + v)) &&
                monster->CanMoveTo(out, kMonsterMoveTolerance);
    }
    mRepickCountdown = static_cast<int>(MonsterRandomFloat(1000.0f, 2000.0f));
    return found;
}

void ControllerMonsterStateScared::Hide() {
    Idle();
    mRepickCountdown = 0;
    mHideCountdown = static_cast<int>(MonsterRandomFloat(500.0f, 1000.0f));
}

void ControllerMonsterStateScared::RunOrHide() {
    WorldVec3 point;
    if (PickRunToPoint(point))
        MoveTo(point, 0, 0);
    else
        Hide();
}

}  // namespace GAME
