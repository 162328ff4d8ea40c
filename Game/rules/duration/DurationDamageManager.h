#pragma once
// The effects of attacks that outlast the hit: damage over time, credited to its attacker, and
// fixed values held for a time (slows, stuns, freezes). Time runs in 100 ms ticks on the game
// clock; the character's damage and involuntary effects follow what is active.
#include <cstdint>
#include <map>
#include <vector>

#include "Game/rules/duration/DurationDamageEntry.h"
#include "Game/rules/duration/DurationDamageReplication.h"

namespace GAME {

class DurationDamageOwner;

class DurationDamageManager {
public:
    static constexpr int kDelayedClearMs = 250;

    DurationDamageManager() = default;
    virtual ~DurationDamageManager() = default;
    DurationDamageManager(const DurationDamageManager&) = delete;
    DurationDamageManager& operator=(const DurationDamageManager&) = delete;

    void SetOwner(DurationDamageOwner* owner) { mOwner = owner; }

    virtual void Update(int ms);
    virtual float GetFixedDamage(CombatAttributeType type) const;
    // Damage per second for a duration in seconds, on behalf of the current attacker.
    virtual void AddDamage(CombatAttributeType type, float damage, float duration);
    virtual void AddFixedDamage(CombatAttributeType type, float value, float duration);
    virtual void Clear();
    virtual void DelayedClearHack() { mDelayedClearCountdown = kDelayedClearMs; }

    void SetAttacker(std::uint32_t attacker) { mAttacker = attacker; }
    // Merges the adds of the attack into what runs.
    void EndAttack();
    bool IsPoisoned() const;
    bool GetSpeedUpdate() const { return mAttackSpeedChanged || mRunSpeedChanged; }

    void GetDamageReplica(std::vector<DurationDamageReplication>& out) const;
    void GetFixedDamageReplica(std::vector<FixedDurationDamageReplication>& out) const;
    void SetDamageReplica(const std::vector<DurationDamageReplication>& records);
    void SetFixedDamageReplica(const std::vector<FixedDurationDamageReplication>& records);

    const std::vector<DurationDamageEntry>& GetEntries() const { return mEntries; }
    const std::vector<FixedDurationDamageEntry>& GetFixedEntries() const { return mFixedEntries; }
    CombatAttributeType GetInvoluntaryEffect() const { return mInvoluntaryEffect; }

protected:
    void ProcessDamage(int ms);
    void UpdateEffects();
    void AddDamageEffect(CombatAttributeType type);
    void ExecuteDamage();
    void AddDamageReplication(CombatAttributeType type, std::uint32_t attacker,
                              const std::vector<DurationDamageInfo>& runs);
    void AddFixedDamageReplication(CombatAttributeType type,
                                   const std::vector<DurationDamageInfo>& runs);

private:
    // Entries, running effects or an involuntary effect shown.
    bool HoldsAnything() const;
    [[gnu::noinline]] void UpdateHeld(int ms);
    // ProcessDamage for a manager that holds nothing.
    void SettleIdleSlows(int ms);
    // The owner's hit reaction back to a crumple, as every frame leaves it.
    void ResetHitReaction();
    // The owner's speeds worked out again when a slow or a skill changed them.
    void ApplySpeedUpdate();

    DurationDamageOwner* mOwner = nullptr;
    float mLastAttackSpeedSlow = 0.0f;
    float mLastRunSpeedSlow = 0.0f;
    bool mAttackSpeedChanged = false;
    bool mRunSpeedChanged = false;
    std::uint32_t mAttacker = 0;
    CombatAttributeType mInvoluntaryEffect = CombatAttributeType::BasePhysical;
    // Type -> stale mark.
    std::map<CombatAttributeType, bool> mRunningEffects;
    int mDelayedClearCountdown = 0;
    std::vector<DurationDamageEntry> mEntries;
    std::vector<FixedDurationDamageEntry> mFixedEntries;
};

}  // namespace GAME
