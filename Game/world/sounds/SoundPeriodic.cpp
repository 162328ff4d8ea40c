#include "Game/world/sounds/SoundPeriodic.h"

#include "Engine/Engine.h"
#include "Engine/media/sound/SoundPak.h"
#include "Engine/records/LoadTable.h"
#include "Engine/world/Math.h"
#include "Game/core/GameEngine.h"
#include "Game/core/ObjectLookup.h"

namespace GAME {

void SoundPeriodic::Load(const LoadTable& table) {
    mSound.Reset(GetSoundPakFromRecord(table, "periodicSound"));
    mSoundPeriod = SaturatedInt(table.GetFloat("soundPeriod", 0.0f));
    mRandomPeriod = table.GetBool("randomPeriod", false);
    mRandomPeriodMin = SaturatedInt(table.GetFloat("randomPeriodMin", 0.0f));
    mRandomPeriodMax = SaturatedInt(table.GetFloat("randomPeriodMax", 0.0f));
}

void SoundPeriodic::PreLoad() {
    if (SoundPak* sound = mSound.Get())
        sound->PreLoad(false);
}

void SoundPeriodic::StartSound() {
    if (!mSound.Get())
        return;
    mStarted = true;
    DrawPeriod();
}

void SoundPeriodic::DrawPeriod() {
    if (!mRandomPeriod) {
        mCountdown = mSoundPeriod;
        return;
    }
    if (!gGameEngine) {
        // Without the root there is no shared generator to draw from: the shortest period.
        if (!mNoRootLogged)
            gEngine->Log(1, "SoundPeriodic: no game root to draw a period from; %d ms is used",
                         mRandomPeriodMin);
        mNoRootLogged = true;
        mCountdown = mRandomPeriodMin;
        return;
    }
    mCountdown = gGameEngine->GetRandomGen().IGenerate(mRandomPeriodMin, mRandomPeriodMax);
}

void SoundPeriodic::Update(const WorldCoords& at, int elapsedMs) {
    if (!mStarted || gEngine->IsEditor())
        return;
    mCountdown -= elapsedMs;
    if (mCountdown >= 1)
        return;
    if (SoundPak* sound = mSound.Get(); sound && !sound->IsPlaying())
        sound->Play(at.GetPosition(), false);
    DrawPeriod();
}

}  // namespace GAME
