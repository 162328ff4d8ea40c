#pragma once
// Every payload of one attack on one target, and the attack's own generator: the chances of the
// payloads, the hit region and the damage rolls all draw from it, so that one attack comes out
// the same on every machine that resolves it from the same seed.
#include <algorithm>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "Engine/sys/RecycledBlocks.h"
#include "Game/rules/combat/CombatAttribute.h"
#include "Game/rules/combat/CombatAttributeType.h"
#include "Game/rules/combat/CombatPayloadKind.h"
#include "Game/rules/combat/CombatPayloadList.h"
#include "Game/rules/combat/CombatRandom.h"

namespace GAME {

class CombatCharacter;

// Final, so that the damage attributes' draws through it compile to inline code.
class CombatAttributeAccumulator final {
public:
    using PayloadList = CombatPayloadList;

    // Inline, so that an attack's parameters make and drop their accumulator without a call.
    CombatAttributeAccumulator() = default;
    CombatAttributeAccumulator(const CombatAttributeAccumulator&) = delete;
    // Clones every payload of the other (appended) and restarts the generator from its seed.
    CombatAttributeAccumulator& operator=(const CombatAttributeAccumulator& other);
    // The lists hand their payloads back themselves.
    virtual ~CombatAttributeAccumulator() = default;

    virtual CombatRandom& GetRandomGen() { return mRandom; }
    // True without a draw for a chance of exactly 0; else one draw of 0..100.
    [[gnu::always_inline]] virtual bool EvaluateChance(float chance) {
        return chance == 0.0f || mRandom.DrawPercentAtMost(chance);
    }
    [[gnu::always_inline]] virtual float GetChanceMultiplier(float) { return 1.0f; }

    void SetSeed(std::uint32_t seed) {
        mSeed = seed;
        mRandom.Seed(seed);
    }
    std::uint32_t GetSeed() const { return mSeed; }
    void SetRegion(CombatAttributeRegion region) { mRegion = region; }
    CombatAttributeRegion GetRegion() const { return mRegion; }

    bool IsEmpty() const { return mDamage.empty(); }

    // Each appends a non-null payload to its list; null is ignored. Inline: every rolled
    // payload of an attack comes through the first two.
    void AddDamage(std::unique_ptr<CombatAttribute> payload) {
        Append(mDamage, std::move(payload));
    }
    void AddDamageModifier(std::unique_ptr<CombatAttribute> payload) {
        Append(mDamageModifiers, std::move(payload));
    }
    // A new payload made at the end of its list, without a temporary owner passed along: what
    // the damage attributes' rolls use.
    template <class Payload, class... Args>
    [[gnu::always_inline]] void AddNewDamage(Args&&... args) {
        Emplace<Payload>(mDamage, std::forward<Args>(args)...);
    }
    template <class Payload, class... Args>
    [[gnu::always_inline]] void AddNewDamageModifier(Args&&... args) {
        Emplace<Payload>(mDamageModifiers, std::forward<Args>(args)...);
    }
    // The list that rolls of damage (or of damage modifiers) append to, with room for `count`
    // more, so that a batch of rolls appends without growing it.
    PayloadList& PrepareRolls(bool modifiers, std::size_t count) {
        PayloadList& list = modifiers ? mDamageModifiers : mDamage;
        if (list.capacity() - list.size() < count) [[unlikely]]
            list.reserve(list.size() + count);
        return list;
    }
    void AddDefenseModifier(std::unique_ptr<CombatAttribute> payload);
    // A defense that an existing one merges is dropped; else it is appended.
    void AddDefense(std::unique_ptr<CombatAttribute> payload);

    void ProcessDamage(const CombatCharacter& attacker, float percent, float subtract,
                       float reducePercent, float reduceAbsolute);
    void ProcessDefense(CombatCharacter& defender, float percent, float subtract,
                        float reducePercent, float reduceAbsolute);
    void ExecuteDefense();
    void ExecuteDamage(CombatCharacter& defender);

    float ProcessBluntDamageModifier(float factor);
    void ReduceDamage(float percent);
    void DamageReductionByShield(const CombatCharacter& defender, float shieldDefense,
                                 float shieldAbsorption);
    void GetTotalDamage(float& absolute, float& duration);
    void GetTotalDamageType(float& absolute, float& duration, CombatAttributeType type);
    float GetTotalDefenseType(CombatAttributeType type);
    void ScaleDamage(float percent);
    // Drops the reflex and influence payloads, keeping the order of the rest.
    void FilterReflectDamage();
    void Clear();

    const PayloadList& GetDamagePayloads() const { return mDamage; }
    const PayloadList& GetDamageModifiers() const { return mDamageModifiers; }
    const PayloadList& GetDefensePayloads() const { return mDefense; }
    const PayloadList& GetDefenseModifiers() const { return mDefenseModifiers; }

private:
    static void Append(PayloadList& list, std::unique_ptr<CombatAttribute> payload) {
        list.push_back(std::move(payload));
    }
    template <class Payload, class... Args>
    [[gnu::always_inline]] static void Emplace(PayloadList& list, Args&&... args) {
        list.push_back(std::make_unique<Payload>(std::forward<Args>(args)...));
    }

    PayloadList mDamage;
    PayloadList mDamageModifiers;
    PayloadList mDefense;
    PayloadList mDefenseModifiers;
    CombatRandom mRandom;
    std::uint32_t mSeed = 0;
    CombatAttributeRegion mRegion = CombatAttributeRegion::FullyProtected;
};

}  // namespace GAME
