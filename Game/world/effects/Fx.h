#pragma once
// The base effect entity: an optional parent whose coordinates it reports, completion, and the
// grass it disturbs on the animation event "DisplaceGrass".
#include <cstdint>

#include "Engine/object/Object.h"

namespace GAME {

class Fx : public Entity {
    RTTI_DECLARE(Fx)
public:
    void Load(const LoadTable& table) override;

    virtual void SetParent(Entity* parent);
    virtual void LoadResources() {}
    virtual void Start() {}
    virtual void Stop() {}
    virtual void AddToWorld() {}
    // The parent's coordinates while it lives, else the effect's own.
    virtual Coords GetMyRegionCoords() const;
    virtual WorldCoords GetMyWorldCoords() const;
    virtual bool IsComplete() const { return mComplete; }

    virtual void UpdateBoundingBox() {}
    // Picking in the level editor only: a unit sphere at the effect's position.
    bool GetIntersection(const WorldRay& ray, WorldIntersection& hit, int surface) override;
    void InitialUpdate() override;
    virtual void AnimationCallback(int channel, const Name& event);

    Entity* GetParent() const;
    float GetDisturbanceRadius() const { return mDisturbanceRadius; }

protected:
    void SetComplete(bool complete) { mComplete = complete; }

private:
    std::uint32_t mParentId = 0;
    bool mComplete = false;
    float mDisturbanceRadius = 0.0f;
};

}  // namespace GAME
