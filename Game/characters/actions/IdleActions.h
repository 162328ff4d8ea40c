#pragma once
// Standing: the attack idle loop, and the long idle that passes from a transition into a
// looping idle with fidgets at random intervals.
#include "Engine/sys/GameTimer.h"
#include "Game/characters/actions/CharacterActionBase.h"

namespace GAME {

class IdleAction : public CharacterActionBase {
public:
    explicit IdleAction(std::uint32_t parentId);
    IdleAction(const IdleAction&) = default;

    void Execute() override;
    void AnimationCallback(const Name& event) override;
    std::unique_ptr<CharacterActionPacketBase> GetNetPacket() const override;
};

class LongIdleAction : public CharacterActionBase {
public:
    static constexpr int kMinTransitionTime = 3000;
    static constexpr int kMaxTransitionTime = 20000;

    // 0 done, 1 transition playing, 2 long idle looping, 3 fidget playing.
    enum class Phase : int { Done = 0, Transition = 1, Looping = 2, Fidget = 3 };

    explicit LongIdleAction(std::uint32_t parentId);
    LongIdleAction(const LongIdleAction&) = default;

    void Execute() override;
    void AnimationCallback(const Name& event) override;
    std::unique_ptr<CharacterActionPacketBase> GetNetPacket() const override;

    Phase GetPhase() const { return mPhase; }
    int GetTransitionTime() const { return mTransitionTime; }

private:
    // Restarts the timer and draws the next wait from the game's generator.
    void ResetTransitionTimer();
    // Plays the looping long idle: phase 2, or phase 0 and Finish when it cannot play.
    void PlayLongIdle(Character& character);

    GameTimer mTransitionTimer;
    int mTransitionTime = 0;
    int mMinTransitionTime = kMinTransitionTime;
    int mMaxTransitionTime = kMaxTransitionTime;
    Phase mPhase = Phase::Done;
};

}  // namespace GAME
