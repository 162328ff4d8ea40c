#include "Game/core/GameEngine.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <limits>

#include "Engine/Engine.h"
#include "Engine/media/sound/AmbianceManager.h"
#include "Engine/media/sound/SoundPak.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/triggers/Trigger.h"
#include "Engine/world/InstanceGroupManager.h"
#include "Game/characters/Player.h"
#include "Game/core/ActivityManager.h"
#include "Game/core/AssertHandler.h"
#include "Game/core/GameConstants.h"
#include "Game/core/GameUIInterface.h"
#include "Game/core/net/GameEngineInboundInterface.h"
#include "Game/core/net/GameEngineOutboundInterface.h"
#include "Game/core/net/GameEngineServicesModules.h"
#include "Game/core/players/Bonus.h"
#include "Game/core/players/PlayerManagerClient.h"
#include "Game/items/market/TradeManager.h"
#include "Game/quests/Quest.h"
#include "Game/quests/QuestRepository.h"
#include "Game/quests/QuestStep.h"
#include "Game/rules/formulas/DesignerEquation.h"
#include "support/RecordingUI.h"
#include "support/TestAccess.h"
#include "support/TestMachine.h"

namespace GAME {
namespace {

using test::TestMachine;

class GameEngineTest : public ::testing::Test {
protected:
    void SetUp() override { InitializeObjects(); }
    void TearDown() override { ShutdownObjects(); }
    TestMachine tm;
};

struct BalanceSpy : EventHandlerInterface {
    std::vector<int> levels;
    void HandleEvent(const GameEvent* payload) override {
        levels.push_back(static_cast<const GameEvent_GameBalanceLevel*>(payload)->level);
    }
};

// Saves reach the host's interface; without one they fail, and auto-save off succeeds untouched.
TEST_F(GameEngineTest, SavesGoThroughTheHostInterfaceAndAutoSaveOffSkipsIt) {
    struct Host : test::RecordingUI {
        std::vector<std::string> calls;
        bool DisplaySkillReallocationWindow(unsigned id) override {
            calls.push_back("window " + std::to_string(id));
            return true;
        }
        bool SaveGame(GameDifficulty d) override {
            calls.push_back("save " + std::to_string(static_cast<int>(d)));
            return true;
        }
        bool SaveGame() override {
            calls.push_back("save");
            return false;
        }
        bool SaveQuest(bool a) override {
            calls.push_back(a ? "quest 1" : "quest 0");
            return true;
        }
        bool BackupGame() override {
            calls.push_back("backup");
            return true;
        }
    } host;
    EXPECT_FALSE(gGameEngine->SaveGame());
    EXPECT_FALSE(gGameEngine->AutoSave());
    EXPECT_FALSE(gGameEngine->DisplaySkillReallocationWindow(3));
    gGameEngine->SetUI(&host);
    EXPECT_FALSE(gGameEngine->AutoSave());  // the host's answer
    EXPECT_TRUE(gGameEngine->AutoSaveQuest(true));
    EXPECT_TRUE(gGameEngine->BackupGame());
    EXPECT_TRUE(gGameEngine->SaveGame(static_cast<GameDifficulty>(2)));
    EXPECT_TRUE(gGameEngine->DisplaySkillReallocationWindow(3));
    gGameEngine->SetAutoSave(false);
    EXPECT_TRUE(gGameEngine->AutoSave());
    EXPECT_TRUE(gGameEngine->AutoSaveQuest(false));
    EXPECT_EQ(host.calls,
              (std::vector<std::string>{"save", "quest 1", "backup", "save 2", "window 3"}));
    gGameEngine->SetUI(nullptr);
}

TEST_F(GameEngineTest, InitializeObjectsGivesASinglePlayerRoot) {
    ASSERT_NE(gGameEngine, nullptr);
    EXPECT_EQ(gGameEngine->GetNetworkInterface(), gGameEngine->GetInboundNetworkInterface());
    EXPECT_NE(gGameEngine->GetPlayerManagerClient(), nullptr);
    EXPECT_NE(gGameEngine->GetPlayerManagerServer(), nullptr);
    EXPECT_TRUE(gGameEngine->IsServerOrSingle());
    EXPECT_NE(gGameEngine->GetPartyManager(), nullptr);
    EXPECT_NE(gGameEngine->GetTeamManager(), nullptr);
    EXPECT_NE(gGameEngine->GetTradeManager(), nullptr);
    EXPECT_EQ(gGameEngine->GetMainPlayer(), nullptr);
    EXPECT_TRUE(gGameEngine->GetAutoSave());
    EXPECT_TRUE(gGameEngine->IsGameLoading());
    EXPECT_TRUE(gGameEngine->IsSaveEnabled());
    EXPECT_FALSE(gGameEngine->UIExists());
    const Color& overlay = gGameEngine->GetOverlayColor();
    EXPECT_EQ(overlay.r, 1.0f);
    EXPECT_EQ(overlay.g, 1.0f);
    EXPECT_EQ(overlay.b, 1.0f);
    EXPECT_EQ(overlay.a, 0.0f);
}

TEST_F(GameEngineTest, ModeOperationsOnlySwitchPointers) {
    GameEngine& root = *gGameEngine;
    GameEngineServerServicesModuleBase* server = root.GetServerServices();
    root.SetAsNetworkClient();
    EXPECT_EQ(root.GetPlayerManagerServer(), nullptr);
    EXPECT_FALSE(root.IsServerOrSingle());
    EXPECT_NE(root.GetPlayerManagerClient(), nullptr);
    EXPECT_EQ(root.GetNetworkInterface(), root.GetOutboundNetworkInterface());
    EXPECT_NE(root.GetServerServices(), server);
    EXPECT_EQ(root.GetServerServices()->GetMarketServer(7), nullptr);

    root.SetAsNetworkServer();
    EXPECT_EQ(root.GetServerServices(), server);
    EXPECT_TRUE(root.IsServerOrSingle());
    EXPECT_EQ(root.GetNetworkInterface(), root.GetOutboundNetworkInterface());

    root.SetAsNetworkStub();
    EXPECT_NE(root.GetPlayerManagerServer(), nullptr);
    EXPECT_NE(root.GetPlayerManagerClient(), nullptr);
    EXPECT_EQ(root.GetNetworkInterface(), root.GetInboundNetworkInterface());
}

TEST_F(GameEngineTest, ModulesSendThroughWhateverInterfaceIsCurrent) {
    GameEngine& root = *gGameEngine;
    EXPECT_EQ(root.GetClientServices()->GetNetworkInterface(), root.GetInboundNetworkInterface());
    root.SetAsNetworkClient();
    EXPECT_EQ(root.GetClientServices()->GetNetworkInterface(), root.GetOutboundNetworkInterface());
    EXPECT_EQ(root.GetServerServices()->GetNetworkInterface(), root.GetOutboundNetworkInterface());
}

TEST_F(GameEngineTest, ShutdownTwiceAndInitializeTwiceAreHarmless) {
    GameEngine* first = gGameEngine;
    InitializeObjects();
    EXPECT_EQ(static_cast<GameEngine*>(gGameEngine), first);
    EXPECT_EQ(tm.CountLog("already exists"), 1);
    ShutdownObjects();
    EXPECT_EQ(gGameEngine, nullptr);
    ShutdownObjects();
    EXPECT_EQ(gGameEngine, nullptr);
}

TEST(GameEngineExports, ShutdownBeforeInitializeDoesNothing) {
    TestMachine tm;
    ShutdownObjects();
    EXPECT_EQ(gGameEngine, nullptr);
}

TEST(GameEngineExports, EachMachineHasItsOwnRoot) {
    TestMachine a;
    TestMachine b;
    ON_MACHINE(a) {
        InitializeObjects();
    }
    ON_MACHINE(b) {
        EXPECT_EQ(gGameEngine, nullptr);
    }
    ON_MACHINE(a) {
        EXPECT_NE(gGameEngine, nullptr);
        ShutdownObjects();
    }
}

TEST_F(GameEngineTest, InitializeRegistersTheEighteenGroupAffiliationsInOrder) {
    const auto& affiliations = InstanceGroupManager::Get()->GetAffiliations();
    ASSERT_EQ(affiliations.size(), 18u);
    EXPECT_EQ(affiliations[0], (std::pair<std::string, std::string>{"Unified Proxies", "Proxy"}));
    EXPECT_EQ(affiliations[5],
              (std::pair<std::string, std::string>{"Monsters And Weapons", "Weapon"}));
    EXPECT_EQ(affiliations[11], (std::pair<std::string, std::string>{
                                    "TeleportShrine", "StrategicMovementTeleportShrine"}));
    EXPECT_EQ(affiliations[17],
              (std::pair<std::string, std::string>{"Terracotta Warriors", "Proxy"}));
}

TEST_F(GameEngineTest, AFrameWithoutAMainPlayerSkipsAmbianceAndRestsTheTimers) {
    GameEngine& root = *gGameEngine;
    // A trade question answered before the frame: the frame's trade step takes the answer.
    root.GetTradeManager()->HandleInitiateTradeInbound(0x10000077);
    root.GetDialogManager().AddResponse(kDialogPartyTrade, 1);
    root.Update(1000);
    EXPECT_EQ(root.GetModifierPointsTimer(), 0);
    EXPECT_EQ(root.GetSkillPointsTimer(), 0);
    EXPECT_EQ(root.GetPlayTimer(), 1000);
    EXPECT_EQ(Singleton<AmbianceManager>::Get().GetEffectUpdateCount(), 0);
    EXPECT_EQ(QuestRepository::Get()->GetDelayedActionCount(), 0u);
    EXPECT_TRUE(root.GetTradeManager()->GetIsTradeActive());
    EXPECT_EQ(root.GetTradeManager()->GetTradePartner(), 0x10000077u);
}

TEST_F(GameEngineTest, AFrameWithAMainPlayerFollowsItAndCountsItsUnspentPoints) {
    GameEngine& root = *gGameEngine;
    auto* player = static_cast<Player*>(Singleton<ObjectManager>::Get().CreateObject("Player", 5));
    ASSERT_NE(player, nullptr);
    WorldCoords where;
    where.coords.origin = Vec3(2, 0, 3);
    player->SetCoords(where);
    Bonus points;
    points.attributePoints = 2;
    player->TakeBonus(points, false, 0);
    root.GetPlayerManagerClient()->SetMainPlayer(5);
    EXPECT_EQ(root.GetMainPlayer(), player);
    EXPECT_EQ(root.GetPlayerId(), 5u);

    root.Update(400000);
    root.Update(300000);
    EXPECT_EQ(root.GetModifierPointsTimer(), 700000);
    EXPECT_EQ(root.GetSkillPointsTimer(), 0);
    EXPECT_TRUE(root.IsTutorialPageUnlocked(31));
    AmbianceManager& ambiance = Singleton<AmbianceManager>::Get();
    EXPECT_EQ(ambiance.GetEffectUpdateCount(), 2);
    EXPECT_EQ(ambiance.GetTargetPosition().local, Vec3(2, 0, 3));
}

TEST_F(GameEngineTest, HintTimersOfAServerUpForWeeksStopAtTheirLimit) {
    GameEngine& root = *gGameEngine;
    auto* player = static_cast<Player*>(Singleton<ObjectManager>::Get().CreateObject("Player", 5));
    ASSERT_NE(player, nullptr);
    Bonus points;
    points.attributePoints = 2;
    points.skillPoints = 1;
    player->TakeBonus(points, false, 0);
    root.GetPlayerManagerClient()->SetMainPlayer(5);
    root.SetUnspentSkillPoints(1);

    // 3e9 ms is past what 32 bits hold: the timers must neither wrap nor overflow.
    for (int frame = 0; frame < 3; ++frame)
        root.Update(1000000000);
    EXPECT_EQ(root.GetPlayTimer(), std::numeric_limits<int>::max());
    EXPECT_EQ(root.GetModifierPointsTimer(), std::numeric_limits<int>::max());
    EXPECT_EQ(root.GetSkillPointsTimer(), std::numeric_limits<int>::max());
    for (unsigned int page : {28u, 29u, 31u})
        EXPECT_TRUE(root.IsTutorialPageUnlocked(page)) << page;
    root.Update(1);
    EXPECT_EQ(root.GetPlayTimer(), std::numeric_limits<int>::max());
}

// Removes the main player during the activities' step of the frame.
struct RemovePlayerActivity : GameActivity {
    explicit RemovePlayerActivity(Player* player) : player(player) {}
    void Update(int) override {
        Singleton<ObjectManager>::Get().DestroyObject(player);
        done = true;
    }
    void Render(GraphicsCanvas&) const override {}
    bool IsFinished() const override { return done; }
    void AddStatisticText() override {}
    Player* player;
    bool done = false;
};

TEST_F(GameEngineTest, AMainPlayerRemovedByAnActivityIsNotFollowedInTheSameFrame) {
    GameEngine& root = *gGameEngine;
    auto* player = static_cast<Player*>(Singleton<ObjectManager>::Get().CreateObject("Player", 5));
    ASSERT_NE(player, nullptr);
    root.GetPlayerManagerClient()->SetMainPlayer(5);
    ActivityManager::Get()->FastInstallActivity(new RemovePlayerActivity(player));
    root.Update(10);
    EXPECT_EQ(root.GetMainPlayer(), nullptr);
    EXPECT_EQ(Singleton<AmbianceManager>::Get().GetEffectUpdateCount(), 0);
}

TEST_F(GameEngineTest, TutorialHintsUnlockPagesFromTheFrameStep) {
    GameEngine& root = *gGameEngine;
    root.SetUnspentSkillPoints(2);
    root.Update(299999);
    EXPECT_FALSE(root.IsTutorialPageUnlocked(29));
    root.Update(1);
    EXPECT_TRUE(root.IsTutorialPageUnlocked(29));
    root.Update(300000);
    EXPECT_TRUE(root.IsTutorialPageUnlocked(28));  // play timer reached 600000

    root.SetUnspentSkillPoints(0);
    root.SetUnspentMasteryPoints(9);
    root.Update(1);
    EXPECT_TRUE(root.IsTutorialPageUnlocked(32));
    EXPECT_EQ(root.GetTutorialUnlockList(), (std::vector<unsigned int>{29, 28, 32}));
}

TEST_F(GameEngineTest, AHotSlotChangeRestartsTheSkillPointHint) {
    GameEngine& root = *gGameEngine;
    root.SetUnspentSkillPoints(1);
    root.Update(200000);
    test::GameEngineTestAccess::SetHotSlotChanged(root, true);
    root.Update(200000);
    test::GameEngineTestAccess::SetHotSlotChanged(root, false);
    root.Update(200000);
    EXPECT_FALSE(root.IsTutorialPageUnlocked(29));
}

TEST_F(GameEngineTest, UnlockingATutorialPageAnnouncesItOnce) {
    GameEngine& root = *gGameEngine;
    struct Spy : EventHandlerInterface {
        std::vector<unsigned int> pages;
        void HandleEvent(const GameEvent* payload) override {
            pages.push_back(static_cast<const GameEvent_TutorialUnlock*>(payload)->page);
        }
    } spy;
    Singleton<EventManager>::Get().Register("GameEvent_TutorialUnlock", &spy);
    root.UnlockTutorialPage(5, true);
    root.UnlockTutorialPage(5, true);
    root.UnlockTutorialPage(36, true);
    root.UnlockTutorialPage(7, false);
    Singleton<EventManager>::Get().UnRegister("GameEvent_TutorialUnlock", &spy);
    EXPECT_EQ(spy.pages, (std::vector<unsigned int>{5}));
    EXPECT_EQ(root.GetTutorialUnlockList(), (std::vector<unsigned int>{5, 7}));
    root.ResetTutorialState();
    EXPECT_FALSE(root.IsTutorialPageUnlocked(5));
}

TEST_F(GameEngineTest, APortalAnswerOtherThanYesDropsTheRequest) {
    GameEngine& root = *gGameEngine;
    root.SetPendingPortalRequest(WorldCoords(), 3, 44, "Sector");
    root.Update(10);
    EXPECT_TRUE(root.IsPortalRequestPending());  // no answer yet
    root.GetDialogManager().AddResponse(5, 0);
    root.Update(10);
    EXPECT_FALSE(root.IsPortalRequestPending());
    EXPECT_FALSE(root.ValidateArtifactPortal(44));
}

TEST_F(GameEngineTest, AYesToThePortalOpensItThroughTheCurrentInterface) {
    GameEngine& root = *gGameEngine;
    root.SetPendingPortalRequest(WorldCoords(), 3, 44, "Sector");
    root.GetDialogManager().AddResponse(4, 1);  // another party's answer is not taken
    root.GetDialogManager().AddResponse(5, 1);
    root.Update(10);
    EXPECT_FALSE(root.IsPortalRequestPending());
    ASSERT_TRUE(root.ValidateArtifactPortal(44));
    EXPECT_EQ(root.GetTeleportInfo(44)->owner, 3u);
    EXPECT_EQ(root.GetTeleportInfo(44)->text, "Sector");
    EXPECT_EQ(root.GetDialogManager().GetNumResponsesFor(4), 1);
}

TEST_F(GameEngineTest, ABanAnswerOtherThanYesClearsThePendingBan) {
    GameEngine& root = *gGameEngine;
    root.BanPlayer(0x10000005, true);
    EXPECT_EQ(root.GetPendingBanPlayerId(), 0x10000005u);
    ASSERT_EQ(root.GetDialogManager().GetDialogs().size(), 1u);
    EXPECT_EQ(root.GetDialogManager().GetDialogs()[0].party, 4);
    root.GetDialogManager().AddResponse(4, false);
    root.Update(10);
    EXPECT_EQ(root.GetPendingBanPlayerId(), 0u);
    EXPECT_EQ(root.GetDialogManager().GetNumResponsesFor(4), 0);
}

TEST_F(GameEngineTest, RenderingReasonsOutsideZeroToThreeChangeNothing) {
    GameEngine& root = *gGameEngine;
    root.SetRenderingEnabled(false, 4);
    EXPECT_TRUE(root.IsRenderingEnabled());
    root.SetRenderingEnabled(false, -1);
    EXPECT_TRUE(root.IsRenderingEnabled());
    root.SetRenderingEnabled(false, 0);
    root.SetRenderingEnabled(false, 3);
    EXPECT_FALSE(root.IsRenderingEnabled());
    root.SetRenderingEnabled(true, 0);
    EXPECT_FALSE(root.IsRenderingEnabled());
    root.SetRenderingEnabled(true, 3);
    EXPECT_TRUE(root.IsRenderingEnabled());
    root.SetRenderingEnabled(false, 2);
    root.ForceRenderingEnabled();
    EXPECT_TRUE(root.IsRenderingEnabled());
}

TEST_F(GameEngineTest, SleepCounterAndMouseLock) {
    GameEngine& root = *gGameEngine;
    EXPECT_FALSE(root.NeedsSleep());
    root.IncrementNeedsSleepCounter();
    root.IncrementNeedsSleepCounter();
    root.DecrementNeedsSleepCounter();
    EXPECT_TRUE(root.NeedsSleep());
    root.DecrementNeedsSleepCounter();
    EXPECT_FALSE(root.NeedsSleep());
    root.LockMouse();
    EXPECT_TRUE(root.IsMouseLocked());
    root.UnlockMouse();
    EXPECT_FALSE(root.IsMouseLocked());
}

TEST_F(GameEngineTest, RandomSeedsStayInOneToMaxShort) {
    GameEngine& root = *gGameEngine;
    for (int i = 0; i < 200; ++i) {
        const unsigned short seed = root.GetRandomSeed();
        EXPECT_GE(seed, 1);
        EXPECT_LE(seed, 32767);
    }
}

TEST_F(GameEngineTest, TheBalanceLevelIsStoredAndAnnounced) {
    BalanceSpy spy;
    Singleton<EventManager>::Get().Register("GameEvent_GameBalanceLevel", &spy);
    gGameEngine->GetNetworkInterface()->GameBalanceUpdate(7);
    Singleton<EventManager>::Get().UnRegister("GameEvent_GameBalanceLevel", &spy);
    EXPECT_EQ(gGameEngine->GetBalanceDifficulty(), 7u);
    EXPECT_EQ(spy.levels, (std::vector<int>{7}));
}

TEST_F(GameEngineTest, ExitPlayingModeClearsTheSessionState) {
    GameEngine& root = *gGameEngine;
    struct Forever : GameActivity {
        void Update(int) override {}
        void Render(GraphicsCanvas&) const override {}
        bool IsFinished() const override { return false; }
        void AddStatisticText() override {}
    };
    ActivityManager::Get()->FastInstallActivity(new Forever);
    root.ExitPlayingMode();
    EXPECT_EQ(ActivityManager::Get()->GetActiveCount(), 0u);
    EXPECT_EQ(Singleton<AmbianceManager>::Get().GetResetCount(), 1);
    EXPECT_TRUE(root.GetTeleportInfoList().empty());
}

void IgnoreAssert(const char*) {}

TEST_F(GameEngineTest, TheAssertHookIsInstalledThroughTheRoot) {
    gGameEngine->InitializeAssertHandler(&IgnoreAssert, true, false);
    gGameEngine->SetAssertHandlerLogPath("logs/assert.txt");
    const AssertHandlerSettings& settings = GetAssertHandlerSettings();
    EXPECT_EQ(settings.handler, &IgnoreAssert);
    EXPECT_TRUE(settings.firstFlag);
    EXPECT_FALSE(settings.secondFlag);
    EXPECT_EQ(settings.logPath, "logs/assert.txt");
}

TEST_F(GameEngineTest, SuperPreRunReplaysFiredTriggersThenRewards) {
    QuestRepository& quests = *QuestRepository::Get();
    const char* text = R"([{"quest": [{"title": "Q"}]}, {"steps": [{"max": 1}, {"step": [
        {"triggers": [{"max": 1}, {"trigger": [{"displayTag": "t"}]}]}]}]}])";
    Quest* quest = quests.LoadQuest("Quests/Q.quest", text);
    ASSERT_NE(quest, nullptr);
    quests.AddTrigger(quest->GetHandle(), 0, 0, 77);
    GameEvent_Reward reward;
    SendGameEvent(reward, "Reward");
    struct Spy : EventHandlerInterface {
        std::vector<bool> simulated;
        void HandleEvent(const GameEvent* payload) override {
            simulated.push_back(static_cast<const GameEvent_Reward*>(payload)->simulated);
        }
    } spy;
    Singleton<EventManager>::Get().Register("GameEvent_Reward", &spy);
    gGameEngine->SuperPreRun();
    Singleton<EventManager>::Get().UnRegister("GameEvent_Reward", &spy);
    const Trigger* trigger = quest->GetQuestStepAtIndx(0)->GetTriggerOfIdx(0);
    EXPECT_TRUE(trigger->HasFired());
    EXPECT_EQ(trigger->GetTarget(), 77u);
    EXPECT_TRUE(quest->IsComplete());
    EXPECT_EQ(spy.simulated, std::vector<bool>{true});
}

