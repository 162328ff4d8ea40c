#include "Game/skills/manager/SkillManager.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Game/characters/Character.h"
#include "Game/core/GameEngine.h"
#include "Game/core/util/SeamLog.h"
#include "Game/core/util/StringUtil.h"
#include "Game/items/kinds/Weapon.h"
#include "Game/rules/combat/CombatManager.h"
#include "Game/skills/Skill.h"
#include "Game/skills/SkillKinds.h"
#include "Game/skills/SkillUpdate.h"
#include "Game/skills/manager/SkillPointSpend.h"
#include "Game/skills/manager/SkillServices_Character.h"
#include "Game/skills/manager/SkillState.h"
#include "Game/world/effects/CharFxPak.h"

namespace GAME {

namespace {

constexpr const char* kSourceFile = "Game/SkillManager";

template <class T>
T* FindAs(std::uint32_t id) {
    return id != 0 ? Objects().GetObject<T>(id) : nullptr;
}

std::string NumberedKey(const char* stem, unsigned number) {
    return stem + std::to_string(number);
}

}  // namespace

SkillManager::SkillManager() = default;

SkillManager::~SkillManager() {
    for (std::uint32_t id : mSkills) {
        if (Skill* skill = Find(id))
            skill->SetManager(nullptr);
        DestroySkill(id, __LINE__);
    }
    for (std::uint32_t id : mItemSkills)
        DestroySkill(id, __LINE__);
    std::vector<BuffEntry> buffs;
    for (const auto& [name, entry] : mBuffs)
        buffs.push_back(entry);
    for (const auto& [entry, replica] : mDeferredBuffs)
        buffs.push_back(entry);
    for (const BuffEntry& entry : buffs)
        for (std::uint32_t id : {entry.buff, entry.modifier1, entry.modifier2}) {
            if (Skill* skill = Find(id))
                skill->SetManager(nullptr);
            DestroySkill(id, __LINE__);
        }
}

Skill* SkillManager::Find(std::uint32_t id) {
    return FindAs<Skill>(id);
}

const Skill* SkillManager::FindKept(std::uint32_t id) {
    return id != 0 ? Objects().GetObject(id, mKept) : nullptr;
}

void SkillManager::DestroySkill(std::uint32_t id, int line) {
    if (Object* object = id != 0 ? Objects().GetObject(id) : nullptr) {
        Objects().DestroyObjectEx(object, kSourceFile, line);
        CharAttributesChanged();
    }
}

void SkillManager::CharAttributesChanged() {
    if (GetParent())
        GetParent()->CharAttributeInputsChanged();
}

void SkillManager::Initialize(CombatManager* combatManager, Character* parent) {
    mCombatManager = combatManager;
    SetParent(parent);
    mParentBio = parent ? &parent->GetCharacterBio() : nullptr;
}

void SkillManager::SetAsControllingManager() {
    if (mServices)
        return;
    mServices = std::make_unique<SkillServices_Character>();
    mServices->SetParent(GetParent());
    SetSkillServices(mServices.get());
}

// ---- Creating the skill set ------------------------------------------------------------------

void SkillManager::LoadSkills(const LoadTable& table, unsigned count) {
    if (count < 1 || count > kMaxSkillEntries)
        return;
    const int difficulty = gGameEngine ? gGameEngine->GetGameDifficulty() : 0;
    const auto index = static_cast<std::size_t>(std::max(difficulty, 0));
    std::uint32_t masteryId = 0;
    std::uint32_t baseSkillId = 0;
    for (unsigned i = 1; i <= count; ++i) {
        const std::string name = table.GetString(NumberedKey("skillName", i).c_str());
        if (name.empty())
            continue;
        const int level = table.GetArrayInt(NumberedKey("skillLevel", i).c_str(), index, 0);
        CreateAndLoadSkill(name, static_cast<std::uint32_t>(std::max(level, 0)), masteryId,
                           baseSkillId);
    }
}

void SkillManager::LoadSkills(const std::string& recordName, unsigned count) {
    if (recordName.empty())
        return;
    Objects().LoadTableFile(recordName);
    LoadSkills(Objects().GetLoadTable(recordName), count);
}

void SkillManager::Adopt(Skill& skill, std::uint32_t level) {
    skill.SetManager(this);
    mSkills.push_back(skill.GetObjectId());
    mUISkills.push_back(skill.GetObjectId());
    skill.SetSkillLevel(static_cast<int>(level));
}

void SkillManager::CreateAndLoadSkill(const std::string& recordName, std::uint32_t level,
                                      std::uint32_t& masteryId, std::uint32_t& baseSkillId) {
    const std::uint32_t existing = FindSkillId(recordName);
    Skill* skill = nullptr;
    if (existing == 0) {
        skill = Objects().CreateObjectFromFile<Skill>(recordName);
        if (!skill) {
            gEngine->Log(1, "SkillManager::Unable to create skill (%s) (%s)", recordName.c_str(),
                         GetParent() ? GetParent()->GetObjectName().c_str() : "");
            return;
        }
        Adopt(*skill, level);
    } else {
        skill = Find(existing);
        // A modifier shared by several skills is created once and linked to each.
        if (!skill || !dynamic_cast<Skill_Modifier*>(skill)) {
            gEngine->Log(1, "SkillManager::Tried to create duplicate non-modifier skill (%s)",
                         recordName.c_str());
            return;
        }
    }
    const std::uint32_t id = skill->GetObjectId();
    if (dynamic_cast<Skill_Mastery*>(skill)) {
        masteryId = id;
        baseSkillId = 0;
    } else if (dynamic_cast<Skill_Modifier*>(skill)) {
        skill->AddMastery(masteryId);
        skill->AddBaseSkill(baseSkillId);
        if (Skill* base = Find(baseSkillId))
            base->AddModifier(id);
    } else if (dynamic_cast<SkillSecondary*>(skill)) {
        skill->AddMastery(masteryId);
        skill->AddBaseSkill(baseSkillId);
        if (Skill* base = Find(baseSkillId))
            base->AddSecondarySkill(id);
        // A following secondary skill hangs from this one.
        baseSkillId = id;
    } else {
        if (dynamic_cast<Skill_WPAttack*>(skill))
            mWeaponPoolSkills.push_back(id);
        skill->AddMastery(masteryId);
        baseSkillId = id;
        if (dynamic_cast<SkillOnDeath*>(skill))
            mOnDeathSkills.push_back(id);
    }
}

std::uint32_t SkillManager::LoadDefaultSkills() {
    if (auto* pool = Objects().CreateObjectFromFile<Skill_WPAttack>(kDefaultWeaponPoolSkill)) {
        mDefaultWPSkillId = pool->GetObjectId();
        Adopt(*pool, 1);
        // The weight at its level whether or not the skill is enabled.
        mDefaultWPChanceWeight = pool->GetChanceWeight(true);
    }
    Skill* attack = Objects().CreateObjectFromFile<Skill>(kDefaultAttackSkill);
    if (!attack)
        return 0;
    mDefaultSkillId = attack->GetObjectId();
    Adopt(*attack, 1);
    return mDefaultSkillId;
}

void SkillManager::AddItemSkill(std::uint32_t grantingSkillId, std::uint32_t level) {
    const auto entry = mItemSkillTable.find(grantingSkillId);
    if (entry != mItemSkillTable.end()) {
        if (Skill* itemSkill = Find(entry->second))
            itemSkill->SetSkillLevel(static_cast<int>(level));
        return;
    }
    Skill* granting = Find(grantingSkillId);
    if (!granting)
        return;
    Skill* itemSkill = Objects().CreateObjectFromFile<Skill>(granting->GetObjectName());
    if (!itemSkill)
        return;
    // Item skills stay off the active list: they are run and gathered on their own.
    itemSkill->SetAsItemSkill(true);
    itemSkill->SetAsTempSkill(true);
    itemSkill->SetManager(this);
    itemSkill->SetSkillLevel(static_cast<int>(level));
    mItemSkills.push_back(itemSkill->GetObjectId());
    CharAttributesChanged();
    mItemSkillTable[grantingSkillId] = itemSkill->GetObjectId();
    mUISkills.push_back(itemSkill->GetObjectId());
}

void SkillManager::RemoveItemSkill(std::uint32_t grantingSkillId) {
    const auto entry = mItemSkillTable.find(grantingSkillId);
    if (entry == mItemSkillTable.end())
        return;
    if (Skill* itemSkill = Find(entry->second))
        itemSkill->SetSkillLevel(0);
}

// ---- Lookups ---------------------------------------------------------------------------------

std::uint32_t SkillManager::FindSkillId(const std::string& recordName) const {
    for (std::uint32_t id : mSkills)
        if (Skill* skill = Find(id);
            skill && PathEqualsNoCaseStr(skill->GetObjectName(), recordName))
            return id;
    const auto buff = mBuffs.find(MakeNormalizedPath(recordName));
    return buff != mBuffs.end() ? buff->second.buff : 0;
}

std::uint32_t SkillManager::FindItemSkillId(const std::string& recordName) const {
    for (std::uint32_t id : mItemSkills)
        if (Skill* skill = Find(id);
            skill && PathEqualsNoCaseStr(skill->GetObjectName(), recordName))
            return id;
    return 0;
}

std::uint32_t SkillManager::GetSkillReferenceNumber(std::uint32_t skillId) const {
    if (skillId == 0)
        return kNoReference;
    auto at = std::find(mSkills.begin(), mSkills.end(), skillId);
    if (at != mSkills.end())
        return static_cast<std::uint32_t>(at - mSkills.begin());
    at = std::find(mItemSkills.begin(), mItemSkills.end(), skillId);
    if (at != mItemSkills.end())
        return kItemSkillReferenceBase + static_cast<std::uint32_t>(at - mItemSkills.begin());
    return kNoReference;
}

std::uint32_t SkillManager::GetSkillIdFromReference(std::uint32_t reference) const {
    if (reference < mSkills.size())
        return Find(mSkills[reference]) ? mSkills[reference] : 0;
    // References between the two ranges wrap far past the item list and name nothing.
    const std::uint32_t item = reference - kItemSkillReferenceBase;
    return item < mItemSkills.size() && Find(mItemSkills[item]) ? mItemSkills[item] : 0;
}

bool SkillManager::IsSkillValidForUse(std::uint32_t skillId, bool allowItemSkill) const {
    if (skillId == 0)
        return false;
    if (std::find(mSkills.begin(), mSkills.end(), skillId) != mSkills.end()) {
        const Skill* skill = Find(skillId);
        return skill && skill->GetSkillLevel() != 0;
    }
    if (std::find(mItemSkills.begin(), mItemSkills.end(), skillId) != mItemSkills.end()) {
        const Skill* skill = Find(skillId);
        return skill && (allowItemSkill || skill->GetSkillLevel() != 0);
    }
    return false;
}

// ---- The active list (the frame walks it: SkillManagerFrame.cpp) -----------------------------

void SkillManager::AddToActiveList(Skill* skill) {
    if (!skill)
        return;
    const std::uint32_t id = skill->GetObjectId();
    if (std::find(mActive.begin(), mActive.end(), id) != mActive.end())
        return;
    mActive.push_back(id);
    ++mActiveVersion;
    CharAttributesChanged();
    skill->Install(GetParent());
}

void SkillManager::RemoveFromActiveList(Skill* skill) {
    if (!skill)
        return;
    const auto at = std::find(mActive.begin(), mActive.end(), skill->GetObjectId());
    if (at == mActive.end())
        return;
    mActive.erase(at);
    ++mActiveVersion;
    CharAttributesChanged();
    skill->UnInstall(GetParent());
}

void SkillManager::RefreshSkillAttributes(const GameEngine* engine) {
    const std::uint32_t inputs = GetParent()->GetCharAttributeInputs();
    const unsigned balance = engine ? engine->GetBalanceDifficulty() : 0u;
    // The kept sums' generator is left alone: only the gathering below and a new seed move it,
    // and a new seed drops the kept sums.
    if (mSkillAttributesKept && inputs == mSkillAttributesInputs &&
        balance == mSkillAttributesBalance) {
#ifndef NDEBUG
        const std::uint32_t state = mSkillAttributes.GetRandomGen().GetState();
        SkillAttributeAccumulator fresh(mSkillAttributes);
        fresh.Clear();
        CollectAvailableSkillAttributes(fresh);
        if (state != mSkillAttributesState || !fresh.SameSums(mSkillAttributes) ||
            fresh.GetRandomGen().GetState() != state) {
            gEngine->Log(0, "SkillManager: the kept skill attributes of %s are stale",
                         GetParent()->GetObjectName().c_str());
            std::abort();
        }
#endif
        return;
    }
    const std::uint32_t state = mSkillAttributes.GetRandomGen().GetState();
    // Moved on both sides: a total read while the sums are gathered is not kept past it.
    SkillAttributesChanged();
    mSkillAttributes.Clear();
    CollectAvailableSkillAttributes(mSkillAttributes);
    SkillAttributesChanged();
    mSkillAttributesKept = mSkillAttributes.GetRandomGen().GetState() == state &&
                           GetParent()->GetCharAttributeInputs() == inputs;
    mSkillAttributesInputs = inputs;
    mSkillAttributesBalance = balance;
    mSkillAttributesState = state;
}

bool SkillManager::IsSpeedUpdateNeeded() {
    const bool needed = mSpeedUpdateNeeded;
    mSpeedUpdateNeeded = false;
    return needed;
}

void SkillManager::PreLoad(bool now) {
    if (gGameEngine) {
        mSkillAttributes.SetSeed(gGameEngine->GetRandomSeed());
        // The next update gathers again unless the seed left the generator where it was.
        mSkillAttributesKept = mSkillAttributesKept &&
                               mSkillAttributes.GetRandomGen().GetState() == mSkillAttributesState;
    }
    for (std::uint32_t id : mSkills)
        if (Skill* skill = Find(id))
            skill->PreLoad(now);
    for (std::uint32_t id : mItemSkills)
        if (Skill* skill = Find(id); skill && skill->GetCurrentLevel() > 0)
            skill->PreLoad(now);
}

void SkillManager::OnDestroy() {
    for (std::uint32_t id : mSkills)
        if (Skill* skill = Find(id))
            skill->OnDestroy();
    for (const auto& [name, entry] : mBuffs)
        if (Skill* buff = Find(entry.buff))
            buff->OnDestroy();
    for (std::uint32_t id : mItemSkills)
        if (Skill* skill = Find(id))
            skill->OnDestroy();
}

void SkillManager::ImDead() {
    if (mServices)
        mServices->Dead();
    if (!GetParent())
        return;
    // Its own copy: a character may die inside a skill's update, while the frame's copy is walked.
    const std::vector<std::uint32_t> active = mActive;
    for (std::uint32_t id : active)
        if (Skill* skill = Find(id))
            skill->StopSkill(*GetParent());
    auto buffs = std::move(mBuffs);
    mBuffs.clear();
    CharAttributesChanged();
    for (const auto& [name, entry] : buffs)
        DropBuffEntry(entry, true);
    mUITempSkills.clear();
    for (std::uint32_t id : mOnDeathSkills)
        if (auto* onDeath = FindAs<SkillOnDeath>(id))
            onDeath->ActivateOnDeathNow(*GetParent());
    for (std::uint32_t id : mItemSkills) {
        if (Skill* skill = Find(id))
            skill->StopSkill(*GetParent());
        if (auto* onDeath = FindAs<SkillOnDeath>(id))
            onDeath->ActivateOnDeathNow(*GetParent());
    }
}

// ---- What skills ask of the character --------------------------------------------------------

int SkillManager::GetHandState() {
    return mCombatManager && GetParent() ? GetParent()->GetHandState() : 0;
}

void SkillManager::GetWeaponTypes(Weapon_Type& right, Weapon_Type& left) {
    right = mRightWeaponType;
    left = mLeftWeaponType;
}

void SkillManager::SubtractMana(float amount) {
    if (GetParent())
        GetParent()->SubtractMana(amount);
}

void SkillManager::SubtractLife(float amount, const PlayStatsDamageType& type) {
    if (GetParent())
        GetParent()->SubtractLife(amount, type);
}

std::uint32_t SkillManager::GetRightHandWeapon() const {
    return mCombatManager ? mCombatManager->GetRightHandWeapon() : 0;
}

std::uint32_t SkillManager::GetLeftHandWeapon() const {
    return mCombatManager ? mCombatManager->GetLeftHandWeapon() : 0;
}

void SkillManager::CollectWeaponTypes() {
    mRightWeaponType = kGenericWeapon;
    mLeftWeaponType = kGenericWeapon;
    if (auto* right = FindAs<Weapon>(GetRightHandWeapon()))
        mRightWeaponType = right->GetWeaponType();
    if (auto* left = FindAs<Weapon>(GetLeftHandWeapon()))
        mLeftWeaponType = left->GetWeaponType();
}

float SkillManager::CalculateOffensiveAbility(float value) {
    return mCombatManager ? mCombatManager->DesignerCalculateOffensiveAbility(value) : 0.0f;
}

void SkillManager::ForceSpeedUpdate() {
    if (GetParent())
        GetParent()->ForceSpeedUpdate();
}

float SkillManager::GetAttackSpeed() {
    return GetParent() ? GetParent()->GetAttackSpeed() : 0.0f;
}

float SkillManager::GetSpellCastSpeed() {
    return GetParent() ? GetParent()->GetSpellCastSpeed() : 0.0f;
}

// ---- Attribute gathering ---------------------------------------------------------------------

template <class Visit>
void SkillManager::ForEachContributor(Visit&& visit) {
    for (std::uint32_t id : mActive)
        if (Skill* skill = Find(id); skill && skill->GetCurrentLevel() > 0)
            visit(*skill);
    for (const auto& [name, entry] : mBuffs)
        if (Skill* buff = Find(entry.buff))
            visit(*buff);
    for (std::uint32_t id : mItemSkills)
        if (Skill* skill = Find(id); skill && skill->GetCurrentLevel() > 0)
            visit(*skill);
}

void SkillManager::GetCharAttributes(CharAttributeAccumulator& accumulator) {
    ForEachContributor([&](Skill& skill) { skill.CollectPassiveCharAttributes(accumulator); });
}

void SkillManager::GetSkillAttributes(SkillAttributeAccumulator& accumulator) {
    ForEachContributor([&](Skill& skill) { skill.CollectPassiveSkillAttributes(accumulator); });
}

void SkillManager::GetOffensiveDamageAttributes(CombatAttributeAccumulator& accumulator) {
    ForEachContributor(
        [&](Skill& skill) { skill.CollectPassiveOffensiveDamageAttributes(accumulator); });
}

void SkillManager::GetOffensiveModifierAttributes(CombatAttributeAccumulator& accumulator) {
    ForEachContributor(
        [&](Skill& skill) { skill.CollectPassiveOffensiveModifierAttributes(accumulator); });
}

void SkillManager::GetRetaliationAttributes(CombatAttributeAccumulator& accumulator) {
    ForEachContributor(
        [&](Skill& skill) { skill.CollectPassiveRetaliationAttributes(accumulator); });
}

void SkillManager::GetDefenseAttributes(CombatAttributeAccumulator& accumulator) {
    ForEachContributor([&](Skill& skill) { skill.CollectPassiveDefenseAttributes(accumulator); });
}

void SkillManager::ContributeRacialBonusDamage(const std::vector<std::string>& races,
                                               RacialBonus_Damage& bonus) {
    ForEachContributor([&](Skill& skill) { skill.CollectPassiveRacialBonusDamage(races, bonus); });
}

void SkillManager::ContributeRacialBonusDefense(const std::vector<std::string>& races,
                                                RacialBonus_Defense& bonus) {
    ForEachContributor([&](Skill& skill) { skill.CollectPassiveRacialBonusDefense(races, bonus); });
}

void SkillManager::CollectAvailableSkillAttributes(SkillAttributeAccumulator& accumulator) {
    if (GetParent()) {
        GetParent()->GetEquipSkillAttributes(accumulator);
        GetParent()->ContributeItemSetSkillAttributes(accumulator);
        GetParent()->ContributeGameBalanceSkillAttributes(accumulator);
    }
    GetSkillAttributes(accumulator);
}

void SkillManager::CollectAvailableOffensiveDamageAttributes(
    std::uint32_t weaponId, CombatAttributeAccumulator& accumulator) {
    if (GetParent()) {
        GetParent()->GetEquipArmorDamageAttributes(accumulator);
        GetParent()->ContributeItemSetOffensiveDamageAttributes(accumulator);
        GetParent()->ContributeGameBalanceOffensiveDamageAttributes(accumulator);
    }
    GetOffensiveDamageAttributes(accumulator);
    if (weaponId != 0) {
        if (auto* weapon = FindAs<Weapon>(weaponId))
            weapon->GetOffensiveDamageAttributes(accumulator);
        return;
    }
    if (mCombatManager)
        mCombatManager->GetHandHitDamage(accumulator);
}

void SkillManager::CollectAvailableOffensiveModifierAttributes(
    CombatAttributeAccumulator& accumulator) {
    if (GetParent()) {
        GetParent()->GetEquipOffensiveModifierAttributes(accumulator);
        GetParent()->ContributeItemSetOffensiveModifierAttributes(accumulator);
        GetParent()->ContributeGameBalanceOffensiveModifierAttributes(accumulator);
    }
    GetOffensiveModifierAttributes(accumulator);
}

void SkillManager::SkillSpawnObject(std::uint32_t reference, const WorldCoords& origin,
                                    std::uint32_t targetId,
                                    const std::vector<WorldCoords>& positions,
                                    const std::vector<std::uint32_t>& ids,
                                    std::uint32_t spawnValue) {
    Skill* skill = Find(GetSkillIdFromReference(reference));
    if (skill && GetParent())
        skill->SkillSpawnObject(*GetParent(), origin, targetId, positions, ids, spawnValue);
}

void SkillManager::SkillStateUpdateCommand(std::uint32_t reference, const SkillState& state) {
    Skill* skill = Find(GetSkillIdFromReference(reference));
    if (skill && IsSkillPointSpend(*this, reference, state))
        PaySkillLevels(*this, *skill, state);
    else if (skill)
        skill->ReceiveStateUpdate(state, false);
}

void SkillManager::SkillActiveStateUpdateCommand(std::uint32_t reference,
                                                 const SkillActiveState& state) {
    Skill* skill = Find(GetSkillIdFromReference(reference));
    if (skill && GetParent())
        skill->ReceiveActiveUpdate(*GetParent(), state, false);
}

}  // namespace GAME
