#include "Game/items/ItemCharacterServices.h"

#include "Engine/Engine.h"
#include "Engine/sys/Machine.h"

namespace GAME {

namespace {
void Seam(const char* operation) {
    gEngine->Log(1, "Items: %s is not available yet; nothing done", operation);
}

struct ServicesSlot {
    ItemCharacterServices fallback;
    std::unique_ptr<ItemCharacterServices> installed;
};
}  // namespace

float ItemCharacterServices::GetTotalCharAttribute(const Character&, CharAttributeType) {
    Seam("Character::GetTotalCharAttribute");
    return 0.0f;
}
float ItemCharacterServices::GetWeaponScale(const Character&) {
    Seam("Character::GetWeaponScale");
    return 0.0f;
}
void ItemCharacterServices::SetSkillLevelAugment(Character&, const std::string&, int) {
    Seam("Character::SetSkillLevelAugment");
}
void ItemCharacterServices::RemoveSkillLevelAugment(Character&, const std::string&, int) {
    Seam("Character::RemoveSkillLevelAugment");
}
void ItemCharacterServices::SetMasteryLevelAugment(Character&, const std::string&, int) {
    Seam("Character::SetMasteryLevelAugment");
}
void ItemCharacterServices::RemoveMasteryLevelAugment(Character&, const std::string&, int) {
    Seam("Character::RemoveMasteryLevelAugment");
}
void ItemCharacterServices::SetAllSkillLevelAugment(Character&, int) {
    Seam("Character::SetAllSkillLevelAugment");
}
void ItemCharacterServices::RemoveAllSkillLevelAugment(Character&, int) {
    Seam("Character::RemoveAllSkillLevelAugment");
}
void ItemCharacterServices::AddItemSkill(Character&, std::uint32_t, std::uint32_t) {
    Seam("Character::AddItemSkill");
}
void ItemCharacterServices::RemoveItemSkill(Character&, std::uint32_t) {
    Seam("Character::RemoveItemSkill");
}
void ItemCharacterServices::AddItemToSet(Character&, const std::string&, const std::string&) {
    Seam("Character::AddItemToSet");
}
void ItemCharacterServices::RemoveItemFromSet(Character&, const std::string&, const std::string&) {
    Seam("Character::RemoveItemFromSet");
}
std::vector<std::string> ItemCharacterServices::GetItemsInSet(const Character&,
                                                              const std::string&) {
    Seam("Character::GetItemsInSet");
    return {};
}
void ItemCharacterServices::SetGarment(Character&, bool clothing, const std::string&,
                                       const std::string&, const std::string&) {
    Seam(clothing ? "GarmentManager::SetClothing" : "GarmentManager::SetVestment");
}
void ItemCharacterServices::SetBreastSupport(Character&, float) {
    Seam("Character::SetBreastSupport");
}
bool ItemCharacterServices::GiveItemToCharacter(Character&, Item&) {
    Seam("Character::GiveItemToCharacter");
    return false;
}
std::uint32_t ItemCharacterServices::CreateItemSkill(const std::string&) {
    Seam("ObjectManager::CreateObjectFromFile<Skill>");
    return 0;
}
std::string ItemCharacterServices::GetSkillDisplayNameTag(const std::string&) {
    Seam("SkillProfile::GetDisplayNameTag");
    return {};
}
std::uint32_t ItemCharacterServices::CreateProjectile(const std::string&) {
    Seam("ObjectManager::CreateObjectFromFile<ProjectileBase>");
    return 0;
}
std::uint32_t ItemCharacterServices::CreateWeaponTrail(const std::string&) {
    Seam("ObjectManager::CreateObjectFromFile<WeaponTrail>");
    return 0;
}
std::uint32_t ItemCharacterServices::CreateEffect(const std::string&) {
    Seam("ObjectManager::CreateObjectFromFile<EffectEntity>");
    return 0;
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
