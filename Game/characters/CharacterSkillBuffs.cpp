// The character's side of skill buffs: the command that every machine runs, the transfer that
// only the controlling machine decides, and what a buff changes on its carrier.
#include "Game/characters/Character.h"
#include "Game/rules/combat/CombatManager.h"
#include "Game/skills/manager/SkillManager.h"
#include "Game/skills/manager/SkillServicesBase.h"

namespace GAME {

void Character::CreateRemoveSkillBuff(std::uint32_t skillId, const std::string& buffName,
                                      std::uint32_t level, const std::string& modifier1Name,
                                      std::uint32_t modifier1Level,
                                      const std::string& modifier2Name,
                                      std::uint32_t modifier2Level, int timeToLive,
                                      std::uint32_t casterId) {
    mBio.BioIsTainted();
    mSkillManager->CreateRemoveSkillBuff(skillId, buffName, level, modifier1Name, modifier1Level,
                                         modifier2Name, modifier2Level, timeToLive, casterId);
}

void Character::ControllerAddSkillBuff(const SkillBuffTransfer& transfer,
                                       const std::vector<Weapon_Type>& weaponTypes,
                                       bool dualWieldOnly) {
    if (SkillServicesBase* services = mSkillManager->GetSkillServices())
        services->CreateUpdateSkillBuff(transfer, weaponTypes, dualWieldOnly);
}

bool Character::IsSkillBuffActive(const std::string& buffName) const {
    return mSkillManager->IsSkillBuffActive(buffName);
}

void Character::DispelSkillBuffs() {
    mSkillManager->DispelSkillBuffs();
}

void Character::DispelSkillDeBuffs() {
    mSkillManager->DispelSkillDeBuffs();
}

void Character::AddCombatFilter(CombatFilter* filter) {
    mCombatManager->AddCombatFilter(filter);
}

void Character::RemoveCombatFilter(CombatFilter* filter) {
    mCombatManager->RemoveCombatFilter(filter);
}

void Character::AddToSkillLevel(const std::string& recordName, int amount) {
    mSkillManager->IncrementSkill(mSkillManager->FindSkillId(recordName), amount);
}

void Character::SetAllSkillLevelAugment(std::uint32_t amount, const std::string& sourceName) {
    mSkillManager->SetAllSkillAugment(amount, sourceName);
}

void Character::RemoveAllSkillLevelAugment(std::uint32_t amount, const std::string& sourceName) {
    mSkillManager->RemoveAllSkillAugment(amount, sourceName);
}

}  // namespace GAME
