#pragma once
// Sounds played on named animation events: per event name one sound pack and the chance, in
// percent, that it plays. The draw uses the C runtime's generator, so whether a sound plays
// may differ between machines; nothing that must agree may depend on it.
#include <cstdint>
#include <map>
#include <string>

#include "Engine/text/Name.h"

namespace GAME {

class Actor;
class SoundPak;
struct WorldVec3;

class AnimationSound {
public:
    AnimationSound() = default;
    AnimationSound(const AnimationSound&) = delete;
    AnimationSound& operator=(const AnimationSound&) = delete;
    virtual ~AnimationSound();

    // Ignored for an empty record name, a chance not above 0 or a record that is not a sound
    // pack; an entry already under the name stays.
    void AddSound(const Name& animationName, const std::string& soundPakFile, float chance);
    // Draws the chance and plays at `position` (the owner's position when null); false when
    // the name has no entry or the draw failed.
    bool Play(const Actor& owner, const Name& animationName, const WorldVec3* position);
    void PreLoad();

    SoundPak* GetSound(const Name& animationName) const;
    float GetChance(const Name& animationName) const;
    std::size_t GetCount() const { return mEntries.size(); }

private:
    struct Entry {
        std::uint32_t soundId = 0;  // owned, destroyed through the object manager
        float chance = 0.0f;
    };
    std::map<Name, Entry> mEntries;
};

}  // namespace GAME
