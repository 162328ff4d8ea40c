// Masteries allowed by level, points spent, augments and the price of buying points back.
#include <algorithm>
#include <limits>

#include "Engine/object/ObjectManager.h"
#include "Engine/records/LoadTable.h"
#include "Game/characters/Character.h"
#include "Game/core/GameEngine.h"
#include "Game/skills/Skill.h"
#include "Game/skills/SkillKinds.h"
#include "Game/skills/manager/SkillManager.h"

namespace GAME {

namespace {

void ReadUnsignedList(const LoadTable& table, const char* key, std::vector<std::uint32_t>& out) {
    std::vector<int> values;
    table.GetIntArray(key, values);
    out.clear();
    for (int value : values)
        out.push_back(static_cast<std::uint32_t>(std::max(value, 0)));
}

}  // namespace

void SkillManager::Load(const LoadTable& table) {
    ReadUnsignedList(table, "masteryIncrementLevel", mMasteryIncrementLevels);
    ReadUnsignedList(table, "reclamationPointTiers", mReclamationPointTiers);
    ReadUnsignedList(table, "reclamationPointCosts", mReclamationPointCosts);
}

void SkillManager::UpdateMasteriesAllowed(std::uint32_t characterLevel) {
    if (mMasteriesAllowed >= mMasteryIncrementLevels.size())
        return;
    // At most one mastery per call; a 0 threshold stops further masteries.
    const std::uint32_t threshold = mMasteryIncrementLevels[mMasteriesAllowed];
    if (threshold == 0 || characterLevel < threshold)
        return;
    ++mMasteriesAllowed;
    if (gGameEngine)
        gGameEngine->AutoSave();
}

void SkillManager::AddMasteryAllowedIncrementLevel(std::uint32_t level) {
    if (level != 0)
        mMasteryIncrementLevels.push_back(level);
}

void SkillManager::GetSkillMasteries(std::vector<std::uint32_t>& masteries) const {
    for (std::uint32_t id : mActive)
        if (auto* mastery = Singleton<ObjectManager>::Get().GetObject<Skill_Mastery>(id);
            mastery && mastery->GetCurrentLevel() > 0)
            masteries.push_back(mastery->GetEnumeration());
}

std::uint32_t SkillManager::GetSkillMasteriesActive() const {
    std::vector<std::uint32_t> masteries;
    GetSkillMasteries(masteries);
    return static_cast<std::uint32_t>(masteries.size());
}

std::uint32_t SkillManager::GetNumRegularSkillPoints() const {
    std::uint32_t points = 0;
    for (std::uint32_t id : mActive)
        if (Skill* skill = Find(id);
            skill && !IsDefaultSkill(id) && !skill->IsSkillTheMasterySkill())
            points += skill->GetSkillLevel();
    return points;
}

std::uint32_t SkillManager::GetNumMasteryPoints() const {
    std::uint32_t points = 0;
    for (std::uint32_t id : mActive)
        if (Skill* skill = Find(id);
            skill && !IsDefaultSkill(id) && skill->IsSkillTheMasterySkill())
            points += skill->GetSkillLevel();
    return points;
}

std::uint32_t SkillManager::GetNumOfNonMasterySkillsWithPoints() const {
    std::uint32_t count = 0;
    for (std::uint32_t id : mActive) {
        Skill* skill = Find(id);
        if (skill && !dynamic_cast<Skill_Mastery*>(skill) && !IsDefaultSkill(id) &&
            skill->GetCurrentLevel() > 0)
            ++count;
    }
    return count;
}

void SkillManager::IncrementSkill(std::uint32_t skillId, int amount) {
    if (Skill* skill = Find(skillId))
        skill->IncrementSkillLevel(amount);
}

template <class Test, class Change>
void SkillManager::ForEachSkill(Test&& test, Change&& change) {
    for (std::uint32_t id : mSkills)
        if (Skill* skill = Find(id); skill && test(*skill))
            change(*skill);
}

void SkillManager::SetSkillLevelAugment(const std::string& recordName, std::uint32_t amount) {
    if (Skill* skill = Find(FindSkillId(recordName)))
        skill->IncrementAugmentedSkillLevel(amount);
}

void SkillManager::RemoveSkillLevelAugment(const std::string& recordName, std::uint32_t amount) {
    if (Skill* skill = Find(FindSkillId(recordName)))
        skill->DecrementAugmentedSkillLevel(amount);
}

void SkillManager::SetMasteryAugment(const std::string& masteryName, std::uint32_t amount) {
    const std::uint32_t masteryId = FindSkillId(masteryName);
    ForEachSkill(
        [&](Skill& skill) {
            return skill.GetObjectName() == masteryName ||
                   (masteryId != 0 && skill.GetMasteryId() == masteryId);
        },
        [&](Skill& skill) { skill.IncrementAugmentedSkillLevel(amount); });
}

void SkillManager::RemoveMasteryAugment(const std::string& masteryName, std::uint32_t amount) {
    const std::uint32_t masteryId = FindSkillId(masteryName);
    ForEachSkill(
        [&](Skill& skill) {
            return skill.GetObjectName() == masteryName ||
                   (masteryId != 0 && skill.GetMasteryId() == masteryId);
        },
        [&](Skill& skill) { skill.DecrementAugmentedSkillLevel(amount); });
}

void SkillManager::SetAllSkillAugment(std::uint32_t amount, const std::string& excludedName) {
    ForEachSkill([&](Skill& skill) { return skill.GetObjectName() != excludedName; },
                 [&](Skill& skill) { skill.IncrementAugmentedSkillLevel(amount); });
}

void SkillManager::RemoveAllSkillAugment(std::uint32_t amount, const std::string& excludedName) {
    ForEachSkill([&](Skill& skill) { return skill.GetObjectName() != excludedName; },
                 [&](Skill& skill) { skill.DecrementAugmentedSkillLevel(amount); });
}

std::uint32_t SkillManager::CostAt(std::uint32_t pointsUsed) const {
    // A record without costs makes reclaiming free rather than reading past the list.
    if (mReclamationPointCosts.empty())
        return 0;
    const std::size_t tiers = mReclamationPointTiers.size();
    std::size_t index = 0;
    if (tiers >= 2) {
        index = tiers - 1;
        for (std::size_t k = 0; k + 1 < tiers; ++k)
            if (mReclamationPointTiers[k] <= pointsUsed &&
                pointsUsed < mReclamationPointTiers[k + 1]) {
                index = k;
                break;
            }
    }
    // A tier without its own cost is priced at the last cost there is.
    return mReclamationPointCosts[std::min(index, mReclamationPointCosts.size() - 1)];
}

std::uint32_t SkillManager::GetCurrentSkillReclamationCost() const {
    return CostAt(mReclamationPointsUsed);
}

bool SkillManager::UseReclamationPoints(int count) {
    if (count >= 1) {
        std::uint64_t price = 0;
        std::uint32_t used = mReclamationPointsUsed;
        for (int i = 0; i < count; ++i) {
            price += CostAt(used);
            ++used;
        }
        const std::int64_t money =
            GetParent() ? static_cast<std::int32_t>(GetParent()->GetMoney()) : 0;
        if (money < static_cast<std::int64_t>(
                        std::min<std::uint64_t>(price, std::numeric_limits<std::int64_t>::max())))
            return false;
        mReclamationPointsUsed = used;
        // A free reclamation asks nothing of a character that may not be there.
        if (GetParent())
            GetParent()->SubtractMoney(static_cast<std::uint32_t>(price));
        return true;
    }
    // Giving points back refunds the price each one had; never below none bought.
    std::uint64_t refund = 0;
    for (int i = 0; i < -static_cast<std::int64_t>(count) && mReclamationPointsUsed > 0; ++i) {
        --mReclamationPointsUsed;
        refund += CostAt(mReclamationPointsUsed);
    }
    if (GetParent() && refund > 0)
        GetParent()->AddMoney(
            static_cast<std::uint32_t>(std::min<std::uint64_t>(refund, UINT32_MAX)));
    return true;
}

}  // namespace GAME
