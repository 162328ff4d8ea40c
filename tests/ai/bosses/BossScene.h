#pragma once
// The monster state scene with monsters of any controller kind: records are written by the test,
// a monster is placed at (x, z) of the meadow on the team it asks for, with its controller's
// states registered, and a stand-in for the player can be named.
#include <string>

#include "Engine/records/RecordDatabase.h"
#include "Game/core/players/PlayerManagerClient.h"
#include "ai/monster/states/MonsterStateScene.h"
#include "support/CharacterSetUp.h"

namespace GAME::test {

class BossScene : public MonsterStateScene {
protected:
    static void Record(const std::string& name, const std::string& text) {
        ASSERT_TRUE(Singleton<RecordDatabase>::Get().AddRecordText(name, text)) << name;
    }
    // The brain of a creature with walk, run, attack and the given extra record fields.
    static std::string CreatureRecord(const std::string& cls, const std::string& brain,
                                      const std::string& extra = "") {
        return R"({"Class": ")" + cls + R"(", "controller": ")" + brain +
               R"(", "characterLife": 100, "charLevel": [5], "characterRunSpeed": 100,
              "unarmedWalkAnim": "Creatures/Anims/Human_Walk.anm",
              "unarmedRunAnim": "Creatures/Anims/Human_Run.anm",
              "unarmedAttackAnim1": "Creatures/Anims/Human_Attack.anm",
              "skillName1": "Records/AI/Blast.dbr", "skillLevel1": 1)" +
               extra + "}";
    }
    template <class T = Monster>
    T* Place(const char* record, float x, float z, const Team& team) {
        auto* placed = Singleton<ObjectManager>::Get().CreateObjectFromFile<T>(record);
        if (!placed)
            return nullptr;
        const WorldCoords coords(meadow, Coords::FromOrigin(At(x, z).local));
        World::Get().AddEntity(placed, coords, true);
        placed->InitialUpdate();
        test::SetLife(*placed, 100.0f, 100.0f);
        placed->SetTeam(team);
        placed->SetSpawnPoint(coords);
        if (auto* brain =
                Singleton<ObjectManager>::Get().GetObject<ControllerAI>(placed->GetControllerId()))
            brain->Update(0);
        return placed;
    }
    template <class C>
    static C& Brain(const Character* character) {
        auto* brain = Singleton<ObjectManager>::Get().GetObject<C>(character->GetControllerId());
        EXPECT_NE(brain, nullptr);
        return *brain;
    }
    static std::string StateOf(const ControllerAI& brain) {
        const char* name = brain.GetExecutingStateName();
        return name ? name : "";
    }
    static void MakeMainPlayer(const Character* player) {
        gGameEngine->GetPlayerManagerClient()->SetMainPlayer(player->GetObjectId());
    }
};

}  // namespace GAME::test
