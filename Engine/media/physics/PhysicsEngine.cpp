#include "Engine/media/physics/PhysicsEngine.h"

#include <algorithm>

#include "Engine/media/MediaRecorder.h"
#include "Engine/media/physics/PhysicsRagDoll.h"
#include "Engine/object/Object.h"
#include "Engine/sys/Machine.h"

namespace GAME {

PhysicsEngine& PhysicsEngine::Get() {
    return Singleton<PhysicsEngine>::Get();
}

void PhysicsEngine::SetEntityLinearVelocity(Entity* entity, const Vec3& velocity) {
    if (!entity)
        return;
    Body& body = *FindBody(entity->GetObjectId(), true);
    body.removed = false;
    body.resting = false;
    body.linear = velocity;
    MediaRecorder::Get().Record(MediaCall::SetEntityLinearVelocity, entity->GetObjectId(), {},
                                velocity.x, velocity.y, velocity.z);
}

void PhysicsEngine::SetEntityAngularVelocity(Entity* entity, const Vec3& velocity) {
    if (!entity)
        return;
    Body& body = *FindBody(entity->GetObjectId(), true);
    body.removed = false;
    body.angular = velocity;
    MediaRecorder::Get().Record(MediaCall::SetEntityAngularVelocity, entity->GetObjectId(), {},
                                velocity.x, velocity.y, velocity.z);
}

Vec3 PhysicsEngine::GetEntityLinearVelocity(std::uint32_t objectId) const {
    const Body* body = FindBody(objectId);
    return body ? body->linear : Vec3();
}

Vec3 PhysicsEngine::GetEntityAngularVelocity(std::uint32_t objectId) const {
    const Body* body = FindBody(objectId);
    return body ? body->angular : Vec3();
}

void PhysicsEngine::RemoveEntityFromSimulation(Entity* entity) {
    if (!entity)
        return;
    Body& body = *FindBody(entity->GetObjectId(), true);
    body.removed = true;
    body.linear = Vec3();
    body.angular = Vec3();
    MediaRecorder::Get().Record(MediaCall::RemoveEntityFromSimulation, entity->GetObjectId());
}

bool PhysicsEngine::IsRemovedFromSimulation(std::uint32_t objectId) const {
    const Body* body = FindBody(objectId);
    return body && body->removed;
}

void PhysicsEngine::SetPhysicsType(Entity* entity, int type) {
    if (!entity)
        return;
    Body& body = *FindBody(entity->GetObjectId(), true);
    body.type = type;
    body.resting = false;
}

int PhysicsEngine::GetPhysicsType(std::uint32_t objectId) const {
    const Body* body = FindBody(objectId);
    return body ? body->type : 0;
}

void PhysicsEngine::SetGravity(Entity* entity, bool on) {
    if (!entity)
        return;
    Body& body = *FindBody(entity->GetObjectId(), true);
    body.gravity = on;
    body.resting = body.resting && !on;
}

bool PhysicsEngine::GetGravity(std::uint32_t objectId) const {
    const Body* body = FindBody(objectId);
    return body && body->gravity;
}

bool PhysicsEngine::IsSimulated(std::uint32_t objectId) const {
    const Body* body = FindBody(objectId);
    return body && body->type == kFlyingType && !body->removed && !body->resting;
}

bool Entity::IsSimulationEnabled() const {
    return PhysicsEngine::Get().IsSimulated(GetObjectId());
}

void PhysicsEngine::AddRagDoll(PhysicsRagDoll* ragDoll) {
    if (std::find(mRagDolls.begin(), mRagDolls.end(), ragDoll) == mRagDolls.end())
        mRagDolls.push_back(ragDoll);
}

void PhysicsEngine::RemoveRagDoll(PhysicsRagDoll* ragDoll) {
    auto it = std::find(mRagDolls.begin(), mRagDolls.end(), ragDoll);
    if (it == mRagDolls.end())
        return;
    if (mUpdating)
        *it = nullptr;  // compacted when the update ends
    else
        mRagDolls.erase(it);
}

void PhysicsEngine::Update(int elapsedMs) {
    if (mUpdating || elapsedMs < 0)
        return;
    mUpdating = true;
    mCarryMs += elapsedMs;
    while (mCarryMs >= kStepMs) {
        mCarryMs -= kStepMs;
        StepBodies(static_cast<float>(kStepMs) * 0.001f);
    }
    // Ragdolls switched on during the step wait for the next one.
    const std::size_t count = mRagDolls.size();
    for (std::size_t i = 0; i < count; ++i) {
        PhysicsRagDoll* ragDoll = mRagDolls[i];
        // Advance takes a ragdoll that came to rest off the list; OnDisabled may then destroy
        // it or others, whose slots are nulled meanwhile.
        if (ragDoll && ragDoll->Advance(elapsedMs))
            ragDoll->OnDisabled();
    }
    std::erase(mRagDolls, nullptr);
    mUpdating = false;
}

std::size_t PhysicsEngine::GetActiveRagDollCount() const {
    return static_cast<std::size_t>(
        std::count_if(mRagDolls.begin(), mRagDolls.end(), [](auto* r) { return r != nullptr; }));
}

}  // namespace GAME
