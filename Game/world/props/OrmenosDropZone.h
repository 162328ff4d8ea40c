#pragma once
// An invisible round marker placed in a level: the drop skills let their projectiles fall
// anywhere within its radius.
#include "Engine/object/Object.h"

namespace GAME {

class OrmenosDropZone : public Actor {
    RTTI_DECLARE(OrmenosDropZone)
public:
    OrmenosDropZone();

    void Load(const LoadTable& table) override;
    float GetRadius() const { return mRadius; }

private:
    float mRadius = 1.0f;
};

}  // namespace GAME
