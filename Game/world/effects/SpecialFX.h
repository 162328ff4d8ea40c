#pragma once
// One particle effect held by an actor (a projectile's flight effect, a controller's effect).
// Copies share the effect; destroying the holder leaves the effect alone.
#include <cstdint>
#include <string>

#include "Engine/world/Region.h"

namespace GAME {

class Actor;
class EffectEntity;

class SpecialFX {
public:
    SpecialFX() = default;
    SpecialFX(const SpecialFX&) = default;
    SpecialFX& operator=(const SpecialFX&) = default;
    virtual ~SpecialFX() = default;

    // Makes the effect, silent, attached to the parent.
    virtual void LoadFX(const std::string& record, Actor* parent);
    virtual void StartFx();
    virtual void StopFx();
    // Lets a started effect finish on its own in the world; destroys one that never started.
    virtual void ReleaseFx(const WorldCoords& coords);
    virtual void DeleteFx();
    void PreLoad(bool now);

    EffectEntity* GetEffect() const;
    bool IsStarted() const { return mStarted; }

private:
    std::uint32_t mEffectId = 0;
    std::uint32_t mParentId = 0;
    bool mStarted = false;
};

}  // namespace GAME
