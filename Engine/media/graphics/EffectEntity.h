#pragma once
// A particle emitter placed in the world or attached to an actor. Nothing is drawn: it records
// emitting, stopping, resets and light fades; particles emitted before a stop stay alive for
// the record's "particleLifetime" (milliseconds of game time, 1000 by default).
#include <cstdint>

#include "Engine/object/Object.h"

namespace GAME {

class EffectEntity : public Entity {
    RTTI_DECLARE(EffectEntity)
public:
    void Load(const LoadTable& table) override;

    void StartEmitting();
    void StopEmitting();
    bool IsEmitting() const { return mEmitting; }
    // Forgets every live particle.
    void ResetEmitter();
    // True while emitting or while particles of the last emission still live.
    bool HasLiveParticles() const;
    void FadeLight();
    bool IsLightFading() const { return mLightFading; }
    // Places the effect in the world at the coordinates.
    void AddToWorld(const WorldCoords& coords, bool visible);
    // A self-deleting effect destroys itself on the first update with no live particles.
    void SetDeleteWhenDone(bool deleteWhenDone) { mDeleteWhenDone = deleteWhenDone; }
    bool GetDeleteWhenDone() const { return mDeleteWhenDone; }
    void UpdateSelf(int elapsedMs) override;
    int GetParticleLifetime() const { return mParticleLifetime; }

private:
    int mParticleLifetime = 1000;
    bool mEmitting = false;
    bool mLightFading = false;
    bool mParticlesLive = false;
    bool mDeleteWhenDone = false;
    std::uint64_t mStoppedAt = 0;
};

}  // namespace GAME
