#pragma once
// An item a character wears or wields: the attribute stores rolled from its base, prefix and
// suffix records, its skill augments, racial bonuses, an inserted relic, its set, its cost and
// requirement formulas, and the requirement checks that decide who may equip it.
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "Game/items/Item.h"
#include "Game/items/ItemSkillAugment.h"
#include "Game/rules/CharAttributeStore.h"
#include "Game/rules/CostInfo.h"
#include "Game/rules/DefenseAttributeStore.h"
#include "Game/rules/SkillAttribute.h"
#include "Game/rules/damage/DamageAttributeStore.h"
#include "Game/rules/damage/RetaliationAttributeStore.h"

namespace GAME {

class ItemRelic;
class RacialBonus;
class DesignerEquation_Algebra;
struct EquipmentKindRow;

class ItemEquipment : public Item {
    RTTI_DECLARE(ItemEquipment)
public:
    // Strength, dexterity, intelligence.
    using ReductionAttributes = std::array<CharAttributeType, 3>;

    ItemEquipment();
    ~ItemEquipment() override;

    void Load(const LoadTable& record) override;
    void InitializeItem() override;
    std::string GetBitmap() override;
    std::string GetUIBitmapOverlay() override;
    void GetUIDisplayText(const Character* character, std::vector<GameTextLine>& lines) override;
    void GetUIRequirementText(const Character* character,
                              std::vector<GameTextLine>& lines) override;
    void GetCharAttributes(CharAttributeAccumulator& accumulator) override;
    void GetSkillAttributes(SkillAttributeAccumulator& accumulator) override;
    void GetOffensiveDamageAttributes(CombatAttributeAccumulator& accumulator) override;
    void GetOffensiveModifierAttributes(CombatAttributeAccumulator& accumulator) override;
    void GetRetaliationAttributes(CombatAttributeAccumulator& accumulator) override;
    void GetDefenseAttributes(CombatAttributeAccumulator& accumulator) override;
    void ContributeRacialBonusDamage(std::vector<RacialBonusContribution>& bonuses) override;
    void ContributeRacialBonusDefense(std::vector<RacialBonusContribution>& bonuses) override;
    std::uint32_t GetLevelRequirement() const override;
    std::uint32_t GetStrengthRequirement() const override;
    std::uint32_t GetDexterityRequirement() const override;
    std::uint32_t GetIntelligenceRequirement() const override;
    bool AreRequirementsMet(const Character* character) override;
    Item_Type GetItemType() const override { return itemType; }
    EquipmentHandTypes GetRightHandType() const override { return rightHand; }
    EquipmentHandTypes GetLeftHandType() const override { return leftHand; }
    Market_TypeEnum GetItemMarketType() const override { return marketType; }
    void AttachItem(Character* character, const char* attachPoint) override;
    void DetachItem(Character* character) override;
    void UpdateReplicaInfo() override;
    int GetItemCost(bool withRelic = true) override;
    void DumpCostAttributes() override;
    ItemClassification GetItemClassification() const override;
    float GetTotalAttrCostCount() const override;
    bool GetDesignerVariable(const char* name, float& value) override;

    // The kind's own initialization step and attribute text (shields, weapons, armor).
    virtual void InitializeEquipmentSpecial(const LoadTable* prefix, const LoadTable* suffix);
    virtual void CreateUIAttributeText(std::vector<GameTextLine>& lines);

    bool HasRelic() const;
    ItemRelic* GetRelic() const;
    // Replaces the inserted relic with the named one (none when the name is empty).
    void AddRelic(const std::string& relicName, const std::string& relicBonus,
                  std::uint32_t relicLevel);
    void GetUIDisplayText_RacialBonus(std::vector<GameTextLine>& lines) const;

