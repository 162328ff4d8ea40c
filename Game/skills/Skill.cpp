#include "Game/skills/Skill.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/records/LoadTable.h"
#include "Engine/sys/Machine.h"
#include "Engine/text/LocalizationManager.h"
#include "Game/characters/Character.h"
#include "Game/core/GameEngine.h"
#include "Game/core/ObjectLookup.h"
#include "Game/core/util/SeamLog.h"
#include "Game/items/kinds/Weapon.h"
#include "Game/rules/RacialBonus.h"
#include "Game/rules/SkillAttribute.h"
#include "Game/rules/combat/CombatManager.h"
#include "Game/rules/combat/ParametersCombat.h"
#include "Game/skills/SkillTargets.h"
#include "Game/skills/SkillUpdate.h"
#include "Game/skills/manager/SkillServicesBase.h"
#include "Game/skills/modifiers/Skill_Modifier.h"
#include "Game/skills/profile/SkillProfile.h"
#include "Game/skills/secondary/SkillSecondary.h"
#include "Game/world/projectiles/ProjectileBase.h"
#include "Game/world/props/Prop.h"

namespace GAME {

RTTI_IMPLEMENT(Skill, Object)

namespace {

// The profile of skills that never loaded one while no root exists to lend its own.
const SkillProfile& NeverLoadedProfile() {
    static const SkillProfile profile;
    return profile;
}

// "distanceProfile" words; any other text is melee.
Skill_RangeProfile RangeProfileFromText(const std::string& text) {
    static constexpr const char* kWords[] = {"Melee", "Short", "Moderate", "Long", "Maximum"};
    for (int i = 0; i < 5; ++i)
        if (text == kWords[i])
            return static_cast<Skill_RangeProfile>(i);
    return Skill_RangeProfile::Melee;
}

// A character's radius by its size class; other actors by their bounding sphere.
float ActorExtents(const Entity& entity) {
    if (const auto* character = dynamic_cast<const Character*>(&entity))
        return GetCharacterExtents(*character);
    return entity.GetBoundingRadius();
}

Skill* FindSkillById(std::uint32_t id) {
    return id ? Singleton<ObjectManager>::Get().GetObject<Skill>(id) : nullptr;
}

using detail::DrawSeed;
#ifdef NDEBUG
using detail::SkipSeed;
#endif

}  // namespace

#ifdef NDEBUG
void detail::SkipRootSeed() {
    SkipSeed(gGameEngine);
}
#endif

constinit thread_local std::uint64_t detail::tDestroyedSkills = 0;

Skill::Skill() = default;

#ifndef NDEBUG
void Skill::CopyUpdateBytes(SkillUpdateBytes& out) const {
    const auto* const first = reinterpret_cast<const std::byte*>(&mManager);
    const auto* const end = reinterpret_cast<const std::byte*>(&mActiveState + 1);
    if (end - first != static_cast<std::ptrdiff_t>(out.size())) {
        gEngine->Log(0, "Skill: the update block is %td bytes", end - first);
        std::abort();
    }
    std::memcpy(out.data(), first, out.size());
    out[static_cast<std::size_t>(reinterpret_cast<const std::byte*>(&mQuiet) - first)] = {};
}
#endif

Skill::~Skill() {
    ++detail::tDestroyedSkills;
}

// --- Loading ---

void Skill::Load(const LoadTable& table) {
    Object::Load(table);
    mResourceName = Name::Create(GetObjectName());
    LoadResources(table);
}

void Skill::LoadResources(const LoadTable& table) {
    if (gGameEngine)
        mProfile = gGameEngine->LoadSkillResource(mResourceName, table);
    KeepProfileRules();
    ContributionChanged();
    mRangeProfile = RangeProfileFromText(table.GetString("distanceProfile"));
    ForgetQuiet();
    LoadSounds();
    auto& objects = Singleton<ObjectManager>::Get();
    const SkillProfile& profile = GetSkillProfile();
    if (!profile.GetPropName1().empty())
        mProp1.Reset(objects.CreateObjectFromFile<Prop>(profile.GetPropName1()));
    if (!profile.GetPropName2().empty())
        mProp2.Reset(objects.CreateObjectFromFile<Prop>(profile.GetPropName2()));
}

void Skill::LoadOriginalSkillResource(const LoadTable& table) {
    if (gGameEngine)
        gGameEngine->LoadSkillResource(Name::Create(GetObjectName()), table);
}

const SkillProfile& Skill::FallbackProfile() {
    GameEngine* engine = gGameEngine;
    return engine ? *engine->GetNullSkillResource() : NeverLoadedProfile();
}

void Skill::KeepProfileRules() {
    const SkillProfile& profile = GetSkillProfile();
    mAnyWeapon = profile.GetQualifyingWeapons().empty();
    mDualWeaponsOnly = profile.GetQualifyingDualWeapons();
    mUltimateLevel = profile.GetUltimateLevel();
    ForgetQuiet();
}

void Skill::OnDestroy() {
    auto& objects = Singleton<ObjectManager>::Get();
    for (OwnedObject<Prop>* prop : {&mProp1, &mProp2}) {
        Prop* object = prop->Release();
        if (!object)
            continue;
        if (auto* parent = objects.GetObject<Entity>(object->GetAttachParentId()))
            parent->Detach(object);
        objects.DestroyObjectEx(object, kSourceFile, __LINE__);
    }
}

void Skill::Install(Character*) {}

void Skill::UnInstall(Character*) {
    if (!mManager)
        return;
    mManager->RemoveWeaponEnchantment(GetObjectId());
    mManager->RemoveCharFxPak(GetObjectId());
}

void Skill::PreLoad(bool now) {
    Object::PreLoad(now);
    for (std::size_t slot = 0; slot < SoundCount; ++slot)
        if (SoundPak* pak = mSounds.Get(slot))
            pak->PreLoad(now);
    for (OwnedObject<Prop>* prop : {&mProp1, &mProp2})
        if (Prop* object = prop->Get())
            object->PreLoad(true);
}

// --- Levels that other skills set ---

std::uint32_t Skill::GetMasteryLevel() const {
    const Skill* mastery = FindSkillById(mMasteryId);
    return mastery ? mastery->GetSkillLevel() : 0;
}

bool Skill::IsBaseSkillEnabled() const {
    if (mBaseSkills.empty())
        return true;
    return std::any_of(mBaseSkills.begin(), mBaseSkills.end(), [](std::uint32_t id) {
        const Skill* base = FindSkillById(id);
        return base && base->GetCurrentLevel() > 0;
    });
}

// --- Cooldown and mana ---

float Skill::GetCooldownTime() const {
    SkillProfile_Modifiers data;
    GetSkillModifierData(data);
    const float reduction = GetTotalSkillAttribute(SkillAttributeType::CooldownReduction);
    return (1.0f - reduction * 0.01f) * data.cooldownTime * 1000.0f;
}

void Skill::StartCooldown() {
    const float time = GetCooldownTime();
    if (time > 0.1f)
        ReplaceCooldownTime(time);
}

// A running longer cooldown is never shortened.
void Skill::ReplaceCooldownTime(float ms) {
    if (ms > 0.0f && static_cast<float>(mCooldownRemaining) < ms) {
        mCooldownRemaining = SkillProfile::SaturatedInt(ms);
        mCooldownTotal = mCooldownRemaining;
        ForgetQuiet();
    }
}

void Skill::ApplyDisruptionCooldownTime(float ms) {
    if (mDisruptionApplies)
        ReplaceCooldownTime(ms);
}

float Skill::GetCooldownCompletion() const {
    if (mCooldownTotal < 1)
        return 1.0f;
    return 1.0f - static_cast<float>(mCooldownRemaining) / static_cast<float>(mCooldownTotal);
}

float Skill::GetModifierManaCost() const {
    const Character* owner = mManager ? mManager->GetParent() : nullptr;
    if (owner && mManaCostKept && owner->GetCharAttributeInputs() == mManaCostInputs) {
#ifndef NDEBUG
        SkillProfile_Modifiers fresh;
        GetSkillModifierData(fresh);
        if (std::memcmp(&fresh.manaCost, &mManaCost, sizeof mManaCost) != 0) {
            gEngine->Log(0, "Skill: the kept mana cost of %s is stale", GetObjectName().c_str());
            std::abort();
        }
#endif
        return mManaCost;
    }
    return RefreshModifierManaCost(owner);
}

float Skill::RefreshModifierManaCost(const Character* owner) const {
    SkillProfile_Modifiers data;
    GetSkillModifierData(data);
    mManaCostKept = owner != nullptr;
    mManaCostInputs = owner ? owner->GetCharAttributeInputs() : 0u;
    mManaCost = data.manaCost;
    return data.manaCost;
}

float Skill::GetManaCost() const {
    return KeptOrFreshManaCost();
}

float Skill::RefreshManaCost(const Character* owner) const {
    const float manaCost = GetModifierManaCost();
    const float cost =
        ReducedManaCost(manaCost, GetTotalSkillAttribute(SkillAttributeType::ManaCostReduction));
    ForgetQuiet();
    mCostKept = owner && !mTotalHasOtherParts && ManaCostPartsKept(*owner);
    if (mCostKept) {
        mCostInputs = owner->GetCharAttributeInputs();
        mCostStamp = mManager->GetSkillAttributesStamp();
        mCost = cost;
    }
    return cost;
}

bool Skill::ManaCostPartsKept(const Character& owner) const {
    // A kept own part has an owner, so a manager.
    const std::uint32_t inputs = owner.GetCharAttributeInputs();
    return mManaCostKept && mManaCostInputs == inputs && mOwnAttributeKept &&
           mOwnAttributeType == SkillAttributeType::ManaCostReduction &&
           mOwnAttributeInputs == inputs && mTotalKept &&
           mTotalStamp == mManager->GetSkillAttributesStamp();
}

#ifndef NDEBUG
void Skill::CheckKeptManaCost(std::uint32_t seed) const {
    GameEngine* engine = gGameEngine;
    const RandomUniformLocked* walkRandom = mManager->GetWalkRandom();
    if (walkRandom && (!engine || walkRandom != &engine->GetRandomGen())) {
        gEngine->Log(0, "Skill: the walk's generator of %s is not the root's",
                     GetObjectName().c_str());
        std::abort();
    }
    SkillProfile_Modifiers fresh;
    GetSkillModifierData(fresh);
    bool drew = false;
    const auto type = SkillAttributeType::ManaCostReduction;
    const float own = SumOwnSkillAttribute(type, seed, drew);
    const float total = own + mManager->GetTotalSkillAttribute(type);
    const float cost = ReducedManaCost(fresh.manaCost, total);
    if (drew || std::memcmp(&cost, &mCost, sizeof cost) != 0) {
        gEngine->Log(0, "Skill: the kept mana cost of %s is stale", GetObjectName().c_str());
        std::abort();
    }
}
#endif

void Skill::SubtractManaCost() {
    if (mManager)
        mManager->SubtractMana(GetManaCost());
}

// --- Availability ---

#ifndef NDEBUG
void Skill::CheckKeptUltimateLevel() const {
    if (mUltimateLevel != GetSkillProfile().GetUltimateLevel()) {
        gEngine->Log(0, "Skill: the kept ultimate level of %s is stale", GetObjectName().c_str());
        std::abort();
    }
}
#endif

bool Skill::HoldsQualifyingWeapon() const {
    const auto& qualifying = GetSkillProfile().GetQualifyingWeapons();
    if (qualifying.empty())
        return true;
    Weapon_Type right = Weapon_Type::None;
    Weapon_Type left = Weapon_Type::None;
    if (mManager)
        mManager->GetWeaponTypes(right, left);
    return std::find(qualifying.begin(), qualifying.end(), right) != qualifying.end() ||
           std::find(qualifying.begin(), qualifying.end(), left) != qualifying.end();
}

bool Skill::SetAvailability(bool ignoreMana, bool ignoreCooldown) {
    return BaseAvailability(ignoreMana, ignoreCooldown);
}

bool Skill::UseDefaultWhenUnavailable() const {
    if (mWeaponNotQualifying || mHandStateNotQualifying)
        return true;
    return (mNotEnoughMana && mDefaultWhenOutOfMana) || (mCoolingDown && mDefaultWhenCoolingDown);
}

// --- Update and replication ---

void Skill::Update(Character&, int ms) {
    RunDown<false>(ms);
}

void Skill::SendStateUpdate() {
    if (SkillServicesBase* services = mManager ? mManager->GetSkillServices() : nullptr)
        services->SendSkillStateUpdate(GetObjectId(), mSkillState);
}

void Skill::SendActiveStateUpdate() {
    if (SkillServicesBase* services = mManager ? mManager->GetSkillServices() : nullptr)
        services->SendSkillActiveUpdate(GetObjectId(), mActiveState);
}

void Skill::ReceiveStateUpdate(const SkillState& state, bool force) {
    if (IsControllingSkill() && !force)
        return;
    const std::uint32_t before = mSkillState.level;
    mSkillState = state;
    ForgetQuiet();
    ContributionChanged();
    if (mManager) {
        if (mSkillState.level < 1 || mIsTemporary)
            mManager->RemoveFromActiveList(this);
        else
            mManager->AddToActiveList(this);
    }
    if (mSkillState.level != before)
        PreLoadResources();
}

// --- Attributes ---

void Skill::GetSkillModifierData(SkillProfile_Modifiers& data) const {
    const std::uint32_t level = GetCurrentLevel();
    if (level == 0)
        return;
    data.Add(GetSkillProfile().GetSkillModifierData(level));
    ForEachModifier([&](Skill& modifier) { modifier.GetSkillModifierData(data); });
}

float Skill::GetTotalSkillAttribute(SkillAttributeType type) const {
    // The root draws on every call; the sum needs the value only when it is worked out again.
    GameEngine* engine = gGameEngine;
    const Character* owner = mManager ? mManager->GetParent() : nullptr;
    float own;
    if (owner && mOwnAttributeKept && mOwnAttributeType == type &&
        owner->GetCharAttributeInputs() == mOwnAttributeInputs) {
#ifndef NDEBUG
        bool drew = false;
        const float fresh = SumOwnSkillAttribute(type, DrawSeed(engine), drew);
        if (drew || std::memcmp(&fresh, &mOwnAttribute, sizeof fresh) != 0) {
            gEngine->Log(0, "Skill: the kept attribute sum of %s is stale",
                         GetObjectName().c_str());
            std::abort();
        }
#else
        SkipSeed(engine);
#endif
        // A kept own part has an owner, so a manager.
        if (mTotalKept && mManager->GetSkillAttributesStamp() == mTotalStamp) {
#ifndef NDEBUG
            const float total = mOwnAttribute + mManager->GetTotalSkillAttribute(type);
            if (std::memcmp(&total, &mTotal, sizeof total) != 0) {
                gEngine->Log(0, "Skill: the kept attribute total of %s is stale",
                             GetObjectName().c_str());
                std::abort();
            }
#endif
            return mTotal;
        }
        own = mOwnAttribute;
    } else {
        own = RefreshOwnSkillAttribute(type, DrawSeed(engine), owner);
    }
    if (!mManager)
        return own + 0.0f;  // as the sum with no manager's part always was (-0 reads +0)
    // The total goes with the own part as it now stands: it is read only while that is kept.
    mTotalStamp = mManager->GetSkillAttributesStamp();
    mTotal = own + mManager->GetTotalSkillAttribute(type);
    mTotalKept = true;
    return mTotal;
}

float Skill::SumOwnSkillAttribute(SkillAttributeType type, std::uint32_t seed, bool& drew) const {
    SkillAttributeAccumulator accumulator;
    accumulator.SetSeed(seed);
    const std::uint32_t seeded = accumulator.GetRandomGen().GetState();
    GetSkillProfile().GetSkillAttributes(accumulator, GetCurrentLevel());
    AddModifierSkillAttributes(accumulator);
    // Every attribute rolls, whatever the seed; a seed whose state never moves hides the rolls.
    drew = accumulator.GetRandomGen().GetState() != seeded ||
           RandomUniform::NextState(seeded) == seeded;
    return accumulator.GetValue(type);
}

float Skill::RefreshOwnSkillAttribute(SkillAttributeType type, std::uint32_t seed,
                                      const Character* owner) const {
    bool drew = false;
    const float sum = SumOwnSkillAttribute(type, seed, drew);
    // Without a roll the sum follows from the sources alone, which the change count follows.
    mOwnAttributeKept = owner != nullptr && !drew;
    mOwnAttributeType = type;
    mOwnAttributeInputs = owner ? owner->GetCharAttributeInputs() : 0u;
    mOwnAttribute = sum;
    return sum;
}

void Skill::CollectLocalOffensiveDamageAttributes(CombatAttributeAccumulator& accumulator) {
    GetSkillProfile().GetOffensiveDamageAttributes(accumulator, GetCurrentLevel());
    AddModifierOffensiveDamageAttributes(accumulator);
}

void Skill::CollectLocalOffensiveModifierAttributes(CombatAttributeAccumulator& accumulator) {
    GetSkillProfile().GetOffensiveModifierAttributes(accumulator, GetCurrentLevel());
    AddModifierOffensiveModifierAttributes(accumulator);
}

void Skill::CollectLocalRacialBonusDamage(const std::vector<std::string>& races,
                                          RacialBonus_Damage& bonus) {
    GetSkillProfile().GetRacialBonusDamage(races, bonus, GetCurrentLevel());
    AddModifierRacialBonusDamage(races, bonus);
}

// Only Skill_Modifier objects pass ForEachModifier's class test.
#define GAME_EACH_MODIFIER(call) \
    ForEachModifier([&](Skill& m) { static_cast<Skill_Modifier&>(m).call; })

void Skill::AddModifierCharAttributes(CharAttributeAccumulator& accumulator) {
    GAME_EACH_MODIFIER(CollectModifierCharAttributes(accumulator));
}

void Skill::AddModifierSkillAttributes(SkillAttributeAccumulator& accumulator) const {
    GAME_EACH_MODIFIER(CollectModifierSkillAttributes(accumulator));
}

void Skill::AddModifierOffensiveDamageAttributes(CombatAttributeAccumulator& accumulator) {
    GAME_EACH_MODIFIER(CollectModifierOffensiveDamageAttributes(accumulator));
}

void Skill::AddModifierOffensiveModifierAttributes(CombatAttributeAccumulator& accumulator) {
    GAME_EACH_MODIFIER(CollectModifierOffensiveModifierAttributes(accumulator));
}

void Skill::AddModifierRetaliationAttributes(CombatAttributeAccumulator& accumulator) {
    GAME_EACH_MODIFIER(CollectModifierRetaliationAttributes(accumulator));
}

void Skill::AddModifierDefenseAttributes(CombatAttributeAccumulator& accumulator) {
    GAME_EACH_MODIFIER(CollectModifierDefenseAttributes(accumulator));
}

void Skill::AddModifierRacialBonusDamage(const std::vector<std::string>& races,
                                         RacialBonus_Damage& bonus) {
    GAME_EACH_MODIFIER(CollectModifierRacialBonusDamage(races, bonus));
}

void Skill::AddModifierRacialBonusDefense(const std::vector<std::string>& races,
                                          RacialBonus_Defense& bonus) {
    GAME_EACH_MODIFIER(CollectModifierRacialBonusDefense(races, bonus));
}

#undef GAME_EACH_MODIFIER

ProjectileModifierStruct Skill::MakeProjectileModifier() const {
    SkillProfile_Modifiers data;
    GetSkillModifierData(data);
    const auto& projectile = GetSkillProfile().GetSkillProjectileModifierData(GetCurrentLevel());
    ProjectileModifierStruct modifier;
    modifier.skillId = GetObjectId();
    modifier.radius = data.explosionRadius + projectile.explosionRadius;
    modifier.fragmentRecord = projectile.fragmentsName;
    modifier.fragmentCountMin = projectile.fragmentsLaunchNumberMin;
    modifier.fragmentCountMax = projectile.fragmentsLaunchNumberMax;
    modifier.piercing = data.projectilePiercing + projectile.piercingChance;
    return modifier;
}

void Skill::AddProjectileModifier(ProjectileBase& projectile) {
    if (GetCurrentLevel() == 0)
        return;
    projectile.AddProjectileModifier(MakeProjectileModifier());
    // The modifier kinds that shape projectiles add their own entries.
    for (std::uint32_t id : mModifiers)
        if (Object* object = FindObjectOfClass(id, "Skill_ProjectileModifier"))
            static_cast<Skill*>(object)->AddProjectileModifier(projectile);
}

// --- Combat parameters ---

void Skill::CollectCombatParameters(Character& attacker, Character* target,
                                    ParametersCombatStyle style, bool useItemDamage,
                                    std::uint32_t itemId, ParametersCombat& parameters,
                                    float damagePercent) {
    if (target) {
        RacialBonus_Damage racial;
        const std::vector<std::string>& races = target->GetRace();
        CollectLocalRacialBonusDamage(races, racial);
        if (GetSkillProfile().IncludeRacialDamage())
            attacker.ContributeRacialBonusDamage(races, itemId, racial);
        parameters.racialBonusDamage = racial.absolute;
        if (racial.percent > 0.0f) {
            damagePercent = racial.percent + (damagePercent == 0.0f ? 100.0f : damagePercent);
            CombatManager::Trace("^bRacial Bonus Damage Percent %f",
                                 static_cast<double>(racial.percent));
        }
        // On the combat trace, which writes only when switched on: attacks must not allocate.
        if (racial.absolute > 0.0f)
            CombatManager::Trace("^bRacial Bonus Damage Absolute %f",
                                 static_cast<double>(racial.absolute));
    }
    parameters.attackerId = attacker.GetObjectId();
    parameters.combatStyle = style;

    CombatAttributeAccumulator& accumulator = parameters.accumulator;
    CollectLocalOffensiveModifierAttributes(accumulator);
    if (mManager)
        mManager->CollectAvailableOffensiveModifierAttributes(accumulator);
    CollectLocalOffensiveDamageAttributes(accumulator);

    float offensiveReduction = 0.0f;
    if (useItemDamage) {
        if (mManager)
            mManager->CollectAvailableOffensiveDamageAttributes(itemId, accumulator);
        offensiveReduction = attacker.GetOffensiveReduction();
    }
    accumulator.ProcessDamage(attacker, damagePercent, offensiveReduction,
                              attacker.GetTotalDamageReductionPercent(),
                              attacker.GetTotalDamageReductionAbsolute());

    parameters.offensiveAbility = mManager ? mManager->CalculateOffensiveAbility(0.0f) : 0.0f;
    parameters.fumbleChance = attacker.GetFumbleDamage();
    parameters.manaCost = GetManaCost();
}

// --- Targets ---

float Skill::GetRange() const {
    // One look-up of the root: each reads the thread's machine and its slot.
    const GameEngine* engine = gGameEngine;
    if (!engine)
        return 1.0f;
    switch (mRangeProfile) {
        case Skill_RangeProfile::Melee:
            return engine->GetMeleeRange();
        case Skill_RangeProfile::Short:
            return engine->GetShortRange();
        case Skill_RangeProfile::Moderate:
            return engine->GetModerateRange();
        case Skill_RangeProfile::Long:
            return engine->GetLongRange();
        case Skill_RangeProfile::Maximum:
            return engine->GetMaximumRange();
    }
    return 1.0f;
}

bool Skill::IsTargetInRange(const Character& caster, std::uint32_t target, float range) const {
    const Actor* actor =
        target ? Singleton<ObjectManager>::Get().GetObject<Actor>(target) : nullptr;
    if (!actor)
        return false;
    const float distance = caster.GetPosition().DistanceTo(actor->GetPosition()) -
                           ActorExtents(caster) - ActorExtents(*actor);
    return distance <= range;
}

void Skill::Cancel(Character&) {
    if (!mManager)
        return;
    auto& objects = Singleton<ObjectManager>::Get();
    for (std::uint32_t id : {mManager->GetRightHandWeapon(), mManager->GetLeftHandWeapon()})
        if (Weapon* weapon = id ? objects.GetObject<Weapon>(id) : nullptr)
            weapon->DisableWeaponTrail();
}

// --- Attached skills ---

void Skill::AddMastery(std::uint32_t id) {
    if (id != 0)
        mMasteryId = id;
}

void Skill::AddModifier(std::uint32_t id) {
    if (id != 0)
        mModifiers.push_back(id);
    ContributionChanged();
}

void Skill::AddSecondarySkill(std::uint32_t id) {
    if (id != 0)
        mSecondarySkills.push_back(id);
}

void Skill::AddBaseSkill(std::uint32_t id) {
    if (id != 0)
        mBaseSkills.push_back(id);
}

// Each attached secondary skill that still exists. The walk goes over the ids as they were: a
// secondary skill may run further secondary skills meanwhile but never changes this list.
template <class Fn>
static void ForEachSecondary(const std::vector<std::uint32_t>& ids, Fn fn) {
    for (std::uint32_t id : ids)
        if (Object* object = FindObjectOfClass(id, "SkillSecondary"))
            fn(*static_cast<SkillSecondary*>(object));
}

void Skill::ActivateSecondarySkills(Character& character, std::uint32_t targetId,
                                    const std::vector<std::uint32_t>& targets,
                                    const WorldCoords& coords) {
    ForEachSecondary(mSecondarySkills, [&](SkillSecondary& secondary) {
        secondary.ActivateNow(character, targetId, targets, coords);
    });
}

void Skill::PrimaryActivateSecondarySkills(Character& character,
                                           const std::vector<std::uint32_t>& targets,
                                           const WorldCoords& coords) {
    ForEachSecondary(mSecondarySkills, [&](SkillSecondary& secondary) {
        secondary.PrimaryActivateNow(character, 0, targets, coords);
    });
}

void Skill::PrimaryStopSecondarySkills(Character& character) {
    ForEachSecondary(mSecondarySkills,
                     [&](SkillSecondary& secondary) { secondary.PrimaryStop(character); });
}

bool Skill::GetModifierInfo(std::size_t index, std::string& name, std::uint32_t& level) const {
    if (index >= mModifiers.size())
        return false;
    const Skill* modifier = FindSkillById(mModifiers[index]);
    if (!modifier)
        return false;
    name = modifier->GetObjectName();
    level = modifier->GetCurrentLevel();
    return true;
}

std::string Skill::GetBaseNameText() const {
    const Skill* base = mBaseSkills.empty() ? nullptr : FindSkillById(mBaseSkills.front());
    return base ? base->GetDisplayNameTag() : std::string();
}

std::wstring Skill::GetBaseNamesText() const {
    const auto& texts = LocalizationManager::Instance();
    std::wstring out;
    for (std::uint32_t id : mBaseSkills)
        if (const Skill* base = FindSkillById(id))
            out += texts.Format("SkillBaseNamesFormat", texts.GetText(base->GetDisplayNameTag()));
    return out;
}

void Skill::AddOwnCharAttributes(CharAttributeAccumulator& accumulator) {
    GetSkillProfile().GetCharAttributes(accumulator, GetCurrentLevel());
    GetSkillProfile().GetCharAttributesPenalty(accumulator, GetCurrentLevel());
    AddModifierCharAttributes(accumulator);
}

void Skill::AddOwnSkillAttributes(SkillAttributeAccumulator& accumulator) {
    GetSkillProfile().GetSkillAttributes(accumulator, GetCurrentLevel());
    AddModifierSkillAttributes(accumulator);
}

void Skill::AddOwnOffensiveDamageAttributes(CombatAttributeAccumulator& accumulator) {
    GetSkillProfile().GetOffensiveDamageAttributes(accumulator, GetCurrentLevel());
    AddModifierOffensiveDamageAttributes(accumulator);
}

void Skill::AddOwnOffensiveModifierAttributes(CombatAttributeAccumulator& accumulator) {
    GetSkillProfile().GetOffensiveModifierAttributes(accumulator, GetCurrentLevel());
    AddModifierOffensiveModifierAttributes(accumulator);
}

void Skill::AddOwnRetaliationAttributes(CombatAttributeAccumulator& accumulator) {
    GetSkillProfile().GetRetaliationAttributes(accumulator, GetCurrentLevel());
    AddModifierRetaliationAttributes(accumulator);
}

void Skill::AddOwnDefenseAttributes(CombatAttributeAccumulator& accumulator) {
    GetSkillProfile().GetDefenseAttributes(accumulator, GetCurrentLevel());
    AddModifierDefenseAttributes(accumulator);
}

void Skill::AddOwnRacialBonusDefense(const std::vector<std::string>& races,
                                     RacialBonus_Defense& bonus) {
    GetSkillProfile().GetRacialBonusDefense(races, bonus, GetCurrentLevel());
    AddModifierRacialBonusDefense(races, bonus);
}

}  // namespace GAME
