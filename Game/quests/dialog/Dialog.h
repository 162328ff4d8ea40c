#pragma once
// One recorded line: a text tag for the subtitle and an audio file played without a position.
// A line without audio counts as spoken for its silent time.
#include <string>

#include "Engine/media/sound/SoundManager.h"
#include "Game/quests/dialog/Speakable.h"

namespace GAME {

class LoadTable;

class Dialog : public Speakable {
public:
    static constexpr int kSilentTimeMs = 5000;

    Dialog(const std::string& textTag, const std::string& audioFile, float volume);
    ~Dialog() override;
    // A line from the record's three fields; null when both text tag and sound file are empty.
    static Dialog* Create(const LoadTable& record, const std::string& textKey,
                          const std::string& soundKey, const std::string& volumeKey);

    void Update(int elapsedMs) override;
    // Ignored while speaking.
    void Speak(VoidCallbackFunctor* onComplete) override;
    void Stop() override;
    void SetVolumeFade(float fade) override;
    std::wstring GetText() const override;
    int GetPlaybackTime() const override { return mPlaybackTime; }
    bool IsSpeaking() const override { return mSpeaking; }

    void SetVolume(float volume);
    void Reset();
    bool HasBeenPlayed() const { return mPlayed; }
    void SetHasBeenPlayed(bool played) { mPlayed = played; }
    const std::string& GetTextTag() const { return mTextTag; }
    const std::string& GetAudioFile() const { return mAudioFile; }

private:
    void OnDialogComplete();

    std::string mTextTag;
    std::string mAudioFile;
    int mPlaybackTime = -1;
    int mSilentTimer = kSilentTimeMs;
    SoundDescriptor mSound;
    bool mSpeaking = false;
    bool mPlayed = false;
    float mVolume = 1.0f;
    float mBaseVolume = 1.0f;
    VoidCallbackFunctor* mOnComplete = nullptr;
};

}  // namespace GAME
