// What the root prepares for the host's UI: a bounded notification queue drained oldest first,
// the map's name from the mod and level, the camera's field of view in degrees, the detail map's
// entries, and the market questions without a market.
#include <gtest/gtest.h>

#include <memory>

#include "Engine/object/MinimapGameNugget.h"
#include "Engine/sys/GameInfo.h"
#include "Engine/text/LocalizationManager.h"
#include "Engine/world/World.h"
#include "Engine/world/WorldShapes.h"
#include "Game/core/GameEngine.h"
#include "Game/core/players/PlayerManagerClient.h"
#include "Game/items/GameTextLine.h"
#include "Game/items/ItemClassification.h"
#include "Game/quests/DialogManager.h"
#include "players/PlayersTestSupport.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

class UIServices : public ::testing::Test {
protected:
    UIServices() : machine(TestMachine::SampleDataDir()) {
        InitializeObjects();
        LocalizationManager::Instance().LoadFile(TestMachine::SampleDataDir() +
                                                 "/Text/English.txt");
    }
    ~UIServices() override { ShutdownObjects(); }
    TestMachine machine;
};

TEST_F(UIServices, NotificationsAreTakenOldestFirstAndANeverDrainedQueueStaysBounded) {
    GameEngine& root = *gGameEngine;
    EXPECT_EQ(root.TakeTopNotification().type, 0);  // empty: a harmless default
    root.AddUINotificationTag(3, std::vector<std::string>{"tagA", "tagB"}, false);
    root.AddUINotification(4, std::vector<std::wstring>{L"x"}, false);
    root.AddUINotification(4, L"x", false);  // the same as the newest: dropped
    ASSERT_EQ(root.GetNumNotifications(), 2);
    const GameEngine::UINotification first = root.TakeTopNotification();
    EXPECT_EQ(first.type, 3);
    EXPECT_EQ(first.tags, (std::vector<std::string>{"tagA", "tagB"}));
    EXPECT_EQ(root.TakeTopNotification().texts, std::vector<std::wstring>{L"x"});
    EXPECT_EQ(root.GetNumNotifications(), 0);

    // A UI that never drains: the queue keeps the newest, and the newest is last.
    for (int i = 0; i < 1000; ++i)
        root.AddUINotification(1, std::to_wstring(i), false);
    EXPECT_EQ(root.GetNumNotifications(), static_cast<int>(GameEngine::kMaxNotifications));
    EXPECT_EQ(root.TakeTopNotification().texts.front(),
              std::to_wstring(1000 - GameEngine::kMaxNotifications));
    EXPECT_EQ(root.GetUINotifications().back().texts.front(), L"999");
}

TEST_F(UIServices, TheMapIsNamedByTheModAndTheLevelFilesLastPart) {
    GameInfo& info = Singleton<GameInfo>::Get();
    const struct {
        const char* mod;
        const char* level;
        const wchar_t* name;
    } cases[] = {
        {"", "Levels/Sample/Sample.level", L"The Sample Vale"},
        {"Greenwood", "Levels/Sample/Sample.level", L"Greenwood ~ Sample.level"},
        {"Greenwood", "Plain.level", L"Greenwood ~ Plain.level"},
    };
    for (const auto& c : cases) {
        info.SetModName(c.mod);
        info.SetLevelName(c.level);
        EXPECT_EQ(gGameEngine->GetMapName(), c.name) << c.mod << " " << c.level;
    }
}

TEST_F(UIServices, CameraFieldOfViewIsGivenInDegrees) {
    gGameEngine->SetCameraFOV(45.0f);
    EXPECT_FLOAT_EQ(gGameEngine->GetCamera()->GetCameraFOV(), 45.0f * 0.017453292f);
}

TEST_F(UIServices, TheDetailMapListsActorsInViewThenEveryKnownPlayer) {
    GameEngine& root = *gGameEngine;
    Region* vale =
        World::Get().AddRegion(std::make_unique<Region>("Vale", Vec3(), Vec3(100, 50, 100)));
    WorldFrustum view;
    std::vector<MinimapGameNugget> out;
    root.GetDetailMapData(out, view);  // a view in no region shows nothing
    EXPECT_TRUE(out.empty());

    PlayerManagerClient& client = *root.GetPlayerManagerClient();
    Player* own = MakePlayer(PlayerId(0, 0x51), L"Ann", 3);
    World::Get().AddEntity(own, WorldCoords(vale, Coords::FromOrigin(Vec3(5, 0, 5))), true);
    client.SetMainPlayer(own->GetObjectId());
    struct Known {
        std::uint32_t id;
        int party;
        bool inWorld;
        int expectedWord;
    };
    const Known known[] = {
        {own->GetObjectId(), 7, true, 0},  // this machine's player is no party member of its own
        {PlayerId(1, 0x52), 7, false, 1},
        {PlayerId(2, 0x53), 8, false, 0},
    };
    std::vector<PlayerNetBasicInfo> cache;
    for (const Known& k : known) {
        PlayerNetBasicInfo record;
        record.playerId = k.id;
        record.partyId = k.party;
        record.playerName = L"cached";
        record.position = WorldVec3(vale, Vec3(9, 0, 9));
        cache.push_back(record);
    }
    client.HandlePlayerUpdate(cache);
    view.region = vale;
    root.GetDetailMapData(out, view);
    ASSERT_EQ(out.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(out[i].word, known[i].expectedWord) << i;
        EXPECT_EQ(out[i].label == L"cached", !known[i].inWorld) << i;
    }
    EXPECT_EQ(out[0].label, own->GetGameDescription(false));
    EXPECT_EQ(out[0].position.local, Vec3(5, 0, 5));
    EXPECT_EQ(out[1].vector, Vec3(0, 0, 1));
}

TEST_F(UIServices, MarketQuestionsAnswerFromTheMerchantsMarketClient) {
    GameEngine& root = *gGameEngine;
    for (bool withClient : {false, true}) {
        if (withClient)
            root.CreateMarketClient(0x90);
        Market_TypeEnum type = Market_TypeEnum::Armor;
        std::vector<GameTextLine> lines;
        root.GetDialogManager().ClearDialogs();
        EXPECT_EQ(root.GetMarketItemStatus(0x90, 1), 0);
        EXPECT_EQ(root.GetMarketInventorySack(0x90, type) != nullptr, withClient);
        EXPECT_FALSE(root.GetMarketIsItemAffordable(0x90, 1));
        // An item the market does not show cannot be bought; nothing it knows of sells.
        EXPECT_FALSE(root.PlayerPurchaseRequest(0x90, 1));
        EXPECT_FALSE(root.PlayerSaleRequest(0x90, 1, true));
        EXPECT_EQ(root.GetDialogManager().GetDialogs().size(), withClient ? 2u : 0u);
        // An empty market opens on its last tab and calls what it does not show sold.
        root.OpenMarket(0x90, type, Vec2());
        root.CreateUIPlayerBuyText(0x90, 1, lines);
        root.CloseMarket(0x90);
        EXPECT_EQ(type, withClient ? Market_TypeEnum::Miscellaneous : Market_TypeEnum::Armor);
        EXPECT_EQ(lines.size(), withClient ? 1u : 0u);
    }
}

}  // namespace
}  // namespace GAME::test
