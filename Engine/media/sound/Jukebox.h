#pragma once
// The music player: playlists, event music over them, fades, and the boss music of a fight. It
// follows one player and one boss and changes the music when they die. Headless, it keeps what
// it was asked and records each change in the machine's MediaRecorder (Music..., BossMusic...).
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
    void PlayEventMusic(const std::string& record, bool once);
    // Back from event music to the playlist over `fadeMs`.
    void EndEventMusic(int fadeMs);
    void LoadAmbientPlaylist(const std::string& name, bool now);
    void LoadMusicPlaylist(const std::string& name);
    void FadeInMusic();
    void FadeOutMusic(int fadeMs);
    // Silences the music at once (no fade), as a boss fight starts.
    void AbsoluteMusicFade();
    // The boss music of a fight; asking for the one that plays already changes nothing.
    void InitiateBossMusic(const std::string& name);
    // The fight's music ends and the playlist comes back.
    void BossMusicLeave();

    const std::string& GetAmbientPlaylist() const { return mAmbientPlaylist; }
    const std::string& GetMusicPlaylist() const { return mMusicPlaylist; }
    bool IsAmbientLoadedNow() const { return mAmbientNow; }
    bool IsMusicFadedOut() const { return mMusicFaded; }
    int GetLastFadeMs() const { return mLastFadeMs; }
    const std::string& GetEventMusic() const { return mEventMusic; }
    bool IsEventMusicOnce() const { return mEventMusicOnce; }
    int GetEventMusicCount() const { return mEventMusicCount; }
    bool IsPlayingBossMusic() const { return !mBossMusic.empty(); }
    const std::string& GetBossMusic() const { return mBossMusic; }
    int GetBossMusicCount() const { return mBossMusicCount; }

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
    std::string mBossMusic;
    int mBossMusicCount = 0;
};

}  // namespace GAME
