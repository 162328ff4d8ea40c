#pragma once
// A modifier of a projectile skill that gives each of that skill's projectiles a hit of its
// own: the projectile reports its targets to this skill too, which strikes them and shows its
// impact where they were reached.
#include "Game/skills/modifiers/Skill_Modifier.h"

namespace GAME {

class Skill_ProjectileModifier : public Skill_Modifier {
    RTTI_DECLARE(Skill_ProjectileModifier)
public:
    Skill_ProjectileModifier();

    void TargetInformation(const ProjectileInfo& info, const WorldCoords& at,
                           std::vector<std::uint32_t>& targets) override;
    // Every machine: the reported targets take the modifier's projectile attack, drawn from the
    // seed in list order.
    void TargetResult(Character& character, const std::vector<std::uint32_t>& targets,
                      const WorldCoords& origin, std::uint32_t seed, std::uint32_t weaponId,
                      bool useWeapon) override;
    virtual void CreateImpactFx(const WorldCoords& at);
};

}  // namespace GAME
