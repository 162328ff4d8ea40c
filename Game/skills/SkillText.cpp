// The user-interface texts of a skill: its name and heading, the attribute texts of the current
// and next level, the modifier texts and the specialised lines of the kind's profile values.
#include "Engine/text/LocalizationManager.h"
#include "Game/characters/Character.h"
#include "Game/rules/CharAttributeStore.h"
#include "Game/rules/DefenseAttributeStore.h"
#include "Game/rules/SkillAttribute.h"
#include "Game/rules/damage/DamageAttributeStore.h"
#include "Game/rules/damage/RetaliationAttributeStore.h"
#include "Game/skills/Skill.h"
#include "Game/skills/profile/SkillProfile.h"
#include "Game/world/props/Prop.h"

namespace GAME {

namespace {

const LocalizationManager& Texts() {
    return LocalizationManager::Instance();
}

void Append(std::vector<GameTextLine>& lines, GameTextClass textClass,
            const std::vector<std::wstring>& texts) {
    for (const auto& text : texts)
        lines.emplace_back(textClass, text);
}

// The stores' texts in display order: damage, character, character penalty, skill,
// retaliation, defense, racial bonus. `next` 0 shows one level, else the change to `next`.
void AppendStoreTexts(const SkillProfile& p, unsigned level, unsigned next, GameTextClass textClass,
                      std::vector<GameTextLine>& lines) {
    std::vector<std::wstring> a, b, c;
    auto flush = [&] {
        Append(lines, textClass, a);
        Append(lines, textClass, b);
        Append(lines, textClass, c);
        a.clear();
        b.clear();
        c.clear();
    };
    if (next) {
        p.GetDamageAttrStore().CreateNextText(a, b, c, level, next);
        flush();
        p.GetCharAttrStore().CreateNextText(a, b, level, next);
        flush();
        p.GetCharAttrStorePenalty().CreateNextText(a, b, level, next);
        flush();
        p.GetSkillAttrStore().CreateNextText(a, level, next);
        flush();
        p.GetRetaliationAttrStore().CreateNextText(a, b, c, level, next);
        flush();
        p.GetDefenseAttrStore().CreateNextText(a, b, level, next);
        flush();
        p.GetRacialBonus().GetUINextParameterText(level, next, textClass, lines);
        return;
    }
    p.GetDamageAttrStore().CreateText(a, b, c, level);
    flush();
    p.GetCharAttrStore().CreateText(a, b, level);
    flush();
    p.GetCharAttrStorePenalty().CreateText(a, b, level);
    flush();
    p.GetSkillAttrStore().CreateText(a, level);
    flush();
    p.GetRetaliationAttrStore().CreateText(a, b, c, level);
    flush();
    p.GetDefenseAttrStore().CreateText(a, b, level);
    flush();
    p.GetRacialBonus().GetUIDisplayText(level, textClass, lines);
}

// One specialised line: a format of its own over the value, or a shared format over the value
// and the text of a label tag.
struct SpecializedWriter {
    GameTextClass textClass;
    std::vector<GameTextLine>& lines;

