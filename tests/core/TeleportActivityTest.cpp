// Teleports: a client's player, asking the server at a travel stone, moves on its own machine,
// the server and a third machine, each with its own kind of activity, at the same frame on all;
// the server's own teleport keeps the screen dark to a whole second of loading; the server hands
// the host's view over to the destination, or back when the teleport is cleared half-way; a
// destination outside the world and the confirmation dialog.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <typeinfo>

#include "Engine/Engine.h"
#include "Engine/media/graphics/GraphicsMeshInstance.h"
#include "Engine/net/NetworkEntityList.h"
#include "Engine/world/World.h"
#include "Game/core/ActivityManager.h"
#include "Game/core/GameConstants.h"
#include "Game/core/activities/TeleportActivity.h"
#include "Game/core/activities/TeleportConfirmActivity.h"
#include "Game/core/players/PlayerManagerClient.h"
#include "Game/world/strategic/StrategicMovementKinds.h"
#include "players/PlayersTestSupport.h"
#include "support/NetTestGame.h"
#include "support/TypeOf.h"

namespace GAME::test {
namespace {

constexpr int kTeleportFrameMs = 100;

void AddRegions() {
    for (int i = 0; i < 2; ++i) {
        auto region = std::make_unique<Region>("T" + std::to_string(i), Vec3(1000.0f * i, 0, 0),
                                               Vec3(100, 100, 100));
        region->SetLoaded(i == 0);
        World::Get().AddRegion(std::move(region));
    }
}

std::vector<TeleportActivity*> Teleports() {
    std::vector<TeleportActivity*> found;
    for (std::uint32_t id = 1; id < 64; ++id)
        if (auto* teleport =
                dynamic_cast<TeleportActivity*>(ActivityManager::Get()->GetActivity(id)))
            found.push_back(teleport);
    return found;
}

class TeleportOverNetwork : public ::testing::Test {
protected:
    TeleportOverNetwork() : game(2) {
        int host = 0;
        for (TestMachine* tm : game.Machines()) {
            MachineScope scope(tm->machine());
            InitializeObjects();
            if (host == 0)
                gGameEngine->SetAsNetworkServer();
            else
                gGameEngine->SetAsNetworkClient();
            AddRegions();
            for (int owner = 0; owner <= 2; ++owner) {
                Player* player = MakePlayer(IdOf(owner), L"P" + std::to_wstring(owner), 4);
                World::Get().AddEntity(player, WorldCoords(World::Get().GetRegion("T0"), Coords()),
                                       true);
            }
            gGameEngine->GetPlayerManagerClient()->SetMainPlayer(IdOf(host));
            // A travel stone where the players stand and its pair at the destination, which
            // every player has found.
            PlaceStone(kHere, 1, "T0", Vec3());
            PlaceStone(kThere, 2, "T1", Vec3(50, 10, 60));
            for (int owner = 0; owner <= 2; ++owner)
                Singleton<ObjectManager>::Get()
                    .GetObject<Player>(IdOf(owner))
                    ->AddTeleportUID(UniqueId(2, 0, 0, 1));
            ++host;
        }
        for (int client = 1; client <= 2; ++client)
            ON_MACHINE(game.Client(client - 1)) {
                auto* player = Singleton<ObjectManager>::Get().GetObject<Player>(IdOf(client));
                gGameEngine->GetNetworkInterface()->CtoS_AddNewPlayer(InfoOf(*player));
            }
        game.Pump();
        // The server's player list reaches every machine's cache.
        Frames(13);
    }
    ~TeleportOverNetwork() override { game.OnEach(ShutdownObjects); }
    void Frames(int count) {
        game.RunFrames(count, kTeleportFrameMs,
                       [](TestMachine&, int) { gGameEngine->Update(kTeleportFrameMs); });
    }
    static std::uint32_t IdOf(int host) { return PlayerId(host, 0x400 + host); }
    static void PlaceStone(std::uint32_t id, std::uint32_t uid, const char* region,
                           const Vec3& at) {
        auto* stone =
            Singleton<ObjectManager>::Get().CreateObjectFromFile<StrategicMovementTeleportShrine>(
                "Records/Fixed/TeleportShrine.dbr", id);
        ASSERT_NE(stone, nullptr);
        stone->SetUniqueId(UniqueId(uid, 0, 0, 1));
        World::Get().AddEntity(
            stone, WorldCoords(World::Get().GetRegion(region), Coords::FromOrigin(at)), true);
    }
    // The client's ask, the server's decision, and each machine's activity.
    void AskFromClient() {
        ON_MACHINE(game.Client(0)) {
            gGameEngine->InitiatePlayerTeleport(1050, 10, 60);
            ActivityManager::Get()->Update(0);
            EXPECT_TRUE(Teleports().empty());
        }
        game.Pump();
    }

