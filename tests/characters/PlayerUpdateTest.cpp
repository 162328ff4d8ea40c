// The player's frame: tokens granted once, saves with their backups, vox lines that wait out
// their intervals, pets and the records kept of non-player characters.
#include <gtest/gtest.h>

#include "Engine/Engine.h"
#include "Engine/events/EventManager.h"
#include "Engine/streams/IOStream.h"
#include "Engine/world/UniqueIdMap.h"
#include "Engine/world/World.h"
#include "Game/characters/Player.h"
#include "Game/characters/player/PlayerEvents.h"
#include "Game/core/GameEngine.h"
#include "PlayerTestSupport.h"
#include "support/TestAccess.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

using Save = FakeGameInterface::Save;

class TokenCounter : public EventHandlerInterface {
public:
    TokenCounter() { Singleton<EventManager>::Get().Register("GameEvent_GotToken", this); }
    ~TokenCounter() override {
        Singleton<EventManager>::Get().UnRegister("GameEvent_GotToken", this);
    }
    void HandleEvent(const GameEvent* payload) override {
        const auto* event = dynamic_cast<const GameEvent_GotToken*>(payload);
        ASSERT_NE(event, nullptr);
        received.push_back(event->tokenName);
        playerIds.push_back(event->playerId);
    }
    std::vector<std::string> received;
    std::vector<std::uint32_t> playerIds;
};

class PlayerUpdate : public ::testing::Test {
protected:
    void SetUp() override {
        InitializeObjects();
        player = MakePlayer();
        ASSERT_NE(player, nullptr);
        player->SetGameInterface(&host);
        gGameEngine->SetUI(&host);
        player->SetIsControllingCharacter(true);
    }
    void TearDown() override {
        gGameEngine->SetUI(nullptr);
        ShutdownObjects();
    }
    void Frame(int ms) {
        gEngine->AdvanceGameTime(static_cast<std::uint32_t>(ms));
        player->UpdateSelf(ms);
    }

    TestMachine tm;
    FakeGameInterface host;
    Player* player = nullptr;
};

TEST_F(PlayerUpdate, TheRecordGivesSoundLinesGoldTexturesAndTheSkillTree) {
    EXPECT_EQ(player->GetMoney(), 250u);
    EXPECT_NE(PlayerSkill(*player, kCleave), nullptr);
    EXPECT_NE(PlayerSkill(*player, kWarfare), nullptr);
    EXPECT_FLOAT_EQ(player->GetPathMass(), 6.0f);  // 3.0, doubled while standing
    EXPECT_EQ(player->GetGreatestDifficultyCompleted(), 0u);
}

TEST_F(PlayerUpdate, ATokenBestowedTwiceIsGrantedOnceWithOneEventAndASave) {
    TokenCounter counter;
    player->BestowToken(TriggerToken("BridgeOpened"));
    player->BestowToken(TriggerToken("BridgeOpened"));
    EXPECT_FALSE(player->HasToken("BridgeOpened"));  // pending until the next frame
    Frame(100);
    EXPECT_TRUE(player->HasToken("BridgeOpened"));
    EXPECT_EQ(player->GetTriggerTokensAsString(), std::vector<std::string>{"BridgeOpened"});
    EXPECT_EQ(counter.received, std::vector<std::string>{"BridgeOpened"});
    EXPECT_EQ(counter.playerIds, std::vector<std::uint32_t>{player->GetObjectId()});
    EXPECT_TRUE(player->GetPendingTokens().empty());
    EXPECT_EQ(host.saves, (std::vector<Save>{Save::Auto, Save::Backup}));

    // Bestowed again later: already held, so no second event.
    player->BestowToken(TriggerToken("BridgeOpened"));
    Frame(100);
    EXPECT_EQ(counter.received.size(), 1u);
    EXPECT_EQ(player->GetTriggerTokensAsString().size(), 1u);
}

TEST_F(PlayerUpdate, BackupsAccompanyTheFirstAutosaveAndEveryFifthAfterIt) {
    for (int i = 0; i < 11; ++i) {
        player->RequestSave();
        Frame(16);
    }
    std::vector<int> backupsAfter;
    int autosaves = 0;
    for (Save save : host.saves) {
        if (save == Save::Auto)
            ++autosaves;
        else if (save == Save::Backup)
            backupsAfter.push_back(autosaves);
    }
    EXPECT_EQ(autosaves, 11);
    EXPECT_EQ(backupsAfter, (std::vector<int>{1, 6, 11}));
}

TEST_F(PlayerUpdate, TheCountdownSavesOnceAMinuteAndOnlyTheControllingPlayerSaves) {
    for (int i = 0; i < 60; ++i)
        Frame(1000);
    EXPECT_TRUE(host.saves.empty());  // down to 0, not below
    Frame(1000);
    EXPECT_EQ(host.saves, (std::vector<Save>{Save::Auto, Save::Backup}));
    EXPECT_EQ(player->GetAutoSaveCountdown(), Player::kAutoSaveInterval);
    EXPECT_FALSE(player->IsSaveRequested());

    host.saves.clear();
    gGameEngine->SetSaveEnabled(false);
    player->RequestSave();
    Frame(16);
    gGameEngine->SetSaveEnabled(true);
    player->SetIsControllingCharacter(false);
    player->RequestSave();
    player->OnQuestUpdate(true);
    Frame(16);
    EXPECT_TRUE(host.saves.empty());
    EXPECT_FALSE(player->IsSaveRequested());  // served, if not saved

    player->SetIsControllingCharacter(true);
    gEngine->SetEditor(true);  // the editor saves nothing
    player->RequestSave();
    player->OnQuestUpdate(true);
    Frame(16);
    EXPECT_TRUE(host.saves.empty());
    gEngine->SetEditor(false);

    player->OnQuestUpdate(true);
    Frame(16);
    player->OnQuestComplete();
    Frame(16);
    EXPECT_EQ(host.saves, (std::vector<Save>{Save::QuestTrue, Save::QuestTrue}));
}