TEST_F(GameEngineTest, TheSettingsRecordIsRead) {
    GameEngine& root = *gGameEngine;
    EXPECT_FLOAT_EQ(root.GetArmorDefensiveAbsorption(), 0.5f);
    EXPECT_FLOAT_EQ(root.GetShortRange(), 5.5f);
    EXPECT_FLOAT_EQ(root.GetMaximumRange(), 30.0f);
    EXPECT_FLOAT_EQ(root.GetPathSlowdownLength(), 2.0f);
    EXPECT_FLOAT_EQ(root.GetMinRotationSpeed(), 0.0f);
    EXPECT_EQ(root.GetInventorySackDims(0), Vec2(12, 5));
    EXPECT_EQ(root.GetInventorySackDims(1), Vec2(8, 4));
    EXPECT_EQ(root.GetInventorySackDims(5), Vec2(8, 4));
    EXPECT_EQ(root.GetSkillMasteryTierLevels(), (std::vector<unsigned int>{0, 1, 4}));

    const auto& items = root.GetItemClassTable();
    EXPECT_EQ(items.size(), 8u);
    EXPECT_EQ(items.count(0), 0u);  // Common gets no entry
    EXPECT_EQ(items.at(1).color, L"{^Y}");
    EXPECT_EQ(items.at(1).sparkle, "Records/Effects/Sparkle.dbr");
    EXPECT_EQ(items.at(1).textStyle, 3);
    EXPECT_EQ(items.at(9).textStyle, 10);
    EXPECT_EQ(root.GetMonsterColorTable().at(3), L"{^R}");

    // Floats truncated toward zero; a chest key only for monsters leaves chests alone.
    EXPECT_EQ(root.GetMonsterLootModifiers().at(1)[2], 12);
    EXPECT_EQ(root.GetChestLootModifiers().at(2)[2], -3);
    EXPECT_EQ(root.GetChestLootModifiers().at(1)[2], 0);

    GameCamera* camera = root.GetCamera();
    EXPECT_FLOAT_EQ(camera->GetCameraDistance(), 18.0f);
    EXPECT_FLOAT_EQ(camera->GetCameraPitchDefault(), 45.0f);
    EXPECT_FLOAT_EQ(camera->GetCameraPitch(), 45.0f * 0.017453292f);
    EXPECT_FLOAT_EQ(camera->GetDistanceHigh(), 30.0f);
    EXPECT_FLOAT_EQ(camera->GetPitchLow(), 30.0f);
}

