#pragma once
// Running and walking to a point (or towards a target object) along the character's path.
#include "Game/characters/actions/CharacterActionBase.h"

namespace GAME {

class MoveToAction : public CharacterActionBase {
public:
    // Farther than this (squared) from its start, the character is put on the start first.
    static constexpr float kJumpToStartDistanceSquared = 100.0f;

    MoveToAction(std::uint32_t parentId, const WorldVec3& start, const WorldVec3& target,
                 std::uint32_t targetId, std::uint32_t skillId, float value);
    MoveToAction(const MoveToAction&) = default;

    void Execute() override;
    std::unique_ptr<CharacterActionPacketBase> GetNetPacket() const override;

    const WorldVec3& GetStart() const { return mStart; }
    const WorldVec3& GetTarget() const { return mTarget; }
    std::uint32_t GetTargetId() const { return mTargetId; }
    std::uint32_t GetSkillId() const { return mSkillId; }
    float GetValue() const { return mValue; }

protected:
    void OnFinish() override;

private:
    WorldVec3 mStart;
    WorldVec3 mTarget;
    std::uint32_t mTargetId = 0;
    std::uint32_t mSkillId = 0;
    float mValue = 0.0f;  // travels with the move; nothing reads it
};

class WalkAction : public CharacterActionBase {
public:
    WalkAction(std::uint32_t parentId, const WorldVec3& start, const WorldVec3& target,
               std::uint32_t targetId);
    WalkAction(const WalkAction&) = default;

    void Execute() override;
    std::unique_ptr<CharacterActionPacketBase> GetNetPacket() const override;

    const WorldVec3& GetStart() const { return mStart; }
    const WorldVec3& GetTarget() const { return mTarget; }
    std::uint32_t GetTargetId() const { return mTargetId; }

private:
    WorldVec3 mStart;
    WorldVec3 mTarget;
    std::uint32_t mTargetId = 0;
};

}  // namespace GAME
