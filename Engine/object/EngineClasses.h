#pragma once
// Engine classes that game classes derive from; they carry no behaviour of their own here.
#include "Engine/media/graphics/Light.h"
#include "Engine/media/graphics/LineEffect.h"
#include "Engine/object/Object.h"
#include "Engine/world/Region.h"

namespace GAME {

// A line effect drawn between two end points that its owner moves every frame.
class ChaosBeam : public LineEffect {
    RTTI_DECLARE(ChaosBeam)
public:
    void SetEndPoints(const WorldVec3& first, const WorldVec3& second) {
        mFirst = first;
        mSecond = second;
    }
    const WorldVec3& GetFirstEndPoint() const { return mFirst; }
    const WorldVec3& GetSecondEndPoint() const { return mSecond; }
    // The owner is done with the beam: it leaves the world and is destroyed (nothing is drawn,
    // so there is no fade to wait for). The caller forgets its id.
    void Liberate();

private:
    WorldVec3 mFirst;
    WorldVec3 mSecond;
};

class Tile : public Actor {
    RTTI_DECLARE(Tile)
};

}  // namespace GAME
