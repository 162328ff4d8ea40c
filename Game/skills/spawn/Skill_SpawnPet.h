#pragma once
// Summoning skills: the controlling machine finds free places around the caster, takes one
// skill-spawn id per pet and sends one spawn command; every machine then makes the same pets under
// the same ids at the same places. The skill keeps its living pets, oldest first, lets the
// oldest go when a limit is passed, and lets them all go when it is stopped.
#include <cstdint>
#include <string>
#include <vector>

#include "Game/skills/SkillActivated.h"

namespace GAME {

class Monster;

class Skill_SpawnPet : public SkillActivatedSpell {
    RTTI_DECLARE(Skill_SpawnPet)
public:
    Skill_SpawnPet();

    // Forgets the pets that died.
    void Update(Character& character, int ms) override;
    void SkillSpawnObject(Character& character, const WorldCoords& casterCoords,
                          std::uint32_t extra, const std::vector<WorldCoords>& points,
                          const std::vector<std::uint32_t>& ids, std::uint32_t seed) override;
    void StopSkill(Character& character) override { ReleasePets(character); }
    bool GetValidTarget(const Character&, std::uint32_t& target, const WorldVec3&, bool,
                        float) override {
        target = 0;
        return true;
    }
    void PreLoadResources() override;
    void ActivateNow(Character& character, const Name& event, std::uint32_t target,
                     const WorldVec3& point) override;
    std::size_t GetClientSpawnLimit() const override;

    virtual void SpawnPet(Character& character, const WorldCoords& coords, std::uint32_t objectId,
                          std::uint32_t seed);
    virtual void ReleasePets(Character& character);
    virtual void ReleaseOnePet(Character& character);
    // This kind keeps the caster where it stands and drops the place kept for it.
    virtual WorldCoords GetNewCasterCoords(Character& character, std::vector<WorldVec3>& points);
    virtual void SetCasterCoords(Character&, const WorldCoords&) {}
    virtual float GetExtentsMultiplier() const { return 1.5f; }
    virtual bool SwapCasterWithPet() const { return false; }
    virtual bool ShouldJoinWithParent() const { return true; }
    // Pets per use: "petBurstSpawn", 1 when it is 0.
    virtual std::uint32_t GetNumPets(Character& character);
    virtual const std::string& GetSpawnObject(unsigned level) const;
    virtual void PostPetSpawned(Character&, Monster&) {}

    const std::vector<std::uint32_t>& GetPets() const { return mPets; }

protected:
    std::uint32_t BurstNumber() const;
    std::vector<std::uint32_t> mPets;
};

// A monster's summons: each use tops its pets up to the burst number; once that many are alive
// the skill is unavailable until every one of them is gone.
class Skill_SpawnPetMonster : public Skill_SpawnPet {
    RTTI_DECLARE(Skill_SpawnPetMonster)
public:
    Skill_SpawnPetMonster();

    void Update(Character& character, int ms) override;
    bool SetAvailability(bool ignoreMana, bool ignoreCooldown) override;
    std::uint32_t GetNumPets(Character& character) override;

    bool IsBurstAlive() const { return mBurstAlive; }

private:
    bool mBurstAlive = false;
};

}  // namespace GAME
