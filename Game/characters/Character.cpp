#include "Game/characters/Character.h"

#include <algorithm>

#include "Game/core/GameEngine.h"
#include "Game/core/players/Bonus.h"

namespace GAME {

RTTI_IMPLEMENT(Character, Actor)

Character::Character() {
    mFxManager.AttachActor(this);
}
Character::~Character() = default;

Team Character::GetTeam() const {
    return mInvisible ? TeamManager::InvisibleTeam() : mTeam;
}

void Character::ReceiveExperience(std::uint32_t points) {
    mExperience += points;
}

std::uint32_t Character::GetExperienceReward() const {
    if (!gGameEngine)
        return mExperience;
    return gGameEngine->CalculateExperienceReward(GetCharLevel(), GetExperiencePoints());
}

void Character::SetLife(float life, float limit) {
    mLifeLimit = limit;
    mLife = std::min(life, limit);
}

void Character::SetMana(float mana, float limit) {
    mManaLimit = limit;
    mMana = std::min(mana, limit);
}

void Character::AddMoney(std::uint32_t amount) {
    const std::uint64_t total = static_cast<std::uint64_t>(mMoney) + amount;
    mMoney = static_cast<std::uint32_t>(std::min<std::uint64_t>(total, kMaxMoney));
}

std::uint32_t Character::SubtractMoney(std::uint32_t amount) {
    mMoney = amount >= mMoney ? 0 : mMoney - amount;
    return mMoney;
}

void Character::GetActiveStatusSkills(std::vector<std::string>& names) const {
    names.insert(names.end(), mStatusSkills.begin(), mStatusSkills.end());
}

void Character::TakeBonus(const Bonus& bonus, bool, int) {
    mLife = std::min(mLife + bonus.lifePoints + mLifeLimit * bonus.lifePercent * 0.01f, mLifeLimit);
    mMana = std::min(mMana + bonus.manaPoints + mManaLimit * bonus.manaPercent * 0.01f, mManaLimit);
    if (bonus.experience != 0)
        ReceiveExperience(bonus.experience);
    if (bonus.gold != 0)
        AddMoney(bonus.gold);
    if (bonus.attributePoints != 0)
        mModifierPoints += bonus.attributePoints;
    if (bonus.skillPoints != 0)
        mSkillPoints += bonus.skillPoints;
}

}  // namespace GAME
