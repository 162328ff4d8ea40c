#pragma once
// A type that plays one of several animations, chosen at random by weight. The draw uses the C
// runtime's generator, not the game's seeded one: the choice is a looks matter, free to differ
// between machines.
#include <cstddef>
#include <vector>

#include "Game/characters/anim/AnimationBase.h"
#include "Game/characters/anim/AnimationPlayback.h"

namespace GAME {

class AnimationPool : public AnimationBase {
public:
    AnimationPool() = default;
    ~AnimationPool() override;

    bool Play(Actor& actor, const Name& name, float speed, bool loop, unsigned count) override;
    bool SetLastPose(Actor& actor) override;
    bool SetPose(Actor& actor, int frame) override;
    bool HandleAnimationCallback(Actor& actor, const Name& event) override;
    void AddAnimation(const std::string& fileName, float speed, float weight,
                      const std::string& referenceName) override;
    void AdjustAnimation(Actor& actor, float speedMultiplier) override;
    void PreLoad(ResourcePriority priority) override;
    int GetLength() override;
    int GetFrameRate() override;
    // The mean over the entries.
    float GetAnimSpeed() override;
    GraphicsAnim* GetAnimation() override;
    bool IsEmpty() override;

    // The entry a draw of r in [0, total weight] picks: the first whose running sum of weights
    // reaches r, 0 when none does.
    std::size_t Pick(float r) const;
    std::size_t GetEntryCount() const { return mEntries.size(); }
    std::size_t GetChosenIndex() const { return mChosen; }
    float GetTotalWeight() const { return mTotalWeight; }

private:
    AnimationPlayback* Chosen();

    std::vector<AnimationPlayback> mEntries;
    float mTotalWeight = 0.0f;
    std::size_t mChosen = 0;
};

}  // namespace GAME
