#include "Game/rules/AttributePak.h"

#include "Engine/object/ObjectManager.h"
#include "Engine/records/LoadTable.h"
#include "Engine/sys/Machine.h"
#include "Game/rules/CharAttributeStore.h"
#include "Game/rules/DefenseAttributeStore.h"
#include "Game/rules/SkillAttribute.h"
#include "Game/rules/damage/DamageAttributeStore.h"
#include "Game/rules/damage/RetaliationAttributeStore.h"

namespace GAME {

AttributePak::AttributePak()
    : mCharAttributes(std::make_unique<CharAttributeStore_Skill>()),
      mSkillAttributes(std::make_unique<SkillAttributeStore_Skill>()),
      mDamageAttributes(std::make_unique<DamageAttributeStore_Skill>()),
      mRetaliationAttributes(std::make_unique<RetaliationAttributeStore_Skill>()),
      mDefenseAttributes(std::make_unique<DefenseAttributeStore_Skill>()) {}

// The stores go in the reverse order of their fields.
AttributePak::~AttributePak() {
    mDefenseAttributes.reset();
    mRetaliationAttributes.reset();
    mDamageAttributes.reset();
    mSkillAttributes.reset();
    mCharAttributes.reset();
}

void AttributePak::LoadFromDatabase(const std::string& recordName) {
    mRecordName = recordName;
    auto& objects = Singleton<ObjectManager>::Get();
    objects.LoadTableFile(recordName);
    LoadFromTable(objects.GetLoadTable(recordName));
}

void AttributePak::LoadFromTable(const LoadTable& record) {
    mCharAttributes->Load(record);
    mSkillAttributes->Load(record);
    mDamageAttributes->Load(record);
    mRetaliationAttributes->Load(record);
    mDefenseAttributes->Load(record);
}

void AttributePak::GetCharAttributes(CharAttributeAccumulator& accumulator, unsigned level) const {
    mCharAttributes->AddToAccumulator(accumulator, level);
}

void AttributePak::GetSkillAttributes(SkillAttributeAccumulator& accumulator,
                                      unsigned level) const {
    mSkillAttributes->AddToAccumulator(accumulator, level);
}

void AttributePak::GetOffensiveDamageAttributes(CombatAttributeAccumulator& accumulator,
                                                unsigned level) const {
    mDamageAttributes->AddDamageToAccumulator(accumulator, level);
}

void AttributePak::GetOffensiveModifierAttributes(CombatAttributeAccumulator& accumulator,
                                                  unsigned level) const {
    mDamageAttributes->AddModifierToAccumulator(accumulator, level);
}

void AttributePak::GetRetaliationAttributes(CombatAttributeAccumulator& accumulator,
                                            unsigned level) const {
    mRetaliationAttributes->AddDamageToAccumulator(accumulator, level);
    mRetaliationAttributes->AddModifierToAccumulator(accumulator, level);
}

void AttributePak::GetDefenseAttributes(CombatAttributeAccumulator& accumulator,
                                        unsigned level) const {
    mDefenseAttributes->AddToAccumulator(accumulator, level);
}

void AttributePak::GetUIDisplayText(unsigned level, GameTextClass textClass,
                                    std::vector<GameTextLine>& lines) const {
    auto append = [&](const std::vector<std::wstring>& texts) {
        for (const auto& text : texts)
            lines.emplace_back(textClass, text);
    };
    {
        DamageTextList first, second, third;
        mDamageAttributes->CreateText(first, second, third, level);
        append(first);
        append(second);
        append(third);
    }
    {
        DefenseTextList baseLines, attributeLines;
        mDefenseAttributes->CreateText(baseLines, attributeLines, level);
        append(baseLines);
        append(attributeLines);
    }
    {
        DamageTextList first, second, third;
        mRetaliationAttributes->CreateText(first, second, third, level);
        append(first);
        append(second);
        append(third);
    }
    {
        TextList first, second;
        mCharAttributes->CreateText(first, second, level);
        append(first);
        append(second);
    }
    {
        std::vector<std::wstring> skillLines;
        mSkillAttributes->CreateText(skillLines, level);
        append(skillLines);
    }
}

}  // namespace GAME
