#include "Game/ai/bosses/spirit/ControllerSpiritHostStates.h"

#include "Engine/text/Name.h"
#include "Game/ai/bosses/spirit/ControllerSpirit.h"
#include "Game/ai/bosses/spirit/SpiritHost.h"
#include "Game/ai/controllers/CharacterController.h"
#include "Game/ai/monster/states/MonsterStateQueries.h"

namespace GAME {

void ControllerSpiritHostState::SetAnimated(bool animated) {
    Ctl().SetAnimatedFlag(animated);
    if (Monster* self = GetCharacter(); self && self->IsA<SpiritHost>())
        static_cast<SpiritHost*>(self)->SetAnimated(animated);
}

void ControllerSpiritHostStateStartup::OnBegin() {
    const Monster* self = GetCharacter();
    // Animated in a saved game: it never sits again.
    if (self && self->IsA<SpiritHost>() && static_cast<const SpiritHost*>(self)->IsAnimated()) {
        SetAnimated(true);
        Go("Idle");
        return;
    }
    static const Name sit = Name::Create("StatueSit");
    PlayAnimation(AnimationSet_Type::Special, sit, 1.0f, false, 0);
    Ctl().SetCausesAnger(false);
    Ctl().SetInvincible(true);
    Ctl().SetTeam(TeamManager::InvisibleTeam());
}

void ControllerSpiritHostStateStartup::Attacked(std::uint32_t attackerId) {
    const Character* attacker = FindCharacter(attackerId);
    if (attacker && FindController<ControllerSpirit>(*attacker)) {
        SetAnimated(true);
        Go("Animate");
        return;
    }
    gEngine->Log(2, "ControllerSpiritHostStateStartup - failed to animate");
}

void ControllerSpiritHostStateAnimate::OnBegin() {
    Ctl().SetCausesAnger(true);
    Ctl().SetInvincible(false);
    Ctl().SetTeam(TeamManager::DefaultMonsterTeam());
    static const Name rise = Name::Create("StatueRise");
    PlayAnimation(AnimationSet_Type::Special, rise, 1.0f, false, 0);
}

void ControllerSpiritHostStateAnimate::HandleEvent(const Name& name) {
    if (!IsEndEvent(name))
        return;
    Go("Idle");
    SetAnimated(true);
}

}  // namespace GAME
