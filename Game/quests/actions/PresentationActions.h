#pragma once
// The quest actions that act on what the player sees and hears rather than on the world: fades,
// shakes, a teleport, the time of day, music and sounds, a debug line, the tutorial, and the
// quest's own map marker, dialog tab and journal. Most only send an event for the host.
#include <cstdint>
#include <string>

#include "Game/quests/actions/QuestAction.h"

namespace GAME {

// The kinds that may run again when their trigger is replayed.
class ReplayedQuestAction : public QuestAction {
public:
    using QuestAction::QuestAction;
    bool CanReFire() const override { return true; }
    bool CanDelay() const override { return true; }
};

// The kinds that may wait for a conversation to end.
class DelayedQuestAction : public QuestAction {
public:
    using QuestAction::QuestAction;
    bool CanDelay() const override { return true; }
};

class Action_ScreenFade : public DelayedQuestAction {
public:
    using DelayedQuestAction::DelayedQuestAction;
    const char* GetName() const override { return "Action_ScreenFade"; }
    void Fire(std::uint32_t target, bool reFire) override;
    void SerializeChildProperties(IOStream& stream) override;

protected:
    std::string Describe() const override { return "Screen Fade"; }

private:
    float mFadeSecs = 0.0f;
    float mBlackoutSecs = 0.0f;
};

class Action_TeleportPlayer : public DelayedQuestAction {
public:
    using DelayedQuestAction::DelayedQuestAction;
    const char* GetName() const override { return "Action_TeleportPlayer"; }
    void Fire(std::uint32_t target, bool reFire) override;
    void SerializeChildProperties(IOStream& stream) override;

protected:
    std::string Describe() const override;

private:
    float mX = 0.0f;
    float mY = 0.0f;
    float mZ = 0.0f;
    int mRegionId = -1;
};

class Action_SetTimeOfDay : public QuestAction {
public:
    using QuestAction::QuestAction;
    const char* GetName() const override { return "Action_SetTimeOfDay"; }
    void Fire(std::uint32_t target, bool reFire) override;
    void SerializeChildProperties(IOStream& stream) override;

protected:
    std::string Describe() const override;

private:
    float mTimeOfDay = 0.0f;
    int mEnableTimeProgression = 1;
};

class Action_ScreenShake : public QuestAction {
public:
    using QuestAction::QuestAction;
    const char* GetName() const override { return "Action_ScreenShake"; }
    void Fire(std::uint32_t target, bool reFire) override;
    void SerializeChildProperties(IOStream& stream) override;

protected:
    std::string Describe() const override {
        return "Screen Shake " + Highlight(std::to_string(mAmplitude) + " amplitude ") + "for " +
               Highlight(std::to_string(mDuration) + "ms");
    }

private:
    int mDuration = 0;
    int mAmplitude = 0;
};

// The three kinds that name a playlist.
class PlaylistAction : public DelayedQuestAction {
public:
    using DelayedQuestAction::DelayedQuestAction;
    void SerializeChildProperties(IOStream& stream) override;

protected:
    std::string mPlaylist;
};

class Action_LoadAmbientPlaylist : public PlaylistAction {
public:
    using PlaylistAction::PlaylistAction;
    const char* GetName() const override { return "Action_LoadAmbientPlaylist"; }
    void Fire(std::uint32_t target, bool reFire) override;

protected:
    std::string Describe() const override {
        return "Load Ambient Playlist " + Highlight(ShowRecordName(mPlaylist));
    }
};

class Action_LoadMusicPlaylist : public PlaylistAction {
public:
    using PlaylistAction::PlaylistAction;
    const char* GetName() const override { return "Action_LoadMusicPlaylist"; }
    void Fire(std::uint32_t target, bool reFire) override;

protected:
    std::string Describe() const override {
        return "Load Music Playlist " + Highlight(ShowRecordName(mPlaylist));
    }
};

class Action_LoadEventMusic : public PlaylistAction {
public:
    using PlaylistAction::PlaylistAction;
    const char* GetName() const override { return "Action_LoadEventMusic"; }
    void Fire(std::uint32_t target, bool reFire) override;

protected:
    std::string Describe() const override {
        return "Play Music Event " + Highlight(ShowRecordName(mPlaylist));
    }
};

class Action_FadeInMusic : public DelayedQuestAction {
public:
    using DelayedQuestAction::DelayedQuestAction;
    const char* GetName() const override { return "Action_FadeInMusic"; }
    void Fire(std::uint32_t target, bool reFire) override;

protected:
    std::string Describe() const override { return "Fade In Music"; }
};

class Action_FadeOutMusic : public DelayedQuestAction {
public:
    using DelayedQuestAction::DelayedQuestAction;
    const char* GetName() const override { return "Action_FadeOutMusic"; }
    void Fire(std::uint32_t target, bool reFire) override;

protected:
    std::string Describe() const override { return "Fade Out Music"; }
};

class Action_FadeOutEventMusic : public DelayedQuestAction {
public:
    using DelayedQuestAction::DelayedQuestAction;
    const char* GetName() const override { return "Action_FadeOutEventMusic"; }
    void Fire(std::uint32_t target, bool reFire) override;
    void SerializeChildProperties(IOStream& stream) override;

protected:
    std::string Describe() const override { return "Fade Out Event Music"; }

private:
    float mTimeInSecs = 0.0f;
};

// Its sound pack is made at the first firing and kept for the later ones: one pack per action,
// destroyed with it.
class Action_PlaySoundEffect : public DelayedQuestAction {
public:
    using DelayedQuestAction::DelayedQuestAction;
    ~Action_PlaySoundEffect() override;
    const char* GetName() const override { return "Action_PlaySoundEffect"; }
    void Fire(std::uint32_t target, bool reFire) override;
    void SerializeChildProperties(IOStream& stream) override;
    std::uint32_t GetSoundPakId() const { return mSoundPakId; }

protected:
    std::string Describe() const override {
        return "Play Sound Effect " + Highlight(ShowRecordName(mSoundEffect));
    }

private:
    std::string mSoundEffect;
    std::uint32_t mSoundPakId = 0;
};

class Action_DebugText : public QuestAction {
public:
    using QuestAction::QuestAction;
    const char* GetName() const override { return "Action_DebugText"; }
    void Fire(std::uint32_t target, bool reFire) override;
    void SerializeChildProperties(IOStream& stream) override;

protected:
    std::string Describe() const override { return "Display Debug Text " + Highlight(mText); }

private:
    std::string mText;
};

class Action_SendTutorialEvent : public DelayedQuestAction {
public:
    using DelayedQuestAction::DelayedQuestAction;
    const char* GetName() const override { return "Action_SendTutorialEvent"; }
    void Fire(std::uint32_t target, bool reFire) override;
    void SerializeChildProperties(IOStream& stream) override;

protected:
    std::string Describe() const override {
        return "Send Index " + Highlight(std::to_string(mIndex)) + " to tutorial system";
    }

private:
    int mIndex = 0;
};

class Action_UpdateMapMarker : public ReplayedQuestAction {
public:
    explicit Action_UpdateMapMarker(std::uint32_t id) : ReplayedQuestAction(id) {
        mMarkerFlag = true;
    }
    const char* GetName() const override { return "Action_UpdateMapMarker"; }
    void Fire(std::uint32_t target, bool reFire) override;
    void SerializeChildProperties(IOStream& stream) override;

protected:
    std::string Describe() const override { return "Update This Quest's Map Marker"; }

private:
    std::string mDescriptionTag;
    std::string mBulletPointTag;
    bool mDoComplete = false;
    bool mDoSound = true;
};

class Action_ClearMapMarker : public ReplayedQuestAction {
public:
    explicit Action_ClearMapMarker(std::uint32_t id) : ReplayedQuestAction(id) {
        mMarkerFlag = true;
    }
    const char* GetName() const override { return "Action_ClearMapMarker"; }
    void Fire(std::uint32_t target, bool reFire) override;
    void SerializeChildProperties(IOStream& stream) override;

protected:
    std::string Describe() const override { return "Clear This Quest's Map Marker"; }

private:
    bool mDoSound = true;
};

class Action_UpdateDialogTab : public ReplayedQuestAction {
public:
    explicit Action_UpdateDialogTab(std::uint32_t id) : ReplayedQuestAction(id) {
        mMarkerFlag = true;
    }
    const char* GetName() const override { return "Action_UpdateDialogTab"; }
    void Fire(std::uint32_t target, bool reFire) override;
    void SerializeChildProperties(IOStream& stream) override;

protected:
    std::string Describe() const override {
        return "Update This Quest's Dialog Tab to " + Highlight(ShowRecordName(mDialogPak));
    }

private:
    std::string mDialogPak;
};

class Action_UpdateJournalEntry : public ReplayedQuestAction {
public:
    using ReplayedQuestAction::ReplayedQuestAction;
    const char* GetName() const override { return "Action_UpdateJournalEntry"; }
    void Fire(std::uint32_t target, bool reFire) override;
    void SerializeChildProperties(IOStream& stream) override;

protected:
    std::string Describe() const override {
        return Highlight(mDoComplete ? "Complete" : "Add") + " Journal Entry in Region #" +
               Highlight(std::to_string(mRegion));
    }

private:
    int mRegion = 1;
    std::string mLocationTag;
    std::string mTitleTag;
    std::string mFullTextTag;
    bool mDoComplete = false;
    bool mDoSound = true;
};

class Action_BestowQuest : public QuestAction {
public:
    using QuestAction::QuestAction;
    const char* GetName() const override { return "Action_BestowQuest"; }
    void Fire(std::uint32_t target, bool reFire) override;
    void SerializeChildProperties(IOStream& stream) override;

protected:
    std::string Describe() const override { return "Bestow Quest"; }
    std::string mQuestFile;
};

class Action_CompleteQuestNow : public ReplayedQuestAction {
public:
    using ReplayedQuestAction::ReplayedQuestAction;
    const char* GetName() const override { return "Action_CompleteQuestNow"; }
    void Fire(std::uint32_t target, bool reFire) override;
    void SerializeChildProperties(IOStream& stream) override;

protected:
    std::string Describe() const override { return "Complete Quest Now"; }

private:
    std::string mQuestFile;
};

}  // namespace GAME
