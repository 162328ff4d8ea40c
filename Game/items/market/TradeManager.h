#pragma once
// The trade window of this machine's player: its own offer ("my" state), the partner's ("his"
// state), the handshake that opens the window and the steps both sides send each other. It
// speaks only for the local player and never moves items or gold itself: on a server the
// `TradeBook` holds both offers (the original items) and makes the exchange, whole or not at
// all; this manager then only closes its window and gives back to the bag what is still here.
#include <cstdint>

#include "Engine/world/Math.h"
#include "Game/items/OwnedObject.h"
#include "Game/items/market/TradeBook.h"
#include "Game/items/market/TradeState.h"

namespace GAME {

class ControllerPlayer;
class SoundPak;
struct ItemReplicaInfo;

class TradeManager {
public:
    TradeManager();
    virtual ~TradeManager();
    TradeManager(const TradeManager&) = delete;
    TradeManager& operator=(const TradeManager&) = delete;

    // Takes the answer to a waiting invitation.
    void Update();

    bool AbleToTrade() const { return !tradeActive && pendingInvitation == 0; }
    bool GetIsTradeActive() const { return tradeActive; }
    TradeState& GetMyTradeState() { return myState; }
    TradeState& GetHisTradeState() { return hisState; }
    const TradeState& GetMyTradeState() const { return myState; }
    const TradeState& GetHisTradeState() const { return hisState; }
    std::uint32_t GetTradePartner() const { return tradePartner; }
    std::uint32_t GetPendingInvitation() const { return pendingInvitation; }
    bool IsRequesting() const { return requesting; }
    void OpenTradeWindow() { tradeActive = true; }
    void CloseTradeWindow() { tradeActive = false; }

    // What the user interface and the cursor handlers call.
    void HandleInitiateTradeOutbound(std::uint32_t playerId, bool request);
    void HandleCancelTradeOutbound(std::uint32_t playerId);
    void HandleFinalizeTradeOutbound();
    // Lays the item itself (no copy) in my window; false, and nothing sent, when the trade is
    // not open, the item is not my player's or the window has no room. Taking the item out of
    // the bag is the caller's task.
    bool HandleAddItemOutbound(const Vec2& position, std::uint32_t itemId);
    bool HandleRemoveItemOutbound(std::uint32_t itemId);
    void HandleSetGoldAmountOutbound(std::uint32_t amount);

    // What the partner sent (its player id first).
    void HandleInitiateTradeInbound(std::uint32_t from);
    void HandleCancelTradeInbound(std::uint32_t from);
    void HandleFinalizeTradeInbound(std::uint32_t from);
    void HandleAddItemInbound(std::uint32_t from, const Vec2& gridPosition,
                              const ItemReplicaInfo& record);
    void HandleRemoveItemInbound(std::uint32_t from, std::uint32_t itemId);
    void HandleSetGoldAmountInbound(std::uint32_t from, std::uint32_t amount);

    // Puts my offered items back in my player's bag.
    void ReturnItems();
    // The game ends: the offered items stay their owners' (they were never copied).
    void ShutDown();
    void CleanUp();

    // On a server: both offers of every trade between players of the game.
    TradeBook& GetBook() { return book; }

private:
    SoundPak* GetInviteSound();
    void FinalizeTradeLocally();
    void ClearFinalized();

    OwnedObject<SoundPak> inviteSound{"Game/TradeManager"};
    TradeState myState;
    TradeState hisState;
    bool requesting = false;
    bool tradeActive = false;
    std::uint32_t tradePartner = 0;
    std::uint32_t pendingInvitation = 0;
    std::uint32_t requestedPartner = 0;
    TradeBook book;
};

}  // namespace GAME
