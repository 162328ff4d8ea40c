// Equipment: loading, rebuilding from the instance record, cost and formula variables.
#include "Game/items/ItemEquipment.h"

#include <string_view>

#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Game/core/GameEngine.h"
#include "Game/items/ItemRelic.h"
#include "Game/items/ItemRounding.h"
#include "Game/items/ItemSeed.h"
#include "Game/items/kinds/EquipmentKindTable.h"
#include "Game/rules/RacialBonus.h"
#include "Game/rules/formulas/DesignerEquation_Algebra.h"

namespace GAME {

RTTI_IMPLEMENT(ItemEquipment, Item)

namespace {
constexpr const char* kDefaultItemCostRecord = "Records/Game/ItemCost.dbr";
constexpr const char* kFormulaFailures[] = {
    "-=- Item Equation load failure : itemCostEquation ",
    "-=- Item Equation load failure : itemStrengthEquation ",
    "-=- Item Equation load failure : itemDexterityEquation ",
    "-=- Item Equation load failure : itemIntelligenceEquation ",
    "-=- Item Equation load failure : levelRequirementEquation ",
};
constexpr float kSkillJitterPercent = 20.0f;

// A requirement from its formula: never below 0, rounded half up.
std::uint32_t FormulaRequirement(float value) {
    return static_cast<std::uint32_t>(TruncateToInt(std::max(value, 0.0f) + 0.5f));
}
}  // namespace

ItemEquipment::ItemEquipment() = default;

ItemEquipment::~ItemEquipment() = default;

void ItemEquipment::ApplyKindRow(const EquipmentKindRow& row) {
    if (row.itemType != kInherit)
        itemType = static_cast<Item_Type>(row.itemType);
    if (row.marketType != kInherit)
        marketType = static_cast<Market_TypeEnum>(row.marketType);
    if (row.weaponType != kInherit)
        weaponType = static_cast<Weapon_Type>(row.weaponType);
    if (row.rightHand != kInherit)
        rightHand = static_cast<EquipmentHandTypes>(row.rightHand);
    if (row.leftHand != kInherit)
        leftHand = static_cast<EquipmentHandTypes>(row.leftHand);
    if (row.armorPiece != kInherit)
        armorPieceCode = static_cast<CombatAttributeRegion>(row.armorPiece);
    for (int i = 0; i < kFormulaCount; ++i)
        if (row.formulaKeys[i])
            formulaKeys[i] = row.formulaKeys[i];
    for (int i = 0; i < 3; ++i) {
        if (row.kindReductions[i] != kInherit)
            kindReductionAttributes[i] = static_cast<CharAttributeType>(row.kindReductions[i]);
        if (row.groupReductions[i] != kInherit)
            groupReductionAttributes[i] = static_cast<CharAttributeType>(row.groupReductions[i]);
    }
}

void ItemEquipment::Load(const LoadTable& record) {
    Item::Load(record);
    itemNameTag = record.GetString("itemNameTag");
    itemStyleTag = record.GetString("itemStyleTag");
    itemQualityTag = record.GetString("itemQualityTag");
    bitmap = record.GetString("bitmap");
    bitmapFemale = record.GetString("bitmapFemale");
    attributeScalePercent = record.GetFloat("attributeScalePercent", 0.0f);
    itemSetName = record.GetString("itemSetName");
    hidePrefixName = record.GetBool("hidePrefixName", false);
    hideSuffixName = record.GetBool("hideSuffixName", false);
    skillAugments.Clear();
    skillAugments.Load(record);

    std::string costRecord = record.GetString("itemCostName");
    if (costRecord.empty()) {
        GameEngine* engine = gGameEngine;
        costRecord = engine
                         ? engine->GetDatabase().GetString("itemCostName", kDefaultItemCostRecord)
                         : std::string(kDefaultItemCostRecord);
    }
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    if (!objects.LoadTableFile(costRecord))
        return;
    const LoadTable formulas = objects.GetLoadTable(costRecord);
    for (int i = 0; i < kFormulaCount; ++i)
        SetEquation(static_cast<FormulaIndex>(i), formulas.GetString(formulaKeys[i].c_str()));
}

void ItemEquipment::SetEquation(FormulaIndex index, const std::string& text) {
    equations[index].reset();
    if (!text.empty()) {
        auto equation = std::make_unique<DesignerEquation_Algebra>();
        if (equation->ParseEquation(text.c_str(), this))
            equations[index] = std::move(equation);
        else
            gEngine->Log(1, "%s", kFormulaFailures[index]);
    }
    costEquation = equations[kCostFormula].get();
}

void ItemEquipment::CreateItemRacialBonus(const LoadTable& record) {
    if (auto bonus = RacialBonus::Create(record))
        racialBonuses.push_back(std::move(bonus));
}

void ItemEquipment::InitializeItem() {
    Item::InitializeItem();
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    if (!objects.LoadTableFile(GetObjectName()))
        return;
    const LoadTable base = objects.GetLoadTable(GetObjectName());

    // Everything below is rebuilt from the records alone, so a second run gives the same item.
    racialBonuses.clear();
    classification = ItemClassification::Common;
    SetItemClassification(base);
    skillAugments.Clear();
    skillAugments.Load(base);
    marketAdjustmentPercent = 0.0f;
    prefixCost = 0;
    suffixCost = 0;
    prefixDisplayName.clear();
    suffixDisplayName.clear();
    itemCostValue = 0;

    LoadTable prefixRecord, suffixRecord;
    const LoadTable* prefix = nullptr;
    const LoadTable* suffix = nullptr;
    if (!replicaInfo.prefixName.empty() && objects.LoadTableFile(replicaInfo.prefixName)) {
        prefixRecord = objects.GetLoadTable(replicaInfo.prefixName);
        prefix = &prefixRecord;
        CreateItemRacialBonus(prefixRecord);
    }
    if (!replicaInfo.suffixName.empty() && objects.LoadTableFile(replicaInfo.suffixName)) {
        suffixRecord = objects.GetLoadTable(replicaInfo.suffixName);
        suffix = &suffixRecord;
        CreateItemRacialBonus(suffixRecord);
    }
    CreateItemRacialBonus(base);

    RandomUniform random;
    SeedItemGenerator(random, replicaInfo.seed);
    charAttributes.SetRandomGen(&random);
    skillAttributes.SetRandomGen(&random);
    damageAttributes.SetRandomGen(&random);
    retaliationAttributes.SetRandomGen(&random);
    defenseAttributes.SetRandomGen(&random);
    charAttributes.Load(base, prefix, suffix, armorFlag);
    skillAttributes.Load(base, prefix, suffix, armorFlag);
    damageAttributes.Load(base, prefix, suffix, armorFlag);
    retaliationAttributes.Load(base, prefix, suffix, armorFlag);
    defenseAttributes.Load(base, prefix, suffix, armorFlag, armorPieceCode);

    float scale = 0.0f;
    std::uint32_t prefixLevel = 0;
    std::uint32_t suffixLevel = 0;
    if (prefix) {
        prefixDisplayName = prefix->GetString("lootRandomizerName");
        prefixCost = prefix->GetInt("lootRandomizerCost", 0);
        scale += prefix->GetFloat("lootRandomizerScale", 0.0f);
        prefixLevel = prefix->GetUInt("levelRequirement", 0);
        marketAdjustmentPercent += prefix->GetFloat("marketAdjustmentPercent", 0.0f);
        skillAugments.Load(*prefix);
        SetItemClassification(*prefix);
        if (hidePrefixName)
            prefixDisplayName.clear();
    }
    if (suffix) {
        suffixDisplayName = suffix->GetString("lootRandomizerName");
        suffixCost = suffix->GetInt("lootRandomizerCost", 0);
        scale += suffix->GetFloat("lootRandomizerScale", 0.0f);
        suffixLevel = suffix->GetUInt("levelRequirement", 0);
        marketAdjustmentPercent += suffix->GetFloat("marketAdjustmentPercent", 0.0f);
        skillAugments.Load(*suffix);
        SetItemClassification(*suffix);
        if (hideSuffixName)
            suffixDisplayName.clear();
    }
    scale += base.GetFloat("attributeScalePercent", 0.0f);
    if (scale != 0.0f) {
        charAttributes.ScaleAttributes(scale);
        skillAttributes.ScaleAttributes(scale);
        damageAttributes.ScaleAttributes(scale);
        retaliationAttributes.ScaleAttributes(scale);
        defenseAttributes.ScaleAttributes(scale);
    }
    skillAttributes.AddJitter(kSkillJitterPercent);

    charCost.Clear();
    skillCost.Clear();
    defenseCost.Clear();
    damageCost.Clear();
    retaliationCost.Clear();
    augmentCost.Clear();
    charAttributes.GetCostInfo(charCost);
    skillAttributes.GetCostInfo(skillCost);
    defenseAttributes.GetCostInfo(defenseCost);
    damageAttributes.GetCostInfo(damageCost);
    retaliationAttributes.GetCostInfo(retaliationCost);
    skillAugments.GetCostInfo(augmentCost);

    if (costEquation) {
        const float e = (*costEquation)();
        itemCostValue =
            TruncateToInt(e + e * (marketAdjustmentPercent + itemCostScalePercent) * 0.01f + 0.5f);
    }
    std::uint32_t* requirements[] = {&strengthRequirement, &dexterityRequirement,
                                     &intelligenceRequirement, &levelRequirement};
    const char* requirementKeys[] = {"strengthRequirement", "dexterityRequirement",
                                     "intelligenceRequirement", "levelRequirement"};
    for (int i = 0; i < 4; ++i) {
        // The record's own value each run: a formula result never sticks as a record value.
        *requirements[i] = base.GetUInt(requirementKeys[i], 0);
        if (*requirements[i] == 0 && equations[kStrengthFormula + i])
            *requirements[i] = FormulaRequirement((*equations[kStrengthFormula + i])());
    }
    levelRequirement = std::max({levelRequirement, prefixLevel, suffixLevel});

    if (GameEngine* engine = gGameEngine; engine && !itemSetName.empty())
        engine->LoadItemSet(itemSetName);
    skillAugments.CreateItemSkills();
    AddRelic(replicaInfo.relicName, replicaInfo.relicBonusName, replicaInfo.relicLevel);
    charAttributes.SetRandomGen(nullptr);
    skillAttributes.SetRandomGen(nullptr);
    damageAttributes.SetRandomGen(nullptr);
    retaliationAttributes.SetRandomGen(nullptr);
    defenseAttributes.SetRandomGen(nullptr);
    InitializeEquipmentSpecial(prefix, suffix);
}

void ItemEquipment::InitializeEquipmentSpecial(const LoadTable*, const LoadTable*) {}

void ItemEquipment::CreateUIAttributeText(std::vector<GameTextLine>&) {}

int ItemEquipment::GetItemCost(bool withRelic) {
    int cost = itemCostValue;
    if (ItemRelic* inserted = relic.Get())
        cost += inserted->GetItemCost(withRelic);
    return cost;
}

float ItemEquipment::GetTotalAttrCostCount() const {
    return static_cast<float>(charCost.GetTotalCount() + skillCost.GetCount() +
                              defenseCost.GetCount() + damageCost.GetCount() +
                              retaliationCost.GetCount() + augmentCost.GetCount());
}

void ItemEquipment::DumpCostAttributes() {
    Item::DumpCostAttributes();
    charCost.Dump();
    skillCost.Dump();
    defenseCost.Dump();
    damageCost.Dump();
    retaliationCost.Dump();
    augmentCost.Dump();
    gEngine->Log(0, "Total Attr Count %f", static_cast<double>(GetTotalAttrCostCount()));
    if (costEquation) {
        const float e = (*costEquation)();
        gEngine->Log(0, "^bCalculated Cost: %f, Rounded Cost: %f", static_cast<double>(e),
                     static_cast<double>(TruncateToInt(e + 0.5f)));
    }
}

ItemClassification ItemEquipment::GetItemClassification() const {
    if (ItemRelic* inserted = relic.Get())
        return inserted->GetItemClassification();
    return classification;
}

bool ItemEquipment::GetDesignerVariable(const char* name, float& value) {
    const std::string_view key(name);
    auto count = [](int n) { return static_cast<float>(n); };
    struct Entry {
        std::string_view name;
        float value;
    };
    const CostInfo_CharacterAttributes& c = charCost;
    const Entry entries[] = {
        {"itemLevel", static_cast<float>(itemLevel)},
        {"itemAttrScale", attributeScalePercent},
        {"charPrimaryAtt", c.primaryAtt},
        {"charPrimaryAttCount", count(c.primaryAttCount)},
        {"charSecondaryAtt", c.secondaryAtt},
        {"charSecondaryAttCount", count(c.secondaryAttCount)},
        {"charBonus", c.bonus},
        {"charBonusCount", count(c.bonusCount)},
        {"charPrimaryMod", c.primaryMod},
        {"charPrimaryModCount", count(c.primaryModCount)},
        {"charSecondaryMod", c.secondaryMod},
        {"charSecondaryModCount", count(c.secondaryModCount)},
        {"charBonusMod", c.bonusMod},
        {"charBonusModCount", count(c.bonusModCount)},
        {"charAttackSpeed", c.attackSpeed},
        {"charAttackSpeedCount", count(c.attackSpeedCount)},
        {"charOtherSpeed", c.otherSpeed},
        {"charOtherSpeedCount", count(c.otherSpeedCount)},
        {"charAttackSpeedMod", c.attackSpeedMod},
        {"charAttackSpeedModCount", count(c.attackSpeedModCount)},
        {"charOtherSpeedMod", c.otherSpeedMod},
        {"charOtherSpeedModCount", count(c.otherSpeedModCount)},
        {"skillAttrBase", skillCost.base},
        {"skillAttrBonus", skillCost.bonus},
        {"skillAttrModifier", skillCost.modifier},
        {"skillAttrBonusCount", count(skillCost.bonusCount)},
        {"defenseAttrArmor", defenseCost.armor},
        {"defenseAttrBase", defenseCost.base},
        {"defenseAttrBaseDuration", defenseCost.baseDuration},
        {"defenseAttrMod", defenseCost.mod},
        {"defenseAttrModDuration", defenseCost.modDuration},
        {"defenseAttrCount", count(defenseCost.count)},
        {"damageAvgBase", damageCost.avgBase},
        {"damageAvgPierceRatio", damageCost.avgPierceRatio},
        {"damageAvgBonus", damageCost.avgBonus},
        {"damageAvgOverTime", damageCost.avgOverTime},
        {"damageMod", damageCost.mod},
        {"damageModDur", damageCost.modDur},
        {"damageCount", count(damageCost.count)},
        {"retaliationAvgBonus", retaliationCost.avgBonus},
        {"retaliationAvgOverTime", retaliationCost.avgOverTime},
        {"retaliationMod", retaliationCost.mod},
        {"retaliationModDur", retaliationCost.modDur},
        {"retaliationCount", count(retaliationCost.count)},
        {"skillAugmentLevel", count(augmentCost.augmentLevel)},
        {"skillAugmentCount", count(augmentCost.augmentCount)},
        {"shieldBlockChance", shieldCost.blockChance},
        {"shieldBlockDefense", shieldCost.blockDefense},
        {"shieldBlockAbsorption", shieldCost.blockAbsorption},
        {"shieldBlockRecoveryTime", shieldCost.blockRecoveryTime},
        {"totalAttCount", GetTotalAttrCostCount()},
        {"charAttrBase", 0.0f},
        {"charAttrBonus", 0.0f},
        {"charAttrModifier", 0.0f},
        {"charAttrSpeed", 0.0f},
        {"charAttrBonusCount", 0.0f},
        {"itemBaseCost", static_cast<float>(GetBaseItemCost())},
        {"itemPrefixCost", static_cast<float>(prefixCost)},
        {"itemSuffixCost", static_cast<float>(suffixCost)},
    };
    for (const Entry& entry : entries)
        if (entry.name == key) {
            value = entry.value;
            return true;
        }
    return false;
}

}  // namespace GAME
