#pragma once
// The volumes that act on the local player's entering: the light of day shifts with his distance,
// the playlists change, a sound plays once, the grass bends in the wind.
#include <cstdint>
#include <string>

#include "Game/world/volumes/BoundingVolume.h"

namespace GAME {

class BoundingVolumeLerpDaylight : public BoundingVolume {
    RTTI_DECLARE(BoundingVolumeLerpDaylight)
public:
    ~BoundingVolumeLerpDaylight() override;

    void Load(const LoadTable& table) override;
    void UpdateSelf(int elapsedMs) override;
    void OnEnterAction(std::uint32_t id) override;
    void OnExitAction(std::uint32_t id) override;

    bool IsActive() const { return mActive; }
    float GetGreatestDistance() const { return mGreatestDistance; }
    float GetStartHour() const { return mStartHour; }
    float GetEndHour() const { return mEndHour; }
    float GetRadiusToEndHour() const { return mRadiusToEndHour; }

private:
    // The local player crossed the edge: the volume takes the day/night cycle over.
    void TryActivate(std::uint32_t id);
    void Deactivate();

    float mStartHour = 3.0f;
    float mEndHour = 23.0f;
    float mRadiusToEndHour = 0.0f;
    bool mActive = false;
    bool mDayNightWasEnabled = false;
    // Measured from the volume's centre; the lerp runs from the centre outwards.
    float mGreatestDistance = 0.0f;
};

class BoundingVolumeChangePlaylist : public BoundingVolume {
    RTTI_DECLARE(BoundingVolumeChangePlaylist)
public:
    void Load(const LoadTable& table) override;
    void OnEnterAction(std::uint32_t id) override;

    const std::string& GetAmbientPlaylist() const { return mAmbientPlaylist; }
    const std::string& GetMusicPlaylist() const { return mMusicPlaylist; }

private:
    std::string mAmbientPlaylist;
    std::string mMusicPlaylist;
};

class BoundingVolumeSoundFxOneShot : public BoundingVolume {
    RTTI_DECLARE(BoundingVolumeSoundFxOneShot)
public:
    void Load(const LoadTable& table) override;
    void OnEnterAction(std::uint32_t id) override;

    const std::string& GetSoundPak() const { return mSoundPak; }
    bool HasPlayed() const { return mPlayed; }

private:
    std::string mSoundPak;
    bool mPlayed = false;
};

class BoundingVolumeWind : public BoundingVolume {
    RTTI_DECLARE(BoundingVolumeWind)
public:
    static constexpr const char* kDefaultWindSound = "Sounds/Ambience/Loops/LoopMountain01.mp3";

    ~BoundingVolumeWind() override;

    void UpdateSelf(int elapsedMs) override;
    // No enter event is sent for a wind volume; leaving still sends one.
    void OnEnterAction(std::uint32_t) override {}

    void SetWindDirection(const Vec2& direction) { mDirection = direction; }
    const Vec2& GetWindDirection() const { return mDirection; }
    void SetWindOn(bool on) { mWindOn = on; }
    bool IsWindOn() const { return mWindOn; }
    void SetWindSoundOn(bool on) { mSoundOn = on; }
    bool IsWindSoundOn() const { return mSoundOn; }
    void SetWindSound(const std::string& sound) { mSound = sound; }
    const std::string& GetWindSound() const { return mSound; }

private:
    Vec2 mDirection{5.0f, 0.0f};
    bool mWindOn = true;
    bool mSoundOn = false;
    std::string mSound = kDefaultWindSound;
    WorldVec3 mPosition;
};

}  // namespace GAME
