#include "Game/rules/SkillAttribute.h"

#include <cstring>
#include <utility>

#include "Engine/records/LoadTable.h"
#include "Engine/text/LocalizationManager.h"
#include "Game/rules/CharAttribute.h"
#include "Game/rules/CostInfo.h"

namespace GAME {

void SkillAttributeAccumulator::Clear() {
    mValues.fill(0.0f);
    mModifiers.fill(0.0f);
}

bool SkillAttributeAccumulator::SameSums(const SkillAttributeAccumulator& other) const {
    return std::memcmp(mValues.data(), other.mValues.data(), sizeof(mValues)) == 0 &&
           std::memcmp(mModifiers.data(), other.mModifiers.data(), sizeof(mModifiers)) == 0;
}

SkillAttribute::SkillAttribute(SkillAttributeType type, const char* valueField,
                               const char* chanceField, const char* displayTag)
    : mType(type), mChanceField(chanceField), mValueField(valueField), mDisplayTag(displayTag) {}

void SkillAttribute::LoadBaseTable(const LoadTable& record) {
    record.GetFloatArray(mValueField, mValues);
    record.GetFloatArray(mChanceField, mChances);
    if (mValues.size() == 1 && mValues[0] == 0.0f)
        mValues.clear();
}

// A jitter of 0 still draws (a spread of 1), as the prefix and suffix of the character's do.
void SkillAttribute::LoadExtra(const LoadTable& record, RandomUniform* random, float& value,
                               float& chance) {
    value = record.GetFloat(mValueField, 0.0f);
    if (random != nullptr)
        value = Jitter(value, record.GetFloat("lootRandomizerJitter", 0.0f), *random);
    chance = record.GetFloat(mChanceField, 0.0f);
}

void SkillAttribute::LoadPrefixTable(const LoadTable& record, RandomUniform* random) {
    LoadExtra(record, random, mPrefixValue, mPrefixChance);
}

void SkillAttribute::LoadSuffixTable(const LoadTable& record, RandomUniform* random) {
    LoadExtra(record, random, mSuffixValue, mSuffixChance);
}

std::wstring SkillAttribute::MakeLine(float chance, float value) const {
    const auto& texts = LocalizationManager::Instance();
    std::wstring line;
    if (chance > 0.0f)
        line = texts.Format("ChanceOfTag", static_cast<double>(chance));
    line += texts.Format(mDisplayTag, static_cast<double>(value));
    return line;
}

void SkillAttribute::CreateText(unsigned level, std::vector<std::wstring>& lines) const {
    const float value = GetValue(level);
    if (value > 0.0f)
        lines.push_back(MakeLine(GetChance(level), value));
    if (mPrefixValue > 0.0f)
        lines.push_back(MakeLine(mPrefixChance, mPrefixValue));
    if (mSuffixValue > 0.0f)
        lines.push_back(MakeLine(mSuffixChance, mSuffixValue));
}

void SkillAttribute::CreateNextText(unsigned level, unsigned nextLevel,
                                    std::vector<std::wstring>& lines) const {
    const float next = GetValue(nextLevel);
    const float nextChance = GetChance(nextLevel);
    if (next == GetValue(level) && nextChance == GetChance(level))
        return;
    lines.push_back(MakeLine(nextChance, next));
}

void SkillAttribute::AddJitter(float percent, RandomUniform* random) {
    AttributeJitterLevels(mValues, percent, random);
}

void SkillAttribute::ScaleAttribute(float percent) {
    AttributeScaleLevels(mValues, mPrefixValue, mSuffixValue, percent);
}

float SkillAttribute::GetChance(unsigned level) const {
    return AttributeLevelValue(mChances, level);
}

float SkillAttribute::GetValue(unsigned level) const {
    return AttributeLevelValue(mValues, level);
}

float SkillAttribute::Jitter(float value, float percent, RandomUniform& random) {
    return AttributeJitter(value, percent, random);
}

float SkillAttribute::Scale(float value, float percent) {
    return AttributeScale(value, percent);
}

float SkillAttribute::GetTotalValue(RandomUniform& random, unsigned level) const {
    float total = 0.0f;
    const float baseDraw = random.FGenerate(0.0f, 100.0f);
    const float chance = GetChance(level);
    if (chance == 0.0f || baseDraw <= chance)
        total = GetValue(level);
    const float prefixDraw = random.FGenerate(0.0f, 100.0f);
    if (mPrefixChance == 0.0f || prefixDraw <= mPrefixChance)
        total += mPrefixValue;
    const float suffixDraw = random.FGenerate(0.0f, 100.0f);
    if (mSuffixChance == 0.0f || suffixDraw <= mSuffixChance)
        total += mSuffixValue;
    return total;
}

bool SkillAttribute::IsNotEmpty() const {
    return !mValues.empty() || mPrefixValue != 0.0f || mSuffixValue != 0.0f;
}

void SkillAttributeVal::AddToAccumulator(SkillAttributeAccumulator& accumulator,
                                         unsigned level) const {
    accumulator.AddValue(GetType(), GetTotalValue(accumulator.GetRandomGen(), level));
}

void SkillAttributeVal::GetCostInfo(CostInfo_SkillAttributes& cost) const {
    cost.base += GetValue(1) - GetPrefixValue() - GetSuffixValue();
    for (const float part : {GetPrefixValue(), GetSuffixValue()}) {
        if (part > 0.0f) {
            cost.bonus += part;
            cost.bonusCount += 1;
        }
    }
}

void SkillAttributeMod::AddToAccumulator(SkillAttributeAccumulator& accumulator,
                                         unsigned level) const {
    accumulator.AddModifier(GetType(), GetTotalValue(accumulator.GetRandomGen(), level));
}

void SkillAttributeMod::GetCostInfo(CostInfo_SkillAttributes& cost) const {
    cost.modifier += GetValue(1);
    for (const float part : {GetPrefixValue(), GetSuffixValue()})
        if (part > 0.0f)
            cost.bonusCount += 1;
}

SkillAttributeStore::~SkillAttributeStore() = default;

void SkillAttributeStore::CreateText(std::vector<std::wstring>& lines, unsigned level) const {
    for (const auto& attribute : mAttributes)
        attribute->CreateText(level, lines);
}

void SkillAttributeStore::CreateNextText(std::vector<std::wstring>& lines, unsigned level,
                                         unsigned nextLevel) const {
    for (const auto& attribute : mAttributes)
        attribute->CreateNextText(level, nextLevel, lines);
}

void SkillAttributeStore::AddToStore(std::unique_ptr<SkillAttribute> attribute) {
    if (attribute != nullptr)
        mAttributes.push_back(std::move(attribute));
}

void SkillAttributeStore::AddToAccumulator(SkillAttributeAccumulator& accumulator,
                                           unsigned level) const {
    for (const auto& attribute : mAttributes)
        attribute->AddToAccumulator(accumulator, level);
}

void SkillAttributeStore::AddJitter(float percent) {
    if (percent <= 0.0f || mRandom == nullptr)
        return;
    for (const auto& attribute : mAttributes)
        attribute->AddJitter(percent, mRandom);
}

void SkillAttributeStore::ScaleAttributes(float percent) {
    for (const auto& attribute : mAttributes)
        attribute->ScaleAttribute(percent);
}

void SkillAttributeStore::GetCostInfo(CostInfo_SkillAttributes& cost) const {
    for (const auto& attribute : mAttributes)
        attribute->GetCostInfo(cost);
}

void SkillAttributeStore::Clear() {
    mAttributes.clear();
}

void SkillAttributeStore::LoadInto(SkillAttributeStore& store,
                                   std::unique_ptr<SkillAttribute> attribute,
                                   const LoadTable& record, const LoadTable* prefix,
                                   const LoadTable* suffix, bool keep) {
    attribute->LoadBaseTable(record);
    if (prefix != nullptr)
        attribute->LoadPrefixTable(*prefix, store.mRandom);
    if (suffix != nullptr)
        attribute->LoadSuffixTable(*suffix, store.mRandom);
    if (!keep && !attribute->IsNotEmpty())
        return;
    store.AddToStore(std::move(attribute));
}

void SkillAttributeStore::LoadAll(const LoadTable& record, const LoadTable* prefix,
                                  const LoadTable* suffix) {
    Clear();
#define GAME_LOAD(Class, ...) LoadAttribute<Class>(*this, record, prefix, suffix, false);
    GAME_SKILL_ATTRIBUTE_LEAVES(GAME_LOAD)
#undef GAME_LOAD
}

void SkillAttributeStore_Equipment::Load(const LoadTable& record, const LoadTable* prefix,
                                         const LoadTable* suffix, bool /*flag*/) {
    LoadAll(record, prefix, suffix);
}

void SkillAttributeStore_Skill::Load(const LoadTable& record) {
    LoadAll(record, nullptr, nullptr);
}

}  // namespace GAME
