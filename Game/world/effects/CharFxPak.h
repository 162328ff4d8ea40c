#pragma once
// A character's effect pack from a record: particles at attach points, mesh effects, a tint
// colour and start, stop and active sounds, switched on and off on its parent character through
// the character's effect operations. Copies share the sound packs (the last copy destroys them).
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Engine/world/Math.h"

namespace GAME {

class Character;
class SoundPak;

class CharFxPak {
public:
    CharFxPak();
    CharFxPak(const CharFxPak&);
    CharFxPak& operator=(const CharFxPak&);
    virtual ~CharFxPak();

    virtual void LoadFromDatabase(const std::string& record);
    // Asks the parent character for the pack's effects (after SetParent).
    virtual void InitializeFxPak();
    virtual void UnLoad();
    virtual void PreLoad();
    virtual void Enable(bool enable);
    virtual void Start();
    virtual void Stop();

    // 0 detaches the pack from any character.
    void SetParent(std::uint32_t characterId) { mParentId = characterId; }
    std::uint32_t GetParent() const { return mParentId; }

    bool IsStarted() const { return mStarted; }
    bool UsesTintColor() const { return mUseTintColor; }
    const Color& GetTintColor() const { return mTintColor; }
    const std::vector<std::uint32_t>& GetParticleEffectIds() const { return mParticleIds; }
    const std::vector<std::uint32_t>& GetMeshEffectIds() const { return mMeshIds; }
    SoundPak* GetStartSound() const;
    SoundPak* GetStopSound() const;
    SoundPak* GetActiveSound() const;

private:
    class SharedSound;
    Character* GetCharacter() const;

    std::uint32_t mParentId = 0;
    std::vector<std::string> mParticleNames;
    std::vector<std::string> mParticleAttachPoints;
    std::vector<std::string> mMeshNames;
    std::vector<std::uint32_t> mParticleIds;
    std::vector<std::uint32_t> mMeshIds;
    bool mStarted = false;
    bool mUseTintColor = false;
    Color mTintColor{1, 1, 1, 1};
    Color mSavedTintColor{1, 1, 1, 1};
    std::shared_ptr<SharedSound> mStartSound;
    std::shared_ptr<SharedSound> mStopSound;
    std::shared_ptr<SharedSound> mActiveSound;
    float mActiveSoundFadeTime = 10.0f;
};

}  // namespace GAME
