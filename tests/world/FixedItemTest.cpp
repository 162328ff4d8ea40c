// Chests on the machine that owns the game state: the replicated state byte, the saved record, the
// controller's loot drop (count, loot record by level, gold, one item per party member) and the
// skill emitter's command.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "Engine/net/fields/NetPacketBuffer.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/streams/BinaryStream.h"
#include "Engine/text/LocalizationManager.h"
#include "Game/characters/monster/Monster.h"
#include "Game/core/GameEngine.h"
#include "Game/items/Item.h"
#include "Game/world/fixeditems/FixedItemContainer.h"
#include "Game/world/fixeditems/FixedItemSkill.h"
#include "players/PlayersTestSupport.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

constexpr std::uint32_t kUser = PlayerId(0, 0x321);
constexpr std::uint32_t kDropBand = 0x0E000000;
constexpr std::uint32_t kDropBandEnd = 0x0F000000;

class FixedItems : public ::testing::Test {
protected:
    FixedItems() {
        LocalizationManager::Instance().SetText("SimpleStringFormat", L"%s");
        LocalizationManager::Instance().SetText("tagTestChest", L"Test Chest");
        LocalizationManager::Instance().SetText("tagTestLocked", L"(Locked)");
        MakePlayer(kUser, L"Opener", 4);
    }

    // A chest as its level places it; with `saved`, restored from that record first.
    FixedItemContainer* MakeChest(const char* record, const BinaryWriter* saved = nullptr) {
        auto* chest =
            Singleton<ObjectManager>::Get().CreateObjectFromFile<FixedItemContainer>(record);
        if (chest && saved) {
            BinaryReader reader(saved->GetBuffer());
            chest->RestoreState(reader);
        }
        if (chest)
            chest->InitialUpdate();
        return chest;
    }
    // The base names of the items the deciding machine dropped, in the order made.
    static std::vector<std::string> Drops() {
        std::vector<std::string> names;
        ObjectManager& objects = Singleton<ObjectManager>::Get();
        for (const std::uint32_t id : objects.GetObjectIds())
            if (id >= kDropBand && id < kDropBandEnd)
                if (const Item* item = objects.GetObject<Item>(id))
                    names.push_back(item->GetObjectName());
        return names;
    }
    static long Count(const std::vector<std::string>& names, const std::string& name) {
        return std::count(names.begin(), names.end(), name);
    }

    TestMachine machine;
    RunningGame game;
};

TEST_F(FixedItems, TheReplicationByteCarriesSevenBitsOfStateAndTheLock) {
    FixedItemContainer* chest = MakeChest("Records/Fixed/Chest.dbr");
    ASSERT_NE(chest, nullptr);
    struct Case {
        std::uint8_t byte;
        FixedItem_State state;
        bool locked;
    };
    for (const Case& c : {Case{0x89, FixedItemState_DoorClosed, true},
                          Case{0x02, FixedItemState_ContainerOpen, false},
                          Case{0x7F, static_cast<FixedItem_State>(127), false}}) {
        NetPacketHeader header;
        header.BeginInbound(1);
        {
            NetPacketInBuffer in(header, &c.byte, 1);
            ASSERT_TRUE(chest->ReadReplicationData(in));
        }
        chest->ApplyReplicationData();
        EXPECT_EQ(chest->GetPendingState(), c.state) << int(c.byte);
        EXPECT_EQ(chest->IsLocked(), c.locked) << int(c.byte);
        // Written back, the pending state goes out, not the current one (1, closed).
        FixedItemStateChangeConfigCmdPacket packet;
        {
            NetPacketOutBuffer out(&packet);
            chest->WriteReplicationData(out);
        }
        ASSERT_EQ(packet.GetOutBufferSize(), 1u);
        EXPECT_EQ(static_cast<std::uint8_t>(*packet.GetOutBuffer()), c.byte);
    }
    EXPECT_EQ(chest->GetCurrentState(), FixedItemState_ContainerClosed);
}

