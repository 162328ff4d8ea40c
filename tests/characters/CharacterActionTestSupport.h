#pragma once
// A machine with a running root, one region and living characters made without records, for
// the action tests.
#include <cstdint>
#include <memory>

#include <gtest/gtest.h>

#include "Engine/object/ObjectManager.h"
#include "Engine/world/World.h"
#include "Game/characters/Character.h"
#include "Game/characters/actions/CharacterActionHandler.h"
#include "Game/core/GameEngine.h"
#include "support/CharacterSetUp.h"
#include "support/TestMachine.h"

namespace GAME::test {

// Builds the region and a character on the current machine (every machine of a networked test
// calls it the same way, so the ids and positions agree).
inline Region* MakeActionRegion() {
    if (Region* region = World::Get().GetRegion("Field"))
        return region;
    return World::Get().AddRegion(
        std::make_unique<Region>("Field", Vec3(100, 0, 0), Vec3(200, 50, 200)));
}

inline Character* MakeLivingCharacter(std::uint32_t id, float x, float z) {
    auto* character = Singleton<ObjectManager>::Get().CreateObject<Character>(id);
    test::SetLife(*character, 80.0f, 100.0f);
    character->SetCoords(WorldCoords(MakeActionRegion(), Coords::FromOrigin(Vec3(x, 0, z))));
    return character;
}

inline WorldVec3 FieldPoint(float x, float z) {
    return WorldVec3(MakeActionRegion(), Vec3(x, 0, z));
}

}  // namespace GAME::test
