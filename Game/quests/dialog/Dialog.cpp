#include "Game/quests/dialog/Dialog.h"

#include <utility>

#include "Engine/records/LoadTable.h"
#include "Engine/text/LocalizationManager.h"

namespace GAME {

Dialog::Dialog(const std::string& textTag, const std::string& audioFile, float volume)
    : mTextTag(textTag), mAudioFile(audioFile), mVolume(volume), mBaseVolume(volume) {}

Dialog::~Dialog() {
    SoundManager::Get().Unload(mSound);
}

Dialog* Dialog::Create(const LoadTable& record, const std::string& textKey,
                       const std::string& soundKey, const std::string& volumeKey) {
    const std::string text = record.GetString(textKey.c_str());
    const std::string sound = record.GetString(soundKey.c_str());
    if (text.empty() && sound.empty())
        return nullptr;
    return new Dialog(text, sound, record.GetFloat(volumeKey.c_str(), 0.0f));
}

void Dialog::Speak(VoidCallbackFunctor* onComplete) {
    if (mSpeaking)
        return;
    mPlaybackTime = -1;
    mOnComplete = onComplete;
    if (!mAudioFile.empty()) {
        SoundManager& sounds = SoundManager::Get();
        sounds.Unload(mSound);
        sounds.Load(mSound, mAudioFile);
        sounds.SetVolume(mSound, mVolume);
        sounds.Play2D(mSound);
        mPlaybackTime = mSound.length;
        mSpeaking = mPlaybackTime != -1;
    } else {
        mSpeaking = false;
    }
    mPlayed = true;
}

void Dialog::Update(int elapsedMs) {
    bool over = false;
    if (!mSpeaking) {
        mSilentTimer -= elapsedMs;
        over = mSilentTimer < 1;
    } else {
        over = !SoundManager::Get().IsPlaying(mSound);
    }
    if (over && mOnComplete)
        OnDialogComplete();
}

void Dialog::Stop() {
    if (mSpeaking)
        SoundManager::Get().FadeOut(mSound, 100);
    OnDialogComplete();
}

void Dialog::OnDialogComplete() {
    mSpeaking = false;
    // A line reports its end once: the caller may be gone after hearing it.
    if (VoidCallbackFunctor* onComplete = std::exchange(mOnComplete, nullptr))
        (*onComplete)(0);
}

void Dialog::SetVolumeFade(float fade) {
    mVolume = fade * mBaseVolume;
    SoundManager::Get().SetVolume(mSound, mVolume);
}

void Dialog::SetVolume(float volume) {
    mVolume = volume;
    mBaseVolume = volume;
}

void Dialog::Reset() {
    mPlaybackTime = -1;
    mPlayed = false;
    mSilentTimer = kSilentTimeMs;
}

std::wstring Dialog::GetText() const {
    LocalizationManager& texts = LocalizationManager::Instance();
    return texts.Format("SimpleStringFormat", texts.GetText(mTextTag));
}

}  // namespace GAME
