#include "Host/net/TradeDriver.h"

#include <algorithm>
#include <memory>

#include "Engine/object/ObjectManager.h"
#include "Game/ai/controllers/CharacterController.h"
#include "Game/ai/controllers/player/ControllerPlayer.h"
#include "Game/characters/Player.h"
#include "Game/core/GameConstants.h"
#include "Game/core/GameEngine.h"
#include "Game/items/ItemEquipment.h"
#include "Game/items/cursor/CursorHandlerHotSlotOption.h"
#include "Game/items/cursor/CursorHandlerItemMove.h"
#include "Game/items/equipment/EquipmentCtrl.h"
#include "Game/items/hotslots/PlayerHotSlotCtrl.h"
#include "Game/items/inventory/PlayerInventoryCtrl.h"
#include "Game/items/market/TradeManager.h"
#include "Game/items/oneshot/OneShot.h"
#include "Game/skills/manager/SkillManager.h"
#include "Host/PrintableText.h"
#include "Host/net/NetPlayers.h"
#include "Host/play/PlayEventLog.h"
#include "Host/play/PlaySession.h"

namespace GAME {

namespace {

constexpr int kAcceptDelayFrames = 5;
constexpr int kReportDelayFrames = 3;

std::string ItemName(std::uint32_t id) {
    const Item* item = Singleton<ObjectManager>::Get().GetObject<Item>(id);
    if (!item)
        return "?";
    std::wstring name;
    item->GetGameDescription(name);
    return PlainItemText(name);
}

TradeManager& Trades() {
    return *gGameEngine->GetTradeManager();
}

}  // namespace

void TradeDriver::Step(Player& own, int host, int frame,
                       const std::vector<std::uint32_t>& players) {
    if (mStage == Stage::Done || (host != 1 && host != 2) || !gGameEngine)
        return;
    mPartner = NetPlayerId(3 - host);
    if (std::find(players.begin(), players.end(), mPartner) == players.end())
        return;
    if (host == 1)
        StepAsker(own, frame);
    else
        StepAnswerer(own, frame);
}

void TradeDriver::StepAsker(Player& own, int frame) {
    TradeManager& trades = Trades();
    switch (mStage) {
        case Stage::Waiting:
            if (frame < kAskFrame || !trades.AbleToTrade())
                return;
            FillHotSlot(own);
            trades.HandleInitiateTradeOutbound(mPartner, true);
            mLog.PrintStamped("you ask " + Name(mPartner) + " to trade");
            mStage = Stage::Asked;
            return;
        case Stage::Asked: {
            if (!trades.GetIsTradeActive()) {
                if (!trades.IsRequesting()) {
                    mLog.PrintStamped(Name(mPartner) + " will not trade");
                    mStage = Stage::Done;
                }
                return;
            }
            mGoldBefore = own.GetMoney();
            if (const std::uint32_t item = OfferFromBag(own))
                mItemsGiven.push_back(ItemName(item));
            mGoldGiven = std::min(own.GetMoney(), kAskerGold);
            if (mGoldGiven > 0)
                trades.HandleSetGoldAmountOutbound(mGoldGiven);
            if (mItemsGiven.empty() && mGoldGiven == 0) {
                mLog.PrintStamped("you have nothing to trade: you close the window");
                trades.HandleCancelTradeOutbound(mPartner);
                mStage = Stage::Done;
                return;
            }
            mLog.PrintStamped("you lay " + Offer(mItemsGiven, mGoldGiven) +
                              " in the trade window for " + Name(mPartner));
            mStage = Stage::Offered;
            mStageFrame = frame;
            return;
        }
        case Stage::Offered:
            if (trades.GetIsTradeActive() && frame < mStageFrame + kAcceptDelayFrames)
                return;
            if (trades.GetIsTradeActive())
                Accept(own);
            mStage = Stage::Accepted;
            return;
        default:
            Report(own, frame);
            return;
    }
}

void TradeDriver::StepAnswerer(Player& own, int frame) {
    TradeManager& trades = Trades();
    switch (mStage) {
        case Stage::Waiting:
            if (frame == kAskFrame)
                FillHotSlot(own);
            if (trades.GetPendingInvitation() != mPartner)
                return;
            mLog.PrintStamped(Name(mPartner) + " asks you to trade: you say yes");
            gGameEngine->GetDialogManager().AddResponse(kDialogPartyTrade, 1);
            mStage = Stage::Asked;
            return;
        case Stage::Asked:
            if (!trades.GetIsTradeActive())
                return;
            mGoldBefore = own.GetMoney();
            if (const std::uint32_t item = OfferFromBag(own))
                mItemsGiven.push_back(ItemName(item));
            mGoldGiven = std::min(own.GetMoney(), kAnswererGold);
            if (mGoldGiven > 0)
                trades.HandleSetGoldAmountOutbound(mGoldGiven);
            if (mGoldGiven > 0 || !mItemsGiven.empty())
                mLog.PrintStamped("you lay " + Offer(mItemsGiven, mGoldGiven) +
                                  " in the trade window for " + Name(mPartner));
            mStage = Stage::Offered;
            return;
        case Stage::Offered:
            if (trades.GetIsTradeActive() && !trades.GetHisTradeState().finalized)
                return;
            if (trades.GetIsTradeActive())
                Accept(own);
            mStage = Stage::Accepted;
            return;
        default:
            Report(own, frame);
            return;
    }
}

void TradeDriver::FillHotSlot(Player& own) {
    PlayerHotSlotCtrl& bar = own.GetPlayerHotSlotCtrl();
    std::size_t slot = PlayerHotSlotCtrl::kSlots;
    std::vector<std::uint32_t> onBar;
    for (std::size_t i = 0; i < PlayerHotSlotCtrl::kSlots; ++i) {
        if (const HotSlotOption* option = bar.GetHotSlotOption(i))
            onBar.push_back(option->GetSkillId());
        else if (slot == PlayerHotSlotCtrl::kSlots)
            slot = i;
    }
    if (slot == PlayerHotSlotCtrl::kSlots)
        return;
    // A skill not on the bar yet, else the first one (a bar may show a skill twice).
    std::unique_ptr<CursorHandlerHotSlotOption> chosen;
    for (std::uint32_t skill : own.GetSkillManager().GetSkillList()) {
        // The bar's own drag: the skill on the cursor, dropped on the slot, the cursor empty.
        auto drag = std::make_unique<CursorHandlerHotSlotOption>();
        drag->SetPlayer(&own);
        drag->SetId(skill);
        std::wstring name;
        if (drag->GetOption() && drag->GetOption()->Validate())
            drag->GetOption()->GetDisplayName(name);
        if (name.empty())
            continue;
        const bool fresh = std::find(onBar.begin(), onBar.end(), skill) == onBar.end();
        if (!chosen || fresh)
            chosen = std::move(drag);
        if (fresh)
            break;
    }
    // Without a skill learned yet: the health potions, which a bar may show twice as well.
    if (!chosen) {
        const HotSlotOption* potions = bar.GetHotSlotOption(PlayerHotSlotCtrl::kHealthPotionSlot);
        if (!potions)
            return;
        chosen = std::make_unique<CursorHandlerHotSlotOption>();
        chosen->SetPlayer(&own);
        chosen->SetOption(potions->Clone());
    }
    std::wstring name;
    chosen->GetOption()->GetDisplayName(name);
    if (name.empty())
        name = L"the health potions";
    bar.SetHotSlot(slot, chosen->GetOption());
    chosen->SetOption(nullptr);
    mLog.PrintStamped("you drag " + PrintableText(name) + " to hot slot " +
                      std::to_string(slot + 1));
}

std::uint32_t TradeDriver::OfferFromBag(Player& own) {
    auto* controller = FindController<ControllerPlayer>(own);
    if (!controller)
        return 0;
    PlayerInventoryCtrl& bag = controller->GetInventoryCtrl();
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    // From the bag a piece of equipment first, then anything but a potion, then anything.
    std::uint32_t pick = 0;
    int rank = 3;
    for (std::uint32_t sack = 0; sack < bag.GetNumberOfSacks(); ++sack)
        for (const auto& [id, rect] : bag.GetInventoryInSack(static_cast<int>(sack))) {
            const Item* item = objects.GetObject<Item>(id);
            const int itemRank = !item                          ? 3
                                 : item->IsA<ItemEquipment>()   ? 0
                                 : !item->IsA<OneShot_Potion>() ? 1
                                                                : 2;
            if (itemRank < rank) {
                rank = itemRank;
                pick = id;
            }
        }
    CursorHandlerItemMove cursor;
    cursor.SetPlayer(&own);
    EquipmentCtrl& worn = controller->GetEquipmentCtrl();
    if (rank != 0) {
        // No piece of equipment in the bag: a ring or amulet worn comes off into the window.
        for (EquipmentCtrlLocation jewelry :
             {EquipmentCtrlLocation::Finger1, EquipmentCtrlLocation::Finger2,
              EquipmentCtrlLocation::Neck})
            if (const std::uint32_t id = worn.GetItem(jewelry)) {
                cursor.SetEquipId(jewelry, id);
                mLog.PrintStamped("you take off " + ItemName(id));
                break;
            }
    }
    if (cursor.GetId() == 0 && pick == 0)
        return 0;
    if (cursor.GetId() == 0)
        cursor.SetId(pick);
    // Where it fits a place the player wears something, it goes on, and what comes off is
    // offered instead.
    for (std::uint32_t place = 1; rank == 0 && place <= 9; ++place) {
        const auto location = static_cast<EquipmentCtrlLocation>(place);
        bool flag = false;
        if (worn.GetItem(location) == 0 || cursor.IsEquipConflict(location, flag))
            continue;
        const std::string putOn = ItemName(pick);
        if (cursor.PrimaryEquipActivate(location) && cursor.GetId() != 0) {
            mLog.PrintStamped("you put on " + putOn + "; " + ItemName(cursor.GetId()) +
                              " comes off");
            break;
        }
    }
    const std::uint32_t offered = cursor.GetId();
    if (offered == 0 || !cursor.PrimaryTradeActivate())
        return 0;
    return offered;
}

void TradeDriver::Accept(Player&) {
    const TradeState& his = Trades().GetHisTradeState();
    for (const auto& [id, rect] : his.sack.GetInventory())
        mItemsOffered.push_back(ItemName(id));
    mGoldOffered = his.goldAmount;
    mLog.PrintStamped(Name(mPartner) + " offers " + Offer(mItemsOffered, mGoldOffered) +
                      ": you accept");
    Trades().HandleFinalizeTradeOutbound();
}

void TradeDriver::Report(Player& own, int frame) {
    if (mStage == Stage::Accepted) {
        if (Trades().GetIsTradeActive())
            return;
        mStage = Stage::Closed;
        mStageFrame = frame;
        return;
    }
    // The server's word (the items and gold it moved) comes within a frame or two.
    if (frame < mStageFrame + kReportDelayFrames)
        return;
    const std::uint32_t gold = own.GetMoney();
    if (gold + mGoldGiven == mGoldBefore + mGoldOffered)
        mLog.PrintStamped("the trade with " + Name(mPartner) + " is done: you give " +
                          Offer(mItemsGiven, mGoldGiven) + " and receive " +
                          Offer(mItemsOffered, mGoldOffered) + "; your gold goes from " +
                          std::to_string(mGoldBefore) + " to " + std::to_string(gold));
    else
        mLog.PrintStamped("the trade with " + Name(mPartner) + " came to nothing");
    mStage = Stage::Done;
}

std::string TradeDriver::Name(std::uint32_t player) const {
    const Player* found = Singleton<ObjectManager>::Get().GetObject<Player>(player);
    return found ? found->GetPlayerNameInChar() : "another player";
}

std::string TradeDriver::Offer(const std::vector<std::string>& items, std::uint32_t gold) const {
    std::string text;
    for (const std::string& item : items)
        text += (text.empty() ? "" : ", ") + item;
    if (gold > 0 || text.empty())
        text += (text.empty() ? "" : " and ") + std::to_string(gold) + " gold";
    return text;
}

}  // namespace GAME
