// The launches the kinds share (straight and lobbed) and the flying update of the straight
// kinds (arrows, fireballs, terrain-following).
#include <numbers>

#include "Engine/object/ObjectManager.h"
#include "Game/characters/Character.h"
#include "Game/characters/CharacterLookup.h"
#include "Game/world/projectiles/ProjectileBase.h"

namespace GAME {

void ProjectileBase::GoStraight(float aimThreshold) {
    ProjectileBase::ProjectileGo();
    EnterWorld(mInfo.start);
    const Character* target = FindCharacter(mInfo.targetId);
    WorldVec3 aim = mInfo.targetPosition;
    if (target)
        aim = GetHitPoint(*target);
    else
        aim.Translate(Vec3(0.0f, 1.0f, 0.0f));
    if (target || GetPosition().DistanceTo(aim) >= aimThreshold)
        MoveStraightLine(aim);
    else
        MoveStraightLine();
    StartFlightFx();
    StartLaunchAnimation();
}

void ProjectileBase::GoLobbed() {
    ProjectileBase::ProjectileGo();
    EnterWorld(mInfo.start);
    const Character* target = FindCharacter(mInfo.targetId);
    MoveTrajectory(target ? target->GetPosition() : mInfo.targetPosition,
                   GetLaunchAngle() * (std::numbers::pi_v<float> / 180.0f), true);
    StartFlightFx();
    StartLaunchAnimation();
}

ProjectileBase::StraightFlight ProjectileBase::FlyStraight() {
    const float draw = mRandom.FGenerate(0.1f, 100.0f);
    const bool pierces = draw < GetPiercingModifier(mInfo.skillId) + mInfo.piercingChance;
    ProcessPathTargets(!pierces, mHits);
    bool exploded = false;
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    for (std::uint32_t id : mHits) {
        const Actor* actor = objects.GetObject<Actor>(id);
        if (!actor)
            continue;
        const WorldCoords at = actor->GetCoords();
        if (ProcessExplosion(false, at)) {
            exploded = true;
            PlayExplodingHitSound(at.GetPosition());
        } else {
            PlayHitSound(at.GetPosition());
        }
        ProcessFragmentation(id, at);
    }
    if (!mHits.empty()) {
        if (exploded)
            CreateExploadingImpactFx();
        else
            CreateImpactFx();
        if (!pierces)
            return StraightFlight::Hit;
    }
    if (mInfo.start.GetPosition().DistanceTo(GetPosition()) >= GetDistance())
        return StraightFlight::OutOfRange;
    return StraightFlight::Flying;
}

}  // namespace GAME
