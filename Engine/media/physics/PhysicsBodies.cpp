// The flying bodies of the physics: kept sorted by object id, stepped in that order.
#include <algorithm>
#include <cmath>

#include "Engine/media/physics/CollisionData.h"
#include "Engine/media/physics/PhysicsEngine.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/world/GroundMesh.h"
#include "Engine/world/World.h"

namespace GAME {

namespace {

// Kept off the surface it stopped at, so that the next step starts outside it.
constexpr float kSkin = 0.01f;
// Slower than this after touching the ground, a body rests.
constexpr float kRestSpeed = 0.75f;
// What a bounce keeps of the speed into the surface and of the speed along it.
constexpr float kBounce = 0.35f;
constexpr float kFriction = 0.6f;
// Below its region's box by more than this, a body has fallen out of the world and rests.
constexpr float kFallLimit = 50.0f;

}  // namespace

PhysicsEngine::Body* PhysicsEngine::FindBody(std::uint32_t id, bool create) {
    auto it = std::lower_bound(mBodies.begin(), mBodies.end(), id,
                               [](const Body& body, std::uint32_t key) { return body.id < key; });
    if (it != mBodies.end() && it->id == id)
        return &*it;
    if (!create)
        return nullptr;
    Body body;
    body.id = id;
    return &*mBodies.insert(it, body);
}

const PhysicsEngine::Body* PhysicsEngine::FindBody(std::uint32_t id) const {
    auto it = std::lower_bound(mBodies.begin(), mBodies.end(), id,
                               [](const Body& body, std::uint32_t key) { return body.id < key; });
    return it != mBodies.end() && it->id == id ? &*it : nullptr;
}

void PhysicsEngine::StepBodies(float seconds) {
    ++mSteps;
    // Bodies of entities that are gone are dropped; bodies made during the step wait for the
    // next one, and a callback may change any body, so each is found again by its id.
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    std::erase_if(mBodies, [&](const Body& body) { return !objects.GetObject(body.id); });
    mStepIds.clear();
    for (const Body& body : mBodies)
        if (body.type == kFlyingType && !body.removed && !body.resting)
            mStepIds.push_back(body.id);
    for (std::size_t i = 0; i < mStepIds.size(); ++i)
        StepBody(mStepIds[i], seconds);
}

void PhysicsEngine::StepBody(std::uint32_t id, float seconds) {
    Body* body = FindBody(id, false);
    Entity* entity = Singleton<ObjectManager>::Get().GetObject<Entity>(id);
    if (!body || !entity || !entity->IsInWorld() || body->type != kFlyingType || body->removed ||
        body->resting)
        return;
    if (body->gravity)
        body->linear.y -= kGravity * seconds;
    const Vec3 delta = body->linear * seconds;
    const float length = delta.Length();
    if (!(length > 0.0f)) {
        // Nothing moves it.
        body->resting = !body->gravity;
        return;
    }
    WorldCoords coords = entity->GetCoords();
    Region* region = coords.region;
    const Vec3 from = coords.coords.origin;
    WorldRay ray{region, from, delta * (1.0f / length)};

    WorldIntersection hit;
    hit.distance = length;
    bool touched = false;
    if (const GroundMesh* ground = region->GetGround()) {
        WorldIntersection groundHit;
        if (ground->Raycast(from, ray.direction, length, 100, groundHit) &&
            groundHit.distance <= length) {
            hit = groundHit;
            touched = true;
        }
    }
    World& world = World::Get();
    mStepHits.clear();
    world.GetAllIntersections(ray, mStepHits, hit.distance);
    const Vec3 toRay = -region->GetOffset();
    for (Entity* other : mStepHits) {
        if (other == entity || !entity->CanCollide(*other))
            continue;
        const Vec3 at =
            other->GetPosition().GetWorldPosition() + toRay + Vec3(0.0f, other->GetRayLift(), 0.0f);
        const float d =
            RaySphere(from, ray.direction, at, other->GetBoundingRadius(), hit.distance);
        if (d == kInfinity || d > hit.distance)
            continue;
        hit.distance = d;
        hit.point = ray.PointAt(d);
        hit.surface = PhysicsSurface::None;
        hit.entityId = other->GetObjectId();
        touched = true;
        break;  // nearest first
    }

    if (!touched) {
        coords.coords.origin = from + delta;
        entity->SetCoords(coords);
        if (coords.coords.origin.y < region->GetBoundsMin().y - kFallLimit) {
            body->linear = Vec3();
            body->resting = true;
        }
        return;
    }
    coords.coords.origin = ray.PointAt(std::max(hit.distance - kSkin, 0.0f));
    entity->SetCoords(coords);
    CollisionData data;
    data.contact = true;
    data.surface = hit.entityId ? PhysicsSurface::None : hit.surface;
    data.where = WorldVec3(region, hit.point);
    data.kind = static_cast<int>(data.surface);
    data.entityId = hit.entityId;
    entity->CollisionCallback(data);

    // The callback may have stopped, removed or destroyed it; a body still flying bounces.
    body = FindBody(id, false);
    if (!body || body->type != kFlyingType || body->removed || body->resting ||
        !Singleton<ObjectManager>::Get().GetObject(id))
        return;
    Vec3& v = body->linear;
    if (hit.entityId) {
        v = v * -kBounce;
        return;
    }
    v = Vec3(v.x * kFriction, std::fabs(v.y) * kBounce, v.z * kFriction);
    if (v.Length() < kRestSpeed) {
        v = Vec3();
        body->angular = Vec3();
        body->resting = true;
    }
}

}  // namespace GAME
