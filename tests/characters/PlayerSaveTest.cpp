// The character file: keys in order with their version gates, round trips into fresh players,
// refusal of cut or damaged files without half-applying them, and saves cut short.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "Engine/object/ObjectManager.h"
#include "Engine/records/RecordDatabase.h"
#include "Engine/streams/IOStream.h"
#include "Game/ai/controllers/CharacterController.h"
#include "Game/ai/controllers/ControllerCharacter.h"
#include "Game/ai/controllers/player/ControllerPlayer.h"
#include "Game/characters/Player.h"
#include "Game/characters/player/CharacterFileManager.h"
#include "Game/core/GameEngine.h"
#include "Game/items/Item.h"
#include "Game/items/hotslots/PlayerHotSlotCtrl.h"
#include "Game/items/inventory/Inventory.h"
#include "Game/items/inventory/InventorySack.h"
#include "Game/items/inventory/PlayerInventoryCtrl.h"
#include "PlayerSaveTestSupport.h"
#include "PlayerTestSupport.h"
#include "support/CharacterSetUp.h"
#include "support/TestAccess.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

class PlayerSave : public ::testing::Test {
protected:
    void SetUp() override { InitializeObjects(); }
    void TearDown() override { ShutdownObjects(); }

    Player* NewPlayer() { return Singleton<ObjectManager>::Get().CreateObject<Player>(); }

    // A player with something in every field the file keeps, and four tutorial pages.
    Player* FilledPlayer() {
        Player* p = NewPlayer();
        p->SetPlayerName(L"Hild\u00e9");
        p->SetIsInMainQuest(false);
        for (int difficulty = 0; difficulty < 3; ++difficulty) {
            gGameEngine->SetGameDifficulty(difficulty);
            for (int i = 0; i <= difficulty; ++i) {
                p->AddTeleportUID(UniqueId(1, difficulty, i, 0));
                p->AddMarkerUID(UniqueId(2, difficulty, i, 0));
            }
            p->AddRespawnUID(UniqueId(3, difficulty, 9, 0));
        }
        gGameEngine->SetGameDifficulty(0);
        p->AddMoney(1234);
        test::PlayerTestAccess::SetCompassState(*p, 6);
        test::PlayerTestAccess::SetSkillWindowShowHelp(*p, false);
        p->SetAlternateConfigEnabled(true);
        p->SetPlayerTexture("Records/Textures/Hero2.tex");
        p->SetGreatestDifficultyCompleted(1);
        p->SetHasBeenInGame(true);
        test::SetCharLevel(*p, 7);
        p->IncrementBaseAttribute(CharAttributeType::Strength, 9.0f);
        p->GetPlayStats().IncrementKills(5, 1);
        gGameEngine->ResetTutorialState();
        gGameEngine->SetDisableTutorialAutoPop(true);
        for (unsigned page : {3u, 20u, 7u, 35u})
            gGameEngine->UnlockTutorialPage(page, false);
        return p;
    }

    static std::vector<std::uint8_t> Written(Player& p) {
        IOStream out;
        p.StreamProperties(out);
        return out.GetBytes();
    }

    // What a load may change: the player's file image and the game's tutorial state.
    struct State {
        std::vector<std::uint8_t> player;
        std::vector<unsigned int> pages;
        bool disableAutoPop;
        bool operator==(const State&) const = default;
    };
    static State StateOf(Player& p) {
        return {Written(p), gGameEngine->GetTutorialUnlockList(),
                gGameEngine->GetDisableTutorialAutoPop()};
    }

    TestMachine tm;
};

std::vector<std::string> KeysOf(const std::vector<StreamEntry>& entries, std::size_t from,
                                std::size_t to) {
    std::vector<std::string> keys;
    for (std::size_t i = from; i < to; ++i)
        keys.push_back(entries[i].key);
    return keys;
}