TEST_F(PlayerUpdate, SkillVoxLinesShareTheirIntervalAndRepeatOnlyForAnotherId) {
    const char* mana = "Records/Test/Sound/ManaVox.dbr";
    const char* cooldown = "Records/Test/Sound/CooldownVox.dbr";
    player->PlayNotEnoughManaVox(7);
    EXPECT_EQ(PlaysOf(mana), 1u);
    Frame(4000);
    player->PlayNotEnoughManaVox(7);  // same id within the repeat interval
    EXPECT_EQ(PlaysOf(mana), 1u);
    player->PlayNotEnoughManaVox(8);  // another id after the shared interval
    EXPECT_EQ(PlaysOf(mana), 2u);
    Frame(2000);
    player->PlaySkillCooldownVox(8);     // any line within 3 seconds waits
    player->PlayInvalidEquipmentVox(3);  // no sound pack in the record
    EXPECT_EQ(PlaysOf(cooldown), 0u);
    Frame(1000);
    player->PlaySkillCooldownVox(8);  // its own last id is 0
    EXPECT_EQ(PlaysOf(cooldown), 1u);
    Frame(3000);
    player->ResetSkillVox();
    player->PlaySkillCooldownVox(8);
    EXPECT_EQ(PlaysOf(cooldown), 2u);

    const char* door = "Records/Test/Sound/DoorVox.dbr";
    player->PlayLockedDoorVox();
    player->PlayLockedDoorVox();
    Frame(7999);
    player->PlayLockedDoorVox();
    EXPECT_EQ(PlaysOf(door), 1u);
    Frame(1);
    player->PlayLockedDoorVox();
    EXPECT_EQ(PlaysOf(door), 2u);

    // A player that another machine controls neither speaks nor counts down.
    player->SetIsControllingCharacter(false);
    Frame(9000);
    player->SetIsControllingCharacter(true);
    player->PlayLockedDoorVox();
    EXPECT_EQ(PlaysOf(door), 2u);
}

TEST_F(PlayerUpdate, ASeventhPetIsRefusedUntilOneOfTheSixDies) {
    for (std::uint32_t id = 1; id <= 6; ++id)
        EXPECT_TRUE(player->CanAdoptAPet(100 + id));
    EXPECT_FALSE(player->CanAdoptAPet(200));
    GameEvent_CreatureDeath death;
    death.objectId = 103;
    SendGameEvent(death, "CreatureDeath");
    EXPECT_TRUE(player->CanAdoptAPet(200));
    EXPECT_EQ(player->GetAdoptedPets(), (std::vector<std::uint32_t>{101, 102, 104, 105, 106, 200}));
}

TEST_F(PlayerUpdate, ACharacterFileKeepsThePlayersSkills) {
    PlayerSkill(*player, kCleave)->ReceiveStateUpdate(SkillState(5, true), true);
    PlayerSkill(*player, kWarfare)->ReceiveStateUpdate(SkillState(2, false), true);
    test::SkillManagerTestAccess::SetSkillMasteriesAllowed(player->GetSkillManager(), 2);
    IOStream out;
    player->StreamProperties(out);

    Player* fresh = MakePlayer();
    ASSERT_NE(fresh, nullptr);
    EXPECT_NE(PlayerSkill(*fresh, kCleave)->GetSkillState(), SkillState(5, true));
    ASSERT_TRUE(fresh->LoadCharacterData(out.GetBytes(), "skills.chr"));
    EXPECT_EQ(PlayerSkill(*fresh, kCleave)->GetSkillState(), SkillState(5, true));
    EXPECT_EQ(PlayerSkill(*fresh, kWarfare)->GetSkillState(), SkillState(2, false));
    EXPECT_EQ(fresh->GetSkillManager().GetSkillMasteriesAllowed(), 2u);
}

TEST_F(PlayerUpdate, TheDumpsNameEachKnownPlaceAndWhetherTheLevelHoldsIt) {
    Region* region = World::Get().AddRegion(std::make_unique<Region>("Dale"));
    auto* stone = Singleton<ObjectManager>::Get().CreateObject<Character>();
    const UniqueId placed(0xa, 0xb, 0xc, 0xd);
    stone->SetUniqueId(placed);
    UniqueIdMap::Get().Add(placed, stone->GetObjectId());
    World::Get().AddEntity(stone, WorldCoords(region, Coords::Identity()), true);
    player->AddTeleportUID(placed);
    player->AddTeleportUID(UniqueId(1, 2, 3, 0x4f));
    player->AddRespawnUID(placed);

    player->DumpTeleportIds();
    player->DumpRespawnIds();
    EXPECT_EQ(tm.CountLog("^bTeleport UIDs:"), 1);
    EXPECT_EQ(tm.CountLog("^b   ID (a:b:c:d)  eData Found"), 1);
    EXPECT_EQ(tm.CountLog("^b   ID (1:2:3:4f)  eData Not Found"), 1);
    EXPECT_EQ(tm.CountLog("^bRespawn UID (a:b:c:d)  eData Found"), 1);
    player->ClearRespawnLocation();  // a fresh id that names nothing placed
    player->DumpRespawnIds();
    EXPECT_EQ(tm.CountLog("  eData Not Found"), 2);
    World::Get().RemoveEntity(stone);
}

}  // namespace
}  // namespace GAME::test
