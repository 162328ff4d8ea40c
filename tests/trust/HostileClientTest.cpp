// A server and three clients over loopback; client 1 plays hostile and tries to act for others,
// mint value and crowd the honest players out. Nothing it asks may change the server or the
// other clients, and the honest players go on playing.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <utility>

#include "Engine/Engine.h"
#include "Engine/net/NetFaultLog.h"
#include "Engine/net/NetworkConnectionManager.h"
#include "Engine/net/PacketTypes.h"
#include "Engine/records/RecordDatabase.h"
#include "Engine/text/LocalizationManager.h"
#include "Game/core/net/GameEngineNetworkInterface.h"
#include "Game/core/net/GameEngineServicesModules.h"
#include "Game/core/net/commands/ItemCommands.h"
#include "Game/core/players/PartyManager.h"
#include "Game/core/players/PlayerManagerClient.h"
#include "Game/core/players/PlayerManagerServer.h"
#include "Game/core/players/PlayerReport.h"
#include "Game/items/Item.h"
#include "Game/items/inventory/Inventory.h"
#include "Game/items/oneshot/OneShot.h"
#include "Game/quests/QuestRepository.h"
#include "Game/quests/actions/RewardActions.h"
#include "Game/skills/Skill.h"
#include "Game/skills/manager/SkillManager.h"
#include "players/PlayersTestSupport.h"
#include "support/NetTestGame.h"
#include "support/QuestText.h"

namespace GAME::test {
namespace {

class HostileClient : public ::testing::Test {
protected:
    HostileClient() : game(3) {
        for (TestMachine* tm : game.Machines()) {
            MachineScope scope(tm->machine());
            LocalizationManager::Instance().SetText("tagInviteMessage", L"%s invites you");
            InitializeObjects();
            game.TakeRole(*tm);
        }
        for (int host = 0; host <= 3; ++host)
            Join(host);
    }
    ~HostileClient() override { game.OnEach(ShutdownObjects); }

    static std::uint32_t IdOf(int host) { return PlayerId(host, 0x300 + host); }

    // The server holds a copy of every player, as replication gives it.
    void Join(int host) { JoinPlayer(game, host, IdOf(host), 4, {}, true); }
    // Runs `f` on the hostile client with its network interface, then delivers.
    template <class F>
    void Hostile(F f) {
        ON_MACHINE(game.Client(0)) {
            f(*gGameEngine->GetNetworkInterface());
        }
        game.Pump();
    }
    std::uint32_t MoneyOnServer(int host) {
        std::uint32_t money = 0;
        ON_MACHINE(game.Server()) {
            money = Singleton<ObjectManager>::Get().GetObject<Player>(IdOf(host))->GetMoney();
        }
        return money;
    }
    PlayerNetBasicInfo ServerRecord(int host) {
        PlayerNetBasicInfo copy;
        ON_MACHINE(game.Server()) {
            const PlayerNetBasicInfo* record =
                gGameEngine->GetPlayerManagerServer()->FindRecord(IdOf(host));
            EXPECT_NE(record, nullptr);
            if (record)
                copy = *record;
        }
        return copy;
    }
    int ListedOnServer() {
        int count = 0;
        ON_MACHINE(game.Server()) {
            count = gGameEngine->GetPlayerManagerServer()->GetNumberOfPlayers();
        }
        return count;
    }
    // The honest clients still reach the server: a chat line from each arrives under its name.
    void ExpectHonestClientsPlay() {
        for (int host = 2; host <= 3; ++host)
            ON_MACHINE(game.Host(host)) {
                gGameEngine->GetNetworkInterface()->HandleChatMessage(L"me", L"still here", 0, {});
            }
        game.Pump();
        ON_MACHINE(game.Server()) {
            std::vector<std::wstring> senders;
            for (const auto& message : gGameEngine->GetChatMessages())
                if (message.text == L"still here")
                    senders.push_back(message.from);
            EXPECT_EQ(senders, (std::vector<std::wstring>{L"Player2", L"Player3"}));
        }
    }

