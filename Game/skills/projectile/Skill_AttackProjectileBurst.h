#pragma once
// A burst: the first projectile leaves at the hit event, the others follow one by one after a
// random delay, each turned by a random angle within the spread. The controlling machine draws
// the delays and angles (the root's generator) and sends each shot; the others only make them.
#include "Game/skills/SkillActivated.h"

namespace GAME {

class Skill_AttackProjectileBurst : public SkillActivatedSpell {
    RTTI_DECLARE(Skill_AttackProjectileBurst)
public:
    Skill_AttackProjectileBurst();

    void Update(Character& caster, int ms) override;
    void CreateProjectile(Character& character, std::uint32_t firstFlag, const WorldCoords& origin,
                          std::uint32_t targetId, const WorldVec3& aim, std::uint32_t projectileId,
                          std::uint16_t seed) override;
    void StopSkill(Character& caster) override;
    void ActivateNow(Character& caster, const Name& event, std::uint32_t target,
                     const WorldVec3& point) override;

    int GetShotsLeft() const { return mShotsLeft; }
    int GetNextShotDelay() const { return mNextShotMs; }

private:
    int DrawDelay() const;

    int mShotsLeft = 0;
    float mSpreadDegrees = 0.0f;
    WorldCoords mCoords;
    int mNextShotMs = 0;
    int mMinDelayMs = 0;
    int mMaxDelayMs = 100;
};

}  // namespace GAME