TEST_F(PlayerSave, AWrittenPlayerHasEveryKeyInOrderAndReadsBackIntoAFreshPlayer) {
    Player* hero = FilledPlayer();
    const std::vector<std::uint8_t> bytes = Written(*hero);
    const std::vector<StreamEntry> entries = DecodeEntries(bytes);

    std::vector<std::string> expected = {"playerVersion", "player",           "myPlayerName",
                                         "isInMainQuest", "disableAutoPopV2", "numTutorialPagesV2"};
    expected.insert(expected.end(), 36, "currentPageV2");
    const char* lists[3][3] = {{"versionCheckTeleportInfo", "teleportUIDsSize", "teleportUID"},
                               {"versionCheckMovementInfo", "markerUIDsSize", "markerUID"},
                               {"versionCheckRespawnInfo", "respawnUIDsSize", "respawnUID"}};
    for (int list = 0; list < 3; ++list) {
        expected.push_back(lists[list][0]);
        for (int difficulty = 0; difficulty < 3; ++difficulty) {
            expected.push_back(lists[list][1]);
            expected.insert(expected.end(), list == 2 ? 1 : difficulty + 1, lists[list][2]);
        }
    }
    expected.push_back("versionRespawnPoint");
    expected.insert(expected.end(), 3, "strategicMovementRespawnPoint[i]");
    for (const char* key : {"money", "compassState", "skillWindowShowHelp", "alternateConfig",
                            "alternateConfigEnabled", "playerTexture", "temp", "hasBeenInGame", ""})
        expected.push_back(key);
    ASSERT_GE(entries.size(), expected.size());
    EXPECT_EQ(KeysOf(entries, 0, expected.size()), expected);
    EXPECT_EQ(entries[0].word, 5u);
    EXPECT_EQ(entries.back().key, "");  // the hot-slot block closes the file
    EXPECT_EQ(entries.back().start + 3, bytes.size());

    // The sections after the player's block, by their top-level entries.
    std::vector<std::string> sections;
    int depth = 0;
    for (std::size_t i = expected.size(); i < entries.size(); ++i) {
        if (depth == 0 && entries[i].kind != IOStream::Kind::End)
            sections.push_back(entries[i].key);
        depth += entries[i].kind == IOStream::Kind::Begin ? 1
                 : entries[i].kind == IOStream::Kind::End ? -1
                                                          : 0;
    }
    EXPECT_EQ(sections, (std::vector<std::string>{
                            "skillManager", "playerUI", "experienceLevelControl", "characterBio",
                            "playStats", "controllerStreamed", "playerHotSlotCtrl"}));

    // Four pages, then 32 empty places.
    std::vector<std::uint32_t> pages;
    for (const StreamEntry& e : entries)
        if (e.key == "currentPageV2")
            pages.push_back(e.word);
    std::vector<std::uint32_t> expectedPages = {3, 20, 7, 35};
    expectedPages.insert(expectedPages.end(), 32, 0xFFFFFFFFu);
    EXPECT_EQ(pages, expectedPages);
    for (const char* check : {"versionCheckTeleportInfo", "versionCheckMovementInfo",
                              "versionCheckRespawnInfo", "versionRespawnPoint"})
        EXPECT_EQ(FindEntry(entries, check)->word, 1u) << check;
    EXPECT_EQ(FindEntry(entries, "controllerStreamed")->word, 0u);

    gGameEngine->ResetTutorialState();
    Player* fresh = NewPlayer();
    ASSERT_TRUE(fresh->LoadCharacterData(bytes, "hero.chr"));
    EXPECT_EQ(fresh->GetPlayerName(), L"Hild\u00e9");
    EXPECT_FALSE(fresh->IsInMainQuest());
    for (int difficulty = 0; difficulty < 3; ++difficulty) {
        gGameEngine->SetGameDifficulty(difficulty);
        EXPECT_EQ(fresh->GetTeleportUIDs(), hero->GetTeleportUIDs());
        EXPECT_EQ(fresh->GetMarkerUIDs().size(), static_cast<std::size_t>(difficulty + 1));
        EXPECT_EQ(fresh->GetRespawnUIDs(), hero->GetRespawnUIDs());
        EXPECT_EQ(fresh->GetCurrentRespawnPoint(), UniqueId(3, difficulty, 9, 0));
    }
    gGameEngine->SetGameDifficulty(0);
    EXPECT_EQ(fresh->GetMoney(), 1234u);
    EXPECT_EQ(fresh->GetCompassState(), 6u);
    EXPECT_FALSE(fresh->GetSkillWindowShowHelp());
    EXPECT_TRUE(fresh->GetAlternateConfigEnabled());
    EXPECT_EQ(fresh->GetPlayerTexture(), "Records/Textures/Hero2.tex");
    EXPECT_EQ(fresh->GetGreatestDifficultyCompleted(), 1u);
    EXPECT_TRUE(fresh->GetHasBeenInGame());
    EXPECT_EQ(fresh->GetCharLevel(), 7u);
    EXPECT_EQ(gGameEngine->GetTutorialUnlockList(), (std::vector<unsigned>{3, 20, 7, 35}));
    EXPECT_TRUE(gGameEngine->GetDisableTutorialAutoPop());
    // Everything else, including the nested sections, writes back byte for byte.
    EXPECT_EQ(Written(*fresh), bytes);
}

