#pragma once
// Characters made ready for a fight in the combat tests.
#include <string>

#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Game/characters/Character.h"

namespace GAME::test {

// One short frame: the character totals its attributes and fills its life.
inline void Settle(Character& character) {
    gEngine->AdvanceGameTime(10);
    character.UpdateSelf(10);
    character.PreAnimationUpdate(10);
}

// A character of a test's own class, loaded from a record and settled.
template <class C>
void Prepare(C& character, const std::string& record) {
    character.Load(Singleton<ObjectManager>::Get().GetLoadTable(record));
    character.InitialUpdate();
    Settle(character);
}

}  // namespace GAME::test
