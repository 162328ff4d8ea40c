#include "Game/skills/projectile/Skill_AttackProjectileRing.h"

#include <algorithm>

#include "Game/characters/Character.h"
#include "Game/skills/manager/SkillServicesBase.h"
#include "Game/skills/manager/SkillSpawnIds.h"
#include "Game/skills/profile/SkillProfileModifiers.h"
#include "Game/skills/projectile/ProjectileAim.h"

namespace GAME {

RTTI_IMPLEMENT(Skill_AttackProjectileRing, SkillActivated)
RTTI_IMPLEMENT(Skill_AttackProjectileFan, Skill_AttackProjectileRing)

Skill_AttackProjectileRing::Skill_AttackProjectileRing() {
    SetTypeText("^bProjectile Ring Attack");
    SetPrimary(false);
    SetSecondary(true);
    SetSkillType(1);
}

std::size_t Skill_AttackProjectileRing::GetClientSpawnLimit() const {
    SkillProfile_Modifiers data;
    GetSkillModifierData(data);
    return std::max<std::size_t>(1, data.projectileLaunchNumber);
}

bool Skill_AttackProjectileRing::GetValidTarget(const Character&, std::uint32_t& target,
                                                const WorldVec3&, bool, float) {
    target = 0;
    return true;
}

void Skill_AttackProjectileRing::ActivateNow(Character& caster, const Name&, std::uint32_t,
                                             const WorldVec3&) {
    SkillServicesBase* services = ControllingServices();
    if (!services)
        return;
    WorldCoords raised = caster.GetCoords();
    raised.coords.origin.y += 1.0f;
    SkillProfile_Modifiers data;
    GetSkillModifierData(data);
    const std::uint32_t count = std::max<std::uint32_t>(1, data.projectileLaunchNumber);
    const float total = data.projectileLaunchRotation;
    const float step = total / static_cast<float>(count);
    float angle = -total * 0.5f;
    std::vector<WorldCoords> places;
    std::vector<std::uint32_t> ids;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint32_t id = CreateSkillSpawnId();
        if (id == 0)
            break;
        places.push_back(RotatedAboutUp(raised, angle));
        ids.push_back(id);
        angle += step;
    }
    if (!ids.empty())
        services->SendSpawnObject(GetObjectId(), caster.GetCoords(), 0, places, ids,
                                  NewCommandSeed());
}

void Skill_AttackProjectileRing::SkillSpawnObject(Character& caster, const WorldCoords& coords,
                                                  std::uint32_t targetId,
                                                  const std::vector<WorldCoords>& points,
                                                  const std::vector<std::uint32_t>& ids,
                                                  std::uint32_t seed) {
    if (!ids.empty()) {
        SubtractManaCost();
        StartCooldown();
        PlayHitSound(coords.GetPosition());
    }
    const std::string& record = GetProjectileName();
    bool first = true;
    for (std::size_t i = 0; i < ids.size(); ++i) {
        const WorldCoords& at = i < points.size() ? points[i] : coords;
        OwnLaunch how;
        how.swipeSound = first;
        if (LaunchOwnProjectile(caster, record, at, targetId, at.GetPosition(), ids[i],
                                static_cast<std::uint16_t>(seed), how))
            first = false;
    }
}

// --- Fan ---

Skill_AttackProjectileFan::Skill_AttackProjectileFan() {
    SetTypeText("^bProjectile Fan Attack");
    SetSkillType(0);
}

bool Skill_AttackProjectileFan::GetValidTarget(const Character&, std::uint32_t&, const WorldVec3&,
                                               bool, float) {
    return true;
}

}  // namespace GAME
