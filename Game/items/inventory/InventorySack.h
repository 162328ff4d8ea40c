#pragma once
// One grid bag of items (the player's bags, a merchant's pages, a trade window): for every item
// the rectangle its picture covers, in pixels of the window. Finds the first free place, tells
// what lies under a point and what a dropped item would cover.
#include <cstdint>
#include <map>
#include <vector>

#include "Engine/world/Math.h"

namespace GAME {

class ControllerPlayer;
class Item;

class InventorySack {
public:
    enum SearchOrder : bool { SearchHorizantal = false, SearchVertical = true };

    InventorySack();

    void SetDims(float pixelsX, float pixelsY, bool columnFirst);
    Vec2 GridToPixels(const Vec2& cell) const;
    Vec2 PixelsToGrid(const Vec2& point) const;
    void AlignRect(Rect& rect) const;
    const std::map<std::uint32_t, Rect>& GetInventory() const { return mItems; }
    Rect GetRectUnderPoint(const Vec2& point) const;
    std::uint32_t GetItemUnderPoint(const Vec2& point) const;
    std::uint32_t GetFirstItem() const;
    bool IsConflict(const Rect& rect) const;
    bool FindNextPosition(Item& item, Rect& out) const;
    bool IsSpaceForItem(Item& item) const;
    // With findPosition: at the first free place (false, nothing stored, when there is none);
    // without: unpositioned.
    bool AddItem(Item& item, bool findPosition);
    // At the top-left point, over whatever lies there; false for an item without a bitmap.
    bool AddItem(const Vec2& point, Item& item, bool silent);
    // (-1, -1) when there is no room.
    Vec2 AddItemAndReturnPoint(Item& item);
    // Gives every unpositioned item a place; false when some found none (those stay in the sack
    // at the top-left corner, over other items, so that nothing is lost).
    bool ArrangeUnpositionedItems();
    void GetConflicts(const Vec2& point, Item& item, std::vector<Rect>& conflicts,
                      Rect& placed) const;
    bool RemoveItem(std::uint32_t id);
    void RemoveAllItems() { mItems.clear(); }
    void DestroyAllItems();
    void TakeAllItems(ControllerPlayer& controller);
    void GiveAllItems(ControllerPlayer& controller);
    void DeleteAndCreateAllItemsFor(ControllerPlayer& controller);

    float GetCellWidth() const { return mCellWidth; }
    float GetCellHeight() const { return mCellHeight; }
    std::uint32_t GetColumns() const { return mColumns; }
    std::uint32_t GetRows() const { return mRows; }
    // Something new came in while another sack was shown.
    bool IsNewItemAdded() const { return mNewItemAdded; }
    void SetNewItemAdded(bool added) { mNewItemAdded = added; }

    static constexpr Rect kUnpositioned{-1.0f, -1.0f, -1.0f, -1.0f};

private:
    // The item's picture at (0, 0), each side at least one cell; false without a bitmap.
    bool GetFootprint(Item& item, Rect& out) const;

    float mCellWidth = 32.0f;
    float mCellHeight = 32.0f;
    std::uint32_t mColumns = 12;
    std::uint32_t mRows = 5;
    bool mSearchOrder = SearchHorizantal;
    bool mNewItemAdded = false;
    std::map<std::uint32_t, Rect> mItems;
};

}  // namespace GAME
