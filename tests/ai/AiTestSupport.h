#pragma once
// The AI tests' world: a private data folder holding the sample level (its navigation cache is
// written there, not in the source tree) and a few character records, and characters placed in
// it on the current machine.
#include <filesystem>
#include <string>

#include "Engine/world/Region.h"

namespace GAME {
class Character;
}

namespace GAME::test {

// Records: "Records/AI/Foe.dbr" (plain), "Records/AI/Calm.dbr" (causes no anger),
// "Records/AI/Provoking.dbr" (anger multiplier 2).
class AiDataRoot {
public:
    AiDataRoot();
    ~AiDataRoot();
    std::string Root() const { return mRoot.string(); }

private:
    std::filesystem::path mRoot;
};

inline constexpr const char* kSampleLevel = "Levels/Sample/Sample.level";

// A character of the record on the team's major side (Team::Major), standing in the world.
Character* PlaceCharacter(const char* record, unsigned major, Region* region, const Vec3& at);

}  // namespace GAME::test
