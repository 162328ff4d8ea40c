#pragma once
// A private copy of the sample world (level, clips, records, texts) on a fresh machine with its
// game root, and characters standing in the meadow. The copy keeps the navigation cache out of
// the source tree.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

#include "Engine/Engine.h"
#include "Engine/media/graphics/GraphicsEngine.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/world/World.h"
#include "Game/characters/Character.h"
#include "Game/core/GameEngine.h"
#include "support/TestMachine.h"

namespace GAME::test {

// A frame of a character walking the sample world, 30 a second.
inline constexpr int kFrameMs = 33;

class SampleWorldCopy {
public:
    SampleWorldCopy() {
        static int counter = 0;
        namespace fs = std::filesystem;
        mRoot = fs::temp_directory_path() /
                ("movement_test_" + std::to_string(::getpid()) + "_" + std::to_string(counter++));
        fs::remove_all(mRoot);
        fs::create_directories(mRoot);
        const fs::path data = TestMachine::SampleDataDir();
        for (const char* folder : {"Levels", "Animations", "Records", "Text"})
            fs::copy(data / folder, mRoot / folder, fs::copy_options::recursive);
        fs::remove(mRoot / "Levels/Sample/Sample.navcache");
        fs::create_directories(mRoot / "Records/Test");
        Write("Records/Test/Stiff.dbr",
              R"({"Class": "Character", "disallowRotation": true, "characterRunSpeed": 1.0,
                  "unarmedRunAnim": "Creatures/Anims/Human_Run.anm"})");
        Write("Records/Test/Legless.dbr", R"({"Class": "Character", "characterRunSpeed": 1.0})");
        Write("Records/Test/Runner.dbr",
              R"({"Class": "Character", "characterRunSpeed": 1.0,
                  "unarmedRunAnim": "Creatures/Anims/Human_Run.anm",
                  "unarmedWalkAnim": "Creatures/Anims/Human_Walk.anm"})");
        Write("Records/Test/Caller.dbr",
              R"({"Class": "ProbeCharacter", "maxDistressCalls": 2, "distressCallTime": 1000,
                  "distressCallRange": 10.0, "defaultTeamMajor": "TeamMajor_Monster"})");
        Write("Records/Test/Slash.dbr", R"({"Class": "Skill", "skillMaxLevel": 5})");
        Write("Records/Test/Shot.dbr",
              R"({"Class": "Skill", "skillMaxLevel": 5, "distanceProfile": "Long"})");
        Write("Records/Test/Slasher.dbr",
              R"({"Class": "Character", "skillName1": "Records/Test/Slash.dbr",
                  "skillLevel1": 1, "skillName2": "Records/Test/Shot.dbr", "skillLevel2": 1})");
        Write("Records/Test/Quiet.dbr",
              R"({"Class": "ProbeCharacter", "defaultTeamMajor": "TeamMajor_Monster"})");
    }
    ~SampleWorldCopy() {
        std::error_code ec;
        std::filesystem::remove_all(mRoot, ec);
    }
    std::string Root() const { return mRoot.string(); }

private:
    void Write(const char* name, const char* text) { std::ofstream(mRoot / name) << text; }
    std::filesystem::path mRoot;
};

// Plays the sample run clip on the character's body, as its run animation would.
inline void PlayRun(Character& character) {
    character.PlayAnimation(0, GraphicsEngine::Get().LoadAnimation("Creatures/Anims/Human_Run.anm"),
                            true, 1.0f, 0);
}

class MeadowTest : public ::testing::Test {
protected:
    void SetUp() override {
        InitializeObjects();
        ASSERT_TRUE(World::Get().LoadLevel("Levels/Sample/Sample.level"));
        meadow = World::Get().GetRegion("Meadow");
        ASSERT_NE(meadow, nullptr);
    }
    void TearDown() override { ShutdownObjects(); }

    WorldVec3 At(float x, float z) const {
        WorldVec3 p(meadow, Vec3(x, 5, z));
        p.PutOnFloor();
        return p;
    }
    // A character of the class standing at (x, z), facing +z.
    template <class T = Character>
    T* Spawn(float x, float z, const Team& team = TeamManager::DefaultMonsterTeam()) {
        T* character = Singleton<ObjectManager>::Get().CreateObject<T>();
        character->SetTeam(team);
        World::Get().AddEntity(character, WorldCoords(meadow, Coords::FromOrigin(At(x, z).local)),
                               true);
        character->ResetMovementManager();
        return character;
    }
    // A character with run and walk clips (one made without a record has none to move with).
    Character* SpawnRunner(float x, float z) {
        auto* runner = Singleton<ObjectManager>::Get().CreateObjectFromFile<Character>(
            "Records/Test/Runner.dbr");
        World::Get().AddEntity(runner, WorldCoords(meadow, Coords::FromOrigin(At(x, z).local)),
                               true);
        runner->InitialUpdate();
        runner->ResetMovementManager();
        return runner;
    }
    // One frame: the engine's step (clips), then the character's.
    static void Frame(Character& character, int ms) {
        gEngine->AdvanceFrame(static_cast<std::uint32_t>(ms));
        character.UpdateSelf(ms);
        character.PreAnimationUpdate(ms);
    }

    SampleWorldCopy copy;
    TestMachine tm{copy.Root()};
    Region* meadow = nullptr;
};

}  // namespace GAME::test
