#include "Game/rules/CharAttribute.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

#include "Engine/records/LoadTable.h"
#include "Engine/sys/RandomUniform.h"
#include "Engine/text/LocalizationManager.h"
#include "Game/rules/CharAttributeAccumulator.h"
#include "Game/rules/CostInfo.h"

namespace GAME {

namespace {
constexpr float kIntLimit = 2147483648.0f;  // 2^31

// percent x value first, in single precision, so that whole-number shares stay whole (20 % of
// 100 is 20, not 19.999... truncated to 19); every machine computes it this same way. Truncated
// as a float, so an absurd record value cannot overflow an integer conversion.
float PercentShare(float value, float percent) {
    const float product = percent * value;
    const float share = product * kPercent;
    return std::isfinite(share) ? std::trunc(share) : 0.0f;
}

// The draw spread; kept inside +-INT_MAX so that negating it stays defined.
int Spread(float share) {
    if (share >= kIntLimit)
        return std::numeric_limits<int>::max();
    if (share <= -kIntLimit)
        return -std::numeric_limits<int>::max();
    return static_cast<int>(share);
}
}  // namespace

float AttributeJitter(float value, float percent, RandomUniform& random) {
    if (value == 0.0f)
        return value;
    int spread = Spread(PercentShare(value, percent));
    if (spread == 0)
        spread = 1;
    const int step = random.IGenerate(-spread, spread);
    const float candidate = value + static_cast<float>(step);
    if (std::fabs(candidate) < 1.0f)
        return value;
    return candidate;
}

float AttributeScale(float value, float percent) {
    return value + PercentShare(value, percent);
}

float AttributeLevelValue(const std::vector<float>& values, unsigned level) {
    if (level == 0 || values.empty())
        return 0.0f;
    const std::size_t index = std::min<std::size_t>(level - 1, values.size() - 1);
    return values[index];
}

void AttributeJitterLevels(std::vector<float>& values, float percent, RandomUniform* random) {
    if (percent <= 0.0f || random == nullptr)
        return;
    percent = std::min(percent, 50.0f);
    for (float& value : values)
        value = AttributeJitter(value, percent, *random);
}

void AttributeScaleLevels(std::vector<float>& values, float& prefix, float& suffix, float percent) {
    if (percent == 0.0f)
        return;
    for (float& value : values)
        value = AttributeScale(value, percent);
    prefix = AttributeScale(prefix, percent);
    suffix = AttributeScale(suffix, percent);
}

CharAttribute::CharAttribute(CharAttributeType type, const char* recordKey, const char* textTag)
    : mType(type), mRecordKey(recordKey), mTextTag(textTag) {}

void CharAttribute::LoadBaseTable(const LoadTable& record) {
    record.GetFloatArray(mRecordKey, mValues);
    if (mValues.size() == 1 && mValues[0] == 0.0f)
        mValues.clear();
}

// A jitter of 0 still draws: the spread of 0 becomes 1, and later draws of the item depend on it.
void CharAttribute::LoadPrefixTable(const LoadTable& record, RandomUniform* random) {
    mPrefixValue = record.GetFloat(mRecordKey, 0.0f);
    const float jitter = record.GetFloat("lootRandomizerJitter", 0.0f);
    if (random != nullptr)
        mPrefixValue = Jitter(mPrefixValue, jitter, *random);
}

void CharAttribute::LoadSuffixTable(const LoadTable& record, RandomUniform* random) {
    mSuffixValue = record.GetFloat(mRecordKey, 0.0f);
    const float jitter = record.GetFloat("lootRandomizerJitter", 0.0f);
    if (random != nullptr)
        mSuffixValue = Jitter(mSuffixValue, jitter, *random);
}

void CharAttribute::CreateText(unsigned level, TextList& /*first*/, TextList& second) const {
    const float value = GetValue(level);
    if (value == 0.0f)
        return;
    second.push_back(LocalizationManager::Instance().Format(mTextTag, static_cast<double>(value)));
}

void CharAttribute::CreateNextText(unsigned level, unsigned nextLevel, TextList& /*first*/,
                                   TextList& second) const {
    const float next = GetValue(nextLevel);
    if (next == GetValue(level))
        return;
    second.push_back(LocalizationManager::Instance().Format(mTextTag, static_cast<double>(next)));
}

void CharAttribute::SetBaseValue(float value) {
    mValues.assign(1, value);
    mPrefixValue = 0.0f;
    mSuffixValue = 0.0f;
}

bool CharAttribute::HoldsOnly(float value) const {
    return mValues.size() == 1 &&
           std::bit_cast<std::uint32_t>(mValues[0]) == std::bit_cast<std::uint32_t>(value) &&
           mPrefixValue == 0.0f && mSuffixValue == 0.0f;
}

void CharAttribute::AddJitter(float percent, RandomUniform* random) {
    AttributeJitterLevels(mValues, percent, random);
}

void CharAttribute::ScaleAttribute(float percent) {
    AttributeScaleLevels(mValues, mPrefixValue, mSuffixValue, percent);
}

float CharAttribute::GetValue(unsigned level) const {
    if (level == 0)
        return 0.0f;
    return AttributeLevelValue(mValues, level) + mPrefixValue + mSuffixValue;
}

bool CharAttribute::IsNotEmpty() const {
    return !mValues.empty() || mPrefixValue != 0.0f || mSuffixValue != 0.0f;
}

void CharAttribute::AddCost(CostInfo_CharacterAttributes& cost, CostPair pair) const {
    const float value = GetValue(1);
    if (value != 0.0f)
        AddToPair(cost, pair, value, 1);
}

void CharAttribute::AddToPair(CostInfo_CharacterAttributes& cost, CostPair pair, float value,
                              int count) {
    auto add = [&](float& sum, int& number) {
        sum += value;
        number += count;
    };
    switch (pair) {
        case CostPair::primaryAtt:
            add(cost.primaryAtt, cost.primaryAttCount);
            break;
        case CostPair::secondaryAtt:
            add(cost.secondaryAtt, cost.secondaryAttCount);
            break;
        case CostPair::bonus:
            add(cost.bonus, cost.bonusCount);
            break;
        case CostPair::primaryMod:
            add(cost.primaryMod, cost.primaryModCount);
            break;
        case CostPair::secondaryMod:
            add(cost.secondaryMod, cost.secondaryModCount);
            break;
        case CostPair::bonusMod:
            add(cost.bonusMod, cost.bonusModCount);
            break;
        case CostPair::attackSpeed:
            add(cost.attackSpeed, cost.attackSpeedCount);
            break;
        case CostPair::otherSpeed:
            add(cost.otherSpeed, cost.otherSpeedCount);
            break;
        case CostPair::attackSpeedMod:
            add(cost.attackSpeedMod, cost.attackSpeedModCount);
            break;
        case CostPair::otherSpeedMod:
            add(cost.otherSpeedMod, cost.otherSpeedModCount);
            break;
    }
}

void CharAttributeVal::AddToAccumulator(CharAttributeAccumulator& accumulator,
                                        unsigned level) const {
    accumulator.AddValue(mType, GetValue(level));
}

void CharAttributeMod::AddToAccumulator(CharAttributeAccumulator& accumulator,
                                        unsigned level) const {
    accumulator.AddModifier(mType, GetValue(level));
}

CharAttributeVal_BaseAttackSpeed::CharAttributeVal_BaseAttackSpeed()
    : CharAttributeVal(CharAttributeType::BaseAttackSpeed, "characterBaseAttackSpeed",
                       "CharacterBaseAttackSpeed") {}

void CharAttributeVal_BaseAttackSpeed::LoadBaseTable(const LoadTable& record) {
    CharAttributeVal::LoadBaseTable(record);
    mDisplayTag = record.GetString("characterBaseAttackSpeedTag", "CharacterAttackSpeedNotSet");
}

void CharAttributeVal_BaseAttackSpeed::CreateText(unsigned /*level*/, TextList& first,
                                                  TextList& /*second*/) const {
    first.push_back(LocalizationManager::Instance().GetText(mDisplayTag));
}

void CharAttributeMod_TotalSpeed::AddToAccumulator(CharAttributeAccumulator& accumulator,
                                                   unsigned level) const {
    const float value = GetValue(level);
    accumulator.AddModifier(CharAttributeType::RunSpeed, value);
    accumulator.AddModifier(CharAttributeType::AttackSpeed, value);
    accumulator.AddModifier(CharAttributeType::BaseAttackSpeed, value);
    accumulator.AddModifier(CharAttributeType::SpellCastSpeed, value);
}

void CharAttributeMod_TotalSpeed::GetCostInfo(CostInfo_CharacterAttributes& cost) const {
    const float value = GetValue(1);
    if (value == 0.0f)
        return;
    AddToPair(cost, CostPair::attackSpeedMod, 2.0f * value, 2);
    AddToPair(cost, CostPair::otherSpeedMod, value, 1);
}

void CharAttributeMod_AttackSpeed::AddToAccumulator(CharAttributeAccumulator& accumulator,
                                                    unsigned level) const {
    const float value = GetValue(level);
    accumulator.AddModifier(CharAttributeType::AttackSpeed, value);
    accumulator.AddModifier(CharAttributeType::BaseAttackSpeed, value);
}

}  // namespace GAME
