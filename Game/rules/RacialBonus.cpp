#include "Game/rules/RacialBonus.h"

#include <memory>

#include "Engine/object/ObjectManager.h"
#include "Engine/records/LoadTable.h"
#include "Engine/sys/Machine.h"
#include "Engine/text/LocalizationManager.h"
#include "Game/rules/CharAttribute.h"
#include "Game/rules/RacialBonusRaces.h"

namespace GAME {

void RacialBonus::Load(const LoadTable& record) {
    record.GetStringArray("racialBonusRace", mRaces);
    record.GetFloatArray("racialBonusPercentDamage", mPercentDamage);
    record.GetFloatArray("racialBonusAbsoluteDamage", mAbsoluteDamage);
    record.GetFloatArray("racialBonusPercentDefense", mPercentDefense);
    record.GetFloatArray("racialBonusAbsoluteDefense", mAbsoluteDefense);
}

std::unique_ptr<RacialBonus> RacialBonus::Create(const LoadTable& record) {
    auto bonus = std::make_unique<RacialBonus>();
    bonus->Load(record);
    if (bonus->IsEmpty())
        return nullptr;
    return bonus;
}

std::unique_ptr<RacialBonus> RacialBonus::CreateFromFile(const std::string& recordName) {
    if (recordName.empty())
        return nullptr;
    auto& objects = Singleton<ObjectManager>::Get();
    if (!objects.LoadTableFile(recordName))
        return nullptr;
    return Create(objects.GetLoadTable(recordName));
}

bool RacialBonus::IsEmpty() const {
    return mRaces.empty() && mPercentDamage.empty() && mAbsoluteDamage.empty() &&
           mPercentDefense.empty() && mAbsoluteDefense.empty();
}

float RacialBonus::GetPercentDamage(unsigned level) const {
    return AttributeLevelValue(mPercentDamage, level);
}

float RacialBonus::GetAbsoluteDamage(unsigned level) const {
    return AttributeLevelValue(mAbsoluteDamage, level);
}

float RacialBonus::GetPercentDefense(unsigned level) const {
    return AttributeLevelValue(mPercentDefense, level);
}

float RacialBonus::GetAbsoluteDefense(unsigned level) const {
    return AttributeLevelValue(mAbsoluteDefense, level);
}

bool RacialBonus::Matches(const std::vector<std::string>& races) const {
    for (const auto& race : races)
        for (const auto& own : mRaces)
            if (race == own)
                return true;
    return false;
}

void RacialBonus::ContributeDamage(const std::vector<std::string>& races, RacialBonus_Damage& bonus,
                                   unsigned level) const {
    if (!Matches(races))
        return;
    bonus.percent += GetPercentDamage(level);
    bonus.absolute += GetAbsoluteDamage(level);
}

void RacialBonus::ContributeDefense(const std::vector<std::string>& races,
                                    RacialBonus_Defense& bonus, unsigned level) const {
    if (!Matches(races))
        return;
    bonus.percent += GetPercentDefense(level);
    bonus.absolute += GetAbsoluteDefense(level);
}

void RacialBonus::AppendLines(const char* tag, float value, GameTextClass textClass,
                              std::vector<GameTextLine>& lines) const {
    const auto& texts = LocalizationManager::Instance();
    for (const auto& race : mRaces) {
        const std::wstring raceText = texts.GetText(MonsterRaceTagPlural(race));
        lines.emplace_back(textClass, texts.Format(tag, static_cast<double>(value), raceText));
    }
}

namespace {
struct RacialValue {
    const char* tag;
    float (RacialBonus::*get)(unsigned) const;
};
constexpr RacialValue kRacialValues[] = {
    {"RacialBonusPercentDamage", &RacialBonus::GetPercentDamage},
    {"RacialBonusAbsoluteDamage", &RacialBonus::GetAbsoluteDamage},
    {"RacialBonusPercentDefense", &RacialBonus::GetPercentDefense},
    {"RacialBonusAbsoluteDefense", &RacialBonus::GetAbsoluteDefense},
};
}  // namespace

void RacialBonus::GetUIDisplayText(unsigned level, GameTextClass textClass,
                                   std::vector<GameTextLine>& lines) const {
    for (const auto& entry : kRacialValues) {
        const float value = (this->*entry.get)(level);
        if (value != 0.0f)
            AppendLines(entry.tag, value, textClass, lines);
    }
}

void RacialBonus::GetUINextParameterText(unsigned level, unsigned nextLevel,
                                         GameTextClass textClass,
                                         std::vector<GameTextLine>& lines) const {
    for (const auto& entry : kRacialValues) {
        const float next = (this->*entry.get)(nextLevel);
        if (next != (this->*entry.get)(level))
            AppendLines(entry.tag, next, textClass, lines);
    }
}

}  // namespace GAME
