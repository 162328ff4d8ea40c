#include "Game/world/projectiles/ProjectileTelekinesis.h"

#include <algorithm>

#include "Engine/media/physics/CollisionData.h"
#include "Engine/media/physics/PhysicsEngine.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/records/LoadTable.h"
#include "Engine/world/World.h"
#include "Engine/world/nav/DynamicObstacle.h"
#include "Game/characters/Character.h"
#include "Game/characters/CharacterLookup.h"
#include "Game/core/GameEngine.h"
#include "Game/core/ObjectLookup.h"
#include "Game/skills/Skill.h"
#include "Game/world/WorldRandom.h"
#include "Game/world/effects/FxPak.h"

namespace GAME {

RTTI_IMPLEMENT(ProjectileTelekinesis, ProjectileBase)

ProjectileTelekinesis::ProjectileTelekinesis() = default;
ProjectileTelekinesis::~ProjectileTelekinesis() = default;

void ProjectileTelekinesis::Load(const LoadTable& table) {
    ProjectileBase::Load(table);
    mInitialImpactSound.Reset(GetSoundPakFromRecord(table, "initialImpactSound"));
    mExplodeOnFirstImpact = table.GetInt("explodeOnFirstImpact", 0) != 0;
    mExplosionEffect =
        table.GetString("explosionEffect", "Records/Effects/Storm/LStrike_FxPak01.dbr");
}

void ProjectileTelekinesis::PreLoad(bool now) {
    ProjectileBase::PreLoad(now);
    if (SoundPak* sound = mInitialImpactSound.Get())
        sound->PreLoad(now);
}

bool ProjectileTelekinesis::CanCollide(const Entity& other) const {
    return ProjectileBase::CanCollide(other) || other.IsA<ProjectileTelekinesis>();
}

WorldCoords ProjectileTelekinesis::GetFlightCoords() const {
    WorldCoords coords = GetCoords();
    coords.coords.origin += coords.coords.TransformVector(GetCenterOfMass());
    return coords;
}

void ProjectileTelekinesis::ProjectileCome(std::uint32_t holderId) {
    mSummonedAt = GetCoords();
    mPathOrigin = GetPosition();
    StartFlightFx();
    StartLaunchAnimation();
    mHolderId = holderId;
    mState = Summoned;
    mComeCountdown = kComeMs;
    mFirstImpactPlayed = false;
}

void ProjectileTelekinesis::ProjectileGo() {
    if (!IsInWorld())
        EnterWorld(mInfo.start);
    const Character* target = FindCharacter(mInfo.targetId);
    MoveToTarget(target ? GetHitPoint(*target) : mInfo.targetPosition);
    mPathOrigin = GetPosition();
    StartFlightFx();
    StartLaunchAnimation();
    mState = Thrown;
    mInfo.team.Set(Team::Hostile, 0);
    UpdateSelf(0);
}

void ProjectileTelekinesis::MoveToTarget(const WorldVec3& aim) {
    EnableGravity(false);
    SetPhysicsType(PhysicsEngine::kFlyingType);
    WorldCoords coords = GetCoords();
    const Vec3 direction = ToStartSpace(aim) - coords.coords.origin;
    if (direction.LengthSquared() > 0.0f)
        coords.coords = Coords::FromDirection(coords.coords.origin, direction, Vec3(0, 1, 0));
    SetCoords(coords);
    SetLinearVelocity(coords.coords.zAxis * GetProjectileVelocity());
    SetAngularVelocity(coords.coords.xAxis * 8.0f);
}

void ProjectileTelekinesis::ProjectileFall() {
    EnterWorld(mInfo.start);
    EnableGravity(true);
    SetPhysicsType(PhysicsEngine::kFlyingType);
    SetLinearVelocity(Vec3());
    // Only looks: drawn from a generator of its own, never one that game logic shares.
    CrtGenerator spin;
    spin.Seed(GetObjectId());
    const float x = spin.Float(-1.0f, 1.0f);
    const float y = spin.Float(-1.0f, 1.0f);
    const float z = spin.Float(-1.0f, 1.0f);
    SetAngularVelocity(Vec3(x, y, z));
    mPathOrigin = GetPosition();
    StartFlightFx();
    StartLaunchAnimation();
    mState = Falling;
    mInfo.team.Set(Team::Monster, 0);
    UpdateSelf(0);
}

void ProjectileTelekinesis::ProjectileStop(bool) {
    EnableGravity(true);
    SetPhysicsType(0);
    SetLinearVelocity(Vec3());
    StopFlightFx();
    mState = Idle;
    mHolderId = 0;
    mKnown.clear();
}

void ProjectileTelekinesis::Release() {
    if (mHolderId == 0)
        return;
    mHolderId = 0;
    EnableGravity(true);
    SetPhysicsType(PhysicsEngine::kFlyingType);
}

void ProjectileTelekinesis::Explode(bool withSound) {
    SetVisibility(false);
    SetLinearVelocity(Vec3());
    EnableGravity(false);
    SetPhysicsType(0);
    CreateExplosionEffect();
    if (withSound)
        PlayExplodingHitSound(GetFlightCoords().GetPosition());
    mState = Exploded;
}

void ProjectileTelekinesis::CreateExplosionEffect() {
    if (mExplosionEffect.empty() || !GetRegion())
        return;
    if (auto* pack = Singleton<ObjectManager>::Get().CreateObjectFromFile<FxPak>(mExplosionEffect))
        World::Get().AddEntity(
            pack, WorldCoords(GetRegion(), Coords::FromOrigin(GetCoords().coords.origin)), true);
}

void ProjectileTelekinesis::CollisionCallback(const CollisionData&) {
    if (!mFirstImpactPlayed) {
        mFirstImpactPlayed = true;
        if (SoundPak* sound = mInitialImpactSound.Get())
            sound->Play(GetPosition(), false, true);
    }
    if (mState == Thrown) {
        Explode(true);
    } else if (mState == Falling) {
        if (mExplodeOnFirstImpact) {
            Explode(true);
            return;
        }
        StopFlightFx();
        mState = Idle;
        mHolderId = 0;
        mKnown.clear();
        CreateImpactFx();
    }
}

void ProjectileTelekinesis::FindAndProcessTargets(bool thrown) {
    if (!gGameEngine)
        return;
    const WorldCoords at = GetFlightCoords();
    std::vector<std::uint32_t>& found = mHits;
    found.clear();
    if (thrown)
        gGameEngine->GetAllTargetsInRadius(mInfo.team, at.GetPosition(), GetBoundingRadius(), found,
                                           mInfo.casterId);
    else
        gGameEngine->GetTargetsInRadius(mInfo.team, at.GetPosition(), GetBoundingRadius(), found, 0,
                                        false);
    std::erase_if(found, [&](std::uint32_t id) {
        if (std::find(mKnown.begin(), mKnown.end(), id) != mKnown.end())
            return true;
        mKnown.push_back(id);
        return false;
    });
    if (found.empty())
        return;
    if (Skill* skill = Singleton<ObjectManager>::Get().GetObject<Skill>(mInfo.skillId))
        skill->TargetInformation(mInfo, at, found);
    PlayHitSound(at.GetPosition());
}

void ProjectileTelekinesis::UpdateSelf(int elapsedMs) {
    ProjectileBase::UpdateSelf(elapsedMs);
    if (mState == Thrown || mState == Falling)
        FindAndProcessTargets(mState == Thrown);
    if (mState == Summoned) {
        // Let go when the come timer runs out, whether or not its skill is still there.
        mComeCountdown -= elapsedMs;
        if (mComeCountdown <= 0) {
            Release();
            StopFlightFx();
            mState = Idle;
            mKnown.clear();
        }
    }
    if (mState == Exploded) {
        mState = Deleted;
        RemovePathObstacle();
        DeleteProjectile();
        return;
    }
    if (mState != Idle || IsSimulationEnabled())
        RemovePathObstacle();
    else if (!mObstacle)
        CreatePathObstacle();
}

void ProjectileTelekinesis::CreatePathObstacle() {
    RemovePathObstacle();
    if (!GetRegion())
        return;
    const float r = GetBoundingRadius();
    auto obstacle = std::make_unique<DynamicObstacle>();
    if (!obstacle->Create(
            GetRegion(), OrientedBox{Coords::FromOrigin(GetCoords().coords.origin), Vec3(r, r, r)}))
        return;
    obstacle->Attach();
    mObstacle = std::move(obstacle);
}

void ProjectileTelekinesis::RemovePathObstacle() {
    if (!mObstacle)
        return;
    mObstacle->Detach();
    mObstacle.reset();
}

}  // namespace GAME
