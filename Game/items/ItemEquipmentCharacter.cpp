// Equipment on a character: attaching, requirements, attributes, the relic and the text.
#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/text/LocalizationManager.h"
#include "Game/characters/Character.h"
#include "Game/core/GameEngine.h"
#include "Game/items/ItemCharacterServices.h"
#include "Game/items/ItemEquipment.h"
#include "Game/items/ItemRelic.h"
#include "Game/items/ItemSet.h"
#include "Game/rules/RacialBonus.h"

namespace GAME {

namespace {
constexpr int kFemale = 2;
}  // namespace

std::string ItemEquipment::GetBitmap() {
    return gender == kFemale && !bitmapFemale.empty() ? bitmapFemale : bitmap;
}

std::string ItemEquipment::GetUIBitmapOverlay() {
    ItemRelic* inserted = relic.Get();
    return inserted ? inserted->GetRelicOverlayBitmap() : std::string();
}

void ItemEquipment::AttachItem(Character* character, const char* attachPoint) {
    Item::AttachItem(character, attachPoint);
    if (!character)
        return;
    skillAugments.InstallOnCharacter(*character, GetObjectId());
    if (!itemSetName.empty())
        ItemCharacterServices::Get().AddItemToSet(*character, itemSetName, GetObjectName());
    if (ItemRelic* inserted = relic.Get())
        inserted->InstallOnCharacter(character);
}

void ItemEquipment::DetachItem(Character* character) {
    Item::DetachItem(character);
    if (!character)
        return;
    skillAugments.RemoveFromCharacter(*character, GetObjectId());
    if (!itemSetName.empty())
        ItemCharacterServices::Get().RemoveItemFromSet(*character, itemSetName, GetObjectName());
    if (ItemRelic* inserted = relic.Get())
        inserted->RemoveFromCharacter(character);
}

void ItemEquipment::GetCharAttributes(CharAttributeAccumulator& accumulator) {
    charAttributes.AddToAccumulator(accumulator, 1);
    if (ItemRelic* inserted = relic.Get())
        inserted->GetCharAttributes(accumulator);
}

void ItemEquipment::GetSkillAttributes(SkillAttributeAccumulator& accumulator) {
    skillAttributes.AddToAccumulator(accumulator, 1);
    if (ItemRelic* inserted = relic.Get())
        inserted->GetSkillAttributes(accumulator);
}

void ItemEquipment::GetOffensiveDamageAttributes(CombatAttributeAccumulator& accumulator) {
    damageAttributes.AddDamageToAccumulator(accumulator, 1);
    if (ItemRelic* inserted = relic.Get())
        inserted->GetOffensiveDamageAttributes(accumulator);
}

void ItemEquipment::GetOffensiveModifierAttributes(CombatAttributeAccumulator& accumulator) {
    damageAttributes.AddModifierToAccumulator(accumulator, 1);
    if (ItemRelic* inserted = relic.Get())
        inserted->GetOffensiveModifierAttributes(accumulator);
}

void ItemEquipment::GetRetaliationAttributes(CombatAttributeAccumulator& accumulator) {
    retaliationAttributes.AddDamageToAccumulator(accumulator, 1);
    retaliationAttributes.AddModifierToAccumulator(accumulator, 1);
    if (ItemRelic* inserted = relic.Get())
        inserted->GetRetaliationAttributes(accumulator);
}

void ItemEquipment::GetDefenseAttributes(CombatAttributeAccumulator& accumulator) {
    defenseAttributes.AddToAccumulator(accumulator, 1);
    if (ItemRelic* inserted = relic.Get())
        inserted->GetDefenseAttributes(accumulator);
}

void ItemEquipment::ContributeRacialBonusDamage(std::vector<RacialBonusContribution>& bonuses) {
    for (const auto& bonus : racialBonuses)
        bonuses.push_back({bonus.get(), 1});
    if (ItemRelic* inserted = relic.Get())
        inserted->ContributeRacialBonusDamage(bonuses);
}

void ItemEquipment::ContributeRacialBonusDefense(std::vector<RacialBonusContribution>& bonuses) {
    for (const auto& bonus : racialBonuses)
        bonuses.push_back({bonus.get(), 1});
    if (ItemRelic* inserted = relic.Get())
        inserted->ContributeRacialBonusDefense(bonuses);
}

std::uint32_t ItemEquipment::GetLevelRequirement() const {
    ItemRelic* inserted = relic.Get();
    return inserted ? std::max(levelRequirement, inserted->GetLevelRequirement())
                    : levelRequirement;
}

std::uint32_t ItemEquipment::GetStrengthRequirement() const {
    ItemRelic* inserted = relic.Get();
    return inserted ? std::max(strengthRequirement, inserted->GetStrengthRequirement())
                    : strengthRequirement;
}

std::uint32_t ItemEquipment::GetDexterityRequirement() const {
    ItemRelic* inserted = relic.Get();
    return inserted ? std::max(dexterityRequirement, inserted->GetDexterityRequirement())
                    : dexterityRequirement;
}

std::uint32_t ItemEquipment::GetIntelligenceRequirement() const {
    ItemRelic* inserted = relic.Get();
    return inserted ? std::max(intelligenceRequirement, inserted->GetIntelligenceRequirement())
                    : intelligenceRequirement;
}

std::array<float, 3> ItemEquipment::GetRequirementReductions(const Character* character) const {
    std::array<float, 3> reductions{};
    if (!character)
        return reductions;
    ItemCharacterServices& services = ItemCharacterServices::Get();
    const float global =
        services.GetTotalCharAttribute(*character, CharAttributeType::GlobalReqReduction);
    for (int i = 0; i < 3; ++i) {
        if (kindReductionAttributes[i] != CharAttributeType{})
            reductions[i] += services.GetTotalCharAttribute(*character, kindReductionAttributes[i]);
        if (groupReductionAttributes[i] != CharAttributeType{})
            reductions[i] +=
                services.GetTotalCharAttribute(*character, groupReductionAttributes[i]);
        if (global > 0.0f)
            reductions[i] += global;
    }
    return reductions;
}

bool ItemEquipment::AreRequirementsMet(const Character* character) {
    if (!Item::AreRequirementsMet(character))
        return false;
    const std::array<float, 3> values = GetAbilityValues(character);
    const std::array<float, 3> reductions = GetRequirementReductions(character);
    return MeetsRequirements(values[0], GetStrengthRequirement(), reductions[0]) &&
           MeetsRequirements(values[1], GetDexterityRequirement(), reductions[1]) &&
           MeetsRequirements(values[2], GetIntelligenceRequirement(), reductions[2]);
}

void ItemEquipment::GetUIRequirementText(const Character* character,
                                         std::vector<GameTextLine>& lines) {
    Item::GetUIRequirementText(character, lines);
    const std::array<float, 3> values = GetAbilityValues(character);
    const std::array<float, 3> reductions = GetRequirementReductions(character);
    GenerateRequirementText(values[0], GetStrengthRequirement(), reductions[0], "Strength", lines);
    GenerateRequirementText(values[1], GetDexterityRequirement(), reductions[1], "Dexterity",
                            lines);
    GenerateRequirementText(values[2], GetIntelligenceRequirement(), reductions[2], "Intelligence",
                            lines);
}

void ItemEquipment::UpdateReplicaInfo() {
    ItemRelic* inserted = relic.Get();
    if (!inserted)
        return;
    replicaInfo.relicName = inserted->GetObjectName();
    replicaInfo.relicBonusName = inserted->GetReplicaInfo().relicBonusName;
    replicaInfo.relicLevel = inserted->GetReplicaInfo().relicLevel;
    if (Character* character = GetCharacter()) {
        inserted->RemoveFromCharacter(character);
        inserted->InstallOnCharacter(character);
    }
}

bool ItemEquipment::HasRelic() const {
    return relic.Get() != nullptr;
}

ItemRelic* ItemEquipment::GetRelic() const {
    return relic.Get();
}

void ItemEquipment::AddRelic(const std::string& relicName, const std::string& relicBonus,
                             std::uint32_t relicLevel) {
    Character* character = GetCharacter();
    if (character)
        character->CharAttributeInputsChanged();
    if (ItemRelic* inserted = relic.Get()) {
        if (character)
            inserted->RemoveFromCharacter(character);
        relic.Reset();
    }
    if (!relicName.empty()) {
        ItemReplicaInfo record;
        record.baseName = relicName;
        record.relicBonusName = relicBonus;
        record.relicLevel = relicLevel;
        Item* made = Item::CreateItem(record);
        if (made && made->IsA<ItemRelic>()) {
            relic.Reset(static_cast<ItemRelic*>(made));
        } else if (made) {
            gEngine->Log(1, "ItemEquipment: %s names %s as its relic, which is no relic",
                         GetObjectName().c_str(), relicName.c_str());
            Singleton<ObjectManager>::Get().DestroyObjectEx(made, "Game/ItemEquipment", __LINE__);
        }
        replicaInfo.relicName = relicName;
        replicaInfo.relicBonusName = relicBonus;
        replicaInfo.relicLevel = relicLevel;
    }
    if (ItemRelic* inserted = relic.Get(); inserted && character)
        inserted->InstallOnCharacter(character);
}

void ItemEquipment::GetUIDisplayText_RacialBonus(std::vector<GameTextLine>& lines) const {
    for (const auto& bonus : racialBonuses)
        bonus->GetUIDisplayText(1, GameTextClass_ItemBonuses, lines);
}

void ItemEquipment::GetUIDisplayText(const Character* character, std::vector<GameTextLine>& lines) {
    Item::GetUIDisplayText(character, lines);
    CreateUIAttributeText(lines);
    GetUIDisplayText_RacialBonus(lines);
    skillAugments.GetUIDisplayText(GameTextClass_ItemBonuses, lines);
    GameEngine* engine = gGameEngine;
    if (const ItemSet* set =
            engine && !itemSetName.empty() ? engine->GetItemSet(itemSetName) : nullptr) {
        AppendSpacerLine(lines);
        std::vector<std::string> worn;
        if (character)
            worn = ItemCharacterServices::Get().GetItemsInSet(*character, itemSetName);
        set->GetUIDisplayText(worn, lines);
    }
    if (ItemRelic* inserted = relic.Get()) {
        AppendSpacerLine(lines);
        inserted->GetBoundUIDisplayText(lines);
    }
    AppendSpacerLine(lines);
    GetUIRequirementText(character, lines);
}

}  // namespace GAME

