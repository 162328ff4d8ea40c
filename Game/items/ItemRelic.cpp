#include "Game/items/ItemRelic.h"

#include "Engine/media/sound/SoundPak.h"
#include "Engine/text/LocalizationManager.h"
#include "Game/characters/Character.h"
#include "Game/core/ObjectLookup.h"
#include "Game/core/util/StringUtil.h"
#include "Game/items/ItemCharacterServices.h"
#include "Game/items/ItemRounding.h"
#include "Game/items/ItemSeed.h"
#include "Game/items/ItemText.h"
#include "Game/items/cursor/CursorHandlerRelicCombine.h"
#include "Game/items/kinds/Weapon.h"
#include "Game/items/loot/LootRandomizerTable.h"
#include "Game/rules/RacialBonus.h"

namespace GAME {

RTTI_IMPLEMENT(ItemRelic, Item)
RTTI_IMPLEMENT(ItemCharm, ItemRelic)

namespace {
constexpr ItemRelic::TextTags kRelicTags{"tagRelicShard", "tagRelicComplete",   "tagRelicRatio",
                                         "tagRelicBonus", "tagRelicDirections", "tagRelicError"};
constexpr ItemRelic::TextTags kCharmTags{"tagAnimalPart",           "tagAnimalPartComplete",
                                         "tagAnimalPartRatio",      "tagAnimalPartcompleteBonus",
                                         "tagAnimalPartDirections", "tagRelicError"};
constexpr const char* kSlotKeys[ItemRelic::kSlotCount] = {
    "amulet", "bracelet", "ring",  "armband", "helmet", "greaves", "bodyArmor",
    "shield", "bow",      "spear", "staff",   "axe",    "mace",    "sword"};

// The equipment class each slot word admits, in the order the filter tests them.
struct SlotClass {
    const RTTI_ClassInfo* info;
    ItemRelic::Slot slot;
};
const SlotClass kSlotClasses[] = {
    {&ArmorJewelry_Amulet::classInfo, ItemRelic::kAmulet},
    {&ArmorJewelry_Bracelet::classInfo, ItemRelic::kBracelet},
    {&ArmorJewelry_Ring::classInfo, ItemRelic::kRing},
    {&ArmorProtective_Forearm::classInfo, ItemRelic::kArmband},
    {&ArmorProtective_Head::classInfo, ItemRelic::kHelmet},
    {&ArmorProtective_LowerBody::classInfo, ItemRelic::kGreaves},
    {&ArmorProtective_UpperBody::classInfo, ItemRelic::kBodyArmor},
    {&WeaponArmor_Shield::classInfo, ItemRelic::kShield},
    {&WeaponHunting_Bow::classInfo, ItemRelic::kBow},
    {&WeaponHunting_Spear::classInfo, ItemRelic::kSpear},
    {&WeaponMagical_Staff::classInfo, ItemRelic::kStaff},
    {&WeaponMelee_Axe::classInfo, ItemRelic::kAxe},
    {&WeaponMelee_Mace::classInfo, ItemRelic::kMace},
    {&WeaponMelee_Sword::classInfo, ItemRelic::kSword},
};

LoadTable LoadRecord(const std::string& name) {
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    objects.LoadTableFile(name);
    return objects.GetLoadTable(name);
}
}  // namespace

ItemRelic::ItemRelic() : tags(kRelicTags) {
    SetClassification(ItemClassification::Relic);
}

ItemRelic::~ItemRelic() = default;

ItemCharm::ItemCharm() {
    tags = kCharmTags;
}

void ItemRelic::Load(const LoadTable& record) {
    Item::Load(record);
    completedRelicLevel = record.GetUInt("completedRelicLevel", 0);
    shardBitmap = record.GetString("shardBitmap");
    relicBitmap = record.GetString("relicBitmap");
    itemOverlayBitmap = record.GetString("itemOverlayBitmap");
    attributes.LoadFromTable(record);
    bonusTableName = record.GetString("bonusTableName");
    racialBonus = RacialBonus::Create(record);
    relicToRelicSound.Reset(GetSoundPakFromRecord(record, "relicToRelicSound"));
    relicToItemSound.Reset(GetSoundPakFromRecord(record, "relicToItemSound"));
    relicCompleteSound.Reset(GetSoundPakFromRecord(record, "relicCompleteSound"));
    for (int i = 0; i < kSlotCount; ++i)
        slots[i] = record.GetBool(kSlotKeys[i], false);
    SetClassification(ItemClassification::Relic);
}

void ItemRelic::PreLoad(bool now) {
    Item::PreLoad(now);
    for (SoundPak* pack :
         {relicToRelicSound.Get(), relicToItemSound.Get(), relicCompleteSound.Get()})
        if (pack)
            pack->PreLoad(now);
}

std::unique_ptr<CursorHandler> ItemRelic::CreateSecondaryCursorHandler(const Character* character) {
    if (!AreRequirementsMet(character))
        return nullptr;
    return std::make_unique<CursorHandlerRelicCombine>();
}

void ItemRelic::LoadBonus(const std::string& bonusRecord) {
    bonusAttributes = std::make_unique<AttributePak>();
    bonusAttributes->LoadFromDatabase(bonusRecord);
    skillAugments.Load(LoadRecord(bonusRecord));
    bonusRacialBonus = RacialBonus::CreateFromFile(bonusRecord);
}

void ItemRelic::InitializeItem() {
    Item::InitializeItem();
    // Rebuilt from the record alone.
    skillAugments.Clear();
    bonusAttributes.reset();
    bonusRacialBonus.reset();
    if (replicaInfo.relicLevel != 0)
        SetRelicLevel(replicaInfo.relicLevel);
    if (IsComplete())
        skillAugments.Load(LoadRecord(GetObjectName()));
    if (!replicaInfo.relicBonusName.empty())
        LoadBonus(replicaInfo.relicBonusName);
    skillAugments.CreateItemSkills();
}

std::string ItemRelic::GetBitmap() {
    return IsComplete() ? relicBitmap : shardBitmap;
}

std::string ItemRelic::GetRelicOverlayBitmap() {
    return itemOverlayBitmap;
}

void ItemRelic::GetUIBitmapText(std::wstring& text) const {
    if (!IsComplete())
        text += LocalizationManager::Instance().Format("IntFormat", relicLevel);
}

void ItemRelic::GetCharAttributes(CharAttributeAccumulator& accumulator) {
    attributes.GetCharAttributes(accumulator, relicLevel);
    if (bonusAttributes)
        bonusAttributes->GetCharAttributes(accumulator, 1);
}

void ItemRelic::GetSkillAttributes(SkillAttributeAccumulator& accumulator) {
    attributes.GetSkillAttributes(accumulator, relicLevel);
    if (bonusAttributes)
        bonusAttributes->GetSkillAttributes(accumulator, 1);
}

void ItemRelic::GetOffensiveDamageAttributes(CombatAttributeAccumulator& accumulator) {
    attributes.GetOffensiveDamageAttributes(accumulator, relicLevel);
    if (bonusAttributes)
        bonusAttributes->GetOffensiveDamageAttributes(accumulator, 1);
}

void ItemRelic::GetOffensiveModifierAttributes(CombatAttributeAccumulator& accumulator) {
    attributes.GetOffensiveModifierAttributes(accumulator, relicLevel);
    if (bonusAttributes)
        bonusAttributes->GetOffensiveModifierAttributes(accumulator, 1);
}

void ItemRelic::GetRetaliationAttributes(CombatAttributeAccumulator& accumulator) {
    attributes.GetRetaliationAttributes(accumulator, relicLevel);
    if (bonusAttributes)
        bonusAttributes->GetRetaliationAttributes(accumulator, 1);
}

void ItemRelic::GetDefenseAttributes(CombatAttributeAccumulator& accumulator) {
    attributes.GetDefenseAttributes(accumulator, relicLevel);
    if (bonusAttributes)
        bonusAttributes->GetDefenseAttributes(accumulator, 1);
}

void ItemRelic::ContributeRacialBonusDamage(std::vector<RacialBonusContribution>& bonuses) {
    if (racialBonus)
        bonuses.push_back({racialBonus.get(), relicLevel});
    if (bonusRacialBonus)
        bonuses.push_back({bonusRacialBonus.get(), 1});
}

void ItemRelic::ContributeRacialBonusDefense(std::vector<RacialBonusContribution>& bonuses) {
    ContributeRacialBonusDamage(bonuses);
}

std::array<float, 3> ItemRelic::GetRequirementReductions(const Character* character) const {
    float global = 0.0f;
    if (character)
        global = std::max(0.0f, ItemCharacterServices::Get().GetTotalCharAttribute(
                                    *character, CharAttributeType::GlobalReqReduction));
    return {global, global, global};
}

bool ItemRelic::AreRequirementsMet(const Character* character) {
    if (!Item::AreRequirementsMet(character))
        return false;
    const std::array<float, 3> values = GetAbilityValues(character);
    const std::array<float, 3> reductions = GetRequirementReductions(character);
    return MeetsRequirements(values[0], strengthRequirement, reductions[0]) &&
           MeetsRequirements(values[1], dexterityRequirement, reductions[1]) &&
           MeetsRequirements(values[2], intelligenceRequirement, reductions[2]);
}

void ItemRelic::GetUIRequirementText(const Character* character, std::vector<GameTextLine>& lines) {
    Item::GetUIRequirementText(character, lines);
    const std::array<float, 3> values = GetAbilityValues(character);
    const std::array<float, 3> reductions = GetRequirementReductions(character);
    GenerateRequirementText(values[0], strengthRequirement, reductions[0], "Strength", lines);
    GenerateRequirementText(values[1], dexterityRequirement, reductions[1], "Dexterity", lines);
    GenerateRequirementText(values[2], intelligenceRequirement, reductions[2], "Intelligence",
                            lines);
}

int ItemRelic::GetItemCost(bool) {
    if (itemCost.empty())
        return 0;
    const std::size_t index =
        relicLevel == 0 || relicLevel > itemCost.size() ? itemCost.size() - 1 : relicLevel - 1;
    const float entry = static_cast<float>(itemCost[index]);
    // Truncated without the half added, unlike the plain item cost.
    return TruncateToInt(entry + entry * itemCostScalePercent * 0.01f);
}

void ItemRelic::SetRelicLevel(std::uint32_t level) {
    relicLevel = level;
    replicaInfo.relicLevel = level;
}

std::uint32_t ItemRelic::AddToRelicLevel(std::uint32_t count, bool playSound) {
    if (IsComplete())
        return 0;
    std::uint32_t level = relicLevel + count;
    std::uint32_t leftover = 0;
    if (level > completedRelicLevel) {
        leftover = level - completedRelicLevel;
        level = completedRelicLevel;
    }
    SetRelicLevel(level);
    if (!IsComplete()) {
        if (SoundPak* pack = relicToRelicSound.Get(); pack && playSound)
            pack->Play(GetPosition());
        return leftover;
    }
    skillAugments.Load(LoadRecord(GetObjectName()));
    LootRandomizerTable table;
    table.ManualLoad(bonusTableName);
    RandomUniform random;
    SeedItemGenerator(random, replicaInfo.seed);
    table.GetRandomizerName(replicaInfo.relicBonusName, random);
    if (!replicaInfo.relicBonusName.empty())
        LoadBonus(replicaInfo.relicBonusName);
    skillAugments.CreateItemSkills();
    if (SoundPak* pack = relicCompleteSound.Get(); pack && playSound)
        pack->Play(GetPosition());
    return leftover;
}

bool ItemRelic::TestCompatibility(ItemRelic* other) {
    return other && PathEqualsNoCaseStr(GetObjectName(), other->GetObjectName()) &&
           !other->IsComplete();
}

bool ItemRelic::ItemUseFilter(Entity* target) {
    if (!target)
        return false;
    for (const SlotClass& entry : kSlotClasses)
        if (target->IsA(*entry.info))
            return slots[entry.slot];
    return false;
}

bool ItemRelic::CanRelicBeUsedOn(Entity* target, bool& onEquipment) {
    onEquipment = false;
    if (!target || target == this)
        return false;
    if (target->IsA<ItemRelic>() && !IsComplete())
        return TestCompatibility(static_cast<ItemRelic*>(target));
    if (!target->IsA<ItemEquipment>())
        return false;
    auto* equipment = static_cast<ItemEquipment*>(target);
    if (ItemRelic* inserted = equipment->GetRelic())
        return TestCompatibility(inserted);
    onEquipment = true;
    const ItemClassification itemClass = equipment->GetItemClassification();
    if (itemClass == ItemClassification::Epic || itemClass == ItemClassification::Legendary)
        return false;
    return ItemUseFilter(target);
}

bool ItemRelic::UseRelicOn(Entity* target, bool playSound) {
    bool onEquipment = false;
    if (!CanRelicBeUsedOn(target, onEquipment))
        return false;
    if (target->IsA<ItemRelic>()) {
        SetRelicLevel(static_cast<ItemRelic*>(target)->AddToRelicLevel(relicLevel, playSound));
        return true;
    }
    auto* equipment = static_cast<ItemEquipment*>(target);
    if (ItemRelic* inserted = equipment->GetRelic()) {
        const std::uint32_t leftover = inserted->AddToRelicLevel(relicLevel, playSound);
        equipment->UpdateReplicaInfo();
        SetRelicLevel(leftover);
    } else {
        equipment->AddRelic(GetObjectName(), replicaInfo.relicBonusName, relicLevel);
        // The shards went into the item: the stored count goes with the level, so a save or a
        // replication of this relic before it is removed does not bring them back.
        SetRelicLevel(0);
    }
    if (SoundPak* pack = relicToItemSound.Get(); pack && playSound)
        pack->Play(GetPosition());
    return true;
}

void ItemRelic::InstallOnCharacter(Character* character) {
    if (character)
        skillAugments.InstallOnCharacter(*character, GetObjectId());
}

void ItemRelic::RemoveFromCharacter(Character* character) {
    if (character)
        skillAugments.RemoveFromCharacter(*character, GetObjectId());
}

void ItemRelic::AppendRelicNumberLine(std::vector<GameTextLine>& lines) const {
    const LocalizationManager& texts = LocalizationManager::Instance();
    if (IsComplete())
        lines.emplace_back(GameTextClass_ItemRelicNumber, LocalizeSimple(tags.complete));
    else
        lines.emplace_back(
            GameTextClass_ItemRelicNumber,
            texts.Format(tags.ratio, texts.GetText(tags.shard), relicLevel, completedRelicLevel));
}

void ItemRelic::AppendOwnBonusText(std::vector<GameTextLine>& lines) const {
    attributes.GetUIDisplayText(relicLevel, GameTextClass_ItemRelicBonus, lines);
    if (racialBonus)
        racialBonus->GetUIDisplayText(relicLevel, GameTextClass_ItemRelicBonus, lines);
}

void ItemRelic::AppendCompletionText(std::vector<GameTextLine>& lines) const {
    lines.emplace_back(GameTextClass_ItemRelicCompleteTitle, LocalizeSimple(tags.bonusTitle));
    if (bonusAttributes)
        bonusAttributes->GetUIDisplayText(1, GameTextClass_ItemRelicBonus, lines);
    skillAugments.GetUIDisplayText(GameTextClass_ItemRelicBonus, lines);
    if (bonusRacialBonus)
        bonusRacialBonus->GetUIDisplayText(1, GameTextClass_ItemRelicBonus, lines);
}

void ItemRelic::GetBoundUIDisplayText(std::vector<GameTextLine>& lines) {
    GetUIGameDescription(lines);
    AppendRelicNumberLine(lines);
    AppendOwnBonusText(lines);
    if (IsComplete())
        AppendCompletionText(lines);
}

void ItemRelic::GetUIDisplayText(const Character* character, std::vector<GameTextLine>& lines) {
    GetUIGameDescription(lines);
    AppendRelicNumberLine(lines);
    lines.emplace_back(GameTextClass_ItemRelicDescription, LocalizeSimple(itemText));
    AppendSpacerLine(lines);
    AppendOwnBonusText(lines);
    if (IsComplete()) {
        AppendSpacerLine(lines);
        AppendCompletionText(lines);
    }
    AppendSpacerLine(lines);
    GetUIRequirementText(character, lines);
    const char* direction = AreRequirementsMet(character) ? tags.directions : tags.error;
    lines.emplace_back(GameTextClass_ItemDirections, LocalizeSimple(direction));
}

}  // namespace GAME
