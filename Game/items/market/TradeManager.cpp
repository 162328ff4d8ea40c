#include "Game/items/market/TradeManager.h"

#include "Engine/Engine.h"
#include "Engine/media/sound/SoundPak.h"
#include "Engine/object/ObjectManager.h"
#include "Game/ai/controllers/CharacterController.h"
#include "Game/ai/controllers/player/ControllerPlayer.h"
#include "Game/characters/Player.h"
#include "Game/core/GameConstants.h"
#include "Game/core/GameEngine.h"
#include "Game/core/net/GameEngineNetworkInterface.h"
#include "Game/core/util/ServerObjectIds.h"
#include "Game/items/Item.h"
#include "Game/items/ItemReplicaInfo.h"
#include "Game/items/inventory/Inventory.h"
#include "Game/items/inventory/PlayerInventoryCtrl.h"

namespace GAME {

namespace {

constexpr const char* kInviteSoundRecord = "Records/Sounds/Soundpak/UI/PartyInviteMessagePak.dbr";

std::uint32_t Me() {
    return gGameEngine ? gGameEngine->GetPlayerId() : 0;
}

GameEngineNetworkInterface* Net() {
    return gGameEngine ? gGameEngine->GetNetworkInterface() : nullptr;
}

ControllerPlayer* MyController() {
    Player* player = gGameEngine ? gGameEngine->GetMainPlayer() : nullptr;
    return player ? FindController<ControllerPlayer>(*player) : nullptr;
}

}  // namespace

TradeManager::TradeManager() = default;

SoundPak* TradeManager::GetInviteSound() {
    // Made for the first question: only this machine plays it, under an id of the presentation
    // band, so neither the shared counter nor the marks the level's people show at its start
    // take other ids.
    if (!inviteSound)
        inviteSound.Reset(Singleton<ObjectManager>::Get().CreateObjectFromFile<SoundPak>(
            kInviteSoundRecord, CreateServerObjectId(ServerIdBand::Presentation), true));
    return inviteSound.Get();
}

TradeManager::~TradeManager() = default;

void TradeManager::Update() {
    if (pendingInvitation == 0 || !gGameEngine)
        return;
    DialogManager& dialogs = gGameEngine->GetDialogManager();
    if (dialogs.GetNumResponsesFor(kDialogPartyTrade) == 0)
        return;
    const DialogManager::YesNoResponse response = dialogs.GetResponseFor(kDialogPartyTrade);
    const std::uint32_t inviter = pendingInvitation;
    if (response.answer == 1) {
        tradePartner = inviter;
        HandleInitiateTradeOutbound(inviter, false);
        tradeActive = true;
    } else {
        gGameEngine->DisplayMessageRemote(inviter, Me(), false, "tagTradeError02");
        HandleCancelTradeOutbound(inviter);
    }
    pendingInvitation = 0;
}

void TradeManager::HandleInitiateTradeOutbound(std::uint32_t playerId, bool request) {
    requesting = request;
    if (request)
        requestedPartner = playerId;
    if (GameEngineNetworkInterface* net = Net())
        net->TradeInitiate(Me(), playerId);
}

void TradeManager::HandleCancelTradeOutbound(std::uint32_t playerId) {
    ReturnItems();
    if (playerId != 0)
        if (GameEngineNetworkInterface* net = Net())
            net->TradeCancel(Me(), playerId);
    tradeActive = false;
    CleanUp();
}

void TradeManager::HandleFinalizeTradeOutbound() {
    if (!tradeActive)
        return;
    if (GameEngineNetworkInterface* net = Net())
        net->TradeFinalize(Me(), tradePartner);
    myState.finalized = true;
    if (hisState.finalized)
        FinalizeTradeLocally();
}

bool TradeManager::HandleAddItemOutbound(const Vec2&, std::uint32_t itemId) {
    ClearFinalized();
    Item* item = itemId ? Singleton<ObjectManager>::Get().GetObject<Item>(itemId) : nullptr;
    const Player* me = gGameEngine ? gGameEngine->GetMainPlayer() : nullptr;
    if (!item || !tradeActive || !me || !me->GetInventory().IsItemInInventory(itemId) ||
        myState.sack.GetInventory().count(itemId))
        return false;
    // The item itself lies in the window: nothing is made, so a refusal leaves nothing behind.
    const Vec2 point = myState.sack.AddItemAndReturnPoint(*item);
    if (point.x < 0.0f)
        return false;
    ItemReplicaInfo record;
    item->GetItemReplicaInfo(record);
    if (GameEngineNetworkInterface* net = Net())
        net->TradeAddItem(Me(), tradePartner, myState.sack.PixelsToGrid(point), record);
    return true;
}

bool TradeManager::HandleRemoveItemOutbound(std::uint32_t itemId) {
    if (!tradeActive)
        return false;
    ClearFinalized();
    myState.sack.RemoveItem(itemId);
    if (GameEngineNetworkInterface* net = Net())
        net->TradeRemoveItem(Me(), tradePartner, itemId);
    return true;
}

void TradeManager::HandleSetGoldAmountOutbound(std::uint32_t amount) {
    if (!tradeActive)
        return;
    ClearFinalized();
    myState.goldAmount = amount;
    if (GameEngineNetworkInterface* net = Net())
        net->TradeSetGoldAmount(Me(), tradePartner, amount);
}

void TradeManager::HandleInitiateTradeInbound(std::uint32_t from) {
    if (requesting) {
        if (from == requestedPartner) {
            // Both asked each other: the window opens without a question.
            tradePartner = from;
            tradeActive = true;
            requesting = false;
            return;
        }
    } else if (pendingInvitation == 0 && tradePartner == 0) {
        if (gGameEngine)
            gGameEngine->GetDialogManager().AddDialog(kDialogTypeQuestion, false, kDialogPartyTrade,
                                                      "tagTradeError03", true, from, true);
        if (SoundPak* sound = GetInviteSound())
            sound->Play(WorldVec3());
        pendingInvitation = from;
        return;
    } else if (from == tradePartner) {
        return;
    }
    if (gGameEngine)
        gGameEngine->DisplayMessageRemote(from, Me(), false, "tagTradeError01");
    if (GameEngineNetworkInterface* net = Net())
        net->TradeCancel(Me(), from);
}

void TradeManager::HandleCancelTradeInbound(std::uint32_t from) {
    if (from != tradePartner && !requesting)
        return;
    ReturnItems();
    tradeActive = false;
    CleanUp();
}

void TradeManager::HandleFinalizeTradeInbound(std::uint32_t from) {
    if (!tradeActive || from != tradePartner)
        return;
    hisState.finalized = true;
    if (myState.finalized)
        FinalizeTradeLocally();
}

void TradeManager::HandleAddItemInbound(std::uint32_t from, const Vec2& gridPosition,
                                        const ItemReplicaInfo& record) {
    if (!tradeActive || from != tradePartner)
        return;
    ClearFinalized();
    // The partner's own item, which every machine has: shown, never made here.
    Item* item = Singleton<ObjectManager>::Get().GetObject<Item>(record.objectId);
    if (!item) {
        gEngine->Log(1, "TradeManager: the item %u offered by player %u is not on this machine",
                     record.objectId, from);
        return;
    }
    hisState.sack.AddItem(hisState.sack.GridToPixels(gridPosition), *item, true);
}

void TradeManager::HandleRemoveItemInbound(std::uint32_t from, std::uint32_t itemId) {
    if (!tradeActive || from != tradePartner)
        return;
    ClearFinalized();
    hisState.sack.RemoveItem(itemId);
}

void TradeManager::HandleSetGoldAmountInbound(std::uint32_t from, std::uint32_t amount) {
    if (!tradeActive || from != tradePartner)
        return;
    ClearFinalized();
    hisState.goldAmount = amount;
}

void TradeManager::ReturnItems() {
    ControllerPlayer* controller = MyController();
    const Player* me = gGameEngine ? gGameEngine->GetMainPlayer() : nullptr;
    for (const auto& [id, rect] : myState.sack.GetInventory()) {
        // What the exchange took is gone already; what stays is my player's own.
        if (!controller || !me || !me->GetInventory().IsItemInInventory(id))
            continue;
        if (!controller->GetInventoryCtrl().AddItem(id, true))
            controller->SendDropItemRandom(id);
    }
    myState.sack.RemoveAllItems();
}

void TradeManager::ShutDown() {
    // Both windows hold their owners' own items (never copies): nothing here to destroy.
    CleanUp();
}

void TradeManager::CleanUp() {
    tradePartner = 0;
    pendingInvitation = 0;
    tradeActive = false;
    requesting = false;
    for (TradeState* state : {&myState, &hisState}) {
        state->finalized = false;
        state->goldAmount = 0;
        state->sack.RemoveAllItems();
    }
}

void TradeManager::FinalizeTradeLocally() {
    if (!tradeActive)
        return;
    // The exchange itself is the server's (TradeBook): its word takes my offered items and
    // gold and brings the partner's to every machine. Here the window closes, and what of my
    // offer is still my player's goes back to the bag (the exchange takes it from there).
    HandleCancelTradeOutbound(tradePartner);
}

void TradeManager::ClearFinalized() {
    myState.finalized = false;
    hisState.finalized = false;
}

}  // namespace GAME
