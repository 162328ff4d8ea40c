#pragma once
// A one-shot bundle: on its initial update it spawns its particle and mesh effects at its own
// position and plays its sound; on its next update it removes itself.
#include <string>
#include <vector>

#include "Engine/object/Object.h"

namespace GAME {

class SoundPak;

class FxPak : public Entity {
    RTTI_DECLARE(FxPak)
public:
    ~FxPak() override;

    void Load(const LoadTable& table) override;
    void InitialUpdate() override;
    void UpdateSelf(int elapsedMs) override;
    virtual void LoadResources();

    const std::vector<std::string>& GetParticleEffectNames() const { return mParticleNames; }
    const std::vector<std::string>& GetMeshEffectNames() const { return mMeshNames; }
    SoundPak* GetActivateSound() const;

private:
    std::vector<std::string> mParticleNames;
    std::vector<std::string> mMeshNames;
    std::uint32_t mActivateSoundId = 0;
};

}  // namespace GAME
