#include "Engine/media/sound/AmbianceManager.h"
#include "Engine/media/sound/Jukebox.h"
#include "Engine/sys/Machine.h"
#include "Game/characters/Player.h"

namespace GAME {

void Player::RegisterMonsterMusic(std::uint32_t bossId, const std::string& name) {
    mBossMusic = name;
    if (mBossMusic == mPreviousBossMusic)
        return;
    Jukebox& jukebox = Singleton<Jukebox>::Get();
    jukebox.SetTrackedBoss(bossId);
    jukebox.SetTrackedPlayer(GetObjectId());
}

void Player::BossMusicStateUpdate() {
    Jukebox& jukebox = Singleton<Jukebox>::Get();
    if (Singleton<AmbianceManager>::Get().IsInBossMusicZone()) {
        if (!jukebox.IsPlayingBossMusic() && !mBossMusic.empty()) {
            jukebox.AbsoluteMusicFade();
            jukebox.InitiateBossMusic(mBossMusic);
        }
    } else if (jukebox.IsPlayingBossMusic()) {
        if (mBossMusic.empty())
            jukebox.BossMusicLeave();
        else
            jukebox.InitiateBossMusic(mBossMusic);
    }
    mPreviousBossMusic = mBossMusic;
    mBossMusic.clear();
}

}  // namespace GAME
