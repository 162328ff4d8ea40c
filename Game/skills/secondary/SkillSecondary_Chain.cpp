#include "Game/skills/secondary/SkillSecondary_Chain.h"

#include <algorithm>

#include "Engine/object/ObjectManager.h"
#include "Engine/sys/RandomUniform.h"
#include "Engine/world/World.h"
#include "Game/characters/Character.h"
#include "Game/core/GameEngine.h"
#include "Game/core/players/Bonus.h"
#include "Game/rules/combat/ParametersCombat.h"
#include "Game/skills/buffs/TargetSearch.h"
#include "Game/skills/manager/SkillServicesBase.h"
#include "Game/skills/profile/SkillProfile.h"
#include "Game/world/lightning/Lightning.h"

namespace GAME {

RTTI_IMPLEMENT(SkillSecondary_ChainBonus, SkillSecondary)
RTTI_IMPLEMENT(SkillSecondary_ChainLightning, SkillSecondary)
RTTI_IMPLEMENT(SkillSecondary_ForkLightning, SkillSecondary)

namespace {

Lightning* FindBolt(std::uint32_t id) {
    return id ? Singleton<ObjectManager>::Get().GetObject<Lightning>(id) : nullptr;
}

// A bolt of the profile's lightning from one point to the other, in the world; 0 when the
// profile names none (or it cannot be made).
std::uint32_t MakeBolt(const Skill& skill, const WorldVec3& from, const WorldVec3& to,
                       bool pauseAtTarget) {
    const std::string& name = skill.GetSkillProfile().GetLightningName();
    if (name.empty())
        return 0;
    auto* bolt = Singleton<ObjectManager>::Get().CreateObjectFromFile<Lightning>(name);
    if (!bolt)
        return 0;
    bolt->SetTarget(from, to);
    bolt->SetPauseAtTarget(pauseAtTarget);
    World::Get().AddEntity(bolt, WorldCoords(from.GetRegion(), Coords::FromOrigin(from.local)),
                           true);
    return bolt->GetObjectId();
}

WorldVec3 TargetPointOf(const Character& target) {
    return target.GetAttachedCoords("Target").GetPosition();
}

WorldCoords WithoutRotation(const WorldCoords& coords) {
    return WorldCoords(coords.GetRegion(), Coords::FromOrigin(coords.GetRegionCoords().origin));
}

// The strike of a bolt's arrival, from a generator seeded with the command's seed.
void StrikeOnArrival(Skill& skill, Character& caster, Character& target, std::uint32_t seed,
                     const WorldVec3& from) {
    RandomUniform random;
    random.Seed(seed);
    ParametersCombat parameters(random);
    skill.CollectCombatParameters(caster, &target, ParametersCombatStyle::Direct, false, 0,
                                  parameters, 0.0f);
    skill.InitRagDollData(parameters.ragDollData, from, target.GetPosition());
    target.TakeAttack(parameters);
}

}  // namespace

// --- The chain ---

void SkillSecondaryChain::ActivateNow(Character& caster, std::uint32_t targetId,
                                      const std::vector<std::uint32_t>& targets,
                                      const WorldCoords& point) {
    SkillServicesBase* services = Services();
    if (!IsSkillEnabled() || !services || !gGameEngine)
        return;
    const std::uint32_t level = GetCurrentLevel();
    const float gap = GetSkillProfile().GetSparkGap(level);
    const float chance = GetSkillProfile().GetSparkChance(level);
    const std::uint32_t hops = GetSkillProfile().GetSparkMaxNumber(level);
    mExcluded.assign(targets.begin(), targets.end());
    mExcluded.push_back(targetId);
    WorldVec3 current = point.GetPosition();
    mHops.clear();
    auto& objects = Singleton<ObjectManager>::Get();
    for (std::uint32_t i = 0; i < hops; ++i) {
        const int roll = gGameEngine->GetRandomGen().IGenerate(0, 100);
        if (!(static_cast<float>(roll) < chance))
            continue;
        FindTargetsInRadius(caster.GetTeam(), current, gap, mCandidates, 0, HopsToFriends());
        const std::uint32_t pick = gGameEngine->PickObject(mCandidates, mExcluded);
        const Character* next = pick ? objects.GetObject<Character>(pick) : nullptr;
        if (!next)
            break;
        mExcluded.push_back(pick);
        mHops.push_back(pick);
        current = next->GetPosition();
    }
    if (!mHops.empty())
        services->SendTargetResult(GetObjectId(), mHops, WithoutRotation(point),
                                   gGameEngine->GetRandomSeed(), 0, false);
}

void SkillSecondaryChain::TargetResult(Character& caster, const std::vector<std::uint32_t>& targets,
                                       const WorldCoords& origin, std::uint32_t seed, std::uint32_t,
                                       bool) {
    // One chain at a time: a new one starts only when the last has gone.
    if (!mChain.empty())
        return;
    mStart = origin.GetPosition();
    for (std::uint32_t id : targets)
        mChain.push_back(Link{0, id, false, {}, {}});
    mDecaying = false;
    mSeed = seed;
    Grow(caster);
}

void SkillSecondaryChain::Update(Character& caster, int ms) {
    SkillSecondary::Update(caster, ms);
    if (mDecaying)
        Decay();
    else if (!mChain.empty())
        Grow(caster);
}

void SkillSecondaryChain::Grow(Character& caster) {
    WorldVec3 previous = mStart;
    auto& objects = Singleton<ObjectManager>::Get();
    for (Link& link : mChain) {
        if (link.done) {
            previous = link.targetPoint;
            continue;
        }
        if (link.effectId != 0) {
            const Lightning* bolt = FindBolt(link.effectId);
            if (!bolt || bolt->HasReachedTarget()) {
                link.done = true;
                Arrive(caster, link);
            }
            return;
        }
        Character* target = objects.GetObject<Character>(link.targetId);
        if (!target) {
            // Gone before the bolt left: the next one leaves from where this chain stands.
            link.done = true;
            continue;
        }
        link.targetPoint = TargetPointOf(*target);
        link.startPoint = previous;
        link.effectId = MakeBolt(*this, previous, link.targetPoint, true);
        PlayHitSound(previous);
        // Without a bolt to wait for, the target is reached at once.
        if (link.effectId == 0) {
            link.done = true;
            Arrive(caster, link);
        }
        return;
    }
    mDecaying = true;
}

void SkillSecondaryChain::Arrive(Character& caster, Link& link) {
    CreateTargetFx(link.targetPoint);
    if (Character* target = Singleton<ObjectManager>::Get().GetObject<Character>(link.targetId))
        OnArrival(caster, *target, link);
    ActivateSecondarySkills(
        caster, link.targetId, mNoTargets,
        WorldCoords(link.targetPoint.GetRegion(), Coords::FromOrigin(link.targetPoint.local)));
}

void SkillSecondaryChain::Decay() {
    for (Link& link : mChain) {
        if (Lightning* bolt = FindBolt(link.effectId)) {
            bolt->SetPauseAtTarget(false);
            return;
        }
        link.effectId = 0;
    }
    mChain.clear();
    mDecaying = false;
}

SkillSecondary_ChainBonus::SkillSecondary_ChainBonus() {
    SetTypeText("^bSecondary Skill Chain Bonus");
}

void SkillSecondary_ChainBonus::OnArrival(Character&, Character& target, const Link&) {
    const std::uint32_t level = GetCurrentLevel();
    Bonus bonus;
    bonus.lifePoints = GetSkillProfile().GetLifeBonus(level);
    bonus.manaPoints = GetSkillProfile().GetManaBonus(level);
    bonus.effectName = GetSkillProfile().GetBonusEffectName();
    target.TakeBonus(bonus, false, 0);
}

SkillSecondary_ChainLightning::SkillSecondary_ChainLightning() {
    SetTypeText("^bSecondary Skill Chain Lightning");
}

void SkillSecondary_ChainLightning::OnArrival(Character& caster, Character& target,
                                              const Link& link) {
    StrikeOnArrival(*this, caster, target, GetSeed(), link.startPoint);
}

// --- The fork ---

SkillSecondary_ForkLightning::SkillSecondary_ForkLightning() {
    SetTypeText("^bSecondary Skill Fork Lightning");
}

void SkillSecondary_ForkLightning::ActivateNow(Character& caster, std::uint32_t targetId,
                                               const std::vector<std::uint32_t>& targets,
                                               const WorldCoords& point) {
    SkillServicesBase* services = Services();
    if (!IsSkillEnabled() || !services || !gGameEngine)
        return;
    const std::uint32_t level = GetCurrentLevel();
    const int roll = gGameEngine->GetRandomGen().IGenerate(0, 100);
    if (!(static_cast<float>(roll) < GetSkillProfile().GetSparkChance(level)))
        return;
    FindTargetsInRadius(caster.GetTeam(), point.GetPosition(), GetSkillProfile().GetSparkGap(level),
                        mCandidates, 0, false);
    mExcluded.assign(targets.begin(), targets.end());
    mExcluded.push_back(targetId);
    mPicked.clear();
    auto& objects = Singleton<ObjectManager>::Get();
    for (std::uint32_t i = 0; i < GetSkillProfile().GetSparkMaxNumber(level); ++i) {
        const std::uint32_t pick = gGameEngine->PickObject(mCandidates, mExcluded);
        if (!pick || !objects.GetObject<Character>(pick))
            break;
        mExcluded.push_back(pick);
        mPicked.push_back(pick);
    }
    if (!mPicked.empty())
        services->SendTargetResult(GetObjectId(), mPicked, WithoutRotation(point),
                                   gGameEngine->GetRandomSeed(), 0, false);
}

void SkillSecondary_ForkLightning::TargetResult(Character&,
                                                const std::vector<std::uint32_t>& targets,
                                                const WorldCoords& origin, std::uint32_t seed,
                                                std::uint32_t, bool) {
    mSeed = seed;
    auto& objects = Singleton<ObjectManager>::Get();
    for (std::uint32_t id : targets)
        if (const Character* target = objects.GetObject<Character>(id))
            mForks.push_back(Fork{0, id, TargetPointOf(*target), origin.GetPosition()});
    PlayHitSound(origin.GetPosition());
    for (Fork& fork : mForks)
        if (fork.effectId == 0)
            fork.effectId = MakeBolt(*this, fork.startPoint, fork.endPoint, false);
}

void SkillSecondary_ForkLightning::Update(Character& caster, int ms) {
    SkillSecondary::Update(caster, ms);
    if (mForks.empty())
        return;
    auto& objects = Singleton<ObjectManager>::Get();
    std::erase_if(mForks, [&](const Fork& fork) {
        const Lightning* bolt = FindBolt(fork.effectId);
        if (bolt && !bolt->HasReachedTarget())
            return false;
        CreateTargetFx(fork.endPoint);
        if (Character* target = objects.GetObject<Character>(fork.targetId))
            StrikeOnArrival(*this, caster, *target, mSeed, fork.startPoint);
        return true;
    });
}

}  // namespace GAME
