#pragma once
// A character's effect pack from a record: particles at attach points, mesh effects, a tint
// colour and start, stop and active sounds, switched on and off on its parent character through
// the character's effect operations. Copies share the sound packs (the last copy destroys them).
// A character holds a pack for every kind of damage and buff, and most stay empty: what a record
// gives a pack is kept apart, made only when a record gives something.
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
    bool UsesTintColor() const { return mContents && mContents->useTintColor; }
    const Color& GetTintColor() const;
    const std::vector<std::uint32_t>& GetParticleEffectIds() const;
    const std::vector<std::uint32_t>& GetMeshEffectIds() const;
    SoundPak* GetStartSound() const;
    SoundPak* GetStopSound() const;
    SoundPak* GetActiveSound() const;

private:
    class SharedSound;
    struct Contents {
        std::vector<std::string> particleNames;
        std::vector<std::string> particleAttachPoints;
        std::vector<std::string> meshNames;
        std::vector<std::uint32_t> particleIds;
        std::vector<std::uint32_t> meshIds;
        bool useTintColor = false;
        Color tintColor{1, 1, 1, 1};
        Color savedTintColor{1, 1, 1, 1};
        std::shared_ptr<SharedSound> startSound;
        std::shared_ptr<SharedSound> stopSound;
        std::shared_ptr<SharedSound> activeSound;
    };
    static constexpr float kActiveSoundFadeTime = 10.0f;

    Character* GetCharacter() const;

    std::uint32_t mParentId = 0;
    bool mStarted = false;
    std::unique_ptr<Contents> mContents;  // none until a record gives the pack something
};

}  // namespace GAME