    NetTestGame game;
};

TEST_F(HostileClient, CannotMintOrMoveGold) {
    ON_MACHINE(game.Server()) {
        Singleton<ObjectManager>::Get().GetObject<Player>(IdOf(2))->AddMoney(500);
    }
    Hostile([](GameEngineNetworkInterface& net) {
        net.GiveGoldToPlayer(IdOf(1), 2000000000);  // to itself
        net.GiveGoldToPlayer(IdOf(2), 100);         // to another
        net.GiveGoldToPlayer(IdOf(2), -100);        // from another
    });
    EXPECT_EQ(MoneyOnServer(1), 0u);
    EXPECT_EQ(MoneyOnServer(2), 500u);
    EXPECT_GE(game.Server().CountLog("refused GiveGoldToPlayer from host 1"), 3);

    // Paying out of its own purse is allowed, and never goes below zero.
    ON_MACHINE(game.Server()) {
        Singleton<ObjectManager>::Get().GetObject<Player>(IdOf(1))->AddMoney(40);
    }
    Hostile([](GameEngineNetworkInterface& net) { net.GiveGoldToPlayer(IdOf(1), -100); });
    EXPECT_EQ(MoneyOnServer(1), 0u);
    ExpectHonestClientsPlay();
}

TEST_F(HostileClient, ABonusIsTakenFromTheServersOwnRecordOrRefused) {
    Bonus made;
    made.gold = 999999;
    made.skillPoints = 50;
    made.attributePoints = 50;
    Hostile([&](GameEngineNetworkInterface& net) {
        made.sourceId = 0;  // names no object
        net.HandleBonusToServer(made, WorldVec3(), IdOf(1));
        made.sourceId = IdOf(2);  // a character
        net.HandleBonusToServer(made, WorldVec3(), IdOf(1));
        made.sourceId = 0xDEAD;  // gone
        net.HandleBonusToServer(made, WorldVec3(), IdOf(1));
        made.sourceId = 0;
        net.HandleBonusToServer(made, WorldVec3(), IdOf(2));  // for another player
    });
    // Four refusals: three lines in the window, the fourth counted.
    EXPECT_EQ(game.Server().CountLog("refused HandleBonusToServer from host 1"),
              NetFaultLog::kLinesPerWindow);
    ON_MACHINE(game.Server()) {
        EXPECT_EQ(NetFaultLog::Get().GetSuppressed(), 1u);
    }
    for (int host = 1; host <= 3; ++host)
        ON_MACHINE(game.Host(host)) {
            const Player* player = Singleton<ObjectManager>::Get().GetObject<Player>(IdOf(host));
            EXPECT_EQ(player->GetMoney(), 0u) << "host " << host;
        }

    // A pickup the server knows: its record's values count, not the reported ones.
    ON_MACHINE(game.Server()) {
        ASSERT_NE(Singleton<ObjectManager>::Get().CreateObjectFromFile<Entity>(
                      "Records/Players/Potion.dbr", 0x4444),
                  nullptr);
    }
    Hostile([&](GameEngineNetworkInterface& net) {
        made.sourceId = 0x4444;
        net.HandleBonusToServer(made, WorldVec3(), IdOf(1));
    });
    // Replayed, the same pickup pays nothing more.
    Hostile([&](GameEngineNetworkInterface& net) {
        net.HandleBonusToServer(made, WorldVec3(), IdOf(1));
    });
    ON_MACHINE(game.Client(0)) {
        EXPECT_EQ(Singleton<ObjectManager>::Get().GetObject<Player>(IdOf(1))->GetMoney(), 40u);
    }
    ExpectHonestClientsPlay();
}

TEST_F(HostileClient, AGoldPilePaysWhatTheServersCopyHoldsToItsTakerOnce) {
    // The server drops a pile of 25; the record travels and every machine has the pile.
    constexpr std::uint32_t kPile = 0x5151;
    ON_MACHINE(game.Server()) {
        ItemReplicaInfo pile;
        pile.objectId = kPile;
        pile.baseName = "Records/Loot/GoldPile.dbr";
        pile.relicLevel = 25;
        gGameEngine->CreateItem(WorldCoords(), pile);
    }
    game.Pump();
    for (int host = 0; host <= 3; ++host)
        ON_MACHINE(game.Host(host)) {
            const auto* pile = Singleton<ObjectManager>::Get().GetObject<OneShot_Gold>(kPile);
            ASSERT_NE(pile, nullptr) << "host " << host;
            EXPECT_EQ(pile->GetGoldValue(), 25u);
        }
    Bonus claim;
    claim.gold = 999999;
    claim.sourceId = kPile;
    // Before its player used the pile up, a claim on it is refused.
    Hostile([&](GameEngineNetworkInterface& net) {
        net.HandleBonusToServer(claim, WorldVec3(), IdOf(1));
    });
    EXPECT_EQ(MoneyOnServer(1), 0u);
    // The server's copy of player 1 takes the pile and uses it up (as the client's commands do).
    ON_MACHINE(game.Server()) {
        auto* player = Singleton<ObjectManager>::Get().GetObject<Player>(IdOf(1));
        auto* pile = Singleton<ObjectManager>::Get().GetObject<OneShot_Gold>(kPile);
        ASSERT_TRUE(player && pile);
        player->GiveItemToCharacter(*pile);
        player->UseInventoryItem(kPile, true);
    }
    // Another player's claim on it is refused; the taker's pays 25, not the claimed amount.
    ON_MACHINE(game.Client(1)) {
        gGameEngine->GetNetworkInterface()->HandleBonusToServer(claim, WorldVec3(), IdOf(2));
    }
    game.Pump();
    Hostile([&](GameEngineNetworkInterface& net) {
        net.HandleBonusToServer(claim, WorldVec3(), IdOf(1));
    });
    Hostile([&](GameEngineNetworkInterface& net) {
        net.HandleBonusToServer(claim, WorldVec3(), IdOf(1));
    });
    ON_MACHINE(game.Client(0)) {
        EXPECT_EQ(Singleton<ObjectManager>::Get().GetObject<Player>(IdOf(1))->GetMoney(), 25u);
    }
    ON_MACHINE(game.Client(1)) {
        EXPECT_EQ(Singleton<ObjectManager>::Get().GetObject<Player>(IdOf(2))->GetMoney(), 0u);
    }
    ExpectHonestClientsPlay();
}

TEST_F(HostileClient, ReportsAreKeptWithinBounds) {
    PlayerNetHeartbeatInfo report;
    ON_MACHINE(game.Client(0)) {
        Singleton<ObjectManager>::Get().GetObject<Player>(IdOf(1))->GetPlayerNetHeartbeatInfo(
            report);
    }
    const PlayerNetBasicInfo before = ServerRecord(1);
    report.level = std::numeric_limits<int>::min();
    report.life = std::numeric_limits<float>::quiet_NaN();
    report.maxMana = -5.0f;
    report.classTag.assign(1 << 20, 'x');
    report.statusSkills.assign(1000, "skill");
    report.position.local.x = std::numeric_limits<float>::infinity();
    Hostile([&](GameEngineNetworkInterface& net) { net.CtoS_SinglePlayerHeartbeat(report); });
    const PlayerNetBasicInfo after = ServerRecord(1);
    EXPECT_EQ(after.level, 0);
    EXPECT_EQ(after.life, before.life);
    EXPECT_EQ(after.maxMana, before.maxMana);
    EXPECT_LE(after.classTag.size(), kMaxReportedTagLength);
    EXPECT_LE(after.statusSkills.size(), kMaxReportedStatusSkills);
    EXPECT_TRUE(IsFinite(after.position));
    EXPECT_EQ(game.Server().CountLog("capped out-of-range values of CtoS_SinglePlayerHeartbeat"),
              1);

    // Another player's heartbeat is refused outright.
    PlayerNetHeartbeatInfo other = report;
    other.playerId = IdOf(2);
    other.level = 99;
    Hostile([&](GameEngineNetworkInterface& net) { net.CtoS_SinglePlayerHeartbeat(other); });
    EXPECT_EQ(ServerRecord(2).level, 4);
    ExpectHonestClientsPlay();
}

TEST_F(HostileClient, OneMachineAddsOnePlayerAndCannotJoinAPartyUninvited) {
    Hostile([](GameEngineNetworkInterface& net) {
        for (std::uint32_t serial = 1; serial <= 600; ++serial) {
            PlayerNetBasicInfo extra;
            extra.playerId = PlayerId(1, 0x1000 + serial);
            extra.playerName = L"Extra";
            net.CtoS_AddNewPlayer(extra);
        }
    });
    EXPECT_EQ(ListedOnServer(), 4);

    // A newcomer naming a party in his own record stands alone.
    ON_MACHINE(game.Server()) {
        gGameEngine->GetPlayerManagerServer()->HandleRemovePlayer(IdOf(1));
    }
    Hostile([](GameEngineNetworkInterface& net) {
        PlayerNetBasicInfo self;
        self.playerId = IdOf(1);
        self.playerName = L"Player1";
        self.partyId = static_cast<int>(IdOf(2));
        net.CtoS_AddNewPlayer(self);
    });
    EXPECT_EQ(ServerRecord(1).partyId, 0);
    ExpectHonestClientsPlay();
}

TEST_F(HostileClient, InvitationsAreBoundedAndComeOnlyFromListedPlayers) {
    Hostile([](GameEngineNetworkInterface& net) {
        for (std::uint32_t serial = 1; serial <= 2000; ++serial)
            net.InvitePlayerToParty(IdOf(2), static_cast<int>(PlayerId(1, 0x5000 + serial)));
        // Its own player may invite, and repeating replaces rather than piles up.
        for (int i = 0; i < 50; ++i)
            net.InvitePlayerToParty(IdOf(2), static_cast<int>(IdOf(1)));
    });
    ON_MACHINE(game.Client(1)) {
        PartyManager* parties = gGameEngine->GetPartyManager();
        EXPECT_TRUE(parties->IsInvitationOpen());
        EXPECT_EQ(parties->GetCurrentInviter(), IdOf(1));
        EXPECT_LE(parties->GetNumPendingInvitations(), 1u);
    }
    // The refusals are rate-limited: a few lines, the rest counted.
    EXPECT_LE(game.Server().CountLog("refused InvitePlayerToParty from host 1"),
              NetFaultLog::kLinesPerWindow);
    ExpectHonestClientsPlay();
}

TEST_F(HostileClient, AReplayedPartyJoinIsRefusedOnceTheInvitationWasUsed) {
    ON_MACHINE(game.Client(1)) {
        gGameEngine->InvitePlayerToParty(IdOf(1), static_cast<int>(IdOf(2)));
    }
    game.Pump();
    const int party = static_cast<int>(IdOf(2));
    Hostile([&](GameEngineNetworkInterface& net) { net.AddPlayerToParty(IdOf(1), party); });
    EXPECT_EQ(ServerRecord(1).partyId, party);
    Hostile([](GameEngineNetworkInterface& net) { net.AddPlayerToParty(IdOf(1), 0); });
    EXPECT_EQ(ServerRecord(1).partyId, 0);
    // The same join again: the invitation was answered, so it is refused.
    Hostile([&](GameEngineNetworkInterface& net) { net.AddPlayerToParty(IdOf(1), party); });
    EXPECT_EQ(ServerRecord(1).partyId, 0);
    EXPECT_EQ(game.Server().CountLog("refused AddPlayerToParty from host 1"), 1);
    ExpectHonestClientsPlay();
}

TEST_F(HostileClient, ChatAndNoticesCarryTheSendersOwnName) {
    Hostile([](GameEngineNetworkInterface& net) {
        net.HandleChatMessage(L"Player2", L"I am Player2", 0, {});
        net.DisplayWMessageRemote(IdOf(3), true, L"the server is shutting down");
        net.DisplayMessageRemote(IdOf(3), PlayerId(2, 0x999), true, "tagMessageGameJoin");
    });
    ON_MACHINE(game.Server()) {
        ASSERT_EQ(gGameEngine->GetChatMessages().size(), 1u);
        EXPECT_EQ(gGameEngine->GetChatMessages()[0].from, L"Player1");
    }
    ON_MACHINE(game.Client(2)) {
        const auto& notices = gGameEngine->GetUINotifications();
        bool signedNotice = false;
        for (const auto& notice : notices)
            for (const auto& text : notice.texts)
                signedNotice = signedNotice || text == L"Player1: the server is shutting down";
        EXPECT_TRUE(signedNotice);
    }
    EXPECT_EQ(game.Server().CountLog("refused DisplayMessageRemote from host 1"), 1);
    ExpectHonestClientsPlay();
}

// A client says only that its own player began a conversation, or asks for the quest state; kills,
// condition sets and words in another player's name are the server's to say.
TEST_F(HostileClient, QuestMessagesSpeakOnlyForTheSendersPlayerAndAreRationed) {
    const std::uint32_t me = IdOf(1);
    const std::uint32_t other = IdOf(2);
    Hostile([&](GameEngineNetworkInterface& net) {
        net.HandleQuestMessagePacket(me, false, {1, 0, me, me, 77, 1}, 0);       // a kill
        net.HandleQuestMessagePacket(me, true, {0x00000000}, 0);                 // a set
        net.HandleQuestMessagePacket(other, false, {3, 0, other, other}, 0);     // not mine
        net.HandleQuestMessagePacket(me, false, {3, 0, other, other}, 0);        // forged words
        net.HandleQuestMessagePacket(me, false, {5, 0xFFFFFFFF, me, 1, 99}, 0);  // a spawn list
    });
    // Refusals are logged a few at a time and counted beyond that.
    auto refusals = [&] {
        std::uint64_t count = 0;
        ON_MACHINE(game.Server()) {
            count = static_cast<std::uint64_t>(
                        game.Server().CountLog("refused HandleQuestMessagePacket")) +
                    NetFaultLog::Get().GetSuppressed();
            EXPECT_TRUE(QuestRepository::Get()->GetSatisfiedConditions().empty());
        }
        return count;
    };
    EXPECT_EQ(refusals(), 5u);
    for (int i = 0; i < 20; ++i)
        Hostile([&](GameEngineNetworkInterface& net) {
            net.HandleQuestMessagePacket(me, false, {3, 0, me, me}, 0);
        });
    EXPECT_EQ(refusals(), 9u);  // sixteen a second get through
    ExpectHonestClientsPlay();
}

// A quest of a client's player gives an item through the server: only to the sender's own
// player, only what a quest gives, rolled and numbered by the server, a few at a time.
TEST_F(HostileClient, QuestItemsComeOnlyForTheSendersPlayerFromTheServersQuests) {
    const std::string quest =
        OneActionQuest(R"({"name": "Action_GiveItem"}, {"item[0]": "Records/Items/Pebble.dbr"})");
    ON_MACHINE(game.Server()) {
        ASSERT_NE(QuestRepository::Get()->LoadQuest("Quests/Q.quest", quest), nullptr);
    }
    auto ask = [&](std::uint32_t player, const char* record, std::uint32_t offeredId) {
        ItemReplicaInfo item;
        item.objectId = offeredId;
        item.baseName = record;
        item.seed = 7;
        Hostile([&](GameEngineNetworkInterface& net) {
            net.CreateItem(player, WorldCoords(), item, nullptr);
        });
    };
    auto pebbles = [&](TestMachine& tm, int host) {
        std::vector<std::uint32_t> found;
        ON_MACHINE(tm) {
            auto* player = Singleton<ObjectManager>::Get().GetObject<Player>(IdOf(host));
            for (std::uint32_t id : player->GetInventory().GetInventoryItems())
                if (auto* item = Singleton<ObjectManager>::Get().GetObject<Item>(id))
                    if (item->GetObjectName() == "Records/Items/Pebble.dbr")
                        found.push_back(id);
        }
        return found;
    };
    ask(IdOf(2), "Records/Items/Pebble.dbr", 0);   // for another player
    ask(IdOf(1), "Records/Items/Charm.dbr", 0);    // no quest gives it
    ask(IdOf(1), "Records/Items/Pebble.dbr", 77);  // its own: made, under the server's id
    for (int host : {0, 2})
        EXPECT_TRUE(pebbles(host == 0 ? game.Server() : game.Client(1), 2).empty());
    EXPECT_EQ(game.Server().CountLog("refused CreateItem from host 1"), 1);
    EXPECT_EQ(game.Server().CountLog("refused CreateItem (no quest gives it) from host 1"), 1);
    const std::vector<std::uint32_t> made = pebbles(game.Server(), 1);
    ASSERT_EQ(made.size(), 1u);
    EXPECT_NE(made[0], 77u);
    EXPECT_EQ(pebbles(game.Client(0), 1), made);  // the same item on the asking machine

    for (int i = 0; i < 5; ++i)
        ask(IdOf(1), "Records/Items/Pebble.dbr", 0);
    EXPECT_EQ(pebbles(game.Server(), 1).size(), 4u);  // four in a while
    EXPECT_GE(game.Server().CountLog("refused CreateItem (too many) from host 1"), 1);
    ExpectHonestClientsPlay();
}

// A quest's gold, experience and points reach a player only as the server grants them: what a
// reward action of the server's own quests gives, once per action and player, on every machine.
TEST_F(HostileClient, QuestRewardsAreTheServersToGrantOncePerPlayer) {
    const std::string quest =
        OneActionQuest(R"({"name": "Action_GiveMoney"}, {"moneyAmount[0]": 40}, {"region": 0})");
    for (int host : {0, 1, 2})
        ON_MACHINE(game.Host(host)) {
            ASSERT_NE(QuestRepository::Get()->LoadQuest("Quests/Q.quest", quest), nullptr);
        }
    auto claim = [&](std::uint32_t player, std::uint32_t gold, float life) {
        Bonus made;
        made.gold = gold;
        made.lifePoints = life;
        Hostile([&](GameEngineNetworkInterface& net) {
            net.HandleBonusToServer(made, WorldVec3(), player);
        });
    };
    auto money = [&](int host, int of) {
        std::uint32_t amount = 0;
        ON_MACHINE(game.Host(host)) {
            amount = Singleton<ObjectManager>::Get().GetObject<Player>(IdOf(of))->GetMoney();
        }
        return amount;
    };
    claim(IdOf(1), 4000, 0.0f);  // no quest gives it
    claim(IdOf(1), 40, 500.0f);  // more than the quest gives
    claim(IdOf(2), 40, 0.0f);    // for another player
    EXPECT_EQ(MoneyOnServer(1) + MoneyOnServer(2), 0u);
    claim(IdOf(1), 40, 0.0f);  // what the quest gives: granted, alike here and there
    claim(IdOf(1), 40, 0.0f);  // once
    EXPECT_EQ(MoneyOnServer(1), 40u);
    EXPECT_EQ(money(1, 1), 40u);
    EXPECT_EQ(game.Server().CountLog("refused HandleBonusToServer from host 1"),
              NetFaultLog::kLinesPerWindow);

    // An honest client's own quest claims it through the server; its copy grants nothing alone.
    ON_MACHINE(game.Host(2)) {
        TriggerAction* give = FindQuestAction(
            [](TriggerAction& action) { return dynamic_cast<RewardAction*>(&action) != nullptr; });
        ASSERT_NE(give, nullptr);
        give->Fire(0, false);
        EXPECT_EQ(Singleton<ObjectManager>::Get().GetObject<Player>(IdOf(2))->GetMoney(), 0u);
    }
    game.Pump();
    EXPECT_EQ(MoneyOnServer(2), 40u);
    EXPECT_EQ(money(2, 2), 40u);
    ExpectHonestClientsPlay();
}

// A named skill's levels from a quest reach the player as the server's grant of that many
// points, once, which the player's own machine then spends on the skill; its machine and the
// server end with the skill raised and no points left.
TEST_F(HostileClient, AQuestsSkillLevelsArriveAsPointsSpentOnThatSkill) {
    const std::string quest = OneActionQuest(
        R"({"name": "Action_GiveSkillPoints"}, {"skill": "records/test/QUESTTRICK.dbr"},)"
        R"( {"skillAmount[0]": 2})");
    for (int host : {0, 1})
        ON_MACHINE(game.Host(host)) {
            auto& records = Singleton<RecordDatabase>::Get();
            ASSERT_TRUE(records.AddRecordText("Records/Test/QuestTrick.dbr",
                                              R"({"Class": "Skill", "skillMaxLevel": 8})"));
            ASSERT_TRUE(records.AddRecordText(
                "Records/Test/Trickster.dbr",
                R"({"skillName1": "Records/Test/QuestTrick.dbr", "skillLevel1": 1})"));
            ASSERT_NE(QuestRepository::Get()->LoadQuest("Quests/Q.quest", quest), nullptr);
            auto* player = Singleton<ObjectManager>::Get().GetObject<Player>(IdOf(1));
            player->GetSkillManager().LoadSkills("Records/Test/Trickster.dbr", 1);
            if (host == 1)
                player->GetSkillManager().SetAsControllingManager();
        }
    const auto trick = [&](int host) {
        std::pair<std::uint32_t, std::uint32_t> levelAndPoints;
        ON_MACHINE(game.Host(host)) {
            auto* player = Singleton<ObjectManager>::Get().GetObject<Player>(IdOf(1));
            SkillManager& skills = player->GetSkillManager();
            const auto* skill = Singleton<ObjectManager>::Get().GetObject<Skill>(
                skills.FindSkillId("Records/Test/QuestTrick.dbr"));
            levelAndPoints = {skill ? skill->GetSkillLevel() : 0, player->GetSkillPoints()};
        }
        return levelAndPoints;
    };
    ASSERT_EQ(trick(0), std::make_pair(1u, 0u));
    for (int firing = 0; firing < 2; ++firing) {
        ON_MACHINE(game.Host(1)) {
            TriggerAction* give = FindQuestAction([](TriggerAction& action) {
                return dynamic_cast<Action_GiveSkillPoints*>(&action) != nullptr;
            });
            ASSERT_NE(give, nullptr);
            give->Fire(0, false);
        }
        for (int pump = 0; pump < 3; ++pump)
            game.Pump();
        // Granted once: the second firing finds the reward taken.
        for (int host : {0, 1})
            EXPECT_EQ(trick(host), std::make_pair(3u, 0u)) << "host " << host << " " << firing;
    }
    EXPECT_EQ(game.Server().CountLog("refused HandleBonusToServer from host 1"), 1);
    ExpectHonestClientsPlay();
}

TEST_F(HostileClient, MarketRequestsNamingNoMerchantMakeNoMarket) {
    Hostile([](GameEngineNetworkInterface& net) {
        net.C2S_MarketUpdateRequest(IdOf(2));  // a player
        net.C2S_MarketPurchaseRequest(IdOf(3), 1, 2, 3, IdOf(1));
        net.C2S_MarketSellBack(0xBEEF, 1, 2, 3, IdOf(1));  // nothing at all
    });
    ON_MACHINE(game.Server()) {
        auto* markets =
            static_cast<GameEngineServerServicesModule*>(gGameEngine->GetServerServices());
        EXPECT_EQ(markets->GetMarketCount(), 0u);
    }
    EXPECT_EQ(game.Server().CountLog("refused C2S_MarketUpdateRequest from host 1"), 1);
    EXPECT_EQ(game.Server().CountLog("refused C2S_MarketPurchaseRequest from host 1"), 1);
    EXPECT_EQ(game.Server().CountLog("no merchant 48879"), 1);
    ExpectHonestClientsPlay();
}

TEST_F(HostileClient, AFloodingHostIsDroppedAndTheOthersPlayOn) {
    ON_MACHINE(game.Client(0)) {
        PlayerNetHeartbeatInfo beat;
        Singleton<ObjectManager>::Get().GetObject<Player>(IdOf(1))->GetPlayerNetHeartbeatInfo(beat);
        for (int i = 0; i <= NetworkConnectionManager::kFramesPerWindow + 10; ++i)
            gGameEngine->GetNetworkInterface()->CtoS_SinglePlayerHeartbeat(beat);
    }
    game.Pump();
    ON_MACHINE(game.Server()) {
        EXPECT_TRUE(gEngine->GetNetworkConnectionManager()->WasDroppedForFlood(1));
    }
    EXPECT_EQ(game.Server().CountLog("Net: dropped host 1"), 1);
    // Its player left the game; the honest ones are still listed.
    ON_MACHINE(game.Server()) {
        EXPECT_EQ(gGameEngine->GetPlayerManagerServer()->FindRecord(IdOf(1)), nullptr);
    }
    EXPECT_EQ(ListedOnServer(), 3);
    // A replayed request after the drop is not run.
    Hostile([](GameEngineNetworkInterface& net) { net.HandleChatMessage(L"x", L"late", 0, {}); });
    ON_MACHINE(game.Server()) {
        for (const auto& message : gGameEngine->GetChatMessages())
            EXPECT_NE(message.text, L"late");
    }
    ExpectHonestClientsPlay();
}

}  // namespace
}  // namespace GAME::test

