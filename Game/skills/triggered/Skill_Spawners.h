#pragma once
// Skills that make objects beside their owner: an actor where the owner fell, and a monster
// skill that keeps two summoned monsters alive. The controlling machine decides (new ids from
// the skill-spawn band, points, the record) and sends a spawn command; every machine makes the
// objects under the same ids.
#include <cstdint>
#include <vector>

#include "Game/skills/SkillKinds.h"

namespace GAME {

class SkillServicesBase;

class Skill_OnDeathSpawnActor : public SkillOnDeath {
    RTTI_DECLARE(Skill_OnDeathSpawnActor)
public:
    Skill_OnDeathSpawnActor();

    void ActivateOnDeathNow(Character& owner) override;
    void SkillSpawnObject(Character& owner, const WorldCoords& coords, std::uint32_t index,
                          const std::vector<WorldCoords>& points,
                          const std::vector<std::uint32_t>& ids, std::uint32_t seed) override;
    std::size_t GetClientSpawnLimit() const override { return 1; }

protected:
    void SpawnActor(Character& owner, const WorldCoords& coords, std::uint32_t id,
                    std::uint32_t seed);
};

class Skill_MonsterGenerator : public Skill {
    RTTI_DECLARE(Skill_MonsterGenerator)
public:
    Skill_MonsterGenerator();

    // Refills each slot whose monster is gone or dead, while the owner lives.
    void Update(Character& owner, int ms) override;
    void SkillSpawnObject(Character& owner, const WorldCoords& coords, std::uint32_t index,
                          const std::vector<WorldCoords>& points,
                          const std::vector<std::uint32_t>& ids, std::uint32_t seed) override;
    std::size_t GetClientSpawnLimit() const override { return 1; }

    std::uint32_t GetMonsterId(bool second) const { return second ? mSecondId : mFirstId; }
    bool IsSpawnPending() const { return mSpawnPending; }

protected:
    void SendSpawnPet(Character& owner, SkillServicesBase& services, std::uint32_t& slot,
                      bool second);

private:
    std::uint32_t mFirstId = 0;
    std::uint32_t mSecondId = 0;
    bool mSpawnPending = false;
};

}  // namespace GAME