TEST_F(PlayerSave, AGoodFileLoadsIntoAPlayerOfItsRecordWithoutAWord) {
    auto& objects = Singleton<ObjectManager>::Get();
    Player* hero = objects.CreateObjectFromFile<Player>("Records/Players/TestHero.dbr");
    ASSERT_NE(hero, nullptr);
    hero->SetPlayerName(L"Quiet");
    const std::vector<std::uint8_t> bytes = Written(*hero);
    Player* again = objects.CreateObjectFromFile<Player>("Records/Players/TestHero.dbr");
    ASSERT_NE(again, nullptr);
    tm.ClearLog();
    ASSERT_TRUE(again->LoadCharacterData(bytes, "quiet.chr"));
    for (const LogLine& line : tm.Log())
        EXPECT_GT(line.level, 1) << line.text;
    EXPECT_EQ(Written(*again), bytes);
}

TEST_F(PlayerSave, OlderVersionsAndOtherListVersionsSkipWhatTheyLack) {
    Player* hero = FilledPlayer();
    const std::vector<std::uint8_t> bytes = Written(*hero);
    const std::vector<StreamEntry> entries = DecodeEntries(bytes);
    auto loadPatched = [&](const char* key, std::uint32_t value) {
        std::vector<std::uint8_t> patched = bytes;
        PatchWord(patched, FindEntry(entries, key)->payload, value);
        gGameEngine->ResetTutorialState();
        Player* p = NewPlayer();
        p->SetGreatestDifficultyCompleted(2);
        p->AddTeleportUID(UniqueId(9, 9, 9, 9));
        EXPECT_TRUE(p->LoadCharacterData(patched, key));
        return p;
    };

    Player* v4 = loadPatched("playerVersion", 4);
    EXPECT_TRUE(v4->IsInMainQuest());  // its own value: the flag came with version 5
    EXPECT_EQ(v4->GetGreatestDifficultyCompleted(), 1u);
    EXPECT_TRUE(v4->GetHasBeenInGame());

    Player* v2 = loadPatched("playerVersion", 2);
    EXPECT_TRUE(v2->IsInMainQuest());
    EXPECT_EQ(v2->GetGreatestDifficultyCompleted(), 2u);
    EXPECT_FALSE(v2->GetHasBeenInGame());
    EXPECT_EQ(v2->GetPlayerTexture(), "Records/Textures/Hero2.tex");

    // A negative version compares as a large unsigned number: every field is read.
    Player* negative = loadPatched("playerVersion", 0xFFFFFFFFu);
    EXPECT_FALSE(negative->IsInMainQuest());

    Player* teleports = loadPatched("versionCheckTeleportInfo", 2);
    EXPECT_EQ(teleports->GetTeleportUIDs(), (std::vector<UniqueId>{UniqueId(9, 9, 9, 9)}));
    EXPECT_EQ(teleports->GetMarkerUIDs().size(), 1u);
    EXPECT_TRUE(teleports->IsRespawnUIDKnown(UniqueId(3, 0, 9, 0)));

    Player* respawnPoint = loadPatched("versionRespawnPoint", 0);
    EXPECT_TRUE(respawnPoint->GetCurrentRespawnPoint().IsNull());

    loadPatched("numTutorialPagesV2", 35);
    EXPECT_TRUE(gGameEngine->GetTutorialUnlockList().empty());
}

