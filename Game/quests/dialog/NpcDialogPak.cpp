#include "Game/quests/dialog/NpcDialogPak.h"

#include "Engine/object/ObjectManager.h"
#include "Engine/records/LoadTable.h"
#include "Game/quests/dialog/Dialog.h"
#include "Game/quests/dialog/DialogRandom.h"

namespace GAME {

NpcDialogPak::NpcDialogPak() = default;
NpcDialogPak::~NpcDialogPak() = default;

NpcDialogPak* NpcDialogPak::Spawn(const std::string& record) {
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    if (record.empty() || !objects.LoadTableFile(record))
        return nullptr;
    auto* pack = new NpcDialogPak();
    pack->Load(objects.GetLoadTable(record));
    return pack;
}

void NpcDialogPak::Load(const LoadTable& record) {
    AddDialog(Dialog::Create(record, "defaultDialogTextTag", "defaultDialogSoundFile",
                             "defaultDialogSoundVolume"));
    mIrritation.reset(Dialog::Create(record, "irritationDialogTextTag", "irritationDialogSoundFile",
                                     "irritationDialogVolume"));
    if (mIrritation)
        SetIrritationRoundTrips(record.GetInt("irritationRoundTrips", 0));
    for (int n = 1; n <= 4; ++n) {
        const std::string number = std::to_string(n);
        AddDialog(Dialog::Create(record, "dialogTextTag" + number, "dialogSoundFile" + number,
                                 "dialogSoundVolume" + number));
    }
    mShortGreetingTimerTime = record.GetInt("shortGreetingTimerTime", 0);
    mResetDistance = record.GetFloat("resetDistance", 0.0f);
}

void NpcDialogPak::AddDialog(Dialog* dialog) {
    if (!dialog)
        return;
    if (!mDefault)
        mDefault.reset(dialog);
    else
        mNumbered.emplace_back(dialog);
}

void NpcDialogPak::SetIrritationRoundTrips(int roundTrips) {
    mIrritationCounter = roundTrips;
    mIrritationStart = roundTrips;
}

Dialog* NpcDialogPak::GetPrimaryDialog() const {
    if (mDefault)
        return mDefault.get();
    return mNumbered.empty() ? nullptr : mNumbered.front().get();
}

VoidCallbackFunctor* NpcDialogPak::BeginSpeaking(VoidCallbackFunctor* onComplete) {
    mOnComplete = onComplete;
    mOwnCallback = std::make_unique<MemberCallbackFunctor<NpcDialogPak>>(
        this, &NpcDialogPak::OnDialogComplete);
    return mOwnCallback.get();
}

void NpcDialogPak::Speak(VoidCallbackFunctor* onComplete) {
    if (mCurrent)
        return;
    VoidCallbackFunctor* own = BeginSpeaking(onComplete);
    Dialog* chosen = nullptr;
    if (mDefault && !mDefault->HasBeenPlayed()) {
        chosen = mDefault.get();
    } else if (mDefault && mNumbered.empty() && !mIrritation) {
        chosen = mDefault.get();
    } else if (!mNumbered.empty()) {
        std::vector<Dialog*> candidates;
        for (const auto& dialog : mNumbered)
            if (!dialog->HasBeenPlayed())
                candidates.push_back(dialog.get());
        if (candidates.empty()) {
            if (mIrritationCounter != -1)
                --mIrritationCounter;
            for (const auto& dialog : mNumbered) {
                dialog->Reset();
                candidates.push_back(dialog.get());
            }
        }
        if (mIrritationCounter == 0 && mIrritation) {
            chosen = mIrritation.get();
            mIrritated = true;
        } else {
            const int count = static_cast<int>(candidates.size());
            chosen = candidates[static_cast<std::size_t>(DialogRandom::RandomInt(0, count - 1))];
        }
    } else if (mIrritation) {
        chosen = mIrritation.get();
    }
    mCurrent = chosen;
    if (chosen)
        chosen->Speak(own);
}

void NpcDialogPak::OnDialogComplete() {
    mCurrent = nullptr;
    // The caller may let go of the pack when it hears the end: nothing of it is touched after.
    if (VoidCallbackFunctor* onComplete = std::exchange(mOnComplete, nullptr))
        (*onComplete)(0);
}

void NpcDialogPak::ResetIrritation() {
    mIrritationCounter = mIrritationStart;
    mIrritated = false;
    if (mNumbered.empty() && mDefault)
        mDefault->SetHasBeenPlayed(false);
}

void NpcDialogPak::Reset() {
    mIrritationCounter = mIrritationStart;
    mIrritated = false;
    if (mDefault)
        mDefault->Reset();
    for (const auto& dialog : mNumbered)
        dialog->Reset();
}

void NpcDialogPak::Update(int elapsedMs) {
    if (mCurrent)
        mCurrent->Update(elapsedMs);
}

void NpcDialogPak::Stop() {
    if (mCurrent)
        mCurrent->Stop();
}

void NpcDialogPak::SetVolumeFade(float fade) {
    if (mCurrent)
        mCurrent->SetVolumeFade(fade);
}

std::wstring NpcDialogPak::GetText() const {
    return mCurrent ? mCurrent->GetText() : std::wstring();
}

int NpcDialogPak::GetPlaybackTime() const {
    return mCurrent ? mCurrent->GetPlaybackTime() : -1;
}

bool NpcDialogPak::IsSpeaking() const {
    return mCurrent && mCurrent->IsSpeaking();
}

}  // namespace GAME
