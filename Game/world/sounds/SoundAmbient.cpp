#include "Game/world/sounds/SoundAmbient.h"

#include "Engine/Engine.h"
#include "Engine/media/sound/SoundManager.h"
#include "Engine/media/sound/SoundPak.h"
#include "Engine/records/LoadTable.h"
#include "Engine/world/World.h"
#include "Game/core/ObjectLookup.h"

namespace GAME {

SoundAmbient::~SoundAmbient() {
    if (SoundPak* sound = mSound.Get())
        sound->Stop();
}

void SoundAmbient::Load(const LoadTable& table) {
    mSound.Reset(GetSoundPakFromRecord(table, "ambientSound"));
}

void SoundAmbient::PreLoad() {
    if (SoundPak* sound = mSound.Get())
        sound->PreLoad(false);
}

void SoundAmbient::StartSound(bool loop) {
    mStarted = true;
    mLoop = loop;
}

void SoundAmbient::StopSound() {
    mStarted = false;
    if (SoundPak* sound = mSound.Get())
        sound->Stop();
}

void SoundAmbient::Update(const WorldCoords& at, int) {
    SoundPak* sound = mSound.Get();
    const WorldVec3& ears = SoundManager::Get().GetEarsPosition();
    if (!mStarted || gEngine->IsEditor() || !sound || !ears.GetRegion())
        return;
    const WorldVec3 where = at.GetPosition();
    const WorldVec3 location = sound->GetPlayLocation(ears, where);
    if (mLoop)
        sound->DoFalloffCheck();
    if (!sound->IsPlaying()) {
        sound->SetInfiniteLoop(mLoop);
        sound->Play(where, false);
    } else if (!mLoop) {
        const float reach = sound->GetFalloff() * 8.0f;
        if (World::Get().GetDistanceSquared(location, ears) > reach * reach)
            sound->FadeLastPlayedSound(500.0f);
    }
}

}  // namespace GAME
