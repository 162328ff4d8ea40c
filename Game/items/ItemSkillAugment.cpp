#include "Game/items/ItemSkillAugment.h"

#include <algorithm>

#include "Engine/object/ObjectManager.h"
#include "Engine/text/LocalizationManager.h"
#include "Game/core/util/StringUtil.h"
#include "Game/items/ItemCharacterServices.h"
#include "Game/items/ItemText.h"

namespace GAME {

namespace {
constexpr const char* kAugmentSourceFile = "Game/ItemSkillAugment";
}  // namespace

ItemSkillAugment::~ItemSkillAugment() {
    Clear();
}

void ItemSkillAugment::AddAugment(std::vector<Augment>& list, const std::string& name, int level) {
    if (level <= 0 || name.empty())
        return;
    list.push_back({MakeNormalizedPath(name), level});
    levelSum += level;
    ++augmentCount;
}

void ItemSkillAugment::Load(const LoadTable& record) {
    AddAugment(skillAugments, record.GetString("augmentSkillName1"),
               record.GetInt("augmentSkillLevel1", 0));
    AddAugment(skillAugments, record.GetString("augmentSkillName2"),
               record.GetInt("augmentSkillLevel2", 0));
    AddAugment(masteryAugments, record.GetString("augmentMasteryName1"),
               record.GetInt("augmentMasteryLevel1", 0));
    AddAugment(masteryAugments, record.GetString("augmentMasteryName2"),
               record.GetInt("augmentMasteryLevel2", 0));
    if (const int all = record.GetInt("augmentAllLevel", 0); all > 0) {
        allSkillsLevel += all;
        levelSum += all;
        ++augmentCount;
    }
    if (std::string skill = record.GetString("itemSkillName"); !skill.empty())
        grantedSkills.push_back({std::move(skill), record.GetInt("itemSkillLevel", 0), 0});
}

void ItemSkillAugment::Clear() {
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    for (const GrantedSkill& skill : grantedSkills)
        if (Object* object = skill.skillId ? objects.GetObject(skill.skillId) : nullptr)
            objects.DestroyObjectEx(object, kAugmentSourceFile, __LINE__);
    skillAugments.clear();
    masteryAugments.clear();
    grantedSkills.clear();
    allSkillsLevel = 0;
    levelSum = 0;
    augmentCount = 0;
}

void ItemSkillAugment::CreateItemSkills() {
    for (GrantedSkill& skill : grantedSkills)
        if (skill.skillId == 0)
            skill.skillId = ItemCharacterServices::Get().CreateItemSkill(skill.name);
}

void ItemSkillAugment::InstallOnCharacter(Character& character, std::uint32_t) const {
    ItemCharacterServices& services = ItemCharacterServices::Get();
    for (const Augment& augment : skillAugments)
        services.SetSkillLevelAugment(character, augment.name, augment.level);
    for (const Augment& augment : masteryAugments)
        services.SetMasteryLevelAugment(character, augment.name, augment.level);
    if (allSkillsLevel > 0)
        services.SetAllSkillLevelAugment(character, allSkillsLevel);
    // The wearer's manager keys what it lends by the granting skill, not by the item.
    for (const GrantedSkill& skill : grantedSkills)
        if (skill.skillId != 0)
            services.AddItemSkill(character, skill.skillId,
                                  static_cast<std::uint32_t>(std::max(skill.level, 0)));
}

void ItemSkillAugment::RemoveFromCharacter(Character& character, std::uint32_t) const {
    ItemCharacterServices& services = ItemCharacterServices::Get();
    for (const Augment& augment : skillAugments)
        services.RemoveSkillLevelAugment(character, augment.name, augment.level);
    for (const Augment& augment : masteryAugments)
        services.RemoveMasteryLevelAugment(character, augment.name, augment.level);
    if (allSkillsLevel > 0)
        services.RemoveAllSkillLevelAugment(character, allSkillsLevel);
    for (const GrantedSkill& skill : grantedSkills)
        if (skill.skillId != 0)
            services.RemoveItemSkill(character, skill.skillId);
}

void ItemSkillAugment::GetUIDisplayText(GameTextClass textClass,
                                        std::vector<GameTextLine>& lines) const {
    const LocalizationManager& texts = LocalizationManager::Instance();
    ItemCharacterServices& services = ItemCharacterServices::Get();
    auto skillName = [&](const std::string& record) {
        return texts.GetText(services.GetSkillDisplayNameTag(record));
    };
    for (const Augment& augment : skillAugments)
        lines.emplace_back(
            textClass, texts.Format("ItemSkillIncrement", augment.level, skillName(augment.name)));
    for (const Augment& augment : masteryAugments)
        lines.emplace_back(textClass, texts.Format("ItemMasteryIncrement", augment.level,
                                                   skillName(augment.name)));
    if (allSkillsLevel > 0)
        lines.emplace_back(textClass, texts.Format("ItemAllSkillIncrement", allSkillsLevel));
    if (grantedSkills.empty())
        return;
    AppendSpacerLine(lines);
    lines.emplace_back(GameTextClass_ItemSkillHeading, LocalizeSimple("tagItemGrantSkill"));
    for (const GrantedSkill& skill : grantedSkills)
        lines.emplace_back(GameTextClass_ItemSkillName, skillName(skill.name));
}

void ItemSkillAugment::GetCostInfo(CostInfo_AugmentAttributes& cost) const {
    cost.augmentLevel += levelSum;
    cost.augmentCount += augmentCount;
}

}  // namespace GAME
