#pragma once
// The actor a skill launches. The skill creates it from its record, hands it a ProjectileInfo,
// a seed and its projectile modifiers, and tells it to go; from then on the projectile flies by
// itself (the engine's physics moves it), finds the characters along its path or inside its
// explosion radius and hands each group of new targets to the skill that owns them
// (Skill::TargetInformation). It never applies damage. Every machine runs its own copy from the
// same launch command and seed, so every roll it makes (fumble, piercing, fragments) agrees;
// it sends nothing over the network.
//
// The base holds what is shared: record values, sounds, effects, animations, weapon trails,
// aiming (straight and ballistic), the fumble, path targeting, explosions, fragments, the
// warning of monsters near its path, and deletion. The kinds decide how it enters the world,
// moves and ends; the base's own ProjectileGo only records the path origin.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Engine/media/sound/SoundPak.h"
#include "Engine/object/Object.h"
#include "Engine/sys/RandomUniform.h"
#include "Game/characters/anim/OwnedAnimation.h"
#include "Game/items/OwnedObject.h"
#include "Game/world/effects/SpecialFX.h"
#include "Game/world/projectiles/ProjectileInfo.h"

namespace GAME {

class Character;

class ProjectileBase : public Actor {
    RTTI_DECLARE(ProjectileBase)
public:
    static constexpr const char* kSourceFile = "Game/ProjectileBase";
    static constexpr int kNotificationInterval = 200;

    using ProjectileModifierStruct = GAME::ProjectileModifierStruct;

    ProjectileBase();
    ~ProjectileBase() override;

    void Load(const LoadTable& table) override;
    void PreLoad(bool now) override;
    void CollisionCallback(const CollisionData& data) override;
    bool CanCollide(const Entity& other) const override;
    bool OccludesPathing() const override { return false; }
    void AnimationCallback(int channel, const Name& event) override;
    void UpdateSelf(int elapsedMs) override;

    virtual float GetDistance() const { return mProjectileDistance; }
    // Commands of a networked projectile that no kind sends.
    virtual void MoveToLocationCommand() {}
    virtual void SingleTargetCommand() {}
    virtual void MultipleTargetCommand() {}
    virtual void ProjectileStateUpdateCommand() {}
    virtual float GetHitTime() const { return static_cast<float>(mHitTimeToLive); }
    virtual float GetMissTime() const { return static_cast<float>(mMissTimeToLive); }
    // Degrees, 10 to 80.
    virtual float GetLaunchAngle() const;
    virtual void LoadInfo(const ProjectileInfo& info, std::uint32_t seed);
    virtual void AddProjectileModifier(const ProjectileModifierStruct& modifier);
    virtual void ProjectileGo();
    virtual void SetMaster(bool master) { mMaster = master; }
    virtual void PlaySwipeSound(const WorldVec3& where);
    virtual WorldCoords GetFlightCoords() const { return GetCoords(); }
    virtual void NotifyMonsters();

    bool IsMaster() const { return mMaster; }
    const ProjectileInfo& GetInfo() const { return mInfo; }
    bool IsDeleted() const { return mDeleted; }
    const WorldVec3& GetPathOrigin() const { return mPathOrigin; }
    const std::vector<ProjectileModifierStruct>& GetModifiers() const { return mModifiers; }
    int GetWeaponTrailCount() const { return mWeaponTrailCount; }
    float GetProjectileVelocity() const { return mProjectileVelocity; }

    // Every path, explosion and fragment entry knows exactly these targets from now on.
    void SetFilteredTargets(const std::vector<std::uint32_t>& ids);
    // Of the ids that name characters, the one nearest the point (less its extent); 0: none.
    std::uint32_t FindClosestTarget(const std::vector<std::uint32_t>& ids,
                                    const WorldVec3& point) const;
    // The character's "Target" attach point.
    WorldVec3 GetHitPoint(const Character& character) const;
    // The piercing of every received modifier of that skill, summed.
    float GetPiercingModifier(std::uint32_t skillId) const;

    void PlayHitSound(const WorldVec3& where);
    void PlayExplodingHitSound(const WorldVec3& where);
    void PlayBounceSound(const WorldVec3& where);
    void PlayDestructSound(const WorldVec3& where);
    // Once: the flight effect is let go where it is, the projectile leaves the world and is
    // destroyed. Nothing of it may be touched afterwards.
    void DeleteProjectile();

protected:
    struct ModifierEntry {
        ProjectileModifierStruct modifier;
        // Handed to the entry's skill already: at most once per projectile.
        std::vector<std::uint32_t> known;
    };

