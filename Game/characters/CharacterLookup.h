#pragma once
#include <cstdint>

#include "Engine/object/ObjectManager.h"
#include "Game/characters/Character.h"

namespace GAME {

// The live character with this object id; null for 0, an unknown id or another kind of object.
inline Character* FindCharacter(std::uint32_t id) {
    return id ? Singleton<ObjectManager>::Get().GetObject<Character>(id) : nullptr;
}

}  // namespace GAME
