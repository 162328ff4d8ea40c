#pragma once
// A character's base statistics and vital values: base attributes from its record, the totals
// after every source has contributed, current life and mana, the pools that flow in or out over
// time and the regeneration formulas. Recomputed and regenerated once per frame.
#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "Game/rules/CharAttributeAccumulator.h"
#include "Game/rules/CharAttributeStore.h"
#include "Game/rules/DefenseAttributeStore.h"
#include "Game/rules/formulas/DesignerEquation.h"

namespace GAME {

class Bonus;
class Character;
class CharacterBioRecord;
class CombatAttributeAccumulator;
class GameEngine;
class IOStream;
class LoadTable;

// The vitals that travel in a character's replication record, in wire order.
struct CharacterBioReplicaInfo {
    std::uint32_t currentLife = 0;
    std::uint32_t currentMana = 0;
    bool tainted = false;
    std::uint32_t baseLife = 0;
    std::uint32_t baseMana = 0;
    std::uint32_t baseStrength = 0;
    std::uint32_t baseDexterity = 0;
    std::uint32_t baseIntelligence = 0;
};

class CharacterBio : public EquationInterface<float> {
public:
    static constexpr const char* kRegenRecord = "Records/Game/HealthManaRegen.dbr";

    CharacterBio();
    ~CharacterBio() override;
    // Copies rebuild their own formulas and stores from the same records, so no two
    // biographies ever own the same formula.
    CharacterBio(const CharacterBio& other);
    CharacterBio& operator=(const CharacterBio& other);

    bool GetDesignerVariable(const char* name, float& value) override;

    void Load(const LoadTable& record);
    void InitialUpdate(Character& character);
    void Update(Character& character, int ms);

    float GetAttribute(CharAttributeType type) const { return mTotals.GetValue(type); }
    float GetModifier(CharAttributeType type) const { return mTotals.GetModifier(type); }
    const CharAttributeAccumulator& GetCharAttributes() const { return mTotals; }
    void GetBaseCharAttributes(CharAttributeAccumulator& accumulator) const;
    float GetBaseCharAttribute(CharAttributeType type) const { return mBaseSums->GetValue(type); }
    void GetDefenseAttributes(CombatAttributeAccumulator& accumulator) const;

    float GetCurrentLife() const { return mLife > 0.0f ? mLife : 0.0f; }
    float GetCurrentMana() const { return mMana > 0.0f ? mMana : 0.0f; }
    float GetLifeLimit() const { return GetAttribute(CharAttributeType::Life); }
    float GetManaLimit() const { return GetAttribute(CharAttributeType::Mana); }
    float GetLifePotential() const;
    float GetManaPotential() const;
    float GetManaReserve() const;

    void SubtractLife(float amount);
    void SubtractMana(float amount);
    void AddLifeFast(float amount);
    void AddManaFast(float amount);
    void AddLifeSlow(float amount);
    void AddManaSlow(float amount);
    void IncrementBaseAttribute(CharAttributeType type, float delta);
    // Sets the base life or mana, adding it to the base store when the record had none.
    void SetBaseVital(CharAttributeType type, float value);
    void TakeBonus(const Bonus& bonus, bool slow);
    float GetBonusLifeAmount(const Bonus& bonus) const;

    float GetLifeRegenValue(float lifeRegen, float lifeRegenMod, float elapsedSeconds);
    float GetManaRegenValue(float manaRegen, float manaRegenMod, float elapsedSeconds);

    void BioIsTainted() {
        if (mInitialized)
            mTainted = true;
        mSettle = Settle::None;
    }
    bool GetTaintedBio() const { return mTainted; }
    void ReloadValues() {
        mReloadValues = true;
        mSettle = Settle::None;
    }
    void BalanceHasChanged() {
        mBalanceChanged = true;
        mTotalsKept = false;
        mSettle = Settle::None;
    }
    void SetAcceleratedLifeRegen(bool on) {
        mAcceleratedLifeRegen = on;
        mSettle = Settle::None;
    }