    template <class T>
    void Value(const char* format, T value) {
        lines.emplace_back(textClass, Texts().Format(format, value));
    }
    template <class T>
    void Labelled(const char* format, T value, const char* label) {
        lines.emplace_back(textClass, Texts().Format(format, value, Texts().GetText(label)));
    }
};

}  // namespace

void Skill::CreateUISkillName(std::wstring& text) const {
    text = Texts().Format("SimpleStringFormat", Texts().GetText(GetDisplayNameTag()));
    if (mIsItemSkill)
        text += Texts().GetText("tagItemSkillShort");
}

void Skill::CreateUISkillName(std::vector<GameTextLine>& lines) const {
    CreateUINameText(lines);
}

void Skill::CreateUINameText(std::vector<GameTextLine>& lines) const {
    lines.emplace_back(GameTextClass_SkillName,
                       Texts().Format("SimpleStringFormat", Texts().GetText(GetDisplayNameTag())));
}

void Skill::CreateUISkillHeading(std::vector<GameTextLine>& lines) const {
    std::wstring name = Texts().Format("SimpleStringFormat", Texts().GetText(GetDisplayNameTag()));
    if (mIsItemSkill)
        name += Texts().GetText("tagItemSkill");
    lines.emplace_back(GameTextClass_SkillName, name);
    lines.emplace_back(GameTextClass_SkillDescription, Texts().GetText(GetBaseDescriptionTag()));
}

void Skill::CreateUIParameterText(std::vector<GameTextLine>& lines) const {
    const std::uint32_t level = GetCurrentLevel();
    if (level == 0)
        return;
    lines.emplace_back(GameTextClass_SkillLevelTitles, Texts().GetText("tagCurrentLevel"));
    AppendStoreTexts(GetSkillProfile(), level, 0, GameTextClass_SkillStatsCurrent, lines);
}

void Skill::CreateUINextParameterText(std::vector<GameTextLine>& lines) const {
    const std::uint32_t level = GetCurrentLevel();
    if (level >= GetUltimateLevel())
        return;
    lines.emplace_back(GameTextClass_SkillLevelTitles, Texts().GetText("tagNextLevel"));
    AppendStoreTexts(GetSkillProfile(), level, level + 1, GameTextClass_SkillStatsNext, lines);
}

void Skill::CreateUIModifierText(std::vector<GameTextLine>& lines) const {
    SkillProfile_Modifiers data;
    GetSkillModifierData(data);
    data.CreateText(GameTextClass_SkillStatsCurrent, lines);
    GetSkillProfile()
        .GetSkillProjectileModifierData(GetCurrentLevel())
        .CreateText(GameTextClass_SkillStatsCurrent, lines);
}

void Skill::CreateUINextModifierText(std::vector<GameTextLine>& lines) const {
    const std::uint32_t level = GetCurrentLevel();
    if (level >= GetUltimateLevel())
        return;
    const SkillProfile& p = GetSkillProfile();
    p.GetSkillModifierData(level + 1).CreateNextText(p.GetSkillModifierData(level), lines);
    p.GetSkillProjectileModifierData(level + 1).CreateNextText(
        p.GetSkillProjectileModifierData(level), lines);
}

void Skill::CreateUISpecializedText(std::vector<GameTextLine>& lines) const {
    const std::uint32_t level = GetCurrentLevel();
    if (level == 0)
        return;
    const SkillProfile& p = GetSkillProfile();
    SpecializedWriter out{GameTextClass_SkillStatsCurrent, lines};
    if (const auto charge = p.GetMaxChargeLevel(level); charge > 0)
        out.Labelled("SkillIntFormat", charge, "SkillChargeMax");
    if (p.GetNumberOfProjectiles() > 1)
        out.Value("SkillNumProjectilesFormat", p.GetNumberOfProjectiles());
    if (const auto weight = p.GetChanceWeight(level); weight > 0)
        out.Value("SkillChanceWeight", weight);
    if (const float monitor = p.GetLifeMonitorPercent(level); monitor > 0.0f)
        out.Value("LifeMonitorPercent", monitor);
    if (const float chance = p.GetActivationChance(level); chance > 0.0f)
        out.Labelled("SkillPercentFormat", chance, "SkillActivationChance");
    if (const float life = p.GetLifeBonus(level); life > 0.0f)
        out.Value("SkillLifeBonus", life);
    if (const float mana = p.GetManaBonus(level); mana > 0.0f)
        out.Value("SkillManaBonus", mana);
    const float absorption = p.GetDamageAbsorption(level);
    const float absorptionPercent = p.GetDamageAbsorptionPercent(level);
    if (absorption > 0.0f)
        out.Value("SkillDamageAbsorption", absorption);
    if (absorptionPercent > 0.0f)
        out.Value("SkillDamageAbsorptionPercent", absorptionPercent);
    if ((absorption > 0.0f || absorptionPercent > 0.0f) && !p.GetQualifyingDamageTags().empty()) {
        lines.emplace_back(GameTextClass_SkillStatsCurrent,
                           Texts().GetText("tagDamageAbsorptionTitle"));
        for (const auto& tag : p.GetQualifyingDamageTags())
            lines.emplace_back(GameTextClass_SkillStatsCurrent,
                               Texts().Format("formatQualifyingDamage", Texts().GetText(tag)));
    }
    if (const auto limit = p.GetPetLimit(level); limit > 1)
        out.Value("SkillPetLimit", limit);
    if (mPetTemplate.Get()) {
        lines.emplace_back(GameTextClass_SkillStatsCurrent,
                           Texts().GetText("SkillPetDescriptionHeading"));
        CreateUIPetText(lines);
    }
    if (const float enhancement = p.GetSkillEnhancement(level); enhancement > 0.0f)
        out.Value("SkillEnhancement", enhancement);
}

void Skill::CreateUINextSpecializedText(std::vector<GameTextLine>& lines) const {
    const std::uint32_t level = GetCurrentLevel();
    if (level >= GetUltimateLevel())
        return;
    const std::uint32_t next = level + 1;
    const SkillProfile& p = GetSkillProfile();
    SpecializedWriter out{GameTextClass_SkillStatsNext, lines};
    if (const auto charge = p.GetMaxChargeLevel(next); charge > 0)
        out.Labelled("SkillIntFormat", charge, "SkillChargeMaxMod");
    if (const auto weight = p.GetChanceWeight(next); weight > 0)
        out.Value("SkillChanceWeight", weight);
    if (const float monitor = p.GetLifeMonitorPercent(next); monitor > 0.0f)
        out.Value("LifeMonitorPercent", monitor);
    if (const float chance = p.GetActivationChance(next); chance > 0.0f)
        out.Labelled("SkillPercentFormat", chance, "SkillActivationChance");
    if (const float life = p.GetLifeBonus(next); life > 0.0f)
        out.Value("SkillLifeBonus", life);
    if (const float mana = p.GetManaBonus(next); mana > 0.0f)
        out.Value("SkillManaBonus", mana);
    const float absorption = p.GetDamageAbsorption(next);
    const float absorptionPercent = p.GetDamageAbsorptionPercent(next);
    if (absorption > 0.0f)
        out.Value("SkillDamageAbsorption", absorption);
    if (absorptionPercent > 0.0f)
        out.Value("SkillDamageAbsorptionPercent", absorptionPercent);
    if ((absorption > 0.0f || absorptionPercent > 0.0f) && !p.GetQualifyingDamageTags().empty()) {
        lines.emplace_back(GameTextClass_SkillStatsNext,
                           Texts().GetText("tagDamageAbsorptionTitle"));
        for (const auto& tag : p.GetQualifyingDamageTags())
            lines.emplace_back(GameTextClass_SkillStatsNext,
                               Texts().Format("formatQualifyingDamage", Texts().GetText(tag)));
    }
    if (const auto limit = p.GetPetLimit(next); limit > 1)
        out.Value("SkillPetLimit", limit);
    if (mNextPetTemplate.Get() || mPetTemplate.Get()) {
        lines.emplace_back(GameTextClass_SkillStatsNext,
                           Texts().GetText("SkillPetDescriptionHeading"));
        CreateUIPetText(lines);
    }
    if (const float enhancement = p.GetSkillEnhancement(next); enhancement > 0.0f)
        out.Value("SkillEnhancement", enhancement);
}

void Skill::CreateUIPetText(std::vector<GameTextLine>& lines) const {
    const int timeToLive = GetSkillProfile().GetSpawnObjectTimeToLive(GetCurrentLevel());
    if (timeToLive > 0)
        lines.emplace_back(GameTextClass_SkillStatsCurrent,
                           Texts().Format("tagSkillPetTimeToLive", timeToLive / 1000.0));
}

void Skill::CreateUIShortSummaryText(std::vector<GameTextLine>& lines) const {
    CreateUIShortSummaryText(GameTextClass_SkillStatsCurrent, lines);
}

void Skill::CreateUIShortSummaryText(GameTextClass textClass,
                                     std::vector<GameTextLine>& lines) const {
    AppendStoreTexts(GetSkillProfile(), GetCurrentLevel(), 0, textClass, lines);
}

}  // namespace GAME
