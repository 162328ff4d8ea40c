#pragma once
// A spell that draws a beam from the caster's left hand to one foe. The head travels to the
// foe; on arrival the foe is struck when still within reach, and the tail then follows the head
// until the beam is gone (a foe that escaped sees the head retract). Every machine drives its
// own beam from the start command; only the controlling machine sends the hit.
#include <cstdint>
#include <string>
#include <vector>

#include "Engine/world/Region.h"
#include "Game/skills/spell/Skill_AttackSpell.h"

namespace GAME {

class ChaosBeam;

class Skill_AttackSpellChaos : public SkillActivatedSpell {
    RTTI_DECLARE(Skill_AttackSpellChaos)
public:
    enum State : int {
        Idle = 0,
        Pending = 1,
        Starting = 2,
        HeadTravelling = 3,
        TailTravelling = 4,
        Finished = 5,
    };
    // A beam that has neither struck nor faded by then ends: a head or tail that never moves
    // (no velocity, or a target missed with no tail velocity) would otherwise keep the skill
    // unavailable until it is stopped.
    static constexpr int kBeamTimeoutMs = 10000;

    Skill_AttackSpellChaos();
    ~Skill_AttackSpellChaos() override;

    void Load(const LoadTable& table) override;
    void Update(Character& caster, int ms) override;
    bool SetAvailability(bool ignoreMana, bool ignoreCooldown) override;
    void TargetResult(Character& caster, const std::vector<std::uint32_t>& targets,
                      const WorldCoords& origin, std::uint32_t seed, std::uint32_t weaponId,
                      bool useWeapon) override;
    void StopSkill(Character& caster) override;
    bool GetValidTarget(const Character& caster, std::uint32_t& target, const WorldVec3& point,
                        bool flag, float radius) override;
    void ActivateNow(Character& caster, const Name& event, std::uint32_t target,
                     const WorldVec3& point) override;
    bool AcceptClientResult(const Character& caster, const std::vector<std::uint32_t>& targets,
                            const WorldCoords& origin) const override;

    int GetState() const { return mState; }
    float GetHead() const { return mHead; }
    float GetTail() const { return mTail; }
    std::uint32_t GetTargetId() const { return mTargetId; }
    std::uint32_t GetBeamId() const { return mBeamId; }
    ChaosBeam* GetBeam() const;

private:
    void StartBeam(Character& caster);
    void MoveHead(Character& caster, int ms);
    void MoveTail(Character& caster, int ms);
    void ReleaseBeam();

    std::uint32_t mTargetId = 0;
    WorldVec3 mEndPoint;
    int mState = Idle;
    float mHead = 0.0f;
    float mTail = 0.0f;
    float mMaxDistance = 0.0f;
    float mHeadVelocity = 0.0f;
    float mTailVelocity = 0.0f;
    std::string mBeamRecord;
    std::uint32_t mBeamId = 0;
    int mBeamClock = 0;
};

}  // namespace GAME
