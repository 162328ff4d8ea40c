// The player's frame and what it serves: tokens granted, saves, heartbeat and the countdowns of
// its spoken refusals.
#include <algorithm>

#include "Engine/Engine.h"
#include "Engine/media/graphics/DebugRenderManager.h"
#include "Engine/media/sound/SoundPak.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/sys/Machine.h"
#include "Engine/world/World.h"
#include "Game/characters/Player.h"
#include "Game/characters/player/PlayerEvents.h"
#include "Game/core/GameEngine.h"
#include "Game/core/players/PartyManager.h"
#include "Game/items/hotslots/PlayerHotSlotCtrl.h"

namespace GAME {

namespace {

constexpr unsigned kLevelEightTutorialPage = 20;
constexpr std::uint32_t kLevelEight = 8;
// A backup goes with the first autosave and every fifth one after it.
constexpr int kAutoSavesPerBackup = 5;
constexpr Color kDebugSphereColor{1.0f, 0.3f, 0.3f, 1.0f};

}  // namespace

void Player::UpdateSelf(int ms) {
    Character::UpdateSelf(ms);
    GameEngine* game = gGameEngine;
    const bool mainPlayer = game && game->GetMainPlayer() == this;
    if (mainPlayer && GetCharLevel() == kLevelEight)
        game->UnlockTutorialPage(kLevelEightTutorialPage, true);
    if (game && game->GetPlayerId() == GetObjectId())
        World::Get().AddFOWVisibility(GetCoords().GetPosition(), ms);
    mHotSlots->Update(ms);

    PartyManager* parties = game ? game->GetPartyManager() : nullptr;
    const std::uint32_t faction =
        parties ? parties->GetPlayerFaction(GetObjectId()) : GetObjectId();
    SetTeam(TeamManager::BuildTeam(Team::Human, faction));

    GetCharacterBio().SetAcceleratedLifeRegen(GetActionState() == Character_ActionState::Fidget &&
                                              GetCombatManager().GetCombatState() ==
                                                  CombatManager_State::NotInCombat);
    Heartbeat(ms);
    GrantPendingTokens();

    mAutoSaveCountdown -= ms;
    if (mAutoSaveCountdown < 0)
        mSaveRequested = true;
    // No shield is held until the equipment is built.
    GetPlayStats().DisableShieldBlockChance();
    if (mSaveRequested)
        AutoSave();
    if (mQuestSaveRequested) {
        mQuestSaveRequested = false;
        AutoSaveQuest(mQuestSaveArgument);
    }
    if (mControlling)
        BossMusicStateUpdate();
    if (mControlling)
        CountDownVox(ms);
    // The paper-doll region holds the copy alone: updating it is updating the copy.
    if (mPaperDollRegion)
        if (Player* copy = GetPaperDoll())
            copy->UpdateSelf(ms);
    if (mainPlayer) {
        const SkillManager& skills = GetSkillManager();
        game->SetUnspentSkillPoints(static_cast<int>(skills.GetNumRegularSkillPoints()));
        game->SetUnspentMasteryPoints(static_cast<int>(skills.GetNumMasteryPoints()));
    }
    if (mDebugSphereRadius != 0.0f)
        DebugRenderManager::Get().RenderSphere(GetPosition(), mDebugSphereRadius,
                                               kDebugSphereColor);
}

void Player::GrantPendingTokens() {
    if (mPendingTokens.empty())
        return;
    for (const TriggerToken& token : mPendingTokens) {
        if (std::find(mTokens.begin(), mTokens.end(), token) != mTokens.end())
            continue;
        mTokens.push_back(token);
        GameEvent_GotToken event;
        event.playerId = GetObjectId();
        event.tokenName = token.GetName();
        SendGameEvent(event, "GotToken");
    }
    mPendingTokens.clear();
    mSaveRequested = true;
}

void Player::Heartbeat(int ms) {
    if (mHeartbeatCountdown > 0)
        mHeartbeatCountdown -= ms;
    else
        mHeartbeatCountdown = 1000;
}

// The editor is the engine-wide state in which nothing is saved.
void Player::AutoSave() {
    GameEngine* game = gGameEngine;
    if (!gEngine->IsEditor() && mControlling && game && game->IsSaveEnabled()) {
        game->AutoSave();
        if (mAutoSaveCount++ == 0)
            game->BackupGame();
        if (mAutoSaveCount >= kAutoSavesPerBackup)
            mAutoSaveCount = 0;
    }
    mAutoSaveCountdown = kAutoSaveInterval;
    mSaveRequested = false;
}

void Player::AutoSaveQuest(bool argument) {
    if (!gEngine->IsEditor() && mControlling && gGameEngine)
        gGameEngine->AutoSaveQuest(argument);
}

void Player::CountDownVox(int ms) {
    auto lower = [ms](int& countdown) {
        if (countdown != 0)
            countdown -= ms;
    };
    for (LockedVox& line : mLockedVox)
        lower(line.countdown);
    lower(mSkillVoxRepeatCountdown);
    lower(mSkillVoxCountdown);
}

void Player::PlaySound(std::uint32_t soundId) {
    if (SoundPak* sound =
            soundId ? Singleton<ObjectManager>::Get().GetObject<SoundPak>(soundId) : nullptr)
        sound->Play(GetPosition());
}

void Player::PlayLockedVox(LockedVox& line) {
    if (!mControlling || line.sound == 0 || line.countdown >= 1)
        return;
    PlaySound(line.sound);
    line.countdown = kLockedObjectVoxInterval;
}

void Player::PlaySkillVox(SkillVox& line, std::uint32_t id) {
    if (!mControlling || line.sound == 0 || mSkillVoxCountdown >= 1)
        return;
    if (mSkillVoxRepeatCountdown >= 1 && id == line.lastId)
        return;
    PlaySound(line.sound);
    mSkillVoxRepeatCountdown = kSkillVoxRepeatInterval;
    mSkillVoxCountdown = kSkillVoxInterval;
    line.lastId = id;
}

void Player::ResetSkillVox() {
    mSkillVoxRepeatCountdown = 0;
    for (SkillVox& line : mSkillVox)
        line.lastId = 0;
}

void Player::PlayInventoryFullSound() {
    PlaySound(mInventoryFullSound);
}

}  // namespace GAME
