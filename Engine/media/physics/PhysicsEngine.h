#pragma once
// The physics of a machine, headless. It keeps a body per entity that callers gave a velocity,
// a physics type or gravity, and the ragdolls that are switched on; each ragdoll comes to rest
// when its rest time of game time has passed. Bodies of physics type 2 fly: Update steps them
// in fixed steps of game time (kStepMs; the rest of a frame waits for the next one), in object
// id order, with gravity when it is on, and stops each at the first ground triangle or entity it
// may collide with (Entity::CanCollide) along its step, telling it (Entity::CollisionCallback).
// A body still flying after the callback bounces; one slowed on the ground, or one that nothing
// moves (no velocity, no gravity), comes to rest until it is given a velocity again. Every
// machine steps the same launch to the same path and the same collisions.
#include <cstdint>
#include <vector>

#include "Engine/world/Math.h"

namespace GAME {

class Entity;
class PhysicsRagDoll;

class PhysicsEngine {
public:
    static constexpr int kDefaultRagDollRestMs = 3000;
    static constexpr int kStepMs = 10;
    static constexpr float kGravity = 9.8f;
    // Physics types: 0 stays where it is put, 2 flies (3 is a character's ragdoll).
    static constexpr int kFlyingType = 2;

    static PhysicsEngine& Get();

    void SetEntityLinearVelocity(Entity* entity, const Vec3& velocity);
    void SetEntityAngularVelocity(Entity* entity, const Vec3& velocity);
    // Zero for an entity never given one.
    Vec3 GetEntityLinearVelocity(std::uint32_t objectId) const;
    Vec3 GetEntityAngularVelocity(std::uint32_t objectId) const;
    // The entity's velocities are dropped; it stays out until given a velocity again.
    void RemoveEntityFromSimulation(Entity* entity);
    bool IsRemovedFromSimulation(std::uint32_t objectId) const;
    void SetPhysicsType(Entity* entity, int type);
    int GetPhysicsType(std::uint32_t objectId) const;
    void SetGravity(Entity* entity, bool on);
    bool GetGravity(std::uint32_t objectId) const;
    // Of physics type 2, in the simulation and not at rest: the physics moves it.
    bool IsSimulated(std::uint32_t objectId) const;
    // Fixed steps taken so far (all bodies alike).
    std::uint64_t GetStepCount() const { return mSteps; }

    // The rest time of ragdolls switched on from now on (milliseconds, at least 0).
    void SetRagDollRestTime(int ms) { mRagDollRestMs = ms < 0 ? 0 : ms; }
    int GetRagDollRestTime() const { return mRagDollRestMs; }

    // The frame step: the flying bodies' fixed steps, then the rest time of every active ragdoll
    // counts down.
    void Update(int elapsedMs);
    std::size_t GetActiveRagDollCount() const;

private:
    friend class PhysicsRagDoll;
    void AddRagDoll(PhysicsRagDoll* ragDoll);
    void RemoveRagDoll(PhysicsRagDoll* ragDoll);

    struct Body {
        std::uint32_t id = 0;
        int type = 0;
        bool gravity = false;
        bool removed = false;
        bool resting = false;
        Vec3 linear;
        Vec3 angular;
    };
    // Sorted by id; null when there is none and `create` is false.
    Body* FindBody(std::uint32_t id, bool create);
    const Body* FindBody(std::uint32_t id) const;
    void StepBodies(float seconds);
    void StepBody(std::uint32_t id, float seconds);

    std::vector<Body> mBodies;
    std::vector<std::uint32_t> mStepIds;  // the bodies of one step, reused
    std::vector<Entity*> mStepHits;
    int mCarryMs = 0;
    std::uint64_t mSteps = 0;
    // Non-owning; a ragdoll removes itself when it is disabled or destroyed (slots of ragdolls
    // gone during an update are nulled and compacted afterwards).
    std::vector<PhysicsRagDoll*> mRagDolls;
    int mRagDollRestMs = kDefaultRagDollRestMs;
    bool mUpdating = false;
};

}  // namespace GAME
