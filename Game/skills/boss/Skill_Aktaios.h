#pragma once
// The Aktaios boss's skills: light falling on every marker placed around it, and mirages (copies
// of itself it may trade places with, so that the player cannot tell which is real).
#include <cstdint>
#include <string>
#include <vector>

#include "Game/skills/projectile/Skill_AttackProjectileAreaEffect.h"
#include "Game/skills/spawn/Skill_SpawnPet.h"

namespace GAME {

class Skill_AktaiosLightOfRa : public Skill_AttackProjectileAreaEffect {
    RTTI_DECLARE(Skill_AktaiosLightOfRa)
public:
    static constexpr float kMarkerReach = 40.0f;

    Skill_AktaiosLightOfRa();

    void ActivateNow(Character& caster, const Name& event, std::uint32_t target,
                     const WorldVec3& point) override;
};

class Skill_AktaiosMirage : public Skill_SpawnPet {
    RTTI_DECLARE(Skill_AktaiosMirage)
public:
    // Foes and players this near forget whom they were after.
    static constexpr float kConfusionReach = 50.0f;

    Skill_AktaiosMirage();

    void Load(const LoadTable& table) override;
    bool SetAvailability(bool ignoreMana, bool ignoreCooldown) override;
    void SkillSpawnObject(Character& character, const WorldCoords& casterCoords,
                          std::uint32_t extra, const std::vector<WorldCoords>& points,
                          const std::vector<std::uint32_t>& ids, std::uint32_t seed) override;
    WorldCoords GetNewCasterCoords(Character& character, std::vector<WorldVec3>& points) override;
    void SetCasterCoords(Character& character, const WorldCoords& coords) override;
    float GetExtentsMultiplier() const override { return 2.0f; }
    bool SwapCasterWithPet() const override { return true; }
    void PostPetSpawned(Character& character, Monster& pet) override;

private:
    std::string mCasterHintEffect;
};

}  // namespace GAME
