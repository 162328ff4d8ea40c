#pragma once
// Combat payloads: one effect of one attack (an amount of damage, a damage over time, a status
// effect, a modifier of another payload or one defense of the target). Every payload is owned by
// one CombatAttributeAccumulator and copied only through Clone.
#include <cstdint>
#include <memory>
#include <type_traits>

#include "Engine/sys/RecycledBlocks.h"
#include "Game/rules/combat/CombatAttributeType.h"

// Every concrete payload copies itself member-wise, current modifiers included.
#define COMBAT_ATTRIBUTE_CLONE(Class)                         \
    std::unique_ptr<CombatAttribute> Clone() const override { \
        return std::make_unique<Class>(*this);                \
    }

namespace GAME {

class CombatCharacter;

class CombatAttribute {
public:
    explicit CombatAttribute(CombatAttributeType type) : mType(type) {}
    CombatAttribute(const CombatAttribute&) = default;
    CombatAttribute& operator=(const CombatAttribute&) = delete;
    virtual ~CombatAttribute() = default;

    // Every payload kind lives in a recycled block of one size, and no kind owns anything (its
    // members are plain values), so a list can drop its payloads with Discard, without a virtual
    // destructor call each. CombatAttribute.cpp checks every kind's size against the block.
    static constexpr std::size_t kBlockSize = 64;
    static void* operator new(std::size_t) { return RecycledBlocks::Take(kBlockSize); }
    static void operator delete(void* block) noexcept { RecycledBlocks::Give(block, kBlockSize); }
    // Ends the payload's life and hands its block back; null is ignored.
    static void Discard(CombatAttribute* payload) noexcept {
        RecycledBlocks::Give(payload, kBlockSize);
    }

    virtual std::unique_ptr<CombatAttribute> Clone() const = 0;
    virtual CombatAttributeType GetType() const { return mType; }
    virtual void Process(const CombatCharacter& character, float percent, float subtract,
                         float reducePercent, float reduceAbsolute);
    virtual float ProcessBluntDamageModifier(float factor);
    virtual void Execute(CombatCharacter& defender);
    virtual void Execute(CombatAttribute* payload, CombatAttributeRegion region);
    virtual void GetTotalDamage(float& absolute, float& duration);
    virtual void GetTotalDefense(float& absolute, float& duration) const;
    virtual void ModifyAbsoluteDamage(CombatAttributeType type, float value);
    virtual void ModifyDurationDamage(CombatAttributeType type, float damagePercent,
                                      float durationPercent);
    virtual void ModifyAbsoluteDefense(CombatAttributeType type, float value);
    virtual void ModifyDurationDefense(CombatAttributeType type, float value);
    virtual void ReduceAbsoluteDamage(CombatAttributeType type, float percent);
    virtual void DamageReductionByShield(const CombatCharacter& defender, float shieldDefense,
                                         float shieldAbsorption);
    virtual void ReduceDurationDamage(CombatAttributeType type, float percent);
    virtual void ScaleDamage(float percent);
    virtual bool GetFilterForReflectDamage() const { return mFilterForReflect; }
    virtual float GetDefense() const { return 0.0f; }
    virtual bool MergeDefense(const CombatAttribute& other);

protected:
    CombatAttributeType mType;
    bool mFilterForReflect = false;
};

// The owner the accumulator's lists hold: it hands the block back without the virtual
// destructor call (CombatAttribute::Discard). Owners of any payload kind convert to it.
struct CombatPayloadDiscard {
    CombatPayloadDiscard() = default;
    template <class Payload>
    CombatPayloadDiscard(std::default_delete<Payload>) noexcept {
        static_assert(std::is_base_of_v<CombatAttribute, Payload>);
    }
    void operator()(CombatAttribute* payload) const noexcept { CombatAttribute::Discard(payload); }
};
using CombatPayloadPtr = std::unique_ptr<CombatAttribute, CombatPayloadDiscard>;

// ---- Damage of one amount ----

class CombatAttributeAbsDamage : public CombatAttribute {
public:
    CombatAttributeAbsDamage(CombatAttributeType type, float damage)
        : CombatAttribute(type), mDamage(damage) {}
    CombatAttributeAbsDamage(const CombatAttributeAbsDamage&) = default;
    COMBAT_ATTRIBUTE_CLONE(CombatAttributeAbsDamage)