    static constexpr std::uint32_t kHere = 0x0B000001;
    static constexpr std::uint32_t kThere = 0x0B000002;
    NetTestGame game;
};

TEST_F(TeleportOverNetwork, ClientPlayerArrivesOnEveryMachineAtTheSameFrame) {
    // Nothing moves on the asking machine before the server decided: then every machine has
    // its kind of the activity from the same point on.
    AskFromClient();
    const auto kinds = game.OnEach([] {
        ActivityManager::Get()->Update(0);
        const std::vector<TeleportActivity*> teleports = Teleports();
        return teleports.size() == 1 ? std::string(test::TypeOf(teleports[0]).name()) : "none";
    });
    EXPECT_EQ(kinds[0], typeid(TeleportNonLocalServerActivity).name());
    EXPECT_EQ(kinds[1], typeid(TeleportLocalClientActivity).name());
    EXPECT_EQ(kinds[2], typeid(TeleportNonLocalClientActivity).name());

    bool darkSeen = false;
    for (int frame = 0; frame < 200; ++frame) {
        Frames(1);
        ON_MACHINE(game.Client(0)) {
            darkSeen = darkSeen || !gGameEngine->IsRenderingEnabled();
        }
        // The same place, in the world, with the same guard, on every machine every frame.
        const auto seen = game.OnEach([] {
            auto* player = Singleton<ObjectManager>::Get().GetObject<Player>(IdOf(1));
            return std::tuple(player->IsInWorld(), player->IsInvincible(),
                              player->GetCoords().GetPosition().GetWorldPosition().x);
        });
        EXPECT_EQ(seen[1], seen[0]) << frame;
        EXPECT_EQ(seen[2], seen[0]) << frame;
        const auto left = game.OnEach([] { return Teleports().size(); });
        if (left[0] + left[1] + left[2] == 0)
            break;
    }
    EXPECT_TRUE(darkSeen);
    for (TestMachine* tm : game.Machines())
        ON_MACHINE(*tm) {
            EXPECT_TRUE(Teleports().empty());
            auto* player = Singleton<ObjectManager>::Get().GetObject<Player>(IdOf(1));
            ASSERT_NE(player, nullptr);
            EXPECT_TRUE(player->IsInWorld());
            EXPECT_EQ(player->GetCoords().GetRegion(), World::Get().GetRegion("T1"));
            EXPECT_EQ(player->GetCoords().GetPosition().GetWorldPosition(), Vec3(1050, 10, 60));
            EXPECT_FALSE(player->IsTeleporting());
            EXPECT_FALSE(gEngine->IsTeleportMode());
            EXPECT_TRUE(gGameEngine->IsRenderingEnabled());
            EXPECT_FALSE(gGameEngine->NeedsSleep());
            EXPECT_FALSE(gGameEngine->IsMouseLocked());
        }
    // The machines that load: the teleporting player's and the server; the third one only
    // waits for the server's word.
    for (TestMachine* tm : {&game.Server(), &game.Client(0)})
        ON_MACHINE(*tm) {
            EXPECT_TRUE(World::Get().GetRegion("T1")->IsLevelLoaded());
        }
    ON_MACHINE(game.Client(1)) {
        EXPECT_FALSE(World::Get().GetRegion("T1")->IsLevelLoaded());
    }
}

TEST_F(TeleportOverNetwork, TheServerHandsTheHostsViewOverAndBackAtTheDestination) {
    constexpr std::uint32_t kGone = 0x9001;
    ON_MACHINE(game.Server()) {
        Singleton<ObjectManager>::Get().CreateObject<Player>(kGone);
        FrustumEntry& view = Singleton<NetworkEntityList>::Get().GetEntry(1);
        view.frustum.region = World::Get().GetRegion("T0");
        view.entities = {{IdOf(1), 1}, {kGone, 1}};
    }
    AskFromClient();
    bool heldAway = false, doneSeen = false;
    for (int frame = 0; frame < 200; ++frame) {
        Frames(1);
        ON_MACHINE(game.Server()) {
            const FrustumEntry* view = Singleton<NetworkEntityList>::Get().FindEntry(1);
            if (!view && !heldAway) {
                heldAway = true;
                ObjectManager& objects = Singleton<ObjectManager>::Get();
                objects.DestroyObject(objects.GetObject(kGone));
            }
            // A loader done loading is found no more: a next move gets the reports.
            for (TeleportActivity* teleport : Teleports())
                if (teleport->GetLoader() && teleport->GetLoader()->IsDone()) {
                    doneSeen = true;
                    EXPECT_EQ(gGameEngine->FindNRLoader(IdOf(1)), nullptr);
                }
        }
        if (game.OnEach([] { return Teleports().size(); })[0] == 0)
            break;
    }
    EXPECT_TRUE(heldAway);
    EXPECT_TRUE(doneSeen);
    ON_MACHINE(game.Server()) {
        const FrustumEntry* view = Singleton<NetworkEntityList>::Get().FindEntry(1);
        ASSERT_NE(view, nullptr);
        EXPECT_EQ(view->frustum.GetRegion(), World::Get().GetRegion("T1"));
        EXPECT_TRUE(view->entities.contains(IdOf(1)));
        EXPECT_FALSE(view->entities.contains(kGone));
    }
}

TEST_F(TeleportOverNetwork, ATeleportClearedHalfWayGivesTheHostsViewBack) {
    ON_MACHINE(game.Server()) {
        FrustumEntry& view = Singleton<NetworkEntityList>::Get().GetEntry(1);
        view.frustum.region = World::Get().GetRegion("T0");
        view.entities = {{IdOf(1), 1}};
    }
    AskFromClient();
    bool heldAway = false;
    for (int frame = 0; frame < 100 && !heldAway; ++frame) {
        Frames(1);
        ON_MACHINE(game.Server()) {
            heldAway = Singleton<NetworkEntityList>::Get().FindEntry(1) == nullptr;
        }
    }
    ASSERT_TRUE(heldAway);
    ON_MACHINE(game.Server()) {
        ActivityManager::Get()->Clear();
        const FrustumEntry* view = Singleton<NetworkEntityList>::Get().FindEntry(1);
        ASSERT_NE(view, nullptr);
        EXPECT_EQ(view->frustum.GetRegion(), World::Get().GetRegion("T0"));
        EXPECT_EQ(view->entities.size(), 1u);
    }
}

class SingleTeleport : public ::testing::Test {
protected:
    SingleTeleport() {
        InitializeObjects();
        AddRegions();
        player = MakePlayer(kPlayer, L"Solo", 4);
        World::Get().AddEntity(player, WorldCoords(World::Get().GetRegion("T0"), Coords()), true);
        gGameEngine->GetPlayerManagerClient()->SetMainPlayer(kPlayer);
    }
    ~SingleTeleport() override { ShutdownObjects(); }

