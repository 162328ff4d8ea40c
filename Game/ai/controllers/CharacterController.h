#pragma once
// A character's controller, looked up by the character's controller id as the class asked for,
// each time (a controller can be replaced while the character lives).
#include "Engine/object/ObjectManager.h"
#include "Game/ai/controllers/ControllerAI.h"
#include "Game/characters/Character.h"

namespace GAME {

template <class T>
T* FindController(const Character& character) {
    const std::uint32_t id = character.GetControllerId();
    return id == 0 ? nullptr : Singleton<ObjectManager>::Get().GetObject<T>(id);
}

}  // namespace GAME
