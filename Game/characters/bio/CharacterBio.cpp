#include "Game/characters/bio/CharacterBio.h"

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/records/LoadTable.h"
#include "Engine/streams/IOStream.h"
#include "Engine/sys/LogRecorder.h"
#include "Game/characters/Character.h"
#include "Game/characters/bio/CharacterBioRecord.h"
#include "Game/core/GameEngine.h"
#include "Game/core/players/Bonus.h"
#include "Game/rules/formulas/DesignerEquation_Algebra.h"

namespace GAME {

namespace {

constexpr std::uint32_t NameHash(std::string_view name) {
    std::uint32_t hash = 2166136261u;
    for (char c : name)
        hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    return hash;
}

// The five base attributes of the save stream and the replica, in stream order.
constexpr CharAttributeType kSavedTypes[] = {
    CharAttributeType::Strength, CharAttributeType::Dexterity, CharAttributeType::Intelligence,
    CharAttributeType::Life,     CharAttributeType::Mana,
};

// A life or mana fraction of a total of 0 is taken as full, not as a division by zero.
float Fraction(float current, float total) {
    return total != 0.0f ? current / total : 1.0f;
}

// What a pool hands over in one update; a rate of 0 moves the whole pool at once.
float FlowStep(float pool, float total, float rate, int ms) {
    if (rate <= 0.0f)
        return pool;
    return std::min(pool, total / rate * static_cast<float>(ms));
}

bool Same(float a, float b) {
    return std::bit_cast<std::uint32_t>(a) == std::bit_cast<std::uint32_t>(b);
}

std::uint32_t Truncated(float value) {
    return value > 0.0f ? static_cast<std::uint32_t>(value) : 0u;
}

}  // namespace

namespace {
// What a bio never loaded holds.
const CharAttributeStore_Bio kNoBaseStore;
const DefenseAttributeStore_Character kNoDefenseStore;
const CharAttributeAccumulator kNoBaseSums;
}  // namespace

CharacterBio::CharacterBio() : mBaseSums(&kNoBaseSums) {}
CharacterBio::~CharacterBio() = default;

CharacterBio::CharacterBio(const CharacterBio& other)
    : EquationInterface<float>(other), mBaseSums(&kNoBaseSums) {
    CopyFrom(other);
}

CharacterBio& CharacterBio::operator=(const CharacterBio& other) {
    if (this != &other)
        CopyFrom(other);
    return *this;
}

void CharacterBio::CopyFrom(const CharacterBio& other) {
    mSettle = Settle::None;
    mBaseStale = true;
    mTotalsKept = false;
    // The copy shares the record's stores and says what loading them said, as a load would.
    mRecord = other.mRecord;
    if (mRecord) {
        LogRecorder::Replay(mRecord->GetBaseLog());
        LogRecorder::Replay(mRecord->GetDefenseLog());
    }
    mOwnBase.reset();
    if (other.mOwnBase) {
        mOwnBase = std::make_unique<CharAttributeStore_Bio>();
        for (const auto& attribute : other.mOwnBase->GetAttributes())
            mOwnBase->AddToStore(attribute->Clone());
    }
    mLifeRegenFormula.reset();
    mManaRegenFormula.reset();
    mLifeRegenKept = {};
    mManaRegenKept = {};
    if (other.mLifeRegenFormula || other.mManaRegenFormula)
        LoadRegenRecord();

    mHealthOverStorageLimit = other.mHealthOverStorageLimit;
    mHealthFeedRate = other.mHealthFeedRate;
    mManaOverStorageLimit = other.mManaOverStorageLimit;
    mManaFeedRate = other.mManaFeedRate;
    mManaDrainRate = other.mManaDrainRate;
    mLife = other.mLife;
    mSlowLife = other.mSlowLife;
    mLifeLost = other.mLifeLost;
    mAcceleratedLifeRegenPercent = other.mAcceleratedLifeRegenPercent;
    mAcceleratedLifeRegen = other.mAcceleratedLifeRegen;
    mMana = other.mMana;
    mSlowMana = other.mSlowMana;
    mManaDrain = other.mManaDrain;
    mTotals = other.mTotals;
    if (other.mBaseSums == other.mOwnSums.get())
        HoldBaseSums(*other.mOwnSums);
    else
        mBaseSums = other.mBaseSums;
    mElapsedTime = other.mElapsedTime;
    mManaRegen = other.mManaRegen;
    mLifeRegen = other.mLifeRegen;
    mManaRegenMod = other.mManaRegenMod;
    mLifeRegenMod = other.mLifeRegenMod;
    mManaTotal = other.mManaTotal;
    mLifeTotal = other.mLifeTotal;
    mIntelligence = other.mIntelligence;
    mCharLevel = other.mCharLevel;
    mTainted = other.mTainted;
    mReloadValues = other.mReloadValues;
    mBalanceChanged = other.mBalanceChanged;
    mLastLifeModifier = other.mLastLifeModifier;
    mLifeModifierChanged = other.mLifeModifierChanged;
    mLastManaModifier = other.mLastManaModifier;
    mManaModifierChanged = other.mManaModifierChanged;
    mInitialized = other.mInitialized;
    mVitalsSet = other.mVitalsSet;
}

CharacterBio::Variable CharacterBio::FindVariable(const char* name) {
    // One hash and one comparison per lookup.
    static constexpr std::string_view kNames[kVariableCount] = {
        "elapsedTime", "manaRegen", "lifeRegen",    "manaRegenMod", "lifeRegenMod",
        "manaTotal",   "lifeTotal", "intelligence", "charLevel",
    };
    static constexpr auto kHashes = [] {
        std::array<std::uint32_t, kVariableCount> hashes{};
        for (std::size_t i = 0; i < kVariableCount; ++i)
            hashes[i] = NameHash(kNames[i]);
        return hashes;
    }();
    const std::string_view key(name);
    const std::uint32_t hash = NameHash(key);
    for (std::size_t i = 0; i < kVariableCount; ++i)
        if (kHashes[i] == hash)
            return key == kNames[i] ? static_cast<Variable>(i) : Variable::Count;
    return Variable::Count;
}

float CharacterBio::VariableValue(Variable variable) const {
    switch (variable) {
        case Variable::ElapsedTime:
            return mElapsedTime;
        case Variable::ManaRegen:
            return mManaRegen;
        case Variable::LifeRegen:
            return mLifeRegen;
        case Variable::ManaRegenMod:
            return mManaRegenMod;
        case Variable::LifeRegenMod:
            return mLifeRegenMod;
        case Variable::ManaTotal:
            return mManaTotal;
        case Variable::LifeTotal:
            return mLifeTotal;
        case Variable::Intelligence:
            return mIntelligence;
        case Variable::CharLevel:
            return static_cast<float>(mCharLevel);
        case Variable::Count:
            break;
    }
    return 0.0f;
}

bool CharacterBio::GetDesignerVariable(const char* name, float& value) {
    const Variable variable = FindVariable(name);
    if (variable == Variable::Count) {
        value = 0.0f;
        return false;
    }
    value = VariableValue(variable);
    return true;
}

CharacterBio::KeptRegen CharacterBio::KeepableRegen(const DesignerEquation<float>* formula) {
    KeptRegen kept;
    if (!formula || !formula->GetProgram().IsCompiled())
        return kept;
    const auto& names = formula->GetProgram().GetNames();
    if (names.size() > kVariableCount)
        return kept;
    for (const std::string& name : names) {
        const Variable variable = FindVariable(name.c_str());
        if (variable == Variable::Count)
            return kept;
        kept.reads[kept.readCount++] = variable;
    }
    kept.keepable = true;
    return kept;
}

float CharacterBio::RunRegen(const DesignerEquation<float>* formula, KeptRegen& kept) const {
    if (!formula)
        return 0.0f;
    if (!kept.keepable)
        return (*formula)();
    // The inputs kept are replaced as they are compared: a difference works the value out anew.
    bool same = kept.kept;
    for (std::size_t i = 0; i < kept.readCount; ++i) {
        const auto bits = std::bit_cast<std::uint32_t>(VariableValue(kept.reads[i]));
        same = same && bits == kept.inputs[i];
        kept.inputs[i] = bits;
    }
    if (same) {
#ifndef NDEBUG
        const float fresh = (*formula)();
        if (std::bit_cast<std::uint32_t>(fresh) != std::bit_cast<std::uint32_t>(kept.value)) {
            gEngine->Log(0, "CharacterBio: the kept regeneration of %s is stale",
                         GetRecordName().c_str());
            std::abort();
        }
#endif
        return kept.value;
    }
    kept.value = (*formula)();
    kept.kept = true;
    return kept.value;
}

std::unique_ptr<DesignerEquation<float>> CharacterBio::ParseFormula(const std::string& text,
                                                                    EquationInterface<float>* owner,
                                                                    const char* key) {
    if (text.empty())
        return nullptr;
    auto formula = std::make_unique<DesignerEquation_Algebra>();
    if (formula->ParseEquation(text.c_str(), owner, key))
        return formula;
    gEngine->Log(1, "-=- CharacterBio Equation load failure : %s %s", key, kRegenRecord);
    return nullptr;
}

void CharacterBio::LoadRegenRecord() {
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    if (!objects.LoadTableFile(kRegenRecord))
        return;
    const LoadTable regen = objects.GetLoadTable(kRegenRecord);
    mLifeRegenFormula =
        ParseFormula(regen.GetString("lifeRegenEquation"), this, "lifeRegenEquation");
    mManaRegenFormula =
        ParseFormula(regen.GetString("manaRegenEquation"), this, "manaRegenEquation");
    mLifeRegenKept = KeepableRegen(mLifeRegenFormula.get());
    mManaRegenKept = KeepableRegen(mManaRegenFormula.get());
    mHealthOverStorageLimit = regen.GetFloat("healthOverStorageLimit", 0.0f);
    mHealthFeedRate = regen.GetFloat("healthFeedRate", 0.0f) * 1000.0f;
    mManaOverStorageLimit = regen.GetFloat("manaOverStorageLimit", 0.0f);
    mManaFeedRate = regen.GetFloat("manaFeedRate", 0.0f) * 1000.0f;
    mManaDrainRate = regen.GetFloat("manaDrainRate", 0.0f) * 1000.0f;
}

void CharacterBio::Load(const LoadTable& record) {
    mAcceleratedLifeRegenPercent = record.GetFloat("acceleratedLifeRegenPercent", 0.0f);
    mSettle = Settle::None;
    // The sums read until the next update may be the record's, which goes with it.
    if (mBaseSums != &kNoBaseSums && mBaseSums != mOwnSums.get())
        HoldBaseSums(*mBaseSums);
    mRecord = Singleton<CharacterBioRecords>::Get().Get(record);
    mOwnBase.reset();
    LogRecorder::Replay(mRecord->GetBaseLog());
    mBaseStale = true;
    mTotalsKept = false;
    LoadRegenRecord();
    LogRecorder::Replay(mRecord->GetDefenseLog());
}

const CharAttributeStore_Bio& CharacterBio::GetBaseStore() const {
    if (mOwnBase)
        return *mOwnBase;
    return mRecord ? mRecord->GetBaseStore() : kNoBaseStore;
}

const DefenseAttributeStore_Character& CharacterBio::GetDefenseStore() const {
    return mRecord ? mRecord->GetDefenseStore() : kNoDefenseStore;
}

CharAttributeStore_Bio& CharacterBio::OwnBaseStore() {
    if (!mOwnBase)
        mOwnBase = mRecord ? mRecord->CopyBaseStore() : std::make_unique<CharAttributeStore_Bio>();
    return *mOwnBase;
}

const CharAttributeAccumulator& CharacterBio::BaseSumsAt(unsigned level,
                                                         CharAttributeAccumulator& scratch) const {
    if (!mOwnBase)
        return mRecord ? mRecord->GetBaseSums(level) : kNoBaseSums;
    scratch.Clear();
    mOwnBase->AddToAccumulator(scratch, level);
    return scratch;
}

void CharacterBio::KeepBaseSums(const CharAttributeAccumulator& sums) {
    if (mOwnBase) {
        HoldBaseSums(sums);
        return;
    }
    mBaseSums = &sums;
    mOwnSums.reset();
}

void CharacterBio::HoldBaseSums(const CharAttributeAccumulator& sums) {
    if (!mOwnSums)
        mOwnSums = std::make_unique<CharAttributeAccumulator>();
    *mOwnSums = sums;
    mBaseSums = mOwnSums.get();
}

const std::string& CharacterBio::GetRecordName() const {
    static const std::string kNone;
    return mRecord ? mRecord->GetRecordName() : kNone;
}

unsigned CharacterBio::LevelIndex() const {
    // One look-up of the root, not two: each reads the thread's machine and its slot.
    return LevelIndex(gGameEngine);
}

unsigned CharacterBio::LevelIndex(const GameEngine* engine) {
    const int difficulty = engine ? engine->GetGameDifficulty() : 0;
    return static_cast<unsigned>(std::max(difficulty, 0)) + 1u;
}

void CharacterBio::GetBaseCharAttributes(CharAttributeAccumulator& accumulator) const {
    GetBaseStore().AddToAccumulator(accumulator, LevelIndex());
}

void CharacterBio::GetDefenseAttributes(CombatAttributeAccumulator& accumulator) const {
    GetDefenseStore().AddToAccumulator(accumulator, LevelIndex());
}

void CharacterBio::SetBaseValue(CharAttributeType type, float value) {
    mBaseStale = true;
    mSettle = Settle::None;
    // Setting what the store already holds changes nothing: the record's store stays shared
    // (a client restores every monster's base values from the server's).
    for (const auto& attribute : GetBaseStore().GetAttributes())
        if (attribute->GetType() == type && attribute->HoldsOnly(value))
            return;
    OwnBaseStore().SetBaseValue(type, value);
}

bool CharacterBio::RefreshBaseSums() {
    return RefreshBaseSums(LevelIndex());
}

bool CharacterBio::RefreshBaseSums(unsigned level) {
    const bool stale = mBaseStale || level != mBaseLevel;
    if (stale) {
        CharAttributeAccumulator scratch;
        mBaseStale = false;
        mBaseLevel = level;
        KeepBaseSums(BaseSumsAt(level, scratch));
    }
#ifndef NDEBUG
    CharAttributeAccumulator fresh;
    GetBaseStore().AddToAccumulator(fresh, level);
    if (std::memcmp(&fresh, mBaseSums, sizeof fresh) != 0) {
        gEngine->Log(0, "CharacterBio: the kept base sums of %s are stale",
                     GetRecordName().c_str());
        std::abort();
    }
#endif
    return stale;
}

void CharacterBio::SumTotals(Character& character, const CharAttributeAccumulator& base,
                             CharAttributeAccumulator& totals) {
    totals = base;
    character.GetEquipCharAttributes(totals);
    character.GetSkillCharAttributes(totals);
    character.ContributeItemSetCharAttributes(totals);
    character.ContributeGameBalanceCharAttributes(totals);
}

bool CharacterBio::UpdateResources(Character& character) {
    // One look-up of the root for the level and the balance.
    const GameEngine* engine = gGameEngine;
    const unsigned level = LevelIndex(engine);
    const bool baseChanged = mBaseStale || level != mBaseLevel;
#ifndef NDEBUG
    // Unchanged, the refresh only checks the kept base sums.
    if (!baseChanged)
        RefreshBaseSums(level);
#endif
    const std::uint32_t inputs = character.GetCharAttributeInputs();
    const unsigned balance = engine ? engine->GetBalanceDifficulty() : 0u;
    if (!baseChanged && TotalsStand(character, engine)) {
#ifndef NDEBUG
        // Kept, the totals are the very sums a fresh pass over every source gives.
        CharAttributeAccumulator fresh;
        SumTotals(character, *mBaseSums, fresh);
        if (std::memcmp(&fresh, &mTotals, sizeof fresh) != 0) {
            gEngine->Log(0, "CharacterBio: the kept totals of %s are stale",
                         GetRecordName().c_str());
            std::abort();
        }
#endif
        return false;
    }
    SumResources(character, level, baseChanged, inputs, balance);
    return true;
}

bool CharacterBio::TotalsStand(const Character& character, const GameEngine* engine) const {
    return mTotalsKept && !mBaseStale && LevelIndex(engine) == mBaseLevel &&
           character.GetCharAttributeInputs() == mTotalsInputs &&
           (engine ? engine->GetBalanceDifficulty() : 0u) == mTotalsBalance;
}

void CharacterBio::SumResources(Character& character, unsigned level, bool baseChanged,
                                std::uint32_t inputs, unsigned balance) {
    mLifeLimitBefore = GetLifeLimit();
    mManaLimitBefore = GetManaLimit();
    if (baseChanged) {
        // A change the sources make while they are summed leaves the store stale again.
        CharAttributeAccumulator scratch;
        const CharAttributeAccumulator& base = BaseSumsAt(level, scratch);
        mBaseStale = false;
        mBaseLevel = level;
        SumTotals(character, base, mTotals);
        KeepBaseSums(base);
    } else {
        SumTotals(character, *mBaseSums, mTotals);
    }
    // A source that changes while it is summed leaves the count moved: summed again next time.
    mTotalsKept = character.GetCharAttributeInputs() == inputs;
    mTotalsInputs = inputs;
    mTotalsBalance = balance;
    const float lifeModifier = mTotals.GetModifier(CharAttributeType::Life);
    if (lifeModifier != mLastLifeModifier) {
        mLastLifeModifier = lifeModifier;
        mLifeModifierChanged = true;
    }
    const float manaModifier = mTotals.GetModifier(CharAttributeType::Mana);
    if (manaModifier != mLastManaModifier) {
        mLastManaModifier = manaModifier;
        mManaModifierChanged = true;
    }
    if (RefreshBaseSums())
        mTotalsKept = false;
}

void CharacterBio::InitialUpdate(Character& character) {
    mSettle = Settle::None;
    UpdateResources(character);
    mInitialized = true;
}

void CharacterBio::Update(Character& character, int ms) {
    // Most of a crowd stands at full life from one frame to the next.
    if (mSettle != Settle::None && Settled(character, ms)) {
#ifndef NDEBUG
        CheckSettled(character, ms);
#endif
        return;
    }
    UpdateFully(character, ms);
}

bool CharacterBio::Settled(const Character& character, int ms) const {
    if (!TotalsStand(character, gGameEngine) || character.GetCharLevel() != mCharLevel)
        return false;
    // An update that stops before regenerating sets the mana total to the whole limit.
    if (!mTainted || ms <= 0 || mLife <= 0.0f)
        return Same(mManaTotal, GetManaLimit());
    return mSettle == Settle::Regen && Same(static_cast<float>(ms) * 0.001f, mElapsedTime);
}

#ifndef NDEBUG
void CharacterBio::CheckSettled(Character& character, int ms) {
    const auto bits = [](const CharacterBio& bio) {
        const auto regen = [](const KeptRegen& kept) {
            std::array<std::uint32_t, kVariableCount + 2> all{};
            std::copy(kept.inputs.begin(), kept.inputs.end(), all.begin());
            all[kVariableCount] = kept.kept;
            all[kVariableCount + 1] = std::bit_cast<std::uint32_t>(kept.value);
            return all;
        };
        constexpr std::size_t kValues = 16;
        const float values[kValues] = {
            bio.mLife,      bio.mSlowLife,     bio.mLifeLost,         bio.mMana,
            bio.mSlowMana,  bio.mManaDrain,    bio.mElapsedTime,      bio.mManaRegen,
            bio.mLifeRegen, bio.mManaRegenMod, bio.mLifeRegenMod,     bio.mManaTotal,
            bio.mLifeTotal, bio.mIntelligence, bio.mLastLifeModifier, bio.mLastManaModifier};
        std::array<std::uint32_t, kValues + 2 * (kVariableCount + 2) + 2> all{};
        std::transform(std::begin(values), std::end(values), all.begin(),
                       [](float v) { return std::bit_cast<std::uint32_t>(v); });
        const auto life = regen(bio.mLifeRegenKept);
        const auto mana = regen(bio.mManaRegenKept);
        auto end = std::copy(life.begin(), life.end(), all.begin() + kValues);
        end = std::copy(mana.begin(), mana.end(), end);
        end[0] = bio.mCharLevel;
        end[1] = (bio.mTainted ? 1u : 0u) | (bio.mReloadValues ? 2u : 0u) |
                 (bio.mBalanceChanged ? 4u : 0u) | (bio.mLifeModifierChanged ? 8u : 0u) |
                 (bio.mManaModifierChanged ? 16u : 0u) | (bio.mVitalsSet ? 32u : 0u) |
                 (bio.mTotalsKept ? 64u : 0u);
        return all;
    };
    const auto before = bits(*this);
    const Settle settle = mSettle;
    PlayStats& stats = character.GetPlayStats();
    const float healed = stats.GetLifeHealed(PlayStatsLifeType::Regeneration);
    UpdateFully(character, ms);
    const bool statsSame = Same(healed, stats.GetLifeHealed(PlayStatsLifeType::Regeneration)) &&
                           (!mTainted || ms <= 0 || mLife <= 0.0f ||
                            stats.HasLifeHealed(PlayStatsLifeType::Regeneration));
    if (before != bits(*this) || !statsSame) {
        gEngine->Log(0, "CharacterBio: the settled update of %s changed its values",
                     GetRecordName().c_str());
        std::abort();
    }
    // The update learned nothing new: settled it stays as it was.
    mSettle = settle;
}
#endif

void CharacterBio::UpdateFully(Character& character, int ms) {
    const float seconds = static_cast<float>(ms) * 0.001f;
    const float life = mLife;
    const float mana = mMana;
    // Totals that stayed leave the limits as they were: each is read once.
    const bool summed = UpdateResources(character);
    const float lifeTotal = GetLifeLimit();
    const float manaTotal = GetManaLimit();
    // Only an update that rescales nothing can show what the next one does.
    const bool quietTop =
        !summed && !mBalanceChanged && !mLifeModifierChanged && !mManaModifierChanged;
    mSettle = Settle::None;
    if (mBalanceChanged || mLifeModifierChanged)
        mLife = lifeTotal * Fraction(life, summed ? mLifeLimitBefore : lifeTotal);
    if (mBalanceChanged || mManaModifierChanged)
        mMana = manaTotal * Fraction(mana, summed ? mManaLimitBefore : manaTotal);
    mBalanceChanged = false;
    mLifeModifierChanged = false;
    mManaModifierChanged = false;

    mLifeTotal = lifeTotal;
    mManaTotal = manaTotal;
    mIntelligence = GetAttribute(CharAttributeType::Intelligence);
    mCharLevel = character.GetCharLevel();

    mVitalsSet = true;
    // Whatever these steps read before, the next update reads it as they leave it.
    if (!mTainted || mReloadValues) {
        mReloadValues = false;
        mLife = lifeTotal;
        mLifeLost = 0.0f;
        mSlowLife = 0.0f;
        mMana = manaTotal;
        mManaDrain = 0.0f;
        mSlowMana = 0.0f;
        mSettle = Settle::Top;
        return;
    }
    // Nothing regenerates for the dead.
    if (ms <= 0 || mLife <= 0.0f) {
        mSettle = Settle::Top;
        return;
    }
    // What the next update over the same time starts from, to see whether this one moved it.
    const float lifeLost = mLifeLost;
    const float slowLife = mSlowLife;
    const float slowMana = mSlowMana;
    const float manaDrain = mManaDrain;
    const float manaRegenBefore = mManaRegen;
    const float manaRegenModBefore = mManaRegenMod;

    float accelerated = 0.0f;
    if (mAcceleratedLifeRegen && mLifeLost == 0.0f)
        accelerated = mAcceleratedLifeRegenPercent * 0.01f * lifeTotal * seconds;
    mLifeLost = 0.0f;

    float regen = GetLifeRegenValue(GetAttribute(CharAttributeType::LifeRegen),
                                    GetModifier(CharAttributeType::LifeRegen), seconds);
    // Regeneration never kills.
    if (regen < 0.0f && !(-regen < mLife && mLife > 1.0f))
        regen = 0.0f;
    const float feed = FlowStep(mSlowLife, lifeTotal, mHealthFeedRate, ms);
    mSlowLife = std::max(mSlowLife - feed, 0.0f);
    const float newLife = std::min(regen + accelerated + mLife + feed, lifeTotal);
    const float gained = newLife - mLife;
    // A gain of +0 leaves the stat's sum as it is once the first one made its entry.
    character.GetPlayStats().GainLife(gained, PlayStatsLifeType::Regeneration);
    const bool lifeStays = quietTop && Same(gained, 0.0f) && Same(newLife, mLife) &&
                           Same(lifeLost, 0.0f) && Same(mSlowLife, slowLife);
    mLife = newLife;

    const float usable = std::max(manaTotal - GetManaReserve(), 0.0f);
    mManaTotal = usable;
    const float manaRegen = GetManaRegenValue(GetAttribute(CharAttributeType::ManaRegen),
                                              GetModifier(CharAttributeType::ManaRegen), seconds);
    const float manaFeed = FlowStep(mSlowMana, usable, mManaFeedRate, ms);
    mSlowMana = std::max(mSlowMana - manaFeed, 0.0f);
    const float drain = FlowStep(mManaDrain, usable, mManaDrainRate, ms);
    mManaDrain = std::max(mManaDrain - drain, 0.0f);
    const float newMana = std::clamp(manaFeed + manaRegen + mMana - drain, 0.0f, usable);
    // A formula worked out every time may log: only kept ones may be skipped.
    const bool formulasKept = (!mLifeRegenFormula || mLifeRegenKept.keepable) &&
                              (!mManaRegenFormula || mManaRegenKept.keepable);
    if (lifeStays && formulasKept && Same(newMana, mMana) && Same(mSlowMana, slowMana) &&
        Same(mManaDrain, manaDrain) && Same(mManaRegen, manaRegenBefore) &&
        Same(mManaRegenMod, manaRegenModBefore))
        mSettle = Settle::Regen;
    mMana = newMana;
}

float CharacterBio::GetLifePotential() const {
    return std::clamp(mLife + mSlowLife, 0.0f, std::max(GetLifeLimit(), 0.0f));
}

float CharacterBio::GetManaPotential() const {
    return std::clamp(mMana + mSlowMana, 0.0f, std::max(GetManaLimit(), 0.0f));
}

float CharacterBio::GetManaReserve() const {
    return GetAttribute(CharAttributeType::ManaLimitReserve) *
           (1.0f - GetAttribute(CharAttributeType::ManaLimitReserveReduction) * 0.01f);
}

void CharacterBio::SubtractLife(float amount) {
    mSettle = Settle::None;
    if (amount >= 0.0f) {
        mLife -= amount;
        mLifeLost += amount;
    }
    mTainted = true;
}

void CharacterBio::SubtractMana(float amount) {
    mSettle = Settle::None;
    mManaDrain += amount;
    mTainted = true;
}

void CharacterBio::AddLifeFast(float amount) {
    mSettle = Settle::None;
    mLife = std::min(mLife + amount, GetLifeLimit());
}

void CharacterBio::AddManaFast(float amount) {
    mSettle = Settle::None;
    mMana = std::min(mMana + amount, GetManaLimit());
}

void CharacterBio::AddLifeSlow(float amount) {
    mSettle = Settle::None;
    mSlowLife = std::min(mSlowLife + amount, GetLifeLimit() * mHealthOverStorageLimit);
}

void CharacterBio::AddManaSlow(float amount) {
    mSettle = Settle::None;
    const float usable = std::max(GetManaLimit() - GetManaReserve(), 0.0f);
    mSlowMana = std::min(mSlowMana + amount, usable * mManaOverStorageLimit);
}

void CharacterBio::IncrementBaseAttribute(CharAttributeType type, float delta) {
    SetBaseValue(type, GetBaseStore().GetBaseValue(type) + delta);
    // Before the first update life and mana have no value yet: tainted then, they would stay
    // at 0. Untainted, the first update gives them their totals, the spend included.
    if (mVitalsSet)
        mTainted = true;
}

void CharacterBio::SetBaseVital(CharAttributeType type, float value) {
    const auto& attributes = GetBaseStore().GetAttributes();
    const bool present = std::any_of(attributes.begin(), attributes.end(),
                                     [type](const auto& a) { return a->GetType() == type; });
    if (!present && type == CharAttributeType::Life)
        OwnBaseStore().AddToStore(std::make_unique<CharAttributeVal_Life>());
    else if (!present && type == CharAttributeType::Mana)
        OwnBaseStore().AddToStore(std::make_unique<CharAttributeVal_Mana>());
    SetBaseValue(type, value);
    mTainted = true;
}

void CharacterBio::TakeBonus(const Bonus& bonus, bool slow) {
    AddLifeFast(bonus.lifePercent * 0.01f * GetLifeLimit());
    AddManaFast(bonus.manaPercent * 0.01f * GetManaLimit());
    AddManaFast(bonus.manaPoints);
    if (slow)
        AddLifeSlow(bonus.lifePoints);
    else
        AddLifeFast(bonus.lifePoints);
}

float CharacterBio::GetBonusLifeAmount(const Bonus& bonus) const {
    const float room = mLifeTotal - mLife;
    float points = bonus.lifePoints;
    if (mLife + points > mLifeTotal)
        points = room;
    const float percent = GetLifeLimit() * bonus.lifePercent * 0.01f;
    return std::min(points + percent, room);
}

float CharacterBio::GetLifeRegenValue(float lifeRegen, float lifeRegenMod, float elapsedSeconds) {
    mSettle = Settle::None;
    mLifeRegen = lifeRegen;
    mLifeRegenMod = lifeRegenMod;
    mElapsedTime = elapsedSeconds;
    return RunRegen(mLifeRegenFormula.get(), mLifeRegenKept);
}

float CharacterBio::GetManaRegenValue(float manaRegen, float manaRegenMod, float elapsedSeconds) {
    mSettle = Settle::None;
    mManaRegen = manaRegen;
    mManaRegenMod = manaRegenMod;
    mElapsedTime = elapsedSeconds;
    return RunRegen(mManaRegenFormula.get(), mManaRegenKept);
}

void CharacterBio::GetCurrentBioStats(CharacterBioReplicaInfo& info) const {
    info.currentLife = Truncated(mLife);
    info.currentMana = Truncated(mMana);
    info.tainted = mTainted;
    info.baseLife = Truncated(GetBaseStore().GetBaseValue(CharAttributeType::Life));
    info.baseMana = Truncated(GetBaseStore().GetBaseValue(CharAttributeType::Mana));
    info.baseStrength = Truncated(GetBaseStore().GetBaseValue(CharAttributeType::Strength));
    info.baseDexterity = Truncated(GetBaseStore().GetBaseValue(CharAttributeType::Dexterity));
    info.baseIntelligence = Truncated(GetBaseStore().GetBaseValue(CharAttributeType::Intelligence));
}

void CharacterBio::RestoreCurrentBioStats(const CharacterBioReplicaInfo& info, bool restoreBase) {
    mSettle = Settle::None;
    mLife = static_cast<float>(info.currentLife);
    mMana = static_cast<float>(info.currentMana);
    mTainted = info.tainted;
    mVitalsSet = true;
    if (!restoreBase)
        return;
    SetBaseValue(CharAttributeType::Life, static_cast<float>(info.baseLife));
    SetBaseValue(CharAttributeType::Mana, static_cast<float>(info.baseMana));
    SetBaseValue(CharAttributeType::Strength, static_cast<float>(info.baseStrength));
    SetBaseValue(CharAttributeType::Dexterity, static_cast<float>(info.baseDexterity));
    SetBaseValue(CharAttributeType::Intelligence, static_cast<float>(info.baseIntelligence));
}

void CharacterBio::StreamProperties(IOStream& stream) {
    stream.BeginBlock("characterBio");
    // All five share one key: their order alone tells them apart.
    for (CharAttributeType type : kSavedTypes) {
        float value = stream.IsReading() ? 0.0f : GetBaseStore().GetBaseValue(type);
        stream.StreamFloat("temp", value);
        if (stream.IsReading() && value != 0.0f)
            SetBaseValue(type, value);
    }
    stream.EndBlock();
}

}  // namespace GAME
