#pragma once
// The callback and event names the death handlers compare, created once per process.
#include "Engine/text/Name.h"

namespace GAME::DeathNames {

inline const Name& End() {
    static const Name name = Name::Create("End");
    return name;
}
inline const Name& RagDoll() {
    static const Name name = Name::Create("ragDoll");
    return name;
}
inline const Name& PhysicsComplete() {
    static const Name name = Name::Create("PhysicsComplete");
    return name;
}
inline const Name& SpawnDeathActor() {
    static const Name name = Name::Create("spawnDeathActor");
    return name;
}
inline const Name& Dissolve() {
    static const Name name = Name::Create("dissolve");
    return name;
}

}  // namespace GAME::DeathNames
