#pragma once
// A projectile attack whose projectile raises pets where it strikes. The controlling machine
// finds free places around the hit and sends the spawn; every machine makes the pets under the
// same ids. The skill keeps its pets, oldest first, within the pet limit; a monster casts it
// again only once all of its pets are gone.
#include <cstdint>
#include <vector>

#include "Game/skills/projectile/Skill_AttackProjectile.h"

namespace GAME {

class Skill_AttackProjectileSpawnPet : public Skill_AttackProjectile {
    RTTI_DECLARE(Skill_AttackProjectileSpawnPet)
public:
    Skill_AttackProjectileSpawnPet();

    void Update(Character& caster, int ms) override;
    // A monster's skill is available only while none of its pets lives.
    bool SetAvailability(bool ignoreMana, bool ignoreCooldown) override;
    void TargetInformation(const ProjectileInfo& info, const WorldCoords& at,
                           std::vector<std::uint32_t>& targets) override;
    void SkillSpawnObject(Character& caster, const WorldCoords& coords, std::uint32_t targetId,
                          const std::vector<WorldCoords>& points,
                          const std::vector<std::uint32_t>& ids, std::uint32_t seed) override;
    void StopSkill(Character& caster) override;
    void PreLoadResources() override;
    std::size_t GetClientSpawnLimit() const override;

    virtual void SpawnPet(Character& caster, const WorldCoords& at, std::uint32_t id,
                          std::uint32_t seed);
    virtual void ReleaseOnePet(Character& caster);
    virtual void ReleasePets(Character& caster);

    const std::vector<std::uint32_t>& GetPets() const { return mPets; }

private:
    std::vector<std::uint32_t> mPets;
    // The path finder's work lists, kept between hits.
    std::vector<float> mClearances;
    std::vector<WorldVec3> mPoints;
};

}  // namespace GAME
