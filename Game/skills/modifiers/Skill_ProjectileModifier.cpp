#include "Game/skills/modifiers/Skill_ProjectileModifier.h"

#include "Engine/sys/RandomUniform.h"
#include "Game/characters/Character.h"
#include "Game/characters/CharacterLookup.h"
#include "Game/core/GameEngine.h"
#include "Game/rules/combat/ParametersCombat.h"
#include "Game/skills/manager/SkillServicesBase.h"
#include "Game/skills/profile/SkillProfile.h"

namespace GAME {

RTTI_IMPLEMENT(Skill_ProjectileModifier, Skill_Modifier)

Skill_ProjectileModifier::Skill_ProjectileModifier() {
    SetTypeText("^bSkill Projectile Modifier");
}

void Skill_ProjectileModifier::TargetInformation(const ProjectileInfo& info, const WorldCoords& at,
                                                 std::vector<std::uint32_t>& targets) {
    SkillServicesBase* services = HasManager() ? GetManager()->GetSkillServices() : nullptr;
    if (FindCharacter(info.casterId) && !targets.empty() && services && gGameEngine) {
        services->ClearHitIteration();
        services->SendTargetResult(GetObjectId(), targets, at,
                                   gGameEngine->GetRandomSeed() & 0xFFFFu, info.weaponId, false);
    }
    CreateImpactFx(at);
}

void Skill_ProjectileModifier::CreateImpactFx(const WorldCoords& at) {
    CreateFxPak(GetSkillProfile().GetProjModImpactFxPakName(GetCurrentLevel()), at.GetPosition());
}

void Skill_ProjectileModifier::TargetResult(Character& character,
                                            const std::vector<std::uint32_t>& targets,
                                            const WorldCoords& origin, std::uint32_t seed,
                                            std::uint32_t weaponId, bool) {
    if (targets.empty())
        return;
    RandomUniform random;
    random.Seed(seed);
    for (std::uint32_t id : targets) {
        Character* target = FindCharacter(id);
        if (!target)
            continue;
        ParametersCombat parameters(random);
        CollectCombatParameters(character, target, ParametersCombatStyle::Projectile, false,
                                weaponId, parameters, 0.0f);
        InitRagDollData(parameters.ragDollData, origin.GetPosition(), target->GetPosition());
        target->TakeAttack(parameters);
    }
}

}  // namespace GAME
