#pragma once
// A ragdoll: one rigid body per bone of an actor's skeleton, switched on when the actor falls
// limp. Enable gives each body its bone's place, lets the subclass set starting velocities
// (SetInitialState), and after the rest time of game time the ragdoll comes to rest: it is
// switched off, its owner is told it touched the floor below it (CollisionCallback, contact,
// that floor's surface) and OnDisabled tells the subclass.
#include <vector>

#include "Engine/world/Math.h"

namespace GAME {

class Actor;

class PhysicsRagDoll {
public:
    explicit PhysicsRagDoll(Actor* owner);
    virtual ~PhysicsRagDoll();
    PhysicsRagDoll(const PhysicsRagDoll&) = delete;
    PhysicsRagDoll& operator=(const PhysicsRagDoll&) = delete;

    // Called when the ragdoll comes to rest (after it is switched off).
    virtual void OnDisabled() {}
    // Called by Enable once the bodies exist.
    virtual void SetInitialState() {}

    // Switches the ragdoll on with the physics engine's rest time (again: restarts it).
    void Enable();
    void Enable(int restMs);
    // Switches it off without coming to rest (no OnDisabled).
    void Disable();
    bool IsEnabled() const { return mEnabled; }
    int GetRestTimeLeft() const { return mRestLeftMs; }

    Actor* GetOwner() const { return mOwner; }
    int GetNumRigidBodies() const { return static_cast<int>(mBodies.size()); }
    // The skeleton bone a body follows.
    int GetRigidBodyBone(int body) const;
    // The body's coordinates for its bone's coordinates (a body sits at its bone's origin).
    Coords GetRigidBodyCoords(int body, const Coords& boneCoords) const;
    // In region space, taken when the ragdoll was switched on.
    const Coords& GetRigidBodyCoords(int body) const;
    void SetLinearVelocity(int body, const Vec3& velocity);
    // Every body.
    void SetLinearVelocity(const Vec3& velocity);
    Vec3 GetLinearVelocity(int body) const;

    // By the physics engine's frame step; true once the ragdoll came to rest in this step.
    bool Advance(int elapsedMs);

private:
    struct Body {
        int bone = -1;
        Coords coords;
        Vec3 velocity;
    };
    bool ValidBody(int body) const { return body >= 0 && body < GetNumRigidBodies(); }

    Actor* mOwner;
    std::vector<Body> mBodies;
    bool mEnabled = false;
    int mRestLeftMs = 0;
};

}  // namespace GAME
