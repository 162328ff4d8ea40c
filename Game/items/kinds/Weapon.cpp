#include "Game/items/kinds/Weapon.h"
#include "Game/core/GameEngine.h"

#include "Engine/media/graphics/EffectEntity.h"
#include "Engine/media/graphics/WeaponTrail.h"
#include "Engine/media/sound/SoundPak.h"
#include "Engine/text/LocalizationManager.h"
#include "Game/characters/Character.h"
#include "Game/core/ObjectLookup.h"
#include "Game/core/util/StringUtil.h"
#include "Game/items/ItemCharacterServices.h"
#include "Game/items/ItemRounding.h"
#include "Game/items/kinds/EquipmentKindTable.h"
#include "Game/items/kinds/WeaponEnchantment.h"

namespace GAME {

RTTI_IMPLEMENT(Weapon, ItemEquipment)

#define GAME_PLAIN_KIND_IMPLEMENT(Class, Parent) \
    RTTI_IMPLEMENT(Class, Parent)                \
    Class::Class() {                             \
        ApplyKindRow(kKindRow_##Class);          \
    }
GAME_PLAIN_KIND_IMPLEMENT(WeaponArmor, Weapon)
GAME_PLAIN_KIND_IMPLEMENT(WeaponArmor_Shield, WeaponArmor)
GAME_PLAIN_KIND_IMPLEMENT(WeaponHunting, Weapon)
GAME_PLAIN_KIND_IMPLEMENT(WeaponHunting_Bow, WeaponHunting)
GAME_PLAIN_KIND_IMPLEMENT(WeaponHunting_Spear, WeaponHunting)
GAME_PLAIN_KIND_IMPLEMENT(WeaponMagical, Weapon)
GAME_PLAIN_KIND_IMPLEMENT(WeaponMagical_Staff, WeaponMagical)
GAME_PLAIN_KIND_IMPLEMENT(WeaponMelee, Weapon)
GAME_PLAIN_KIND_IMPLEMENT(WeaponMelee_Sword, WeaponMelee)
GAME_PLAIN_KIND_IMPLEMENT(WeaponMelee_Axe, WeaponMelee)
GAME_PLAIN_KIND_IMPLEMENT(WeaponMelee_Mace, WeaponMelee)

Weapon::Weapon() {
    ApplyKindRow(kKindRow_Weapon);
}

Weapon::~Weapon() = default;

void Weapon::ApplyKindRow(const EquipmentKindRow& row) {
    ItemEquipment::ApplyKindRow(row);
    if (row.soundKind != kInherit)
        enchantmentSoundKind = row.soundKind;
}

void Weapon::Load(const LoadTable& record) {
    ItemEquipment::Load(record);
    baseScale = GetScale();
    hitSound.Reset(GetSoundPakFromRecord(record, "hitSound"));
    swipeSound.Reset(GetSoundPakFromRecord(record, "swipeSound"));
    weaponTrailName = record.GetString("weaponTrail");
    basicProjectileName = record.GetString("basicProjectileName");
    if (!basicProjectileName.empty())
        basicProjectile.Reset(Singleton<ObjectManager>::Get().GetObject(
            ItemCharacterServices::Get().CreateProjectile(basicProjectileName)));
    piercingProjectile = record.GetFloat("piercingProjectile", 0.0f);
}

void Weapon::PreLoad(bool now) {
    ItemEquipment::PreLoad(now);
    for (SoundPak* pack : {swipeSound.Get(), hitSound.Get()})
        if (pack)
            pack->PreLoad(now);
    if (enchantment)
        enchantment->PreLoad(now);
    if (Object* projectile = basicProjectile.Get())
        projectile->PreLoad(now);
}

void Weapon::ScaleForCharacter(Character* character) {
    const float characterScale =
        character ? ItemCharacterServices::Get().GetWeaponScale(*character) : 0.0f;
    float scale = characterScale * baseScale;
    if (scale <= 0.0f)
        scale = std::max(scale, baseScale);
    if (scale <= 0.0f)
        scale = 1.0f;
    SetScale(scale);
}

void Weapon::AttachItem(Character* character, const char* attachPoint) {
    ScaleForCharacter(character);
    ItemEquipment::AttachItem(character, attachPoint);
    SwitchWeaponTrail(weaponTrailName);
}

void Weapon::DetachItem(Character* character) {
    SetScale(baseScale > 0.0f ? baseScale : 1.0f);
    ClearWeaponEnchantment(character);
    SwitchWeaponTrail("");
    ItemEquipment::DetachItem(character);
}

void Weapon::SwitchWeaponTrail(const std::string& name) {
    if (Entity* trail = weaponTrail.Get())
        Detach(trail);
    weaponTrail.Reset();
    weaponTrailRecord = name;
    if (name.empty())
        return;
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    if (auto* trail =
            objects.GetObject<Entity>(ItemCharacterServices::Get().CreateWeaponTrail(name))) {
        weaponTrail.Reset(trail);
        Attach(trail, Coords::Identity(), "");
    }
}

void Weapon::EnableWeaponTrail() {
    trailEnabled = true;
    if (auto* trail = Singleton<ObjectManager>::Get().GetObject<WeaponTrail>(weaponTrail.GetId()))
        trail->Start();
}

void Weapon::DisableWeaponTrail() {
    trailEnabled = false;
    if (auto* trail = Singleton<ObjectManager>::Get().GetObject<WeaponTrail>(weaponTrail.GetId()))
        trail->Stop();
}

void Weapon::SetWeaponEnchantment(Character* character, const std::string& recordName) {
    ClearWeaponEnchantment(character);
    if (recordName.empty())
        return;
    enchantment = std::make_unique<WeaponEnchantment>(enchantmentSoundKind);
    enchantment->Load(recordName);
    if (enchantment->UsesWeaponTint())
        tint = enchantment->GetTint();
    if (!enchantment->GetWeaponTrail().empty())
        SwitchWeaponTrail(enchantment->GetWeaponTrail());
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    ItemCharacterServices& services = ItemCharacterServices::Get();
    auto makeEffect = [&](const std::string& name, OwnedObject<Entity>& holder) {
        if (name.empty())
            return;
        if (auto* effect = objects.GetObject<Entity>(services.CreateEffect(name))) {
            holder.Reset(effect);
            Attach(effect, Coords::Identity(), "");
        }
    };
    makeEffect(enchantment->GetWeaponEffect(), enchantmentEffect);
    makeEffect(enchantment->GetWeaponActiveEffect(), enchantmentActiveEffect);
}

void Weapon::ClearWeaponEnchantment(Character* character) {
    if (!enchantment)
        return;
    enchantment.reset();
    tint = Color{1.0f, 1.0f, 1.0f, 1.0f};
    SwitchWeaponTrail(weaponTrailName);
    const bool leaveInWorld = character && character->IsInWorld();
    WorldCoords where = GetCoords();
    if (leaveInWorld && !where.region)
        where = character->GetCoords();
    for (OwnedObject<Entity>* holder : {&enchantmentEffect, &enchantmentActiveEffect}) {
        Entity* effect = holder->Get();
        if (!effect)
            continue;
        Detach(effect);
        auto* particles = dynamic_cast<EffectEntity*>(effect);
        if (particles)
            particles->StopEmitting();
        if (leaveInWorld && particles) {
            // Left in the world where the weapon was, to die out there and go by itself.
            particles->SetDeleteWhenDone(true);
            particles->AddToWorld(where, true);
            holder->Release();
        } else {
            holder->Reset();
        }
    }
}

void Weapon::PlaySwipeSound(const WorldVec3& where) {
    if (SoundPak* pack = enchantment ? enchantment->GetSwipeSound() : nullptr)
        pack->Play(where);
    if (SoundPak* pack = swipeSound.Get())
        pack->Play(where);
}

void Weapon::PlayHitSound(const WorldVec3& where) {
    if (SoundPak* pack = enchantment ? enchantment->GetHitSound() : nullptr)
        pack->Play(where);
    if (SoundPak* pack = hitSound.Get())
        pack->Play(where);
}

std::string Weapon::GetProjectileName() const {
    if (enchantment && !enchantment->GetProjectileName().empty())
        return enchantment->GetProjectileName();
    return basicProjectileName;
}

void Weapon::GetGameDescription(std::wstring& text) const {
    text = GetItemColorText(GetItemClassification()) +
           FormatKindName("RandomMagicalWeaponFormat", "CommonWeaponFormat");
    RemoveLineBreakCodes(text);
    TrimSpacesAndBraces(text);
}

void Weapon::GetUIGameDescription(std::vector<GameTextLine>& lines) const {
    std::wstring name = FormatKindName("RandomMagicalWeaponFormat", "CommonWeaponFormat");
    TrimSpacesAndBraces(name);
    lines.emplace_back(GetItemTextClass(classification), name);
}

void Weapon::CreateUIAttributeText(std::vector<GameTextLine>& lines) {
    AppendAttributeText("D1B C1B - D2N D3N F1N F2N R1N R2N R3N C2N S1N", lines);
}

void WeaponArmor::CreateUIAttributeText(std::vector<GameTextLine>& lines) {
    GetUIArmorSpecificText(lines);
    AppendAttributeText("D1B - F1B F2N D2N D3N R1N R2N R3N C2N S1N", lines);
}

void WeaponArmor::GetUIArmorSpecificText(std::vector<GameTextLine>&) {}

void WeaponArmor_Shield::Load(const LoadTable& record) {
    WeaponArmor::Load(record);
    blockSound.Reset(GetSoundPakFromRecord(record, "blockSound"));
    recordBlockChance = blockChance = record.GetFloat("defensiveBlockChance", 0.0f);
    recordBlockValue = blockValue = record.GetFloat("defensiveBlock", 0.0f);
    blockAbsorption = record.GetFloat("blockAbsorption", 0.0f);
    blockRecoveryTime = record.GetFloat("blockRecoveryTime", 0.0f);
    shieldCost.Clear();
    shieldCost.blockChance = blockChance;
    shieldCost.blockDefense = blockValue;
    shieldCost.blockAbsorption = blockAbsorption;
    shieldCost.blockRecoveryTime = blockRecoveryTime;
}

void WeaponArmor_Shield::PreLoad(bool now) {
    WeaponArmor::PreLoad(now);
    if (SoundPak* pack = blockSound.Get())
        pack->PreLoad(now);
}

void WeaponArmor_Shield::InitializeEquipmentSpecial(const LoadTable* prefix,
                                                    const LoadTable* suffix) {
    float chanceModifier = 0.0f;
    float blockModifier = 0.0f;
    for (const LoadTable* record : {prefix, suffix}) {
        if (!record)
            continue;
        chanceModifier += record->GetFloat("shieldBlockChanceModifier", 0.0f);
        blockModifier += record->GetFloat("shieldBlockModifier", 0.0f);
    }
    // From the record's values each time, so initializing again gives the same block.
    blockChance = recordBlockChance;
    blockValue = recordBlockValue;
    if (chanceModifier != 0.0f)
        blockChance = recordBlockChance + recordBlockChance * chanceModifier * 0.01f;
    if (blockModifier != 0.0f)
        blockValue = recordBlockValue + recordBlockValue * blockModifier * 0.01f;
}

void WeaponArmor_Shield::GetUIArmorSpecificText(std::vector<GameTextLine>& lines) {
    lines.emplace_back(GameTextClass_ItemBaseStats,
                       LocalizationManager::Instance().Format("tagShieldBlockInfo",
                                                              static_cast<double>(blockChance),
                                                              static_cast<double>(blockValue)));
}

int WeaponArmor_Shield::GetShieldRecoveryTime() const {
    return TruncateToInt(blockRecoveryTime * 1000.0f);
}

void WeaponArmor_Shield::PlayBlockSound(const WorldVec3& where) {
    if (SoundPak* pack = blockSound.Get())
        pack->Play(where);
}

}  // namespace GAME
