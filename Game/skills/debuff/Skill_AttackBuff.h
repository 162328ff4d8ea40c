#pragma once
// Spells that put a debuff (the buff of another skill record) on one foe, or on every foe
// around a point. They deal no damage; the buff record gives the skill its levels and costs.
#include <string>

#include "Game/skills/SkillActivated.h"

namespace GAME {

class Skill_AttackBuff : public SkillActivatedSpell {
    RTTI_DECLARE(Skill_AttackBuff)
public:
    static constexpr float kReach = 20.0f;

    Skill_AttackBuff();

    void Load(const LoadTable& table) override;
    void TargetResult(Character& caster, const std::vector<std::uint32_t>& targets,
                      const WorldCoords& origin, std::uint32_t seed, std::uint32_t weaponId,
                      bool useWeapon) override;
    void ActivateNow(Character& caster, const Name& event, std::uint32_t target,
                     const WorldVec3& point) override;
    bool AcceptClientResult(const Character& caster, const std::vector<std::uint32_t>& targets,
                            const WorldCoords& origin) const override;

    const std::string& GetBuffName() const { return mBuffName; }

private:
    std::string mBuffName;
};

class Skill_AttackBuffRadius : public Skill_AttackBuff {
    RTTI_DECLARE(Skill_AttackBuffRadius)
public:
    Skill_AttackBuffRadius();

    void ActivateNow(Character& caster, const Name& event, std::uint32_t target,
                     const WorldVec3& point) override;
    bool AcceptClientResult(const Character& caster, const std::vector<std::uint32_t>& targets,
                            const WorldCoords& origin) const override;
};

}  // namespace GAME
