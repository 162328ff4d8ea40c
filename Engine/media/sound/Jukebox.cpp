#include "Engine/media/sound/Jukebox.h"

#include "Engine/media/MediaRecorder.h"

namespace GAME {

void Jukebox::PlayEventMusic(const std::string& record, bool once) {
    mEventMusic = record;
    mEventMusicOnce = once;
    ++mEventMusicCount;
    MediaRecorder::Get().Record(MediaCall::MusicEvent, 0, record, once ? 1.0f : 0.0f);
}

void Jukebox::EndEventMusic(int fadeMs) {
    mEventMusic.clear();
    mLastFadeMs = fadeMs;
    MediaRecorder::Get().Record(MediaCall::MusicEventEnd, 0, {}, static_cast<float>(fadeMs));
}

void Jukebox::LoadAmbientPlaylist(const std::string& name, bool now) {
    mAmbientPlaylist = name;
    mAmbientNow = now;
    MediaRecorder::Get().Record(MediaCall::MusicAmbientPlaylist, 0, name, now ? 1.0f : 0.0f);
}

void Jukebox::LoadMusicPlaylist(const std::string& name) {
    mMusicPlaylist = name;
    MediaRecorder::Get().Record(MediaCall::MusicPlaylist, 0, name);
}

void Jukebox::FadeInMusic() {
    mMusicFaded = false;
    MediaRecorder::Get().Record(MediaCall::MusicFadeIn, 0);
}

void Jukebox::FadeOutMusic(int fadeMs) {
    mMusicFaded = true;
    mLastFadeMs = fadeMs;
    MediaRecorder::Get().Record(MediaCall::MusicFadeOut, 0, {}, static_cast<float>(fadeMs));
}

void Jukebox::AbsoluteMusicFade() {
    mMusicFaded = true;
    mLastFadeMs = 0;
    MediaRecorder::Get().Record(MediaCall::MusicAbsoluteFade, 0);
}

void Jukebox::InitiateBossMusic(const std::string& name) {
    if (name.empty() || name == mBossMusic)
        return;
    mBossMusic = name;
    ++mBossMusicCount;
    MediaRecorder::Get().Record(MediaCall::BossMusicStart, mTrackedBoss, name);
}

void Jukebox::BossMusicLeave() {
    if (mBossMusic.empty())
        return;
    mBossMusic.clear();
    mMusicFaded = false;
    MediaRecorder::Get().Record(MediaCall::BossMusicLeave, mTrackedBoss);
}

}  // namespace GAME
