#include "Game/ai/npc/herd/HerdStates.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "Game/ai/monster/states/MonsterStateQueries.h"
#include "Game/characters/npc/herd/NpcHerdRegistry.h"

namespace GAME {

// DirectHerd

void ControllerNpcStateDirectHerd::OnBegin() {
    Idle();
    mRestCountdown = GetController()->GetRandom().Int(kRestMinMs, kRestMaxMs);
}

void ControllerNpcStateDirectHerd::OnUpdate(int ms) {
    mRestCountdown -= ms;
    Npc* herder = GetCharacter();
    if (mRestCountdown > 0 || !herder || herder->IsMoving())
        return;
    NpcRandom& random = GetController()->GetRandom();
    mRestCountdown = random.Int(kRestMinMs, kRestMaxMs);
    WorldVec3 target = herder->GetSpawnPoint().GetPosition();
    const float u = random.Float(-kStrollRange, kStrollRange);
    const float v = random.Float(-kStrollRange, kStrollRange);
    if (target.region && target.TranslateToFloor(Vec3(u, 0.0f, v)) &&
        herder->CanMoveTo(target, kNpcMoveTolerance))
        WalkTo(target, 0);
}

// FollowHerd

void ControllerNpcAnimalStateFollowHerd::OnBegin() {
    Idle();
    mLookCountdown = GetController()->GetRandom().Int(0, kLookMinMs);
}

void ControllerNpcAnimalStateFollowHerd::OnUpdate(int ms) {
    mLookCountdown -= ms;
    if (mLookCountdown > 0)
        return;
    mLookCountdown = GetController()->GetRandom().Int(kLookMinMs, kLookMaxMs);
    _MoveToPersonalHerdLocation();
}

void ControllerNpcAnimalStateFollowHerd::_MoveToPersonalHerdLocation() {
    Npc* animal = GetCharacter();
    if (!animal || animal->IsMoving())
        return;
    const NpcHerd* herd = NpcHerdRegistry::Get().FindHerd(animal->GetObjectName());
    if (!herd)
        return;
    const auto& members = herd->GetMembers();
    // Without a herder the herd keeps to its first animal.
    mHerderId =
        herd->GetHerderId() != 0 ? herd->GetHerderId() : (members.empty() ? 0 : members.front());
    const Character* herder = FindCharacter(mHerderId);
    if (!herder || herder == animal || !herder->GetRegion())
        return;
    const auto place = std::find(members.begin(), members.end(), animal->GetObjectId());
    const auto index = static_cast<float>(place - members.begin());
    const float angle = 2.0f * std::numbers::pi_v<float> * index /
                        static_cast<float>(std::max<std::size_t>(members.size(), 1));
    WorldVec3 target = herder->GetPathPosition();
    if (!target.TranslateToFloor(
            Vec3(kRingRadius * std::sin(angle), 0.0f, kRingRadius * std::cos(angle))))
        return;
    if (animal->GetPathPosition().DistanceTo(target) <= kStrayDistance ||
        !animal->CanMoveTo(target, kNpcMoveTolerance))
        return;
    WalkTo(target, 0);
}

// Wiggle

void ControllerNpcAnimalStateWiggle::HandleEvent(const Name& event) {
    if (IsEndEvent(event))
        SetDone(true);
}

}  // namespace GAME
