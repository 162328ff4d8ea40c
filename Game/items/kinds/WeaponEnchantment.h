#pragma once
// What an enchantment makes of a weapon: a trail, a steady and an active effect, a tint, the
// swing and hit sounds of the weapon's sound kind and, for bows, a projectile.
#include <string>

#include "Engine/world/Math.h"
#include "Game/items/OwnedObject.h"

namespace GAME {

class LoadTable;
class SoundPak;

class WeaponEnchantment {
public:
    // Sound kinds: 0 none (shields), 1 melee, 2 bow, 3 staff.
    explicit WeaponEnchantment(int soundKind) : soundKind(soundKind) {}
    ~WeaponEnchantment();
    WeaponEnchantment(const WeaponEnchantment&) = delete;
    WeaponEnchantment& operator=(const WeaponEnchantment&) = delete;

    void Load(const std::string& recordName);
    void PreLoad(bool now);

    const std::string& GetRecordName() const { return recordName; }
    int GetSoundKind() const { return soundKind; }
    const std::string& GetWeaponTrail() const { return weaponTrail; }
    const std::string& GetWeaponEffect() const { return weaponEffect; }
    const std::string& GetWeaponActiveEffect() const { return weaponActiveEffect; }
    bool UsesWeaponTint() const { return useWeaponTint; }
    const Color& GetTint() const { return tint; }
    SoundPak* GetSwipeSound() const { return swipeSound.Get(); }
    SoundPak* GetHitSound() const { return hitSound.Get(); }
    const std::string& GetProjectileName() const { return projectileName; }

private:
    std::string recordName;
    int soundKind;
    std::string weaponTrail;
    std::string weaponEffect;
    std::string weaponActiveEffect;
    bool useWeaponTint = false;
    Color tint{1.0f, 1.0f, 1.0f, 1.0f};
    OwnedObject<SoundPak> swipeSound{"Game/WeaponEnchantment"};
    OwnedObject<SoundPak> hitSound{"Game/WeaponEnchantment"};
    std::string projectileName;
    OwnedObject<Object> projectile{"Game/WeaponEnchantment"};
};

}  // namespace GAME
