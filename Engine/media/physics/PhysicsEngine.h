#pragma once
// The physics of a machine, headless: nothing moves by itself. It keeps the velocities callers
// give entities, which entities left the simulation, and the ragdolls that are switched on; each
// ragdoll comes to rest when its rest time of game time has passed (Update, once per frame).
#include <cstdint>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "Engine/world/Math.h"

namespace GAME {

class Entity;
class PhysicsRagDoll;

class PhysicsEngine {
public:
    static constexpr int kDefaultRagDollRestMs = 3000;

    static PhysicsEngine& Get();

    void SetEntityLinearVelocity(Entity* entity, const Vec3& velocity);
    void SetEntityAngularVelocity(Entity* entity, const Vec3& velocity);
    // Zero for an entity never given one.
    Vec3 GetEntityLinearVelocity(std::uint32_t objectId) const;
    Vec3 GetEntityAngularVelocity(std::uint32_t objectId) const;
    // The entity's velocities are dropped; it stays out until given a velocity again.
    void RemoveEntityFromSimulation(Entity* entity);
    bool IsRemovedFromSimulation(std::uint32_t objectId) const;

    // The rest time of ragdolls switched on from now on (milliseconds, at least 0).
    void SetRagDollRestTime(int ms) { mRagDollRestMs = ms < 0 ? 0 : ms; }
    int GetRagDollRestTime() const { return mRagDollRestMs; }

    // The frame step: counts the rest time of every active ragdoll down.
    void Update(int elapsedMs);
    std::size_t GetActiveRagDollCount() const;

private:
    friend class PhysicsRagDoll;
    void AddRagDoll(PhysicsRagDoll* ragDoll);
    void RemoveRagDoll(PhysicsRagDoll* ragDoll);

    struct Motion {
        Vec3 linear;
        Vec3 angular;
    };
    std::unordered_map<std::uint32_t, Motion> mMotions;
    std::unordered_set<std::uint32_t> mRemoved;
    // Non-owning; a ragdoll removes itself when it is disabled or destroyed (slots of ragdolls
    // gone during an update are nulled and compacted afterwards).
    std::vector<PhysicsRagDoll*> mRagDolls;
    int mRagDollRestMs = kDefaultRagDollRestMs;
    bool mUpdating = false;
};

}  // namespace GAME
