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
    mRemoved.erase(entity->GetObjectId());
    mMotions[entity->GetObjectId()].linear = velocity;
    MediaRecorder::Get().Record(MediaCall::SetEntityLinearVelocity, entity->GetObjectId(), {},
                                velocity.x, velocity.y, velocity.z);
}

void PhysicsEngine::SetEntityAngularVelocity(Entity* entity, const Vec3& velocity) {
    if (!entity)
        return;
    mRemoved.erase(entity->GetObjectId());
    mMotions[entity->GetObjectId()].angular = velocity;
    MediaRecorder::Get().Record(MediaCall::SetEntityAngularVelocity, entity->GetObjectId(), {},
                                velocity.x, velocity.y, velocity.z);
}

Vec3 PhysicsEngine::GetEntityLinearVelocity(std::uint32_t objectId) const {
    auto it = mMotions.find(objectId);
    return it == mMotions.end() ? Vec3() : it->second.linear;
}

Vec3 PhysicsEngine::GetEntityAngularVelocity(std::uint32_t objectId) const {
    auto it = mMotions.find(objectId);
    return it == mMotions.end() ? Vec3() : it->second.angular;
}

void PhysicsEngine::RemoveEntityFromSimulation(Entity* entity) {
    if (!entity)
        return;
    mMotions.erase(entity->GetObjectId());
    mRemoved.insert(entity->GetObjectId());
    MediaRecorder::Get().Record(MediaCall::RemoveEntityFromSimulation, entity->GetObjectId());
}

bool PhysicsEngine::IsRemovedFromSimulation(std::uint32_t objectId) const {
    return mRemoved.contains(objectId);
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
