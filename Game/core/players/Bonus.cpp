#include "Game/core/players/Bonus.h"

#include "Engine/records/LoadTable.h"

namespace GAME {

void Bonus::Load(const LoadTable& table) {
    lifePoints = table.GetFloat("bonusLifePoints", 0.0f);
    lifePercent = table.GetFloat("bonusLifePercent", 0.0f);
    manaPoints = table.GetFloat("bonusManaPoints", 0.0f);
    manaPercent = table.GetFloat("bonusManaPercent", 0.0f);
    gold = static_cast<std::uint32_t>(table.GetInt("bonusGoldPoints", 0));
    skillPoints = static_cast<std::uint32_t>(table.GetInt("bonusSkillPoints", 0));
    attributePoints = static_cast<std::uint32_t>(table.GetInt("bonusAttributePoints", 0));
    experience = static_cast<std::uint32_t>(table.GetInt("bonusExperiencePoints", 0));
    effectName = table.GetString("bonusEffectName", std::string());
}

void Bonus::CopyValues(const Bonus& other) {
    id = other.id;
    lifePoints = other.lifePoints;
    lifePercent = other.lifePercent;
    manaPoints = other.manaPoints;
    manaPercent = other.manaPercent;
    gold = other.gold;
    skillPoints = other.skillPoints;
    attributePoints = other.attributePoints;
    experience = other.experience;
    sourceId = other.sourceId;
}

float Bonus::GetTotalValue(float life, float mana) const {
    return life * lifePercent + lifePoints + manaPoints + mana * manaPercent +
           static_cast<float>(gold) + static_cast<float>(skillPoints) +
           static_cast<float>(attributePoints) + static_cast<float>(experience);
}

}  // namespace GAME
