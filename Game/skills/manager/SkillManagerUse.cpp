// Skill use through the manager: starting a skill, the animation events of its use, the results
// of the skill commands, and the character-wide effects that several skills share.
#include <algorithm>
#include <array>
#include <cstdio>

#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/sys/RandomUniform.h"
#include "Engine/text/Name.h"
#include "Game/characters/Character.h"
#include "Game/core/util/SeamLog.h"
#include "Game/core/util/ServerObjectIds.h"
#include "Game/skills/SkillActivated.h"
#include "Game/skills/SkillKinds.h"
#include "Game/skills/buffs/SkillBuff.h"
#include "Game/skills/manager/SkillManager.h"
#include "Game/skills/manager/SkillServicesBase.h"
#include "Game/world/effects/CharFxPak.h"
#include "Game/world/props/Prop.h"

namespace GAME {

namespace {

// clang-format off
// The animation events a skill's animation sends, with what each does.
#define GAME_SKILL_ANIMATION_EVENTS(X) \
    X(End, "End") \
    X(Swipe, "Swipe") \
    X(SwipeRight, "SwipeRight") \
    X(SwipeLeft, "SwipeLeft") \
    X(SwipeBoth, "SwipeBoth") \
    X(SkillSound1, "SkillSound1") \
    X(SkillSound2, "SkillSound2") \
    X(SkillPropAdd, "SkillPropAdd") \
    X(SkillPropHide, "SkillPropHide") \
    X(SkillPropRemove, "SkillPropRemove") \
    X(SkillProp1Add, "SkillProp1Add") \
    X(SkillProp1Hide, "SkillProp1Hide") \
    X(SkillProp1Remove, "SkillProp1Remove") \
    X(SkillProp2Add, "SkillProp2Add") \
    X(SkillProp2Hide, "SkillProp2Hide") \
    X(SkillProp2Remove, "SkillProp2Remove") \
    X(PS1Start, "PS1Start") \
    X(PS1End, "PS1End") \
    X(PS2Start, "PS2Start") \
    X(PS2End, "PS2End") \
    X(PS3Start, "PS3Start") \
    X(PS3End, "PS3End") \
    X(Hit, "Hit") \
    X(RightHandHit, "RightHandHit") \
    X(LeftHandHit, "LeftHandHit") \
    X(FootHit, "FootHit") \
    X(SpecialHit01, "SpecialHit01") \
    X(SpecialHit02, "SpecialHit02") \
    X(SpecialHit03, "SpecialHit03") \
    X(SpecialHit04, "SpecialHit04")
// clang-format on

enum class AnimationEvent : std::size_t {
#define GAME_SKILL_ANIMATION_EVENT_ID(Id, Text) Id,
    GAME_SKILL_ANIMATION_EVENTS(GAME_SKILL_ANIMATION_EVENT_ID)
#undef GAME_SKILL_ANIMATION_EVENT_ID
        Count
};

constexpr std::size_t kAnimationEventCount = static_cast<std::size_t>(AnimationEvent::Count);

// Made once.
const std::array<Name, kAnimationEventCount>& SkillAnimationEventNames() {
    static const std::array<Name, kAnimationEventCount> names{
#define GAME_SKILL_ANIMATION_EVENT_NAME(Id, Text) Name::Create(Text),
        GAME_SKILL_ANIMATION_EVENTS(GAME_SKILL_ANIMATION_EVENT_NAME)
#undef GAME_SKILL_ANIMATION_EVENT_NAME
    };
    return names;
}
// First used when the library loads: the first swing of a fight interns no names.
[[maybe_unused]] const auto& gSkillAnimationEventNamesMade = SkillAnimationEventNames();

AnimationEvent ClassifyEvent(const Name& event) {
    const auto& names = SkillAnimationEventNames();
    for (std::size_t i = 0; i < names.size(); ++i)
        if (event == names[i])
            return static_cast<AnimationEvent>(i);
    return AnimationEvent::Count;
}

enum class PropChange { Add, Hide, Remove };

void ChangeProp(Character* character, Prop* prop, PropChange change) {
    if (!prop)
        return;
    switch (change) {
        case PropChange::Add:
            if (character)
                character->AddEquipmentProp(prop);
            break;
        case PropChange::Hide:
            prop->SetVisibility(false);
            break;
        case PropChange::Remove:
            if (character)
                character->RemoveEquipmentProp(prop->GetObjectId());
            prop->SetVisibility(true);
            break;
    }
}

}  // namespace

namespace {

// A walk may set off another manager's (a hit that triggers a skill of the one hit): one stack
// of copies serves every manager of the thread. A new depth's copy takes room for more skills
// than a character holds, so that no later walk there grows it in the middle of a fight.
struct WalkCopies {
    static constexpr std::size_t kDepths = 8;
    // A walk, the walk of the manager its hit sets off, and one more.
    static constexpr std::size_t kReservedDepths = 3;
    static constexpr std::size_t kRoom = 64;
    std::vector<std::unique_ptr<std::vector<std::uint32_t>>> copies;
    std::size_t depth = 0;
    void AddDepth() {
        if (copies.empty())
            copies.reserve(kDepths);
        copies.push_back(std::make_unique<std::vector<std::uint32_t>>());
        copies.back()->reserve(kRoom);
    }
    std::vector<std::uint32_t>& Enter() {
        if (depth == copies.size()) [[unlikely]]
            AddDepth();
        std::vector<std::uint32_t>& copy = *copies[depth++];
        copy.clear();
        return copy;
    }
};
thread_local WalkCopies tWalkCopies;

}  // namespace

void SkillManager::ReserveWalkCopies() {
    WalkCopies& walk = tWalkCopies;
    while (walk.copies.size() < WalkCopies::kReservedDepths)
        walk.AddDepth();
}

template <class Fill, class Visit>
void SkillManager::WalkCopy(Fill&& fill, Visit&& visit) {
    WalkCopies& walk = tWalkCopies;
    std::vector<std::uint32_t>& copy = walk.Enter();
    fill(copy);
    for (std::uint32_t id : copy)
        if (Skill* skill = Find(id))
            visit(*skill);
    --walk.depth;
}

SkillActivated* SkillManager::FindActivated(std::uint32_t reference) const {
    const std::uint32_t id = GetSkillIdFromReference(reference);
    return id ? Singleton<ObjectManager>::Get().GetObject<SkillActivated>(id) : nullptr;
}

// --- Skill use ---

bool SkillManager::StartSkill(std::uint32_t reference, std::uint32_t targetId,
                              const WorldVec3& point, int seed) {
    SkillActivated* skill = FindActivated(reference);
    if (!skill || !GetParent() || !skill->IsSkillEnabled())
        return false;
    const bool started =
        skill->StartAction(*GetParent(), targetId, point, static_cast<std::uint32_t>(seed));
    if (started) {
        if (mServices)
            mServices->ClearHitIteration();
        GetParent()->GetPlayStats().SkillUsed(skill->GetObjectName());
    } else {
        gEngine->Log(2, "Animation failed to start in SkillManager::StartSkill - %s %s",
                     GetParent()->GetObjectName().c_str(), skill->GetObjectName().c_str());
    }
    return started;
}

bool SkillManager::HandleSkillAnimationCallback(const Name& event, std::uint32_t reference,
                                                std::uint32_t targetId, const WorldVec3& point) {
    const AnimationEvent kind = ClassifyEvent(event);
    SkillActivated* skill = FindActivated(reference);
    if (!skill || !GetParent())
        return false;
    Character& parent = *GetParent();
    switch (kind) {
        case AnimationEvent::End:
            return skill->EndAction(parent);
        case AnimationEvent::Swipe:
        case AnimationEvent::SwipeRight:
        case AnimationEvent::SwipeLeft:
        case AnimationEvent::SwipeBoth:
            skill->SwipeAction(parent, event, targetId, point);
            break;
        case AnimationEvent::SkillSound1:
            skill->PlaySkillSound1(parent.GetPosition());
            break;
        case AnimationEvent::SkillSound2:
            skill->PlaySkillSound2(parent.GetPosition());
            break;
        case AnimationEvent::SkillPropAdd:
        case AnimationEvent::SkillProp1Add:
            ChangeProp(GetParent(), skill->GetProp1(), PropChange::Add);
            break;
        case AnimationEvent::SkillPropHide:
        case AnimationEvent::SkillProp1Hide:
            ChangeProp(GetParent(), skill->GetProp1(), PropChange::Hide);
            break;
        case AnimationEvent::SkillPropRemove:
        case AnimationEvent::SkillProp1Remove:
            ChangeProp(GetParent(), skill->GetProp1(), PropChange::Remove);
            break;
        case AnimationEvent::SkillProp2Add:
            ChangeProp(GetParent(), skill->GetProp2(), PropChange::Add);
            break;
        case AnimationEvent::SkillProp2Hide:
            ChangeProp(GetParent(), skill->GetProp2(), PropChange::Hide);
            break;
        case AnimationEvent::SkillProp2Remove:
            ChangeProp(GetParent(), skill->GetProp2(), PropChange::Remove);
            break;
        case AnimationEvent::PS1Start:
        case AnimationEvent::PS1End:
            skill->ParticleEffect1(parent, kind == AnimationEvent::PS1Start);
            break;
        case AnimationEvent::PS2Start:
        case AnimationEvent::PS2End:
            skill->ParticleEffect2(parent, kind == AnimationEvent::PS2Start);
            break;
        case AnimationEvent::PS3Start:
        case AnimationEvent::PS3End:
            skill->ParticleEffect3(parent, kind == AnimationEvent::PS3Start);
            break;
        case AnimationEvent::Hit:
        case AnimationEvent::RightHandHit:
        case AnimationEvent::LeftHandHit:
        case AnimationEvent::FootHit:
        case AnimationEvent::SpecialHit01:
        case AnimationEvent::SpecialHit02:
        case AnimationEvent::SpecialHit03:
        case AnimationEvent::SpecialHit04:
            if (mServices)
                mServices->IncHitIteration();
            skill->HitAction(parent, event, targetId, point);
            break;
        case AnimationEvent::Count:
            break;
    }
    return false;
}

void SkillManager::CancelSkillAction(std::uint32_t reference) {
    SkillActivated* skill = FindActivated(reference);
    if (!skill || !GetParent())
        return;
    skill->ParticleEffect1(*GetParent(), false);
    skill->ParticleEffect2(*GetParent(), false);
    skill->ParticleEffect3(*GetParent(), false);
    ChangeProp(GetParent(), skill->GetProp1(), PropChange::Remove);
    ChangeProp(GetParent(), skill->GetProp2(), PropChange::Remove);
    skill->Cancel(*GetParent());
}

bool SkillManager::SkillWarmUp(std::uint32_t reference, bool ending) {
    SkillActivated* skill = FindActivated(reference);
    if (!skill)
        return false;
    if (ending) {
        skill->WarmUpEnd();
        return false;
    }
    return skill->WarmUpStart();
}

// --- Results of the skill commands, on every machine ---

void SkillManager::SkillTargetResult(std::uint32_t reference,
                                     const std::vector<std::uint32_t>& targets,
                                     const WorldCoords& origin, std::uint32_t seed,
                                     std::uint32_t weaponId, bool useWeapon, int hitIteration) {
    Skill* skill = Find(GetSkillIdFromReference(reference));
    if (!skill || !GetParent())
        return;
    skill->TargetResult(*GetParent(), targets, origin, seed, weaponId, useWeapon);
    // Only the first hit of a use pays; later hits and projectile hits (0) do not.
    if (hitIteration == 1 && !targets.empty()) {
        skill->SubtractManaCost();
        skill->StartCooldown();
    }
}

void SkillManager::CreateProjectile(std::uint32_t reference, std::uint32_t weaponId,
                                    const WorldCoords& origin, std::uint32_t targetId,
                                    const WorldVec3& aim, std::uint32_t projectileId,
                                    std::uint32_t seed, std::uint32_t hitIteration) {
    Skill* skill = Find(GetSkillIdFromReference(reference));
    if (!skill || !GetParent())
        return;
    if (hitIteration == 1) {
        skill->SubtractManaCost();
        skill->StartCooldown();
    }
    skill->CreateProjectile(*GetParent(), weaponId, origin, targetId, aim, projectileId,
                            static_cast<std::uint16_t>(seed));
}

// --- Character-wide effects ---

std::uint32_t SkillManager::SelectWeaponPoolSkill(RandomUniform& random) {
    // (running total after the skill, its id), in list order; the default attack last.
    thread_local std::vector<std::pair<int, std::uint32_t>> pairs;
    pairs.clear();
    int total = 0;
    for (std::uint32_t id : mWeaponPoolSkills) {
        Skill* skill = Find(id);
        if (!skill || skill->GetCurrentLevel() == 0)
            continue;
        const auto weight = static_cast<int>(skill->GetChanceWeight(false));
        if (weight <= 0)
            continue;
        total += weight;
        pairs.emplace_back(total, id);
    }
    const int defaultWeight = std::max(100 - total, static_cast<int>(mDefaultWPChanceWeight));
    total += defaultWeight;
    pairs.emplace_back(total, mDefaultWPSkillId);
    const int draw = random.IGenerate(0, total);
    for (const auto& [runningTotal, id] : pairs)
        if (runningTotal >= draw)
            return id;
    return 0;
}

void SkillManager::RefreshCooldown() {
    WalkCopy(
        [this](std::vector<std::uint32_t>& copy) {
            copy.assign(mActive.begin(), mActive.end());
            copy.insert(copy.end(), mItemSkills.begin(), mItemSkills.end());
        },
        [](Skill& skill) { skill.EndCooldown(); });
}

void SkillManager::ApplyCooldownDamage(float value) {
    WalkCopy(
        [this](std::vector<std::uint32_t>& copy) {
            copy.assign(mActive.begin(), mActive.end());
            for (const auto& [name, entry] : mBuffs)
                copy.push_back(entry.buff);
            copy.insert(copy.end(), mItemSkills.begin(), mItemSkills.end());
        },
        [value](Skill& skill) { skill.ApplyDisruptionCooldownTime(value); });
}

void SkillManager::UnderAttack(const ParametersCombat& parameters) {
    if (!GetParent())
        return;
    Character& parent = *GetParent();
    WalkCopy(
        [this](std::vector<std::uint32_t>& copy) { copy.assign(mActive.begin(), mActive.end()); },
        [&](Skill& skill) {
            if (skill.IsSkillOnHitActive())
                skill.OnHitActivation(parent, parameters);
        });
    WalkCopy(
        [this](std::vector<std::uint32_t>& copy) {
            copy.assign(mItemSkills.begin(), mItemSkills.end());
        },
        [&](Skill& skill) {
            if (skill.GetCurrentLevel() > 0)
                skill.OnHitActivation(parent, parameters);
        });
}

void SkillManager::DispelSkillBuffs() {
    if (!GetParent())
        return;
    Character& parent = *GetParent();
    WalkCopy(
        [this](std::vector<std::uint32_t>& copy) {
            copy.clear();
            for (const auto& [name, entry] : mBuffs)
                copy.push_back(entry.buff);
        },
        [&](Skill& skill) {
            if (skill.IsA<SkillBuff>())
                static_cast<SkillBuff&>(skill).DispelBuff(parent);
        });
    WalkCopy(
        [this](std::vector<std::uint32_t>& copy) {
            copy.assign(mActive.begin(), mActive.end());
            copy.insert(copy.end(), mItemSkills.begin(), mItemSkills.end());
        },
        [&](Skill& skill) { skill.DispellSelfBuff(parent); });
}

void SkillManager::DispelSkillDeBuffs() {
    if (!GetParent())
        return;
    Character& parent = *GetParent();
    WalkCopy(
        [this](std::vector<std::uint32_t>& copy) {
            copy.clear();
            for (const auto& [name, entry] : mBuffs)
                copy.push_back(entry.buff);
        },
        [&](Skill& skill) {
            if (skill.IsA<SkillBuff>())
                static_cast<SkillBuff&>(skill).DispelDeBuff(parent);
        });
}

void SkillManager::PushPetInitialize(Character* pet) {
    if (pet)
        mPetsToInitialize.push_back(pet->GetObjectId());
}

void SkillManager::PopPetInitialize(Character* pet) {
    if (pet)
        std::erase(mPetsToInitialize, pet->GetObjectId());
}

void SkillManager::InitializeWaitingPets() {
    if (mPetsToInitialize.empty())
        return;
    // Taken out first: a pet's first update may push or pop pets (they wait for the next one).
    std::vector<std::uint32_t> waiting;
    waiting.swap(mPetsToInitialize);
    // Pets waiting here are templates: what they make is this machine's alone.
    const TemplateIds templateIds;
    for (std::uint32_t id : waiting)
        if (Character* pet = Singleton<ObjectManager>::Get().GetObject<Character>(id)) {
            pet->PreLoad(true);
            pet->InitialUpdate();
        }
}

void SkillManager::AddWeaponEnchantment(std::uint32_t skillId, const std::string& name) {
    mWeaponEnchantments.emplace_back(skillId, name);
    mVisibleEnchantment = name;
    if (GetParent())
        GetParent()->SetWeaponEnchantment(mVisibleEnchantment);
}

void SkillManager::RemoveWeaponEnchantment(std::uint32_t skillId) {
    std::erase_if(mWeaponEnchantments,
                  [skillId](const auto& entry) { return entry.first == skillId; });
    // The most recent enchantment still present shows.
    mVisibleEnchantment =
        mWeaponEnchantments.empty() ? std::string() : mWeaponEnchantments.back().second;
    if (GetParent())
        GetParent()->SetWeaponEnchantment(mVisibleEnchantment);
}

void SkillManager::AddCharFxPak(std::uint32_t skillId, const std::vector<std::string>& names) {
    mCharFxPaks.emplace_back(skillId, names);
    RebuildCharFxPaks();
}

void SkillManager::RemoveCharFxPak(std::uint32_t skillId) {
    std::erase_if(mCharFxPaks, [skillId](const auto& entry) { return entry.first == skillId; });
    if (skillId == mCurrentFxPakSkill)
        RebuildCharFxPaks();
}

void SkillManager::RebuildCharFxPaks() {
    for (const auto& pak : mCurrentFxPaks) {
        pak->Enable(false);
        pak->UnLoad();
    }
    mCurrentFxPaks.clear();
    mCurrentFxPakSkill = 0;
    // Unlike the enchantment, the oldest entry still present shows.
    if (mCharFxPaks.empty())
        return;
    const auto& [skillId, names] = mCharFxPaks.front();
    for (const std::string& name : names) {
        if (name.empty())
            continue;
        auto pak = std::make_unique<CharFxPak>();
        pak->LoadFromDatabase(name);
        pak->SetParent(GetParent() ? GetParent()->GetObjectId() : 0);
        pak->PreLoad();
        pak->InitializeFxPak();
        pak->Enable(true);
        mCurrentFxPaks.push_back(std::move(pak));
    }
    mCurrentFxPakSkill = skillId;
}

}  // namespace GAME
