// Requirements, their text and the plain item cost.
#include <cmath>
#include <limits>

#include "Engine/text/LocalizationManager.h"
#include "Game/characters/Character.h"
#include "Game/items/Item.h"
#include "Game/items/ItemCharacterServices.h"
#include "Game/items/ItemRounding.h"

namespace GAME {

namespace {
float ReducedRequirement(std::uint32_t requirement, float reductionPercent) {
    const float value = static_cast<float>(requirement);
    return value - value * reductionPercent * 0.01f + 0.5f;
}
}  // namespace

bool Item::MeetsRequirements(float value, std::uint32_t requirement, float reductionPercent) {
    if (requirement == 0)
        return true;
    return static_cast<float>(TruncateToInt(ReducedRequirement(requirement, reductionPercent))) <=
           value;
}

bool Item::AreRequirementsMet(const Character* character) {
    float level = 0.0f;
    float reduction = 0.0f;
    if (character) {
        level = static_cast<float>(character->GetCharLevel());
        reduction = ItemCharacterServices::Get().GetTotalCharAttribute(
            *character, CharAttributeType::LevelReqReduction);
    }
    return MeetsRequirements(level, GetLevelRequirement(), reduction);
}

bool Item::IsItemAvailable(const Character* character, float strength, float dexterity,
                           float intelligence) {
    const float level = character ? static_cast<float>(character->GetCharLevel()) : 0.0f;
    if (strength >= static_cast<float>(strengthRequirement) &&
        dexterity >= static_cast<float>(dexterityRequirement) &&
        intelligence >= static_cast<float>(intelligenceRequirement) &&
        level >= static_cast<float>(GetLevelRequirement()))
        return true;
    return AreRequirementsMet(character);
}

void Item::GenerateRequirementText(float value, std::uint32_t requirement, float reductionPercent,
                                   const char* labelTag, std::vector<GameTextLine>& lines) {
    if (requirement == 0)
        return;
    const int reduced =
        std::max(0, TruncateToInt(ReducedRequirement(requirement, reductionPercent)));
    const LocalizationManager& texts = LocalizationManager::Instance();
    const std::wstring label = texts.GetText(labelTag);
    const double required = requirement;
    const double reducedValue = reduced;
    const double percent = reductionPercent;
    std::wstring text;
    if (value >= static_cast<float>(requirement))
        text = texts.Format("MeetsRequirement", label, required);
    else if (value >= static_cast<float>(reduced))
        text =
            texts.Format("MeetsRequirementWithReduction", label, reducedValue, required, percent);
    else if (reductionPercent > 0.0f)
        text =
            texts.Format("FailsRequirementWithReduction", label, reducedValue, required, percent);
    else
        text = texts.Format("FailsRequirement", label, required);
    lines.emplace_back(GameTextClass_ItemRequirements, text);
}

void Item::GetUIRequirementText(const Character* character, std::vector<GameTextLine>& lines) {
    float level = 0.0f;
    float reduction = 0.0f;
    if (character) {
        level = static_cast<float>(character->GetCharLevel());
        reduction = ItemCharacterServices::Get().GetTotalCharAttribute(
            *character, CharAttributeType::LevelReqReduction);
    }
    GenerateRequirementText(level, GetLevelRequirement(), reduction, "LevelRequirement", lines);
}

int Item::GetItemCost(bool) {
    const float base = static_cast<float>(GetBaseItemCost());
    return TruncateToInt(base + base * itemCostScalePercent * 0.01f + 0.5f);
}

}  // namespace GAME
