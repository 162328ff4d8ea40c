// Respawn shrines and travel stones in a network game (a server and two clients in lockstep, each
// with its own player): a client's player who touched two respawn shrines comes back at the last
// one after dying, and a travel stone takes it to its pair; every machine has it at the same
// place, frame by frame.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <tuple>
#include <vector>

#include "Game/core/GameEventListener.h"
#include "Game/core/GameEvents.h"
#include "Game/world/strategic/StrategicMovementKinds.h"
#include "ai/player/PlayerControllerTestSupport.h"
#include "players/PlayersTestSupport.h"
#include "support/NetTestGame.h"

namespace GAME::test {
namespace {

constexpr std::uint32_t kHero = PlayerId(1, 0x500);  // client 0's player
constexpr std::uint32_t kOwn[] = {PlayerId(0, 0x501), kHero, PlayerId(2, 0x502)};
constexpr std::uint32_t kShrineA = 0x0C000001, kShrineB = 0x0C000002;
constexpr std::uint32_t kStoneHere = 0x0C000003, kStoneThere = 0x0C000004;

// The teleport menu of the hero's machine: it picks the pair stone at once.
class PairMenu {
public:
    PairMenu() : mOpen(GameEventName("ActivateTeleportMenu")) {
        mOpen.SetOwner(this, &PairMenu::OnOpen);
    }
    int opened = 0;

private:
    void OnOpen(const GameEvent_ActivateTeleportMenu&) {
        ++opened;
        const Vec3 at = Singleton<ObjectManager>::Get()
                            .GetObject<StrategicMovementTeleportShrine>(kStoneThere)
                            ->GetMoveToPoint(kHero)
                            .GetWorldPosition();
        gGameEngine->InitiatePlayerTeleport(static_cast<int>(std::lround(at.x)),
                                            static_cast<int>(std::lround(at.y)),
                                            static_cast<int>(std::lround(at.z)));
    }
    GameEventListener<PairMenu, GameEvent_ActivateTeleportMenu> mOpen;
};

class TravelOverNetwork : public ::testing::Test {
protected:
    TravelOverNetwork() : game(2, root.Root()) {}
    void SetUp() override {
        for (int i = 0; i < 3; ++i)
            ON_MACHINE(*game.Machines()[i]) {
                PlayerScene& scene = scenes[i];
                ASSERT_TRUE(scene.Start(kHero, i == 1));
                if (i == 0)
                    gGameEngine->SetAsNetworkServer();
                else
                    gGameEngine->SetAsNetworkClient();
                // Every machine's own player stands away from it all.
                for (int owner : {0, 2}) {
                    auto* player = PlaceAt<Player>(kPlayerHero, 50, 50 + 4.0f * owner, kOwn[owner]);
                    ASSERT_NE(player, nullptr);
                    player->SetIsControllingCharacter(owner == i);
                    scene.characters.push_back(player);
                }
                if (i != 1)
                    gGameEngine->GetPlayerManagerClient()->SetMainPlayer(kOwn[i]);
                Place("Records/Fixed/RespawnShrine.dbr", kShrineA, 1, 20, 20);
                Place("Records/Fixed/RespawnShrine.dbr", kShrineB, 2, 30, 26);
                Place("Records/Fixed/TeleportShrine.dbr", kStoneHere, 3, 12, 30);
                Place("Records/Fixed/TeleportShrine.dbr", kStoneThere, 4, 44, 12);
            }
    }
    ~TravelOverNetwork() override {
        for (TestMachine* tm : game.Machines())
            ON_MACHINE(*tm) {
                ShutdownObjects();
            }
    }

