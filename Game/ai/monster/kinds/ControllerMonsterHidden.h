#pragma once
// A monster that lies hidden until a foe comes near: it waits in a long idle, pops out with its
// spawn animation for the first foe closer than its appear distance, and then pursues that foe
// as an ordinary monster. Its record gives only the appear distance.
#include <cstdint>

#include "Game/ai/monster/ControllerMonster.h"
#include "Game/ai/monster/states/ControllerMonsterState.h"

namespace GAME {

class ControllerMonsterHidden : public ControllerMonster {
    RTTI_DECLARE(ControllerMonsterHidden)
public:
    // Reads "appearDistance" alone: the behaviour fields keep their construction defaults.
    void Load(const LoadTable& table) override;
    void RegisterStates() override;

    float GetAppearDistance() const { return mAppearDistance; }

private:
    float mAppearDistance = 5.0f;
};

// Replaces the monster "Startup": waits unseen; foes are looked for around the spawn point, but
// only one close to the monster itself makes it appear.
class ControllerMonsterStateHidden
    : public ControllerMonsterState<ControllerMonsterHidden, Monster> {
public:
    using ControllerMonsterState::ControllerMonsterState;
    void OnBegin() override;
    void OnEnd() override {}
    void OnUpdate(int ms) override;
    void HandleEvent(const Name& name) override;

    std::uint32_t GetTarget() const { return mTarget; }

private:
    std::uint32_t mTarget = 0;
};

}  // namespace GAME
