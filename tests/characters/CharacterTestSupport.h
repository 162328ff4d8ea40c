#pragma once
// Characters made from the test records on the current machine, and frames run on them with
// the machine's game clock.
#include <string>

#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Game/characters/Character.h"

namespace GAME::test {

inline constexpr const char* kHeroRecord = "Records/Characters/Hero.dbr";
inline constexpr const char* kWolfRecord = "Records/Monsters/Wolf.dbr";

inline Character* MakeCharacter(const std::string& record) {
    auto* character = Singleton<ObjectManager>::Get().CreateObjectFromFile<Character>(record);
    if (character)
        character->InitialUpdate();
    return character;
}

// One frame of `ms` on the current machine's game clock.
inline void RunFrame(Character& character, int ms) {
    gEngine->AdvanceGameTime(static_cast<std::uint32_t>(ms));
    character.UpdateSelf(ms);
    character.PreAnimationUpdate(ms);
}

}  // namespace GAME::test
