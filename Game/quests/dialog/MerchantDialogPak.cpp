#include "Game/quests/dialog/MerchantDialogPak.h"

#include <vector>

#include "Engine/object/ObjectManager.h"
#include "Engine/records/LoadTable.h"
#include "Game/quests/dialog/Dialog.h"
#include "Game/quests/dialog/DialogRandom.h"

namespace GAME {

MerchantDialogPak::MerchantDialogPak() = default;
MerchantDialogPak::~MerchantDialogPak() = default;

MerchantDialogPak* MerchantDialogPak::Spawn(const std::string& record) {
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    if (record.empty() || !objects.LoadTableFile(record))
        return nullptr;
    auto* pack = new MerchantDialogPak();
    pack->Load(objects.GetLoadTable(record));
    return pack;
}

void MerchantDialogPak::LoadGroup(const LoadTable& record, const char* stem, Group& group) {
    std::size_t next = 0;
    for (int n = 1; n <= static_cast<int>(kGroupSize); ++n) {
        const std::string number = std::to_string(n);
        const std::string prefix = stem;
        Dialog* dialog =
            Dialog::Create(record, prefix + "TextTag" + number, prefix + "SoundFile" + number,
                           prefix + "SoundVolume" + number);
        if (dialog)
            group[next++].reset(dialog);
    }
}

void MerchantDialogPak::Load(const LoadTable& record) {
    mGlobal.reset(Dialog::Create(record, "globalDialogTextTag1", "globalDialogSoundFile1",
                                 "globalDialogSoundVolume1"));
    LoadGroup(record, "longDialog", mLong);
    LoadGroup(record, "shortDialog", mShort);
    LoadGroup(record, "goodbyeDialog", mGoodbye);
    SetShortGreetingTimerTime(record.GetInt("shortGreetingTimerTime", 0));
}

Dialog* MerchantDialogPak::Choose(Group& group) {
    std::vector<Dialog*> candidates;
    for (const auto& dialog : group)
        if (dialog && !dialog->HasBeenPlayed())
            candidates.push_back(dialog.get());
    if (candidates.empty()) {
        for (const auto& dialog : group)
            if (dialog) {
                dialog->Reset();
                candidates.push_back(dialog.get());
            }
    }
    if (candidates.empty())
        return nullptr;
    const int count = static_cast<int>(candidates.size());
    return candidates[static_cast<std::size_t>(DialogRandom::RandomInt(0, count - 1))];
}

void MerchantDialogPak::Speak(VoidCallbackFunctor* onComplete) {
    if (Dialog* current = GetCurrentDialog()) {
        current->Stop();
        SetCurrent(nullptr);
    }
    VoidCallbackFunctor* own = BeginSpeaking(onComplete);
    Dialog* chosen = nullptr;
    switch (mMode) {
        case Greeting:
            chosen = mGlobal ? mGlobal.get() : Choose(mLong);
            break;
        case Long:
            chosen = Choose(mLong);
            break;
        case Short:
            chosen = Choose(mShort);
            break;
        case Goodbye:
            chosen = Choose(mGoodbye);
            break;
        default:
            break;
    }
    SetCurrent(chosen);
    if (chosen)
        chosen->Speak(own);
}

void MerchantDialogPak::Reset() {
    if (mGlobal)
        mGlobal->Reset();
    for (Group* group : {&mLong, &mShort, &mGoodbye})
        for (const auto& dialog : *group)
            if (dialog)
                dialog->Reset();
}

Dialog* MerchantDialogPak::GetGroupDialog(int mode, std::size_t slot) const {
    const Group* group = mode == Long      ? &mLong
                         : mode == Short   ? &mShort
                         : mode == Goodbye ? &mGoodbye
                                           : nullptr;
    return group && slot < kGroupSize ? (*group)[slot].get() : nullptr;
}

}  // namespace GAME
