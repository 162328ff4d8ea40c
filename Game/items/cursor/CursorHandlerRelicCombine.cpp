#include "Game/items/cursor/CursorHandlerRelicCombine.h"

#include "Engine/media/graphics/GraphicsEngine.h"
#include "Engine/media/sound/SoundPak.h"
#include "Engine/object/ObjectManager.h"
#include "Game/ai/controllers/player/ControllerPlayer.h"
#include "Game/core/GameConstants.h"
#include "Game/core/GameEngine.h"
#include "Game/core/util/ServerObjectIds.h"
#include "Game/items/ItemRelic.h"
#include "Game/items/equipment/EquipmentCtrl.h"
#include "Game/items/inventory/PlayerInventoryCtrl.h"

namespace GAME {

namespace {
constexpr unsigned int kRelicCursorTutorialPage = 19;
constexpr const char* kRelicCombineDialogTag = "tagRelicCombineDialog";

Entity* FindEntity(std::uint32_t id) {
    return id ? Singleton<ObjectManager>::Get().GetObject<Entity>(id) : nullptr;
}
}  // namespace

CursorHandlerRelicCombine::CursorHandlerRelicCombine() {
    if (!gGameEngine)
        return;
    const std::string sound =
        gGameEngine->GetDatabase().GetString("relicCursorActivationSound", std::string());
    // Only this machine's cursor plays it: an id of the presentation band leaves the shared
    // counter be.
    if (!sound.empty())
        activationSound.Reset(Singleton<ObjectManager>::Get().CreateObjectFromFile<SoundPak>(
            sound, CreateServerObjectId(ServerIdBand::Presentation), true));
}

void CursorHandlerRelicCombine::Render(GraphicsCanvas& canvas) {
    if (relic != 0)
        RenderCentred(canvas, bitmap);
}

void CursorHandlerRelicCombine::Update() {
    if (target == 0 || !gGameEngine)
        return;
    DialogManager& dialogs = gGameEngine->GetDialogManager();
    while (target != 0 && dialogs.GetNumResponsesFor(kDialogPartyRelicCombining) > 0) {
        const int answer = dialogs.GetResponseFor(kDialogPartyRelicCombining).answer;
        if (answer == 1) {
            if (ControllerPlayer* controller = GetPlayerCtrl())
                controller->UseRelic(relic, target);
            Cancel();
        } else if (answer == 0) {
            Cancel();
        }
    }
}

bool CursorHandlerRelicCombine::Cancel() {
    if (target != 0 && gGameEngine)
        gGameEngine->GetDialogManager().WithdrawDialogsFor(kDialogPartyRelicCombining);
    relic = 0;
    target = 0;
    return true;
}

bool CursorHandlerRelicCombine::Escape() {
    if (target != 0)
        return false;
    Cancel();
    return true;
}

void CursorHandlerRelicCombine::SetId(std::uint32_t id) {
    relic = id;
    CreateBitmap();
    if (gGameEngine)
        gGameEngine->UnlockTutorialPage(kRelicCursorTutorialPage, true);
}

void CursorHandlerRelicCombine::SetEquipId(EquipmentCtrlLocation, std::uint32_t id) {
    relic = id;
    CreateBitmap();
}

void CursorHandlerRelicCombine::CreateBitmap() {
    bitmap.clear();
    auto* item = relic ? Singleton<ObjectManager>::Get().GetObject<Item>(relic) : nullptr;
    if (item)
        bitmap = item->GetBitmap();
    if (!bitmap.empty())
        GraphicsEngine::Get().LoadTexture(bitmap);
}

ItemRelic* CursorHandlerRelicCombine::FindRelic() {
    auto* found = relic ? Singleton<ObjectManager>::Get().GetObject<ItemRelic>(relic) : nullptr;
    if (!found)
        relic = 0;
    return found;
}

bool CursorHandlerRelicCombine::Combine(std::uint32_t targetId, bool inInventory) {
    ItemRelic* found = FindRelic();
    if (!found)
        return false;
    Entity* item = FindEntity(targetId);
    if (!item || (inInventory && targetId == relic)) {
        relic = 0;
        return false;
    }
    bool onEquipment = false;
    if (!found->CanRelicBeUsedOn(item, onEquipment))
        return false;
    if (onEquipment) {
        // Into a piece of equipment only once the player says yes (Update); an answer left
        // over from an earlier question is not this one's.
        if (gGameEngine) {
            gGameEngine->GetDialogManager().WithdrawDialogsFor(kDialogPartyRelicCombining);
            gGameEngine->GetDialogManager().AddDialog(kDialogTypeQuestion, false,
                                                      kDialogPartyRelicCombining,
                                                      kRelicCombineDialogTag, false, 0, false);
        }
        target = targetId;
        return true;
    }
    if (ControllerPlayer* controller = GetPlayerCtrl())
        controller->UseRelic(relic, targetId);
    Cancel();
    return true;
}

bool CursorHandlerRelicCombine::PrimaryInventoryActivate() {
    PlayerInventoryCtrl* bag = GetInventoryCtrl();
    const std::uint32_t under =
        bag ? bag->GetItemUnderPoint(relativePosition, PlayerInventoryCtrl::kFocusedSack) : 0;
    return Combine(under, true);
}

bool CursorHandlerRelicCombine::PrimaryEquipActivate(EquipmentCtrlLocation location) {
    EquipmentCtrl* equipment = GetEquipmentCtrl();
    return Combine(equipment ? equipment->GetItem(location) : 0, false);
}

bool CursorHandlerRelicCombine::IsEquipConflict(EquipmentCtrlLocation location, bool& flag) {
    flag = false;
    ItemRelic* found = FindRelic();
    EquipmentCtrl* equipment = GetEquipmentCtrl();
    Entity* item = found && equipment ? FindEntity(equipment->GetItem(location)) : nullptr;
    bool onEquipment = false;
    return !item || !found->CanRelicBeUsedOn(item, onEquipment);
}

void CursorHandlerRelicCombine::GetInventoryHighlights(std::vector<Rect>& placeRects,
                                                       std::vector<Rect>& swapRects,
                                                       std::vector<Rect>& blockedRects,
                                                       std::uint32_t& itemUnderCursor) {
    PlayerInventoryCtrl* bag = GetInventoryCtrl();
    if (!bag)
        return;
    constexpr int kFocused = PlayerInventoryCtrl::kFocusedSack;
    itemUnderCursor = bag->GetItemUnderPoint(relativePosition, kFocused);
    const std::map<std::uint32_t, Rect>& sack = bag->GetInventoryInSack(kFocused);
    if (const auto own = sack.find(relic); own != sack.end())
        swapRects.push_back(own->second);
    const auto under = sack.find(itemUnderCursor);
    if (under == sack.end() || itemUnderCursor == relic)
        return;
    ItemRelic* found = FindRelic();
    bool onEquipment = false;
    if (found && found->CanRelicBeUsedOn(FindEntity(itemUnderCursor), onEquipment))
        placeRects.push_back(under->second);
    else
        blockedRects.push_back(under->second);
}

}  // namespace GAME
