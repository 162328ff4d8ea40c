#pragma once
// Spells that raise rings of walls (characters of the wall record, on the caster's team) around
// the caster, or around the clicked point for the ground kind. The controlling machine plans the
// places and ids and sends one spawn command; every machine raises the same walls. The walls
// fall when their time runs out (a spawn command without ids, sent by the controlling machine),
// when the skill is used again, or when it is stopped.
#include <cstdint>
#include <vector>

#include "Game/skills/SkillActivated.h"

namespace GAME {

class Skill_DefensiveWall : public SkillActivatedSpell {
    RTTI_DECLARE(Skill_DefensiveWall)
public:
    Skill_DefensiveWall();

    void Update(Character& character, int ms) override;
    // Raises walls, or only lets the standing ones fall when the command holds no ids.
    void SkillSpawnObject(Character& character, const WorldCoords& coords, std::uint32_t index,
                          const std::vector<WorldCoords>& points,
                          const std::vector<std::uint32_t>& ids, std::uint32_t seed) override;
    void StopSkill(Character& character) override;
    void PreLoadResources() override;
    void ActivateNow(Character& character, const Name& event, std::uint32_t target,
                     const WorldVec3& point) override;
    // Every ring full: what one use may raise.
    std::size_t GetClientSpawnLimit() const override;

    const std::vector<std::uint32_t>& GetWalls() const { return mWalls; }

protected:
    virtual void SpawnWall(Character& character, const WorldCoords& coords, std::uint32_t objectId,
                           std::uint32_t seed);
    virtual void ReleaseWalls(Character& character);

private:
    // Places on one ring: 360 degrees over the spacing angle, none for a spacing of 0 or less.
    std::uint32_t PlacesPerRing() const;

    std::vector<std::uint32_t> mWalls;
    int mWallTimer = 0;
    bool mTimed = false;
    bool mReleased = false;
    // Reused by the planning: no allocation per use once grown.
    std::vector<WorldCoords> mPlaces;
    std::vector<std::uint32_t> mIds;
    std::vector<WorldVec3> mFill;
};

// The same rings around the point the caster clicked.
class Skill_DefensiveGround : public Skill_DefensiveWall {
    RTTI_DECLARE(Skill_DefensiveGround)
public:
    Skill_DefensiveGround() { SetSkillType(0); }
};

}  // namespace GAME
