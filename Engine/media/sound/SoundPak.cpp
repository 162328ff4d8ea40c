#include "Engine/media/sound/SoundPak.h"

#include "Engine/Engine.h"
#include "Engine/media/MediaRecorder.h"
#include "Engine/records/LoadTable.h"

namespace GAME {

RTTI_IMPLEMENT(SoundPak, Object)

void SoundPak::Load(const LoadTable& table) {
    Object::Load(table);
    mFalloff = table.GetFloat("falloff", mFalloff);
    mLength = static_cast<int>(table.GetFloat("length", 0.0f));
}

void SoundPak::Play(const WorldVec3& where, bool looping, bool attenuated) {
    looping = looping || mInfiniteLoop;
    ++mPlayCount;
    mLastPlayed = PlayRequest{where, looping, attenuated};
    const Vec3& at = where.GetRegionPosition();
    MediaRecorder::Get().Record(MediaCall::SoundPlay, GetObjectId(), GetObjectName(), at.x, at.y,
                                at.z, looping ? 1.0f : 0.0f);
    mLooping = looping;
    mPlayedAt = gEngine->GetGameTime();
}

bool SoundPak::IsPlaying() const {
    if (mLooping)
        return true;
    return mPlayCount != 0 && gEngine->GetGameTime() - mPlayedAt <
                                  static_cast<std::uint64_t>(mLength < 0 ? 0 : mLength);
}

WorldVec3 SoundPak::GetPlayLocation(const WorldVec3& /*ears*/, const WorldVec3& at) const {
    return at;
}

void SoundPak::FadeLastPlayedSound(float fadeTime) {
    mLastFadeTime = fadeTime;
    mLooping = false;
    mPlayedAt = 0;
    mLength = 0;
}

void SoundPak::PreLoad(bool now) {
    Object::PreLoad(now);
    ++mPreloadCount;
}

}  // namespace GAME