TEST(GameEngineSettings, AMissingRecordGivesTheDefaults) {
    TestMachine tm("");
    InitializeObjects();
    EXPECT_FLOAT_EQ(gGameEngine->GetMeleeRange(), 0.0f);
    EXPECT_FLOAT_EQ(gGameEngine->GetCamera()->GetCameraDistance(), 0.0f);
    EXPECT_FLOAT_EQ(gGameEngine->GetCamera()->GetCameraPitch(), 0.0f);
    EXPECT_EQ(gGameEngine->GetItemClassTable().at(2).textStyle, 4);
    ShutdownObjects();
}

TEST(GameEngineSettings, LootModifiersBeyondTheIntRangeTakeTheNearestBound) {
    namespace fs = std::filesystem;
    const fs::path root =
        fs::temp_directory_path() / ("core_tests_settings_" + std::to_string(::getpid()));
    fs::create_directories(root / "Records/Game");
    std::ofstream(root / "Records/Game/GameEngine.dbr")
        << R"({"noPrefixNoSuffixModifierBoss": 1e12, "brokenOnlyModifierCommonChest": -1e12,
              "suffixOnlyModifierHero": 2147483520.5})";
    {
        TestMachine tm(root.string());
        InitializeObjects();
        EXPECT_EQ(gGameEngine->GetMonsterLootModifiers().at(3)[0], std::numeric_limits<int>::max());
        EXPECT_EQ(gGameEngine->GetChestLootModifiers().at(0)[4], std::numeric_limits<int>::min());
        EXPECT_EQ(gGameEngine->GetMonsterLootModifiers().at(2)[3], 2147483520);
        EXPECT_EQ(tm.CountLog("noPrefixNoSuffixModifierBoss 1e+12 is out of range"), 1);
        ShutdownObjects();
    }
    fs::remove_all(root);
}

