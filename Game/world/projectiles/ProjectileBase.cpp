#include "Game/world/projectiles/ProjectileBase.h"

#include <algorithm>

#include "Engine/media/graphics/EffectEntity.h"
#include "Engine/media/graphics/WeaponTrail.h"
#include "Engine/media/physics/CollisionData.h"
#include "Engine/media/physics/PhysicsEngine.h"
#include "Engine/object/EngineClasses.h"
#include "Engine/records/LoadTable.h"
#include "Engine/world/World.h"
#include "Game/characters/Character.h"
#include "Game/characters/CharacterLookup.h"
#include "Game/core/GameEngine.h"
#include "Game/core/ObjectLookup.h"
#include "Game/core/players/Team.h"
#include "Game/world/props/Decoration.h"

namespace GAME {

RTTI_IMPLEMENT(ProjectileBase, Actor)

namespace {

const Name& EndEvent() {
    static const Name name = Name::Create("End");
    return name;
}

bool AtOrigin(const Vec3& v) {
    return v.x == 0.0f && v.y == 0.0f && v.z == 0.0f;
}

}  // namespace

ProjectileBase::ProjectileBase() = default;
ProjectileBase::~ProjectileBase() = default;

void ProjectileBase::Load(const LoadTable& table) {
    Actor::Load(table);
    mProjectileVelocity = table.GetFloat("projectileVelocity", 0.0f);
    mProjectileDistance = table.GetFloat("projectileDistance", 0.0f);
    mHitTimeToLive = static_cast<int>(table.GetFloat("projectileHitTimeToLive", 0.0f) * 1000.0f);
    mMissTimeToLive = static_cast<int>(table.GetFloat("projectileMissTimeToLive", 0.0f) * 1000.0f);
    mHitSound.Reset(GetSoundPakFromRecord(table, "projectileHitSound"));
    mExplodingHitSound.Reset(GetSoundPakFromRecord(table, "projectileExplodingHitSound"));
    mSwipeSound.Reset(GetSoundPakFromRecord(table, "projectileSwipeSound"));
    mBounceSound.Reset(GetSoundPakFromRecord(table, "projectileBounceSound"));
    mDestructSound.Reset(GetSoundPakFromRecord(table, "projectileDestructSound"));
    mLaunchAngle = table.GetFloat("launchAngle", 0.0f);
    mNotificationRadius = table.GetFloat("notificationRadius", 5.0f);
    mWeaponTrailName = table.GetString("projectileWeaponTrail");
    const std::string flightFx = table.GetString("projectileFlightFX");
    if (!flightFx.empty())
        mFlightFx.LoadFX(flightFx, this);
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    mImpactFxName = table.GetString("projectileImpactFX");
    if (!mImpactFxName.empty())
        mImpactFx.Reset(objects.CreateObjectFromFile(mImpactFxName));
    mExplodingImpactFxName = table.GetString("projectileExplodingImpactFX");
    if (!mExplodingImpactFxName.empty())
        mExplodingImpactFx.Reset(objects.CreateObjectFromFile(mExplodingImpactFxName));
    const std::string launch = table.GetString("projectileLaunchAnimation");
    if (!launch.empty())
        mLaunchAnimation.Load(launch, table.GetFloat("projectileLaunchAnimationSpeed", 0.0f));
    const std::string flight = table.GetString("projectileFlightAnimation");
    if (!flight.empty())
        mFlightAnimation.Load(flight, table.GetFloat("projectileFlightAnimationSpeed", 0.0f));
}

void ProjectileBase::PreLoad(bool now) {
    Actor::PreLoad(now);
    for (auto* sound :
         {&mHitSound, &mExplodingHitSound, &mSwipeSound, &mBounceSound, &mDestructSound})
        if (SoundPak* pak = sound->Get())
            pak->PreLoad(now);
    if (Object* fx = mImpactFx.Get())
        fx->PreLoad(now);
    if (Object* fx = mExplodingImpactFx.Get())
        fx->PreLoad(now);
    mFlightFx.PreLoad(now);
}

float ProjectileBase::GetLaunchAngle() const {
    return std::clamp(mLaunchAngle, 10.0f, 80.0f);
}

void ProjectileBase::LoadInfo(const ProjectileInfo& info, std::uint32_t seed) {
    mInfo = info;
    mRandom.Seed(seed);
}

void ProjectileBase::ProjectileGo() {
    mPathOrigin = mInfo.start.GetPosition();
}

bool ProjectileBase::EnterWorld(const WorldCoords& coords) {
    return World::Get().AddEntity(this, coords, true);
}

Vec3 ProjectileBase::ToStartSpace(const WorldVec3& point) const {
    const Region* region = GetRegion();
    return region ? point.GetWorldPosition() - region->GetOffset() : point.local;
}

// --- Physics ---

void ProjectileBase::SetPhysicsType(int type) {
    PhysicsEngine::Get().SetPhysicsType(this, type);
}

void ProjectileBase::EnableGravity(bool on) {
    PhysicsEngine::Get().SetGravity(this, on);
}

void ProjectileBase::SetLinearVelocity(const Vec3& velocity) {
    PhysicsEngine::Get().SetEntityLinearVelocity(this, velocity);
}

void ProjectileBase::SetAngularVelocity(const Vec3& velocity) {
    PhysicsEngine::Get().SetEntityAngularVelocity(this, velocity);
}

bool ProjectileBase::CanCollide(const Entity& other) const {
    return other.IsA<Decoration>() || other.IsA<Tile>() || IsOfClass(&other, "FixedItemDoor");
}

void ProjectileBase::CollisionCallback(const CollisionData& data) {
    mAnimationState = 0;
    EnableGravity(true);
    SetPhysicsType(0);
    PhysicsEngine::Get().RemoveEntityFromSimulation(this);
    if (Character* caster = FindCharacter(mInfo.casterId))
        caster->ProjectileCollisionCallback(mInfo, data);
}

// --- Sounds and effects ---

void ProjectileBase::PlaySwipeSound(const WorldVec3& where) {
    if (SoundPak* sound = mSwipeSound.Get()) {
        sound->Play(where, false, true);
        sound->Track(GetObjectId());
    }
}

void ProjectileBase::PlayHitSound(const WorldVec3& where) {
    if (SoundPak* sound = mHitSound.Get())
        sound->Play(where, false, true);
}

void ProjectileBase::PlayExplodingHitSound(const WorldVec3& where) {
    if (SoundPak* sound = mExplodingHitSound.Get())
        sound->Play(where, false, true);
}

void ProjectileBase::PlayBounceSound(const WorldVec3& where) {
    if (SoundPak* sound = mBounceSound.Get()) {
        sound->Play(where, false, true);
        sound->Track(GetObjectId());
    }
}

void ProjectileBase::PlayDestructSound(const WorldVec3& where) {
    if (SoundPak* sound = mDestructSound.Get())
        sound->Play(where, false, true);
}

void ProjectileBase::CreateEffectAt(const std::string& record) {
    if (record.empty() || !GetRegion())
        return;
    auto* effect = Singleton<ObjectManager>::Get().CreateObjectFromFile<EffectEntity>(record);
    if (!effect)
        return;
    effect->StartEmitting();
    effect->AddToWorld(WorldCoords(GetRegion(), Coords::FromOrigin(GetCoords().coords.origin)),
                       true);
    // Nobody holds it: it goes once its particles are gone.
    effect->StopEmitting();
    effect->SetDeleteWhenDone(true);
}

void ProjectileBase::CreateImpactFx() {
    CreateEffectAt(mImpactFxName);
}

void ProjectileBase::CreateExploadingImpactFx() {
    CreateEffectAt(mExplodingImpactFxName);
}

// --- Animations and trails ---

void ProjectileBase::StartLaunchAnimation() {
    mAnimationState = 1;
    if (!mLaunchAnimation.PlayOnce(*this))
        StartFlightAnimation();
}

void ProjectileBase::StartFlightAnimation() {
    mAnimationState = 2;
    mFlightAnimation.PlayLoop(*this);
}

void ProjectileBase::AnimationCallback(int channel, const Name& event) {
    Actor::AnimationCallback(channel, event);
    if (mAnimationState == 1 && event == EndEvent())
        StartFlightAnimation();
}

void ProjectileBase::BuildWeaponTrails() {
    const Vec3 own = GetCoords().coords.origin;
    mWeaponTrailCount = 0;
    if (!AtOrigin(GetAttachedCoords("Anchor1").coords.origin - own))
        mWeaponTrailCount = AtOrigin(GetAttachedCoords("Anchor3").coords.origin - own) ? 1 : 2;
    for (auto& trail : mWeaponTrails) {
        if (Entity* old = Singleton<ObjectManager>::Get().GetObject<Entity>(trail.GetId()))
            Detach(old);
        trail.Reset();
    }
    if (mWeaponTrailName.empty())
        return;
    Vec3 min, max;
    GetPoseBounds(min, max);
    for (int i = 0; i < mWeaponTrailCount; ++i) {
        auto* trail =
            Singleton<ObjectManager>::Get().CreateObjectFromFile<WeaponTrail>(mWeaponTrailName);
        if (!trail)
            continue;
        trail->SetPointSetIndex(i);
        trail->SetBoundingBox(min, max);
        Attach(trail, Coords::Identity(), "");
        trail->Start();
        mWeaponTrails[i].Reset(trail);
    }
}

// --- Frames ---

void ProjectileBase::UpdateSelf(int elapsedMs) {
    Actor::UpdateSelf(elapsedMs);
    if (mRebuildTrails) {
        mRebuildTrails = false;
        BuildWeaponTrails();
        return;
    }
    if (mDeleted)
        return;
    mNotificationCountdown -= elapsedMs;
    if (mNotificationCountdown < 0) {
        mNotificationCountdown = kNotificationInterval;
        NotifyMonsters();
    }
}

void ProjectileBase::NotifyMonsters() {
    Character* caster = FindCharacter(mInfo.casterId);
    if (!caster || !GetRegion() || !gGameEngine)
        return;
    const TeamManager* teams = gGameEngine->GetTeamManager();
    const Team casterTeam = caster->GetTeam();
    mNearby.clear();
    World::Get().GetEntitiesInSphere(mNearby, GetRegion(),
                                     Sphere{GetCoords().coords.origin, mNotificationRadius},
                                     EntityListType::Actors);
    mFound.clear();
    for (Entity* entity : mNearby)
        if (auto* character = dynamic_cast<Character*>(entity)) {
            const Team other = character->GetTeam();
            if (teams ? teams->IsFoe(casterTeam, other) : casterTeam.IsFoe(other))
                mFound.push_back(character->GetObjectId());
        }
    // By id: a warned monster may act on the world the query walked.
    const std::uint32_t self = GetObjectId();
    for (std::uint32_t id : mFound)
        if (Character* character = FindCharacter(id))
            character->ProjectileNotification(self);
}

void ProjectileBase::DeleteProjectile() {
    if (mDeleted)
        return;
    mDeleted = true;
    for (auto& trail : mWeaponTrails)
        if (auto* weaponTrail =
                Singleton<ObjectManager>::Get().GetObject<WeaponTrail>(trail.GetId()))
            weaponTrail->Stop();
    mFlightFx.ReleaseFx(GetCoords());
    World::Get().RemoveEntity(this);
    Singleton<ObjectManager>::Get().DestroyObjectEx(this, kSourceFile, __LINE__);
}

}  // namespace GAME
