#include <gtest/gtest.h>

#include <functional>

#include "Engine/object/ObjectManager.h"
#include "Engine/streams/IOStream.h"
#include "Engine/triggers/Trigger.h"
#include "Game/characters/Player.h"
#include "Game/core/GameEngine.h"
#include "Game/items/Item.h"
#include "Game/quests/QuestNetMsg.h"
#include "Game/quests/conditions/ConditionKinds.h"
#include "Game/world/fixeditems/FixedItem.h"
#include "support/TestMachine.h"

namespace GAME {
namespace {

using test::TestMachine;

TEST(QuestNetMsg, WordsAreReadOnlyWhenTheyMakeAWholeMessage) {
    struct Case {
        std::vector<std::uint32_t> words;
        bool read;
    } cases[] = {
        {{0, 7, 9}, true},
        {{0, 7}, false},     // the common words cut short
        {{7, 7, 9}, false},  // no such type
        {{1, 7, 9, 9, 4, 1}, true},
        {{1, 7, 9, 9, 4}, false},  // one word short
        {{3, 7, 9, 9, 1}, false},  // one too many
        {{5, 0xFFFFFFFF, 9, 2, 2, 10, 11, 1, 12}, true},
        {{5, 0xFFFFFFFF, 9, 2, 3, 10, 11, 1, 12}, false},  // a count past the words
        {{5, 0xFFFFFFFF, 9, 2, 0xFFFFFFFF}, false},
        {{5, 0xFFFFFFFF, 9, 2, 0, 0, 99}, false},  // words left over
    };
    for (const Case& c : cases) {
        QuestNetMsg message;
        QuestNetMsg_ProxySpawn spawn;
        EXPECT_EQ(ReadQuestNetMsg(c.words, message, spawn), c.read) << c.words.size();
    }
    QuestNetMsg_ProxySpawn spawn{2, {10, 11}, {12}, 0};
    std::vector<std::uint32_t> words;
    WriteProxySpawn(spawn, 9, words);
    QuestNetMsg message;
    QuestNetMsg_ProxySpawn read;
    ASSERT_TRUE(ReadQuestNetMsg(words, message, read));
    EXPECT_EQ(read.primaryObjects, spawn.primaryObjects);
    EXPECT_EQ(read.accessoryObjects, spawn.accessoryObjects);
}

class QuestConditions : public ::testing::Test {
protected:
    void SetUp() override { InitializeObjects(); }
    void TearDown() override { ShutdownObjects(); }
    TestMachine tm;
};

// A proxy condition needs exactly its sibling count; a herd at least its count (0: the first).
TEST_F(QuestConditions, KillCountsReachTheirMarkAndSurviveAReload) {
    Trigger trigger(0);
    auto* proxy = static_cast<Condition_KillAllCreaturesFromProxy*>(
        trigger.AddCondition(std::make_unique<Condition_KillAllCreaturesFromProxy>(0)));
    for (int kill = 1; kill <= 4; ++kill)
        proxy->Satisfy(5, false);
    EXPECT_FALSE(proxy->GetSatisfied());

    IOStream saved;
    trigger.StreamProperties(saved);
    Trigger reloaded(0);
    auto* again = static_cast<Condition_KillAllCreaturesFromProxy*>(
        reloaded.AddCondition(std::make_unique<Condition_KillAllCreaturesFromProxy>(0)));
    IOStream reading(saved.GetBytes());
    reloaded.StreamProperties(reading);
    EXPECT_EQ(again->GetKillCount(), 4);
    again->Satisfy(5, false);
    EXPECT_TRUE(again->GetSatisfied());
    EXPECT_TRUE(reloaded.HasFired());

    struct Case {
        int count;
        int killsToSatisfy;
    } herds[] = {{0, 1}, {1, 1}, {3, 3}};
    for (const Case& c : herds) {
        Trigger herdTrigger(0);
        auto herd = std::make_unique<Condition_KillCreatureHerd>(0);
        IOStream properties;
        std::int32_t count = c.count;
        std::string record = "Records/Boar.dbr";
        properties.StreamString("creatureRecord", record);
        properties.StreamInt("creatureCount", count);
        IOStream read(properties.GetBytes());
        herd->SerializeChildProperties(read);
        auto* condition =
            static_cast<Condition_KillCreatureHerd*>(herdTrigger.AddCondition(std::move(herd)));
        int kills = 0;
        while (!condition->GetSatisfied() && kills < 10)
            condition->Satisfy(7, 100 + static_cast<std::uint32_t>(++kills), false);
        EXPECT_EQ(kills, c.killsToSatisfy) << c.count;
        EXPECT_EQ(herdTrigger.GetTarget(), 7u);
        EXPECT_EQ(herdTrigger.GetVictim(), 100u + static_cast<std::uint32_t>(kills));
    }
}

TEST_F(QuestConditions, DescriptionsNameTheirRecordsAndTokens) {
    Condition_KillCreature kill(0);
    Condition_OwnsTriggerToken token(0);
    token.SetNegated(true);
    Condition_OnLevelLoad load(0);
    EXPECT_EQ(kill.GetDescription(), "Kill Creature {B[empty]}");
    EXPECT_EQ(token.GetDescription(), "{BNot }Owns Token {R}");
    EXPECT_EQ(load.GetDescription(), "On Game Level Load");
}

// Item conditions watch their own record only; a flagged addition or a non-player is no pick-up.
TEST_F(QuestConditions, ItemConditionsMatchTheirRecordAndTheTargetsBag) {
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    auto* player = objects.CreateObjectFromFile<Player>("Records/Players/TestHero.dbr");
    auto* pebble = objects.CreateObjectFromFile<Item>("Records/Items/Pebble.dbr");
    auto* chest = objects.CreateObjectFromFile<FixedItem>("Records/Fixed/Chest.dbr");
    ASSERT_TRUE(player && pebble && chest);
    const auto make = [](auto condition, std::string record, const char* key) {
        IOStream properties;
        properties.StreamString(key, record);
        IOStream read(properties.GetBytes());
        condition->SerializeChildProperties(read);
        return condition;
    };
    const auto pickUp = [&](std::uint32_t owner, bool flag) {
        GameEvent_ItemAdd event;
        event.ownerId = owner;
        event.itemId = pebble->GetObjectId();
        event.flag = flag;
        SendGameEvent(event, "ItemAdd");
    };
    const auto use = [&] {
        GameEvent_FixedItemUse event;
        event.objectName = chest->GetObjectName();
        event.userId = player->GetObjectId();
        event.itemId = chest->GetObjectId();
        SendGameEvent(event, "FixedItemUse");
    };
    struct Case {
        const char* record;
        std::function<void()> happen;
        bool satisfied;
    } cases[] = {
        {"Records/Items/Pebble.dbr", [&] { pickUp(player->GetObjectId(), false); }, true},
        {"records\\items\\pebble.dbr", [&] { pickUp(player->GetObjectId(), false); }, true},
        {"Records/Items/Pebble.dbr", [&] { pickUp(player->GetObjectId(), true); }, false},
        {"Records/Items/Pebble.dbr", [&] { pickUp(chest->GetObjectId(), false); }, false},
        {"Records/Items/Relic.dbr", [&] { pickUp(player->GetObjectId(), false); }, false},
        {"", [&] { pickUp(player->GetObjectId(), false); }, false},
    };
    for (const Case& c : cases) {
        Trigger trigger(0);
        auto* condition = trigger.AddCondition(
            make(std::make_unique<Condition_PickupItem>(0), c.record, "itemRecord"));
        c.happen();
        EXPECT_EQ(condition->GetSatisfied(), c.satisfied) << c.record;
        EXPECT_EQ(trigger.GetTarget(), c.satisfied ? player->GetObjectId() : 0u) << c.record;
    }
    for (const char* record : {"Records/Fixed/Chest.dbr", "Records/Fixed/TrapChest.dbr"}) {
        Trigger trigger(0);
        auto* condition = trigger.AddCondition(
            make(std::make_unique<Condition_UseFixedItem>(0), record, "itemRecord"));
        use();
        EXPECT_EQ(condition->GetSatisfied(), record == std::string("Records/Fixed/Chest.dbr"));
    }

    // Polled: the trigger's target carries the item, or (negated) does not.
    ASSERT_TRUE(player->GiveItemToCharacter(*pebble));
    for (bool negated : {false, true})
        for (const char* record : {"Records/Items/Pebble.dbr", "Records/Items/Relic.dbr"}) {
            Trigger trigger(0);
            trigger.SetTarget(player->GetObjectId());
            auto* condition = trigger.AddCondition(
                make(std::make_unique<Condition_CharacterHasItem>(0), record, "itemName"));
            condition->SetNegated(negated);
            bool result = true;
            condition->IsSatisfied(result);
            EXPECT_EQ(result, (record == std::string("Records/Items/Pebble.dbr")) != negated)
                << record << " negated " << negated;
        }
}

}  // namespace
}  // namespace GAME