    void Process(const CombatCharacter& character, float percent, float subtract,
                 float reducePercent, float reduceAbsolute) override;
    void Execute(CombatCharacter& defender) override;
    using CombatAttribute::Execute;
    void GetTotalDamage(float& absolute, float& duration) override;
    void ModifyAbsoluteDamage(CombatAttributeType type, float value) override;
    void ReduceAbsoluteDamage(CombatAttributeType type, float percent) override;
    void DamageReductionByShield(const CombatCharacter& defender, float shieldDefense,
                                 float shieldAbsorption) override;
    void ScaleDamage(float percent) override;

    float GetDamage() const { return mDamage; }
    float GetDamageModifier() const { return mDamageModifier; }

protected:
    // The elemental subclass runs its formula between the percent and the reductions.
    virtual float ApplyElementalFormula(const CombatCharacter& character, float damage) const;

    float mDamage;
    float mDamageModifier = 0.0f;
};

class CombatAttributeAbsDamageElemental : public CombatAttributeAbsDamage {
public:
    using CombatAttributeAbsDamage::CombatAttributeAbsDamage;
    COMBAT_ATTRIBUTE_CLONE(CombatAttributeAbsDamageElemental)

protected:
    float ApplyElementalFormula(const CombatCharacter& character, float damage) const override;
};

// Stun, trap, freeze, petrify: the amount is the duration of a fixed effect of strength 1.
class CombatAttributeReflexDamage : public CombatAttributeAbsDamage {
public:
    CombatAttributeReflexDamage(CombatAttributeType type, float damage)
        : CombatAttributeAbsDamage(type, damage) {
        mFilterForReflect = true;
    }
    CombatAttributeReflexDamage(const CombatAttributeReflexDamage&) = default;
    COMBAT_ATTRIBUTE_CLONE(CombatAttributeReflexDamage)
    void Execute(CombatCharacter& defender) override;
    using CombatAttribute::Execute;
    void GetTotalDamage(float&, float&) override {}
};

class CombatAttributeInfluenceDamage : public CombatAttributeAbsDamage {
public:
    CombatAttributeInfluenceDamage(CombatAttributeType type, float damage)
        : CombatAttributeAbsDamage(type, damage) {
        mFilterForReflect = true;
    }
    CombatAttributeInfluenceDamage(const CombatAttributeInfluenceDamage&) = default;
    void Execute(CombatCharacter& defender) override = 0;
    using CombatAttribute::Execute;
    void GetTotalDamage(float&, float&) override {}
};

class CombatAttributeInfluenceDamage_Taunt : public CombatAttributeInfluenceDamage {
public:
    using CombatAttributeInfluenceDamage::CombatAttributeInfluenceDamage;
    COMBAT_ATTRIBUTE_CLONE(CombatAttributeInfluenceDamage_Taunt)
    void Execute(CombatCharacter& defender) override;
    using CombatAttribute::Execute;
};

class CombatAttributeInfluenceDamage_Fear : public CombatAttributeInfluenceDamage {
public:
    using CombatAttributeInfluenceDamage::CombatAttributeInfluenceDamage;
    COMBAT_ATTRIBUTE_CLONE(CombatAttributeInfluenceDamage_Fear)
    void Execute(CombatCharacter& defender) override;
    using CombatAttribute::Execute;
};

class CombatAttributeInfluenceDamage_Confusion : public CombatAttributeInfluenceDamage {
public:
    using CombatAttributeInfluenceDamage::CombatAttributeInfluenceDamage;
    COMBAT_ATTRIBUTE_CLONE(CombatAttributeInfluenceDamage_Confusion)
    void Execute(CombatCharacter& defender) override;
    using CombatAttribute::Execute;
};

class CombatAttributeInfluenceDamage_Convert : public CombatAttributeInfluenceDamage {
public:
    using CombatAttributeInfluenceDamage::CombatAttributeInfluenceDamage;
    COMBAT_ATTRIBUTE_CLONE(CombatAttributeInfluenceDamage_Convert)
    // Remembers the processing character as the converter.
    void Process(const CombatCharacter& character, float percent, float subtract,
                 float reducePercent, float reduceAbsolute) override;
    void Execute(CombatCharacter& defender) override;
    using CombatAttribute::Execute;
    std::uint32_t GetConverterId() const { return mConverterId; }

private:
    std::uint32_t mConverterId = 0;
};

class CombatAttributeAbsDamage_PercentLife : public CombatAttributeAbsDamage {
public:
    using CombatAttributeAbsDamage::CombatAttributeAbsDamage;
    COMBAT_ATTRIBUTE_CLONE(CombatAttributeAbsDamage_PercentLife)
    void Execute(CombatCharacter& defender) override;
    using CombatAttribute::Execute;
    void ReduceAbsoluteDamage(CombatAttributeType type, float percent) override;
    void GetTotalDamage(float&, float&) override {}
};

class CombatAttributeAbsDamage_Disruption : public CombatAttributeAbsDamage {
public:
    using CombatAttributeAbsDamage::CombatAttributeAbsDamage;
    COMBAT_ATTRIBUTE_CLONE(CombatAttributeAbsDamage_Disruption)
    void Execute(CombatCharacter& defender) override;
    using CombatAttribute::Execute;
    void GetTotalDamage(float&, float&) override {}
};

class CombatAttributeAbsDamage_LifeLeech : public CombatAttributeAbsDamage {
public:
    using CombatAttributeAbsDamage::CombatAttributeAbsDamage;
    COMBAT_ATTRIBUTE_CLONE(CombatAttributeAbsDamage_LifeLeech)
    void Execute(CombatCharacter& defender) override;
    using CombatAttribute::Execute;
};

class CombatAttributeAbsDamage_ManaBurn : public CombatAttributeAbsDamage {
public:
    CombatAttributeAbsDamage_ManaBurn(CombatAttributeType type, float amount, float ratio)
        : CombatAttributeAbsDamage(type, amount), mRatio(ratio) {}
    CombatAttributeAbsDamage_ManaBurn(const CombatAttributeAbsDamage_ManaBurn&) = default;
    COMBAT_ATTRIBUTE_CLONE(CombatAttributeAbsDamage_ManaBurn)
    void Execute(CombatCharacter& defender) override;
    using CombatAttribute::Execute;
    void ModifyAbsoluteDamage(CombatAttributeType type, float value) override;
    void ReduceAbsoluteDamage(CombatAttributeType type, float percent) override;
    void GetTotalDamage(float&, float&) override {}
    float GetRatio() const { return mRatio; }

private:
    float mRatio;
};

// ---- Damage over time ----

class CombatAttributeDurDamage : public CombatAttribute {
public:
    CombatAttributeDurDamage(CombatAttributeType type, float damage, float duration)
        : CombatAttribute(type), mDamage(damage), mDuration(duration) {}
    CombatAttributeDurDamage(const CombatAttributeDurDamage&) = default;
    COMBAT_ATTRIBUTE_CLONE(CombatAttributeDurDamage)

