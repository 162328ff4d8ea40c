#include "Game/characters/stats/PlayStats.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/records/LoadTable.h"
#include "Engine/streams/IOStream.h"
#include "Game/core/GameEngine.h"
#include "Game/core/GameEvents.h"
#include "Game/rules/formulas/DesignerEquation_Algebra.h"

namespace GAME {

namespace {

constexpr const char* kScoreRecord = "Records/Game/PlayerScore.dbr";

bool IsOfClass(const Object& object, std::string_view className) {
    for (const RTTI_ClassInfo* info = &object.GetClassInfo(); info; info = info->GetParent())
        if (className == info->GetClassName())
            return true;
    return false;
}
constexpr std::size_t kMaxReportLine = 1023;

void AppendFormatted(std::vector<std::string>& lines, const char* format, va_list args) {
    char buffer[kMaxReportLine + 1];
    std::vsnprintf(buffer, sizeof buffer, format, args);
    lines.emplace_back(buffer);
}

}  // namespace

PlayStats::PlayStats() : mPreRunListener(GameEventName("PreRun"), "PlayStats") {
    mPreRunListener.SetOwner(this, &PlayStats::OnPreRun);
}

PlayStats::~PlayStats() = default;

bool PlayStats::GetDesignerVariable(const char* name, float& value) {
    struct Variable {
        const char* name;
        std::uint32_t PlayStats::*field;
    };
    static constexpr Variable kCounts[] = {
        {"numberOfDeaths", &PlayStats::mDeaths},
        {"experienceFromKills", &PlayStats::mExperienceFromKills},
        {"numberOfKills", &PlayStats::mKills},
        {"healthPotionsUsed", &PlayStats::mHealthPotions},
        {"manaPotionsUsed", &PlayStats::mManaPotions},
        {"maxLevel", &PlayStats::mMaxLevel},
    };
    if (std::strcmp(name, "playTimeInMinutes") == 0) {
        value = static_cast<float>(GetPlayTimeInMinutes());
        return true;
    }
    if (std::strcmp(name, "greatestDamageInflicted") == 0) {
        value = mGreatestDamageInflicted;
        return true;
    }
    for (const Variable& variable : kCounts) {
        if (std::strcmp(name, variable.name) == 0) {
            value = static_cast<float>(this->*variable.field);
            return true;
        }
    }
    value = 0.0f;
    return false;
}

void PlayStats::IncrementKills(std::uint32_t experience, std::uint32_t hits) {
    mExperienceFromKills += experience;
    ++mKills;
    mHitsInflicted += hits;
}

void PlayStats::SetShieldBlockChance(float chance) {
    mShieldBlockShown = true;
    mShieldBlockChance = chance;
}

void PlayStats::IncrementPotion(const Object* oneShot) {
    if (!oneShot)
        return;
    if (IsOfClass(*oneShot, "OneShot_PotionHealth"))
        IncrementHealthPotions();
    else if (IsOfClass(*oneShot, "OneShot_PotionMana"))
        IncrementManaPotions();
}

void PlayStats::TallyDamageInflicted(float amount, const PlayStatsDamageType& type) {
    mDamageInflicted[type] += amount;
    // Pruned here too, so a long fight without reports does not grow the list without bound.
    PruneRecentDamage();
    mRecentDamage.push_back({mPlayTimeSeconds, type, amount});
    if (type.source == PlayStatsDamageType::Attack && amount > mGreatestDamageInflicted)
        mGreatestDamageInflicted = amount;
}

void PlayStats::TallyDamageReceived(float amount, const PlayStatsDamageType& type) {
    mDamageReceived[type] += amount;
}

void PlayStats::TallyDamageReduction(float amount, PlayStatsDamageReductionType type) {
    mDamageReduction[type] += amount;
}

void PlayStats::GainLife(float amount, PlayStatsLifeType type) {
    mLifeHealed[type] += amount;
}

std::size_t PlayStats::DifficultyIndex() const {
    const int difficulty = gGameEngine ? gGameEngine->GetGameDifficulty() : 0;
    if (difficulty < 0 || difficulty >= kDifficultyCount)
        return 0;
    return static_cast<std::size_t>(difficulty);
}

const std::wstring& PlayStats::GetGreatestMonsterKilledName() const {
    return mGreatestMonsterName[DifficultyIndex()];
}
void PlayStats::SetGreatestMonsterKilledName(const std::wstring& name) {
    mGreatestMonsterName[DifficultyIndex()] = name;
}
std::uint32_t PlayStats::GetGreatestMonsterKilledLevel() const {
    return mGreatestMonsterLevel[DifficultyIndex()];
}
void PlayStats::SetGreatestMonsterKilledLevel(std::uint32_t level) {
    mGreatestMonsterLevel[DifficultyIndex()] = level;
}
std::uint32_t PlayStats::GetGreatestMonsterKilledLifeAndMana() const {
    return mGreatestMonsterLifeAndMana[DifficultyIndex()];
}
void PlayStats::SetGreatestMonsterKilledLifeAndMana(std::uint32_t value) {
    mGreatestMonsterLifeAndMana[DifficultyIndex()] = value;
}

void PlayStats::Update(int ms) {
    mMsAccumulator += ms;
    const int seconds = WholeSeconds(mMsAccumulator + mMsRemainder);
#ifndef NDEBUG
    if (seconds !=
        static_cast<int>(std::floor(static_cast<double>(mMsAccumulator + mMsRemainder) * 0.001)))
        std::abort();  // the integer seconds parted from the double formula
#endif
    if (seconds != 0) {
        mPlayTimeSeconds += static_cast<std::uint32_t>(seconds);
        mMsRemainder = mMsAccumulator + mMsRemainder - seconds * 1000;
        mMsAccumulator = 0;
    }
    mStringsStale = true;
}

int PlayStats::GetScore() const {
    if (!mScoreFormula)
        return 0;
    return static_cast<int>((*mScoreFormula)());
}

void PlayStats::Load(const LoadTable& record) {
    const std::string text = record.GetString("scoreEquation");
    if (text.empty())
        return;
    auto formula = std::make_unique<DesignerEquation_Algebra>();
    const std::string source = record.GetRecordName() + " scoreEquation";
    if (formula->ParseEquation(text.c_str(), this, source.c_str()))
        mScoreFormula = std::move(formula);
    else
        mScoreFormula.reset();
}

void PlayStats::OnPreRun(const GameEvent_PreRun&) {
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    if (!objects.LoadTableFile(kScoreRecord))
        return;
    Load(objects.GetLoadTable(kScoreRecord));
}

void PlayStats::AddRealTimeString(const char* format, ...) {
    va_list args;
    va_start(args, format);
    AppendFormatted(mRealTimeStrings, format, args);
    va_end(args);
}

void PlayStats::AddLogString(const char* format, ...) {
    va_list args;
    va_start(args, format);
    AppendFormatted(mLogStrings, format, args);
    va_end(args);
}

void PlayStats::PruneRecentDamage() {
    while (!mRecentDamage.empty() &&
           mPlayTimeSeconds - mRecentDamage.front().time > kRecentDamageWindow)
        mRecentDamage.pop_front();
}

float PlayStats::GetLifeHealed(PlayStatsLifeType type) const {
    const float* amount = mLifeHealed.Find(type);
    return amount ? *amount : 0.0f;
}

float PlayStats::GetDamageReceived(const PlayStatsDamageType& type) const {
    const float* amount = mDamageReceived.Find(type);
    return amount ? *amount : 0.0f;
}

float PlayStats::GetDamageReduction(PlayStatsDamageReductionType type) const {
    const float* amount = mDamageReduction.Find(type);
    return amount ? *amount : 0.0f;
}

std::map<std::string, int> PlayStats::GetSkillsUsed() const {
    std::map<std::string, int> used;
    for (const auto& [name, count] : mSkillsUsed)
        used.emplace(name.str(), count);
    return used;
}

void PlayStats::UpdateStrings() {
    if (!mStringsStale)
        return;
    mRealTimeStrings.clear();
    mLogStrings.clear();
    PruneRecentDamage();

    const unsigned seconds = mPlayTimeSeconds;
    AddRealTimeString("Play Statistics:");
    AddRealTimeString("    Play Time:           %d min %d sec", seconds / 60, seconds % 60);
    AddRealTimeString("    Total Score:         %d", GetScore());
    AddRealTimeString("    Number of deaths:    %d", mDeaths);
    AddRealTimeString("    Number of kills:     %d", mKills);
    AddRealTimeString("    Health potions used: %d", mHealthPotions);
    AddRealTimeString("    Mana potions used:   %d", mManaPotions);
    AddRealTimeString("    Max. level achieved: %d", mMaxLevel);
    AddRealTimeString("%s", "");
    float recent = 0.0f;
    mRecentDamage.ForEach([&recent](const RecentDamage& record) { recent += record.amount; });
    AddRealTimeString("    Damage per second: %0.2f", static_cast<double>(recent * 0.2f));
    AddRealTimeString("%s", "");
    AddRealTimeString("    Skills Used:");
    for (const auto& [name, count] : mSkillsUsed)
        AddRealTimeString("        %s : %d", name.c_str(), count);
    float healed = 0.0f;
    for (const auto& entry : mLifeHealed)
        healed += entry.second;
    AddRealTimeString("    Life healed: %.2f", static_cast<double>(healed));
    if (mShieldBlockShown)
        AddRealTimeString("    Shield block chance    : %.2f",
                          static_cast<double>(mShieldBlockChance));

    const float t = static_cast<float>(mPlayTimeSeconds);
    AddLogString("    Kills per second (whole game): %.2f",
                 static_cast<double>(static_cast<float>(mKills) / t));
    AddLogString("    Average hits per kill: %.2f",
                 mKills == 0 ? 0.0
                             : static_cast<double>(static_cast<float>(mHitsInflicted) /
                                                   static_cast<float>(mKills)));
    AddLogString("    Damage per second (whole game, by type)");
    for (const auto& [type, amount] : mDamageInflicted)
        AddLogString("         %s %.2f", GetPlayStatsDamageTypeName(type).c_str(),
                     static_cast<double>(amount / t));
    AddLogString("%s", "");
    AddLogString("  Damage Totals");
    AddLogString("%s", "");
    AddLogString("    Damage Inflicted (by type)");
    float total = 0.0f;
    for (const auto& [type, amount] : mDamageInflicted) {
        AddLogString("         %s %.2f", GetPlayStatsDamageTypeName(type).c_str(),
                     static_cast<double>(amount));
        total += amount;
    }
    AddLogString("    Damage Inflicted (total)   %.2f", static_cast<double>(total));
    AddLogString("%s", "");
    AddLogString("    Damage Received (by type)");
    total = 0.0f;
    for (const auto& [type, amount] : mDamageReceived) {
        AddLogString("         %s %.2f", GetPlayStatsDamageTypeName(type).c_str(),
                     static_cast<double>(amount));
        total += amount;
    }
    AddLogString("    Damage Received (total)   %.2f", static_cast<double>(total));
    AddLogString("    Damage Reduction (by type)");
    total = 0.0f;
    for (const auto& [type, amount] : mDamageReduction) {
        AddLogString("         %s %.2f", GetPlayStatsDamageReductionTypeName(type),
                     static_cast<double>(amount));
        total += amount;
    }
    AddLogString("    Damage Reduction (total)   %.2f", static_cast<double>(total));
    AddLogString("%s", "");
    AddLogString("  Experience");
    AddLogString("         Total Gained %d", mExperienceGained);
    AddLogString("         Total Lost   %d", mExperienceLost);
    AddLogString("         Gained per second %.2f",
                 static_cast<double>(static_cast<float>(mExperienceGained) / t));
    AddLogString("         Lost per second   %.2f",
                 static_cast<double>(static_cast<float>(mExperienceLost) / t));
    AddLogString("%s", "");
    AddLogString("  Life healed (by type)");
    for (const auto& [type, amount] : mLifeHealed)
        AddLogString("         %s %.2f", GetPlayStatsLifeTypeName(type),
                     static_cast<double>(amount));
    AddLogString("%s", "");
    AddLogString("  Mana used (total):      %.2f", static_cast<double>(mManaUsed));
    AddLogString("  Mana used (per second): %.2f", static_cast<double>(mManaUsed / t));
    AddLogString("%s", "");
    AddLogString("  Critical hits inflicted: %d", mCriticalHitsInflicted);
    AddLogString("  Critical hits received:  %d", mCriticalHitsReceived);
    AddLogString("   Monster misses: %d", mMissesAgainstMe);
    AddLogString("   Player misses:  %d", mMyMisses);
    mStringsStale = false;
}

const std::vector<std::string>& PlayStats::GetRealTimeStrings() {
    UpdateStrings();
    return mRealTimeStrings;
}

const std::vector<std::string>& PlayStats::GetLogStrings() {
    UpdateStrings();
    return mLogStrings;
}

void PlayStats::Dump() {
    UpdateStrings();
    for (const std::string& line : mRealTimeStrings)
        gEngine->Log(0, "%s", line.c_str());
    for (const std::string& line : mLogStrings)
        gEngine->Log(0, "%s", line.c_str());
}

void PlayStats::StreamProperties(IOStream& stream) {
    // The stream keeps signed and unsigned words alike; counts travel as its ints.
    auto streamCount = [&stream](const char* key, std::uint32_t& value) {
        auto signedValue = static_cast<std::int32_t>(value);
        stream.StreamInt(key, signedValue);
        value = static_cast<std::uint32_t>(signedValue);
    };
    stream.BeginBlock("playStats");
    streamCount("playTimeInSeconds", mPlayTimeSeconds);
    streamCount("numberOfDeaths", mDeaths);
    streamCount("numberOfKills", mKills);
    streamCount("experienceFromKills", mExperienceFromKills);
    streamCount("healthPotionsUsed", mHealthPotions);
    streamCount("manaPotionsUsed", mManaPotions);
    streamCount("maxLevel", mMaxLevel);
    streamCount("numHitsReceived", mHitsReceived);
    streamCount("numHitsInflicted", mHitsInflicted);
    stream.StreamFloat("greatestDamageInflicted", mGreatestDamageInflicted);
    for (std::size_t i = 0; i < kDifficultyCount; ++i) {
        stream.StreamWString("(*greatestMonsterKilledName)[i]", mGreatestMonsterName[i]);
        streamCount("(*greatestMonsterKilledLevel)[i]", mGreatestMonsterLevel[i]);
        streamCount("(*greatestMonsterKilledLifeAndMana)[i]", mGreatestMonsterLifeAndMana[i]);
    }
    streamCount("criticalHitsInflicted", mCriticalHitsInflicted);
    streamCount("criticalHitsReceived", mCriticalHitsReceived);
    stream.EndBlock();
}

}  // namespace GAME
