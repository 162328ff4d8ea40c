#include "Game/skills/spell/Skill_AttackSpell.h"

#include "Engine/sys/RandomUniform.h"
#include "Game/ai/monster/ControllerMonster.h"
#include "Game/characters/Character.h"
#include "Game/characters/CharacterLookup.h"
#include "Game/rules/combat/ParametersCombat.h"
#include "Game/skills/manager/SkillServicesBase.h"
#include "Game/skills/profile/SkillProfile.h"

namespace GAME {

RTTI_IMPLEMENT(Skill_AttackSpell, SkillActivated)
RTTI_IMPLEMENT(Skill_AttackSpellTeleport, Skill_AttackSpell)
RTTI_IMPLEMENT(Skill_AttackSpellTeleportSelf, Skill_AttackSpell)
RTTI_IMPLEMENT(Skill_E3FauxAttack, SkillActivated)

WorldVec3 Skill_AttackSpell::TargetPointOf(const Character& target) {
    static const Name point = Name::Create("Target");
    return target.GetAttachedCoords(point).GetPosition();
}

// --- The plain spell ---

Skill_AttackSpell::Skill_AttackSpell() {
    SetTypeText("^bSpell Attack");
    SetPrimary(true);
    SetSecondary(true);
}

void Skill_AttackSpell::ActivateNow(Character& caster, const Name&, std::uint32_t target,
                                    const WorldVec3&) {
    SkillServicesBase* services = ControllingServices();
    if (!FindCharacter(target) || !services || !IsTargetInRange(caster, target, kReach))
        return;
    services->SendTargetResult(GetObjectId(), {target}, caster.GetCoords(), NewCommandSeed(), 0,
                               false);
}

void Skill_AttackSpell::TargetResult(Character& caster, const std::vector<std::uint32_t>& targets,
                                     const WorldCoords& origin, std::uint32_t seed, std::uint32_t,
                                     bool) {
    if (targets.empty())
        return;
    HitTargets(caster, targets, origin, seed, false);
    ActivateSecondarySkills(caster, 0, targets, origin);
}

void Skill_AttackSpell::HitTargets(Character& caster, const std::vector<std::uint32_t>& targets,
                                   const WorldCoords& origin, std::uint32_t seed,
                                   bool fxAtTargetPoint) {
    RandomUniform random;
    random.Seed(seed);
    const SkillProfile& profile = GetSkillProfile();
    for (std::uint32_t id : targets) {
        Character* target = FindCharacter(id);
        if (!target)
            continue;
        ParametersCombat parameters(random);
        CollectCombatParameters(caster, target, ParametersCombatStyle::Direct, false, 0, parameters,
                                0.0f);
        InitRagDollData(parameters.ragDollData, origin.GetPosition(), target->GetPosition());
        CreateTargetFx(fxAtTargetPoint ? TargetPointOf(*target) : target->GetPosition());
        target->TakeAttack(parameters);
        PlayHitSound(target->GetPosition());
        if (!profile.GetSpellAuraName().empty())
            target->AddAura(profile.GetSpellAuraName(), false,
                            static_cast<int>(profile.GetSpellAuraDuration(GetCurrentLevel())));
    }
}

bool Skill_AttackSpell::AcceptClientResult(const Character& caster,
                                           const std::vector<std::uint32_t>& targets,
                                           const WorldCoords&) const {
    return targets.size() == 1 && IsTargetInRange(caster, targets[0], kReach + kClientLeeway);
}

// --- Swapping places ---

Skill_AttackSpellTeleport::Skill_AttackSpellTeleport() {
    SetTypeText("^bAttack Spell Teleport");
    SetPrimary(false);
}

void Skill_AttackSpellTeleport::TargetResult(Character& caster,
                                             const std::vector<std::uint32_t>& targets,
                                             const WorldCoords& origin, std::uint32_t seed,
                                             std::uint32_t weaponId, bool useWeapon) {
    if (targets.empty())
        return;
    if (Character* target = FindCharacter(targets.front())) {
        // Both places are read before either moves.
        const WorldCoords here = caster.GetCoords();
        const WorldCoords there = target->GetCoords();
        target->TeleportToLocation(here);
        caster.TeleportToLocation(there);
        PlayHitSound(caster.GetPosition());
        CreateTargetFx(caster.GetPosition());
    }
    Skill_AttackSpell::TargetResult(caster, targets, origin, seed, weaponId, useWeapon);
    ActivateSecondarySkills(caster, 0, targets, origin);
}

// --- Jumping to a place ---

Skill_AttackSpellTeleportSelf::Skill_AttackSpellTeleportSelf() {
    SetTypeText("^bAttack Spell Teleport Self");
    SetPrimary(false);
}

void Skill_AttackSpellTeleportSelf::ActivateNow(Character&, const Name&, std::uint32_t,
                                                const WorldVec3& point) {
    SkillServicesBase* services = ControllingServices();
    if (!services)
        return;
    services->SendTargetResult(GetObjectId(), {},
                               WorldCoords(point.region, Coords::FromOrigin(point.local)),
                               NewCommandSeed(), 0, false);
}

void Skill_AttackSpellTeleportSelf::TargetResult(Character& caster,
                                                 const std::vector<std::uint32_t>& targets,
                                                 const WorldCoords& origin, std::uint32_t seed,
                                                 std::uint32_t weaponId, bool useWeapon) {
    caster.TeleportToLocation(origin);
    PlayHitSound(caster.GetPosition());
    CreateTargetFx(caster.GetPosition());
    Skill_AttackSpell::TargetResult(caster, targets, origin, seed, weaponId, useWeapon);
    ActivateSecondarySkills(caster, 0, targets, origin);
    if (auto* brain =
            Singleton<ObjectManager>::Get().GetObject<ControllerMonster>(caster.GetControllerId()))
        brain->Teleported(origin);
}

bool Skill_AttackSpellTeleportSelf::AcceptClientResult(const Character& caster,
                                                       const std::vector<std::uint32_t>& targets,
                                                       const WorldCoords& origin) const {
    // The place is where the caster aimed: no farther than the skill reaches (a spell without a
    // range of its own reaches as far as any spell). The jump hits whoever the list names, so
    // the list must be empty as the controlling machine sends it.
    const float reach = std::max(GetRange(), kReach) + kClientLeeway;
    return targets.empty() && origin.GetRegion() &&
           caster.GetPosition().DistanceTo(origin.GetPosition()) <= reach;
}

// --- Faux attack ---

Skill_E3FauxAttack::Skill_E3FauxAttack() {
    SetTypeText("^bSpell Attack");
    SetPrimary(true);
    SetSecondary(true);
}

void Skill_E3FauxAttack::ActivateNow(Character& caster, const Name&, std::uint32_t target,
                                     const WorldVec3&) {
    SkillServicesBase* services = ControllingServices();
    if (!FindCharacter(target) || !services)
        return;
    services->SendTargetResult(GetObjectId(), {target}, caster.GetCoords(), NewCommandSeed(), 0,
                               false);
}

void Skill_E3FauxAttack::TargetResult(Character& caster, const std::vector<std::uint32_t>& targets,
                                      const WorldCoords&, std::uint32_t seed, std::uint32_t, bool) {
    if (targets.empty())
        return;
    RandomUniform random;
    random.Seed(seed);
    for (std::uint32_t id : targets) {
        Character* target = FindCharacter(id);
        if (!target)
            continue;
        ParametersCombat parameters(random);
        parameters.attackerId = caster.GetObjectId();
        parameters.combatStyle = ParametersCombatStyle::Direct;
        CreateTargetFx(target->GetPosition());
        target->TakeAttack(parameters);
        PlayHitSound(target->GetPosition());
    }
}

}  // namespace GAME
