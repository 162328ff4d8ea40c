#pragma once
// A placed, invisible sound emitter: an ambient sound and a periodic one at its position.
// Silent in the level editor, where it is shown and listed in the editor's filter instead.
#include "Engine/object/Object.h"
#include "Game/world/sounds/SoundAmbient.h"
#include "Game/world/sounds/SoundPeriodic.h"

namespace GAME {

class SoundObject : public Actor {
    RTTI_DECLARE(SoundObject)
public:
    ~SoundObject() override;

    void Load(const LoadTable& table) override;
    void PreLoad(bool now) override;
    void InitialUpdate() override;
    void UpdateSelf(int elapsedMs) override;
    bool ShouldServerSpawn() const override { return false; }
    bool CanCollide(const Entity&) const override { return false; }
    bool OccludesPathing() const override { return false; }

    const SoundAmbient& GetAmbient() const { return mAmbient; }
    const SoundPeriodic& GetPeriodic() const { return mPeriodic; }
    bool GetStartOnLoad() const { return mStartOnLoad; }

private:
    bool mStartOnLoad = false;
    SoundAmbient mAmbient;
    SoundPeriodic mPeriodic;
};

}  // namespace GAME
