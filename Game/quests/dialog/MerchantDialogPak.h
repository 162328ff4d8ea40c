#pragma once
// The lines of a merchant (and of the skill reallocator): a greeting and up to five long, five
// short and five goodbye lines. The character sets the mode before it speaks.
#include <array>
#include <memory>
#include <string>

#include "Game/quests/dialog/NpcDialogPak.h"

namespace GAME {

class MerchantDialogPak : public NpcDialogPak {
public:
    enum Mode { Greeting = 0, Long = 1, Short = 2, Goodbye = 3 };
    static constexpr std::size_t kGroupSize = 5;

    MerchantDialogPak();
    ~MerchantDialogPak() override;

    static MerchantDialogPak* Spawn(const std::string& record);
    static MerchantDialogPak* Spawn() { return new MerchantDialogPak(); }

    // Stops a line being said, then says one of the mode's group.
    void Speak(VoidCallbackFunctor* onComplete) override;
    int GetPlaybackTime() const override { return 0; }

    void AddDialog(Dialog*) override {}
    void SetIrritationRoundTrips(int) override {}
    void ResetIrritation() override {}
    bool IsIrritated() const override { return false; }
    void Reset() override;
    void Load(const LoadTable& record) override;
    float GetResetDistance() const override { return mResetDistance; }
    Dialog* GetPrimaryDialog() const override { return nullptr; }

    void SetMode(int mode) { mMode = mode; }
    int GetMode() const { return mMode; }
    Dialog* GetGlobalDialog() const { return mGlobal.get(); }
    Dialog* GetGroupDialog(int mode, std::size_t slot) const;

private:
    using Group = std::array<std::unique_ptr<Dialog>, kGroupSize>;
    static void LoadGroup(const LoadTable& record, const char* stem, Group& group);
    static Dialog* Choose(Group& group);

    std::unique_ptr<Dialog> mGlobal;
    Group mLong;
    Group mShort;
    Group mGoodbye;
    int mMode = Greeting;
    float mResetDistance = 10.0f;
};

}  // namespace GAME
