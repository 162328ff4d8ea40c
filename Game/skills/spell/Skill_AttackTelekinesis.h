#pragma once
// A boss reaches with a beam for a loose throwable lying near it, lifts it with a puppet, carries
// it over its head while it wobbles and throws it at its target on the attack's hit. Every
// machine runs the sequence from the use's animation events; the thrown object's hits come back
// as a target result.
#include <cstdint>
#include <string>

#include "Engine/world/Region.h"
#include "Game/items/OwnedObject.h"
#include "Game/skills/SkillActivated.h"
#include "Game/world/effects/CharFxPak.h"

namespace GAME {

class ChaosBeam;
class Puppet;
class ProjectileTelekinesis;
class SoundPak;

class Skill_AttackTelekinesis : public SkillActivatedSpell {
    RTTI_DECLARE(Skill_AttackTelekinesis)
public:
    enum State : int {
        Idle = 0,
        BeamReaching = 1,
        PuppetAppearing = 2,
        Lifting = 3,
        MovingOverHead = 4,
        Wobbling = 5,
        Thrown = 6,
    };
    static constexpr float kSearchReach = 12.0f;

    Skill_AttackTelekinesis();
    ~Skill_AttackTelekinesis() override;

    void Load(const LoadTable& table) override;
    void Install(Character* character) override;
    void UnInstall(Character* character) override;
    void PreLoad(bool now) override;
    void Update(Character& caster, int ms) override;
    bool SetAvailability(bool ignoreMana, bool ignoreCooldown) override;
    void TargetResult(Character& caster, const std::vector<std::uint32_t>& targets,
                      const WorldCoords& origin, std::uint32_t seed, std::uint32_t weaponId,
                      bool useWeapon) override;
    void Cancel(Character& caster) override;
    void StopSkill(Character& caster) override;
    bool StartAction(Character& caster, std::uint32_t target, const WorldVec3& point,
                     std::uint32_t seed) override;
    void SwipeAction(Character& caster, const Name& event, std::uint32_t target,
                     const WorldVec3& point) override;
    bool EndAction(Character& caster) override;
    void ActivateNow(Character& caster, const Name& event, std::uint32_t target,
                     const WorldVec3& point) override;

    bool IsTelkineFinished() const { return mState == Idle; }
    // The throwable chosen among those around the position, drawn from the use's own seed (not
    // the root's generator), so that every machine picks the same one; 0 when there is none.
    std::uint32_t FindObjectToThrow(const WorldVec3& position);
    void ClaimObject(Character& caster, const WorldVec3& position);
    bool RetrieveObject();
    void ThrowObject(Character& caster, const WorldVec3& point, std::uint32_t target);
    void ReleaseObject();
    WorldCoords WobbleCoords(const WorldCoords& coords) const;

    int GetState() const { return mState; }
    std::uint32_t GetCarriedId() const { return mCarriedId; }

private:
    // Whether any throwable lies around the position; draws nothing (availability is polled).
    static bool AnyObjectToThrow(const WorldVec3& position);
    static void GatherThrowables(const WorldVec3& position, std::vector<std::uint32_t>& out);
    ProjectileTelekinesis* Carried() const;
    Puppet* GetPuppet() const;
    ChaosBeam* GetBeam() const;
    void MoveBeam(int ms);
    void LiftEntity(int ms);
    void MoveEntity(int ms);
    void WobbleEntity();
    void PlaceCarried(const WorldCoords& at);
    void ReleaseBeam();

    std::uint32_t mCandidateId = 0;
    std::uint32_t mCarriedId = 0;
    int mState = Idle;
    std::uint32_t mWobbleClock = 0;
    int mWobblePhase = 0;
    float mWobbleOffset1 = 0.0f;
    float mWobbleOffset2 = 0.0f;
    std::uint32_t mWobbleAmplitude = 10;
    float mLiftSpeed = 2.0f;
    float mMoveSpeed = 8.0f;
    float mMoveOverHeadVelocity = 3.0f;
    float mHeadVelocity = 0.0f;
    float mHead = 0.0f;
    Name mLoopingAnimation;
    Name mEndingAnimation;
    std::string mBeamRecord;
    std::uint32_t mBeamId = 0;
    std::string mPuppetRecord;
    std::uint32_t mPuppetId = 0;
    CharFxPak mOriginFx;
    OwnedObject<SoundPak> mBeamSound{kSourceFile};
    WorldVec3 mLiftTarget;
    WorldCoords mLiftCoords;
    WorldCoords mCarryCoords;
    float mMoveLength = 0.0f;
    float mMoved = 0.0f;
    Vec3 mWristOffset;
    std::uint32_t mUseSeed = 0;
};

}  // namespace GAME