TEST_F(GameEngineTest, NotificationsDropAnImmediateRepeat) {
    GameEngine& root = *gGameEngine;
    root.AddUINotification(6, L"a", false);
    root.AddUINotification(6, L"a", false);
    EXPECT_EQ(root.GetUINotifications().size(), 1u);
    root.AddUINotification(6, L"b", false);
    root.AddUINotification(6, L"a", false);
    EXPECT_EQ(root.GetUINotifications().size(), 3u);
    root.AddUINotification(2, L"c", true);
    EXPECT_EQ(root.GetUINotifications().size(), 1u);
}

TEST_F(GameEngineTest, QueuesOfPartyAnswersChatAndPets) {
    GameEngine& root = *gGameEngine;
    EXPECT_EQ(root.GetTopPartyRequestResponse().player, 0u);  // empty: a harmless default
    root.RegisterPartyRequestResponse(4, true);
    root.RegisterPartyRequestResponse(5, false);
    EXPECT_EQ(root.GetNumPartyRequestResponses(), 2);
    const GameEngine::PartyRequestResponse first = root.GetTopPartyRequestResponse();
    EXPECT_EQ(first.player, 4u);
    EXPECT_TRUE(first.accepted);
    EXPECT_EQ(root.GetNumPartyRequestResponses(), 1);

    root.SendChatMessage(L"me", L"text", 2, {});
    std::vector<GameEngine::ChatMessage> drained;
    root.RemovePendingMessages(drained);
    ASSERT_EQ(drained.size(), 1u);
    EXPECT_EQ(drained[0].text, L"text");
    EXPECT_TRUE(root.GetChatMessages().empty());

    root.RegisterLocalPet(7);
    root.RegisterLocalPet(7);
    root.RegisterLocalPet(8);
    EXPECT_EQ(root.GetLocalPetList(), (std::vector<std::uint32_t>{7, 8}));
    root.UnregisterLocalPet(7);
    EXPECT_FALSE(root.IsLocalPet(7));
    root.ExitPlayingMode();
    EXPECT_TRUE(root.GetLocalPetList().empty());

    root.UnlockAllTutorials();
    EXPECT_EQ(root.GetTutorialUnlockList().size(), 36u);
}

