#pragma once
// Typhon strikes a god's statue and draws a god beam from it to itself: the statue learns who
// struck it (and hands over its god's attacks), the beam grows from the statue, then fades
// into Typhon, with an effect at each end in turn.
#include <cstdint>
#include <string>
#include <vector>

#include "Game/skills/SkillActivated.h"

namespace GAME {

class EffectEntity;
class SkillGodBeam;

class Skill_TyphonSkillTransfer : public SkillActivatedSpell {
    RTTI_DECLARE(Skill_TyphonSkillTransfer)
public:
    Skill_TyphonSkillTransfer();
    ~Skill_TyphonSkillTransfer() override;

    void Load(const LoadTable& table) override;
    void PreLoad(bool now) override;
    void Update(Character& caster, int ms) override;
    void TargetResult(Character& caster, const std::vector<std::uint32_t>& targets,
                      const WorldCoords& origin, std::uint32_t seed, std::uint32_t weaponId,
                      bool useWeapon) override;
    bool ShouldMonsterSkillBeInterruptedWhilePursuing() const override { return false; }
    void ActivateNow(Character& caster, const Name& event, std::uint32_t target,
                     const WorldVec3& point) override;

    SkillGodBeam* GetBeam() const;
    float GetProgress() const { return mProgress; }
    std::uint32_t GetTargetId() const { return mTargetId; }
    EffectEntity* GetSourceEndEffect() const;
    EffectEntity* GetTargetEndEffect() const;

private:
    // An effect of the record, emitting, at the point (rotation cleared); 0 when none.
    static std::uint32_t StartEndEffect(const std::string& record, const WorldCoords& at);
    static void StopEndEffect(std::uint32_t& id);

    std::uint32_t mBeam = 0;
    float mBeamVelocity = 1.0f;
    float mProgress = 0.0f;
    bool mShown = false;
    std::uint32_t mTargetId = 0;
    std::string mSourceEndRecord;
    std::uint32_t mSourceEnd = 0;
    std::string mTargetEndRecord;
    std::uint32_t mTargetEnd = 0;
};

}  // namespace GAME
