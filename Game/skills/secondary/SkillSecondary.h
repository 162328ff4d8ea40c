#pragma once
// Skills that never act on their own: each hangs from a base skill (the skill manager links it
// when the character's list names it right after its base) and runs when the base does, on its
// primary activation (switched on) or when its effect lands on targets. A secondary skill may
// have secondary skills of its own, which it runs in turn. Choices (targets, points, new ids)
// are made on the machine that controls the caster and sent as skill commands.
#include <cstdint>
#include <string>
#include <vector>

#include "Game/skills/Skill.h"

namespace GAME {

class SkillSecondary : public Skill {
    RTTI_DECLARE(SkillSecondary)
public:
    SkillSecondary();

    virtual void PrimaryActivateNow(Character& caster, std::uint32_t targetId,
                                    const std::vector<std::uint32_t>& targets,
                                    const WorldCoords& point);
    // Tells the host that the skill fired on its own.
    virtual void ActivateNow(Character& caster, std::uint32_t targetId,
                             const std::vector<std::uint32_t>& targets, const WorldCoords& point);
    virtual void PrimaryStop(Character& caster);

    bool IsActive() const { return mActive; }

protected:
    SkillServicesBase* Services() const;

    bool mActive = false;
};

// Each target gets the profile's bonus once.
class SkillSecondary_Bonus : public SkillSecondary {
    RTTI_DECLARE(SkillSecondary_Bonus)
public:
    SkillSecondary_Bonus();
    void ActivateNow(Character& caster, std::uint32_t targetId,
                     const std::vector<std::uint32_t>& targets, const WorldCoords& point) override;
};

// Raises a skill of each target (a pet) by this skill's level.
class SkillSecondary_PetModifier : public SkillSecondary {
    RTTI_DECLARE(SkillSecondary_PetModifier)
public:
    SkillSecondary_PetModifier();
    void Load(const LoadTable& table) override;
    void ActivateNow(Character& caster, std::uint32_t targetId,
                     const std::vector<std::uint32_t>& targets, const WorldCoords& point) override;
    const std::string& GetPetSkillName() const { return mPetSkillName; }

private:
    std::string mPetSkillName;
};

// Spawns the profile's pets around the caster when its base switches on.
class SkillSecondary_PetSpawn : public SkillSecondary {
    RTTI_DECLARE(SkillSecondary_PetSpawn)
public:
    SkillSecondary_PetSpawn();
    void PrimaryActivateNow(Character& caster, std::uint32_t targetId,
                            const std::vector<std::uint32_t>& targets,
                            const WorldCoords& point) override;
    void SkillSpawnObject(Character& caster, const WorldCoords& coords, std::uint32_t index,
                          const std::vector<WorldCoords>& points,
                          const std::vector<std::uint32_t>& ids, std::uint32_t seed) override;
    void PreLoadResources() override;
    std::size_t GetClientSpawnLimit() const override;

private:
    void SpawnPet(Character& caster, const WorldCoords& at, std::uint32_t id);

    std::vector<float> mClearances;  // reused
    std::vector<WorldVec3> mPoints;  // reused
};

}  // namespace GAME