TEST_F(GameEngineTest, DamageRegisterSharesPerAttacker) {
    GameEngine& root = *gGameEngine;
    root.RegisterDamage(50, 1, 30.0f);
    root.RegisterDamage(50, 2, 10.0f);
    root.RegisterDamage(50, 1, 40.0f);
    EXPECT_FLOAT_EQ(root.GetTotalDamageDone(50), 80.0f);
    EXPECT_FLOAT_EQ(root.GetDamageByAttacker(1, 50), 70.0f);
    EXPECT_FLOAT_EQ(root.GetPlayerDamagePercent(2, 50), 0.125f);
    EXPECT_FLOAT_EQ(root.GetPlayerDamagePercent(3, 50), 0.0f);
    root.RemoveDamageEntry(50);
    EXPECT_FLOAT_EQ(root.GetTotalDamageDone(50), 0.0f);
    root.SetAsNetworkClient();
    root.RegisterDamage(51, 1, 5.0f);
    EXPECT_FLOAT_EQ(root.GetTotalDamageDone(51), 0.0f);
}

}  // namespace
}  // namespace GAME

namespace GAME {
namespace {

TEST(GameEngineSettingsFormulas, FormulasReadTheRootsVariablesAndAFailedParseIsDropped) {
    test::TestMachine tm;
    InitializeObjects();
    GameEngine& root = *gGameEngine;
    EXPECT_EQ(tm.CountLog("-=- GameEngine Equation load failure : deathPenaltyEquation "), 1);
    EXPECT_EQ(tm.CountLog("Equation load failure : experienceEquation"), 0);
    EXPECT_EQ(root.GetDeathPenaltyEquation(), nullptr);
    ASSERT_NE(root.GetExperienceEquation(), nullptr);
    root.GetFormulaVariables().monsterExperience = 40;
    EXPECT_FLOAT_EQ((*root.GetExperienceEquation())(), 80.0f);
    float value = -1;
    EXPECT_FALSE(root.GetDesignerVariable("unknownVariable", value));
    EXPECT_EQ(value, 0.0f);
    ShutdownObjects();
}

TEST(GameEngineSettingsSounds, OnlyASoundPakRecordGivesAMarketSound) {
    test::TestMachine tm;
    InitializeObjects();
    GameEngine& root = *gGameEngine;
    ASSERT_NE(root.GetMarketPurchaseSound(), nullptr);
    EXPECT_EQ(root.GetMarketSaleSound(), nullptr);  // the record makes an entity
    root.PlayMarketPurchaseSound();
    root.PlayMarketSaleSound();
    EXPECT_EQ(root.GetMarketPurchaseSound()->GetPlayCount(), 1u);
    ShutdownObjects();
}

}  // namespace
}  // namespace GAME
