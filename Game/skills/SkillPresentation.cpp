// The presentation side of a skill: sounds, particle effects, auras, effect packs, rag-doll
// data, pet templates and animations. Names come from the profile at the current level.
#include <array>
#include <cmath>

#include <array>
#include "Engine/anim/GraphicsAnim.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/records/RecordDatabase.h"
#include "Engine/sys/Machine.h"
#include "Engine/world/World.h"
#include "Game/characters/Character.h"
#include "Game/characters/anim/AnimationSet.h"
#include "Game/core/ObjectLookup.h"
#include "Game/core/util/ServerObjectIds.h"
#include "Game/items/kinds/Weapon.h"

#include "Game/skills/Skill.h"
#include "Game/skills/SkillTargets.h"
#include "Game/skills/profile/SkillProfile.h"
#include "Game/world/effects/FxPak.h"
#include "Game/world/props/Prop.h"

namespace GAME {

// --- Sounds ---

Skill::SoundPaks::~SoundPaks() {
    for (std::size_t slot = SoundCount; slot-- > 0;)
        Reset(slot, nullptr);
}

SoundPak* Skill::SoundPaks::Get(std::size_t slot) const {
    return mIds[slot] ? Singleton<ObjectManager>::Get().GetObject<SoundPak>(mIds[slot]) : nullptr;
}

void Skill::SoundPaks::Reset(std::size_t slot, SoundPak* pak) {
    if (SoundPak* old = Get(slot); old && old != pak)
        Singleton<ObjectManager>::Get().DestroyObjectEx(old, kSourceFile, 0);
    mIds[slot] = pak ? pak->GetObjectId() : 0;
}

void Skill::LoadSounds() {
    const SkillProfile& p = GetSkillProfile();
    const std::string* names[SoundCount] = {
        &p.GetWarmUpSoundName(),   &p.GetSwipeSoundName(),      &p.GetHitSoundName(),
        &p.GetActivateSoundName(), &p.GetDeactivateSoundName(), &p.GetCastSoundName(),
        &p.GetUnCastSoundName(),   &p.GetSkillSound1Name(),     &p.GetSkillSound2Name()};
    for (std::size_t slot = 0; slot < SoundCount; ++slot)
        mSounds.Reset(slot, names[slot]->empty() ? nullptr : LoadSoundPak(names[slot]->c_str()));
}

void Skill::PlaySound(SoundSlot slot, const WorldVec3& where) {
    if (SoundPak* pak = mSounds.Get(slot))
        pak->Play(where, false, true);
}

void Skill::PlaySwipeSound(const WorldVec3& where) {
    PlaySound(SwipeSound, where);
}
void Skill::PlayHitSound(const WorldVec3& where) {
    PlaySound(HitSound, where);
}
void Skill::PlaySkillSound1(const WorldVec3& where) {
    PlaySound(SkillSound1, where);
}
void Skill::PlaySkillSound2(const WorldVec3& where) {
    PlaySound(SkillSound2, where);
}
void Skill::PlayWarmUpSound(const WorldVec3& where) {
    PlaySound(WarmUpSound, where);
}
void Skill::PlayActivateSound(const WorldVec3& where) {
    PlaySound(ActivateSound, where);
}
void Skill::PlayDeactivateSound(const WorldVec3& where) {
    PlaySound(DeactivateSound, where);
}
void Skill::PlayCastSound(const WorldVec3& where) {
    PlaySound(CastSound, where);
}
void Skill::PlayUnCastSound(const WorldVec3& where) {
    PlaySound(UnCastSound, where);
}

void Skill::PlayCastSounds(bool on) {
    if (Character* owner = mManager ? mManager->GetParent() : nullptr)
        PlaySound(on ? CastSound : UnCastSound, owner->GetPosition());
}

void Skill::PlayActivatedSounds(bool on) {
    if (Character* owner = mManager ? mManager->GetParent() : nullptr)
        PlaySound(on ? ActivateSound : DeactivateSound, owner->GetPosition());
}

void Skill::PlayWeaponSwipeSound(Character& character, const Name& event) {
    static const Name kSwipeRight = Name::Create("SwipeRight");
    static const Name kSwipeLeft = Name::Create("SwipeLeft");
    const bool right = event == kSwipeRight;
    if (!right && event != kSwipeLeft)
        return;
    std::uint32_t weaponId = 0;
    if (mManager)
        weaponId = right ? mManager->GetRightHandWeapon() : mManager->GetLeftHandWeapon();
    if (Weapon* weapon =
            weaponId ? Singleton<ObjectManager>::Get().GetObject<Weapon>(weaponId) : nullptr)
        weapon->PlaySwipeSound(character.GetPosition());
    else
        character.PlayArmSwipeSound();
}

// --- Particle effects ---

// The effect is attached once; later uses restart the same handle.
void Skill::ToggleParticleEffect(Character& character, std::size_t slot, const std::string& name,
                                 const std::string& attachPoint, bool on) {
    std::uint32_t& handle = mEffectHandles[slot];
    if (!on) {
        if (handle)
            character.StopParticleEffect(handle);
        return;
    }
    if (handle == 0 && !name.empty())
        handle = character.AddParticleEffect(name, attachPoint);
    if (handle)
        character.StartParticleEffect(handle);
}

void Skill::ParticleEffect1(Character& character, bool on) {
    const SkillProfile& p = GetSkillProfile();
    ToggleParticleEffect(character, 0, p.GetParticleEffectName1(),
                         p.GetParticleEffectAttachPoint1(), on);
}

void Skill::ParticleEffect2(Character& character, bool on) {
    const SkillProfile& p = GetSkillProfile();
    ToggleParticleEffect(character, 1, p.GetParticleEffectName2(),
                         p.GetParticleEffectAttachPoint2(), on);
}

void Skill::ParticleEffect3(Character& character, bool on) {
    const SkillProfile& p = GetSkillProfile();
    ToggleParticleEffect(character, 2, p.GetParticleEffectName3(),
                         p.GetParticleEffectAttachPoint3(), on);
}

void Skill::WarmUpEffect(Character& character, bool on) {
    const SkillProfile& p = GetSkillProfile();
    ToggleParticleEffect(character, 3, p.GetWarmUpEffectName(), p.GetWarmUpEffectAttachPoint(), on);
}

// --- Effect packs placed in the world ---

void Skill::CreateFxPak(const std::string& name, const WorldVec3& where) {
    if (name.empty())
        return;
    FxPak* pak = Singleton<ObjectManager>::Get().CreateObjectFromFile<FxPak>(name);
    if (!pak)
        return;
    WorldCoords coords;
    coords.SetPosition(where);
    World::Get().AddEntity(pak, coords, true);
}

void Skill::CreateTargetFx(const WorldVec3& where) {
    CreateFxPak(GetSkillProfile().GetTargetFxPakName(GetCurrentLevel()), where);
    ForEachModifier([&](Skill& modifier) { modifier.CreateTargetFx(where); });
}

void Skill::CreateEndBuffSelfFx(const WorldVec3& where) {
    CreateFxPak(GetSkillProfile().GetEndBuffSelfFxPakName(GetCurrentLevel()), where);
    ForEachModifier([&](Skill& modifier) { modifier.CreateEndBuffSelfFx(where); });
}

const std::string& Skill::GetEndBuffOtherFxPakName() const {
    static const std::string kNone;
    return mEndBuffOtherFxPak ? *mEndBuffOtherFxPak : kNone;
}

void Skill::CreateEndBuffOtherFx(const WorldVec3& where) {
    CreateFxPak(GetEndBuffOtherFxPakName(), where);
    mEndBuffOtherFxPak = nullptr;
    ForEachModifier([&](Skill& modifier) { modifier.CreateEndBuffOtherFx(where); });
}

// --- Auras and buff effects ---

void Skill::ApplyCastVisualEffects(Character& character, bool on) {
    const SkillProfile& p = GetSkillProfile();
    if (on) {
        if (mCastAuraHandle == 0 && !p.GetCastAuraName().empty())
            mCastAuraHandle = character.AddParticleEffect(p.GetCastAuraName(), std::string());
        if (mCastAuraHandle)
            character.StartParticleEffect(mCastAuraHandle);
    } else if (mCastAuraHandle) {
        character.RemoveParticleEffect(mCastAuraHandle);
        mCastAuraHandle = 0;
    }
    character.SetCharacterBuffFx(p.GetCharBuffFxType(), on);
}

void Skill::ApplyActivatedVisualEffects(Character& character, bool on) {
    const SkillProfile& p = GetSkillProfile();
    if (mActivatedAuraHandle) {
        character.RemoveParticleEffect(mActivatedAuraHandle);
        mActivatedAuraHandle = 0;
    }
    if (on && !p.GetActiveAuraName().empty()) {
        mActivatedAuraHandle = character.AddParticleEffect(p.GetActiveAuraName(), std::string());
        if (mActivatedAuraHandle)
            character.StartParticleEffect(mActivatedAuraHandle);
    }
    character.SetCharacterBuffFx(p.GetCharBuffFxType(), on);
    ApplyBuffSelfEffects(character, on);
    ForEachModifier([&](Skill& modifier) { modifier.ApplyBuffSelfEffects(character, on); });
}

void Skill::HandBuffEffects(const std::vector<std::string>& names) {
    if (!mManager)
        return;
    if (!names.empty())
        mManager->AddCharFxPak(GetObjectId(), names);
    mManager->RemoveWeaponEnchantment(GetObjectId());
    const std::string& enchantment = GetSkillProfile().GetWeaponEnchantment(GetCurrentLevel());
    if (!enchantment.empty())
        mManager->AddWeaponEnchantment(GetObjectId(), enchantment);
}

void Skill::ApplyBuffSelfEffects(Character& character, bool on) {
    if (on) {
        std::vector<std::string> names;
        if (const std::string& own = GetBuffSelfCharFxPakName(); !own.empty())
            names.push_back(own);
        ForEachModifier([&](Skill& modifier) {
            if (const std::string& name = modifier.GetBuffSelfCharFxPakName(); !name.empty())
                names.push_back(name);
        });
        HandBuffEffects(names);
        return;
    }
    if (mManager) {
        mManager->RemoveWeaponEnchantment(GetObjectId());
        mManager->RemoveCharFxPak(GetObjectId());
    }
    CreateEndBuffSelfFx(character.GetPosition());
}

void Skill::ApplyBuffOtherEffects(Character& character, bool on) {
    if (on) {
        std::vector<std::string> names;
        if (const std::string& own = GetBuffOtherCharFxPakName(); !own.empty())
            names.push_back(own);
        ForEachModifier([&](Skill& modifier) {
            if (const std::string& name = modifier.GetBuffOtherCharFxPakName(); !name.empty())
                names.push_back(name);
        });
        HandBuffEffects(names);
        mEndBuffOtherFxPak = &GetSkillProfile().GetEndBuffOtherFxPakName(GetCurrentLevel());
        return;
    }
    if (mManager) {
        mManager->RemoveWeaponEnchantment(GetObjectId());
        mManager->RemoveCharFxPak(GetObjectId());
    }
    CreateEndBuffOtherFx(character.GetPosition());
}

void Skill::ApplyActiveWorldVisualEffects(Character& character, bool on) {
    auto& objects = Singleton<ObjectManager>::Get();
    Entity* aura = mActiveWorldAura ? objects.GetObject<Entity>(mActiveWorldAura) : nullptr;
    if (!on) {
        if (aura) {
            World::Get().RemoveEntity(aura);
            objects.DestroyObjectEx(aura, kSourceFile, __LINE__);
        }
        mActiveWorldAura = 0;
        return;
    }
    if (aura) {
        World::Get().RemoveEntity(aura);
        World::Get().AddEntity(aura, character.GetCoords(), true);
        return;
    }
    const std::string& name = GetSkillProfile().GetActiveAuraName();
    if (name.empty())
        return;
    aura = objects.CreateObjectFromFile<Entity>(name);
    if (!aura)
        return;
    World::Get().AddEntity(aura, character.GetCoords(), true);
    mActiveWorldAura = aura->GetObjectId();
}

const std::string& Skill::GetBuffSelfCharFxPakName() const {
    return GetSkillProfile().GetCharFxSelfName(GetCurrentLevel());
}

const std::string& Skill::GetBuffOtherCharFxPakName() const {
    return GetSkillProfile().GetCharFxOtherName(GetCurrentLevel());
}

// --- Rag-doll data, animations and attach points ---

void Skill::InitRagDollData(CharacterRagDoll::EffectData& out, const WorldVec3& from,
                            const WorldVec3& to) const {
    const SkillProfile& p = GetSkillProfile();
    std::string effect = p.GetRagDollEffect();
    const WorldCoords fromCoords(from.region, Coords::FromOrigin(from.local));
    auto vectorOf = [&](const std::string& direction, const std::string& push,
                        const std::string& elevation) {
        return CharacterRagDoll::GetDirectionVec(direction, from, to) +
               CharacterRagDoll::GetPushVec(push, fromCoords) +
               CharacterRagDoll::GetElevationVec(elevation);
    };
    Vec3 vector{0.0f, 0.0f, 0.0f};
    if (const AnimationRagDoll* clip = mAnimationRagDoll; clip && clip->effect == "TakeHit") {
        vector += vectorOf(clip->direction, clip->push, clip->elevation);
        effect = "TakeHit";
    }
    vector += vectorOf(p.GetRagDollDirection(), p.GetRagDollPush(), p.GetRagDollElevation());
    if (vector.Length() > 0.0001f)
        vector = vector.Unit();
    out.effect = CharacterRagDoll::GetEffectEnum(effect);
    out.direction = vector;
    out.amplification = p.GetRagDollAmplification(GetCurrentLevel());
}

bool Skill::StartSpecialAnimation(Character& character, float speed, bool flag) {
    const Name& name = GetSkillProfile().GetSpecialAnimationName();
    AnimationSet* set = character.GetAnimationSet();
    if (name.IsEmpty() || !set ||
        !set->PlayAnimationIfAvailable(character, AnimationSet_Type::Special, name, speed, flag, 0))
        return false;
    CaptureAnimationRagDollInfo(character);
    return true;
}

bool Skill::StartNormalAnimation(Character& character, int type, const Name& name, float speed,
                                 int a, int b) {
    AnimationSet* set = character.GetAnimationSet();
    if (!set || !set->PlayAnimation(character, static_cast<AnimationSet_Type>(type), name, speed,
                                    a != 0, static_cast<unsigned>(b)))
        return false;
    CaptureAnimationRagDollInfo(character);
    return true;
}

void Skill::CaptureAnimationRagDollInfo(Character& character) {
    // How the clip just started throws a body it strikes; a clip that says nothing clears it.
    const GraphicsAnim* clip = character.GetCurrentAnimation();
    mAnimationRagDoll = clip ? &clip->GetRagDoll() : nullptr;
}

WorldCoords Skill::GetCoordsFromCallback(const Character& character, const Name& event) const {
    // Engine names, made once.
    static const Name kEvents[] = {Name::Create("RightHandHit"), Name::Create("LeftHandHit"),
                                   Name::Create("SpecialHit01"), Name::Create("SpecialHit02"),
                                   Name::Create("SpecialHit03"), Name::Create("SpecialHit04")};
    static const Name kAttachPoints[] = {
        Name::Create("R Hand"),       Name::Create("L Hand"),       Name::Create("SpecialHit01"),
        Name::Create("SpecialHit02"), Name::Create("SpecialHit03"), Name::Create("SpecialHit04")};
    for (std::size_t i = 0; i < std::size(kEvents); ++i)
        if (event == kEvents[i])
            return character.GetAttachedCoords(kAttachPoints[i]);
    return character.GetCoords();
}

Prop* Skill::GetProp1() const {
    return mProp1.Get();
}
Prop* Skill::GetProp2() const {
    return mProp2.Get();
}

// --- Pets ---

Character* Skill::GetPetTemplate() const {
    return mPetTemplate.Get();
}
Character* Skill::GetNextPetTemplate() const {
    return mNextPetTemplate.Get();
}

bool Skill::IsPetDisplayable() const {
    return GetSkillProfile().GetPetDisplayable();
}

float Skill::GetPetExtents() const {
    const Character* pet = mPetTemplate.Get();
    return pet ? GetCharacterExtents(*pet) + 2.0f : 2.0f;
}

void Skill::PreLoadPet() {
    const std::uint32_t level = GetCurrentLevel();
    // Templates made again (the level moved) take the ids the old ones had: a character loaded
    // at one level and raised then holds as many ids as one made at its final level.
    std::array<std::uint32_t, 2> freed{};
    std::size_t freedCount = 0;
    for (OwnedObject<Character>* slot : {&mPetTemplate, &mNextPetTemplate}) {
        if (Character* old = slot->Get()) {
            freed[freedCount++] = old->GetObjectId();
            if (mManager)
                mManager->PopPetInitialize(old);
        }
        slot->Reset();
    }
    std::size_t reused = 0;
    const SkillProfile& p = GetSkillProfile();
    const std::string& current = p.GetSpawnObject(level);
    const std::string& next = p.GetSpawnObject(level + 1);
    auto& objects = Singleton<ObjectManager>::Get();
    auto make = [&](OwnedObject<Character>& slot, const std::string& name) {
        if (name.empty() || !Singleton<RecordDatabase>::Get().Load(name))
            return;
        // The template itself every machine makes alike; what it makes is this machine's own.
        const std::uint32_t id = reused < freedCount ? freed[reused++] : objects.CreateObjectID();
        const TemplateIds templateIds;
        slot.Reset(objects.CreateObjectFromFile<Character>(name, id));
        if (Character* pet = slot.Get(); pet && mManager)
            mManager->PushPetInitialize(pet);
    };
    make(mPetTemplate, current);
    if (next != current)
        make(mNextPetTemplate, next);
}

}  // namespace GAME
