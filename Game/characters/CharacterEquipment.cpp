// What a character's items and equipment give it: attributes, racial bonuses, money.
#include "Game/characters/Character.h"

#include <algorithm>
#include <string>
#include <vector>

#include "Engine/object/ObjectManager.h"
#include "Engine/sys/Machine.h"
#include "Game/core/util/SeamLog.h"
#include "Game/items/kinds/Weapon.h"
#include "Game/rules/RacialBonus.h"

namespace GAME {

void Character::ContributeRacialBonusDamage(const std::vector<std::string>& races,
                                            std::uint32_t weaponId, RacialBonus_Damage& damage) {
    ReportSeam("Character", "EquipManager racial bonus damage");
    mSkillManager->ContributeRacialBonusDamage(races, damage);
    auto* weapon =
        weaponId != 0 ? Singleton<ObjectManager>::Get().GetObject<Weapon>(weaponId) : nullptr;
    if (!weapon)
        return;
    // Kept between attacks so that an attack allocates nothing.
    thread_local std::vector<RacialBonusContribution> contributions;
    contributions.clear();
    weapon->ContributeRacialBonusDamage(contributions);
    for (const RacialBonusContribution& contribution : contributions)
        if (contribution.bonus)
            contribution.bonus->ContributeDamage(races, damage, contribution.level);
}

void Character::ContributeRacialBonusDefense(const std::vector<std::string>& races,
                                             RacialBonus_Defense& bonus) {
    ReportSeam("Character", "EquipManager racial bonus defense");
    mSkillManager->ContributeRacialBonusDefense(races, bonus);
}

void Character::GetEquipCharAttributes(CharAttributeAccumulator&) {
    ReportSeam("Character", "EquipManager character attributes");
}

void Character::ContributeItemSetCharAttributes(CharAttributeAccumulator&) {
    ReportSeam("Character", "Inventory item set attributes");
}

void Character::GetAllDefenseAttributes(CombatAttributeAccumulator& accumulator) {
    ReportSeam("Character", "EquipManager defense attributes");
    mSkillManager->GetDefenseAttributes(accumulator);
    mBio.GetDefenseAttributes(accumulator);
    ReportSeam("Character", "Inventory item set defense attributes");
    ContributeGameBalanceDefenseAttributes(accumulator);
}

void Character::AddMoney(std::uint32_t amount) {
    const std::uint64_t total = static_cast<std::uint64_t>(mMoney) + amount;
    mMoney = static_cast<std::uint32_t>(std::min<std::uint64_t>(total, kMaxMoney));
}

std::uint32_t Character::SubtractMoney(std::uint32_t amount) {
    mMoney = amount >= mMoney ? 0 : mMoney - amount;
    return mMoney;
}

}  // namespace GAME
