#pragma once
// A player with its controller in the sample meadow, and a hostile stand-in to fight: a private
// data root (the tests' records, the sample level and the humanoid clips) with a default attack
// that deals damage, a hero that runs and swings, and a foe on the monster team.
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/world/World.h"
#include "Game/ai/controllers/CharacterController.h"
#include "Game/ai/controllers/ControllerCombat.h"
#include "Game/ai/controllers/player/ControllerPlayer.h"
#include "Game/characters/Player.h"
#include "Game/core/GameEngine.h"
#include "Game/core/players/PlayerManagerClient.h"
#include "Game/core/players/Team.h"
#include "support/TestMachine.h"

namespace GAME::test {

inline constexpr const char* kPlayerHero = "Records/PC/Hero.dbr";
inline constexpr const char* kPlayerFoe = "Records/PC/Foe.dbr";

class PlayerControllerRoot {
public:
    PlayerControllerRoot() {
        namespace fs = std::filesystem;
        static int counter = 0;
        mRoot = fs::temp_directory_path() /
                ("player_ctl_" + std::to_string(::getpid()) + "_" + std::to_string(counter++));
        fs::remove_all(mRoot);
        fs::copy(TestMachine::TestDataDir(), mRoot, fs::copy_options::recursive);
        const fs::path sample = TestMachine::SampleDataDir();
        fs::create_directories(mRoot / "Levels");
        fs::copy(sample / "Levels/Sample", mRoot / "Levels/Sample", fs::copy_options::recursive);
        fs::remove(mRoot / "Levels/Sample/Sample.navcache");
        fs::copy(sample / "Animations/Humanoid.json", mRoot / "Animations/Humanoid.json");
        fs::create_directories(mRoot / "Records/PC");
        Write("Records/Skills/Default/DefaultWeaponAttack.dbr",
              R"({"Class": "Skill_AttackWeapon", "skillMaxLevel": 1,
                  "offensivePhysicalMin": [20], "offensivePhysicalMax": [30]})");
        const std::string body =
            R"("characterStrength": 50, "characterDexterity": 40, "characterIntelligence": 30,
               "characterMana": 100, "characterRunSpeed": 1.0, "characterAttackSpeed": 1.0,
               "characterOffensiveAbility": 200, "characterDefensiveAbility": 0,
               "combatManagerRecord": "Records/Combat/Standard.dbr",
               "unarmedIdleAnim": "Creatures/Anims/Human_Idle.anm",
               "unarmedRunAnim": "Creatures/Anims/Human_Run.anm",
               "unarmedAttackAnim1": "Creatures/Anims/Human_Attack.anm",
               "unarmedAttTurnLeft90Anim": "Creatures/Anims/Human_Attack.anm",
               "unarmedAttTurnRight90Anim": "Creatures/Anims/Human_Attack.anm",
               "unarmedDieAnim1": "Creatures/Anims/Human_Die.anm")";
        Write("Records/PC/Hero.dbr", R"({"Class": "Player", "characterLife": 200, )" + body + "}");
        Write("Records/PC/Foe.dbr", R"({"Class": "Character", "characterLife": 60,
               "defaultTeamMajor": "TeamMajor_Monster", )" +
                                        body + "}");
    }
    ~PlayerControllerRoot() {
        std::error_code ec;
        std::filesystem::remove_all(mRoot, ec);
    }
    std::string Root() const { return mRoot.string(); }

    void Write(const char* name, const std::string& text) { std::ofstream(mRoot / name) << text; }

private:
    std::filesystem::path mRoot;
};

// A point on the meadow's ground.
inline WorldVec3 Ground(float x, float z) {
    WorldVec3 p(World::Get().GetRegion("Meadow"), Vec3(x, 5, z));
    p.PutOnFloor();
    return p;
}

// A character of the record standing at (x, z) with the given id (0: any).
template <class T>
T* PlaceAt(const char* record, float x, float z, std::uint32_t id = 0) {
    auto* character = Singleton<ObjectManager>::Get().CreateObjectFromFile<T>(record, id);
    if (!character)
        return nullptr;
    World::Get().AddEntity(
        character, WorldCoords(Ground(x, z).GetRegion(), Coords::FromOrigin(Ground(x, z).local)),
        true);
    character->ResetMovementManager();
    character->InitialUpdate();
    return character;
}

inline ControllerPlayer* ControllerOf(const Character& character) {
    return FindController<ControllerPlayer>(character);
}

inline std::string StateOf(const ControllerPlayer& controller) {
    const char* name = controller.GetExecutingStateName();
    return name ? name : "";
}

inline float Flat(const WorldVec3& a, const WorldVec3& b) {
    Vec3 d = a.VectorTo(b);
    d.y = 0.0f;
    return d.Length();
}

// The sample level on the current machine with the hero at (12, 20), controlled here, and foes
// placed by the test; Frame runs the engine's step and every character's, as a host frame does.
class PlayerScene {
public:
    static constexpr int kFrameMs = 50;

    // On the current machine; false when something is missing. A hero not controlled here is
    // a copy: it has the stub controller and `controller` stays null.
    bool Start(std::uint32_t heroId = 0, bool controlling = true) {
        InitializeObjects();
        if (!World::Get().LoadLevel("Levels/Sample/Sample.level"))
            return false;
        hero = PlaceAt<Player>(kPlayerHero, 12, 20, heroId);
        if (!hero)
            return false;
        hero->SetIsControllingCharacter(controlling);
        if (!controlling)
            return true;
        if (PlayerManagerClient* players = gGameEngine->GetPlayerManagerClient())
            players->SetMainPlayer(hero->GetObjectId());
        controller = ControllerOf(*hero);
        Frame();
        return controller != nullptr;
    }
    // A foe at (x, z) that dies when its life runs out; `brain` false: no controller (a copy
    // whose death comes from the machine that decides it).
    Character* PlaceFoe(float x, float z, std::uint32_t id = 0, bool brain = true) {
        Character* foe = PlaceAt<Character>(kPlayerFoe, x, z, id);
        if (brain) {
            auto* combat = Singleton<ObjectManager>::Get().CreateObject<ControllerCombat>();
            combat->AttachParent(foe->GetObjectId());
            foe->SetControllerId(combat->GetObjectId());
        }
        characters.push_back(foe);
        return foe;
    }
    void Frame(bool root = false) {
        gEngine->AdvanceFrame(kFrameMs);
        UpdateAll(root);
    }
    // Every character's frame (and the root's with `root`), after the engine's step.
    void UpdateAll(bool root = false) {
        if (root)
            gGameEngine->Update(kFrameMs);
        for (Character* character : All()) {
            character->UpdateSelf(kFrameMs);
            character->PreAnimationUpdate(kFrameMs);
        }
    }
    std::vector<Character*> All() const {
        std::vector<Character*> all{hero};
        all.insert(all.end(), characters.begin(), characters.end());
        return all;
    }

    Player* hero = nullptr;
    ControllerPlayer* controller = nullptr;
    std::vector<Character*> characters;
};

}  // namespace GAME::test
