#pragma once
// An invisible round marker placed in a level: the drop skills let their projectiles fall
// anywhere within its radius. Only the world editor shows it (scaled to its radius) and picks it.
#include "Engine/object/Object.h"

namespace GAME {

class OrmenosDropZone : public Actor {
    RTTI_DECLARE(OrmenosDropZone)
public:
    OrmenosDropZone();

    void Load(const LoadTable& table) override;
    void InitialUpdate() override;
    bool CanCollide(const Entity&) const override { return false; }
    bool OccludesPathing() const override { return false; }
    // Only the editor's picking (a non-zero surface) meets the zone's sphere.
    bool GetIntersection(const WorldRay& ray, WorldIntersection& hit, int surface) override;
    float GetRadius() const { return mRadius; }

private:
    float mRadius = 1.0f;
};

}  // namespace GAME
