#pragma once
// One lasting effect of one combat attribute type from one attacker, held as one value per
// future 100 ms tick. The adds of the attack in progress gather in the pending ticks and are
// merged into the active ticks when the attack ends.
#include <cstdint>
#include <vector>

#include "Game/rules/combat/CombatAttributeType.h"
#include "Game/rules/duration/DurationDamageInfo.h"

namespace GAME {

class DurationDamageEntry {
public:
    static constexpr int kTickMs = 100;

    DurationDamageEntry(std::uint32_t attacker, CombatAttributeType type)
        : mAttacker(attacker), mType(type) {}
    virtual ~DurationDamageEntry() = default;
    DurationDamageEntry(const DurationDamageEntry&) = default;
    DurationDamageEntry& operator=(const DurationDamageEntry&) = default;

    // Damage per second for a duration in seconds, spread over the pending ticks.
    virtual void Add(const DurationDamageInfo& info) { AddPerTick(info, info.damage * 0.1f); }
    // The damage of the ticks due this frame.
    virtual float GetDamage() const;

    std::uint32_t GetAttacker() const { return mAttacker; }
    CombatAttributeType GetType() const { return mType; }
    const std::vector<float>& GetActiveTicks() const { return mActive; }
    int GetDueTicks() const { return mDueTicks; }

    // Each tick keeps the greater of the running and the new value.
    void MergePending();
    void AdvanceClock(int ms);
    // Drops the ticks that came due; true when none is left.
    bool ConsumeDueTicks();
    // The active ticks become the replica's runs: each value repeated for its (truncated) length.
    void ReplaceRuns(const std::vector<DurationDamageInfo>& runs);
    // Runs of equal adjacent values.
    void EncodeRuns(std::vector<DurationDamageInfo>& runs) const;

protected:
    void AddPerTick(const DurationDamageInfo& info, float perTick);

    std::uint32_t mAttacker = 0;
    CombatAttributeType mType = CombatAttributeType::BasePhysical;
    std::vector<float> mPending;
    std::vector<float> mActive;
    int mTickClock = 0;
    int mDueTicks = 0;
};

// A value that holds for a time (a slow, a stun): the value itself on every tick, read from
// the first tick.
class FixedDurationDamageEntry : public DurationDamageEntry {
public:
    explicit FixedDurationDamageEntry(CombatAttributeType type) : DurationDamageEntry(0, type) {}

    void Add(const DurationDamageInfo& info) override { AddPerTick(info, info.damage); }
    float GetDamage() const override { return mActive.empty() ? 0.0f : mActive.front(); }
};

}  // namespace GAME