    void Process(const CombatCharacter& character, float percent, float subtract,
                 float reducePercent, float reduceAbsolute) override;
    void Execute(CombatCharacter& defender) override;
    using CombatAttribute::Execute;
    void GetTotalDamage(float& absolute, float& duration) override;
    void ModifyDurationDamage(CombatAttributeType type, float damagePercent,
                              float durationPercent) override;
    void ReduceAbsoluteDamage(CombatAttributeType type, float percent) override;
    void ReduceDurationDamage(CombatAttributeType type, float percent) override;
    void DamageReductionByShield(const CombatCharacter& defender, float shieldDefense,
                                 float shieldAbsorption) override;
    void ScaleDamage(float percent) override;

    float GetDamage() const { return mDamage; }
    float GetDuration() const { return mDuration; }

protected:
    virtual float ApplyElementalFormula(const CombatCharacter& character, float damage) const;

    float mDamage;
    float mDuration;
    float mDamageModifier = 0.0f;
    float mDurationModifier = 0.0f;
};

class CombatAttributeDurDamageElemental : public CombatAttributeDurDamage {
public:
    using CombatAttributeDurDamage::CombatAttributeDurDamage;
    COMBAT_ATTRIBUTE_CLONE(CombatAttributeDurDamageElemental)

protected:
    float ApplyElementalFormula(const CombatCharacter& character, float damage) const override;
};

class CombatAttributeDurFixedDamage : public CombatAttributeDurDamage {
public:
    using CombatAttributeDurDamage::CombatAttributeDurDamage;
    COMBAT_ATTRIBUTE_CLONE(CombatAttributeDurFixedDamage)
    void Execute(CombatCharacter& defender) override;
    using CombatAttribute::Execute;
    void GetTotalDamage(float&, float&) override {}
};

// ---- Damage modifiers ----

class CombatAttributeAbsDamageMod : public CombatAttribute {
public:
    CombatAttributeAbsDamageMod(CombatAttributeType type, float percent)
        : CombatAttribute(type), mPercent(percent) {}
    CombatAttributeAbsDamageMod(const CombatAttributeAbsDamageMod&) = default;
    COMBAT_ATTRIBUTE_CLONE(CombatAttributeAbsDamageMod)
    void Execute(CombatAttribute* payload, CombatAttributeRegion region) override;
    using CombatAttribute::Execute;
    float GetPercent() const { return mPercent; }

private:
    float mPercent;
};

class CombatAttributeDurDamageMod : public CombatAttribute {
public:
    CombatAttributeDurDamageMod(CombatAttributeType type, float damagePercent,
                                float durationPercent)
        : CombatAttribute(type), mDamagePercent(damagePercent), mDurationPercent(durationPercent) {}
    CombatAttributeDurDamageMod(const CombatAttributeDurDamageMod&) = default;
    COMBAT_ATTRIBUTE_CLONE(CombatAttributeDurDamageMod)
    void Execute(CombatAttribute* payload, CombatAttributeRegion region) override;
    using CombatAttribute::Execute;
    float GetDamagePercent() const { return mDamagePercent; }
    float GetDurationPercent() const { return mDurationPercent; }

private:
    float mDamagePercent;
    float mDurationPercent;
};

// ---- Defenses ----

class CombatAttributeAbsDefense : public CombatAttribute {
public:
    CombatAttributeAbsDefense(CombatAttributeType type, float value)
        : CombatAttribute(type), mValue(value) {}
    CombatAttributeAbsDefense(const CombatAttributeAbsDefense&) = default;
    COMBAT_ATTRIBUTE_CLONE(CombatAttributeAbsDefense)
    void Process(const CombatCharacter& defender, float percent, float subtract,
                 float reducePercent, float reduceAbsolute) override;
    void Execute(CombatAttribute* payload, CombatAttributeRegion region) override;
    using CombatAttribute::Execute;
    void ModifyAbsoluteDefense(CombatAttributeType type, float value) override;
    void GetTotalDefense(float& absolute, float& duration) const override;
    float GetDefense() const override { return mValue; }
    // Only another absolute defense of the same type merges in.
    bool MergeDefense(const CombatAttribute& other) override;

protected:
    float mValue;
    float mModifier = 0.0f;
};

// Not weakened by the attacker's reductions.
class CombatAttributeAbsDefenseRestricted : public CombatAttributeAbsDefense {
public:
    using CombatAttributeAbsDefense::CombatAttributeAbsDefense;
    COMBAT_ATTRIBUTE_CLONE(CombatAttributeAbsDefenseRestricted)
    void Process(const CombatCharacter& defender, float percent, float subtract,
                 float reducePercent, float reduceAbsolute) override;
};

class CombatAttributeDurDefense : public CombatAttribute {
public:
    CombatAttributeDurDefense(CombatAttributeType type, float value)
        : CombatAttribute(type), mValue(value) {}
    CombatAttributeDurDefense(const CombatAttributeDurDefense&) = default;
    COMBAT_ATTRIBUTE_CLONE(CombatAttributeDurDefense)
    void Process(const CombatCharacter& defender, float percent, float subtract,
                 float reducePercent, float reduceAbsolute) override;
    void Execute(CombatAttribute* payload, CombatAttributeRegion region) override;
    using CombatAttribute::Execute;
    void ModifyDurationDefense(CombatAttributeType type, float value) override;
    void GetTotalDefense(float& absolute, float& duration) const override;
    float GetDefense() const override { return mValue; }
    // Only another duration defense of the same type merges in.
    bool MergeDefense(const CombatAttribute& other) override;

private:
    float mValue;
    float mModifier = 0.0f;
};

// Read by its total (block modifier, reflect); acts on no payload.
class CombatAttributeDefenseMisc : public CombatAttribute {
public:
    CombatAttributeDefenseMisc(CombatAttributeType type, float value)
        : CombatAttribute(type), mValue(value) {}
    CombatAttributeDefenseMisc(const CombatAttributeDefenseMisc&) = default;
    COMBAT_ATTRIBUTE_CLONE(CombatAttributeDefenseMisc)
    void Process(const CombatCharacter& defender, float percent, float subtract,
                 float reducePercent, float reduceAbsolute) override;
    void ModifyAbsoluteDefense(CombatAttributeType type, float value) override;
    void GetTotalDefense(float& absolute, float& duration) const override;

private:
    float mValue;
    float mModifier = 0.0f;
};

class CombatAttributeAbsDefenseMod : public CombatAttribute {
public:
    CombatAttributeAbsDefenseMod(CombatAttributeType type, float percent)
        : CombatAttribute(type), mPercent(percent) {}
    CombatAttributeAbsDefenseMod(const CombatAttributeAbsDefenseMod&) = default;
    COMBAT_ATTRIBUTE_CLONE(CombatAttributeAbsDefenseMod)
    void Execute(CombatAttribute* payload, CombatAttributeRegion region) override;
    using CombatAttribute::Execute;

private:
    float mPercent;
};

class CombatAttributeDurDefenseMod : public CombatAttribute {
public:
    CombatAttributeDurDefenseMod(CombatAttributeType type, float percent)
        : CombatAttribute(type), mPercent(percent) {}
    CombatAttributeDurDefenseMod(const CombatAttributeDurDefenseMod&) = default;
    COMBAT_ATTRIBUTE_CLONE(CombatAttributeDurDefenseMod)
    void Execute(CombatAttribute* payload, CombatAttributeRegion region) override;
    using CombatAttribute::Execute;

private:
    float mPercent;
};

// ---- Physical damage and armour ----

// Physical damage split into physical and pierce damage by the pierce ratio; reports type 1.
class CombatAttributeDamage_BasePhysical : public CombatAttribute {
public:
    CombatAttributeDamage_BasePhysical(CombatAttributeType type, float physical, float pierceRatio,
                                       bool useDesignerEquations)
        : CombatAttribute(type),
          mPhysical(physical),
          mPierceRatio(pierceRatio),
          mUseDesignerEquations(useDesignerEquations) {}
    CombatAttributeDamage_BasePhysical(const CombatAttributeDamage_BasePhysical&) = default;
    COMBAT_ATTRIBUTE_CLONE(CombatAttributeDamage_BasePhysical)