    void Place(const char* record, std::uint32_t id, std::uint32_t uid, float x, float z) {
        auto* object =
            Singleton<ObjectManager>::Get().CreateObjectFromFile<StrategicMovementBase>(record, id);
        ASSERT_NE(object, nullptr);
        object->SetUniqueId(UniqueId(uid, 0, 0, 1));
        World::Get().AddEntity(
            object, WorldCoords(Ground(x, z).GetRegion(), Coords::FromOrigin(Ground(x, z).local)),
            true);
        object->InitialUpdate();
    }
    // One lockstep frame: the engine's, the characters' and the root's, then the objects'.
    void Frames(int count, const std::function<bool()>& until = {}) {
        for (int frame = 0; frame < count; ++frame) {
            game.RunFrames(1, PlayerScene::kFrameMs, [this](TestMachine&, int index) {
                scenes[index].UpdateAll(true);
                for (std::uint32_t id : {kShrineA, kShrineB, kStoneHere, kStoneThere})
                    Singleton<ObjectManager>::Get().GetObject<Actor>(id)->UpdateSelf(
                        PlayerScene::kFrameMs);
            });
            const auto seen = Heroes();
            EXPECT_EQ(seen[1], seen[0]) << "frame " << frame;
            EXPECT_EQ(seen[2], seen[0]) << "frame " << frame;
            if (until && until())
                return;
        }
    }
    // The hero as each machine has it: where, alive, guarded.
    std::vector<std::tuple<Vec3, bool, bool>> Heroes() {
        return game.OnEach([] {
            const auto* hero = Singleton<ObjectManager>::Get().GetObject<Player>(kHero);
            return std::tuple(hero->GetPosition().GetWorldPosition(), hero->IsAlive(),
                              hero->IsInvincible());
        });
    }
    // The hero's walk, as a click on every machine would replay it: put there alike.
    void Put(float x, float z) {
        for (TestMachine* tm : game.Machines())
            ON_MACHINE(*tm) {
                Player* hero = Singleton<ObjectManager>::Get().GetObject<Player>(kHero);
                World::Get().SetCoords(hero, WorldCoords(Ground(x, z).GetRegion(),
                                                         Coords::FromOrigin(Ground(x, z).local)));
                hero->ResetMovementManager();
            }
    }
    static float FlatTo(std::uint32_t object, const Vec3& at) {
        const Vec3 d = Singleton<ObjectManager>::Get()
                           .GetObject<Entity>(object)
                           ->GetPosition()
                           .GetWorldPosition() -
                       at;
        return std::sqrt(d.x * d.x + d.z * d.z);
    }

    PlayerControllerRoot root;
    NetTestGame game;
    PlayerScene scenes[3];
};

TEST_F(TravelOverNetwork, TheHeroRespawnsAtTheLastShrineAndTravelsToThePairStoneAlikeEverywhere) {
    // Shrine A, then shrine B: B is the hero's respawn point on every machine.
    for (const auto& [x, z] : {std::pair(20.0f, 22.0f), std::pair(30.0f, 28.0f)}) {
        Put(x, z);
        Frames(10);
    }
    for (TestMachine* tm : game.Machines())
        ON_MACHINE(*tm) {
            const auto* hero = Singleton<ObjectManager>::Get().GetObject<Player>(kHero);
            EXPECT_TRUE(hero->IsCurrentRespawnPoint(UniqueId(2, 0, 0, 1)));
        }

    // Struck dead alike away from both: back at B once the server has it respawn.
    Put(8, 40);
    for (TestMachine* tm : game.Machines())
        ON_MACHINE(*tm) {
            auto* hero = Singleton<ObjectManager>::Get().GetObject<Player>(kHero);
            hero->SubtractLife(hero->GetCurrentLife() + 1.0f, PlayStatsDamageType{});
        }
    bool died = false;
    Frames(600, [&] {
        died = died || !std::get<1>(Heroes()[0]);
        return died && std::get<1>(Heroes()[0]);
    });
    ASSERT_TRUE(died);
    ASSERT_TRUE(std::get<1>(Heroes()[0]));
    EXPECT_LT(FlatTo(kShrineB, std::get<0>(Heroes()[0])), 1.0f);

    // At the near stone, having found both: the stone's menu asks, the server decides, and the
    // hero arrives at the pair on every machine in the same frame.
    for (const auto& [x, z] : {std::pair(44.0f, 13.0f), std::pair(12.0f, 31.0f)}) {
        Put(x, z);
        Frames(2);
    }
    ON_MACHINE(game.Client(0)) {
        PairMenu menu;
        Singleton<ObjectManager>::Get()
            .GetObject<StrategicMovementBase>(kStoneHere)
            ->RequestToUse(kHero);
        EXPECT_EQ(menu.opened, 1);
    }
    Frames(200, [&] { return FlatTo(kStoneThere, std::get<0>(Heroes()[0])) < 1.0f; });
    EXPECT_LT(FlatTo(kStoneThere, std::get<0>(Heroes()[0])), 1.0f);
    Frames(80);
    EXPECT_FALSE(std::get<2>(Heroes()[0]));
}

}  // namespace
}  // namespace GAME::test
