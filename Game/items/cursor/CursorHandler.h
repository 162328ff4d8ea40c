#pragma once
// The mode of the player's cursor while it carries something: an item being moved, a hot-slot
// option dragged to the bar, a one-shot about to be used, or a relic about to be combined. The
// host's user interface makes one (items make theirs), moves it with the mouse, draws it each
// frame and hands each click to the operation for the place clicked; the handler turns the
// click into work for the player's bag, equipment, hot slots, trade window or merchant. The
// host discards it once IsComplete holds.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Engine/world/Math.h"
#include "Game/items/OwnedObject.h"

namespace GAME {

class ControllerPlayer;
class EquipmentCtrl;
class GraphicsCanvas;
class HotSlotOption;
class Player;
class PlayerInventoryCtrl;
class SoundPak;
enum class EquipmentCtrlLocation : std::uint32_t;

// The cursor's picture.
enum WidgetCursorType : std::uint32_t {
    WidgetCursor_Carry = 1,
    WidgetCursor_RelicCombine = 7,
};

class CursorHandler {
public:
    CursorHandler() = default;
    virtual ~CursorHandler();
    CursorHandler(const CursorHandler&) = delete;
    CursorHandler& operator=(const CursorHandler&) = delete;

    // The host lets the handler go (it owns it).
    virtual void DeleteThis() {}
    virtual void SetRelativePosition(const Vec2& position) { relativePosition = position; }
    virtual void SetDisplayPosition(const Vec2& position) { displayPosition = position; }
    virtual void PlayActivationSound();
    virtual bool IsHotSlotCapable() = 0;
    virtual bool IsInventoryCapable() = 0;
    virtual bool IsMarketCapable() = 0;
    virtual bool IsEquipCapable() = 0;
    virtual bool IsTradeCapable() = 0;
    virtual void Render(GraphicsCanvas& canvas) = 0;
    virtual void Update() {}
    virtual bool IsComplete() = 0;
    virtual void ActivateWorld() = 0;
    virtual bool Cancel() = 0;
    virtual bool Escape();
    virtual WidgetCursorType GetGameCursorType() { return WidgetCursor_Carry; }
    virtual void PrimaryInitialize() {}
    virtual void SecondaryInitialize() {}
    virtual void SetId(std::uint32_t) {}
    virtual void SetOption(std::unique_ptr<HotSlotOption>) {}
    virtual std::uint32_t GetId() { return 0; }
    virtual HotSlotOption* GetOption() { return nullptr; }
    virtual void GetInventoryHighlights(std::vector<Rect>&, std::vector<Rect>&, std::vector<Rect>&,
                                        std::uint32_t&) {}
    virtual bool PrimaryInventoryActivate() { return false; }
    virtual bool SecondaryInventoryActivate() { return false; }
    virtual void SetEquipId(EquipmentCtrlLocation, std::uint32_t) {}
    virtual bool IsEquipConflict(EquipmentCtrlLocation, bool&) { return false; }
    virtual bool PrimaryEquipActivate(EquipmentCtrlLocation) { return false; }
    virtual bool SecondaryEquipActivate(EquipmentCtrlLocation) { return false; }
    virtual bool PrimaryTradeActivate() { return false; }
    virtual bool PrimaryMarketActivate() { return false; }
    virtual bool SecondaryMarketActivate() { return false; }

    void SetPlayer(Player* value) { player = value; }
    Player* GetPlayer() const { return player; }
    void SetMarketId(std::uint32_t id) { marketId = id; }
    const Vec2& GetDisplayPosition() const { return displayPosition; }
    const Vec2& GetRelativePosition() const { return relativePosition; }

protected:
    // The player's controller and its controls; null without a player or controller.
    ControllerPlayer* GetPlayerCtrl() const;
    PlayerInventoryCtrl* GetInventoryCtrl() const;
    EquipmentCtrl* GetEquipmentCtrl() const;
    // Draws the picture centred on the display position (smaller on a downsizing screen).
    void RenderCentred(GraphicsCanvas& canvas, const std::string& texture) const;

    Vec2 displayPosition;
    Vec2 relativePosition;
    Player* player = nullptr;
    OwnedObject<SoundPak> activationSound{"Game/CursorHandler"};
    std::uint32_t marketId = 0;
};

}  // namespace GAME