TEST_F(PlayerSave, ReadingIntoAPlayerAppendsToItsListsAndKeepsTheUserSettings) {
    Player* hero = FilledPlayer();
    FakeGameInterface ui;
    ui.current.skillWindowSelection = 2;
    ui.current.skillSets[3] = {"Records/Skills/Fire.dbr", "Records/Skills/Ice.dbr", true};
    ui.current.skillSettingValid = true;
    hero->SetGameInterface(&ui);
    const std::vector<std::uint8_t> bytes = Written(*hero);

    Player* again = NewPlayer();
    FakeGameInterface otherUi;
    again->SetGameInterface(&otherUi);
    ASSERT_TRUE(again->LoadCharacterData(bytes, "a.chr"));
    ASSERT_TRUE(again->LoadCharacterData(bytes, "a.chr"));
    // The lists are read without clearing: two reads hold the file's ids twice.
    std::vector<UniqueId> twice = hero->GetTeleportUIDs();
    twice.insert(twice.end(), hero->GetTeleportUIDs().begin(), hero->GetTeleportUIDs().end());
    EXPECT_EQ(again->GetTeleportUIDs(), twice);
    EXPECT_EQ(again->GetRespawnUIDs().size(), 2u);
    EXPECT_EQ(otherUi.restored, ui.current);
    EXPECT_EQ(otherUi.restoreCount, 2);

    // Without a host the settings last read are the ones written again.
    again->SetGameInterface(nullptr);
    Player* third = NewPlayer();
    ASSERT_TRUE(third->LoadCharacterData(Written(*again), "b.chr"));
    PlayerSave_UISetting kept;
    third->GetUISettings(kept);
    EXPECT_EQ(kept, ui.current);
}

TEST_F(PlayerSave, AnUnreadInventorySectionIsPassedOverBeforeTheHotSlotsAreRead) {
    Player* hero = FilledPlayer();
    std::vector<std::uint8_t> bytes = Written(*hero);
    const std::vector<StreamEntry> entries = DecodeEntries(bytes);
    const StreamEntry* flag = FindEntry(entries, "controllerStreamed");
    PatchWord(bytes, flag->payload, 1);
    // The inventory (whose block shares the hot slots' key), the empty block, the equipment.
    IOStream sections;
    std::int32_t junk = 77;
    sections.BeginBlock("playerHotSlotCtrl");
    sections.StreamInt("itemCount", junk);
    sections.BeginBlock("playerHotSlotCtrl");
    sections.EndBlock();
    sections.EndBlock();
    sections.BeginBlock("");
    sections.EndBlock();
    sections.BeginBlock("equipmentCtrl");
    sections.StreamInt("useAlternate", junk);
    sections.EndBlock();
    const std::vector<std::uint8_t> withoutSections = bytes;
    bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(flag->payload + 4),
                 sections.GetBytes().begin(), sections.GetBytes().end());

    Player* reader = NewPlayer();
    IOStream in(bytes);
    reader->StreamProperties(in);
    EXPECT_FALSE(in.Failed());
    EXPECT_EQ(in.GetRemainingBytes(), 0u);  // the hot slots came from the last block
    EXPECT_TRUE(NewPlayer()->LoadCharacterData(bytes, "inventory.chr"));

    // A flag that announces sections the file lacks is refused, naming the flag.
    const State before = StateOf(*reader);
    EXPECT_FALSE(reader->LoadCharacterData(withoutSections, "noinventory.chr"));
    EXPECT_EQ(tm.CountLog("noinventory.chr: \"controllerStreamed\""), 1);
    EXPECT_TRUE(StateOf(*reader) == before);
}

