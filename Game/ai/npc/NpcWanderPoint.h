#pragma once
// A placed spot that townsfolk stroll to: they walk to a random place within its radius.
// Invisible in the game; in the level editor it is shown at its radius and listed in the
// editor's filter.
#include "Engine/object/Object.h"

namespace GAME {

class NpcWanderPoint : public Actor {
    RTTI_DECLARE(NpcWanderPoint)
public:
    // The editor's filter category of wander points.
    static constexpr int kEditorCategory = 6;

    NpcWanderPoint();
    ~NpcWanderPoint() override;

    void Load(const LoadTable& table) override;
    void InitialUpdate() override;
    float GetRadius() const { return mRadius; }
    // Picking in the editor only: the sphere of its radius.
    bool GetIntersection(const WorldRay& ray, WorldIntersection& hit, int surface) override;

private:
    float mRadius = 1.0f;
};

}  // namespace GAME
