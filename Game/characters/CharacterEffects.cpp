// A character's sounds and effects: its sound packs, damage and buff effect packs, absorption
// flashes.
#include "Game/characters/Character.h"

#include <iterator>
#include <string>

#include "Engine/media/graphics/EffectEntity.h"
#include "Engine/media/sound/SoundPak.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/records/LoadTable.h"
#include "Engine/sys/Machine.h"
#include "Game/core/GameEngine.h"
#include "Game/core/ObjectLookup.h"

namespace GAME {

namespace {

// The game-wide fields of the sixteen damage packs and the two buff packs, in member order.
constexpr const char* kEffectPackKeys[Character::kEffectPackCount] = {
    "coldDamageFxPak",
    "lightningDamageFxPak",
    "fireDamageFxPak",
    "poisonDamageFxPak",
    "lifeDamageFxPak",
    "bleedingDamageFxPak",
    "attackSpeedDamageFxPak",
    "spellCastSpeedDamageFxPak",
    "runSpeedDamageFxPak",
    "offensiveAbilityDamageFxPak",
    "defensiveAbilityDamageFxPak",
    "offensiveReductionDamageFxPak",
    "defensiveReductionDamageFxPak",
    "lifeLeachDamageFxPak",
    "manaLeachDamageFxPak",
    "fumbleDamageFxPak",
    "fireBuffFxPak",
    "poisonBuffFxPak",
};

struct AbsorptionKeys {
    const char* effect;
    const char* sound;
    CombatAttributeType type;
};

constexpr AbsorptionKeys kAbsorptionKeys[] = {
    {"absColdFx", "absColdFxSound", CombatAttributeType::Cold},
    {"absFireFx", "absFireFxSound", CombatAttributeType::Fire},
    {"absPoisonFx", "absPoisonFxSound", CombatAttributeType::Poison},
    {"absLightningFx", "absLightningFxSound", CombatAttributeType::Lightning},
    {"absLifeFx", "absLifeFxSound", CombatAttributeType::Life},
    {"absManaBurnFx", "absManaBurnFxSound", CombatAttributeType::ManaBurn},
    {"absDisruptionFx", "absDisruptionFxSound", CombatAttributeType::Disruption},
    {"absPercentCurrentLifeFx", "absPercentCurrentLifeFxSound",
     CombatAttributeType::PercentCurrentLife},
};
static_assert(std::size(kAbsorptionKeys) == kAbsorptionFxCount);

// Where a key's effect is kept: the place of its type among the keys' types. Kept in type order,
// the sounds are preloaded and destroyed in that order, as they always were.
constexpr std::size_t AbsorptionSlot(std::size_t key) {
    std::size_t slot = 0;
    for (const AbsorptionKeys& other : kAbsorptionKeys)
        if (static_cast<int>(other.type) < static_cast<int>(kAbsorptionKeys[key].type))
            ++slot;
    return slot;
}

constexpr bool AbsorptionSlotsDiffer() {
    for (std::size_t a = 0; a < kAbsorptionFxCount; ++a)
        for (std::size_t b = a + 1; b < kAbsorptionFxCount; ++b)
            if (AbsorptionSlot(a) == AbsorptionSlot(b))
                return false;
    return true;
}
static_assert(AbsorptionSlotsDiffer());

// The slot of a type's effect; kAbsorptionFxCount for a type without one.
std::size_t AbsorptionSlotOf(CombatAttributeType type) {
    for (std::size_t key = 0; key < kAbsorptionFxCount; ++key)
        if (kAbsorptionKeys[key].type == type)
            return AbsorptionSlot(key);
    return kAbsorptionFxCount;
}

// The damage effect packs, in pack order.
constexpr CombatAttributeType kDamageFxTypes[Character::kDamageFxCount] = {
    CombatAttributeType::Cold,
    CombatAttributeType::Lightning,
    CombatAttributeType::Fire,
    CombatAttributeType::Poison,
    CombatAttributeType::Life,
    CombatAttributeType::Bleeding,
    CombatAttributeType::AttackSpeed,
    CombatAttributeType::SpellCastSpeed,
    CombatAttributeType::RunSpeed,
    CombatAttributeType::OffensiveAbility,
    CombatAttributeType::DefensiveAbility,
    CombatAttributeType::OffensiveReduction,
    CombatAttributeType::DefensiveReduction,
    CombatAttributeType::LifeLeech,
    CombatAttributeType::ManaLeech,
    CombatAttributeType::Fumble,
};

}  // namespace

SoundPak* Character::GetSoundPak(SoundSlot slot) const {
    if (slot >= SoundSlotCount || mSoundIds[slot] == 0)
        return nullptr;
    return Singleton<ObjectManager>::Get().GetObject<SoundPak>(mSoundIds[slot]);
}

CharFxPak& Character::GetEffectPack(std::size_t index) {
    if (index < kDamageFxCount)
        return mDamageFx[index];
    return index == kDamageFxCount ? mFireBuffFx : mPoisonBuffFx;
}

const CharacterDamageFx* Character::GetAbsorptionEffect(CombatAttributeType type) const {
    const std::size_t slot = AbsorptionSlotOf(type);
    return mAbsorptionFxLoaded && slot < kAbsorptionFxCount ? &mAbsorptionFx[slot] : nullptr;
}

void Character::FireAbsEffect(CombatAttributeType type) {
    if (!mAbsEffectsArmed)
        return;
    const std::size_t slot = AbsorptionSlotOf(type);
    if (!mAbsorptionFxLoaded || slot >= kAbsorptionFxCount || mAbsorptionFx[slot].fired)
        return;
    CharacterDamageFx& fx = mAbsorptionFx[slot];
    fx.fired = true;
    const WorldCoords at = GetAttachedCoords("Target");
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    if (!fx.effect.empty()) {
        if (auto* effect = objects.CreateObjectFromFile<EffectEntity>(fx.effect)) {
            // A flash of its own: it goes once its particles have died.
            effect->SetDeleteWhenDone(true);
            effect->StartEmitting();
            effect->AddToWorld(at, true);
        }
    }
    if (auto* sound = objects.GetObject<SoundPak>(fx.soundId))
        sound->Play(at.GetPosition(), false);
}

void Character::ResetAbsEffects() {
    for (CharacterDamageFx& fx : mAbsorptionFx)
        fx.fired = false;
    mAbsEffectsArmed = true;
}

void Character::DisarmAbsEffects() {
    mAbsEffectsArmed = false;
}

void Character::PlayImpactSound() {
    const float r = static_cast<float>(crt_rand()) * (1.0f / 32767.0f) * 100.0f;
    if (r < mImpactSoundChance) {
        if (SoundPak* sound = GetSoundPak(ImpactSound))
            sound->Play(GetPosition(), false);
    }
}

void Character::LoadEffectPacks() {
    if (gGameEngine) {
        const LoadTable database = gGameEngine->GetDatabase();
        const std::size_t index = GetEffectIndex();
        for (std::size_t i = 0; i < kEffectPackCount; ++i)
            GetEffectPack(i).LoadFromDatabase(database.GetArrayString(kEffectPackKeys[i], index));
        for (std::size_t key = 0; key < kAbsorptionFxCount && !mAbsorptionFxLoaded; ++key) {
            CharacterDamageFx& fx = mAbsorptionFx[AbsorptionSlot(key)];
            fx.effect = database.GetArrayString(kAbsorptionKeys[key].effect, index);
            if (SoundPak* sound = GetSoundPakFromRecord(database, kAbsorptionKeys[key].sound))
                fx.soundId = sound->GetObjectId();
        }
        mAbsorptionFxLoaded = true;
    }
    for (std::size_t i = 0; i < kEffectPackCount; ++i) {
        GetEffectPack(i).SetParent(GetObjectId());
        GetEffectPack(i).InitializeFxPak();
    }
}

void Character::PlayAnimationSound(const Name& name) {
    mAnimationSounds.Play(*this, name, nullptr);
}

void Character::PlayDeathSound() {
    PlayAnimationSound(Name::Create("deathSound1"));
}

void Character::StartDamageEffect(CombatAttributeType type) {
    for (std::size_t i = 0; i < kDamageFxCount; ++i)
        if (kDamageFxTypes[i] == type)
            mDamageFx[i].Enable(true);
}

void Character::StopDamageEffect(CombatAttributeType type) {
    for (std::size_t i = 0; i < kDamageFxCount; ++i)
        if (kDamageFxTypes[i] == type)
            mDamageFx[i].Enable(false);
}

void Character::PlayStunSound() {
    if (SoundPak* sound = GetSoundPak(StunSound))
        sound->Play(GetCoords().GetPosition());
}

void Character::PlayArmSwipeSound() {
    if (SoundPak* sound = GetSoundPak(SwipeSound))
        sound->Play(GetCoords().GetPosition());
}

void Character::SetCharacterBuffFx(CharacterBuff buff, bool on) {
    if (!on) {
        StopCharacterBuffFx(buff);
        return;
    }
    if (const auto it = mBuffFx.find(static_cast<int>(buff)); it != mBuffFx.end())
        it->second->Enable(true);
}

void Character::StopCharacterBuffFx(CharacterBuff buff) {
    if (const auto it = mBuffFx.find(static_cast<int>(buff)); it != mBuffFx.end())
        it->second->Enable(false);
}

void Character::PlayLoopingRunningSound() {
    SoundPak* sound = GetSoundPak(LoopingRunning);
    if (!sound || sound->IsPlaying())
        return;
    sound->Play(GetPathPosition(), true);
    sound->Track(GetObjectId());
}

void Character::StopLoopingRunningSound() {
    SoundPak* sound = GetSoundPak(LoopingRunning);
    if (sound && sound->IsPlaying())
        sound->FadeLastPlayedSound(static_cast<float>(mLoopingRunningSoundFadeTime));
}

}  // namespace GAME
