#include "Engine/media/SoundPak.h"

namespace GAME {

RTTI_IMPLEMENT(SoundPak, Object)

void SoundPak::Play(const WorldVec3& where, bool looping) {
    mPlayed.push_back({where, looping});
    mLooping = looping;
}

void SoundPak::FadeLastPlayedSound(float fadeTime) {
    mLastFadeTime = fadeTime;
    mLooping = false;
}

void SoundPak::PreLoad(bool now) {
    Object::PreLoad(now);
    ++mPreloadCount;
}

}  // namespace GAME
