// What a character's items and equipment give it: attributes, racial bonuses, item sets, money.
#include "Game/characters/Character.h"

#include <algorithm>
#include <string>
#include <vector>

#include "Engine/object/ObjectManager.h"
#include "Engine/sys/Machine.h"
#include "Game/ai/controllers/ControllerCharacter.h"
#include "Game/core/GameEngine.h"
#include "Game/core/util/StringUtil.h"
#include "Game/items/ItemSet.h"
#include "Game/items/inventory/Inventory.h"
#include "Game/items/kinds/Weapon.h"
#include "Game/rules/RacialBonus.h"

namespace GAME {

namespace {

Item* FindWornItem(std::uint32_t id) {
    return Singleton<ObjectManager>::Get().GetObject<Item>(id);
}

// Each worn item, in order of attachment; `nonWeapons` leaves weapons out.
template <class Visit>
void ForEachWornItem(const EquipManager& equipment, bool nonWeapons, Visit&& visit) {
    for (const EquipManagerContainer& entry : equipment.GetAttachedItems()) {
        Item* item = FindWornItem(entry.itemId);
        if (item && !(nonWeapons && item->IsA<Weapon>()))
            visit(*item);
    }
}

}  // namespace

void Character::ContributeRacialBonusDamage(const std::vector<std::string>& races,
                                            std::uint32_t weaponId, RacialBonus_Damage& damage) {
    // Kept between attacks so that an attack allocates nothing.
    thread_local std::vector<RacialBonusContribution> contributions;
    auto collect = [&](Item& item) {
        contributions.clear();
        item.ContributeRacialBonusDamage(contributions);
        for (const RacialBonusContribution& contribution : contributions)
            if (contribution.bonus)
                contribution.bonus->ContributeDamage(races, damage, contribution.level);
    };
    ForEachWornItem(GetEquipManager(), true, collect);
    mSkillManager->ContributeRacialBonusDamage(races, damage);
    if (auto* weapon =
            weaponId != 0 ? Singleton<ObjectManager>::Get().GetObject<Weapon>(weaponId) : nullptr)
        collect(*weapon);
}

void Character::ContributeRacialBonusDefense(const std::vector<std::string>& races,
                                             RacialBonus_Defense& bonus) {
    thread_local std::vector<RacialBonusContribution> contributions;
    ForEachWornItem(GetEquipManager(), false, [&](Item& item) {
        contributions.clear();
        item.ContributeRacialBonusDefense(contributions);
        for (const RacialBonusContribution& contribution : contributions)
            if (contribution.bonus)
                contribution.bonus->ContributeDefense(races, bonus, contribution.level);
    });
    mSkillManager->ContributeRacialBonusDefense(races, bonus);
}

void Character::GetEquipCharAttributes(CharAttributeAccumulator& accumulator) {
    ForEachWornItem(GetEquipManager(), false,
                    [&](Item& item) { item.GetCharAttributes(accumulator); });
}

void Character::GetEquipSkillAttributes(SkillAttributeAccumulator& accumulator) {
    ForEachWornItem(GetEquipManager(), false,
                    [&](Item& item) { item.GetSkillAttributes(accumulator); });
}

void Character::GetEquipArmorDamageAttributes(CombatAttributeAccumulator& accumulator) {
    ForEachWornItem(GetEquipManager(), true,
                    [&](Item& item) { item.GetOffensiveDamageAttributes(accumulator); });
}

void Character::GetEquipOffensiveModifierAttributes(CombatAttributeAccumulator& accumulator) {
    ForEachWornItem(GetEquipManager(), false,
                    [&](Item& item) { item.GetOffensiveModifierAttributes(accumulator); });
}

void Character::GetEquipRetaliationAttributes(CombatAttributeAccumulator& accumulator) {
    ForEachWornItem(GetEquipManager(), false,
                    [&](Item& item) { item.GetRetaliationAttributes(accumulator); });
}

void Character::GetAllDefenseAttributes(CombatAttributeAccumulator& accumulator) {
    ForEachWornItem(GetEquipManager(), false,
                    [&](Item& item) { item.GetDefenseAttributes(accumulator); });
    mSkillManager->GetDefenseAttributes(accumulator);
    mBio.GetDefenseAttributes(accumulator);
    ContributeItemSetDefenseAttributes(accumulator);
    ContributeGameBalanceDefenseAttributes(accumulator);
}

bool Character::IsUnarmed() const {
    return mCombatManager->GetHandState() == 0;
}

bool Character::IsWieldingDualWeapons() const {
    return mCombatManager->GetHandState() == 2;
}

// ---- Item sets ----------------------------------------------------------------------------

void Character::AddItemToSet(const std::string& set, const std::string& item) {
    std::string name;
    AppendLowerCase(name, item);
    mItemSets[set].push_back(std::move(name));
    CharAttributeInputsChanged();
}

void Character::RemoveItemFromSet(const std::string& set, const std::string& item) {
    auto it = mItemSets.find(set);
    if (it == mItemSets.end())
        return;
    std::string name;
    AppendLowerCase(name, item);
    if (auto found = std::find(it->second.begin(), it->second.end(), name);
        found != it->second.end()) {
        it->second.erase(found);
        CharAttributeInputsChanged();
    }
}

std::vector<std::string> Character::GetItemsInSet(const std::string& set) const {
    auto it = mItemSets.find(set);
    return it == mItemSets.end() ? std::vector<std::string>() : it->second;
}

std::size_t Character::GetNumberOfItemsInSet(const std::string& set) const {
    auto it = mItemSets.find(set);
    return it == mItemSets.end() ? 0 : it->second.size();
}

namespace {
// Every set with a member worn, in name order, with its count of worn names.
template <class Visit>
void ForEachWornSet(const std::map<std::string, std::vector<std::string>>& sets, Visit&& visit) {
    if (!gGameEngine)
        return;
    for (const auto& [name, members] : sets)
        if (!members.empty())
            if (const ItemSet* set = gGameEngine->GetItemSet(name))
                visit(*set, static_cast<unsigned>(members.size()));
}
}  // namespace

void Character::ContributeItemSetCharAttributes(CharAttributeAccumulator& accumulator) {
    ForEachWornSet(mItemSets, [&](const ItemSet& set, unsigned count) {
        set.GetCharAttributes(accumulator, count);
    });
}

void Character::ContributeItemSetSkillAttributes(SkillAttributeAccumulator& accumulator) {
    ForEachWornSet(mItemSets, [&](const ItemSet& set, unsigned count) {
        set.GetSkillAttributes(accumulator, count);
    });
}

void Character::ContributeItemSetDefenseAttributes(CombatAttributeAccumulator& accumulator) {
    ForEachWornSet(mItemSets, [&](const ItemSet& set, unsigned count) {
        set.GetDefenseAttributes(accumulator, count);
    });
}

void Character::ContributeItemSetOffensiveDamageAttributes(
    CombatAttributeAccumulator& accumulator) {
    ForEachWornSet(mItemSets, [&](const ItemSet& set, unsigned count) {
        set.GetOffensiveDamageAttributes(accumulator, count);
    });
}

void Character::ContributeItemSetOffensiveModifierAttributes(
    CombatAttributeAccumulator& accumulator) {
    ForEachWornSet(mItemSets, [&](const ItemSet& set, unsigned count) {
        set.GetOffensiveModifierAttributes(accumulator, count);
    });
}

void Character::ContributeItemSetRetaliationAttributes(CombatAttributeAccumulator& accumulator) {
    ForEachWornSet(mItemSets, [&](const ItemSet& set, unsigned count) {
        set.GetRetaliationAttributes(accumulator, count);
    });
}

// ---- Money ----------------------------------------------------------------------------------

void Character::AddMoney(std::uint32_t amount) {
    const std::uint64_t total = static_cast<std::uint64_t>(mMoney) + amount;
    mMoney = static_cast<std::uint32_t>(std::min<std::uint64_t>(total, kMaxMoney));
}

std::uint32_t Character::SubtractMoney(std::uint32_t amount) {
    mMoney = amount >= mMoney ? 0 : mMoney - amount;
    return mMoney;
}

}  // namespace GAME
