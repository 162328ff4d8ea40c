#include "Game/items/inventory/InventorySack.h"

#include <cmath>

#include "Engine/media/graphics/GraphicsEngine.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/sys/Machine.h"
#include "Game/ai/controllers/player/ControllerPlayer.h"
#include "Game/characters/Player.h"
#include "Game/core/GameEngine.h"
#include "Game/items/Item.h"

namespace GAME {

namespace {
constexpr float kSackDesignCell = 32.0f;

bool IsUnpositionedRect(const Rect& rect) {
    return rect.left == -1.0f && rect.top == -1.0f;
}
}  // namespace

InventorySack::InventorySack() {
    const GraphicsEngine& graphics = GraphicsEngine::Get();
    if (graphics.IsDownsizing()) {
        mCellHeight =
            std::floor(static_cast<float>(graphics.GetHeight()) *
                       (1.0f / static_cast<float>(GraphicsEngine::kHeight)) * kSackDesignCell);
        mCellWidth =
            std::floor(static_cast<float>(graphics.GetWidth()) *
                       (1.0f / static_cast<float>(GraphicsEngine::kWidth)) * kSackDesignCell);
    }
}

void InventorySack::SetDims(float pixelsX, float pixelsY, bool columnFirst) {
    // A sack of cells of no size has no room rather than a division by zero.
    mColumns = mCellWidth > 0.0f ? static_cast<std::uint32_t>(pixelsX / mCellWidth) : 0;
    mRows = mCellHeight > 0.0f ? static_cast<std::uint32_t>(pixelsY / mCellHeight) : 0;
    mSearchOrder = columnFirst;
}

Vec2 InventorySack::GridToPixels(const Vec2& cell) const {
    return {cell.x * mCellWidth, cell.y * mCellHeight};
}

Vec2 InventorySack::PixelsToGrid(const Vec2& point) const {
    if (mCellWidth == 0.0f || mCellHeight == 0.0f)
        return {-1.0f, -1.0f};
    return {point.x / mCellWidth, point.y / mCellHeight};
}

void InventorySack::AlignRect(Rect& rect) const {
    if (rect.left < 0.0f)
        rect.left = 0.0f;
    if (rect.top < 0.0f)
        rect.top = 0.0f;
    const float right = static_cast<float>(mColumns) * mCellWidth;
    const float bottom = static_cast<float>(mRows) * mCellHeight;
    if (rect.left + rect.width > right)
        rect.left = right - rect.width;
    if (rect.top + rect.height > bottom)
        rect.top = bottom - rect.height;
    rect.left = std::trunc(rect.left / mCellWidth) * mCellWidth;
    rect.top = std::trunc(rect.top / mCellHeight) * mCellHeight;
}

Rect InventorySack::GetRectUnderPoint(const Vec2& point) const {
    for (std::uint32_t row = 0; row < mRows; ++row)
        for (std::uint32_t column = 0; column < mColumns; ++column) {
            const Rect cell{static_cast<float>(column) * mCellWidth,
                            static_cast<float>(row) * mCellHeight, mCellWidth, mCellHeight};
            if (cell.HoldsPoint(point))
                return cell;
        }
    return Rect{0.0f, static_cast<float>(mRows) * mCellHeight, mCellWidth, mCellHeight};
}

std::uint32_t InventorySack::GetItemUnderPoint(const Vec2& point) const {
    for (const auto& [id, rect] : mItems)
        if (rect.HoldsPoint(point))
            return id;
    return 0;
}

std::uint32_t InventorySack::GetFirstItem() const {
    return mItems.empty() ? 0 : mItems.begin()->first;
}

bool InventorySack::IsConflict(const Rect& rect) const {
    for (const auto& [id, stored] : mItems)
        if (stored.Overlaps(rect))
            return true;
    return false;
}

bool InventorySack::GetFootprint(Item& item, Rect& out) const {
    const std::string bitmap = item.GetBitmap();
    if (bitmap.empty())
        return false;
    GraphicsEngine& graphics = GraphicsEngine::Get();
    int width = 0;
    int height = 0;
    graphics.GetTextureSize(bitmap, width, height);
    out = Rect{0.0f, 0.0f, std::max(static_cast<float>(width), mCellWidth),
               std::max(static_cast<float>(height), mCellHeight)};
    if (graphics.IsDownsizing()) {
        const Rect adjusted = graphics.GetResAdjRect(out);
        out.width = adjusted.width;
        out.height = adjusted.height;
    }
    return true;
}

bool InventorySack::FindNextPosition(Item& item, Rect& out) const {
    Rect rect;
    if (!GetFootprint(item, rect))
        return false;
    const float right = static_cast<float>(mColumns) * mCellWidth;
    const float bottom = static_cast<float>(mRows) * mCellHeight;
    if (mSearchOrder == SearchHorizantal) {
        for (std::uint32_t row = 0; row < mRows; ++row) {
            rect.left = 0.0f;
            for (std::uint32_t column = 0; column < mColumns; ++column) {
                if (rect.left + rect.width > right)
                    break;
                if (rect.top + rect.height > bottom)
                    return false;
                if (!IsConflict(rect)) {
                    out = rect;
                    return true;
                }
                rect.left += mCellWidth;
            }
            rect.top += mCellHeight;
        }
        return false;
    }
    for (std::uint32_t column = 0; column < mColumns; ++column) {
        rect.top = 0.0f;
        for (std::uint32_t row = 0; row < mRows; ++row) {
            if (rect.left + rect.width > right)
                return false;
            if (rect.top + rect.height > bottom)
                break;
            if (!IsConflict(rect)) {
                out = rect;
                return true;
            }
            rect.top += mCellHeight;
        }
        rect.left += mCellWidth;
    }
    return false;
}

bool InventorySack::IsSpaceForItem(Item& item) const {
    Rect unused;
    return FindNextPosition(item, unused);
}

bool InventorySack::AddItem(Item& item, bool findPosition) {
    Rect rect = kUnpositioned;
    if (findPosition && !FindNextPosition(item, rect))
        return false;
    mItems[item.GetObjectId()] = rect;
    return true;
}

bool InventorySack::AddItem(const Vec2& point, Item& item, bool silent) {
    Rect rect;
    if (!GetFootprint(item, rect))
        return false;
    rect.left = point.x;
    rect.top = point.y;
    mItems[item.GetObjectId()] = rect;
    if (!silent)
        item.PlayDropSound();
    return true;
}

Vec2 InventorySack::AddItemAndReturnPoint(Item& item) {
    Rect rect;
    if (!FindNextPosition(item, rect))
        return {-1.0f, -1.0f};
    mItems[item.GetObjectId()] = rect;
    return {rect.left, rect.top};
}

bool InventorySack::ArrangeUnpositionedItems() {
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    bool allPlaced = true;
    for (auto& [id, rect] : mItems) {
        if (!IsUnpositionedRect(rect))
            continue;
        Item* item = objects.GetObject<Item>(id);
        if (!item)
            continue;
        Rect place;
        if (FindNextPosition(*item, place)) {
            rect = place;
            continue;
        }
        // No room: the item stays, at the top-left corner over what lies there, so it is still
        // carried and can be seen and moved rather than vanishing.
        allPlaced = false;
        if (!GetFootprint(*item, place))
            continue;
        place.left = 0.0f;
        place.top = 0.0f;
        rect = place;
    }
    return allPlaced;
}

void InventorySack::GetConflicts(const Vec2& point, Item& item, std::vector<Rect>& conflicts,
                                 Rect& placed) const {
    Rect rect;
    if (!GetFootprint(item, rect))
        return;
    rect.left = point.x - rect.width / 2.0f + mCellWidth / 2.0f;
    rect.top = point.y - rect.height / 2.0f + mCellHeight / 2.0f;
    if (const GraphicsEngine& graphics = GraphicsEngine::Get(); graphics.IsDownsizing())
        rect = graphics.GetResAdjRect(rect);
    AlignRect(rect);
    placed = rect;
    for (const auto& [id, stored] : mItems)
        if (stored.Overlaps(rect))
            conflicts.push_back(stored);
}

bool InventorySack::RemoveItem(std::uint32_t id) {
    return mItems.erase(id) != 0;
}

void InventorySack::DestroyAllItems() {
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    for (const auto& [id, rect] : mItems)
        if (Object* item = objects.GetObject(id))
            objects.DestroyObjectEx(item, "Game/InventorySack", 0);
    mItems.clear();
}

void InventorySack::TakeAllItems(ControllerPlayer& controller) {
    for (const auto& [id, rect] : mItems)
        controller.SendRemoveItemFromInventory(id);
    mItems.clear();
}

void InventorySack::GiveAllItems(ControllerPlayer& controller) {
    // Giving may add to this very sack: walk a copy.
    const std::map<std::uint32_t, Rect> items = std::move(mItems);
    mItems.clear();
    for (const auto& [id, rect] : items)
        controller.GiveItemToPlayer(id);
}

void InventorySack::DeleteAndCreateAllItemsFor(ControllerPlayer&) {
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    GameEngine* game = gGameEngine;
    const Player* player = game ? game->GetMainPlayer() : nullptr;
    for (const auto& [id, rect] : mItems) {
        Item* item = objects.GetObject<Item>(id);
        if (!item || !game)
            continue;
        ItemReplicaInfo replica;
        item->GetItemReplicaInfo(replica);
        replica.objectId = objects.CreateObjectID();
        game->CreateItemForCharacter(
            game->GetPlayerId(), player ? player->GetCoords() : WorldCoords(), replica, nullptr);
    }
    mItems.clear();
}

}  // namespace GAME