TEST_F(PlayerSave, WornItemsComeBackWornAndWriteTheSameBytes) {
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    Player* hero = objects.CreateObjectFromFile<Player>(kTestHero);
    auto* controller = FindController<ControllerCharacter>(*hero);
    ASSERT_NE(controller, nullptr);
    controller->SetIgnoreEquipmentRequirements(true);
    for (const char* record : {"Records/Items/EpicSword.dbr", "Records/Items/Shield.dbr"}) {
        Item* item = controller->CreateItemInInventory(record);
        ASSERT_NE(item, nullptr) << record;
        ASSERT_TRUE(controller->GetEquipmentCtrl().AutoInsertItem(item->GetObjectId()));
    }
    const std::vector<std::uint8_t> bytes = Written(*hero);

    Player* reader = objects.CreateObjectFromFile<Player>(kTestHero);
    IOStream in(bytes);
    reader->StreamProperties(in);
    ASSERT_FALSE(in.Failed());
    const EquipManager& worn = reader->GetEquipManager();
    const auto* sword = objects.GetObject<Item>(worn.GetWeaponIdRight());
    ASSERT_NE(sword, nullptr);
    EXPECT_EQ(sword->GetObjectName(), "Records/Items/EpicSword.dbr");
    EXPECT_NE(worn.GetLeftHandShield(), 0u);
    EXPECT_TRUE(reader->GetInventory().GetInventoryItems().empty());
    EXPECT_EQ(Written(*reader), bytes);
}

TEST_F(PlayerSave, TheBagAndTheBarComeBackThroughALoadAndGoOnToTheControls) {
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    ASSERT_TRUE(Singleton<RecordDatabase>::Get().AddRecordText(
        "Records/Test/SavedPotion.dbr",
        R"({"Class": "OneShot_PotionMana", "bitmap": "potion.tex", "bonusManaPoints": 30})"));
    Player* hero = objects.CreateObjectFromFile<Player>(kTestHero);
    hero->SetIsControllingCharacter(true);
    auto* controller = FindController<ControllerPlayer>(*hero);
    ASSERT_NE(controller, nullptr);
    // The test records' sacks are a few pixels wide: room for one pile.
    controller->GetInventoryCtrl().GetSack(0)->SetDims(64.0f, 64.0f, true);
    for (int i = 0; i < 2; ++i) {
        Item* potion = controller->CreateItemInInventory("Records/Test/SavedPotion.dbr");
        ASSERT_NE(potion, nullptr);
        ASSERT_TRUE(controller->GiveItemToPlayer(potion->GetObjectId()));
    }
    HotSlotOptionPotion mana(static_cast<std::uint32_t>(PotionType::Mana));
    hero->GetPlayerHotSlotCtrl().SetHotSlot(4, &mana);
    const std::vector<std::uint8_t> bytes = Written(*hero);

    // Read while a stand-in controls the player: the bag waits for the player controller.
    Player* reader = objects.CreateObjectFromFile<Player>(kTestHero);
    IOStream in(bytes);
    reader->StreamProperties(in);
    ASSERT_FALSE(in.Failed());
    EXPECT_EQ(Written(*reader), bytes);
    ASSERT_NE(reader->GetPlayerHotSlotCtrl().GetHotSlotOption(4), nullptr);
    reader->SetIsControllingCharacter(true);
    const auto* taken = FindController<ControllerPlayer>(*reader);
    ASSERT_NE(taken, nullptr);
    EXPECT_EQ(taken->GetInventoryCtrl().GetTotalPotions(PotionType::Mana), 2u);
    EXPECT_EQ(taken->GetInventoryCtrl().GetInventoryInSack(0).size(), 1u);
    EXPECT_EQ(Written(*reader), bytes);
}

