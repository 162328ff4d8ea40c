#pragma once
// The lines of one non-player character: a default greeting, up to four further lines said in
// random order, and an irritation line for a player who keeps clicking. The owner calls Speak
// when the player talks to it and Update every frame. Line choice is presentation: it draws
// from the machine's dialog generator (DialogRandom.h), never from one game logic shares.
#include <memory>
#include <string>
#include <vector>

#include "Game/quests/dialog/Speakable.h"

namespace GAME {

class Dialog;
class LoadTable;

class NpcDialogPak : public Speakable {
public:
    NpcDialogPak();
    ~NpcDialogPak() override;
    NpcDialogPak(const NpcDialogPak&) = delete;
    NpcDialogPak& operator=(const NpcDialogPak&) = delete;

    // Null when the record cannot be loaded; Spawn() makes an empty pack.
    static NpcDialogPak* Spawn(const std::string& record);
    static NpcDialogPak* Spawn() { return new NpcDialogPak(); }
    static void Destroy(NpcDialogPak* pack) { delete pack; }

    void Update(int elapsedMs) override;
    void Speak(VoidCallbackFunctor* onComplete) override;
    void Stop() override;
    void SetVolumeFade(float fade) override;
    std::wstring GetText() const override;
    int GetPlaybackTime() const override;
    bool IsSpeaking() const override;

    // The first line added is the default one; the pack owns it.
    virtual void AddDialog(Dialog* dialog);
    virtual void SetIrritationRoundTrips(int roundTrips);
    virtual void Reset();
    virtual void OnDialogComplete();
    virtual void Load(const LoadTable& record);
    virtual void ResetIrritation();
    virtual bool IsIrritated() const { return mIrritated; }
    virtual int GetShortGreetingTimerTime() const { return mShortGreetingTimerTime; }
    virtual float GetResetDistance() const { return mResetDistance; }
    // The line the user interface shows first: the default one, else the first numbered one.
    virtual Dialog* GetPrimaryDialog() const;

    Dialog* GetCurrentDialog() const { return mCurrent; }
    Dialog* GetDefaultDialog() const { return mDefault.get(); }
    Dialog* GetIrritationDialog() const { return mIrritation.get(); }
    std::size_t GetNumberedDialogCount() const { return mNumbered.size(); }
    Dialog* GetNumberedDialog(std::size_t index) const { return mNumbered[index].get(); }
    int GetIrritationCounter() const { return mIrritationCounter; }

protected:
    // Stores the caller's functor and makes a fresh callback of the pack's own.
    VoidCallbackFunctor* BeginSpeaking(VoidCallbackFunctor* onComplete);
    void SetCurrent(Dialog* dialog) { mCurrent = dialog; }
    void SetShortGreetingTimerTime(int seconds) { mShortGreetingTimerTime = seconds; }

private:
    std::unique_ptr<Dialog> mDefault;
    std::vector<std::unique_ptr<Dialog>> mNumbered;
    std::unique_ptr<Dialog> mIrritation;
    Dialog* mCurrent = nullptr;
    int mIrritationCounter = -1;
    int mIrritationStart = -1;
    VoidCallbackFunctor* mOnComplete = nullptr;
    std::unique_ptr<VoidCallbackFunctor> mOwnCallback;
    bool mIrritated = false;
    int mShortGreetingTimerTime = 10;
    float mResetDistance = 10.0f;
};

}  // namespace GAME
