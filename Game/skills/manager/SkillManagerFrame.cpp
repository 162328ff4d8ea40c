// The skill manager's frame: the walk over the active skills, and the test that lets a frame
// which would change nothing skip the walk.
#include <bit>
#include <cstdlib>
#include <cstring>

#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Game/characters/Character.h"
#include "Game/core/GameEngine.h"
#include "Game/items/kinds/Weapon.h"
#include "Game/rules/combat/CombatManager.h"
#include "Game/skills/Skill.h"
#include "Game/skills/SkillKinds.h"
#include "Game/skills/SkillUpdate.h"
#include "Game/skills/manager/SkillManager.h"

namespace GAME {

namespace {

// Hand states of a bow and of a staff: the weapon reaches far.
constexpr int kBowHandState = 3;
constexpr int kStaffHandState = 5;

bool RangedHands(int hands) {
    return hands == kBowHandState || hands == kStaffHandState;
}

Skill_RangeProfile ReachOf(bool ranged) {
    return ranged ? Skill_RangeProfile::Long : Skill_RangeProfile::Melee;
}

[[gnu::noinline]] Weapon_Type LookedUpWeaponType(std::uint32_t id) {
    const Weapon* weapon = Objects().GetObject<Weapon>(id);
    return weapon ? weapon->GetWeaponType() : SkillManager::kGenericWeapon;
}

// Most characters hold no weapon: no call then.
Weapon_Type HeldWeaponType(std::uint32_t id) {
    return id != 0 ? LookedUpWeaponType(id) : SkillManager::kGenericWeapon;
}

}  // namespace

void SkillManager::PrefetchUpdateData() const {
    // The fields up to the kept skill. Nothing is read here: a load would wait for the line the
    // prefetch asks for (a walk that runs finds its skills itself).
    const auto* bytes = reinterpret_cast<const char*>(this);
    const auto* last = reinterpret_cast<const char*>(&mKept + 1) - 1;
    for (const char* at = bytes; at <= last; at += 64)
        __builtin_prefetch(at);
    __builtin_prefetch(last);
}

void SkillManager::Update(int ms) {
    if (!GetParent())
        return;
    if (!mPetsToInitialize.empty())
        InitializeWaitingPets();
    // One look-up of the root for the update: each reads the thread's machine and its slot.
    GameEngine* const engine = gGameEngine;
#ifdef NDEBUG
    if (QuietFrameHolds(engine)) {
        if (engine && GetSkillServices())
            engine->GetRandomGen().Skip(mQuietDraws);
        return;
    }
#else
    // Debug builds take the whole frame and check that it only drew.
    const QuietFrameCheck check = StartQuietFrameCheck(engine);
#endif
    RefreshSkillAttributes(engine);
    CollectWeaponTypes();
    const int hands = GetHandState();
    const bool ranged = RangedHands(hands);
    SetWeaponReach(ranged, ReachOf(ranged));

    // Skills may join or leave the lists while they run: the walks go over copies, and buffs
    // that end meanwhile are destroyed after the walks.
    ++mFrameDepth;
    RandomUniformLocked* const outerRandom = GetWalkRandom();
    SetWalkRandom(engine ? &engine->GetRandomGen() : nullptr);
    const std::uint64_t destroyed = Skill::DestroyedOnThisThread();
    FindWalkSkills(destroyed);
    const WalkInputs inputs = ReadWalkInputs(hands);
    const bool quiet = QuietWalkHolds(inputs, destroyed);
#ifdef NDEBUG
    if (quiet) {
        // Each kept cost's draw, in the walk's order; nothing else moves.
        if (engine && inputs.services)
            engine->GetRandomGen().Skip(mQuietDraws);
    } else {
        WalkSkills(ms, destroyed, inputs, false);
    }
#else
    WalkSkills(ms, destroyed, inputs, quiet);
#endif
    // Most characters have neither: the copy's lines stay untouched.
    if (!mBuffs.empty() || !mItemSkills.empty()) {
        mScratch.clear();
        for (const auto& [name, entry] : mBuffs)
            mScratch.push_back(entry.buff);
        mScratch.insert(mScratch.end(), mItemSkills.begin(), mItemSkills.end());
        for (std::uint32_t id : mScratch)
            if (Skill* skill = Find(id))
                skill->Update(*GetParent(), ms);
    }
    SetWalkRandom(outerRandom);
    --mFrameDepth;
    DropDeferredBuffs();
#ifndef NDEBUG
    EndQuietFrameCheck(check, quiet);
#endif
}

bool SkillManager::QuietFrameHolds(const GameEngine* engine) {
    // The frame's steps in their order, each asked whether it would change anything: the kept
    // sums stand, the weapons and the reach are the ones set, the walk is quiet, and there is
    // no buff, item skill or deferred removal to run. The walk then owes the root its draws.
    if (!IsWalkQuiet() || !mSkillAttributesKept || !mBuffs.empty() || !mItemSkills.empty() ||
        !mDeferredBuffs.empty() || !mPetsToInitialize.empty())
        return false;
    // What the frame and its walk both read of the character, read once.
    const Character* const parent = GetParent();
    const std::uint32_t charInputs = parent->GetCharAttributeInputs();
    if (charInputs != mSkillAttributesInputs ||
        (engine ? engine->GetBalanceDifficulty() : 0u) != mSkillAttributesBalance)
        return false;
    std::uint32_t right = 0;
    std::uint32_t left = 0;
    int hands = 0;
    if (mCombatManager) {
        right = mCombatManager->GetRightHandWeapon();
        left = mCombatManager->GetLeftHandWeapon();
        hands = parent->GetHandState();
    }
    if (HeldWeaponType(right) != mRightWeaponType || HeldWeaponType(left) != mLeftWeaponType)
        return false;
    const bool ranged = RangedHands(hands);
    if (ranged != IsRangedWeapon() || ReachOf(ranged) != GetWeaponRangeProfile())
        return false;
    const float mana = SkillManager::GetCurrentMana();
    const WalkInputs inputs{.parent = parent,
                            .services = GetSkillServices(),
                            .charInputs = charInputs,
                            .stamp = GetSkillAttributesStamp(),
                            .manaBits = std::bit_cast<std::uint32_t>(mana),
                            .hands = hands};
#ifndef NDEBUG
    if (!(inputs == ReadWalkInputs(SkillManager::GetHandState()))) {
        gEngine->Log(0, "SkillManager: the quiet test of %s read other walk inputs",
                     parent->GetObjectName().c_str());
        std::abort();
    }
    return QuietWalkHolds(inputs, Skill::DestroyedOnThisThread());
#else
    // QuietWalkHolds without its call; the manager's mark was asked first of all.
    return inputs == mQuietInputs && WalkListKept(Skill::DestroyedOnThisThread());
#endif
}

#ifndef NDEBUG
SkillManager::QuietFrameCheck SkillManager::StartQuietFrameCheck(GameEngine* engine) {
    QuietFrameCheck check;
    check.quiet = QuietFrameHolds(engine);
    check.draws = engine ? engine->GetRandomGen().GetState() : 0u;
    if (check.quiet && engine && GetSkillServices())
        for (std::size_t i = 0; i < mWalk.size(); ++i)
            check.draws = RandomUniform::NextState(check.draws);
    check.stamp = GetSkillAttributesStamp();
    check.activeVersion = mActiveVersion;
    check.right = mRightWeaponType;
    check.left = mLeftWeaponType;
    check.ranged = IsRangedWeapon();
    check.profile = GetWeaponRangeProfile();
    return check;
}

void SkillManager::EndQuietFrameCheck(const QuietFrameCheck& check, bool walkQuiet) {
    if (!check.quiet)
        return;
    GameEngine* const engine = gGameEngine;
    const bool same = walkQuiet && check.stamp == GetSkillAttributesStamp() &&
                      check.activeVersion == mActiveVersion && check.right == mRightWeaponType &&
                      check.left == mLeftWeaponType && check.ranged == IsRangedWeapon() &&
                      check.profile == GetWeaponRangeProfile() &&
                      (!engine || engine->GetRandomGen().GetState() == check.draws);
    if (!same) {
        gEngine->Log(0, "SkillManager: the quiet frame of %s changed something",
                     GetParent()->GetObjectName().c_str());
        std::abort();
    }
}
#endif

SkillManager::WalkInputs SkillManager::ReadWalkInputs(int hands) {
    const float mana = SkillManager::GetCurrentMana();  // not through the table: every frame
    WalkInputs inputs;
    inputs.parent = GetParent();
    inputs.services = GetSkillServices();
    inputs.charInputs = GetParent()->GetCharAttributeInputs();
    inputs.stamp = GetSkillAttributesStamp();
    std::memcpy(&inputs.manaBits, &mana, sizeof mana);
    inputs.hands = hands;
    return inputs;
}

bool SkillManager::QuietWalkHolds(const WalkInputs& inputs, std::uint64_t destroyed) const {
    // The manager's mark stands only while every walk skill keeps its own: the skills' lines
    // are not read.
    if (!IsWalkQuiet() || !(inputs == mQuietInputs) || !WalkListKept(destroyed))
        return false;
#ifndef NDEBUG
    // A mark dropped without telling the manager, or a write that left a mark standing (a
    // write site that doesn't drop it).
    if (mQuietDraws != mWalk.size()) {
        gEngine->Log(0, "SkillManager: the quiet walk of %s changed its length",
                     GetParent()->GetObjectName().c_str());
        std::abort();
    }
    for (std::size_t i = 0; i < mWalk.size(); ++i) {
        SkillUpdateBytes now;
        mWalk[i].skill->CopyUpdateBytes(now);
        if (!mWalk[i].skill->KeptQuiet() || now != mQuietBytes[i]) {
            gEngine->Log(0, "SkillManager: %s kept its quiet mark through a write",
                         mWalk[i].skill->GetObjectName().c_str());
            std::abort();
        }
    }
#endif
    return true;
}

void SkillManager::WalkSkills(int ms, std::uint64_t destroyed, const WalkInputs& inputs,
                              bool quiet) {
#ifndef NDEBUG
    GameEngine* const engine = gGameEngine;
    const std::uint32_t drawsFrom = engine ? engine->GetRandomGen().GetState() : 0u;
#endif
    bool dualWield = false;
    for (std::size_t i = 0; i < mWalk.size(); ++i) {
        Skill* skill = mWalk[i].skill;
        if (!skill || Skill::DestroyedOnThisThread() != destroyed)
            skill = Find(mWalk[i].id);
#ifndef NDEBUG
        if (skill != Find(mWalk[i].id)) {
            gEngine->Log(0, "SkillManager: the walk's skill %u is stale", mWalk[i].id);
            std::abort();
        }
#endif
        if (skill) {
#ifndef NDEBUG
            if (skill->UpdatesAsWeapon() !=
                (dynamic_cast<const SkillActivatedWeapon*>(skill) != nullptr)) {
                gEngine->Log(0, "SkillManager: %u's weapon update mark is wrong", mWalk[i].id);
                std::abort();
            }
#endif
            // Most of the walk: the weapon kinds' update without the virtual call.
            if (skill->UpdatesAsWeapon())
                skill->UpdateAsWeapon(ms);
            else
                skill->Update(*GetParent(), ms);
            dualWield = skill->AllowDualWieldWeapons() || dualWield;
        }
    }
#ifndef NDEBUG
    // A quiet walk changes no skill, no input and no hands, and draws once per skill.
    if (quiet) {
        std::uint32_t draws = drawsFrom;
        if (engine && inputs.services)
            for (std::size_t i = 0; i < mWalk.size(); ++i)
                draws = RandomUniform::NextState(draws);
        bool same = dualWield == mDualWield && ReadWalkInputs(inputs.hands) == inputs &&
                    (!engine || engine->GetRandomGen().GetState() == draws);
        for (std::size_t i = 0; same && i < mWalk.size(); ++i) {
            SkillUpdateBytes now;
            mWalk[i].skill->CopyUpdateBytes(now);
            same = now == mQuietBytes[i];
        }
        if (!same) {
            gEngine->Log(0, "SkillManager: the quiet walk of %s changed something",
                         GetParent()->GetObjectName().c_str());
            std::abort();
        }
    }
#else
    (void)quiet;
#endif
    if (dualWield != mDualWield) {
        mDualWield = dualWield;
        if (GetParent())
            GetParent()->AllowDualWieldWeapons(dualWield);
    }
    KeepQuietWalk(inputs);
}

void SkillManager::KeepQuietWalk(const WalkInputs& before) {
    // Quiet only after a walk that moved none of its inputs, over kept skills that are quiet
    // under them.
    SetWalkQuiet(false);
    if (!WalkListKept(Skill::DestroyedOnThisThread()) ||
        !(ReadWalkInputs(GetHandState()) == before))
        return;
    for (const WalkEntry& entry : mWalk)
        if (!entry.skill->QuietWeaponUpdate(this, before.charInputs, before.stamp))
            return;
    for (const WalkEntry& entry : mWalk)
        entry.skill->KeepQuiet();
#ifndef NDEBUG
    mQuietBytes.resize(mWalk.size());
    for (std::size_t i = 0; i < mWalk.size(); ++i)
        mWalk[i].skill->CopyUpdateBytes(mQuietBytes[i]);
#endif
    mQuietInputs = before;
    mQuietDraws = static_cast<std::uint32_t>(mWalk.size());
    SetWalkQuiet(true);
}

void SkillManager::FindWalkSkills(std::uint64_t destroyed) {
    // Skills may join or leave the list while they run: the walk goes over a copy. The copy and
    // its skills are kept while the list and every skill stay (ids are never reused).
    const bool kept = mWalkKept && mWalkVersion == mActiveVersion && mWalkDestroyed == destroyed;
#ifndef NDEBUG
    if (kept) {
        bool same = mWalk.size() == mActive.size();
        for (std::size_t i = 0; same && i < mWalk.size(); ++i)
            same = mWalk[i].id == mActive[i] && mWalk[i].skill == Find(mWalk[i].id);
        if (!same) {
            gEngine->Log(0, "SkillManager: the kept walk of %s is stale",
                         GetParent()->GetObjectName().c_str());
            std::abort();
        }
    }
#endif
    if (kept) {
        for (const WalkEntry& entry : mWalk)
            entry.skill->PrefetchUpdateLines();
        return;
    }
    RebuildWalk(destroyed);
}

void SkillManager::RebuildWalk(std::uint64_t destroyed) {
    // The skills live apart from the character and each other: asked for together, they arrive
    // together instead of one memory wait per skill in the walk.
    ObjectManager& objects = Objects();
    // Another walk: the mark was made for the old one.
    SetWalkQuiet(false);
    mWalk.clear();
    mWalk.reserve(mActive.size());
    // A missing skill may yet be made under its id: such a walk is looked up again next time.
    mWalkKept = true;
    for (std::uint32_t id : mActive) {
        Skill* skill = id != 0 ? objects.GetObject<Skill>(id) : nullptr;
        if (skill)
            skill->PrefetchUpdateLines();
        mWalkKept = mWalkKept && skill;
        mWalk.push_back({skill, id});
    }
    mWalkVersion = mActiveVersion;
    mWalkDestroyed = destroyed;
}

}  // namespace GAME
