#pragma once
// Where the machine's listener stands, and the sounds played without a position (2-D: dialog
// lines). Nothing is heard; sound users read the ears' position to decide what would be
// audible. Outside any region until the host or a test places it.
#include <cstdint>
#include <string>

#include "Engine/world/Region.h"

namespace GAME {

// One loaded sound file. Its length comes from a record of the file's name ("length", game
// milliseconds); a file with no such record cannot be played and has length -1.
struct SoundDescriptor {
    std::string file;
    int length = -1;
    float volume = 1.0f;
    bool loaded = false;
    bool playing = false;
    std::uint64_t playedAt = 0;
};

class SoundManager {
public:
    static SoundManager& Get();

    const WorldVec3& GetEarsPosition() const { return mEars; }
    void SetEarsPosition(const WorldVec3& ears) { mEars = ears; }

    // False (length -1) when the file names no sound.
    bool Load(SoundDescriptor& sound, const std::string& file);
    void Unload(SoundDescriptor& sound);
    // Plays it without a position; recorded like any sound play.
    void Play2D(SoundDescriptor& sound);
    // Until its length of game time has passed, or it was faded out.
    bool IsPlaying(const SoundDescriptor& sound) const;
    void FadeOut(SoundDescriptor& sound, int fadeMs);
    void SetVolume(SoundDescriptor& sound, float volume) { sound.volume = volume; }
    std::uint64_t GetPlay2DCount() const { return mPlay2DCount; }

private:
    WorldVec3 mEars;
    std::uint64_t mPlay2DCount = 0;
};

}  // namespace GAME
