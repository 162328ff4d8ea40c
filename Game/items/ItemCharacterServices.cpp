#include "Game/items/ItemCharacterServices.h"

#include "Engine/Engine.h"
#include "Engine/media/graphics/EffectEntity.h"
#include "Engine/media/graphics/WeaponTrail.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/sys/Machine.h"
#include "Game/characters/Character.h"
#include "Game/characters/items/GarmentManager.h"
#include "Game/core/GameEngine.h"
#include "Game/core/util/SeamLog.h"
#include "Game/skills/Skill.h"
#include "Game/skills/profile/SkillProfile.h"
#include "Game/world/projectiles/ProjectileBase.h"

namespace GAME {

namespace {
struct ServicesSlot {
    ItemCharacterServices fallback;
    std::unique_ptr<ItemCharacterServices> installed;
};
}  // namespace

float ItemCharacterServices::GetTotalCharAttribute(const Character& character,
                                                   CharAttributeType type) {
    return character.GetTotalCharAttribute(type);
}
float ItemCharacterServices::GetWeaponScale(const Character& character) {
    return character.GetWeaponScale();
}
// Items grant only positive levels; the skill manager counts in unsigned levels.
namespace {
std::uint32_t Levels(int level) {
    return level > 0 ? static_cast<std::uint32_t>(level) : 0u;
}
}  // namespace

void ItemCharacterServices::SetSkillLevelAugment(Character& character, const std::string& skill,
                                                 int level) {
    character.GetSkillManager().SetSkillLevelAugment(skill, Levels(level));
}
void ItemCharacterServices::RemoveSkillLevelAugment(Character& character, const std::string& skill,
                                                    int level) {
    character.GetSkillManager().RemoveSkillLevelAugment(skill, Levels(level));
}
void ItemCharacterServices::SetMasteryLevelAugment(Character& character, const std::string& mastery,
                                                   int level) {
    character.GetSkillManager().SetMasteryAugment(mastery, Levels(level));
}
void ItemCharacterServices::RemoveMasteryLevelAugment(Character& character,
                                                      const std::string& mastery, int level) {
    character.GetSkillManager().RemoveMasteryAugment(mastery, Levels(level));
}
// Items exclude no skill from an all-skills bonus.
void ItemCharacterServices::SetAllSkillLevelAugment(Character& character, int level) {
    character.GetSkillManager().SetAllSkillAugment(Levels(level), std::string());
}
void ItemCharacterServices::RemoveAllSkillLevelAugment(Character& character, int level) {
    character.GetSkillManager().RemoveAllSkillAugment(Levels(level), std::string());
}
void ItemCharacterServices::AddItemSkill(Character& character, std::uint32_t grantingSkillId,
                                         std::uint32_t level) {
    character.GetSkillManager().AddItemSkill(grantingSkillId, level);
}
void ItemCharacterServices::RemoveItemSkill(Character& character, std::uint32_t grantingSkillId) {
    character.GetSkillManager().RemoveItemSkill(grantingSkillId);
}
void ItemCharacterServices::AddItemToSet(Character& character, const std::string& set,
                                         const std::string& itemName) {
    character.AddItemToSet(set, itemName);
}
void ItemCharacterServices::RemoveItemFromSet(Character& character, const std::string& set,
                                              const std::string& itemName) {
    character.RemoveItemFromSet(set, itemName);
}
std::vector<std::string> ItemCharacterServices::GetItemsInSet(const Character& character,
                                                              const std::string& set) {
    return character.GetItemsInSet(set);
}
void ItemCharacterServices::SetGarment(Character& character, bool clothing, const std::string& mesh,
                                       const std::string& baseTexture,
                                       const std::string& bumpTexture) {
    GarmentManager& garments = character.GetGarmentManager();
    if (clothing)
        garments.SetClothing(character, mesh, baseTexture, bumpTexture);
    else
        garments.SetVestment(character, mesh, baseTexture, bumpTexture);
}
void ItemCharacterServices::SetBreastSupport(Character& character, float support) {
    character.SetBreastSupport(support);
}
bool ItemCharacterServices::GiveItemToCharacter(Character& character, Item& item) {
    return character.GiveItemToCharacter(item);
}
std::uint32_t ItemCharacterServices::CreateItemSkill(const std::string& skillRecord) {
    Skill* skill = Singleton<ObjectManager>::Get().CreateObjectFromFile<Skill>(skillRecord);
    if (!skill) {
        gEngine->Log(1, "Items: granted skill record %s makes no skill", skillRecord.c_str());
        return 0;
    }
    skill->SetAsItemSkill(true);
    return skill->GetObjectId();
}
std::string ItemCharacterServices::GetSkillDisplayNameTag(const std::string& skillRecord) {
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    if (!gGameEngine || skillRecord.empty())
        return {};
    if (!objects.LoadTableFile(skillRecord)) {
        gEngine->Log(1, "Items: skill record %s cannot be loaded; its name is left out",
                     skillRecord.c_str());
        return {};
    }
    // The profile is shared with every skill made from the record.
    const SkillProfile* profile = gGameEngine->LoadSkillResource(Name::Create(skillRecord),
                                                                 objects.GetLoadTable(skillRecord));
    return profile ? profile->GetDisplayNameTag() : std::string();
}
std::uint32_t ItemCharacterServices::CreateProjectile(const std::string& record) {
    auto* projectile = Singleton<ObjectManager>::Get().CreateObjectFromFile<ProjectileBase>(record);
    return projectile ? projectile->GetObjectId() : 0;
}
std::uint32_t ItemCharacterServices::CreateWeaponTrail(const std::string& record) {
    auto* trail = Singleton<ObjectManager>::Get().CreateObjectFromFile<WeaponTrail>(record);
    return trail ? trail->GetObjectId() : 0;
}
std::uint32_t ItemCharacterServices::CreateEffect(const std::string& record) {
    auto* effect = Singleton<ObjectManager>::Get().CreateObjectFromFile<EffectEntity>(record);
    return effect ? effect->GetObjectId() : 0;
}

ItemCharacterServices& ItemCharacterServices::Get() {
    ServicesSlot& slot = Singleton<ServicesSlot>::Get();
    return slot.installed ? *slot.installed : slot.fallback;
}

std::unique_ptr<ItemCharacterServices> ItemCharacterServices::Install(
    std::unique_ptr<ItemCharacterServices> services) {
    ServicesSlot& slot = Singleton<ServicesSlot>::Get();
    std::swap(slot.installed, services);
    return services;
}

std::array<float, 3> GetAbilityValues(const Character* character) {
    std::array<float, 3> values{};
    if (!character)
        return values;
    ItemCharacterServices& services = ItemCharacterServices::Get();
    values[0] = services.GetTotalCharAttribute(*character, CharAttributeType::Strength);
    values[1] = services.GetTotalCharAttribute(*character, CharAttributeType::Dexterity);
    values[2] = services.GetTotalCharAttribute(*character, CharAttributeType::Intelligence);
    return values;
}

}  // namespace GAME
