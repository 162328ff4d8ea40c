// The player's orders to a pet: the user selects a pet, then clicks a foe or the ground. Only a
// pet of the clicking player's own takes the order, and a selection serves one order.
#include <gtest/gtest.h>

#include "Game/ai/controllers/player/ControllerPlayer.h"
#include "ai/bosses/BossScene.h"

namespace GAME::test {
namespace {

class PetCommands : public BossScene {};

TEST_F(PetCommands, APetOfThePlayersOwnIsSentAtAFoeOrToThePointClicked) {
    Record("Records/AI/PetBrain.dbr", R"({"Class": "ControllerMonster"})");
    Record("Records/AI/Pet.dbr", CreatureRecord("Monster", "Records/AI/PetBrain.dbr"));
    Character* player = SpawnFoe(10, 10);
    Character* stranger = SpawnFoe(10, 14);
    const std::uint32_t foe =
        Place("Records/AI/Pet.dbr", 16, 10, TeamManager::DefaultMonsterTeam())->GetObjectId();
    auto* orders = Singleton<ObjectManager>::Get().CreateObject<ControllerPlayer>();
    enum Click { OnFoe, OnPet, OnGround };
    struct Case {
        const char* what;
        bool selected, own;
        Click click;
        bool taken;
        const char* petState;
    };
    for (const Case& c : {Case{"nothing selected", false, true, OnFoe, false, "Idle"},
                          Case{"the pet itself", true, true, OnPet, false, "Idle"},
                          Case{"another's pet", true, false, OnFoe, false, "Idle"},
                          Case{"a foe", true, true, OnFoe, true, "Pursue"},
                          Case{"the ground", true, true, OnGround, true, "Move"}}) {
        Monster* pet = Place("Records/AI/Pet.dbr", 12, 10, player->GetTeam());
        const std::uint32_t master = (c.own ? player : stranger)->GetObjectId();
        pet->SetMasterId(master);
        pet->JoinMe(master, -1, false);
        orders->SetPet(c.selected ? pet->GetObjectId() : 0);
        std::uint32_t target = c.click == OnFoe ? foe : c.click == OnPet ? pet->GetObjectId() : 0;
        EXPECT_EQ(orders->HandlePetAction(*player, false, false, At(12, 16), target), c.taken)
            << c.what;
        // Clicking the pet itself keeps the selection; any other click uses it up.
        EXPECT_EQ(orders->GetPet(), c.click == OnPet ? pet->GetObjectId() : 0u) << c.what;
        auto& brain = Brain<ControllerMonster>(pet);
        EXPECT_EQ(StateOf(brain), c.petState) << c.what;
        EXPECT_EQ(brain.GetMostHatedEnemy() == foe, c.click == OnFoe && c.taken) << c.what;
        World::Get().RemoveEntity(pet);
    }
}

}  // namespace
}  // namespace GAME::test
