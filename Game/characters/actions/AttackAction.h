#pragma once
// An attack: starts a skill on a target (or a point) and hands the skill animation's events to
// the skill until it says the attack is done.
#include "Game/characters/actions/CharacterActionBase.h"

namespace GAME {

class AttackAction : public CharacterActionBase {
public:
    static constexpr float kAttackBlendTime = 100.0f;

    AttackAction(std::uint32_t parentId, std::uint32_t targetId, const WorldVec3& target,
                 std::uint32_t skillId, std::uint16_t seed);
    AttackAction(const AttackAction&) = default;

    void Execute() override;
    void AnimationCallback(const Name& event) override;
    void PendingActionAborted() override;
    std::unique_ptr<CharacterActionPacketBase> GetNetPacket() const override;

    std::uint32_t GetTargetId() const { return mTargetId; }
    const WorldVec3& GetTarget() const { return mTarget; }
    std::uint32_t GetSkillId() const { return mSkillId; }
    std::uint16_t GetSeed() const { return mSeed; }

protected:
    void OnFinish() override;

private:
    std::uint32_t mTargetId = 0;
    WorldVec3 mTarget;
    std::uint32_t mSkillId = 0;
    std::uint16_t mSeed = 0;
};

}  // namespace GAME