    static constexpr std::uint32_t kPlayer = PlayerId(0, 0x500);
    TestMachine machine;
    Player* player = nullptr;
};

TEST_F(SingleTeleport, DestinationOutsideTheWorldSetsNothing) {
    TeleportLocalServerActivity activity;
    activity.SetDestination(5000, 0, 0, kPlayer);
    EXPECT_FALSE(activity.GetDestination().IsValid());
    EXPECT_FALSE(activity.GetLoader()->IsRegistered());
    EXPECT_EQ(gGameEngine->FindNRLoader(kPlayer), nullptr);
    EXPECT_FALSE(gGameEngine->NeedsSleep());
}

TEST_F(SingleTeleport, OwnTeleportLeavesTheDarkAtAWholeSecond) {
    gGameEngine->InitiatePlayerTeleport(1020, 5, 30);
    ActivityManager::Get()->Update(0);
    ASSERT_EQ(Teleports().size(), 1u);
    TeleportActivity* teleport = Teleports()[0];
    EXPECT_TRUE(gGameEngine->NeedsSleep());
    int darkMs = 0;
    bool dissolved = false;
    while (!Teleports().empty() && darkMs < 10000) {
        if (teleport->GetState() == 2)
            darkMs += kTeleportFrameMs;
        gGameEngine->Update(kTeleportFrameMs);
        dissolved = dissolved || player->GetMeshInstance().IsDissolving();
    }
    // Loaded within the first frame of the dark, yet dark for one whole second.
    EXPECT_EQ(darkMs, TeleportActivity::kLoadingCycleMs);
    EXPECT_EQ(player->GetCoords().GetPosition().GetWorldPosition(), Vec3(1020, 5, 30));
    EXPECT_FALSE(player->IsTeleporting());
    EXPECT_FALSE(gGameEngine->NeedsSleep());
    EXPECT_TRUE(dissolved);
}

// A client whose server reports done 1500 ms into the dark: dark until 2000 ms.
TEST_F(SingleTeleport, LateServerWordKeepsAClientDarkToTheNextWholeSecond) {
    gGameEngine->SetAsNetworkClient();
    // Where the player stood is its path position until the arrival resets its movement.
    ASSERT_EQ(player->GetPathPosition().GetRegion(), World::Get().GetRegion("T0"));
    gGameEngine->InitiatePlayerTeleport(1020, 5, 30);
    ActivityManager::Get()->Update(0);
    ASSERT_EQ(Teleports().size(), 1u);
    TeleportActivity* teleport = Teleports()[0];
    EXPECT_NE(dynamic_cast<TeleportLocalClientActivity*>(teleport), nullptr);
    int darkMs = 0;
    while (teleport->GetState() < 3 && darkMs < 10000) {
        if (teleport->GetState() == 2) {
            darkMs += kTeleportFrameMs;
            if (darkMs == 1500)
                gGameEngine->StoC_HandleNRLoaderStateChangeInbound(kPlayer, NRLoaderState_Done);
        }
        gGameEngine->Update(kTeleportFrameMs);
    }
    EXPECT_EQ(darkMs, 2 * TeleportActivity::kLoadingCycleMs);
    EXPECT_EQ(player->GetCoords().GetPosition().GetWorldPosition(), Vec3(1020, 5, 30));
    EXPECT_EQ(player->GetPathPosition(), player->GetCoords().GetPosition());
}

TEST_F(SingleTeleport, ConfirmationStartsATeleportOnlyOnYes) {
    const WorldVec3 where(World::Get().GetRegion("T1"), Vec3(20.7f, 0, 30.2f));
    for (int answer : {0, 1}) {
        auto* confirm = new TeleportConfirmActivity();
        confirm->Set("tagTeleportAsk", where);
        ActivityManager::Get()->InstallActivity(confirm);
        const std::uint32_t id = confirm->GetId();
        ActivityManager::Get()->Update(kTeleportFrameMs);
        ASSERT_FALSE(gGameEngine->GetDialogManager().GetDialogs().empty());
        EXPECT_EQ(gGameEngine->GetDialogManager().GetDialogs().back().tag, "tagTeleportAsk");
        EXPECT_TRUE(ActivityManager::Get()->IsActivityActive(id));
        gGameEngine->GetDialogManager().AddResponse(kDialogPartyTeleport, answer);
        ActivityManager::Get()->Update(kTeleportFrameMs);
        EXPECT_FALSE(ActivityManager::Get()->IsActivityActive(id));
        ActivityManager::Get()->Update(kTeleportFrameMs);
        EXPECT_EQ(Teleports().size(), static_cast<std::size_t>(answer));
    }
    ASSERT_EQ(Teleports().size(), 1u);
    EXPECT_EQ(Teleports()[0]->GetDestination().GetWorldPosition(), Vec3(1020, 0, 30));
}

}  // namespace
}  // namespace GAME::test
