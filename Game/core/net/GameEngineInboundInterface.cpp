#include "Game/core/net/GameEngineInboundInterface.h"

#include "Engine/Engine.h"
#include "Engine/net/NetFaultLog.h"
#include "Engine/net/transport/NetTransport.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/text/LocalizationManager.h"
#include "Game/characters/CharacterLookup.h"
#include "Game/characters/Player.h"
#include "Game/core/GameConstants.h"
#include "Game/core/GameEngine.h"
#include "Game/core/ObjectLookup.h"
#include "Game/core/net/GameEngineNetworkInterfacePackets.h"
#include "Game/core/net/GameEngineServicesModules.h"
#include "Game/core/players/PartyManager.h"
#include "Game/core/players/PlayerManagerClient.h"
#include "Game/core/players/PlayerManagerServer.h"
#include "Game/core/players/PlayerNetInfo.h"
#include "Game/core/players/PlayerReport.h"
#include "Game/core/util/ServerObjectIds.h"
#include "Game/items/ItemNetworkCreation.h"
#include "Game/items/ItemSeed.h"
#include "Game/items/market/MarketClient.h"
#include "Game/items/market/MarketServer.h"
#include "Game/items/market/MarketTypes.h"
#include "Game/quests/QuestNetMsg.h"
#include "Game/quests/QuestRepository.h"
#include "Game/quests/actions/QuestRewardGrant.h"
#include "Game/quests/actions/RewardActions.h"
#include "Game/world/fixeditems/FixedItem.h"

