#pragma once
// The player's bag: up to four grid sacks (sack 0 the main bag), the sack the window shows and
// the extra bag new items go to, and the potion book, which piles identical potions so that
// many take one grid place and can be drunk by kind from the hot slots. Owned by the player's
// controller, which routes item gains and losses to it.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Engine/world/Math.h"
#include "Game/core/players/Bonus.h"
#include "Game/items/inventory/PotionStack.h"

namespace GAME {

class ControllerPlayer;
class IOStream;
class InventorySack;
class Item;
class OneShot_Potion;
class Player;

// The two kinds of potion a hot slot drinks.
enum class PotionType : std::uint32_t { Health = 0, Mana = 1 };

// One kind of potion in the book: its shared look and bonus, its cooldown and its piles.
struct PotionKind {
    int currentCooldown = 0;  // ms left
    int totalCooldown = 0;    // the length of the running cooldown
    std::string buttonUpBitmapName;
    std::string buttonDownBitmapName;
    std::wstring displayText;
    Bonus bonus;
    bool isHealth = false;
    std::vector<PotionStack> stacks;
};

class PlayerInventoryCtrl {
public:
    static constexpr std::uint32_t kMaxSacks = 4;
    static constexpr int kFocusedSack = -1;
    // A hidden potion's saved point.
    static constexpr std::uint32_t kHiddenPoint = 0xFFFFFFFFu;

    PlayerInventoryCtrl();
    ~PlayerInventoryCtrl();
    PlayerInventoryCtrl(const PlayerInventoryCtrl&) = delete;
    PlayerInventoryCtrl& operator=(const PlayerInventoryCtrl&) = delete;

    void SetParent(Player* player) { mPlayer = player; }
    void SetController(ControllerPlayer* controller) { mController = controller; }

    // Sacks. An index of -1 is the focused sack; a number past the count is clamped.
    bool AddSack();
    void RestoreNumberOfSacks(std::uint32_t count);
    std::uint32_t GetNumberOfSacks() const { return static_cast<std::uint32_t>(mSacks.size()); }
    std::uint32_t GetFocusSackNumber() const { return mFocusedSack; }
    std::uint32_t GetSelectedSackNumber() const { return mSelectedSack; }
    void SetFocusSackNumber(std::uint32_t number);
    void SetSelectedSackNumber(std::uint32_t number);
    InventorySack* GetSack(int index) const;
    const std::map<std::uint32_t, Rect>& GetInventoryInSack(int index) const;
    std::uint32_t GetItemUnderPoint(const Vec2& point, int index) const;
    Rect GetRectUnderPoint(const Vec2& point, int index) const;
    void AlignRect(Rect& rect, int index) const;
    bool IsItemAddedWhileNotTheCurrentlySelectedInventoryTab(int index) const;
    void SetItemAddedWhileNotTheCurrentlySelectedInventoryTab(bool added, int index);
    bool IsSpaceAvailable(Item& item) const;
    // True when some rectangle conflicts, and when the item does not exist.
    bool GetConflicts(const Vec2& point, std::uint32_t itemId, std::vector<Rect>& conflicts,
                      Rect& placed, int index) const;

    // Items.
    bool AddItem(std::uint32_t itemId, bool tryOtherSacks);
    bool AddItem(const Vec2& point, std::uint32_t itemId, int index);
    void AddStackedItem(const Vec2& point, std::uint32_t itemId,
                        const std::vector<std::uint32_t>& hiddenIds, int index);
    // A potion leaves with its stack: the hidden ids are handed back.
    bool RemoveItem(std::uint32_t itemId, std::vector<std::uint32_t>& removedHidden);
    void UseOneShot(std::uint32_t itemId);

    // The potion book (PlayerInventoryCtrlPotions.cpp). Kinds are named by their normalized
    // record names; an unknown kind gives 0, empty texts and false.
    bool UsePotionOfType(const std::string& name);
    bool UsePotionOfType(PotionType type, float lowFraction, float highFraction);
    std::uint32_t GetTotalPotions(PotionType type) const;
    std::uint32_t GetTotalPotions(const std::string& name) const;
    int GetTotalCooldown(PotionType type) const;
    int GetCurrentCooldown(PotionType type) const;
    int GetTotalCooldown(const std::string& name) const;
    int GetCurrentCooldown(const std::string& name) const;
    std::wstring GetPotionText(const std::string& name) const;
    std::string GetButtonUpBitmapName(const std::string& name) const;
    std::string GetButtonDownBitmapName(const std::string& name) const;
    bool IsPotionHealth(const std::string& name) const;
    void GetPotionNames(std::vector<std::string>& out) const;
    float GetTotalBonus(const std::string& name) const;
    bool AssurePotionMap(const std::string& name);
    static std::string NormalizePotionName(const std::string& recordName);

    void Update(int elapsedMs);
    // The save section (PlayerInventoryCtrlSave.cpp).
    void StreamProperties(IOStream& stream);

private:
    InventorySack* SackAt(int index) const;
    // Enters a placed potion in the book; true when its kind was new.
    bool AddToOneShotMap(OneShot_Potion& potion);
    // Pushes the potion behind the first pile of its kind with room; false when none has room.
    bool StackOnExistingPile(OneShot_Potion& potion);
    PotionKind* FindKind(const std::string& name);
    const PotionKind* FindKind(const std::string& name) const;
    // The kind and pile whose visible potion is the id.
    PotionStack* FindStackOf(std::uint32_t visibleId, PotionKind** kindOut = nullptr);
    // Sack 0, then the selected sack, then the others; `elsewhere` names a sack of the last try.
    bool PlaceInSacks(Item& item, bool tryOtherSacks, InventorySack*& elsewhere);
    void WriteSack(IOStream& stream, InventorySack& sack);
    void ReadSack(IOStream& stream, InventorySack& sack, bool gridCoords,
                  std::uint32_t& lastPotion);

    Player* mPlayer = nullptr;
    ControllerPlayer* mController = nullptr;
    std::uint32_t mFocusedSack = 0;
    std::uint32_t mSelectedSack = 0;
    std::vector<std::unique_ptr<InventorySack>> mSacks;
    std::map<std::string, PotionKind> mPotionBook;
};

}  // namespace GAME