TEST_F(FixedItems, ASavedChestComesBackPendingAndARestoredOpenChestDropsNothing) {
    FixedItemContainer* chest = MakeChest("Records/Fixed/Chest.dbr");
    ASSERT_NE(chest, nullptr);
    chest->SetLock(true);
    BinaryWriter writer;
    chest->SaveState(writer);
    auto* copy = Singleton<ObjectManager>::Get().CreateObjectFromFile<FixedItemContainer>(
        "Records/Fixed/Chest.dbr");
    BinaryReader reader(writer.GetBuffer());
    copy->RestoreState(reader);
    EXPECT_EQ(copy->GetPendingState(), FixedItemState_ContainerClosed);
    EXPECT_EQ(copy->GetCurrentState(), FixedItemState_None);
    EXPECT_TRUE(copy->IsLocked());
    EXPECT_EQ(copy->GetDropPerPartyMemberItem().baseName, "Records/Loot/ItemA.dbr");

    // A short record changes nothing.
    BinaryReader shortRecord(std::vector<std::uint8_t>{2, 0, 0});
    copy->RestoreState(shortRecord);
    EXPECT_EQ(copy->GetPendingState(), FixedItemState_ContainerClosed);
    EXPECT_EQ(machine.CountLog("saved state of Records/Fixed/Chest.dbr"), 1);

    // Saved open and restored: shown open, the controller starts opened, a touch and the loot
    // event drop nothing.
    chest->SetLock(false);
    chest->RequestToUse(kUser);
    ASSERT_EQ(chest->GetCurrentState(), FixedItemState_ContainerOpen);
    BinaryWriter open;
    chest->SaveState(open);
    FixedItemContainer* opened = MakeChest("Records/Fixed/Chest.dbr", &open);
    EXPECT_EQ(opened->GetCurrentState(), FixedItemState_ContainerOpen);
    EXPECT_FALSE(opened->IsOfInterest());
    opened->RequestToUse(kUser);
    opened->AnimationCallback(0, Name::Create("lootGen"));
    EXPECT_TRUE(Drops().empty());
}

TEST_F(FixedItems, OpeningDropsTheLootOfTheLevelsRecordAtTheLootEventOnce) {
    FixedItemContainer* chest = MakeChest("Records/Fixed/Chest.dbr");
    ASSERT_NE(chest, nullptr);
    ASSERT_TRUE(gGameEngine->IsServerOrSingle());
    EXPECT_TRUE(chest->IsOfInterest());
    EXPECT_EQ(chest->GetGameDescription(false), L"Test Chest");
    // Proxy level 1: the level formula gives 2, past the end of "tables": the last record,
    // whose count formulas give the number of players + 2.
    chest->SetProxyLevel(1);
    chest->RequestToUse(kUser);
    EXPECT_EQ(chest->GetCurrentState(), FixedItemState_ContainerOpen);
    auto* controller = static_cast<FixedItemContainerController*>(chest->GetController());
    EXPECT_EQ(controller->GetState(), FixedItemContainerController::Opening);
    EXPECT_TRUE(Drops().empty());  // nothing before the animation says so

    chest->AnimationCallback(0, Name::Create("lootGen"));
    EXPECT_EQ(controller->GetFixedItemLevel(), 2u);
    PlayerInfo players;
    gGameEngine->GetPlayerInfo(players);
    const std::vector<std::string> drops = Drops();
    EXPECT_EQ(Count(drops, "Records/Items/PlainRing.dbr"), players.numPlayers + 2);
    EXPECT_EQ(Count(drops, "Records/Loot/GoldPile.dbr"), 1);
    EXPECT_EQ(Count(drops, "Records/Loot/ItemA.dbr"), 1);  // no party manager: one copy

    // The end of the animation closes the controller; a second touch drops nothing more.
    chest->AnimationCallback(0, Name::Create("End"));
    EXPECT_EQ(controller->GetState(), FixedItemContainerController::Opened);
    chest->RequestToUse(kUser);
    chest->AnimationCallback(0, Name::Create("lootGen"));
    EXPECT_EQ(Drops().size(), drops.size());
}

