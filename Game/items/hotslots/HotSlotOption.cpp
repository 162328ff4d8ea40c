#include "Game/items/hotslots/HotSlotOption.h"

#include <array>

#include "Engine/object/ObjectManager.h"
#include "Engine/streams/IOStream.h"
#include "Engine/sys/Machine.h"
#include "Game/ai/controllers/CharacterController.h"
#include "Game/ai/controllers/player/ControllerPlayer.h"
#include "Game/characters/Player.h"
#include "Game/core/GameEngine.h"
#include "Game/items/GameTextLine.h"
#include "Game/skills/Skill.h"
#include "Game/skills/profile/SkillProfile.h"

namespace GAME {

namespace {

constexpr std::size_t kMostTrimmedSpaces = 50;
constexpr auto kPotionNameStyle = static_cast<GameTextClass>(8);
constexpr float kLowFraction = 0.8f;
constexpr float kHighFraction = 1.2f;

// Each potion type's look, shared by every potion option of the machine.
struct DefaultPotionData {
    struct Look {
        std::string up;
        std::string down;
        std::wstring displayName;
    };
    std::array<Look, 2> looks;
};

const DefaultPotionData::Look* LookOf(std::uint32_t type) {
    if (type > static_cast<std::uint32_t>(PotionType::Mana))
        return nullptr;
    return &Singleton<DefaultPotionData>::Get().looks[type];
}

// Spaces off both ends, at most 50 a side; braces are looked past and kept.
void TrimSpaces(std::wstring& text) {
    std::size_t removed = 0;
    for (std::size_t i = 0; i < text.size() && removed < kMostTrimmedSpaces;) {
        if (text[i] == L'{' || text[i] == L'}') {
            ++i;
        } else if (text[i] == L' ') {
            text.erase(i, 1);
            ++removed;
        } else {
            break;
        }
    }
    removed = 0;
    for (std::size_t i = text.size(); i > 0 && removed < kMostTrimmedSpaces;) {
        const wchar_t c = text[i - 1];
        if (c == L'{' || c == L'}') {
            --i;
        } else if (c == L' ') {
            text.erase(i - 1, 1);
            --i;
            ++removed;
        } else {
            break;
        }
    }
}

}  // namespace

bool HotSlotOption::operator==(const HotSlotOption& other) const {
    return mStoredType == other.mStoredType && mPlayer == other.mPlayer;
}

// HotSlotOptionSkill

Skill* HotSlotOptionSkill::FindSkill() const {
    return mSkillId != 0 ? Singleton<ObjectManager>::Get().GetObject<Skill>(mSkillId) : nullptr;
}

bool HotSlotOptionSkill::Validate() const {
    return mSkillId == 0 ||
           (mPlayer && mPlayer->GetSkillManager().IsSkillValidForUse(mSkillId, true));
}

bool HotSlotOptionSkill::operator==(const HotSlotOption& other) const {
    return HotSlotOption::operator==(other) &&
           mSkillId == static_cast<const HotSlotOptionSkill&>(other).mSkillId;
}

void HotSlotOptionSkill::Activate(bool& targetingNeeded, bool& used) {
    targetingNeeded = false;
    used = false;
    const Skill* skill = FindSkill();
    if (!skill || !mPlayer)
        return;
    if (skill->GetSkillType() != 1) {
        targetingNeeded = true;
        return;
    }
    auto* controller = FindController<ControllerPlayer>(*mPlayer);
    std::uint32_t target = 0;
    used = controller && controller->SendSkillAction(mPlayer, true, false, mSkillId,
                                                     mPlayer->GetPosition(), target);
}

float HotSlotOptionSkill::GetCooldownCompletion() const {
    const Skill* skill = FindSkill();
    return skill ? skill->GetCooldownCompletion() : 0.0f;
}

HotSlotOptionStatus HotSlotOptionSkill::GetStatus() const {
    const Skill* skill = FindSkill();
    if (!skill)
        return HotSlotStatus_Nothing;
    switch (skill->GetReason()) {
        case SkillReason::Available:
            return HotSlotStatus_Ready;
        case SkillReason::CoolingDown:
            return HotSlotStatus_Recharging;
        case SkillReason::NotEnoughMana:
            return HotSlotStatus_NotEnoughMana;
        case SkillReason::NotQualifying:
            return HotSlotStatus_NotQualifying;
        default:
            return HotSlotStatus_Nothing;
    }
}

namespace {
const SkillProfile* ProfileOf(const Skill* skill) {
    return skill && gGameEngine ? gGameEngine->GetSkillResource(skill->GetResourceName()) : nullptr;
}
}  // namespace

std::string HotSlotOptionSkill::GetBitmapNameUp() const {
    const SkillProfile* profile = ProfileOf(FindSkill());
    return profile ? profile->GetUpBitmapName() : std::string();
}

std::string HotSlotOptionSkill::GetBitmapNameDown() const {
    const SkillProfile* profile = ProfileOf(FindSkill());
    return profile ? profile->GetDownBitmapName() : std::string();
}

void HotSlotOptionSkill::GetRolloverText(std::vector<GameTextLine>& lines) const {
    GameEngine::GenerateUISkillInfo(FindSkill(), lines);
}

void HotSlotOptionSkill::GetDisplayName(std::wstring& text) const {
    text.clear();
    if (const Skill* skill = FindSkill()) {
        skill->CreateUISkillName(text);
        TrimSpaces(text);
    }
}

void HotSlotOptionSkill::StreamProperties(IOStream& stream) {
    const Skill* skill = FindSkill();
    std::string name = skill ? skill->GetObjectName() : std::string();
    bool itemSkill = skill && skill->IsItemSkill();
    stream.StreamString("skillName", name);
    stream.StreamBool("isItemSkill", itemSkill);
    if (!stream.IsReading())
        return;
    mSkillId = 0;
    if (mPlayer && !name.empty()) {
        const SkillManager& skills = mPlayer->GetSkillManager();
        mSkillId = itemSkill ? skills.FindItemSkillId(name) : skills.FindSkillId(name);
    }
}

std::unique_ptr<HotSlotOption> HotSlotOptionSkill::Clone() const {
    auto copy = std::make_unique<HotSlotOptionSkill>(mSkillId);
    copy->SetPlayer(mPlayer);
    return copy;
}

// HotSlotOptionPotion

void HotSlotOptionPotion::SetDefaultPotionData(PotionType type, const std::string& up,
                                               const std::string& down,
                                               const std::wstring& displayName) {
    auto& look = Singleton<DefaultPotionData>::Get().looks[static_cast<std::size_t>(type)];
    look.up = up.substr(0, kMaxTextLength);
    look.down = down.substr(0, kMaxTextLength);
    look.displayName = displayName.substr(0, kMaxTextLength);
}

PlayerInventoryCtrl* HotSlotOptionPotion::FindInventory() const {
    auto* controller = mPlayer ? FindController<ControllerPlayer>(*mPlayer) : nullptr;
    return controller ? &controller->GetInventoryCtrl() : nullptr;
}

bool HotSlotOptionPotion::operator==(const HotSlotOption& other) const {
    return HotSlotOption::operator==(other) &&
           mDefaultType == static_cast<const HotSlotOptionPotion&>(other).mDefaultType;
}

void HotSlotOptionPotion::Activate(bool& targetingNeeded, bool& used) {
    targetingNeeded = false;
    used = false;
    PlayerInventoryCtrl* inventory = FindInventory();
    if (!inventory || !mPlayer->IsAlive() || !HasType())
        return;
    used = inventory->UsePotionOfType(static_cast<PotionType>(mDefaultType), kLowFraction,
                                      kHighFraction);
}

float HotSlotOptionPotion::GetCooldownCompletion() const {
    const PlayerInventoryCtrl* inventory = FindInventory();
    if (!inventory || !HasType())
        return 1.0f;
    const auto type = static_cast<PotionType>(mDefaultType);
    const int total = inventory->GetTotalCooldown(type);
    if (total == 0)
        return 0.0f;
    return 1.0f -
           static_cast<float>(inventory->GetCurrentCooldown(type)) / static_cast<float>(total);
}

HotSlotOptionStatus HotSlotOptionPotion::GetStatus() const {
    const PlayerInventoryCtrl* inventory = FindInventory();
    if (!inventory)
        return HotSlotStatus_Nothing;
    if (GetNumberAvailable() < 1)
        return HotSlotStatus_NoPotion;
    return GetCooldownCompletion() <= 0.0f ? HotSlotStatus_Ready : HotSlotStatus_Recharging;
}

std::string HotSlotOptionPotion::GetBitmapNameUp() const {
    const auto* look = LookOf(mDefaultType);
    return look ? look->up : std::string();
}

std::string HotSlotOptionPotion::GetBitmapNameDown() const {
    const auto* look = LookOf(mDefaultType);
    return look ? look->down : std::string();
}

int HotSlotOptionPotion::GetNumberAvailable() const {
    const PlayerInventoryCtrl* inventory = FindInventory();
    if (!inventory || !HasType())
        return 0;
    return static_cast<int>(inventory->GetTotalPotions(static_cast<PotionType>(mDefaultType)));
}

void HotSlotOptionPotion::GetRolloverText(std::vector<GameTextLine>& lines) const {
    std::wstring name;
    GetDisplayName(name);
    lines.emplace_back(kPotionNameStyle, name);
}

void HotSlotOptionPotion::GetDisplayName(std::wstring& text) const {
    text.clear();
    const auto* look = LookOf(mDefaultType);
    if (look && FindInventory())
        text = look->displayName;
}

void HotSlotOptionPotion::StreamProperties(IOStream& stream) {
    stream.StreamUInt("storedDefaultType", mDefaultType);
}

std::unique_ptr<HotSlotOption> HotSlotOptionPotion::Clone() const {
    auto copy = std::make_unique<HotSlotOptionPotion>(mDefaultType);
    copy->SetPlayer(mPlayer);
    return copy;
}

}  // namespace GAME
