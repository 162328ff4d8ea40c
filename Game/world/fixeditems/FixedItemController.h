#pragma once
// The deciding half of a fixed item, only on the machine that owns the game state (single player
// or server): takes touches, runs the kind's state machine, fires the item's skill after its
// delay and creates the loot of chests and shrines. Every decision reaches all machines as a
// configuration command on the item. Its formulas read the designer variables it offers.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Game/core/players/PlayerInfo.h"
#include "Game/items/ItemReplicaInfo.h"
#include "Game/rules/formulas/EquationInterface.h"
#include "Game/world/fixeditems/FixedItemState.h"

namespace GAME {

class FixedItem;
class LoadTable;
class Name;
template <class T>
class DesignerEquation;
enum ChestClassification : int;

class FixedItemController : public EquationInterface<float> {
public:
    FixedItemController();
    ~FixedItemController() override;
    FixedItemController(const FixedItemController&) = delete;
    FixedItemController& operator=(const FixedItemController&) = delete;

    bool GetDesignerVariable(const char* name, float& value) override;
    virtual void SetParent(FixedItem* parent) { mParent = parent; }
    // Keeps the record name and parses the record's formulas, once.
    virtual void LoadFromDatabase(const std::string& record);
    virtual void SetFixedItemState(FixedItem_State state) { mItemState = state; }
    virtual void HasBeenTouchedByActor(unsigned int user);
    // The skill timer; kinds call it first.
    virtual void Update(int ms);
    virtual void AnimationCallback(int channel, const Name& event) = 0;
    virtual void InitialUpdate() = 0;
    virtual void TouchedByActor() = 0;

    // Starts the skill timer when the item has a skill.
    void RunSkill();
    // Creates the record max(count, 1) times at the item's drop point.
    void DropAdditionalItems(const ItemReplicaInfo& item, unsigned int count);
    // The whole drop: items, gold and the per-party-member item.
    void LoadDropLoot();

    FixedItem* GetParent() const { return mParent; }
    unsigned int GetToucherId() const { return mToucherId; }
    FixedItem_State GetItemState() const { return mItemState; }
    unsigned int GetFixedItemLevel() const { return mFixedItemLevel; }
    int GetSkillTimer() const { return mSkillTimer; }
    const std::string& GetRecordName() const { return mRecordName; }

    // The loot record of a level: entry min(level, count - 1) of "tables", empty without any.
    static std::string PickLootRecord(const std::vector<std::string>& tables, unsigned int level);
    // The first index whose running sum of the weights reaches the roll; 0 when none does.
    static unsigned int WeightedCount(const std::vector<int>& weights, int roll);

protected:
    void CalculateFixedItemLevel();
    unsigned int SelectLootNumber(const LoadTable& lootRecord);
    void SelectLoot(const LoadTable& lootRecord, ItemReplicaInfo& item, unsigned int level,
                    ChestClassification classification);
    void RunGoldGenerator(float chance, unsigned int level, const std::string& record);

private:
    using Formula = std::unique_ptr<DesignerEquation<float>>;
    // The count formulas of one loot record of "tables".
    struct CountFormulas {
        std::string record;
        Formula min;
        Formula max;
        bool hasFormula = false;
    };
    Formula ParseFormula(const std::string& text, const char* failure);
    const CountFormulas* FindCountFormulas(const std::string& record) const;
    void DropAt(ItemReplicaInfo record);

    unsigned int mFixedItemLevel = 0;
    unsigned int mToucherId = 0;
    std::string mRecordName;
    FixedItem* mParent = nullptr;
    FixedItem_State mItemState = FixedItemState_None;
    PlayerInfo mPlayerInfo;
    int mSkillTimer = 0;
    Formula mLevelFormula;
    std::vector<CountFormulas> mCountFormulas;
    std::vector<unsigned int> mTargets;
};

}  // namespace GAME
