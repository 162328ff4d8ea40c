#include "AiTestSupport.h"

#include <unistd.h>

#include <fstream>

#include "Engine/object/ObjectManager.h"
#include "Engine/world/World.h"
#include "Game/characters/Character.h"
#include "Game/core/players/Team.h"
#include "support/TestMachine.h"

namespace GAME::test {

AiDataRoot::AiDataRoot() {
    static int counter = 0;
    mRoot = std::filesystem::temp_directory_path() /
            ("ai_test_" + std::to_string(::getpid()) + "_" + std::to_string(counter++));
    std::filesystem::remove_all(mRoot);
    std::filesystem::create_directories(mRoot / "Levels");
    std::filesystem::copy(std::filesystem::path(TestMachine::SampleDataDir()) / "Levels/Sample",
                          mRoot / "Levels/Sample", std::filesystem::copy_options::recursive);
    std::filesystem::remove(mRoot / "Levels/Sample/Sample.navcache");
    std::filesystem::create_directories(mRoot / "Records/AI");
    const auto write = [&](const char* name, const char* body) {
        std::ofstream(mRoot / "Records/AI" / name) << body;
    };
    write("Foe.dbr", R"({"Class": "Character", "characterLife": 100})");
    write("Calm.dbr", R"({"Class": "Character", "characterLife": 100, "causesAnger": false})");
    write("Provoking.dbr",
          R"({"Class": "Character", "characterLife": 100, "angerMultiplier": 2.0})");
}

AiDataRoot::~AiDataRoot() {
    std::error_code ec;
    std::filesystem::remove_all(mRoot, ec);
}

Character* PlaceCharacter(const char* record, unsigned major, Region* region, const Vec3& at) {
    auto* character = Singleton<ObjectManager>::Get().CreateObjectFromFile<Character>(record);
    if (!character)
        return nullptr;
    character->InitialUpdate();
    character->SetTeam(TeamManager::BuildTeam(major, 0));
    World::Get().AddEntity(character, WorldCoords(region, Coords::FromOrigin(at)), true);
    return character;
}

}  // namespace GAME::test
