#include "Game/characters/CharacterSummary.h"

#include "Engine/object/ObjectManager.h"
#include "Engine/sys/Machine.h"
#include "Engine/text/LocalizationManager.h"
#include "Game/characters/Character.h"
#include "Game/skills/Skill.h"

namespace GAME {

void AppendCreatureSummaryText(const Character& character, const std::wstring& displayName,
                               GameTextClass textClass, std::vector<GameTextLine>& lines) {
    const LocalizationManager& texts = LocalizationManager::Instance();
    lines.emplace_back(textClass,
                       texts.Format("SkillPetDescriptionHealth",
                                    character.GetTotalCharAttribute(CharAttributeType::Life)));
    if (const float mana = character.GetTotalCharAttribute(CharAttributeType::Mana); mana > 0.0f)
        lines.emplace_back(textClass, texts.Format("SkillPetDescriptionMana", mana));
    AppendSpacerLine(lines);
    lines.emplace_back(textClass, texts.Format("tagSkillPetAbilities", displayName));

    ObjectManager& objects = Singleton<ObjectManager>::Get();
    bool listed = false;
    for (std::uint32_t id : character.GetSkillManager().GetUISkillList()) {
        const Skill* skill = objects.GetObject<Skill>(id);
        if (!skill || skill->GetSkillLevel() == 0 || !skill->IsPetDisplayable())
            continue;
        skill->CreateUIShortSummaryText(textClass, lines);
        AppendSpacerLine(lines);
        listed = true;
    }
    if (listed)
        return;
    float min = 0.0f;
    float max = 0.0f;
    character.GetCombatManager().GetHandHitDamage(min, max);
    if (!(min > 0.0f) && !(max > 0.0f))
        return;
    if (min == max)
        lines.emplace_back(textClass, texts.Format("SkillPetDescriptionDamageMinOnly", min));
    else
        lines.emplace_back(textClass, texts.Format("SkillPetDescriptionDamageMinMax", min, max));
    AppendSpacerLine(lines);
}

}  // namespace GAME