TEST_F(PlayerSave, CutOrDamagedFilesAreRefusedByNameAndFieldWithNothingApplied) {
    Player* hero = FilledPlayer();
    const std::vector<std::uint8_t> bytes = Written(*hero);
    const std::vector<StreamEntry> entries = DecodeEntries(bytes);
    Player* target = NewPlayer();
    target->SetPlayerName(L"Kept");
    target->AddTeleportUID(UniqueId(5, 5, 5, 5));
    gGameEngine->ResetTutorialState();
    gGameEngine->UnlockTutorialPage(11, false);
    const State before = StateOf(*target);

    for (std::size_t size = 0; size < bytes.size(); ++size) {
        const std::vector<std::uint8_t> cut(bytes.begin(),
                                            bytes.begin() + static_cast<std::ptrdiff_t>(size));
        ASSERT_FALSE(target->LoadCharacterData(cut, "cut.chr")) << "cut at " << size;
        ASSERT_TRUE(StateOf(*target) == before) << "cut at " << size;
    }
    EXPECT_EQ(tm.CountLog("\"cut.chr\" is refused"), static_cast<int>(bytes.size()));

    auto refusedNaming = [&](std::vector<std::uint8_t> damaged, const std::string& field) {
        tm.ClearLog();
        EXPECT_FALSE(target->LoadCharacterData(damaged, "bad.chr")) << field;
        EXPECT_GE(tm.CountLog("bad.chr"), 2) << field;
        EXPECT_GE(tm.CountLog(field), 1) << field;
        EXPECT_TRUE(StateOf(*target) == before) << field;
    };
    std::vector<std::uint8_t> damaged = bytes;
    PatchWord(damaged, FindEntry(entries, "teleportUIDsSize")->payload, 0x7FFFFFFF);
    refusedNaming(damaged, "\"teleportUIDsSize\"");
    damaged = bytes;
    PatchWord(damaged, FindEntry(entries, "numTutorialPagesV2")->payload, 0x40000000);
    refusedNaming(damaged, "\"numTutorialPagesV2\"");
    // A kind byte of no known kind inside the statistics.
    damaged = bytes;
    damaged[FindEntry(entries, "numberOfKills")->start] = 0x63;
    refusedNaming(damaged, "malformed data at offset");
    // A name whose length runs past the end of the file.
    damaged = bytes;
    PatchWord(damaged, FindEntry(entries, "myPlayerName")->payload, 0x10000000);
    refusedNaming(damaged, "\"myPlayerName\"");
    refusedNaming({}, "\"playerVersion\"");
}

TEST_F(PlayerSave, ASaveCutShortAtAnyByteLeavesThePreviousFileLoadable) {
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() /
        ("playersave-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
         std::to_string(reinterpret_cast<std::uintptr_t>(this)));
    std::filesystem::create_directories(dir);
    const std::filesystem::path file = dir / "hero.chr";
    Player* hero = FilledPlayer();
    ASSERT_TRUE(hero->SaveCharacterFile(file));
    hero->SetPlayerName(L"Renamed");
    hero->AddMoney(1);
    const std::vector<std::uint8_t> next = Written(*hero);

    for (std::size_t size = 0; size <= next.size(); size += 7) {
        // What a crash while writing leaves: part of the new save under the temporary name.
        {
            std::ofstream partial(dir / "hero.chr.tmp", std::ios::binary | std::ios::trunc);
            partial.write(reinterpret_cast<const char*>(next.data()),
                          static_cast<std::streamsize>(size));
        }
        Player* loaded = NewPlayer();
        ASSERT_TRUE(loaded->LoadCharacterFile(file)) << "cut at " << size;
        ASSERT_EQ(loaded->GetPlayerName(), L"Hild\u00e9");
        ASSERT_EQ(loaded->GetMoney(), 1234u);
        Singleton<ObjectManager>::Get().DestroyObjectEx(loaded, __FILE__, __LINE__);
    }
    // A save that completes replaces the file and leaves no temporary of its own behind (the
    // crashed writer's stays as it was).
    ASSERT_TRUE(hero->SaveCharacterFile(file));
    for (const auto& entry : std::filesystem::directory_iterator(dir))
        EXPECT_TRUE(entry.path().filename() == "hero.chr" ||
                    entry.path().filename() == "hero.chr.tmp")
            << entry.path();
    Player* loaded = NewPlayer();
    ASSERT_TRUE(loaded->LoadCharacterFile(file));
    EXPECT_EQ(loaded->GetPlayerName(), L"Renamed");
    EXPECT_EQ(loaded->GetMoney(), 1235u);
    EXPECT_FALSE(loaded->LoadCharacterFile(dir / "absent.chr"));
    EXPECT_EQ(tm.CountLog("absent.chr"), 1);
    std::filesystem::remove_all(dir);
}

