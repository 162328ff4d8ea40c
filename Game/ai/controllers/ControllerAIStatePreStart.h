#pragma once
// The placeholder current state of a new controller, until its kind sets the first state. Never
// registered under a name.
#include "Game/ai/controllers/ControllerAIStateT.h"

namespace GAME {

class ControllerAIStatePreStart : public ControllerAIStateT<ControllerAI, Character> {
public:
    using ControllerAIStateT::ControllerAIStateT;

    // A character that begins here alive dies.
    void OnBegin() override;
    void OnEnd() override {}
    void OnUpdate(int) override {}
};

}  // namespace GAME
