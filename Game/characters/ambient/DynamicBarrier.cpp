#include "Game/characters/ambient/DynamicBarrier.h"

#include <vector>

#include "Engine/object/ObjectManager.h"
#include "Engine/sys/Machine.h"
#include "Engine/world/World.h"
#include "Engine/world/WorldShapes.h"
#include "Game/core/GameEngine.h"
#include "Game/core/players/Team.h"

namespace GAME {

RTTI_IMPLEMENT(DynamicBarrier, AmbientCharacter)

namespace {

// The barriers of the machine, so that a pursuit casts no ray while there is none, and the ray's
// scratch list (a steady pursuit allocates nothing).
struct DynamicBarrierBook {
    int count = 0;
    std::vector<Entity*> hits;
};

}  // namespace

DynamicBarrier::DynamicBarrier() {
    ++Singleton<DynamicBarrierBook>::Get().count;
}

DynamicBarrier::~DynamicBarrier() {
    --Singleton<DynamicBarrierBook>::Get().count;
}

DynamicBarrier* DynamicBarrier::FindBlocking(std::uint32_t selfId, std::uint32_t targetId) {
    DynamicBarrierBook& book = Singleton<DynamicBarrierBook>::Get();
    if (book.count <= 0)
        return nullptr;
    ObjectManager& objects = Objects();
    const Character* self = objects.GetObject<Character>(selfId);
    const Character* target = objects.GetObject<Character>(targetId);
    const TeamManager* teams = gGameEngine ? gGameEngine->GetTeamManager() : nullptr;
    if (!self || !target || !teams || !self->GetRegion())
        return nullptr;
    const WorldVec3 from = self->GetPathPosition();
    const Vec3 toTarget = from.VectorTo(target->GetPathPosition());
    const float length = toTarget.Length();
    // Rays meet a body at its lift (the height shots aim at), not at its feet: the ray leaves
    // the monster at that height, so it meets a barrier standing on the line between the two.
    WorldRay ray;
    ray.region = self->GetRegion();
    ray.origin = self->GetCoords().coords.origin + Vec3(0.0f, self->GetRayLift(), 0.0f);
    ray.direction = toTarget.Unit();
    book.hits.clear();
    World::Get().GetAllIntersections(ray, book.hits, length);
    DynamicBarrier* nearest = nullptr;
    float nearestSquared = kInfinity;
    for (Entity* hit : book.hits) {
        auto* barrier = objects.GetObject<DynamicBarrier>(hit->GetObjectId());
        if (!barrier || !barrier->IsAlive() || !teams->IsFoe(barrier->GetObjectId(), selfId))
            continue;
        const float squared = from.VectorTo(barrier->GetPathPosition()).LengthSquared();
        if (squared < nearestSquared) {
            nearest = barrier;
            nearestSquared = squared;
        }
    }
    book.hits.clear();
    return nearest;
}

}  // namespace GAME
