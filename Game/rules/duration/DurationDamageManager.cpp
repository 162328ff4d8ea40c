#include "Game/rules/duration/DurationDamageManager.h"

#include <algorithm>
#include <array>
#include <cstdlib>

#include "Game/core/players/Bonus.h"
#include "Game/rules/duration/DurationDamageOwner.h"

namespace GAME {

namespace {

constexpr auto kNoEffect = CombatAttributeType::BasePhysical;
constexpr auto kImmobilize = static_cast<CombatAttributeType>(38);
// The involuntary effect shown is the first of these that is held.
constexpr std::array kInvoluntaryOrder = {kImmobilize, CombatAttributeType::Petrify,
                                          CombatAttributeType::Freeze, CombatAttributeType::Trap,
                                          CombatAttributeType::Stun};

template <class Entry>
void RemoveFinished(std::vector<Entry>& entries) {
    // Most characters hold nothing: no pass at all then.
    if (!entries.empty())
        std::erase_if(entries, [](Entry& entry) { return entry.ConsumeDueTicks(); });
}

}  // namespace

float DurationDamageManager::GetFixedDamage(CombatAttributeType type) const {
    for (const FixedDurationDamageEntry& entry : mFixedEntries)
        if (entry.GetType() == type)
            return entry.GetDamage();
    return 0.0f;
}

void DurationDamageManager::AddDamage(CombatAttributeType type, float damage, float duration) {
    if (!mOwner || mOwner->IsInvincible())
        return;
    if (!(damage > 0.0f) || !(duration > 0.0f))
        return;
    AddDamageEffect(type);
    const DurationDamageInfo info{damage, duration};
    bool found = false;
    for (DurationDamageEntry& entry : mEntries) {
        if (entry.GetType() == type && entry.GetAttacker() == mAttacker) {
            entry.Add(info);
            found = true;
        }
    }
    if (found)
        return;
    mEntries.emplace_back(mAttacker, type).Add(info);
}

void DurationDamageManager::AddFixedDamage(CombatAttributeType type, float value, float duration) {
    if (!mOwner || mOwner->IsInvincible())
        return;
    if (!(value > 0.0f) || !(duration > 0.0f))
        return;
    const DurationDamageInfo info{value, duration};
    bool found = false;
    for (FixedDurationDamageEntry& entry : mFixedEntries) {
        if (entry.GetType() == type) {
            entry.Add(info);
            found = true;
        }
    }
    if (found)
        return;
    mFixedEntries.emplace_back(type).Add(info);
}

void DurationDamageManager::EndAttack() {
    for (DurationDamageEntry& entry : mEntries)
        entry.MergePending();
    for (FixedDurationDamageEntry& entry : mFixedEntries)
        entry.MergePending();
}

void DurationDamageManager::Clear() {
    mEntries.clear();
    mFixedEntries.clear();
}

bool DurationDamageManager::IsPoisoned() const {
    return std::any_of(mEntries.begin(), mEntries.end(), [](const DurationDamageEntry& entry) {
        return entry.GetType() == CombatAttributeType::Poison;
    });
}

void DurationDamageManager::Update(int ms) {
    // Most characters hold nothing: the full pass would then only settle the slows and tell the
    // owner of the frame, which is all this does.
    if (!HoldsAnything() && mDelayedClearCountdown <= 0) {
        SettleIdleSlows(ms);
        if (mOwner) {
            ResetHitReaction();
            ApplySpeedUpdate();
        }
        return;
    }
    UpdateHeld(ms);
}

void DurationDamageManager::UpdateHeld(int ms) {
    for (DurationDamageEntry& entry : mEntries)
        entry.AdvanceClock(ms);
    for (FixedDurationDamageEntry& entry : mFixedEntries)
        entry.AdvanceClock(ms);
    ProcessDamage(ms);
    ExecuteDamage();
    if (mDelayedClearCountdown > 0) {
        mDelayedClearCountdown -= ms;
        if (mDelayedClearCountdown < 1)
            Clear();
    }
    RemoveFinished(mEntries);
    RemoveFinished(mFixedEntries);
}

void DurationDamageManager::SettleIdleSlows(int ms) {
    // With no fixed entry both slows are none: once the last ones are none too, the pass would
    // only clear the change marks.
    const bool settled = mLastAttackSpeedSlow == 0.0f && mLastRunSpeedSlow == 0.0f;
#ifdef NDEBUG
    if (settled) {
        mAttackSpeedChanged = false;
        mRunSpeedChanged = false;
        return;
    }
    ProcessDamage(ms);
#else
    ProcessDamage(ms);
    if (settled && (GetSpeedUpdate() || mLastAttackSpeedSlow != 0.0f || mLastRunSpeedSlow != 0.0f))
        std::abort();  // a settled manager's pass changed its slows
#endif
}

void DurationDamageManager::ProcessDamage(int) {
    mAttackSpeedChanged = false;
    mRunSpeedChanged = false;
    const bool held = !mFixedEntries.empty();
    const float attackSlow = held ? GetFixedDamage(CombatAttributeType::AttackSpeed) : 0.0f;
    const float runSlow = held ? GetFixedDamage(CombatAttributeType::RunSpeed) : 0.0f;
    if (attackSlow != mLastAttackSpeedSlow) {
        mLastAttackSpeedSlow = attackSlow;
        mAttackSpeedChanged = true;
    }
    if (runSlow != mLastRunSpeedSlow) {
        mLastRunSpeedSlow = runSlow;
        mRunSpeedChanged = true;
    }
}

void DurationDamageManager::ResetHitReaction() {
    CharacterRagDoll::EffectData ragdoll;
    ragdoll.effect = CharacterRagDoll::Crumple;
    ragdoll.amplification = 0.0f;
    mOwner->SetRagdollData(ragdoll, false);
}

void DurationDamageManager::ApplySpeedUpdate() {
    if (mOwner->IsSkillSpeedUpdateNeeded() || GetSpeedUpdate())
        mOwner->ForceSpeedUpdate();
}

void DurationDamageManager::ExecuteDamage() {
    if (!mOwner)
        return;
    ResetHitReaction();
    UpdateEffects();
    for (const DurationDamageEntry& entry : mEntries) {
        const float damage = entry.GetDamage();
        if (!(damage > 0.0f))
            continue;
        const CombatAttributeType type = entry.GetType();
        const PlayStatsDamageType kind{PlayStatsDamageType::Attack, type};
        if (type == CombatAttributeType::LifeLeech) {
            const float life = mOwner->GetCurrentLife();
            mOwner->SetCombatAttacker(entry.GetAttacker());
            if (mOwner->ApplyCombatDamage(damage, kind, type)) {
                Bonus bonus;
                bonus.lifePoints = std::min(damage, life);
                mOwner->GiveCombatBonus(bonus, entry.GetAttacker());
            }
        } else if (type == CombatAttributeType::ManaLeech) {
            const float mana = mOwner->GetCurrentMana();
            mOwner->SubtractMana(damage);
            Bonus bonus;
            bonus.manaPoints = std::min(damage, mana);
            mOwner->GiveCombatBonus(bonus, entry.GetAttacker());
        } else {
            mOwner->SetCombatAttacker(entry.GetAttacker());
            mOwner->ApplyCombatDamage(damage, kind, type);
        }
    }
    ApplySpeedUpdate();
}

bool DurationDamageManager::HoldsAnything() const {
    return !mEntries.empty() || !mFixedEntries.empty() || !mRunningEffects.empty() ||
           mInvoluntaryEffect != kNoEffect;
}

void DurationDamageManager::AddDamageEffect(CombatAttributeType type) {
    if (mRunningEffects.contains(type))
        return;
    mOwner->StartDamageEffect(type);
    mRunningEffects.emplace(type, false);
}

void DurationDamageManager::UpdateEffects() {
    // Nothing held and nothing shown: the pass below would start and stop nothing.
    if (!HoldsAnything())
        return;
    CombatAttributeType wanted = kNoEffect;
    for (CombatAttributeType type : kInvoluntaryOrder) {
        if (GetFixedDamage(type) > 0.0f) {
            wanted = type;
            break;
        }
    }
    if (wanted != mInvoluntaryEffect) {
        mOwner->StopInvoluntaryEffect(mInvoluntaryEffect);
        mOwner->StartInvoluntaryEffect(wanted);
        mInvoluntaryEffect = wanted;
    }
    for (auto& [type, stale] : mRunningEffects)
        stale = true;
    const auto keep = [this](CombatAttributeType type) {
        auto it = mRunningEffects.find(type);
        if (it == mRunningEffects.end()) {
            mOwner->StartDamageEffect(type);
            mRunningEffects.emplace(type, false);
        } else {
            it->second = false;
        }
    };
    for (const FixedDurationDamageEntry& entry : mFixedEntries)
        keep(entry.GetType());
    for (const DurationDamageEntry& entry : mEntries)
        keep(entry.GetType());
    for (auto it = mRunningEffects.begin(); it != mRunningEffects.end();) {
        if (it->second) {
            mOwner->StopDamageEffect(it->first);
            it = mRunningEffects.erase(it);
        } else {
            ++it;
        }
    }
}

void DurationDamageManager::GetDamageReplica(std::vector<DurationDamageReplication>& out) const {
    for (const DurationDamageEntry& entry : mEntries) {
        DurationDamageReplication record{entry.GetType(), entry.GetAttacker(), {}};
        entry.EncodeRuns(record.runs);
        if (std::any_of(record.runs.begin(), record.runs.end(),
                        [](const DurationDamageInfo& run) { return run.damage > 0.0f; }))
            out.push_back(std::move(record));
    }
}

void DurationDamageManager::GetFixedDamageReplica(
    std::vector<FixedDurationDamageReplication>& out) const {
    for (const FixedDurationDamageEntry& entry : mFixedEntries) {
        FixedDurationDamageReplication record{entry.GetType(), {}};
        entry.EncodeRuns(record.runs);
        if (std::any_of(record.runs.begin(), record.runs.end(),
                        [](const DurationDamageInfo& run) { return run.damage > 0.0f; }))
            out.push_back(std::move(record));
    }
}

void DurationDamageManager::SetDamageReplica(
    const std::vector<DurationDamageReplication>& records) {
    for (const DurationDamageReplication& record : records)
        AddDamageReplication(record.type, record.attacker, record.runs);
}

void DurationDamageManager::SetFixedDamageReplica(
    const std::vector<FixedDurationDamageReplication>& records) {
    for (const FixedDurationDamageReplication& record : records)
        AddFixedDamageReplication(record.type, record.runs);
}

// A replica is the server's whole state of the entry: it replaces what the client holds, so a
// second copy of it does not double the effect.
void DurationDamageManager::AddDamageReplication(CombatAttributeType type, std::uint32_t attacker,
                                                 const std::vector<DurationDamageInfo>& runs) {
    bool found = false;
    for (DurationDamageEntry& entry : mEntries) {
        if (entry.GetType() == type && entry.GetAttacker() == attacker) {
            entry.ReplaceRuns(runs);
            found = true;
        }
    }
    if (!found)
        mEntries.emplace_back(attacker, type).ReplaceRuns(runs);
}

void DurationDamageManager::AddFixedDamageReplication(CombatAttributeType type,
                                                      const std::vector<DurationDamageInfo>& runs) {
    bool found = false;
    for (FixedDurationDamageEntry& entry : mFixedEntries) {
        if (entry.GetType() == type) {
            entry.ReplaceRuns(runs);
            found = true;
        }
    }
    if (!found)
        mFixedEntries.emplace_back(type).ReplaceRuns(runs);
}

}  // namespace GAME
