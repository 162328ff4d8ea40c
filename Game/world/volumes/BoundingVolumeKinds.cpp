#include "Game/world/volumes/BoundingVolumeKinds.h"

#include <algorithm>

#include "Engine/Engine.h"
#include "Engine/environment/GrassWind.h"
#include "Engine/media/sound/Jukebox.h"
#include "Engine/media/sound/SoundPak.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/records/LoadTable.h"
#include "Engine/world/DayNightManager.h"
#include "Engine/world/World.h"
#include "Game/characters/Player.h"
#include "Game/core/GameEngine.h"
#include "Game/rules/death/DeathRemovals.h"

namespace GAME {

RTTI_IMPLEMENT(BoundingVolumeLerpDaylight, BoundingVolume)
RTTI_IMPLEMENT(BoundingVolumeChangePlaylist, BoundingVolume)
RTTI_IMPLEMENT(BoundingVolumeSoundFxOneShot, BoundingVolume)
RTTI_IMPLEMENT(BoundingVolumeWind, BoundingVolume)

namespace {

bool IsVolumesLocalPlayer(std::uint32_t id) {
    return gGameEngine && id != 0 && gGameEngine->GetPlayerId() == id;
}

}  // namespace

// Lerp daylight

BoundingVolumeLerpDaylight::~BoundingVolumeLerpDaylight() {
    if (mActive)
        Deactivate();
}

void BoundingVolumeLerpDaylight::Load(const LoadTable& table) {
    BoundingVolume::Load(table);
    mStartHour = table.GetFloat("startHour", 0.0f);
    mEndHour = table.GetFloat("endHour", 0.0f);
    mRadiusToEndHour = table.GetFloat("radiusToEndHour", 0.0f);
}

void BoundingVolumeLerpDaylight::OnEnterAction(std::uint32_t id) {
    BoundingVolume::OnEnterAction(id);
    TryActivate(id);
}

void BoundingVolumeLerpDaylight::OnExitAction(std::uint32_t id) {
    BoundingVolume::OnExitAction(id);
    TryActivate(id);
}

void BoundingVolumeLerpDaylight::TryActivate(std::uint32_t id) {
    if (mActive)
        return;
    const Player* player = Objects().GetObject<Player>(id);
    if (!player || !player->IsControllingCharacter())
        return;
    DayNightManager& dayNight = Singleton<DayNightManager>::Get();
    mActive = true;
    mDayNightWasEnabled = dayNight.IsEnabled();
    dayNight.Enable(false);
    gEngine->RegisterForForcedUpdates(GetObjectId());
    // Each walk away from the centre starts over.
    mGreatestDistance = 0.0f;
}

void BoundingVolumeLerpDaylight::Deactivate() {
    gEngine->UnregisterForForcedUpdates(GetObjectId());
    Singleton<DayNightManager>::Get().Enable(mDayNightWasEnabled);
    mActive = false;
}

void BoundingVolumeLerpDaylight::UpdateSelf(int elapsedMs) {
    BoundingVolume::UpdateSelf(elapsedMs);
    if (!mActive)
        return;
    const Player* player = gGameEngine ? gGameEngine->GetMainPlayer() : nullptr;
    if (!player) {
        Deactivate();
        return;
    }
    mGreatestDistance =
        std::max(mGreatestDistance, GetPosition().DistanceTo(player->GetPosition()));
    if (mGreatestDistance > mRadiusToEndHour) {
        Deactivate();
        return;
    }
    // No distance to lerp over: the player stands at the centre, where the day ends.
    const float share = mRadiusToEndHour > 0.0f ? mGreatestDistance / mRadiusToEndHour : 1.0f;
    Singleton<DayNightManager>::Get().SetStartTime(mStartHour + (mEndHour - mStartHour) * share);
}

// Change playlist

void BoundingVolumeChangePlaylist::Load(const LoadTable& table) {
    BoundingVolume::Load(table);
    mAmbientPlaylist = table.GetString("ambientPlaylist");
    mMusicPlaylist = table.GetString("musicPlaylist");
}

void BoundingVolumeChangePlaylist::OnEnterAction(std::uint32_t id) {
    BoundingVolume::OnEnterAction(id);
    if (!IsVolumesLocalPlayer(id))
        return;
    Jukebox& jukebox = *gGameEngine->GetJukebox();
    if (!mAmbientPlaylist.empty())
        jukebox.LoadAmbientPlaylist(mAmbientPlaylist, false);
    if (!mMusicPlaylist.empty())
        jukebox.LoadMusicPlaylist(mMusicPlaylist);
}

// One-shot sound

void BoundingVolumeSoundFxOneShot::Load(const LoadTable& table) {
    BoundingVolume::Load(table);
    mSoundPak = table.GetString("soundPak");
}

void BoundingVolumeSoundFxOneShot::OnEnterAction(std::uint32_t id) {
    BoundingVolume::OnEnterAction(id);
    if (mPlayed || !IsVolumesLocalPlayer(id))
        return;
    mPlayed = true;
    ObjectManager& objects = Objects();
    if (auto* sound = objects.CreateObjectFromFile<SoundPak>(mSoundPak)) {
        sound->Play(GetPosition());
        objects.DestroyObjectEx(sound, "Game/BoundingVolumeSoundFxOneShot", __LINE__);
    }
    // Still inside its own update here: the frame's step removes and destroys it afterwards.
    Singleton<DeathRemovals>::Get().Request(*this);
}

// Wind

BoundingVolumeWind::~BoundingVolumeWind() {
    GrassWindField::Get().Remove(GetObjectId());
}

void BoundingVolumeWind::UpdateSelf(int elapsedMs) {
    BoundingVolume::UpdateSelf(elapsedMs);
    mPosition = GetPosition();
    if (mWindOn)
        World::Get().CreateGrassWind(GetObjectId(), mDirection.Length(), GetRadius(), mPosition,
                                     mDirection, GetRegion());
}

}  // namespace GAME