TEST_F(PlayerSave, QuestTokensReadBackAsPendingAndTheirCountIsBounded) {
    // A stream of two held tokens, as a player holding them writes it.
    IOStream out;
    std::uint32_t version = 1, count = 2;
    out.StreamUInt("versionNumber", version);
    out.BeginBlock("questTokens");
    out.StreamUInt("numberOfTriggerTokens", count);
    TriggerToken("FoundTheKey").StreamProperties(out);
    TriggerToken("MetTheSmith").StreamProperties(out);
    out.EndBlock();

    Player* fresh = NewPlayer();
    fresh->BestowToken(TriggerToken("Earlier"));
    IOStream in(out.GetBytes());
    EXPECT_TRUE(fresh->StreamPropertiesQuestTokens(in));
    EXPECT_EQ(fresh->GetPendingTokens(),
              (std::vector<TriggerToken>{TriggerToken("Earlier"), TriggerToken("FoundTheKey"),
                                         TriggerToken("MetTheSmith")}));
    EXPECT_FALSE(fresh->HasToken("FoundTheKey"));  // granted at the next frame, not by reading

    std::vector<std::uint8_t> huge = out.GetBytes();
    PatchWord(huge, FindEntry(DecodeEntries(huge), "numberOfTriggerTokens")->payload, 0x7FFFFFFF);
    Player* other = NewPlayer();
    IOStream hugeIn(huge);
    hugeIn.SetName("tokens.qst");
    other->StreamPropertiesQuestTokens(hugeIn);
    EXPECT_TRUE(hugeIn.Failed());
    EXPECT_TRUE(other->GetPendingTokens().empty());
    EXPECT_EQ(tm.CountLog("tokens.qst: \"numberOfTriggerTokens\""), 1);
}

TEST_F(PlayerSave, CharacterFilesAreListedFromTheSaveFolderOnce) {
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() /
        ("playerfiles-" + std::to_string(reinterpret_cast<std::uintptr_t>(this)));
    std::filesystem::create_directories(dir / "folder.chr");
    for (const char* name : {"b.chr", "a.chr", "notes.txt", "c.chr.tmp"})
        std::ofstream(dir / name) << "x";
    CharacterFileManager& files = CharacterFileManager::Get();
    files.SetSaveFolder(dir);
    std::vector<std::string> listed = {"stale"};
    files.GetCharacterFiles(listed);
    EXPECT_EQ(listed, (std::vector<std::string>{"a.chr", "b.chr"}));
    std::ofstream(dir / "e.chr") << "x";  // after the scan: only what the host adds
    files.AddCharacterFile("a.chr");
    files.RemoveCharacterFile("a.chr");
    files.GetCharacterFiles(listed);
    EXPECT_EQ(listed, (std::vector<std::string>{"b.chr", "a.chr"}));
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace GAME::test
