#pragma once
// Weapons and shields: trails, swing and hit sounds, projectiles, enchantments and block values.
#include <memory>
#include <string>

#include "Game/items/ItemEquipment.h"
#include "Game/items/kinds/Armor.h"

namespace GAME {

class WeaponEnchantment;

class Weapon : public ItemEquipment {
    RTTI_DECLARE(Weapon)
public:
    Weapon();
    ~Weapon() override;

    void Load(const LoadTable& record) override;
    void PreLoad(bool now) override;
    void AttachItem(Character* character, const char* attachPoint) override;
    void DetachItem(Character* character) override;
    void GetGameDescription(std::wstring& text) const override;
    void GetUIGameDescription(std::vector<GameTextLine>& lines) const override;
    void CreateUIAttributeText(std::vector<GameTextLine>& lines) override;

    // The current trail is destroyed; a non-empty name makes the new one, attached at the origin.
    void SwitchWeaponTrail(const std::string& name);
    void EnableWeaponTrail();
    void DisableWeaponTrail();
    void SetWeaponEnchantment(Character* character, const std::string& recordName);
    void ClearWeaponEnchantment(Character* character);
    void PlaySwipeSound(const WorldVec3& where);
    void PlayHitSound(const WorldVec3& where);
    std::string GetProjectileName() const;
    float GetProjectilePiercingChance() const { return piercingProjectile; }

    int GetEnchantmentSoundKind() const { return enchantmentSoundKind; }
    const WeaponEnchantment* GetEnchantment() const { return enchantment.get(); }
    const std::string& GetCurrentTrailName() const { return weaponTrailRecord; }
    bool IsTrailEnabled() const { return trailEnabled; }
    const Color& GetTint() const { return tint; }
    const Color& GetOutlineColor() const { return outlineColor; }
    float GetBaseScale() const { return baseScale; }

protected:
    void ApplyKindRow(const EquipmentKindRow& row) override;
    // The character's weapon scale times the base scale, never 0 or below.
    void ScaleForCharacter(Character* character);

    std::unique_ptr<WeaponEnchantment> enchantment;
    int enchantmentSoundKind = 1;
    OwnedObject<Entity> enchantmentEffect{"Game/Weapon"};
    OwnedObject<Entity> enchantmentActiveEffect{"Game/Weapon"};
    OwnedObject<SoundPak> swipeSound{"Game/Weapon"};
    OwnedObject<SoundPak> hitSound{"Game/Weapon"};
    OwnedObject<Entity> weaponTrail{"Game/Weapon"};
    std::string weaponTrailRecord;
    std::string weaponTrailName;
    std::string basicProjectileName;
    OwnedObject<Object> basicProjectile{"Game/Weapon"};
    float piercingProjectile = 0.0f;
    bool trailEnabled = false;
    Color tint{1.0f, 1.0f, 1.0f, 1.0f};
    Color outlineColor{1.0f, 1.0f, 0.0f, 0.3f};
    float baseScale = 1.0f;
};

class WeaponArmor : public Weapon {
    RTTI_DECLARE(WeaponArmor)
public:
    WeaponArmor();
    void CreateUIAttributeText(std::vector<GameTextLine>& lines) override;
    virtual void GetUIArmorSpecificText(std::vector<GameTextLine>& lines);
};

class WeaponArmor_Shield : public WeaponArmor {
    RTTI_DECLARE(WeaponArmor_Shield)
public:
    WeaponArmor_Shield();
    void Load(const LoadTable& record) override;
    void PreLoad(bool now) override;
    void InitializeEquipmentSpecial(const LoadTable* prefix, const LoadTable* suffix) override;
    void GetUIArmorSpecificText(std::vector<GameTextLine>& lines) override;

    float GetShieldBlockChance() const { return blockChance; }
    float GetShieldDefense() const { return blockValue; }
    float GetShieldAbsorption() const { return blockAbsorption; }
    int GetShieldRecoveryTime() const;
    void PlayBlockSound(const WorldVec3& where);

private:
    float recordBlockChance = 0.0f;
    float recordBlockValue = 0.0f;
    float blockChance = 0.0f;
    float blockValue = 0.0f;
    float blockAbsorption = 0.0f;
    float blockRecoveryTime = 0.0f;
    OwnedObject<SoundPak> blockSound{"Game/Weapon"};
};

GAME_PLAIN_EQUIPMENT_KIND(WeaponHunting, Weapon)
GAME_PLAIN_EQUIPMENT_KIND(WeaponHunting_Bow, WeaponHunting)
GAME_PLAIN_EQUIPMENT_KIND(WeaponHunting_Spear, WeaponHunting)
GAME_PLAIN_EQUIPMENT_KIND(WeaponMagical, Weapon)
GAME_PLAIN_EQUIPMENT_KIND(WeaponMagical_Staff, WeaponMagical)
GAME_PLAIN_EQUIPMENT_KIND(WeaponMelee, Weapon)
GAME_PLAIN_EQUIPMENT_KIND(WeaponMelee_Sword, WeaponMelee)
GAME_PLAIN_EQUIPMENT_KIND(WeaponMelee_Axe, WeaponMelee)
GAME_PLAIN_EQUIPMENT_KIND(WeaponMelee_Mace, WeaponMelee)

}  // namespace GAME
