// Every sample item record is made, saved (named properties and binary) and replicated with the
// same result on two machines.
#include <gtest/gtest.h>

#include "Engine/streams/BinaryStream.h"
#include "Engine/streams/IOStream.h"
#include "Game/core/GameEngine.h"
#include "Game/items/ItemEquipment.h"
#include "Game/items/ItemRelic.h"
#include "ItemTestSupport.h"
#include "net/ProbePacket.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

// The cost report lists every rolled summary with its exact values.
std::vector<std::string> Fingerprint(TestMachine& machine, Item& item) {
    machine.ClearLog();
    item.DumpCostAttributes();
    std::vector<std::string> lines;
    for (const LogLine& line : machine.Log())
        lines.push_back(line.text);
    lines.push_back("cost " + std::to_string(item.GetItemCost()));
    lines.push_back("level " + std::to_string(item.GetLevelRequirement()));
    lines.push_back("strength " + std::to_string(item.GetStrengthRequirement()));
    lines.push_back("class " + std::to_string(static_cast<int>(item.GetItemClassification())));
    for (const auto& [textClass, text] : Shown(item))
        lines.push_back(std::to_string(textClass) + " " + LocalizationManager::ToChar(text));
    return lines;
}

TEST(SampleItemsTest, EverySampleItemIsTheSameOnTwoMachinesAfterSavesAndReplication) {
    const std::pair<const char*, bool> samples[] = {
        {"Records/Items/Weapons/WardenSword.dbr", true},
        {"Records/Items/Weapons/HunterBow.dbr", true},
        {"Records/Items/Weapons/OakShield.dbr", true},
        {"Records/Items/Armor/WardenHelm.dbr", true},
        {"Records/Items/Armor/WardenHauberk.dbr", true},
        {"Records/Items/Armor/SilverRing.dbr", true},
        {"Records/Items/Relics/BoarRelic.dbr", false},
        {"Records/Items/Relics/TalonCharm.dbr", false},
    };
    TestMachine server(TestMachine::SampleDataDir());
    TestMachine client(TestMachine::SampleDataDir());
    for (TestMachine* machine : {&server, &client})
        ON_MACHINE(*machine) {
            SetItemTexts();
            InitializeObjects();
        }
    for (const auto& [name, randomized] : samples) {
        ItemReplicaInfo record =
            randomized ? Record(name, 2026, kPrefix, kSuffix) : Record(name, 2026);
        if (!randomized)
            record.relicLevel = 2;
        std::vector<std::string> original;
        std::vector<std::uint8_t> binary, packet;
        IOStream properties;
        ON_MACHINE(server) {
            Item* item = Item::CreateItem(record);
            ASSERT_NE(item, nullptr) << name;
            original = Fingerprint(server, *item);
            BinaryWriter writer;
            item->SaveState(writer);
            binary = writer.GetBuffer();
            packet = Encode([&](NetPacketOutBuffer& out) { item->WriteReplicationData(out); });
            ItemReplicaInfo saved = item->GetReplicaInfo();
            saved.StreamProperties(properties);
        }
        ON_MACHINE(client) {
            ObjectManager& objects = Singleton<ObjectManager>::Get();
            Item* made = Item::CreateItem(record);
            ASSERT_NE(made, nullptr) << name;
            EXPECT_EQ(Fingerprint(client, *made), original) << name;

            Item* restored = objects.CreateObjectFromFile<Item>(name);
            BinaryReader reader(binary);
            restored->RestoreState(reader);
            EXPECT_EQ(Fingerprint(client, *restored), original) << name;

            Item* replica = objects.CreateObjectFromFile<Item>(name);
            ASSERT_TRUE(Decode(packet, [&](NetPacketInBuffer& in) {
                EXPECT_TRUE(replica->ReadReplicationData(in));
            }));
            replica->ApplyReplicationData();
            EXPECT_EQ(Fingerprint(client, *replica), original) << name;

            IOStream in(properties.GetBytes());
            ItemReplicaInfo loaded;
            loaded.StreamProperties(in);
            Item* reloaded = Item::CreateItem(loaded);
            ASSERT_NE(reloaded, nullptr) << name;
            EXPECT_EQ(Fingerprint(client, *reloaded), original) << name;
        }
    }
    for (TestMachine* machine : {&server, &client})
        ON_MACHINE(*machine) {
            ShutdownObjects();
        }
}

}  // namespace
}  // namespace GAME::test