    Weapon_Type GetWeaponType() const { return weaponType; }
    bool GetArmorFlag() const { return armorFlag; }
    CombatAttributeRegion GetArmorPieceCode() const { return armorPieceCode; }
    const std::string& GetItemSetName() const { return itemSetName; }
    const std::string& GetItemNameTag() const { return itemNameTag; }
    const ItemSkillAugment& GetSkillAugments() const { return skillAugments; }
    const ReductionAttributes& GetKindReductions() const { return kindReductionAttributes; }
    const ReductionAttributes& GetGroupReductions() const { return groupReductionAttributes; }
    const std::string& GetFormulaKey(int index) const { return formulaKeys[index]; }
    bool HasCostEquation() const { return costEquation != nullptr; }
    const CostInfo_CharacterAttributes& GetCharCost() const { return charCost; }
    const CostInfo_DamageAttributes& GetDamageCost() const { return damageCost; }
    const CostInfo_DefenseAttributes& GetDefenseCost() const { return defenseCost; }
    const CostInfo_SkillAttributes& GetSkillCost() const { return skillCost; }
    const CharAttributeStore_Equipment& GetCharStore() const { return charAttributes; }
    const SkillAttributeStore_Equipment& GetSkillStore() const { return skillAttributes; }
    const DamageAttributeStore_Equipment& GetDamageStore() const { return damageAttributes; }
    const DefenseAttributeStore_Equipment& GetDefenseStore() const { return defenseAttributes; }
    std::size_t GetRacialBonusCount() const { return racialBonuses.size(); }
    int GetPrefixCost() const { return prefixCost; }
    int GetSuffixCost() const { return suffixCost; }
    float GetMarketAdjustmentPercent() const { return marketAdjustmentPercent; }

    // Formula indexes of formulaKeys.
    enum FormulaIndex {
        kCostFormula,
        kStrengthFormula,
        kDexterityFormula,
        kIntelligenceFormula,
        kLevelFormula,
        kFormulaCount
    };

protected:
    // A kind's constructor applies its row of the kinds table over its parent's.
    virtual void ApplyKindRow(const EquipmentKindRow& row);
    // The reduction percents of strength, dexterity and intelligence for the character.
    std::array<float, 3> GetRequirementReductions(const Character* character) const;
    void SetEquation(FormulaIndex index, const std::string& text);
    // The kind's display name: the magical format with a prefix or suffix name, else the common
    // one, over the name, quality and style tags and the two randomizer names.
    std::wstring FormatKindName(const char* magicalFormat, const char* commonFormat) const;
    // Appends the stores' text lists in a layout such as "D1B C1B - D2N": a list (D damage,
    // R retaliation, F defense, C character, S skill, and its number) with its text class
    // (B base stats, N bonuses); "-" a spacer line.
    void AppendAttributeText(const char* layout, std::vector<GameTextLine>& lines);
    void CreateItemRacialBonus(const LoadTable& record);

    // Cost summaries.
    CostInfo_CharacterAttributes charCost;
    CostInfo_SkillAttributes skillCost;
    CostInfo_DefenseAttributes defenseCost;
    CostInfo_DamageAttributes damageCost;
    CostInfo_RetaliationAttributes retaliationCost;
    CostInfo_AugmentAttributes augmentCost;
    CostInfo_ShieldAttributes shieldCost;
    std::vector<std::unique_ptr<RacialBonus>> racialBonuses;
    std::array<std::string, kFormulaCount> formulaKeys;
    bool armorFlag = false;
    CombatAttributeRegion armorPieceCode = CombatAttributeRegion::FullyProtected;
    Item_Type itemType = Item_Type::None;
    Market_TypeEnum marketType = Market_TypeEnum::Miscellaneous;
    Weapon_Type weaponType = Weapon_Type::None;
    EquipmentHandTypes rightHand = EquipmentHandTypes::None;
    EquipmentHandTypes leftHand = EquipmentHandTypes::None;
    std::string itemNameTag;
    std::string itemQualityTag;
    std::string itemStyleTag;
    float attributeScalePercent = 0.0f;
    ReductionAttributes groupReductionAttributes{};
    ReductionAttributes kindReductionAttributes{};
    CharAttributeStore_Equipment charAttributes;
    SkillAttributeStore_Equipment skillAttributes;
    DamageAttributeStore_Equipment damageAttributes;
    RetaliationAttributeStore_Equipment retaliationAttributes;
    DefenseAttributeStore_Equipment defenseAttributes;
    std::array<std::unique_ptr<DesignerEquation_Algebra>, kFormulaCount> equations;
    DesignerEquation_Algebra* costEquation = nullptr;
    std::string bitmap;
    std::string bitmapFemale;
    std::string itemSetName;
    ItemSkillAugment skillAugments;
    OwnedObject<ItemRelic> relic{"Game/ItemEquipment"};
    bool hidePrefixName = false;
    bool hideSuffixName = false;
    int itemCostValue = 0;
    int prefixCost = 0;
    int suffixCost = 0;
    float marketAdjustmentPercent = 0.0f;
};

}  // namespace GAME
