#include "Game/ai/controllers/ControllerAIStatePreStart.h"

namespace GAME {

void ControllerAIStatePreStart::OnBegin() {
    Character* character = GetCharacter();
    if (character && character->IsAlive())
        Die();
}

}  // namespace GAME
