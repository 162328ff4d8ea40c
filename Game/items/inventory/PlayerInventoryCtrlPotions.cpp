// The potion book: identical potions piled by kind, drunk by kind, one cooldown per type.
#include <algorithm>
#include <cctype>
#include <cmath>

#include "Engine/object/ObjectManager.h"
#include "Engine/sys/Machine.h"
#include "Game/ai/controllers/player/ControllerPlayer.h"
#include "Game/characters/Player.h"
#include "Game/items/inventory/PlayerInventoryCtrl.h"
#include "Game/items/oneshot/OneShot.h"

namespace GAME {

namespace {

bool IsOfType(const PotionKind& kind, PotionType type) {
    return kind.isHealth == (type == PotionType::Health);
}

std::uint32_t CountPotions(const PotionKind& kind) {
    std::uint32_t total = 0;
    for (const PotionStack& stack : kind.stacks)
        total += stack.GetTotalPotions();
    return total;
}

}  // namespace

std::string PlayerInventoryCtrl::NormalizePotionName(const std::string& recordName) {
    std::string name = recordName;
    for (char& c : name)
        c = c == '/' ? '\\' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return name;
}

PotionKind* PlayerInventoryCtrl::FindKind(const std::string& name) {
    const auto found = mPotionBook.find(name);
    return found == mPotionBook.end() ? nullptr : &found->second;
}

const PotionKind* PlayerInventoryCtrl::FindKind(const std::string& name) const {
    const auto found = mPotionBook.find(name);
    return found == mPotionBook.end() ? nullptr : &found->second;
}

PotionStack* PlayerInventoryCtrl::FindStackOf(std::uint32_t visibleId, PotionKind** kindOut) {
    for (auto& [name, kind] : mPotionBook)
        for (PotionStack& stack : kind.stacks)
            if (stack.GetVisiblePotion() == visibleId) {
                if (kindOut)
                    *kindOut = &kind;
                return &stack;
            }
    return nullptr;
}

namespace {
PotionKind KindOf(const OneShot_Potion& potion) {
    PotionKind kind;
    kind.buttonUpBitmapName = potion.GetButtonUpBitmapName();
    kind.buttonDownBitmapName = potion.GetButtonDownBitmapName();
    potion.GetGameDescription(kind.displayText);
    kind.bonus = potion.GetBonus();
    kind.isHealth = potion.IsA<OneShot_PotionHealth>();
    return kind;
}
}  // namespace

bool PlayerInventoryCtrl::AddToOneShotMap(OneShot_Potion& potion) {
    const std::string name = NormalizePotionName(potion.GetObjectName());
    if (PotionKind* kind = FindKind(name)) {
        kind->stacks.emplace_back(potion.GetObjectId());
        return false;
    }
    PotionKind kind = KindOf(potion);
    kind.stacks.emplace_back(potion.GetObjectId());
    mPotionBook.emplace(name, std::move(kind));
    return true;
}

bool PlayerInventoryCtrl::StackOnExistingPile(OneShot_Potion& potion) {
    PotionKind* kind = FindKind(NormalizePotionName(potion.GetObjectName()));
    if (!kind)
        return false;
    for (PotionStack& stack : kind->stacks)
        if (!stack.IsStackFull()) {
            stack.PushStack(potion.GetObjectId());
            return true;
        }
    return false;
}

bool PlayerInventoryCtrl::UsePotionOfType(const std::string& name) {
    PotionKind* kind = FindKind(name);
    if (!kind)
        return false;
    if (GetCurrentCooldown(kind->isHealth ? PotionType::Health : PotionType::Mana) > 0)
        return false;
    if (kind->stacks.empty())
        return false;
    const auto open = std::find_if(kind->stacks.begin(), kind->stacks.end(),
                                   [](const PotionStack& stack) { return !stack.IsStackFull(); });
    PotionStack& stack = open != kind->stacks.end() ? *open : kind->stacks.back();
    std::uint32_t id = stack.PopStack();
    if (id == 0) {
        id = stack.GetVisiblePotion();
        std::vector<std::uint32_t> hidden;
        RemoveItem(id, hidden);  // the pile goes with its last potion
    }
    const auto* potion = Singleton<ObjectManager>::Get().GetObject<OneShot>(id);
    const int delay = potion ? potion->GetUseDelayTime() : 0;
    kind->currentCooldown = delay;
    kind->totalCooldown = delay;
    if (mController)
        mController->UseItem(id, true);
    return true;
}

bool PlayerInventoryCtrl::UsePotionOfType(PotionType type, float lowFraction, float highFraction) {
    if (!mPlayer)
        return false;
    const bool health = type == PotionType::Health;
    const auto current =
        static_cast<int>(health ? mPlayer->GetCurrentLife() : mPlayer->GetCurrentMana());
    const auto limit = static_cast<int>(health ? mPlayer->GetLifeLimit() : mPlayer->GetManaLimit());
    const int deficit = limit - current;
    const auto lowNeed =
        static_cast<int>(static_cast<float>(limit) * lowFraction - static_cast<float>(current));
    const auto highNeed =
        static_cast<int>(static_cast<float>(limit) * highFraction - static_cast<float>(current));
    // By the amount restored, ascending; the first kind in book order keeps a shared amount.
    std::map<int, const std::string*> byAmount;
    for (const auto& [name, kind] : mPotionBook) {
        if (!IsOfType(kind, type) || CountPotions(kind) == 0)
            continue;
        const auto amount =
            static_cast<int>(health ? kind.bonus.lifePoints : kind.bonus.manaPoints);
        byAmount.emplace(amount, &name);
    }
    const std::string* fits = nullptr;
    const std::string* under = nullptr;
    const std::string* over = nullptr;
    for (const auto& [amount, name] : byAmount) {
        if (amount >= deficit && amount <= highNeed) {
            fits = name;
            break;
        }
        if (!under && amount < deficit && amount >= lowNeed)
            under = name;
        if (!over && amount >= deficit)
            over = name;
    }
    const std::string* chosen = fits               ? fits
                                : under            ? under
                                : over             ? over
                                : byAmount.empty() ? nullptr
                                                   : byAmount.begin()->second;
    return chosen && UsePotionOfType(*chosen);
}

std::uint32_t PlayerInventoryCtrl::GetTotalPotions(PotionType type) const {
    std::uint32_t total = 0;
    for (const auto& [name, kind] : mPotionBook)
        if (IsOfType(kind, type))
            total += CountPotions(kind);
    return total;
}

std::uint32_t PlayerInventoryCtrl::GetTotalPotions(const std::string& name) const {
    const PotionKind* kind = FindKind(name);
    return kind ? CountPotions(*kind) : 0;
}

int PlayerInventoryCtrl::GetTotalCooldown(PotionType type) const {
    for (const auto& [name, kind] : mPotionBook)
        if (IsOfType(kind, type) && kind.totalCooldown != 0)
            return kind.totalCooldown;
    return 0;
}

int PlayerInventoryCtrl::GetCurrentCooldown(PotionType type) const {
    for (const auto& [name, kind] : mPotionBook)
        if (IsOfType(kind, type) && kind.currentCooldown != 0)
            return kind.currentCooldown;
    return 0;
}

int PlayerInventoryCtrl::GetTotalCooldown(const std::string& name) const {
    const PotionKind* kind = FindKind(name);
    return kind ? kind->totalCooldown : 0;
}

int PlayerInventoryCtrl::GetCurrentCooldown(const std::string& name) const {
    const PotionKind* kind = FindKind(name);
    return kind ? kind->currentCooldown : 0;
}

std::wstring PlayerInventoryCtrl::GetPotionText(const std::string& name) const {
    const PotionKind* kind = FindKind(name);
    return kind ? kind->displayText : std::wstring();
}

std::string PlayerInventoryCtrl::GetButtonUpBitmapName(const std::string& name) const {
    const PotionKind* kind = FindKind(name);
    return kind ? kind->buttonUpBitmapName : std::string();
}

std::string PlayerInventoryCtrl::GetButtonDownBitmapName(const std::string& name) const {
    const PotionKind* kind = FindKind(name);
    return kind ? kind->buttonDownBitmapName : std::string();
}

bool PlayerInventoryCtrl::IsPotionHealth(const std::string& name) const {
    const PotionKind* kind = FindKind(name);
    return kind && kind->isHealth;
}

void PlayerInventoryCtrl::GetPotionNames(std::vector<std::string>& out) const {
    for (const auto& [name, kind] : mPotionBook)
        out.push_back(name);
}

float PlayerInventoryCtrl::GetTotalBonus(const std::string& name) const {
    const PotionKind* kind = FindKind(name);
    if (!kind || !mPlayer)
        return 0.0f;
    return kind->bonus.GetTotalValue(mPlayer->GetPotentialLife(), mPlayer->GetPotentialMana());
}

bool PlayerInventoryCtrl::AssurePotionMap(const std::string& name) {
    if (FindKind(name))
        return true;
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    auto* potion = objects.CreateObjectFromFile<OneShot_Potion>(name);
    if (!potion)
        return false;
    mPotionBook.emplace(name, KindOf(*potion));
    objects.DestroyObjectEx(potion, "Game/PlayerInventoryCtrl", __LINE__);
    return true;
}

void PlayerInventoryCtrl::Update(int elapsedMs) {
    for (auto& [name, kind] : mPotionBook) {
        if (kind.currentCooldown <= 0)
            continue;
        kind.currentCooldown -= elapsedMs;
        if (kind.currentCooldown < 1) {
            kind.currentCooldown = 0;
            kind.totalCooldown = 0;
        }
    }
}

}  // namespace GAME
