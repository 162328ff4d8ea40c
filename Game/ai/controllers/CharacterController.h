#pragma once
// A character's controller as the class asked for, by the character's controller id (a controller
// can be replaced while the character lives; the character keeps where it last found it).
#include "Engine/object/ObjectManager.h"
#include "Game/ai/controllers/ControllerAI.h"
#include "Game/characters/Character.h"

namespace GAME {

// Always inline: asked by every character's frame, where a call costs as much as the lookup.
template <class T>
[[gnu::always_inline]] inline T* FindController(const Character& character) {
    const RTTI_ClassInfo* classInfo = nullptr;
    Object* object = character.FindControllerObject(classInfo);
    if (!object || (classInfo != &T::classInfo && !classInfo->IsA(T::classInfo)))
        return nullptr;
    return static_cast<T*>(object);
}

}  // namespace GAME
