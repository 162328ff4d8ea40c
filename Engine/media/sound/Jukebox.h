#pragma once
// The music player: it follows one player and one boss and changes the music when they die.
#include <cstdint>
#include <string>

namespace GAME {

class Jukebox {
public:
    std::uint32_t GetTrackedPlayer() const { return mTrackedPlayer; }
    void SetTrackedPlayer(std::uint32_t id) { mTrackedPlayer = id; }
    std::uint32_t GetTrackedBoss() const { return mTrackedBoss; }
    void SetTrackedBoss(std::uint32_t id) { mTrackedBoss = id; }
    void SetTrackedPlayerDead(bool dead) { mPlayerDead = dead; }
    void SetTrackedBossDead(bool dead) { mBossDead = dead; }
    bool IsTrackedPlayerDead() const { return mPlayerDead; }
    bool IsTrackedBossDead() const { return mBossDead; }
    // Music of one event over the playlist; `once`: back to the playlist when it ends.
    void PlayEventMusic(const std::string& record, bool once) {
        mEventMusic = record;
        mEventMusicOnce = once;
        ++mEventMusicCount;
    }
    // Back from event music to the playlist over `fadeMs`.
    void EndEventMusic(int fadeMs) {
        mEventMusic.clear();
        mLastFadeMs = fadeMs;
    }
    void LoadAmbientPlaylist(const std::string& name, bool now) {
        mAmbientPlaylist = name;
        mAmbientNow = now;
    }
    void LoadMusicPlaylist(const std::string& name) { mMusicPlaylist = name; }
    void FadeInMusic() { mMusicFaded = false; }
    void FadeOutMusic(int fadeMs) {
        mMusicFaded = true;
        mLastFadeMs = fadeMs;
    }
    const std::string& GetAmbientPlaylist() const { return mAmbientPlaylist; }
    const std::string& GetMusicPlaylist() const { return mMusicPlaylist; }
    bool IsAmbientLoadedNow() const { return mAmbientNow; }
    bool IsMusicFadedOut() const { return mMusicFaded; }
    int GetLastFadeMs() const { return mLastFadeMs; }
    const std::string& GetEventMusic() const { return mEventMusic; }
    bool IsEventMusicOnce() const { return mEventMusicOnce; }
    int GetEventMusicCount() const { return mEventMusicCount; }

private:
    std::uint32_t mTrackedPlayer = 0;
    std::uint32_t mTrackedBoss = 0;
    bool mPlayerDead = false;
    bool mBossDead = false;
    std::string mEventMusic;
    bool mEventMusicOnce = false;
    int mEventMusicCount = 0;
    std::string mAmbientPlaylist;
    bool mAmbientNow = false;
    std::string mMusicPlaylist;
    bool mMusicFaded = false;
    int mLastFadeMs = 0;
};

}  // namespace GAME