    CombatAttributeType GetType() const override { return CombatAttributeType::AllPhysical; }
    void Process(const CombatCharacter& attacker, float percent, float subtract,
                 float reducePercent, float reduceAbsolute) override;
    float ProcessBluntDamageModifier(float factor) override;
    void Execute(CombatCharacter& defender) override;
    using CombatAttribute::Execute;
    void GetTotalDamage(float& absolute, float& duration) override;
    void ModifyAbsoluteDamage(CombatAttributeType type, float value) override;
    void ReduceAbsoluteDamage(CombatAttributeType type, float percent) override;
    void DamageReductionByShield(const CombatCharacter& defender, float shieldDefense,
                                 float shieldAbsorption) override;
    void ScaleDamage(float percent) override;

    float GetPhysical() const { return mPhysical; }
    float GetPierceRatio() const { return mPierceRatio; }
    float GetPierce() const { return mPierce; }
    float GetAbsorbedProtection() const { return mAbsorbedProtection; }
    float GetProtection() const { return mProtection; }
    bool GetUseDesignerEquations() const { return mUseDesignerEquations; }

private:
    float mPhysical;
    float mPierceRatio;
    float mPierce = 0.0f;
    float mAbsorbedProtection = 0.0f;
    float mProtection = 0.0f;
    float mArmorBonus = 0.0f;
    float mPhysicalModifier = 0.0f;
    float mPierceRatioModifier = 0.0f;
    float mPierceModifier = 0.0f;
    bool mUseDesignerEquations;
};

// Extra physical damage that no percent or reduction scales.
class CombatAttributeDamage_BonusPhysical : public CombatAttribute {
public:
    CombatAttributeDamage_BonusPhysical(CombatAttributeType type, float damage)
        : CombatAttribute(type), mDamage(damage) {}
    CombatAttributeDamage_BonusPhysical(const CombatAttributeDamage_BonusPhysical&) = default;
    COMBAT_ATTRIBUTE_CLONE(CombatAttributeDamage_BonusPhysical)
    void Execute(CombatCharacter& defender) override;
    using CombatAttribute::Execute;
    void GetTotalDamage(float& absolute, float& duration) override;
    void ReduceAbsoluteDamage(CombatAttributeType type, float percent) override;
    void DamageReductionByShield(const CombatCharacter& defender, float shieldDefense,
                                 float shieldAbsorption) override;
    void ScaleDamage(float percent) override;
    float GetDamage() const { return mDamage; }

private:
    float mDamage;
};

// One piece of armour of a body region; reports type 30.
class CombatAttributeDefense_AbsorptionProtection : public CombatAttribute {
public:
    CombatAttributeDefense_AbsorptionProtection(float absorption, float protection,
                                                CombatAttributeRegion region)
        : CombatAttribute(CombatAttributeType::BasePhysical),
          mAbsorption(absorption),
          mProtection(protection),
          mRegion(region) {}
    CombatAttributeDefense_AbsorptionProtection(
        const CombatAttributeDefense_AbsorptionProtection&) = default;
    COMBAT_ATTRIBUTE_CLONE(CombatAttributeDefense_AbsorptionProtection)
    CombatAttributeType GetType() const override { return CombatAttributeType::AbsorbedProtection; }
    void Process(const CombatCharacter& defender, float percent, float subtract,
                 float reducePercent, float reduceAbsolute) override;
    void Execute(CombatAttribute* payload, CombatAttributeRegion region) override;
    using CombatAttribute::Execute;
    void ModifyAbsoluteDefense(CombatAttributeType type, float value) override;
    void GetTotalDefense(float& absolute, float& duration) const override;

    float GetAbsorption() const { return mAbsorption; }
    float GetProtection() const { return mProtection; }
    CombatAttributeRegion GetRegion() const { return mRegion; }

private:
    float mAbsorption;
    float mProtection;
    float mAbsorptionModifier = 0.0f;
    float mProtectionModifier = 0.0f;
    CombatAttributeRegion mRegion;
};

}  // namespace GAME
