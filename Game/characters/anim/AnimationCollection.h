#pragma once
// A type whose animations are chosen by reference name (a skill names the one it plays).
#include <map>

#include "Game/characters/anim/AnimationBase.h"
#include "Game/characters/anim/AnimationPlayback.h"

namespace GAME {

class AnimationCollection : public AnimationBase {
public:
    AnimationCollection() = default;
    ~AnimationCollection() override;

    bool Play(Actor& actor, const Name& name, float speed, bool loop, unsigned count) override;
    bool SetLastPose(Actor& actor) override;
    bool SetPose(Actor& actor, int frame) override;
    bool HandleAnimationCallback(Actor& actor, const Name& event) override;
    // The first animation under a reference name stays.
    void AddAnimation(const std::string& fileName, float speed, float weight,
                      const std::string& referenceName) override;
    void AdjustAnimation(Actor& actor, float speedMultiplier) override;
    void PreLoad(ResourcePriority priority) override;
    int GetLength() override;
    int GetFrameRate() override;
    float GetAnimSpeed() override;
    GraphicsAnim* GetAnimation() override;
    bool IsEmpty() override;

    const Name& GetChosenName() const { return mChosen; }
    std::size_t GetEntryCount() const { return mEntries.size(); }

private:
    AnimationPlayback* Chosen();

    std::map<Name, AnimationPlayback> mEntries;
    Name mChosen;
};

}  // namespace GAME
