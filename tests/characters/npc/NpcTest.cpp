// Non-player characters on one machine: the marks of a greeting cycle, conversations and their
// events, items given out, the saved dialog state, the loot snapshot other machines read, the
// one owner of a pack the interface shows, and the reallocator's and merchant's own turns.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "Engine/Engine.h"
#include "Engine/net/fields/NetPacketBuffer.h"
#include "Engine/object/MinimapGameNugget.h"
#include "Engine/streams/BinaryStream.h"
#include "Engine/world/World.h"
#include "Game/characters/npc/Npc.h"
#include "Game/characters/npc/NpcEvents.h"
#include "Game/characters/npc/NpcSkillReallocator.h"
#include "Game/core/net/GameEngineServicesModules.h"
#include "Game/core/net/packets/WorldPackets.h"
#include "Game/core/players/PlayerManagerClient.h"
#include "Game/items/Item.h"
#include "Game/items/market/NpcMerchant.h"
#include "Game/quests/dialog/Dialog.h"
#include "Game/quests/dialog/MerchantDialogPak.h"
#include "Game/quests/dialog/NpcDialogPak.h"
#include "players/PlayersTestSupport.h"
#include "support/CharacterSetUp.h"
#include "support/RecordingUI.h"

namespace GAME::test {
namespace {

constexpr std::uint32_t kPlayer = PlayerId(0, 0x51);
constexpr std::uint32_t kOther = PlayerId(1, 0x52);

// Hears the conversation events.
struct EventEar {
    EventEar() : begin("GameEvent_ConversationBegin"), market("GameEvent_ActivateNPCMarket") {
        begin.SetOwner(this, &EventEar::OnBegin);
        market.SetOwner(this, &EventEar::OnMarket);
    }
    void OnBegin(const GameEvent_ConversationBegin& event) { begins.push_back(event.playerId); }
    void OnMarket(const GameEvent_ActivateNPCMarket& event) {
        markets.push_back({event.merchantId, event.playerId});
    }
    GameEventListener<EventEar, GameEvent_ConversationBegin> begin;
    GameEventListener<EventEar, GameEvent_ActivateNPCMarket> market;
    std::vector<std::uint32_t> begins;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> markets;
};

class Npcs : public ::testing::Test {
protected:
    Npcs() {
        gGameEngine->SetUI(&ui);
        region = World::Get().AddRegion(std::make_unique<Region>("Green"));
        player = MakePlayer(kPlayer, L"Hero", 3);
        player->SetCoords(At(0.0f));
        gGameEngine->GetPlayerManagerClient()->SetMainPlayer(kPlayer);
    }
    ~Npcs() override { gGameEngine->SetUI(nullptr); }

    WorldCoords At(float x) const { return WorldCoords(region, Coords::FromOrigin(Vec3(x, 0, 0))); }
    template <class T = Npc>
    T* Place(const char* record, float x = 2.0f) {
        auto* npc = Singleton<ObjectManager>::Get().CreateObjectFromFile<T>(record);
        EXPECT_NE(npc, nullptr) << record;
        World::Get().AddEntity(npc, At(x), false);
        npc->InitialUpdate();
        return npc;
    }
    static std::string Mark(const Npc& npc) { return npc.GetPunctuationName(); }
    void Frames(Npc& npc, int ms) {
        for (int t = 0; t < ms; t += 100) {
            gEngine->AdvanceGameTime(100);
            npc.UpdateSelf(100);
        }
    }
    int ItemsInWorld() const {
        int count = 0;
        ObjectManager& objects = Singleton<ObjectManager>::Get();
        for (const std::uint32_t id : objects.GetObjectIds())
            if (const Item* item = objects.GetObject<Item>(id); item && item->IsInWorld())
                ++count;
        return count;
    }

