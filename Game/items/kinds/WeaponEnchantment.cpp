#include "Game/items/kinds/WeaponEnchantment.h"

#include "Engine/media/sound/SoundPak.h"
#include "Game/core/ObjectLookup.h"
#include "Game/items/ItemCharacterServices.h"

namespace GAME {

namespace {
constexpr float kTintScale = 1.0f / 255.0f;
// Swipe and hit sound keys by sound kind (0: none).
constexpr const char* kEnchantmentSoundKeys[][2] = {{nullptr, nullptr},
                                                    {"meleeSwipeSound", "meleeHitSound"},
                                                    {"bowSwipeSound", "bowHitSound"},
                                                    {"staffSwipeSound", "staffHitSound"}};
}  // namespace

WeaponEnchantment::~WeaponEnchantment() = default;

void WeaponEnchantment::Load(const std::string& name) {
    recordName = name;
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    objects.LoadTableFile(name);
    const LoadTable record = objects.GetLoadTable(name);
    weaponTrail = record.GetString("weaponTrail");
    weaponEffect = record.GetString("weaponEffect");
    weaponActiveEffect = record.GetString("weaponActiveEffect");
    useWeaponTint = record.GetBool("useWeaponTint", false);
    if (useWeaponTint) {
        tint.r = record.GetFloat("weaponTintRed", 0.0f) * kTintScale;
        tint.g = record.GetFloat("weaponTintGreen", 0.0f) * kTintScale;
        tint.b = record.GetFloat("weaponTintBlue", 0.0f) * kTintScale;
        tint.a = record.GetFloat("weaponTintAlpha", 0.0f) * kTintScale;
    }
    if (soundKind < 1 || soundKind > 3)
        return;
    swipeSound.Reset(GetSoundPakFromRecord(record, kEnchantmentSoundKeys[soundKind][0]));
    hitSound.Reset(GetSoundPakFromRecord(record, kEnchantmentSoundKeys[soundKind][1]));
    if (soundKind == 2) {
        projectileName = record.GetString("projectileName");
        if (!projectileName.empty())
            projectile.Reset(
                objects.GetObject(ItemCharacterServices::Get().CreateProjectile(projectileName)));
    }
}

void WeaponEnchantment::PreLoad(bool now) {
    for (SoundPak* pack : {swipeSound.Get(), hitSound.Get()})
        if (pack)
            pack->PreLoad(now);
}

}  // namespace GAME
