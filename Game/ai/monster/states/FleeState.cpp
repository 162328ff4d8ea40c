#include "Game/ai/monster/states/FleeState.h"

#include <vector>

#include "Engine/sys/Machine.h"
#include "Game/ai/monster/states/MonsterStateHelpers.h"
#include "Game/ai/monster/states/MonsterStateQueries.h"

namespace GAME {

namespace {

// A friend must stand farther than this to be fled towards.
constexpr float kMinAllyDistance = 3.0f;

}  // namespace

void ControllerMonsterStateFlee::OnBegin() {
    ControllerMonster* controller = GetController();
    controller->IncrementFleeCount();
    WorldVec3 point;
    if (PickFleePoint(point)) {
        Monster* monster = GetCharacter();
        monster->PlayNetSound(monster->GetFleeSound());
        MoveTo(point, 0, 0);
        mFleeCountdown = controller->GetFleeTime();
        mFlightStarted = true;
        return;
    }
    mFlightStarted = false;
    Go("Idle");
}

void ControllerMonsterStateFlee::OnEnd() {
    ControllerMonster* controller = GetController();
    controller->ResetFleeTimer();
    if (!mFlightStarted)
        return;
    if (controller->GetClearAngerWhenFleeing())
        controller->ClearAnger();
    if (controller->GetResetOriginAfterFleeing())
        if (Monster* monster = GetCharacter())
            monster->SetSpawnPoint(monster->GetCoords());
}

void ControllerMonsterStateFlee::OnUpdate(int ms) {
    mFleeCountdown -= ms;
    if (mFleeCountdown < 0)
        Go("Idle");
}

void ControllerMonsterStateFlee::EndOfPathReached() {
    Go("Idle");
}

bool ControllerMonsterStateFlee::PickFleePoint(WorldVec3& out) {
    Monster* monster = GetCharacter();
    const Character* enemy = FindCharacter(GetCurrentEnemy());
    if (!monster || !enemy)
        return false;
    const Vec3 away = enemy->GetPathPosition().VectorTo(monster->GetPathPosition()).Unit();
    switch (GetController()->GetFleeTarget()) {
        case ControllerMonster::AwayFromEnemy:
            return PickPointAwayFromEnemy(out, away);
        case ControllerMonster::TowardsAllies:
            return PickPointTowardsAllies(out, away);
        case ControllerMonster::TowardsHome:
            out = GetController()->GetHomePosition();
            return true;
        default:
            return false;
    }
}

bool ControllerMonsterStateFlee::PickPointAwayFromEnemy(WorldVec3& out, const Vec3& away) {
    const float distance = GetController()->GetFleeDistance();
    const float u = MonsterRandomFloat(-1.0f, 1.0f);
    const float v = MonsterRandomFloat(-1.0f, 1.0f);
    out = GetCharacter()->GetPathPosition();
    out.TranslateToFloor(Vec3(away.x * distance + u, away.y * distance, away.z * distance + v));
    return true;
}

bool ControllerMonsterStateFlee::PickPointTowardsAllies(WorldVec3& out, const Vec3& away) {
    Monster* monster = GetCharacter();
    ControllerMonster* controller = GetController();
    const WorldVec3 home = controller->GetHomePosition();
    const WorldVec3 position = monster->GetPathPosition();
    // Kept between calls: a flight is no place to allocate.
    thread_local std::vector<Character*> friends;
    friends.clear();
    controller->GetFriendsInSphere(friends, home.GetRegion(),
                                   Sphere{home.GetRegionPosition(), controller->GetRoamDistance()});
    for (Character* candidate : friends) {
        if (!candidate || !candidate->IsA<Monster>())
            continue;
        const auto* ally = static_cast<const Monster*>(candidate);
        const Vec3 offset = position.VectorTo(ally->GetPathPosition());
        if (offset.Dot(away) <= 0.0f || offset.Length() <= kMinAllyDistance)
            continue;
        const float extents = monster->GetExtents() + ally->GetExtents();
        const float beyond = MonsterRandomFloat(extents, 2.0f * extents);
        out = position;
        out.TranslateToFloor(offset + offset.Unit() * beyond);
        return true;
    }
    return PickPointAwayFromEnemy(out, away);
}

}  // namespace GAME