namespace GAME {

std::wstring ItemEquipment::FormatKindName(const char* magicalFormat,
                                           const char* commonFormat) const {
    const LocalizationManager& texts = LocalizationManager::Instance();
    const bool magical = !prefixDisplayName.empty() || !suffixDisplayName.empty();
    return texts.Format(magical ? magicalFormat : commonFormat, texts.GetText(itemNameTag),
                        texts.GetText(itemQualityTag), texts.GetText(itemStyleTag),
                        texts.GetText(prefixDisplayName), texts.GetText(suffixDisplayName));
}

void ItemEquipment::AppendAttributeText(const char* layout, std::vector<GameTextLine>& lines) {
    std::array<std::vector<std::wstring>, 3> damage, retaliation;
    std::array<std::vector<std::wstring>, 2> defense, character;
    std::vector<std::wstring> skill;
    damageAttributes.CreateText(damage[0], damage[1], damage[2], 1);
    retaliationAttributes.CreateText(retaliation[0], retaliation[1], retaliation[2], 1);
    defenseAttributes.CreateText(defense[0], defense[1], 1);
    charAttributes.CreateText(character[0], character[1], 1);
    skillAttributes.CreateText(skill, 1);
    for (const char* at = layout; *at; ++at) {
        if (*at == ' ')
            continue;
        if (*at == '-') {
            AppendSpacerLine(lines);
            continue;
        }
        const char family = at[0];
        const int index = at[1] - '1';
        const GameTextClass textClass =
            at[2] == 'B' ? GameTextClass_ItemBaseStats : GameTextClass_ItemBonuses;
        at += 2;
        const std::vector<std::wstring>* list = nullptr;
        switch (family) {
            case 'D':
                list = &damage[index];
                break;
            case 'R':
                list = &retaliation[index];
                break;
            case 'F':
                list = &defense[index];
                break;
            case 'C':
                list = &character[index];
                break;
            case 'S':
                list = &skill;
                break;
            default:
                break;
        }
        if (list)
            for (const std::wstring& text : *list)
                lines.emplace_back(textClass, text);
    }
}

}  // namespace GAME
