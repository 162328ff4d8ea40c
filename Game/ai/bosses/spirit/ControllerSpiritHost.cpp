#include "Game/ai/bosses/spirit/ControllerSpiritHost.h"

#include <memory>

#include "Engine/records/LoadTable.h"
#include "Game/ai/bosses/spirit/ControllerSpiritHostStates.h"

namespace GAME {

RTTI_IMPLEMENT(ControllerSpiritHost, ControllerMonster)

ControllerSpiritHost::ControllerSpiritHost() = default;
ControllerSpiritHost::~ControllerSpiritHost() = default;

void ControllerSpiritHost::Load(const LoadTable& table) {
    ControllerMonster::Load(table);
    mSpiritThatCanAnimateMe = table.GetString("spiritThatCanAnimateMe", "");
}

void ControllerSpiritHost::RegisterStates() {
    ControllerMonster::RegisterStates();
    AddState<ControllerSpiritHostStateStartup>("Startup", this);
    AddState<ControllerSpiritHostStateAnimate>("Animate", this);
}

bool ControllerSpiritHost::CanBeAnimated() const {
    if (mAnimated)
        return false;
    if (mAnimator == 0)
        return true;
    const auto* spirit = Singleton<ObjectManager>::Get().GetObject<Monster>(mAnimator);
    return !spirit || !spirit->IsAlive();
}

void ControllerSpiritHost::Animate() {
    SetState("Animate", ControllerAIStateData());
}

}  // namespace GAME
