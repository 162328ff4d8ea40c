#include "Game/quests/actions/PresentationActions.h"

#include <cstdio>

#include "Engine/media/sound/Jukebox.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/streams/IOStream.h"
#include "Engine/text/LocalizationManager.h"
#include "Engine/world/DayNightManager.h"
#include "Engine/world/Math.h"
#include "Game/characters/Character.h"
#include "Game/core/GameEngine.h"
#include "Game/core/GameUIInterface.h"
#include "Game/core/ObjectLookup.h"
#include "Game/quests/Quest.h"
#include "Game/quests/QuestEvents.h"
#include "Game/quests/QuestRepository.h"
#include "Game/quests/actions/QuestActionEvents.h"
#include "Game/quests/conditions/QuestCondition.h"

namespace GAME {

GAME_TRIGGER_ACTION_KIND(Action_LoadAmbientPlaylist)
GAME_TRIGGER_ACTION_KIND(Action_LoadMusicPlaylist)
GAME_TRIGGER_ACTION_KIND(Action_FadeInMusic)
GAME_TRIGGER_ACTION_KIND(Action_FadeOutMusic)
GAME_TRIGGER_ACTION_KIND(Action_LoadEventMusic)
GAME_TRIGGER_ACTION_KIND(Action_PlaySoundEffect)
GAME_TRIGGER_ACTION_KIND(Action_ScreenFade)
GAME_TRIGGER_ACTION_KIND(Action_TeleportPlayer)
GAME_TRIGGER_ACTION_KIND(Action_SetTimeOfDay)
GAME_TRIGGER_ACTION_KIND(Action_FadeOutEventMusic)
GAME_TRIGGER_ACTION_KIND(Action_DebugText)
GAME_TRIGGER_ACTION_KIND(Action_UpdateMapMarker)
GAME_TRIGGER_ACTION_KIND(Action_ClearMapMarker)
GAME_TRIGGER_ACTION_KIND(Action_UpdateDialogTab)
GAME_TRIGGER_ACTION_KIND(Action_UpdateJournalEntry)
GAME_TRIGGER_ACTION_KIND(Action_BestowQuest)
GAME_TRIGGER_ACTION_KIND(Action_CompleteQuestNow)
GAME_TRIGGER_ACTION_KIND(Action_SendTutorialEvent)
GAME_TRIGGER_ACTION_KIND(Action_ScreenShake)

namespace {

constexpr std::size_t kMaxDebugText = 512;

// Seconds to whole milliseconds, cut toward zero.
int ToMs(float secs) {
    return static_cast<int>(secs * 1000.0f);
}

std::string ShowNumber(float value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%g", static_cast<double>(value));
    return buffer;
}

Jukebox* GetJukebox() {
    return gGameEngine ? gGameEngine->GetJukebox() : nullptr;
}

}  // namespace

void Action_ScreenFade::SerializeChildProperties(IOStream& stream) {
    stream.StreamFloat("fadeInOutInSecs", mFadeSecs);
    stream.StreamFloat("blackoutInSecs", mBlackoutSecs);
}

void Action_ScreenFade::Fire(std::uint32_t, bool) {
    GameEvent_ScreenFade fade;
    fade.fadeMs = ToMs(mFadeSecs);
    fade.blackoutMs = ToMs(mBlackoutSecs);
    SendGameEvent(fade, "ScreenFade");
}

void Action_TeleportPlayer::SerializeChildProperties(IOStream& stream) {
    stream.StreamFloat("xCoord", mX);
    stream.StreamFloat("yCoord", mY);
    stream.StreamFloat("zCoord", mZ);
    stream.StreamInt("regionId", mRegionId);
}

void Action_TeleportPlayer::Fire(std::uint32_t, bool) {
    GameEvent_TeleportPlayer teleport;
    teleport.x = mX;
    teleport.y = mY;
    teleport.z = mZ;
    teleport.regionId = mRegionId;
    SendGameEvent(teleport, "TeleportPlayer");
}

std::string Action_TeleportPlayer::Describe() const {
    return "Teleport Player to {(" + ShowNumber(mX) + "," + ShowNumber(mY) + "," + ShowNumber(mZ) +
           ")}";
}

void Action_SetTimeOfDay::SerializeChildProperties(IOStream& stream) {
    stream.StreamFloat("timeOfDay", mTimeOfDay);
    stream.StreamInt("enableTimeProgression", mEnableTimeProgression);
}

void Action_SetTimeOfDay::Fire(std::uint32_t, bool) {
    DayNightManager& dayNight = Singleton<DayNightManager>::Get();
    dayNight.SetStartTime(mTimeOfDay);
    dayNight.Enable(mEnableTimeProgression != 0);
}

std::string Action_SetTimeOfDay::Describe() const {
    return "Set Time Of Day to " + Highlight(ShowNumber(mTimeOfDay)) + " Hour";
}

void Action_ScreenShake::SerializeChildProperties(IOStream& stream) {
    stream.StreamInt("duration", mDuration);
    stream.StreamInt("amplitude", mAmplitude);
}

void Action_ScreenShake::Fire(std::uint32_t, bool) {
    if (mDuration == 0 || mAmplitude == 0)
        return;
    GameEvent_CameraShakeMs shake;
    shake.durationMs = static_cast<std::uint32_t>(mDuration);
    shake.amplitude = static_cast<float>(mAmplitude);
    SendGameEvent(shake, "CameraShake");
}

// Music

void PlaylistAction::SerializeChildProperties(IOStream& stream) {
    stream.StreamString("playlist", mPlaylist);
}

void Action_LoadAmbientPlaylist::Fire(std::uint32_t, bool) {
    if (Jukebox* jukebox = GetJukebox())
        jukebox->LoadAmbientPlaylist(mPlaylist, false);
}

void Action_LoadMusicPlaylist::Fire(std::uint32_t, bool) {
    if (Jukebox* jukebox = GetJukebox())
        jukebox->LoadMusicPlaylist(mPlaylist);
}

void Action_LoadEventMusic::Fire(std::uint32_t, bool) {
    if (Jukebox* jukebox = GetJukebox())
        jukebox->PlayEventMusic(mPlaylist, false);
}

void Action_FadeInMusic::Fire(std::uint32_t, bool) {
    if (Jukebox* jukebox = GetJukebox())
        jukebox->FadeInMusic();
}

void Action_FadeOutMusic::Fire(std::uint32_t, bool) {
    if (Jukebox* jukebox = GetJukebox())
        jukebox->FadeOutMusic(5000);
}

void Action_FadeOutEventMusic::SerializeChildProperties(IOStream& stream) {
    stream.StreamFloat("timeInSecs", mTimeInSecs);
}

void Action_FadeOutEventMusic::Fire(std::uint32_t, bool) {
    if (Jukebox* jukebox = GetJukebox())
        jukebox->EndEventMusic(ToMs(mTimeInSecs));
}

// Sound

Action_PlaySoundEffect::~Action_PlaySoundEffect() {
    if (mSoundPakId == 0)
        return;
    if (SoundPak* pak = Objects().GetObject<SoundPak>(mSoundPakId))
        Objects().DestroyObjectEx(pak, "Game/TriggerActionGame", __LINE__);
}

void Action_PlaySoundEffect::SerializeChildProperties(IOStream& stream) {
    stream.StreamString("soundEffect", mSoundEffect);
}

void Action_PlaySoundEffect::Fire(std::uint32_t target, bool) {
    if (mSoundEffect.empty())
        return;
    SoundPak* pak = mSoundPakId ? Objects().GetObject<SoundPak>(mSoundPakId) : nullptr;
    if (!pak) {
        pak = LoadSoundPak(mSoundEffect.c_str());
        mSoundPakId = pak ? pak->GetObjectId() : 0;
    }
    const Character* character = target ? Objects().GetObject<Character>(target) : nullptr;
    if (pak && character)
        pak->Play(character->GetPosition(), false, true);
}

void Action_DebugText::SerializeChildProperties(IOStream& stream) {
    stream.StreamString("debugText", mText);
}

void Action_DebugText::Fire(std::uint32_t, bool) {
    GameUIInterface* ui = gGameEngine ? gGameEngine->GetUI() : nullptr;
    if (!ui)
        return;
    std::wstring text = LocalizationManager::ToWChar(mText);
    if (text.size() > kMaxDebugText)
        text.resize(kMaxDebugText);
    ui->DisplayDebugText(text, Color{0.6f, 0.6f, 1.0f, 1.0f}, 100.0f, 100.0f);
}

void Action_SendTutorialEvent::SerializeChildProperties(IOStream& stream) {
    stream.StreamInt("index", mIndex);
}

void Action_SendTutorialEvent::Fire(std::uint32_t target, bool) {
    if (gGameEngine && target != 0 && target == LocalPlayerId())
        gGameEngine->UnlockTutorialPage(static_cast<unsigned int>(mIndex), true);
}

// The quest's own interface

void Action_UpdateMapMarker::SerializeChildProperties(IOStream& stream) {
    stream.StreamString("descriptionTag", mDescriptionTag);
    stream.StreamString("bulletPointTag", mBulletPointTag);
    stream.StreamBool("doComplete", mDoComplete);
    stream.StreamBool("doSound", mDoSound);
}

void Action_UpdateMapMarker::Fire(std::uint32_t, bool reFire) {
    if (Trigger* trigger = GetTrigger())
        trigger->UpdateContainerUI(mDescriptionTag, mBulletPointTag, mDoComplete,
                                   mDoComplete && mDoSound && !reFire, !reFire);
}

void Action_ClearMapMarker::SerializeChildProperties(IOStream& stream) {
    stream.StreamBool("doSound", mDoSound);
}

void Action_ClearMapMarker::Fire(std::uint32_t, bool reFire) {
    if (Trigger* trigger = GetTrigger())
        trigger->UpdateContainerUI("", "", false, mDoSound && !reFire, !reFire);
}

void Action_UpdateDialogTab::SerializeChildProperties(IOStream& stream) {
    stream.StreamString("dialogPak", mDialogPak);
}

void Action_UpdateDialogTab::Fire(std::uint32_t, bool) {
    if (Trigger* trigger = GetTrigger())
        trigger->UpdateDialogTab(mDialogPak);
}

void Action_UpdateJournalEntry::SerializeChildProperties(IOStream& stream) {
    stream.StreamInt("region", mRegion);
    stream.StreamString("locationTag", mLocationTag);
    stream.StreamString("titleTag", mTitleTag);
    stream.StreamString("fullTextTag", mFullTextTag);
    stream.StreamBool("doComplete", mDoComplete);
    stream.StreamBool("doSound", mDoSound);
}

void Action_UpdateJournalEntry::Fire(std::uint32_t, bool reFire) {
    GameEvent_UpdateJournal journal;
    journal.handle = GetQuestHandle();
    journal.region = mRegion;
    journal.locationTag = mLocationTag;
    journal.titleTag = mTitleTag;
    journal.fullTextTag = mFullTextTag;
    if (const Quest* quest = QuestRepository::Get()->GetQuest(journal.handle)) {
        const int difficulty = QuestDifficulty();
        journal.rewardItemTag = quest->GetRewardItemTag(difficulty);
        journal.rewardGold = static_cast<std::uint32_t>(quest->GetRewardGold(difficulty));
        journal.rewardExperience =
            static_cast<std::uint32_t>(quest->GetRewardExperience(difficulty));
        journal.rewardSkillPoints = static_cast<std::uint32_t>(quest->GetRewardSkillPoints());
        journal.rewardAttributePoints =
            static_cast<std::uint32_t>(quest->GetRewardAttributePoints());
    }
    journal.complete = mDoComplete;
    journal.playSound = mDoSound && !reFire;
    SendGameEvent(journal, "UpdateJournal");
}

void Action_BestowQuest::SerializeChildProperties(IOStream& stream) {
    stream.StreamString("questFile", mQuestFile);
}

void Action_BestowQuest::Fire(std::uint32_t, bool) {
    // By the quest's own handle rule, so that any spelling of the file names its quest.
    GameEvent_QuestHandle inherit;
    inherit.handle = QuestHandleOf(mQuestFile);
    SendGameEvent(inherit, "InheritQuest");
}

void Action_CompleteQuestNow::SerializeChildProperties(IOStream& stream) {
    stream.StreamString("questFile", mQuestFile);
}

void Action_CompleteQuestNow::Fire(std::uint32_t, bool reFire) {
    GameEvent_CompleteQuestNow complete;
    complete.name = mQuestFile;
    complete.first = !reFire;
    complete.second = !reFire;
    SendGameEvent(complete, "CompleteQuestNow");
}

}  // namespace GAME
