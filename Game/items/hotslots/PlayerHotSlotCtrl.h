#pragma once
// The player's quick-use bar: fourteen slots (0-7 the bar, 8 health and 9 mana potions, 10/11
// the primary skill and 12/13 the secondary skill of the two configurations). Activating a slot
// uses its skill or drinks the best potion of its type; a skill that needs a target stays active
// until a click takes it. Owned by the player, which loads, updates and saves it.
#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "Game/items/hotslots/HotSlotOption.h"

namespace GAME {

class IOStream;
class OneShot_Potion;
class Player;

class PlayerHotSlotCtrl {
public:
    static constexpr std::size_t kSlots = 14;
    static constexpr std::size_t kHealthPotionSlot = 8;
    static constexpr std::size_t kManaPotionSlot = 9;
    static constexpr std::size_t kPrimarySlot = 10;
    static constexpr std::size_t kSecondarySlot = 12;
    static constexpr int kActivationHoldMs = 500;
    static constexpr int kValidationPeriodMs = 250;

    PlayerHotSlotCtrl();
    ~PlayerHotSlotCtrl();
    PlayerHotSlotCtrl(const PlayerHotSlotCtrl&) = delete;
    PlayerHotSlotCtrl& operator=(const PlayerHotSlotCtrl&) = delete;

    void SetPlayer(Player* player) { mPlayer = player; }
    HotSlotOption* GetHotSlotOption(std::size_t index) const;
    HotSlotOptionStatus GetSlotStatus(std::size_t index) const;
    // The option is shared with an equal one already in another slot, else copied.
    void SetHotSlot(std::size_t index, const HotSlotOption* option);
    void SetPrimarySlot(const HotSlotOption* option) { SetHotSlot(PrimaryIndex(), option); }
    void SetSecondarySlot(const HotSlotOption* option) { SetHotSlot(SecondaryIndex(), option); }
    HotSlotOption* GetPrimarySlot() const { return mSlots[PrimaryIndex()].get(); }
    HotSlotOption* GetSecondarySlot() const { return mSlots[SecondaryIndex()].get(); }

    void ActivateHotSlot(std::size_t index);
    void ActivatePrimarySlot();
    void ActivateSecondarySlot();
    // The option a click uses: an activated one (once), else the primary or secondary slot's.
    HotSlotOption* GetActiveSlotOption(bool primary);
    bool DeactivateActiveSlot();
    bool IsAnySlotActive() const { return mActive && mActivationTimer == 0; }
    bool IsAnyActiveTargetingNeeded() const { return mTargetingNeeded; }
    bool IsHotSlotActive(std::size_t index) const;
    bool IsPrimarySlotActive() const { return IsHotSlotActive(PrimaryIndex()); }
    bool IsSecondarySlotActive() const { return IsHotSlotActive(SecondaryIndex()); }
    HotSlotOptionStatus GetPrimaryStatus() const { return GetSlotStatus(PrimaryIndex()); }
    HotSlotOptionStatus GetSecondaryStatus() const { return GetSlotStatus(SecondaryIndex()); }
    bool GetDisableHotSlotsOverride() const { return false; }

    void Update(int elapsedMs);
    void SetToDefaults();
    bool IsInDefaultState() const;
    void StreamProperties(IOStream& stream);

    void SetPrimarySkillId(std::uint32_t) {}
    void SetSecondarySkillId(std::uint32_t) {}
    std::uint32_t GetPrimarySkillId() const { return 0; }
    std::uint32_t GetSecondarySkillId() const { return 0; }
    void SetDefaultPotionHotSlots(const std::string&, OneShot_Potion*) {}

private:
    std::size_t PrimaryIndex() const;
    std::size_t SecondaryIndex() const;
    std::uint32_t DefaultSkillId() const;
    void Activate(HotSlotOption* option);
    void EmptySlot(std::size_t index);

    Player* mPlayer = nullptr;
    // An option equal to another slot's is shared between the two.
    std::array<std::shared_ptr<HotSlotOption>, kSlots> mSlots;
    std::shared_ptr<HotSlotOption> mActive;
    std::shared_ptr<HotSlotOption> mHandedOut;
    int mActivationTimer = 0;
    bool mTargetingNeeded = false;
    int mValidationCountdown = 0;
};

}  // namespace GAME