    void GetCurrentBioStats(CharacterBioReplicaInfo& info) const;
    void RestoreCurrentBioStats(const CharacterBioReplicaInfo& info, bool restoreBase);
    void StreamProperties(IOStream& stream);

    float GetSlowLifePool() const { return mSlowLife; }
    float GetManaDrainPool() const { return mManaDrain; }
    bool HasLifeRegenFormula() const { return mLifeRegenFormula != nullptr; }
    // Asks for the regeneration formulas a frame's update runs (each its own heap object): a
    // kept value mostly stands, and its formula is then not read.
    void PrefetchUpdateData() const {
        if (!mLifeRegenKept.keepable)
            __builtin_prefetch(mLifeRegenFormula.get());
        if (!mManaRegenKept.keepable)
            __builtin_prefetch(mManaRegenFormula.get());
    }
    // False once the base values differ from the record's (the bio holds a copy of its own).
    bool SharesRecordBase() const { return mOwnBase == nullptr; }
    // The stores, as loaded from the record (or changed since, for the base).
    const CharAttributeStore_Bio& GetBaseStore() const;
    const DefenseAttributeStore_Character& GetDefenseStore() const;

protected:
    // True when the totals were summed again (the limits before are then in m*LimitBefore).
    bool UpdateResources(Character& character);
    // True while the totals summed last still hold: no source, base, level or balance moved.
    bool TotalsStand(const Character& character, const GameEngine* engine) const;
    // Brings mBaseSums up to the store and the level; true when they had to be worked out again.
    bool RefreshBaseSums();
    bool RefreshBaseSums(unsigned level);

private:
    // Every change of the base store goes through here, so the kept sums learn of it.
    void SetBaseValue(CharAttributeType type, float value);
    // The base store to change: the record's is shared, so the first change copies it.
    CharAttributeStore_Bio& OwnBaseStore();
    // The base store's sums at a level: the record's while the store is shared, else worked
    // out into `scratch`.
    const CharAttributeAccumulator& BaseSumsAt(unsigned level,
                                               CharAttributeAccumulator& scratch) const;
    // Makes the sums from BaseSumsAt the ones read from now on (copied when not the record's).
    void KeepBaseSums(const CharAttributeAccumulator& sums);
    // Makes a copy of the sums the ones read from now on.
    void HoldBaseSums(const CharAttributeAccumulator& sums);
    const std::string& GetRecordName() const;
    void LoadRegenRecord();
    // The totals from every source over the given base sums, as UpdateResources works them out.
    void SumTotals(Character& character, const CharAttributeAccumulator& base,
                   CharAttributeAccumulator& totals);
    // UpdateResources' summing, out of line: most frames keep the totals.
    [[gnu::noinline]] void SumResources(Character& character, unsigned level, bool baseChanged,
                                        std::uint32_t inputs, unsigned balance);
    void CopyFrom(const CharacterBio& other);
    // The update as a whole; Update skips it while the bio is settled.
    void UpdateFully(Character& character, int ms);
    // True when UpdateFully would leave every value as it is (see Settle).
    bool Settled(const Character& character, int ms) const;
#ifndef NDEBUG
    // Runs the update a settled bio skips and aborts unless it changed nothing.
    void CheckSettled(Character& character, int ms);
#endif
    static std::unique_ptr<DesignerEquation<float>> ParseFormula(const std::string& text,
                                                                 EquationInterface<float>* owner,
                                                                 const char* key);
    unsigned LevelIndex() const;
    static unsigned LevelIndex(const GameEngine* engine);

