#include "Game/items/hotslots/PlayerHotSlotCtrl.h"

#include "Engine/streams/IOStream.h"
#include "Game/characters/Player.h"
#include "Game/core/GameEngine.h"
#include "Game/skills/manager/SkillManager.h"

namespace GAME {

namespace {
constexpr const char* kHotSlotBlock = "playerHotSlotCtrl";
constexpr std::size_t kBarSlots = 8;
}  // namespace

PlayerHotSlotCtrl::PlayerHotSlotCtrl() = default;
PlayerHotSlotCtrl::~PlayerHotSlotCtrl() = default;

std::size_t PlayerHotSlotCtrl::PrimaryIndex() const {
    return mPlayer && mPlayer->GetAlternateConfig() ? kPrimarySlot + 1 : kPrimarySlot;
}

std::size_t PlayerHotSlotCtrl::SecondaryIndex() const {
    return mPlayer && mPlayer->GetAlternateConfig() ? kSecondarySlot + 1 : kSecondarySlot;
}

std::uint32_t PlayerHotSlotCtrl::DefaultSkillId() const {
    return mPlayer ? mPlayer->GetSkillManager().GetDefaultSkillId() : 0;
}

HotSlotOption* PlayerHotSlotCtrl::GetHotSlotOption(std::size_t index) const {
    return mPlayer && index < kSlots ? mSlots[index].get() : nullptr;
}

HotSlotOptionStatus PlayerHotSlotCtrl::GetSlotStatus(std::size_t index) const {
    const HotSlotOption* option = index < kSlots ? mSlots[index].get() : nullptr;
    return option ? option->GetStatus() : HotSlotStatus_Nothing;
}

void PlayerHotSlotCtrl::EmptySlot(std::size_t index) {
    mSlots[index].reset();
}

void PlayerHotSlotCtrl::SetHotSlot(std::size_t index, const HotSlotOption* option) {
    mActive.reset();
    mTargetingNeeded = false;
    if (index >= kSlots)
        return;
    EmptySlot(index);
    if (!option)
        return;
    for (std::size_t other = 0; other < kSlots; ++other)
        if (mSlots[other] && mSlots[other]->GetType() == option->GetType() &&
            *mSlots[other] == *option) {
            mSlots[index] = mSlots[other];
            return;
        }
    if (option->GetType() == HotSlotOption::kSkill || option->GetType() == HotSlotOption::kPotion)
        mSlots[index] = option->Clone();
}

void PlayerHotSlotCtrl::Activate(HotSlotOption* option) {
    bool used = false;
    mTargetingNeeded = false;
    if (option)
        option->Activate(mTargetingNeeded, used);
    if (used)
        mActivationTimer = kActivationHoldMs;
}

void PlayerHotSlotCtrl::ActivateHotSlot(std::size_t index) {
    if (!mPlayer || index >= kSlots)
        return;
    mActive = mSlots[index];
    Activate(mActive.get());
}

void PlayerHotSlotCtrl::ActivatePrimarySlot() {
    mActive = mSlots[PrimaryIndex()];
    bool used = false;
    mTargetingNeeded = false;
    if (mActive)
        mActive->Activate(mTargetingNeeded, used);
    mActivationTimer = used ? kActivationHoldMs : 0;
}

void PlayerHotSlotCtrl::ActivateSecondarySlot() {
    mActive = mSlots[SecondaryIndex()];
    if (!mActive)
        return;
    Activate(mActive.get());
    // A potion is drunk at once and waits for no target.
    if (mActive && mActive->GetType() == HotSlotOption::kPotion)
        mActive.reset();
}

HotSlotOption* PlayerHotSlotCtrl::GetActiveSlotOption(bool primary) {
    mTargetingNeeded = false;
    if (mActive) {
        // Kept until the next call: the slot it came from may have been emptied meanwhile.
        mHandedOut = std::move(mActive);
        return mHandedOut.get();
    }
    return mSlots[primary ? PrimaryIndex() : SecondaryIndex()].get();
}

bool PlayerHotSlotCtrl::DeactivateActiveSlot() {
    const bool wasActive = mActive != nullptr;
    mActive.reset();
    mTargetingNeeded = false;
    return wasActive;
}

bool PlayerHotSlotCtrl::IsHotSlotActive(std::size_t index) const {
    const HotSlotOption* option = index < kSlots ? mSlots[index].get() : nullptr;
    return option && mActive && option->GetType() == mActive->GetType() && *option == *mActive;
}

void PlayerHotSlotCtrl::Update(int elapsedMs) {
    if (mActivationTimer > 0) {
        mActivationTimer -= elapsedMs;
        if (mActivationTimer < 1) {
            mActivationTimer = 0;
            mActive.reset();
        }
    }
    mValidationCountdown -= elapsedMs;
    if (mValidationCountdown >= 1)
        return;
    mValidationCountdown = kValidationPeriodMs;
    for (auto& slot : mSlots)
        if (slot && !slot->Validate())
            slot.reset();
    for (std::size_t index : {kPrimarySlot, kPrimarySlot + 1})
        if (!mSlots[index]) {
            HotSlotOptionSkill option(DefaultSkillId());
            option.SetPlayer(mPlayer);
            mSlots[index] = option.Clone();
        }
}

void PlayerHotSlotCtrl::SetToDefaults() {
    for (std::size_t index : {kPrimarySlot, kPrimarySlot + 1})
        if (!mSlots[index])
            mSlots[index] = std::make_unique<HotSlotOptionSkill>(DefaultSkillId());
    if (!mSlots[kHealthPotionSlot])
        mSlots[kHealthPotionSlot] =
            std::make_unique<HotSlotOptionPotion>(static_cast<std::uint32_t>(PotionType::Health));
    if (!mSlots[kManaPotionSlot])
        mSlots[kManaPotionSlot] =
            std::make_unique<HotSlotOptionPotion>(static_cast<std::uint32_t>(PotionType::Mana));
    for (std::size_t index : {kPrimarySlot, kPrimarySlot + 1, kHealthPotionSlot, kManaPotionSlot})
        mSlots[index]->SetPlayer(mPlayer);
}

bool PlayerHotSlotCtrl::IsInDefaultState() const {
    if (!gGameEngine || !gGameEngine->GetMainPlayer())
        return true;
    for (std::size_t index = 0; index < kBarSlots; ++index)
        if (mSlots[index])
            return false;
    const std::uint32_t defaultSkill = DefaultSkillId();
    for (std::size_t index : {kPrimarySlot, kPrimarySlot + 1})
        if (!mSlots[index] || mSlots[index]->GetSkillId() != defaultSkill)
            return false;
    return mSlots[kHealthPotionSlot] != nullptr;
}

void PlayerHotSlotCtrl::StreamProperties(IOStream& stream) {
    const bool reading = stream.IsReading();
    // The last section: a reader that does not find it has a file cut short.
    if (!stream.BeginBlock(kHotSlotBlock) && reading) {
        stream.EndBlock();
        stream.Fail(kHotSlotBlock, "missing, so the file is cut short");
        return;
    }
    for (std::size_t index = 0; index < kSlots; ++index) {
        if (!reading) {
            std::uint32_t type = mSlots[index] ? mSlots[index]->GetType() : HotSlotOption::kNone;
            stream.StreamUInt("storedType", type);
            if (mSlots[index])
                mSlots[index]->StreamProperties(stream);
            continue;
        }
        mSlots[index].reset();
        std::uint32_t type = HotSlotOption::kNone;
        stream.StreamUInt("storedType", type);
        std::shared_ptr<HotSlotOption> option;
        if (type == HotSlotOption::kSkill)
            option = std::make_shared<HotSlotOptionSkill>();
        else if (type == HotSlotOption::kPotion)
            option = std::make_shared<HotSlotOptionPotion>();
        if (!option)
            continue;
        option->SetPlayer(mPlayer);
        option->StreamProperties(stream);
        mSlots[index] = std::move(option);
    }
    stream.EndBlock();
}

}  // namespace GAME
