#pragma once
// The rag-doll reaction of the last hit a character took. Only the hit data lives here so far.
#include "Engine/world/Math.h"

namespace GAME {

class CharacterRagDoll {
public:
    enum Effect : int {
        Crumple = 0,
        TakeHit = 1,
        Random = 2,
    };

    struct EffectData {
        Effect effect = Random;
        Vec3 direction{0.0f, 1.0f, 0.0f};
        float speed = 1.0f;
        // Every producer of hit data sets it.
        float amplification = 0.0f;
    };
};

}  // namespace GAME