    // The variables the regeneration formulas may read, by index.
    enum class Variable : std::uint8_t {
        ElapsedTime,
        ManaRegen,
        LifeRegen,
        ManaRegenMod,
        LifeRegenMod,
        ManaTotal,
        LifeTotal,
        Intelligence,
        CharLevel,
        Count
    };
    static constexpr std::size_t kVariableCount = static_cast<std::size_t>(Variable::Count);
    // Variable::Count for a name the bio does not know.
    static Variable FindVariable(const char* name);
    float VariableValue(Variable variable) const;
    // A regeneration formula's last value, kept while the variables it reads hold the same
    // bits: the language has no draws and no clock, so equal inputs give an equal value. Only a
    // compiled formula whose every name the bio knows (no log line to repeat) is kept.
    struct KeptRegen {
        bool keepable = false;
        bool kept = false;
        std::uint8_t readCount = 0;
        std::array<Variable, kVariableCount> reads{};
        std::array<std::uint32_t, kVariableCount> inputs{};
        float value = 0.0f;
    };
    static KeptRegen KeepableRegen(const DesignerEquation<float>* formula);
    float RunRegen(const DesignerEquation<float>* formula, KeptRegen& kept) const;

    float mHealthOverStorageLimit = 0.0f;
    float mHealthFeedRate = 0.0f;
    float mManaOverStorageLimit = 0.0f;
    float mManaFeedRate = 0.0f;
    float mManaDrainRate = 0.0f;
    float mLife = 0.0f;
    float mSlowLife = 0.0f;
    float mLifeLost = 0.0f;
    float mAcceleratedLifeRegenPercent = 0.0f;
    bool mAcceleratedLifeRegen = false;
    float mMana = 0.0f;
    float mSlowMana = 0.0f;
    float mManaDrain = 0.0f;
    // The stores the record gives, shared by every bio of the record; mOwnBase once the base
    // values differ from it.
    std::shared_ptr<const CharacterBioRecord> mRecord;
    std::unique_ptr<CharAttributeStore_Bio> mOwnBase;
    CharAttributeAccumulator mTotals;
    // The base store's sums at mBaseLevel, worked out again only after the store changed (or
    // the level it is read at). The base values read between updates, and while the totals are
    // summed (new sums wait on the stack until then). The record's while the bio shares its
    // store, else mOwnSums; never null.
    const CharAttributeAccumulator* mBaseSums;
    std::unique_ptr<CharAttributeAccumulator> mOwnSums;
    bool mBaseStale = true;
    unsigned mBaseLevel = 0;
    // mTotals stay while neither the character's sources (its change count) nor the balance
    // level moved since they were summed.
    bool mTotalsKept = false;
    float mLifeLimitBefore = 0.0f;
    float mManaLimitBefore = 0.0f;
    std::uint32_t mTotalsInputs = 0;
    unsigned mTotalsBalance = 0;
    std::unique_ptr<DesignerEquation<float>> mLifeRegenFormula;
    std::unique_ptr<DesignerEquation<float>> mManaRegenFormula;
    KeptRegen mLifeRegenKept;
    KeptRegen mManaRegenKept;
    float mElapsedTime = 0.0f;
    float mManaRegen = 0.0f;
    float mLifeRegen = 0.0f;
    float mManaRegenMod = 0.0f;
    float mLifeRegenMod = 0.0f;
    float mManaTotal = 0.0f;
    float mLifeTotal = 0.0f;
    float mIntelligence = 0.0f;
    std::uint32_t mCharLevel = 0;
    bool mTainted = false;
    bool mReloadValues = false;
    bool mBalanceChanged = false;
    // What the last update showed about the next while nothing outside it changes the bio
    // (every setter unsettles it) and the totals stand: Top, an update that does not regenerate
    // (untainted, no time, no life) leaves everything as it is; Regen, so does one that
    // regenerates over the same time (full life and mana, no pools, kept formulas).
    enum class Settle : std::uint8_t { None, Top, Regen };
    Settle mSettle = Settle::None;
    float mLastLifeModifier = 0.0f;
    bool mLifeModifierChanged = false;
    float mLastManaModifier = 0.0f;
    bool mManaModifierChanged = false;
    bool mInitialized = false;
    // Set by the first update, which gives life and mana their first values.
    bool mVitalsSet = false;
};

}  // namespace GAME
