#pragma once
// The herd's states. The herder strolls about its place; the animals each keep a place of their
// own on a ring around the herder (by their order in the herd), walking back when it moves
// away, and graze where they stand otherwise.
#include <cstdint>

#include "Game/ai/controllers/ControllerAIStateT.h"
#include "Game/ai/npc/herd/ControllerNpcHerdAnimal.h"
#include "Game/ai/npc/herd/ControllerNpcHerder.h"
#include "Game/characters/npc/Npc.h"

namespace GAME {

class ControllerNpcStateDirectHerd : public ControllerAIStateT<ControllerNpcHerder, Npc> {
public:
    // How far from its place the herder strolls, and how long it stands between strolls.
    static constexpr float kStrollRange = 5.0f;
    static constexpr int kRestMinMs = 4000;
    static constexpr int kRestMaxMs = 9000;

    using ControllerAIStateT::ControllerAIStateT;
    void OnBegin() override;
    void OnEnd() override {}
    void OnUpdate(int ms) override;
    void EndOfPathReached() override { Idle(); }

private:
    int mRestCountdown = 0;
};

class ControllerNpcAnimalStateFollowHerd : public ControllerAIStateT<ControllerNpcHerdAnimal, Npc> {
public:
    // The ring around the herder, how far off an animal may stand before it walks back, and how
    // often it looks.
    static constexpr float kRingRadius = 2.5f;
    static constexpr float kStrayDistance = 1.5f;
    static constexpr int kLookMinMs = 1500;
    static constexpr int kLookMaxMs = 3000;

    using ControllerAIStateT::ControllerAIStateT;
    void OnBegin() override;
    void OnEnd() override {}
    void OnUpdate(int ms) override;
    void EndOfPathReached() override { Idle(); }

private:
    // Walks to the animal's place around the herder when it stands too far from it.
    void _MoveToPersonalHerdLocation();

    int mLookCountdown = 0;
    std::uint32_t mHerderId = 0;
};

// A short fidget; done with its animation.
class ControllerNpcAnimalStateWiggle : public ControllerAIStateT<ControllerNpcHerdAnimal, Npc> {
public:
    using ControllerAIStateT::ControllerAIStateT;
    void OnBegin() override { Idle(); }
    void OnEnd() override {}
    void OnUpdate(int) override {}
    void HandleEvent(const Name& event) override;
};

}  // namespace GAME