namespace GAME {

namespace {

// This machine's market client of the merchant, or null.
MarketClient* FindMarketClient(std::uint32_t merchant) {
    GameEngineClientServicesModule* client =
        gGameEngine ? gGameEngine->GetClientServices() : nullptr;
    return client ? client->FindMarketClient(merchant) : nullptr;
}

// The server market of the merchant, made by the first request that names it; null on a client.
MarketServer* GetMarketServer(std::uint32_t merchant) {
    GameEngineServerServicesModuleBase* server =
        gGameEngine ? gGameEngine->GetServerServices() : nullptr;
    return server ? server->GetMarketServer(merchant) : nullptr;
}

bool IsFiniteCoords(const WorldCoords& where) {
    for (const Vec3* v :
         {&where.coords.xAxis, &where.coords.yAxis, &where.coords.zAxis, &where.coords.origin})
        if (!IsFinite(v->x) || !IsFinite(v->y) || !IsFinite(v->z))
            return false;
    return true;
}

}  // namespace

bool GameEngineInboundInterface::FromRemoteClient() const {
    return gEngine->IsServer() && sourceHost > 0;
}

bool GameEngineInboundInterface::SourceOwnsPlayer(std::uint32_t player) const {
    return HostOfPlayer(player) == sourceHost;
}

bool GameEngineInboundInterface::Refuse(const char* operation, std::uint32_t object) const {
    if (object != 0)
        NetFaultLog::Get().Report(1, sourceHost, NetFault::Refused, sourceType,
                                  "GameEngineInboundInterface: refused %s from host %d (object %u)",
                                  operation, sourceHost, object);
    else
        NetFaultLog::Get().Report(1, sourceHost, NetFault::Refused, sourceType,
                                  "GameEngineInboundInterface: refused %s from host %d", operation,
                                  sourceHost);
    return true;
}

bool GameEngineInboundInterface::RefusedUnlessMerchant(std::uint32_t market,
                                                       const char* operation) const {
    // Only a merchant keeps a market: a client's request makes none for any other object.
    if (!FromRemoteClient() || FindObjectOfClass(market, "NpcMerchant"))
        return false;
    if (!Singleton<ObjectManager>::Get().GetObject(market)) {
        NetFaultLog::Get().Report(
            1, sourceHost, NetFault::Refused, sourceType,
            "GameEngineInboundInterface: no merchant %u for a market request from host %d", market,
            sourceHost);
        return true;
    }
    return Refuse(operation, market);
}

void GameEngineInboundInterface::Capped(const char* operation, std::uint32_t player) const {
    NetFaultLog::Get().Report(
        1, sourceHost, NetFault::Refused, sourceType,
        "GameEngineInboundInterface: capped out-of-range values of %s from host %d (player %u)",
        operation, sourceHost, player);
}

bool GameEngineInboundInterface::VouchForSender(RemoteMessagePacket& packet) const {
    // The text is the game's own (a tag); the player it names must be one the server lists.
    PlayerManagerServer* server = gGameEngine ? gGameEngine->GetPlayerManagerServer() : nullptr;
    return !FromRemoteClient() || packet.optionalInsert == 0 || !server ||
           server->FindRecord(packet.optionalInsert) != nullptr;
}

bool GameEngineInboundInterface::VouchForSender(RemoteWMessagePacket& packet) const {
    // Text that goes on to another client's machine is signed with its sender's name.
    const int host = HostOfPlayer(packet.receiver);
    if (!FromRemoteClient() || host == sourceHost || host == kServerHostId)
        return true;
    std::wstring sender;
    if (!SenderName(sender))
        return false;
    packet.text = CapText((sender.empty() ? std::wstring(L"?") : sender) + L": " + packet.text);
    return true;
}

bool GameEngineInboundInterface::SourceOwnsListedPlayer(std::uint32_t player) const {
    PlayerManagerServer* server = gGameEngine ? gGameEngine->GetPlayerManagerServer() : nullptr;
    std::uint32_t party = 0;
    return SourceOwnsPlayer(player) && server && server->GetPlayerParty(player, party);
}

bool GameEngineInboundInterface::RefusedFromClient(const char* operation) const {
    return FromRemoteClient() && Refuse(operation);
}

bool GameEngineInboundInterface::RefusedUnlessOwner(std::uint32_t player,
                                                    const char* operation) const {
    return FromRemoteClient() && !SourceOwnsPlayer(player) && Refuse(operation, player);
}

void GameEngineInboundInterface::GiveGoldToPlayer(std::uint32_t player, int amount) {
    // A client pays out of its own player's purse only. Gold reaches a client's player only
    // from the server's own word (a trade its TradeBook completed, a sale): from a client, none.
    if (FromRemoteClient() && (!SourceOwnsListedPlayer(player) || amount > 0) &&
        Refuse("GiveGoldToPlayer", player))
        return;
    Player* target = player ? Singleton<ObjectManager>::Get().GetObject<Player>(player) : nullptr;
    if (!target)
        return;
    // Negated in unsigned arithmetic: the most negative amount has no positive int.
    if (amount < 1)
        target->SubtractMoney(0u - static_cast<std::uint32_t>(amount));
    else
        target->AddMoney(static_cast<std::uint32_t>(amount));
}

void GameEngineInboundInterface::CreateItem(std::uint32_t character, const WorldCoords& where,
                                            const ItemReplicaInfo& item, std::wstring* nameOut) {
    if (FromRemoteClient()) {
        CreateQuestItemForClient(character, item);
        return;
    }
    CreateItemFromRequest(character, where, item, nameOut);
}

void GameEngineInboundInterface::CreateQuestItemForClient(std::uint32_t character,
                                                          const ItemReplicaInfo& item) {
    // Every machine runs its own player's quests, so a client asks for what its quests give:
    // only for its own listed player, only a record a quest of this world gives, rolled here and
    // made under an id of the server's band, and only so many in a while.
    if (!gGameEngine || !SourceOwnsListedPlayer(character)) {
        Refuse("CreateItem", character);
        return;
    }
    if (!IsQuestGivenItem(item.baseName)) {
        Refuse("CreateItem (no quest gives it)", character);
        return;
    }
    if (!TakeQuestItemBudget()) {
        Refuse("CreateItem (too many)", character);
        return;
    }
    const Character* receiver = Singleton<ObjectManager>::Get().GetObject<Character>(character);
    const std::uint32_t id = CreateServerObjectId(ServerIdBand::Drops);
    // The roll has a generator of its own: the root generator is the game's, in step everywhere.
    RandomUniform random;
    SeedItemGenerator(random, id);
    ItemReplicaInfo rolled;
    if (!receiver || id == 0 || !RollQuestItem(item.baseName, random, rolled))
        return;
    rolled.objectId = id;
    gGameEngine->CreateItemForCharacter(character, receiver->GetCoords(), rolled, nullptr);
}

void GameEngineInboundInterface::CreateEntity(const WorldCoords& where, const std::string& record,
                                              std::uint32_t objectId) {
    // Objects of any record appear only at the server's word.
    if (RefusedFromClient("CreateEntity"))
        return;
    if (record.empty())
        return;
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    if (objectId == 0)
        objectId = objects.CreateObjectID();
    if (objectId != 0 && objects.GetObject(objectId)) {
        gEngine->Log(1, "GameEngineInboundInterface: CreateEntity: object %u already exists",
                     objectId);
        return;
    }
    Entity* entity = objects.CreateObjectFromFile<Entity>(record, objectId);
    if (!entity) {
        gEngine->Log(1, "GameEngineInboundInterface: CreateEntity: %s is not an entity",
                     record.c_str());
        return;
    }
    entity->SetCoords(where);
}

void GameEngineInboundInterface::CreateFixedItemTeleport(const WorldCoords& where,
                                                         std::uint32_t owner, std::uint32_t portal,
                                                         const std::string& sectorTag,
                                                         std::uint32_t) {
    if (!gGameEngine || RefusedUnlessOwner(owner, "CreateFixedItemTeleport"))
        return;
    if (!FromRemoteClient()) {
        gGameEngine->CreateFixedItemTeleportNetHook(where, owner, portal, sectorTag);
        return;
    }
    // A client's portal stands where its player can be, under an id the server chooses; an id it
    // offers must name nothing here.
    const bool idInUse = portal != 0 && (Singleton<ObjectManager>::Get().GetObject(portal) ||
                                         gGameEngine->ValidateArtifactPortal(portal));
    if ((idInUse || !where.region || !IsFiniteCoords(where)) &&
        Refuse("CreateFixedItemTeleport", portal))
        return;
    const std::uint32_t chosen = CreateServerObjectId(ServerIdBand::Portals);
    if (chosen != 0)
        gGameEngine->CreateFixedItemTeleport(where, owner, chosen,
                                             sectorTag.substr(0, kMaxReportedTagLength), 0);
}

void GameEngineInboundInterface::DestroyFixedItemTeleport(std::uint32_t portal) {
    if (!gGameEngine)
        return;
    if (!FromRemoteClient()) {
        gGameEngine->DestroyFixedItemTeleportNetHook(portal);
        return;
    }
    // A client may close only its own portals; the server closes them for every machine.
    bool known = false;
    for (const GameEngine::TeleportInfo& info : gGameEngine->GetTeleportInfoList()) {
        if (info.portal != portal && info.owner != portal)
            continue;
        if (!SourceOwnsPlayer(info.owner) && Refuse("DestroyFixedItemTeleport", portal))
            return;
        known = true;
    }
    if (known)
        gGameEngine->DestroyFixedItemTeleport(portal);
}

void GameEngineInboundInterface::StoC_AllPlayersHeartbeat(
    const std::vector<PlayerNetHeartbeatInfo>& heartbeats) {
    if (RefusedFromClient("StoC_AllPlayersHeartbeat"))
        return;
    if (PlayerManagerClient* client = gGameEngine ? gGameEngine->GetPlayerManagerClient() : nullptr)
        client->HandlePlayerHeartbeatInbound(heartbeats);
}

void GameEngineInboundInterface::CtoS_SinglePlayerHeartbeat(
    const PlayerNetHeartbeatInfo& heartbeat) {
    if (RefusedUnlessOwner(heartbeat.playerId, "CtoS_SinglePlayerHeartbeat"))
        return;
    PlayerManagerServer* server = gGameEngine ? gGameEngine->GetPlayerManagerServer() : nullptr;
    if (!server)
        return;
    if (!FromRemoteClient()) {
        server->HandlePlayerHeartbeatInbound(heartbeat);
        return;
    }
    // Parties change only through party requests; a client's heartbeat must not move its player
    // into a party that the server refused, nor undo a change still on its way to that client.
    if (server->HandleClientHeartbeat(heartbeat))
        Capped("CtoS_SinglePlayerHeartbeat", heartbeat.playerId);
}

void GameEngineInboundInterface::StoC_AllPlayersUpdate(
    const std::vector<PlayerNetBasicInfo>& players) {
    if (RefusedFromClient("StoC_AllPlayersUpdate"))
        return;
    if (PlayerManagerClient* client = gGameEngine ? gGameEngine->GetPlayerManagerClient() : nullptr)
        client->HandlePlayerUpdate(players);
}

void GameEngineInboundInterface::CtoS_AddNewPlayer(const PlayerNetBasicInfo& player) {
    if (RefusedUnlessOwner(player.playerId, "CtoS_AddNewPlayer"))
        return;
    PlayerManagerServer* server = gGameEngine ? gGameEngine->GetPlayerManagerServer() : nullptr;
    if (!server)
        return;
    if (!FromRemoteClient()) {
        server->HandleNewPlayer(player);
        return;
    }
    // One player per machine; a second one from the same host would crowd the list.
    for (std::uint32_t listed : server->GetPlayers())
        if (HostOfPlayer(listed) == sourceHost && listed != player.playerId &&
            Refuse("CtoS_AddNewPlayer", player.playerId))
            return;
    PlayerNetBasicInfo checked = player;
    // A newcomer stands alone, or in a party that invited him.
    PartyManager* parties = gGameEngine->GetPartyManager();
    const auto party = static_cast<std::uint32_t>(checked.partyId);
    if (party != 0 && party != checked.playerId &&
        !(parties && parties->WasInvited(checked.playerId, party)))
        checked.partyId = 0;
    if (CheckPlayerReport(checked, PlayerVitals()))
        Capped("CtoS_AddNewPlayer", player.playerId);
    server->HandleNewPlayer(checked);
}

void GameEngineInboundInterface::HandleBonusToClient(const Bonus& bonus, const std::uint32_t&) {
    if (RefusedFromClient("HandleBonusToClient"))
        return;
    if (PlayerManagerClient* client = gGameEngine ? gGameEngine->GetPlayerManagerClient() : nullptr)
        client->HandleBonus(bonus);
}

void GameEngineInboundInterface::HandleBonusToServer(const Bonus& bonus, const WorldVec3& where,
                                                     const std::uint32_t& activePlayer) {
    if (RefusedUnlessOwner(activePlayer, "HandleBonusToServer"))
        return;
    if (!gGameEngine)
        return;
    if (!FromRemoteClient()) {
        gGameEngine->HandleBonusToServerInbound(bonus, where, activePlayer);
        return;
    }
    // A bonus naming no object is a quest's reward: one the server's own quests give, once.
    if (bonus.sourceId == 0) {
        Bonus grant;
        if ((!SourceOwnsListedPlayer(activePlayer) || !IsFinite(where) ||
             !ClaimQuestReward(activePlayer, bonus, grant)) &&
            Refuse("HandleBonusToServer", activePlayer))
            return;
        if (PlayerManagerServer* server = gGameEngine->GetPlayerManagerServer())
            server->GrantBonus(grant, activePlayer);
        return;
    }
    // A gold pile pays what the server's copy of it held, to the player who used it up here.
    if (const auto owed = owedGold.find(bonus.sourceId); owed != owedGold.end()) {
        if ((owed->second.player != activePlayer || !SourceOwnsListedPlayer(activePlayer) ||
             !IsFinite(where)) &&
            Refuse("HandleBonusToServer", bonus.sourceId))
            return;
        Bonus pile;
        pile.gold = owed->second.amount;
        pile.id = bonus.id;
        pile.sourceId = bonus.sourceId;
        owedGold.erase(owed);
        claimedBonusSources.insert(pile.sourceId);
        gGameEngine->HandleBonusToServerInbound(pile, where, activePlayer);
        return;
    }
    // A client's bonus names the object it came from; the values are the server's copy of that
    // object's record, never the amounts the client reports. Characters give bonuses only
    // through the server's own death handling, gold piles only once used up by their taker.
    Object* source =
        bonus.sourceId ? Singleton<ObjectManager>::Get().GetObject(bonus.sourceId) : nullptr;
    // Each source pays once: a replayed bonus finds it claimed (object ids are never reused).
    if ((!source || FindObjectOfClass(bonus.sourceId, "Character") ||
         FindObjectOfClass(bonus.sourceId, "OneShot_Gold") ||
         !SourceOwnsListedPlayer(activePlayer) || !IsFinite(where) ||
         claimedBonusSources.contains(bonus.sourceId)) &&
        Refuse("HandleBonusToServer", bonus.sourceId))
        return;
    claimedBonusSources.insert(bonus.sourceId);
    Bonus own;
    own.Load(Singleton<ObjectManager>::Get().GetLoadTable(source->GetObjectName()));
    own.id = bonus.id;
    own.sourceId = bonus.sourceId;
    gGameEngine->HandleBonusToServerInbound(own, where, activePlayer);
}

void GameEngineInboundInterface::HandleQuestMessagePacket(std::uint32_t sender, bool conditionSet,
                                                          const std::vector<unsigned int>& words,
                                                          std::uint32_t receiver) {
    if (!gGameEngine)
        return;
    if (FromRemoteClient()) {
        // A client speaks for its own player and asks only what a client asks: it started a
        // conversation, or it wants the server's quest state. The rest is the server's to say.
        const bool clientKind =
            words.size() >= 3 && words[2] == sender &&
            (words[0] == static_cast<std::uint32_t>(QuestNetMsgType::ConversationStarted) ||
             words[0] == static_cast<std::uint32_t>(QuestNetMsgType::ClientDataRequest));
        if (conditionSet || !clientKind || !SourceOwnsPlayer(sender)) {
            Refuse("HandleQuestMessagePacket", sender);
            return;
        }
        if (!TakeQuestMessageBudget()) {
            Refuse("HandleQuestMessagePacket (too many)", sender);
            return;
        }
        // The other machines run their players' quests too: a conversation reaches them all.
        if (words[0] == static_cast<std::uint32_t>(QuestNetMsgType::ConversationStarted))
            gGameEngine->GetNetworkInterface()->HandleQuestMessagePacket(sender, false, words,
                                                                         receiver);
    }
    if (receiver != 0 && receiver != gGameEngine->GetPlayerId())
        return;
    QuestRepository& quests = *QuestRepository::Get();
    if (conditionSet)
        quests.RecvConditionSet(words);
    else if (!quests.RecvNetMsg(words))
        NetFaultLog::Get().Report(1, sourceHost, NetFault::Refused, sourceType,
                                  "GameEngineInboundInterface: a quest message of %zu words from "
                                  "host %d is none",
                                  words.size(), sourceHost);
}

bool GameEngineInboundInterface::TakeQuestItemBudget() {
    // At most kQuestItemsPerWindow from one host in kQuestItemWindowMs of game time: a quest
    // gives a few items at a step's end, never a stream.
    constexpr int kQuestItemsPerWindow = 4;
    constexpr std::uint64_t kQuestItemWindowMs = 10000;
    const std::uint64_t window = gEngine->GetGameTime() / kQuestItemWindowMs;
    QuestBudget& budget = questItemBudgets[sourceHost];
    if (budget.second != window) {
        budget.second = window;
        budget.used = 0;
    }
    return budget.used++ < kQuestItemsPerWindow;
}

bool GameEngineInboundInterface::TakeQuestMessageBudget() {
    // At most kQuestMessagesPerSecond from one host in a second of game time.
    constexpr int kQuestMessagesPerSecond = 16;
    const std::uint64_t second = gEngine->GetGameTime() / 1000;
    QuestBudget& budget = questBudgets[sourceHost];
    if (budget.second != second) {
        budget.second = second;
        budget.used = 0;
    }
    return ++budget.used <= kQuestMessagesPerSecond;
}

bool GameEngineInboundInterface::MayChangeParty(std::uint32_t player, int party) const {
    if (!FromRemoteClient())
        return true;
    PlayerManagerServer* server = gGameEngine ? gGameEngine->GetPlayerManagerServer() : nullptr;
    PartyManager* parties = gGameEngine ? gGameEngine->GetPartyManager() : nullptr;
    if (!server || !parties || player == 0)
        return false;
    const auto target = static_cast<std::uint32_t>(party);
    std::uint32_t current = 0;
    const bool listed = server->GetPlayerParty(player, current);
    if (SourceOwnsPlayer(player))
        // Leaving, standing alone, or taking up an invitation that this server passed on.
        return target == 0 || target == player || target == current ||
               parties->WasInvited(player, target);
    if (!listed)
        return false;
    if (target == current)
        return true;
    // The leader kicks a member, or dissolves the party.
    if (target == 0)
        return current != 0 && SourceOwnsPlayer(current);
    // The inviter leads the party that one of the source's players joined on his invitation.
    if (target == player)
        for (const PlayerNetBasicInfo& record : server->GetPlayerRecords())
            if (record.playerId != player && SourceOwnsPlayer(record.playerId) &&
                static_cast<std::uint32_t>(record.partyId) == player)
                return true;
    return false;
}

bool GameEngineInboundInterface::MayInvite(int party) const {
    // The inviter is the party's leader: only that player's machine may invite for it, and only
    // a player the server lists, so one machine cannot invite under a thousand names.
    return !FromRemoteClient() || SourceOwnsListedPlayer(static_cast<std::uint32_t>(party));
}

void GameEngineInboundInterface::AddPlayerToParty(std::uint32_t player, int party) {
    if (!MayChangeParty(player, party) && Refuse("AddPlayerToParty"))
        return;
    if (!gGameEngine)
        return;
    PartyManager* parties = gGameEngine->GetPartyManager();
    // Joining one party answers every other invitation too.
    if (parties && gEngine->IsServer() && party != 0 && static_cast<std::uint32_t>(party) != player)
        parties->ForgetInvitationsTo(player);
    // Asked before the cache takes the new party, which would hide the party he led.
    const bool leavesHisParty = parties && parties->LocalLeaderLeaves(player, party);
    if (PlayerManagerClient* client = gGameEngine->GetPlayerManagerClient())
        client->AddPlayerToParty(player, party);
    if (PlayerManagerServer* server = gGameEngine->GetPlayerManagerServer())
        server->AddPlayerToParty(player, party);
    if (leavesHisParty)
        parties->ReassignRemainingParty();
}

void GameEngineInboundInterface::InvitePlayerToParty(std::uint32_t player, int party) {
    if (!MayInvite(party) && Refuse("InvitePlayerToParty"))
        return;
    PartyManager* parties = gGameEngine ? gGameEngine->GetPartyManager() : nullptr;
    if (!parties)
        return;
    if (gEngine->IsServer())
        parties->NoteInvitation(player, static_cast<std::uint32_t>(party));
    parties->HandlePartyInvite(player, party);
}

void GameEngineInboundInterface::GameBalanceUpdate(int level) {
    if (RefusedFromClient("GameBalanceUpdate"))
        return;
    if (gGameEngine)
        gGameEngine->SetGameBalanceLevel(level);
}

void GameEngineInboundInterface::S2C_MarketUpdate(std::uint32_t market,
                                                  const std::string& marketName, unsigned int level,
                                                  unsigned int seed,
                                                  const std::vector<unsigned int>& soldIndices) {
    if (RefusedFromClient("S2C_MarketUpdate"))
        return;
    if (MarketClient* client = FindMarketClient(market))
        client->S2C_MarketUpdate(marketName, level, seed, soldIndices);
}

void GameEngineInboundInterface::S2C_MarketPurchaseConfirmation(std::uint32_t market,
                                                                unsigned int itemIndex,
                                                                std::uint32_t buyer) {
    if (RefusedFromClient("S2C_MarketPurchaseConfirmation"))
        return;
    if (MarketClient* client = FindMarketClient(market))
        client->S2C_MarketPurchaseConfirmation(itemIndex, buyer);
}

void GameEngineInboundInterface::S2C_MarketPurchaseDenied(std::uint32_t market,
                                                          unsigned int itemIndex,
                                                          std::uint32_t buyer,
                                                          MarketItemStatus status) {
    if (RefusedFromClient("S2C_MarketPurchaseDenied"))
        return;
    if (MarketClient* client = FindMarketClient(market))
        client->S2C_MarketPurchaseDenied(itemIndex, buyer, status);
}

void GameEngineInboundInterface::S2C_MarketItemStatusUpdate(std::uint32_t market,
                                                            unsigned int itemIndex,
                                                            MarketItemStatus status) {
    if (RefusedFromClient("S2C_MarketItemStatusUpdate"))
        return;
    if (MarketClient* client = FindMarketClient(market))
        client->S2C_MarketItemStatusUpdate(itemIndex, status);
}

void GameEngineInboundInterface::C2S_MarketPurchaseRequest(std::uint32_t market, unsigned int level,
                                                           unsigned int seed,
                                                           unsigned int itemIndex,
                                                           std::uint32_t buyer) {
    // The market decides the rest: the stock, the price, the gold and the reach.
    if (RefusedUnlessOwner(buyer, "C2S_MarketPurchaseRequest"))
        return;
    if (RefusedUnlessMerchant(market, "C2S_MarketPurchaseRequest"))
        return;
    if (MarketServer* server = GetMarketServer(market))
        server->C2S_MarketPurchaseRequest(level, seed, itemIndex, buyer);
}

void GameEngineInboundInterface::C2S_MarketSellBack(std::uint32_t market, unsigned int level,
                                                    unsigned int seed, unsigned int itemIndex,
                                                    std::uint32_t buyer) {
    if (RefusedUnlessOwner(buyer, "C2S_MarketSellBack"))
        return;
    if (RefusedUnlessMerchant(market, "C2S_MarketSellBack"))
        return;
    // A sale names the item sold; a bare stock index would free a stock item with nothing given.
    if (!IsMarketItemIndex(itemIndex) && FromRemoteClient() && Refuse("C2S_MarketSellBack", buyer))
        return;
    if (MarketServer* server = GetMarketServer(market))
        server->C2S_MarketSellBack(level, seed, itemIndex, buyer);
}

void GameEngineInboundInterface::C2S_MarketUpdateRequest(std::uint32_t market) {
    if (RefusedUnlessMerchant(market, "C2S_MarketUpdateRequest"))
        return;
    if (MarketServer* server = GetMarketServer(market))
        server->C2S_MarketUpdateRequest();
}

void GameEngineInboundInterface::DisplayMessageRemote(std::uint32_t, std::uint32_t insertPlayer,
                                                      bool asBubble, const std::string& tag) {
    if (!gGameEngine)
        return;
    const LocalizationManager& texts = LocalizationManager::Instance();
    std::wstring text;
    if (insertPlayer != 0) {
        PlayerManagerClient* client = gGameEngine->GetPlayerManagerClient();
        text = texts.Format(tag, client ? client->GetPlayerName(insertPlayer) : std::wstring());
    } else {
        text = texts.Format("SimpleStringFormat", tag);
    }
    if (asBubble)
        gGameEngine->AddUINotification(kUINotificationBubble, text, false);
    else
        gGameEngine->GetDialogManager().AddDialog(kDialogTypeMessage, false,
                                                  kDialogPartyRemoteMessage, text, true, true);
}

void GameEngineInboundInterface::DisplayWMessageRemote(std::uint32_t, bool asBubble,
                                                       const std::wstring& text) {
    if (!gGameEngine)
        return;
    if (asBubble)
        gGameEngine->AddUINotification(kUINotificationBubble, text, false);
    else
        gGameEngine->GetDialogManager().AddDialog(kDialogTypeMessage, false,
                                                  kDialogPartyRemoteMessage, text, true, true);
}

void GameEngineInboundInterface::HandleChatMessage(const std::wstring& from,
                                                   const std::wstring& text, unsigned char channel,
                                                   std::vector<unsigned int>) {
    if (!gGameEngine)
        return;
    if (!FromRemoteClient()) {
        gGameEngine->AddChatMessage(from, text, channel);
        return;
    }
    // The sender is the host's own player, whatever name the packet holds; a host without a
    // player yet may not take the name of somebody else's.
    std::wstring sender = from;
    if (!SenderName(sender) && Refuse("HandleChatMessage"))
        return;
    gGameEngine->AddChatMessage(sender, CapText(text), channel);
}

bool GameEngineInboundInterface::SenderName(std::wstring& name) const {
    PlayerManagerServer* server = gGameEngine ? gGameEngine->GetPlayerManagerServer() : nullptr;
    if (!server)
        return true;
    for (const PlayerNetBasicInfo& record : server->GetPlayerRecords())
        if (SourceOwnsPlayer(record.playerId)) {
            name = record.playerName;
            return true;
        }
    for (const PlayerNetBasicInfo& record : server->GetPlayerRecords())
        if (record.playerName == name)
            return false;
    name = CapText(name, kMaxPlayerNameLength);
    return true;
}

void GameEngineInboundInterface::QuestCommandMove(std::uint32_t character, std::uint32_t target,
                                                  WorldVec3 position, bool allowInterruptions) {
    if (RefusedFromClient("QuestCommandMove"))
        return;
    if (Character* found = FindCharacter(character))
        found->QuestCommandMove(target, position, allowInterruptions);
}

void GameEngineInboundInterface::QuestCommandWalk(std::uint32_t character, std::uint32_t target,
                                                  WorldVec3 position, bool allowInterruptions) {
    if (RefusedFromClient("QuestCommandWalk"))
        return;
    if (Character* found = FindCharacter(character))
        found->QuestCommandWalk(target, position, allowInterruptions);
}

void GameEngineInboundInterface::QuestCommandPlayAnimation(std::uint32_t character,
                                                           unsigned int animation, bool looping,
                                                           bool allowInterruptions) {
    if (RefusedFromClient("QuestCommandPlayAnimation"))
        return;
    if (Character* found = FindCharacter(character))
        found->QuestCommandPlayAnimation(static_cast<AnimationSet_Type>(animation), looping,
                                         allowInterruptions);
}

void GameEngineInboundInterface::QuestCommandUseSkill(std::uint32_t character, std::string& skill,
                                                      std::uint32_t target,
                                                      bool allowInterruptions) {
    if (RefusedFromClient("QuestCommandUseSkill"))
        return;
    if (Character* found = FindCharacter(character))
        found->QuestCommandUseSkill(skill, target, allowInterruptions);
}

void GameEngineInboundInterface::QuestCommandLockFixedItem(std::uint32_t fixedItem, bool locked) {
    if (RefusedFromClient("QuestCommandLockFixedItem"))
        return;
    if (auto* item = Singleton<ObjectManager>::Get().GetObject<FixedItem>(fixedItem))
        item->SetLock(locked);
}

}  // namespace GAME
