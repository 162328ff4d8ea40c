#include "Game/rules/death/PlaySoundDeathHandler.h"

#include "Game/characters/Character.h"

namespace GAME {

void PlaySoundDeathHandler::Execute() {
    if (!mCharacter)
        return;
    mCharacter->PlayDeathSound();
    Finish();
}

}  // namespace GAME
