#pragma once
// Plays one animation of the character's set (quest scripts, emotes).
#include "Engine/text/Name.h"
#include "Game/characters/actions/CharacterActionBase.h"
#include "Game/characters/anim/AnimationSetType.h"

namespace GAME {

class PlayAnimationAction : public CharacterActionBase {
public:
    PlayAnimationAction(std::uint32_t parentId, AnimationSet_Type type, const Name& name,
                        float speed, bool loop, unsigned int value);
    PlayAnimationAction(const PlayAnimationAction&) = default;

    void Execute() override;
    std::unique_ptr<CharacterActionPacketBase> GetNetPacket() const override;

    AnimationSet_Type GetAnimationType() const { return mAnimationType; }
    const Name& GetAnimationName() const { return mName; }
    float GetSpeed() const { return mSpeed; }
    bool GetLoop() const { return mLoop; }
    unsigned int GetValue() const { return mValue; }

private:
    AnimationSet_Type mAnimationType = AnimationSet_Type::None;
    Name mName;
    float mSpeed = 1.0f;
    bool mLoop = false;
    unsigned int mValue = 0;  // the last argument of AnimationSet::PlayAnimation
};

}  // namespace GAME
