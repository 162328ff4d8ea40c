#pragma once
// Megalesios sends a visible burst to every spirit host (a statue) nearby; a burst that reaches
// its statue brings it to life. The controlling machine names the statues; every machine moves
// the bursts.
#include <cstdint>
#include <string>
#include <vector>

#include "Engine/world/Region.h"
#include "Game/skills/spell/Skill_AttackSpell.h"

namespace GAME {

class Skill_SpawnMegalesiosSpirit : public Skill_E3FauxAttack {
    RTTI_DECLARE(Skill_SpawnMegalesiosSpirit)
public:
    static constexpr float kHostReach = 80.0f;

    struct Burst {
        std::uint32_t targetId = 0;  // the spirit host
        std::uint32_t effectId = 0;  // 0: the effect could not be made
        WorldVec3 position;
    };

    Skill_SpawnMegalesiosSpirit();
    ~Skill_SpawnMegalesiosSpirit() override;

    void Load(const LoadTable& table) override;
    void Update(Character& caster, int ms) override;
    void TargetResult(Character& caster, const std::vector<std::uint32_t>& targets,
                      const WorldCoords& origin, std::uint32_t seed, std::uint32_t weaponId,
                      bool useWeapon) override;
    void ActivateNow(Character& caster, const Name& event, std::uint32_t target,
                     const WorldVec3& point) override;

    const std::vector<Burst>& GetBursts() const { return mBursts; }

private:
    static void RemoveEffect(std::uint32_t effectId);

    std::vector<Burst> mBursts;
    float mBurstVelocity = 1.0f;
    std::string mBurstName;
};

}  // namespace GAME