TEST_F(FixedItems, ALockedChestRefusesTheUseAndShowsItsLock) {
    FixedItemContainer* chest = MakeChest("Records/Fixed/LockedChest.dbr");
    ASSERT_NE(chest, nullptr);
    EXPECT_EQ(chest->GetGameDescription(false), L"Test Chest^n(Locked)");
    EXPECT_EQ(chest->GetGameDescription(true), L"^yTest Chest");
    chest->RequestToUse(kUser);
    EXPECT_EQ(chest->GetCurrentState(), FixedItemState_ContainerClosed);
    EXPECT_TRUE(chest->IsOfInterest());
    // Unlocked, the same use opens it.
    chest->SetLock(false);
    chest->RequestToUse(kUser);
    EXPECT_EQ(chest->GetCurrentState(), FixedItemState_ContainerOpen);
}

TEST_F(FixedItems, TheLootCountAndRecordFollowTheirWeightsAndLevels) {
    struct CountCase {
        int roll;
        unsigned int count;
    };
    // Weights [0, 0, 5]: a roll of 0 gives none, anything else two.
    for (const CountCase& c : {CountCase{0, 0}, CountCase{1, 2}, CountCase{5, 2}, CountCase{6, 0}})
        EXPECT_EQ(FixedItemController::WeightedCount({0, 0, 5}, c.roll), c.count) << c.roll;
    const std::vector<std::string> tables = {"a", "b", "c"};
    EXPECT_EQ(FixedItemController::PickLootRecord(tables, 0), "a");
    EXPECT_EQ(FixedItemController::PickLootRecord(tables, 2), "c");
    EXPECT_EQ(FixedItemController::PickLootRecord(tables, 9), "c");
    EXPECT_EQ(FixedItemController::PickLootRecord({}, 1), "");
}

TEST_F(FixedItems, TheSkillFiresAfterItsDelayWithTheTargetsTheDecidingMachineFound) {
    FixedItemContainer* chest = MakeChest("Records/Fixed/TrapChest.dbr");
    ASSERT_NE(chest, nullptr);
    ASSERT_NE(chest->GetSkill(), nullptr);
    EXPECT_EQ(chest->GetSkillDelay(), 1);  // a delay of 0 s becomes 1 ms
    chest->RequestToUse(kUser);
    EXPECT_EQ(chest->GetController()->GetSkillTimer(), 1);
    chest->GetController()->Update(1);
    // The released monster carries the id the controller chose and hunts the user.
    std::vector<Monster*> monsters;
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    for (const std::uint32_t id : objects.GetObjectIds())
        if (Monster* monster = objects.GetObject<Monster>(id))
            monsters.push_back(monster);
    ASSERT_EQ(monsters.size(), 1u);
    EXPECT_GE(monsters[0]->GetObjectId(), kDropBand);
    EXPECT_EQ(monsters[0]->GetObjectName(), "Records/Monsters/Wolf.dbr");

    // A record that is not a skill emitter gives no skill; the delay is kept.
    FixedItemContainer* plain = MakeChest("Records/Fixed/NotASkillChest.dbr");
    EXPECT_EQ(plain->GetSkill(), nullptr);
    EXPECT_EQ(plain->GetSkillDelay(), 250);
}

TEST_F(FixedItems, LockedClassificationsNameTheWeakestMonsterThatLocks) {
    struct Case {
        const char* name;
        int value;
    };
    for (const Case& c : {Case{"Common", 0}, Case{"Champion", 1}, Case{"Hero", 2}, Case{"Boss", 3},
                          Case{"boss", 999}, Case{"", 999}})
        EXPECT_EQ(FixedItemContainer::ResolveLockedClassification(c.name), c.value) << c.name;
}

}  // namespace
}  // namespace GAME::test