namespace GAME::test {
namespace {

// A client puts on only what its own player carries, one item per location, and takes off
// only what it wears; the server and the honest clients see the refused requests change
// nothing.
TEST_F(HostileClient, EquipsOnlyWhatItsPlayerCarriesAndOnlyAFreeLocation) {
    constexpr std::uint32_t kOwnSword = 0x6161, kOwnAxe = 0x6162, kOthersShield = 0x6163;
    const struct {
        std::uint32_t id;
        const char* record;
        int carrier;
    } items[] = {{kOwnSword, "Records/Test/HostileSword.dbr", 1},
                 {kOwnAxe, "Records/Test/HostileAxe.dbr", 1},
                 {kOthersShield, "Records/Test/HostileShield.dbr", 2}};
    for (int host = 0; host <= 3; ++host)
        ON_MACHINE(game.Host(host)) {
            RecordDatabase& records = Singleton<RecordDatabase>::Get();
            records.AddRecordText("Records/Test/HostileSword.dbr",
                                  R"({"Class": "WeaponMelee_Sword"})");
            records.AddRecordText("Records/Test/HostileAxe.dbr", R"({"Class": "WeaponMelee_Axe"})");
            records.AddRecordText("Records/Test/HostileShield.dbr",
                                  R"({"Class": "WeaponArmor_Shield"})");
            for (const auto& item : items) {
                ItemReplicaInfo record;
                record.objectId = item.id;
                record.baseName = item.record;
                ASSERT_NE(Item::CreateItem(record), nullptr);
                // Each machine holds its own player; the server holds them all.
                if (auto* carrier =
                        Singleton<ObjectManager>::Get().GetObject<Player>(IdOf(item.carrier)))
                    carrier->GetInventory().AddItemToInventory(item.id, false);
            }
        }
    auto send = [&](std::unique_ptr<ActorConfigCommand> command) {
        ON_MACHINE(game.Client(0)) {
            Singleton<ObjectManager>::Get().GetObject<Player>(IdOf(1))->Enqueue(std::move(command));
        }
        game.Pump();
    };
    auto wornOnServer = [&](int host, std::uint32_t location) {
        std::uint32_t id = 0;
        ON_MACHINE(game.Server()) {
            id = Singleton<ObjectManager>::Get()
                     .GetObject<Player>(IdOf(host))
                     ->GetEquipManager()
                     .GetItemId(location);
        }
        return id;
    };
    send(std::make_unique<AttachItemConfigCmd>(IdOf(1), kOthersShield, EquipLocation_LeftHand));
    send(std::make_unique<AttachItemConfigCmd>(IdOf(1), kOwnAxe, 42));
    EXPECT_EQ(wornOnServer(1, EquipLocation_LeftHand), 0u);
    send(std::make_unique<AttachItemConfigCmd>(IdOf(1), kOwnSword, EquipLocation_RightHand));
    send(std::make_unique<AttachItemConfigCmd>(IdOf(1), kOwnAxe, EquipLocation_RightHand));
    send(std::make_unique<DetachItemConfigCmd>(IdOf(1), kOthersShield));
    send(std::make_unique<AttachItemConfigCmd>(IdOf(2), kOthersShield, EquipLocation_LeftHand));
    EXPECT_EQ(wornOnServer(1, EquipLocation_RightHand), kOwnSword);
    EXPECT_EQ(wornOnServer(2, EquipLocation_LeftHand), 0u);
    ON_MACHINE(game.Server()) {
        const auto* hostile = Singleton<ObjectManager>::Get().GetObject<Player>(IdOf(1));
        EXPECT_EQ(hostile->GetEquipManager().GetAttachedItems().size(), 1u);
        EXPECT_TRUE(hostile->GetInventory().IsItemInInventory(kOwnAxe));
    }
    for (const char* refusal : {"the character does not carry it", "no such equip location",
                                "the location is taken", "the character does not wear it"})
        EXPECT_EQ(game.Server().CountLog(refusal), 1) << refusal;
    // Taking off what it wears is its own affair.
    send(std::make_unique<DetachItemConfigCmd>(IdOf(1), kOwnSword));
    EXPECT_EQ(wornOnServer(1, EquipLocation_RightHand), 0u);
    ExpectHonestClientsPlay();
}

TEST_F(HostileClient, UsesDropsAndSpendsOnlyWhatItsPlayerHolds) {
    constexpr std::uint32_t kOwnPotion = 0x6171, kOwnRing = 0x6172, kOthersPotion = 0x6173;
    const struct {
        std::uint32_t id;
        const char* record;
        int carrier;
    } items[] = {{kOwnPotion, "Records/Test/HostilePotion.dbr", 1},
                 {kOwnRing, "Records/Test/HostileRing.dbr", 1},
                 {kOthersPotion, "Records/Test/HostilePotion.dbr", 2}};
    for (int host = 0; host <= 3; ++host)
        ON_MACHINE(game.Host(host)) {
            RecordDatabase& records = Singleton<RecordDatabase>::Get();
            records.AddRecordText("Records/Test/HostilePotion.dbr",
                                  R"({"Class": "OneShot_PotionHealth", "bonusLifePoints": 5})");
            records.AddRecordText("Records/Test/HostileRing.dbr",
                                  R"({"Class": "ArmorJewelry_Ring"})");
            for (const auto& item : items) {
                ItemReplicaInfo record;
                record.objectId = item.id;
                record.baseName = item.record;
                ASSERT_NE(Item::CreateItem(record), nullptr);
                if (auto* carrier =
                        Singleton<ObjectManager>::Get().GetObject<Player>(IdOf(item.carrier)))
                    carrier->GetInventory().AddItemToInventory(item.id, false);
            }
        }
    auto send = [&](std::unique_ptr<ActorConfigCommand> command) {
        ON_MACHINE(game.Client(0)) {
            Singleton<ObjectManager>::Get().GetObject<Player>(IdOf(1))->Enqueue(std::move(command));
        }
        game.Pump();
    };
    auto onServer = [&](std::uint32_t id) {
        bool exists = false;
        ON_MACHINE(game.Server()) {
            exists = Singleton<ObjectManager>::Get().GetObject<Item>(id) != nullptr;
        }
        return exists;
    };
    send(std::make_unique<UseItemConfigCmd>(IdOf(1), kOthersPotion, true));
    send(std::make_unique<DropItemConfigCmd>(IdOf(1), kOthersPotion, 1.0f, 1.0f));
    send(std::make_unique<DropItemFromEquipLocationConfigCmd>(IdOf(1), kOthersPotion,
                                                              EquipLocation_Finger, true));
    send(std::make_unique<UseRelicConfigCmd>(IdOf(1), kOthersPotion, kOwnRing));
    send(std::make_unique<UseRelicConfigCmd>(IdOf(1), kOwnPotion, kOthersPotion));
    ON_MACHINE(game.Server()) {
        const auto* other = Singleton<ObjectManager>::Get().GetObject<Player>(IdOf(2));
        EXPECT_TRUE(other->GetInventory().IsItemInInventory(kOthersPotion));
        EXPECT_FALSE(Singleton<ObjectManager>::Get().GetObject<Item>(kOthersPotion)->IsInWorld());
    }
    EXPECT_TRUE(onServer(kOthersPotion));
    for (const char* refusal : {"the character does not carry it", "the character does not hold it",
                                "the character does not hold the target item"})
        EXPECT_GE(game.Server().CountLog(refusal), 1) << refusal;
    // What it holds is its own to drink.
    send(std::make_unique<UseItemConfigCmd>(IdOf(1), kOwnPotion, true));
    EXPECT_FALSE(onServer(kOwnPotion));
    EXPECT_TRUE(onServer(kOwnRing));
    ExpectHonestClientsPlay();
}

}  // namespace
}  // namespace GAME::test
