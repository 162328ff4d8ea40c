// The personal portals of a single-player game: opened, replaced after a question, closed, and
// the root's answers about them.
#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

#include "Engine/Engine.h"
#include "Engine/media/sound/AmbianceManager.h"
#include "Engine/world/World.h"
#include "Game/core/GameConstants.h"
#include "Game/core/GameEngine.h"
#include "Game/core/players/PlayerManagerClient.h"
#include "players/PlayersTestSupport.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

using Portals = std::vector<std::pair<std::uint32_t, std::uint32_t>>;  // {portal, owner}

Portals Known() {
    Portals known;
    for (const GameEngine::TeleportInfo& info : gGameEngine->GetTeleportInfoList())
        known.emplace_back(info.portal, info.owner);
    return known;
}

class PortalsTest : public ::testing::Test {
protected:
    PortalsTest() {
        InitializeObjects();
        vale = World::Get().AddRegion(std::make_unique<Region>("Vale", Vec3(), Vec3(100, 50, 100)));
        vale->SetAct(2);
        vale->SetCinematicText("tagValeTitle");
    }
    ~PortalsTest() override { ShutdownObjects(); }

    Player* MainPlayer() {
        Player* player = MakePlayer(kMain, L"Ann", 3);
        player->SetCoords(WorldCoords(vale, Coords::FromOrigin(Vec3(10, 0, 20))));
        gGameEngine->GetPlayerManagerClient()->SetMainPlayer(kMain);
        // The frame's ambiance follows the player; the portal takes the title of its region.
        Singleton<AmbianceManager>::Get().SetTargetPosition(player->GetCoords().GetPosition());
        return player;
    }
    int PortalQuestions() {
        int count = 0;
        for (const DialogManager::Dialog& dialog : gGameEngine->GetDialogManager().GetDialogs())
            count +=
                dialog.party == kDialogPartyPortalReplacement && dialog.tag == "tagPortalDialog";
        return count;
    }

    static constexpr std::uint32_t kMain = 0x0F000021;
    TestMachine tm;
    Region* vale = nullptr;
};

TEST_F(PortalsTest, TheNetHookKeepsOnePortalPerOwnerAndIgnoresAKnownId) {
    GameEngine& root = *gGameEngine;
    struct Step {
        const char* what;
        bool destroy;
        std::uint32_t owner, portal;  // the id destroyed is `portal`
        Portals after;
    };
    const Step steps[] = {
        {"first portal", false, 1, 10, {{10, 1}}},
        {"another owner's", false, 2, 11, {{10, 1}, {11, 2}}},
        {"a known id, even for another owner", false, 3, 10, {{10, 1}, {11, 2}}},
        {"a second of owner 1 replaces its first", false, 1, 12, {{11, 2}, {12, 1}}},
        {"closed by its portal id", true, 0, 11, {{12, 1}}},
        {"closed by its owner's id", true, 0, 1, {}},
    };
    for (const Step& step : steps) {
        if (step.destroy)
            root.DestroyFixedItemTeleport(step.portal);
        else
            root.CreateFixedItemTeleport(WorldCoords(), step.owner, step.portal, "tagHere", 0);
        EXPECT_EQ(Known(), step.after) << step.what;
    }
}

TEST_F(PortalsTest, TheMainPlayersPortalOpensAtOnceAndIsReplacedOnlyAfterAYes) {
    GameEngine& root = *gGameEngine;
    root.CreateFixedItemTeleport();  // no main player: nothing
    EXPECT_TRUE(Known().empty());
    MainPlayer();
    root.CreateFixedItemTeleport();
    ASSERT_EQ(Known().size(), 1u);
    const std::uint32_t first = Known()[0].first;
    const GameEngine::TeleportInfo* info = root.GetTeleportInfo(first);
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->owner, kMain);
    EXPECT_EQ(info->where.region, vale);
    EXPECT_EQ(info->text, "tagValeTitle");
    EXPECT_TRUE(root.MainPlayerHasPersonalTeleport());
    EXPECT_EQ(root.GetMainPlayersPersonalPortalZone(), 2);
    EXPECT_FALSE(root.ValidateArtifactPortal(first + 1000));

    // A second press asks first, and only once while the question is open.
    root.CreateFixedItemTeleport();
    root.CreateFixedItemTeleport();
    EXPECT_EQ(PortalQuestions(), 1);
    EXPECT_EQ(Known(), (Portals{{first, kMain}}));
    root.GetDialogManager().AddResponse(kDialogPartyPortalReplacement, 1);
    root.Update(10);
    ASSERT_EQ(Known().size(), 1u);
    EXPECT_NE(Known()[0].first, first);
    EXPECT_FALSE(root.ValidateArtifactPortal(first));

    // Closed; a portal outside every region of the world names no act.
    root.DestroyFixedItemTeleport(kMain);
    EXPECT_FALSE(root.MainPlayerHasPersonalTeleport());
    Region elsewhere("Elsewhere");
    elsewhere.SetAct(3);
    root.CreateFixedItemTeleport(WorldCoords(&elsewhere, Coords()), kMain, 77, "", 0);
    EXPECT_EQ(root.GetMainPlayersPersonalPortalZone(), 0);
    root.DestroyFixedItemTeleport(77);
}

TEST_F(PortalsTest, TryJumpMovesTheMainPlayerToAnEntityOrSaysWhyNot) {
    GameEngine& root = *gGameEngine;
    Player* target = MakePlayer(0x0F000031, L"Bo", 2);
    target->SetCoords(WorldCoords(vale, Coords::FromOrigin(Vec3(40, 0, 30))));
    root.TryJump(0x0F000031);
    EXPECT_EQ(tm.CountLog("Player is null!"), 1);
    root.TryJump(0x777);
    EXPECT_EQ(tm.CountLog("Entity: 1911 is not loaded."), 1);
    Player* player = MainPlayer();
    root.TryJump(0x0F000031);
    EXPECT_EQ(player->GetCoords().GetPosition().local, Vec3(40, 0, 30));
}

}  // namespace
}  // namespace GAME::test
