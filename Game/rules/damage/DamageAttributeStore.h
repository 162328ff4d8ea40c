#pragma once
// The offensive damage attributes that one item or one skill grants, in three groups: plain
// attributes (each with its own chance), a global all-of group (AND) and a global one-of group
// (XOR, one member picked by weight), both applied with the store's global chance. The load order
// of the attributes is their display order, cost order and draw order. An attack rolls the store
// as one batch per pass, built from the members' described rolls for the level it asks for;
// the attributes' values are read when that batch is built (on the first attack at a level and
// after a load or a scaling), so they change only through the store.
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "Engine/records/LoadTable.h"
#include "Game/rules/combat/CombatPayloadList.h"
#include "Game/rules/damage/DamageAttribute.h"

namespace GAME {

class DamageAttributeStore {
public:
    using AttributeList = std::vector<std::unique_ptr<DamageAttribute>>;

    DamageAttributeStore();
    DamageAttributeStore(const DamageAttributeStore&) = delete;
    DamageAttributeStore& operator=(const DamageAttributeStore&) = delete;
    virtual ~DamageAttributeStore();

    virtual void CreateText(DamageTextList& list1, DamageTextList& list2, DamageTextList& list3,
                            unsigned int level) const;
    virtual void CreateNextText(DamageTextList& list1, DamageTextList& list2, DamageTextList& list3,
                                unsigned int level, unsigned int nextLevel) const;
    // Each appends to its group; null is ignored.
    virtual void AddGlobalXorAttribute(std::unique_ptr<DamageAttribute> attribute);
    virtual void AddGlobalAndAttribute(std::unique_ptr<DamageAttribute> attribute);
    virtual void AddAttribute(std::unique_ptr<DamageAttribute> attribute);
    // Appends a loaded attribute to the group its record named.
    void Register(std::unique_ptr<DamageAttribute> attribute);
    virtual void AddDamageToAccumulator(CombatAttributeAccumulator& accumulator,
                                        unsigned int level);
    virtual void AddModifierToAccumulator(CombatAttributeAccumulator& accumulator,
                                          unsigned int level);
    virtual void ScaleAttributes(float percent);
    virtual void GetCostInfo(CostInfo_DamageAttributes& cost) const;

    RandomUniform* GetRandomGen() const { return mRandom; }
    void SetRandomGen(RandomUniform* random) { mRandom = random; }
    // Destroys every attribute; the global chances stay.
    void Clear();

    const AttributeList& GetGlobalXorAttributes() const { return mGlobalXor; }
    const AttributeList& GetGlobalAndAttributes() const { return mGlobalAnd; }
    const AttributeList& GetAttributes() const { return mAttributes; }
    std::size_t GetAttributeCount() const;

    // Loads one attribute class from the base record and, when given, from the prefix and suffix
    // records, each object kept in the group its own record names.
    template <class T>
    static void LoadAttribute(DamageAttributeStore& store, const LoadTable& base,
                              const LoadTable* prefix, const LoadTable* suffix,
                              float jitterPercent) {
        LoadOne<T>(store, base, jitterPercent);
        if (prefix)
            LoadOne<T>(store, *prefix, prefix->GetFloat("lootRandomizerJitter", 0.0f));
        if (suffix)
            LoadOne<T>(store, *suffix, suffix->GetFloat("lootRandomizerJitter", 0.0f));
    }

    float GetGlobalChance(unsigned int level) const;

protected:
    // Reads the per-level global chance of the base record and the single chances of the prefix
    // and suffix records; chances of a previously loaded record are dropped first.
    void SetGlobalChance(const LoadTable& base, const LoadTable* prefix, const LoadTable* suffix);
    // The record key of the per-level global chance.
    virtual const char* GetGlobalChanceTag() const { return "offensiveGlobalChance"; }

private:
    template <class T>
    static void LoadOne(DamageAttributeStore& store, const LoadTable& table, float jitterPercent) {
        auto attribute = std::make_unique<T>();
        if (!attribute->LoadFromTable(table))
            return;
        attribute->AddJitter(jitterPercent, store.GetRandomGen());
        store.Register(std::move(attribute));
    }
    // One member's roll in a pass, ready to run: the chance as a state limit, the draws' spans
    // in double, or the member itself when it rolls only through its own call.
    struct RollStep;
    // The rolls of one pass at one level: plain members, then the groups when the global roll
    // succeeds (the one-of group's steps carry their running weight).
    struct PassBatch;
    // The attributes' rolls, once per pass and level.
    struct Batch;
    // A member's roll in one pass, ready to run; `global` members skip their chance.
    static RollStep MakeStep(const DamageAttribute& attribute, DamageAttributeParts pass,
                             unsigned int level, bool global);
    // The batch of `level`, built when the level changes or the store did.
    const Batch& BatchFor(unsigned int level);
    void BuildBatch(unsigned int level);
    // After a member joined: the batch is stale.
    void StoreChanged();
    void RunPass(CombatAttributeAccumulator& accumulator, unsigned int level,
                 DamageAttributeParts pass);
    // A member's roll through its own call, the generator's state handed over and back.
    [[gnu::noinline]] static std::uint32_t RollOwn(const DamageAttribute& attribute,
                                                   CombatAttributeAccumulator& accumulator,
                                                   unsigned int level, DamageAttributeParts pass,
                                                   bool global, std::uint32_t state);
    void AppendGroupText(const AttributeList& group, const char* percentTag, const char* plainTag,
                         float chance, DamageTextList& list2, unsigned int level,
                         unsigned int nextLevel, bool next) const;

    // The global chance of a level and the least generator state that fails its roll.
    struct GlobalRoll {
        float chance;
        std::uint32_t failingState;
    };
    GlobalRoll GetGlobalRoll(unsigned int level) const;

    // The plain and all-of members that add payloads in one pass, in load order, so that a pass
    // walks only its own.
    struct PassMembers {
        std::vector<const DamageAttribute*> plain;
        std::vector<const DamageAttribute*> globalAnd;
    };
    PassMembers& MembersOf(DamageAttributeParts pass) {
        return pass == kDamageAttributeDamage ? mDamagePass : mModifierPass;
    }

    AttributeList mGlobalXor;
    AttributeList mGlobalAnd;
    AttributeList mAttributes;
    PassMembers mDamagePass;
    PassMembers mModifierPass;
    RandomUniform* mRandom = nullptr;
    std::vector<float> mGlobalChance;
    std::vector<std::uint32_t> mGlobalFailingState;
    float mPrefixGlobalChance = 0.0f;
    float mSuffixGlobalChance = 0.0f;
    std::uint32_t mPrefixFailingState = 0;
    std::uint32_t mSuffixFailingState = 0;
    std::unique_ptr<Batch> mBatch;
    bool mBatchBuilt = false;
};

// An item's store: from its record and the records of its prefix and suffix, with loot jitter.
class DamageAttributeStore_Equipment : public DamageAttributeStore {
public:
    // perLevelPhysical: physical damage per level (DamageAttribute_Physical) instead of the
    // weapon's base damage group.
    virtual void Load(const LoadTable& base, const LoadTable* prefix, const LoadTable* suffix,
                      bool perLevelPhysical);
};

// A skill's store: from the skill record alone, without jitter.
class DamageAttributeStore_Skill : public DamageAttributeStore {
public:
    virtual void Load(const LoadTable& table);
};

}  // namespace GAME
