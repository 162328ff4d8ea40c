#include "Game/skills/manager/SkillPointSpend.h"

#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Game/characters/Character.h"
#include "Game/skills/Skill.h"
#include "Game/skills/manager/SkillManager.h"
#include "Game/skills/manager/SkillServicesBase.h"

namespace GAME {

namespace {

Skill* OwnSkill(SkillManager& manager, std::uint32_t reference) {
    const std::vector<std::uint32_t>& skills = manager.GetSkillList();
    return reference < skills.size()
               ? Singleton<ObjectManager>::Get().GetObject<Skill>(skills[reference])
               : nullptr;
}

}  // namespace

bool SpendSkillPoint(SkillManager& manager, std::uint32_t skillId) {
    Character* character = manager.GetParent();
    SkillServicesBase* services = manager.GetSkillServices();
    Skill* skill = OwnSkill(manager, manager.GetSkillReferenceNumber(skillId));
    if (!character || !services || !skill || manager.IsMonsterSkill() ||
        character->GetSkillPoints() == 0 || skill->GetSkillLevel() >= skill->GetMaxLevel())
        return false;
    SkillState state = skill->GetSkillState();
    ++state.level;
    services->SendSkillStateUpdate(skillId, state);
    return true;
}

bool IsSkillPointSpend(SkillManager& manager, std::uint32_t reference, const SkillState& state) {
    const Skill* skill = OwnSkill(manager, reference);
    return skill && manager.GetParent() && !manager.IsMonsterSkill() &&
           state.level > skill->GetSkillLevel();
}

void PaySkillLevels(SkillManager& manager, Skill& skill, const SkillState& state) {
    const std::uint32_t level = state.level;
    Character* character = manager.GetParent();
    if (!character || level <= skill.GetSkillLevel())
        return;
    const std::uint32_t rise = level - skill.GetSkillLevel();
    if (level > skill.GetMaxLevel() || rise > character->GetSkillPoints()) {
        // Only a client that spends what it lacks asks this; every machine refuses alike.
        gEngine->Log(1,
                     "Skills: %s of character %u stays at level %u: level %u needs %u skill "
                     "points of %u, up to level %u",
                     skill.GetObjectName().c_str(), character->GetObjectId(), skill.GetSkillLevel(),
                     level, rise, character->GetSkillPoints(), skill.GetMaxLevel());
        return;
    }
    for (std::uint32_t paid = 0; paid < rise; ++paid)
        character->GetExperienceLevelControl().SubtractSkillPoint();
    character->AddToSkillLevel(skill.GetObjectName(), static_cast<int>(rise));
    // The enabled flag as the deciding machine sent it (it keeps its own).
    skill.ReceiveStateUpdate(state, false);
}

}  // namespace GAME
