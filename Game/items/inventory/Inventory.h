#pragma once
// The items a character carries: object ids in order of addition, each listed once. Additions
// are announced as "GameEvent_ItemAdd". The inventory owns its items: they die with it.
#include <cstdint>
#include <string>
#include <vector>

namespace GAME {

struct GameEvent_ItemAdd;

class Inventory {
public:
    Inventory() = default;
    ~Inventory();
    Inventory(const Inventory&) = delete;
    Inventory& operator=(const Inventory&) = delete;

    void AddItemToInventory(std::uint32_t id, bool flag);
    // Every occurrence; 0 is ignored.
    void RemoveItemFromInventory(std::uint32_t id);
    // The first id, taken out; 0 when empty.
    std::uint32_t PopInventoryItem();
    bool IsItemInInventory(std::uint32_t id) const;
    // An item whose record name equals the text (case and slashes aside).
    bool IsItemInInventory(const std::string& recordName) const;
    const std::vector<std::uint32_t>& GetInventoryItems() const { return mItems; }
    std::uint32_t GetOwner() const { return mOwner; }
    void SetOwner(std::uint32_t id) { mOwner = id; }
    void SetGender(int gender) { mGender = gender; }
    void OnItemAdd(const GameEvent_ItemAdd&) {}
    void DestroyAllObjects();

private:
    std::vector<std::uint32_t> mItems;
    std::uint32_t mOwner = 0;
    int mGender = 0;
};

}  // namespace GAME
