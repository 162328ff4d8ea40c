#pragma once
// An invisible sphere placed in a level. Every frame it finds the entities inside it and reports
// each one that enters or leaves ("GameEvent_EnterBoundingVolume", "GameEvent_ExitBoundingVolume":
// volume id, entity id). Its kinds act on the local player's entering.
//
// Every machine runs its volumes on the positions it holds, so what a volume decides must be
// presentation (music, light, sound) or be decided alike everywhere.
#include <cstdint>
#include <vector>

#include "Engine/object/Object.h"
#include "Engine/world/Math.h"
#include "Engine/world/WorldShapes.h"

namespace GAME {

class Entity;

class BoundingVolume : public Actor {
    RTTI_DECLARE(BoundingVolume)
public:
    BoundingVolume();
    ~BoundingVolume() override;

    void Load(const LoadTable& table) override;
    void InitialUpdate() override;
    void UpdateSelf(int elapsedMs) override;
    bool CanCollide(const Entity&) const override { return false; }
    // Only the editor's rays of a surface kind meet a volume.
    bool GetIntersection(const WorldRay& ray, WorldIntersection& hit, int surface) override;

    virtual void DebugRender() {}
    virtual void OnEnter(std::uint32_t id);
    virtual void OnEnterAction(std::uint32_t id);
    virtual void OnExit(std::uint32_t id);
    virtual void OnExitAction(std::uint32_t id);
    // A box centred on the volume's origin, half-extent the radius on each axis.
    virtual OrientedBox GetObjectSpaceBoundingBox() const;
    // A point of the cube around the sphere (the machine's own draws: presentation only).
    virtual WorldVec3 GetRandomPointInsideVolume() const;
    virtual WorldVec3 GetRandomTerrainPointInsideVolume() const;

    // The same box around the volume's position, in its region.
    ABBox GetRegionBoundingBox() const;
    OrientedBox GetCollisionBox() const;

    // Ids of the entities inside, ascending.
    const std::vector<std::uint32_t>& GetEntitiesInVolume() const { return mInVolume; }
    float GetRadius() const { return mRadius; }
    void SetRadius(float radius) { mRadius = radius; }
    // Strictly inside: a point on the sphere is outside.
    bool IsPointInsideVolume(const WorldVec3& point) const;

private:
    // The ids the world now finds in the sphere, ascending, into `out` (never the volume itself).
    void FindEntitiesInside(std::vector<std::uint32_t>& out);

    float mRadius = 10.0f;
    std::vector<std::uint32_t> mInVolume;
    std::vector<std::uint32_t> mEntered;
    std::vector<std::uint32_t> mExited;
    // Scratch of one update, kept so that a steady frame allocates nothing.
    std::vector<std::uint32_t> mFound;
    std::vector<Entity*> mFoundEntities;
};

}  // namespace GAME