    TestMachine tm;
    RunningGame running;
    RecordingUI ui;
    Region* region = nullptr;
    Player* player = nullptr;
};

TEST_F(Npcs, AGreetingCycleChangesTheMarkAndACooldownSpacesConversations) {
    EventEar ear;
    Npc* villager = Place("Records/Npcs/Villager.dbr");
    ASSERT_TRUE(villager->HasDialog());
    EXPECT_TRUE(villager->IsOfInterest());
    EXPECT_EQ(Mark(*villager), Npc::kQuestion01);

    villager->OnPlayerInteract(kPlayer, false, false);
    EXPECT_EQ(ui.calls, (std::vector<std::string>{
                            "question", "open " + std::to_string(villager->GetObjectId()) +
                                            " for " + std::to_string(kPlayer)}));
    EXPECT_EQ(ui.shown, villager->GetDialogPak());
    EXPECT_EQ(Mark(*villager), Npc::kQuestion03);
    EXPECT_EQ(villager->GetGreetingCountdown(), 2000);
    // Within the second nothing more happens; another character's talk has no dialog for him.
    villager->Converse(kPlayer);
    EXPECT_EQ(ear.begins, std::vector<std::uint32_t>{kPlayer});
    Frames(*villager, 1000);
    villager->Converse(kOther);
    EXPECT_EQ(ear.begins, (std::vector<std::uint32_t>{kPlayer, kOther}));
    EXPECT_EQ(ui.calls.size(), 2u);

    Frames(*villager, 1000);
    EXPECT_EQ(Mark(*villager), Npc::kQuestion01);
    EXPECT_TRUE(villager->IsDialogStateChanged());
}

TEST_F(Npcs, FadeSocialTargetsAndAttractionFollowTheirRules) {
    Npc* villager = Place("Records/Npcs/Villager.dbr", 3.0f);
    EXPECT_FLOAT_EQ(villager->GetDialogFade(), 1.0f);
    villager->SetCoords(At(std::sqrt(51.25f)));
    EXPECT_NEAR(villager->GetDialogFade(), 0.0f, 1e-5f);
    villager->SetCoords(At(20.0f));
    EXPECT_FLOAT_EQ(villager->GetDialogFade(), 0.0f);

    villager->AddSocialTarget(7);
    villager->AddSocialTarget(7);
    EXPECT_EQ(villager->GetSocialTargets().size(), 1u);
    EXPECT_TRUE(villager->WillYouChat(7));
    EXPECT_TRUE(villager->WillYouChat(8));
    EXPECT_EQ(villager->GetSocialTargets(), (std::vector<std::uint32_t>{7, 7, 8}));
    villager->OnConversationEnd(7);
    villager->OnDialogComplete();
    EXPECT_EQ(villager->GetSocialTarget(), 8u);
    EXPECT_TRUE(villager->IsChattingWithPlayer(8));

    for (int i = 0; i < 20; ++i) {
        const int time = villager->GetAttractionTime();
        EXPECT_GE(time, 3000);
        EXPECT_LE(time, 4000);
    }
    EXPECT_EQ(Place("Records/Npcs/Giver.dbr")->GetAttractionTime(), 0);
}

TEST_F(Npcs, AnItemIsGivenOnceForEachTimeItIsSetAndOnlyToItsPlayer) {
    Npc* giver = Place("Records/Npcs/Giver.dbr");
    EXPECT_FALSE(giver->IsOfInterest());
    const int before = ItemsInWorld();
    giver->SetDispenseItem(kPlayer, "Records/Items/Pebble.dbr");
    giver->OnPlayerInteract(kOther, false, false);
    EXPECT_EQ(ItemsInWorld(), before);
    giver->OnPlayerInteract(kPlayer, false, false);
    EXPECT_EQ(ItemsInWorld(), before + 1);
    giver->OnPlayerInteract(kPlayer, false, false);
    EXPECT_EQ(ItemsInWorld(), before + 1);
}

TEST_F(Npcs, TheDialogStateSurvivesASaveAndABadRecordChangesNothing) {
    Npc* villager = Place("Records/Npcs/Villager.dbr");
    villager->OnPlayerInteract(kPlayer, false, false);
    villager->SetDialogType(Npc::DialogType_Question);
    ASSERT_TRUE(villager->ShouldSaveState());
    BinaryWriter writer;
    villager->SaveState(writer);

    Npc* again = Place("Records/Npcs/Giver.dbr");
    BinaryReader reader(writer.GetBuffer());
    again->RestoreState(reader);
    EXPECT_TRUE(again->IsDialogStateChanged());
    EXPECT_EQ(again->GetDialogType(), Npc::DialogType_Question);
    EXPECT_EQ(again->GetGreetingCountdown(), 2000);

    Npc* untouched = Place("Records/Npcs/Giver.dbr");
    std::vector<std::uint8_t> cut = writer.GetBuffer();
    cut.resize(cut.size() - 9);
    BinaryReader shortReader(cut);
    untouched->RestoreState(shortReader);
    EXPECT_EQ(untouched->GetDialogType(), Npc::DialogType_Default);
    EXPECT_FALSE(untouched->IsDialogStateChanged());
}

TEST_F(Npcs, TheLootSnapshotCarriesTheSeedAndTheNineItemIds) {
    Npc* server = Place("Records/Npcs/Giver.dbr");
    LootStruct loot;
    loot.lootSeed = 0xBEEF;
    loot.lootLevel = 12;
    for (std::size_t k = 0; k < LootStruct::kAttachedItems; ++k)
        loot.attachedItemIds[k] = 0x9000 + static_cast<std::uint32_t>(k) * 3;
    test::CharacterTestAccess::SetLootStruct(*server, loot);
    SpawnPlayerPacket packet;
    NetPacketOutBuffer out(&packet);
    server->WriteReplicationData(out);
    ASSERT_EQ(packet.GetOutBufferSize(), 2 + 9 * 4);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(packet.GetOutBuffer());
    const std::vector<std::uint8_t> body(bytes, bytes + packet.GetOutBufferSize());

    auto readInto = [](Npc& npc, const std::vector<std::uint8_t>& data) {
        NetPacketHeader header;
        header.BeginInbound(static_cast<std::uint32_t>(data.size()));
        NetPacketInBuffer in(header, data.data(), static_cast<int>(data.size()));
        return npc.ReadReplicationData(in);
    };
    Npc* client = Place("Records/Npcs/Giver.dbr");
    const std::uint16_t ownLevel = client->GetLootStruct().lootLevel;
    ASSERT_TRUE(readInto(*client, body));
    client->ApplyReplicationData();
    LootStruct expected = loot;
    expected.lootLevel = ownLevel;  // the level stays the receiver's own
    EXPECT_EQ(client->GetLootStruct(), expected);

    // A refused body leaves the loot its own load drew.
    Npc* refused = Place("Records/Npcs/Giver.dbr");
    const LootStruct own = refused->GetLootStruct();
    EXPECT_FALSE(readInto(*refused, {body.begin(), body.end() - 1}));
    refused->ApplyReplicationData();
    EXPECT_EQ(refused->GetLootStruct(), own);
}

TEST_F(Npcs, APackTheInterfaceShowsIsClosedThereAndFreedOnceByTheNpc) {
    Npc* villager = Place("Records/Npcs/Villager.dbr");
    villager->Converse(kPlayer);
    ASSERT_NE(ui.shown, nullptr);
    villager->Dialog_ReplaceStatic("", nullptr, false);
    EXPECT_EQ(ui.calls.back(), "close");
    EXPECT_EQ(ui.shown, nullptr);
    EXPECT_FALSE(villager->HasDialog());
    EXPECT_EQ(Mark(*villager), "");

    villager->Dialog_ReplaceStatic("Records/Dialog/DefaultOnly.dbr", nullptr, true);
    EXPECT_TRUE(villager->GetDialogPak()->GetPrimaryDialog()->HasBeenPlayed());
    Frames(*villager, 1000);
    villager->Converse(kPlayer);
    ASSERT_EQ(ui.shown, villager->GetDialogPak());
    Singleton<ObjectManager>::Get().DestroyObject(villager);
    EXPECT_EQ(ui.calls.back(), "close");
    EXPECT_EQ(ui.shown, nullptr);

    // The stack hands its front to the spoken dialogs at the player's talk.
    Npc* other = Place("Records/Npcs/Villager.dbr");
    other->Dialog_Push("Records/Dialog/TwoLines.dbr");
    other->Dialog_Append("Records/Dialog/Missing.dbr");
    EXPECT_EQ(other->GetDialogStackSize(), 1u);
    other->Converse(kPlayer);
    EXPECT_EQ(other->GetDialogStackSize(), 0u);
    EXPECT_EQ(other->GetSpokenDialogCount(), 1u);
    other->OnDialogComplete();
    EXPECT_EQ(other->GetSpokenDialogCount(), 0u);
}

TEST_F(Npcs, TheReallocatorWearsItsMarkAndAnswersOnlyTheMainPlayer) {
    auto* reallocator = Place<NpcSkillReallocator>("Records/Npcs/Reallocator.dbr");
    EXPECT_EQ(Mark(*reallocator), NpcSkillReallocator::kMark);
    EXPECT_TRUE(reallocator->IsOfInterest());
    EXPECT_NE(dynamic_cast<MerchantDialogPak*>(reallocator->GetDialogPak()), nullptr);
    reallocator->OnPlayerInteract(kOther, false, false);
    EXPECT_TRUE(ui.calls.empty());
    reallocator->OnPlayerInteract(kPlayer, false, false);
    EXPECT_EQ(reallocator->GetDialogPak()->GetCurrentDialog(), nullptr);
    ui.reallocate = true;
    reallocator->OnPlayerInteract(kPlayer, false, false);
    const std::string call = "reallocate " + std::to_string(reallocator->GetObjectId());
    EXPECT_EQ(ui.calls, (std::vector<std::string>{call, call}));
    EXPECT_EQ(reallocator->GetDialogPak()->GetCurrentDialog()->GetTextTag(), "tagShort");
    std::vector<MinimapGameNugget> nuggets;
    reallocator->AppendDetailMapData(nuggets);
    ASSERT_EQ(nuggets.size(), 1u);
    EXPECT_EQ(nuggets[0].kind, 10);
}

TEST_F(Npcs, AMerchantKeepsAMarketClientSpeaksByModeAndAsksForItsMarket) {
    EventEar ear;
    auto* merchant = Place<NpcMerchant>("Records/Npcs/Merchant.dbr");
    const std::uint32_t id = merchant->GetObjectId();
    EXPECT_EQ(Mark(*merchant), "Records/Effects/ObjectEffects/ShieldGeneral01.dbr");
    EXPECT_EQ(merchant->GetMerchantType(), MarketMerchantType_Generic);
    EXPECT_EQ(merchant->GetMarketName(), "Records/Markets/Normal.dbr");
    EXPECT_NE(gGameEngine->GetClientServices()->FindMarketClient(id), nullptr);

    auto* pack = dynamic_cast<MerchantDialogPak*>(merchant->GetDialogPak());
    ASSERT_NE(pack, nullptr);
    Frames(*merchant, 100);
    EXPECT_EQ(pack->GetMode(), MerchantDialogPak::Long);
    merchant->OnPlayerInteract(kPlayer, false, false);
    EXPECT_EQ(pack->GetCurrentDialog()->GetTextTag().rfind("tagLong", 0), 0u);
    EXPECT_EQ(merchant->GetGreetingCountdown(), 3000);
    Frames(*merchant, 100);
    EXPECT_EQ(pack->GetMode(), MerchantDialogPak::Short);
    merchant->OnPlayerInteract(kOther, false, false);
    EXPECT_EQ(ear.markets,
              (std::vector<std::pair<std::uint32_t, std::uint32_t>>{{id, kPlayer}, {id, kOther}}));
    EXPECT_TRUE(ear.begins.empty());

    Singleton<ObjectManager>::Get().DestroyObject(merchant);
    EXPECT_EQ(gGameEngine->GetClientServices()->FindMarketClient(id), nullptr);
}

}  // namespace
}  // namespace GAME::test
