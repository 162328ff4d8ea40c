#pragma once
// The AI tests' data: a private folder holding the sample level (its navigation cache is written
// there, not in the source tree) and character records "Records/AI/Foe.dbr", "Calm.dbr" (causes
// no anger) and "Provoking.dbr" (anger multiplier 2); and characters placed in the world.
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "Engine/object/ObjectManager.h"
#include "Engine/world/World.h"
#include "Game/characters/Character.h"
#include "Game/core/players/Team.h"
#include "support/TestMachine.h"

namespace GAME::test {

class AiDataRoot {
public:
    AiDataRoot()
        : mRoot(std::filesystem::temp_directory_path() /
                ("ai_test_" + std::to_string(::getpid()) + "_" + std::to_string(Next()))) {
        namespace fs = std::filesystem;
        fs::create_directories(mRoot / "Records/AI");
        fs::create_directories(mRoot / "Levels");
        fs::copy(fs::path(TestMachine::SampleDataDir()) / "Levels/Sample", mRoot / "Levels/Sample",
                 fs::copy_options::recursive);
        fs::remove(mRoot / "Levels/Sample/Sample.navcache");
        std::ofstream(mRoot / "Records/AI/Foe.dbr") << R"({"Class": "Character"})";
        std::ofstream(mRoot / "Records/AI/Calm.dbr")
            << R"({"Class": "Character", "causesAnger": false})";
        std::ofstream(mRoot / "Records/AI/Provoking.dbr")
            << R"({"Class": "Character", "angerMultiplier": 2.0})";
    }
    ~AiDataRoot() {
        std::error_code ec;
        std::filesystem::remove_all(mRoot, ec);
    }
    std::string Root() const { return mRoot.string(); }

private:
    static int Next() {
        static int counter = 0;
        return counter++;
    }
    std::filesystem::path mRoot;
};

// A character of the record on the major team, standing in the world at the point.
inline Character* PlaceCharacter(const char* record, unsigned major, Region* region,
                                 const Vec3& at) {
    auto* character = Singleton<ObjectManager>::Get().CreateObjectFromFile<Character>(record);
    character->InitialUpdate();
    character->SetTeam(TeamManager::BuildTeam(major, 0));
    World::Get().AddEntity(character, WorldCoords(region, Coords::FromOrigin(at)), true);
    return character;
}

}  // namespace GAME::test
