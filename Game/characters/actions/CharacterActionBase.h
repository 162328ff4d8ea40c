#pragma once
// The base of every character action: the acting character's id, the kind, whether it is still
// active, the blend time the handler reports, and the move that must run first (pre-move data,
// which travels with the action's packet).
//
// Finish runs its work once: a second Finish (an action that ended itself and is then replaced
// by the handler) does nothing.
#include <cstdint>
#include <memory>
#include <string>

#include "Engine/world/Region.h"
#include "Game/characters/actions/CharacterAction.h"

namespace GAME {

class Character;

class CharacterActionBase : public CharacterAction {
public:
    static constexpr float kDefaultBlendTime = 250.0f;

    explicit CharacterActionBase(std::uint32_t parentId,
                                 CharacterActionType type = CharacterActionType_Base);
    ~CharacterActionBase() override;

    void Execute() override {}
    void AnimationCallback(const Name&) override {}
    // Clears active, then runs the kind's own ending (OnFinish), once.
    void Finish() final;
    void PendingActionAborted() override {}
    bool IsActive() const final { return mActive; }
    std::unique_ptr<CharacterActionPacketBase> GetNetPacket() const override;
    void SetPreMoveData(const WorldVec3& position, std::uint32_t targetId, std::uint32_t skillId,
                        float value);
    // Copies the pre-move data, when the action has some, into the packet.
    void LoadPreMoveData(CharacterActionPacketBase& packet) const;
    bool SupportsNetwork() const final { return mSupportsNetwork; }
    CharacterActionType GetType() const final { return mType; }
    std::unique_ptr<CharacterAction> GetPreAction() const final;
    float GetBlendTime() const final { return mBlendTime; }
    std::uint32_t GetParentId() const final { return mParentId; }
    std::string ToString() const override { return GetCharacterActionText(mType); }

    bool HasPreMoveData() const { return mHasPreMove; }

protected:
    CharacterActionBase(const CharacterActionBase&) = default;
    CharacterActionBase& operator=(const CharacterActionBase&) = default;

    virtual void OnFinish() {}
    void SetBlendTime(float time) { mBlendTime = time; }
    // The acting character, or null when it is gone.
    Character* GetCharacter() const;
    // The acting character when it exists and is alive; otherwise Finish and null.
    Character* GetLivingCharacterOrFinish();
    // The acting character when it exists; otherwise Finish and null.
    Character* GetCharacterOrFinish();
    // Sets the packet's character to the acting character.
    void SetPacketCharacter(CharacterActionPacketBase& packet) const;
    // The acting character's position; false (position untouched) when it is gone.
    bool GetCharacterPosition(WorldVec3& position) const;

private:
    std::uint32_t mParentId = 0;
    CharacterActionType mType = CharacterActionType_Base;
    bool mSupportsNetwork = false;
    bool mActive = true;
    float mBlendTime = kDefaultBlendTime;
    bool mHasPreMove = false;
    WorldVec3 mPreMovePosition;
    std::uint32_t mPreMoveTargetId = 0;
    std::uint32_t mPreMoveSkillId = 0;
    float mPreMoveValue = 0.0f;
};

}  // namespace GAME
