#include "Engine/media/physics/PhysicsRagDoll.h"

#include "Engine/anim/SkeletalPose.h"
#include "Engine/media/MediaRecorder.h"
#include "Engine/media/physics/CollisionData.h"
#include "Engine/media/physics/PhysicsEngine.h"
#include "Engine/object/Object.h"
#include "Engine/sys/Machine.h"
#include "Engine/world/GroundMesh.h"

namespace GAME {

namespace {
std::uint32_t IdOf(const Actor* actor) {
    return actor ? actor->GetObjectId() : 0;
}

// The body lies on the floor below its owner when it comes to rest.
CollisionData LandingOf(const Actor& owner) {
    CollisionData data;
    data.contact = true;
    data.where = owner.GetPosition();
    const Region* region = data.where.region;
    float height = 0.0f;
    if (region && region->GetGround())
        region->GetGround()->FloorBelow(data.where.local, height, &data.surface);
    return data;
}
}  // namespace

PhysicsRagDoll::PhysicsRagDoll(Actor* owner) : mOwner(owner) {}

PhysicsRagDoll::~PhysicsRagDoll() {
    // The machine may be shutting down; a physics engine already gone holds nothing of ours.
    if (auto* physics = Machine::Current().Find<PhysicsEngine>())
        physics->RemoveRagDoll(this);
}

void PhysicsRagDoll::Enable() {
    Enable(PhysicsEngine::Get().GetRagDollRestTime());
}

void PhysicsRagDoll::Enable(int restMs) {
    mBodies.clear();
    if (mOwner) {
        const SkeletalPose& pose = mOwner->GetPose();
        const Coords& placed = mOwner->GetCoords().coords;
        for (int bone = 0; bone < pose.GetNumBones(); ++bone)
            mBodies.push_back({bone, placed * pose.GetAbsCoords(bone), Vec3()});
    }
    mEnabled = true;
    mRestLeftMs = restMs < 0 ? 0 : restMs;
    PhysicsEngine::Get().AddRagDoll(this);
    MediaRecorder::Get().Record(MediaCall::RagDollEnable, IdOf(mOwner), {},
                                static_cast<float>(mBodies.size()),
                                static_cast<float>(mRestLeftMs));
    SetInitialState();
}

void PhysicsRagDoll::Disable() {
    mEnabled = false;
    PhysicsEngine::Get().RemoveRagDoll(this);
}

int PhysicsRagDoll::GetRigidBodyBone(int body) const {
    return ValidBody(body) ? mBodies[static_cast<std::size_t>(body)].bone : -1;
}

Coords PhysicsRagDoll::GetRigidBodyCoords(int, const Coords& boneCoords) const {
    return boneCoords;
}

const Coords& PhysicsRagDoll::GetRigidBodyCoords(int body) const {
    static const Coords kNone;
    return ValidBody(body) ? mBodies[static_cast<std::size_t>(body)].coords : kNone;
}

void PhysicsRagDoll::SetLinearVelocity(int body, const Vec3& velocity) {
    if (!ValidBody(body))
        return;
    mBodies[static_cast<std::size_t>(body)].velocity = velocity;
    MediaRecorder::Get().Record(MediaCall::RagDollBodyVelocity, IdOf(mOwner), {},
                                static_cast<float>(body), velocity.x, velocity.y, velocity.z);
}

void PhysicsRagDoll::SetLinearVelocity(const Vec3& velocity) {
    for (int body = 0; body < GetNumRigidBodies(); ++body)
        SetLinearVelocity(body, velocity);
}

Vec3 PhysicsRagDoll::GetLinearVelocity(int body) const {
    return ValidBody(body) ? mBodies[static_cast<std::size_t>(body)].velocity : Vec3();
}

bool PhysicsRagDoll::Advance(int elapsedMs) {
    if (!mEnabled)
        return false;
    mRestLeftMs -= elapsedMs;
    if (mRestLeftMs > 0)
        return false;
    mRestLeftMs = 0;
    mEnabled = false;
    for (Body& body : mBodies)
        body.velocity = Vec3();
    PhysicsEngine::Get().RemoveRagDoll(this);
    MediaRecorder::Get().Record(MediaCall::RagDollRest, IdOf(mOwner));
    if (mOwner)
        mOwner->CollisionCallback(LandingOf(*mOwner));
    return true;
}

}  // namespace GAME