    // Straight flight at the point (turned to look at it, with the speed modifier), or along
    // the current facing without the modifier.
    void MoveStraightLine(const WorldVec3& target);
    void MoveStraightLine();
    // Ballistic flight at the point, launched `angle` radians up.
    void MoveTrajectory(const WorldVec3& target, float angle, bool spin);
    // After aiming: the caster's fumble chances may deflect the shot.
    void ApplyFumbleDamage();
    // The ray from the path origin to the flight coordinates; each path entry's skill hears of
    // its new targets. `hits` gets those of the projectile's own skill.
    void ProcessPathTargets(bool single, std::vector<std::uint32_t>& hits);
    // True when there is at least one explosion entry.
    bool ProcessExplosion(bool all, const WorldCoords& at);
    void ProcessFragmentation(std::uint32_t hitTarget, const WorldCoords& at);
    // The straight kinds' launch: into the world at the start, aimed at the target's hit point
    // (or the target position raised 1.0; along the start facing when that lies nearer than
    // `aimThreshold`), the flight effect and the launch animation.
    void GoStraight(float aimThreshold);
    // The lobbed kinds' launch: into the world at the start, thrown at the target character's
    // position (or the target position) at the launch angle, spinning; the flight effect and the
    // launch animation.
    void GoLobbed();
    enum class StraightFlight { Flying, Hit, OutOfRange };
    // One flying update of a straight kind: the piercing roll, the path test, explosions and
    // fragments at each hit, the impact effect, then the range test.
    StraightFlight FlyStraight();
    void CreateImpactFx();
    void CreateExploadingImpactFx();
    void StartLaunchAnimation();
    void StartFlightAnimation();
    void StartFlightFx() { mFlightFx.StartFx(); }
    void StopFlightFx() { mFlightFx.StopFx(); }
    // Enters the world at the coordinates (a projectile outside every region stays out).
    bool EnterWorld(const WorldCoords& coords);
    void SetPhysicsType(int type);
    void EnableGravity(bool on);
    void SetLinearVelocity(const Vec3& velocity);
    void SetAngularVelocity(const Vec3& velocity);
    // The projectile's own draws.
    RandomUniform& Random() { return mRandom; }
    // Where the projectile sits in its start coordinates' region space.
    Vec3 ToStartSpace(const WorldVec3& point) const;

    ProjectileInfo mInfo;
    WorldVec3 mPathOrigin;
    std::string mImpactFxName;
    std::string mExplodingImpactFxName;
    std::vector<std::uint32_t> mHits;  // the own skill's hits of one path test

private:
    void BuildWeaponTrails();
    void ReportTargets(const ModifierEntry& entry, const WorldCoords& at,
                       std::vector<std::uint32_t>& ids);
    void CreateEffectAt(const std::string& record);

    float mProjectileVelocity = 0.0f;
    float mProjectileDistance = 0.0f;
    bool mMaster = false;
    OwnedObject<SoundPak> mHitSound{kSourceFile};
    OwnedObject<SoundPak> mExplodingHitSound{kSourceFile};
    OwnedObject<SoundPak> mSwipeSound{kSourceFile};
    OwnedObject<SoundPak> mBounceSound{kSourceFile};
    OwnedObject<SoundPak> mDestructSound{kSourceFile};
    int mHitTimeToLive = 0;
    int mMissTimeToLive = 0;
    float mLaunchAngle = 0.0f;
    OwnedAnimation mLaunchAnimation;
    OwnedAnimation mFlightAnimation;
    // 0 none, 1 launch animation playing, 2 flight animation playing.
    int mAnimationState = 0;
    SpecialFX mFlightFx;
    OwnedObject<Object> mImpactFx{kSourceFile};
    OwnedObject<Object> mExplodingImpactFx{kSourceFile};
    bool mDeleted = false;
    RandomUniform mRandom;
    std::vector<std::unique_ptr<ModifierEntry>> mEntries;
    std::vector<ModifierEntry*> mPathEntries;
    std::vector<ModifierEntry*> mExplosionEntries;
    std::vector<ModifierEntry*> mFragmentEntries;
    std::vector<ProjectileModifierStruct> mModifiers;
    std::string mWeaponTrailName;
    OwnedObject<Object> mWeaponTrails[2]{OwnedObject<Object>{kSourceFile},
                                         OwnedObject<Object>{kSourceFile}};
    int mWeaponTrailCount = 0;
    bool mRebuildTrails = true;
    int mNotificationCountdown = 0;
    float mNotificationRadius = 5.0f;
    // Scratch of the queries, kept so that a flying projectile allocates nothing.
    std::vector<std::uint32_t> mFound;
    std::vector<std::uint32_t> mCollected;
    std::vector<Entity*> mNearby;
};

}  // namespace GAME
