#pragma once
// Extra damage against, or defense from, monsters of listed races, per level.
#include <memory>
#include <string>
#include <vector>

#include "Game/items/GameTextLine.h"

namespace GAME {

class LoadTable;

struct RacialBonus_Damage {
    float percent = 0.0f;
    float absolute = 0.0f;
};

struct RacialBonus_Defense {
    float percent = 0.0f;
    float absolute = 0.0f;
};

class RacialBonus {
public:
    RacialBonus() = default;
    virtual ~RacialBonus() = default;
    virtual void Load(const LoadTable& record);

    // Null (nothing kept) when the record grants nothing.
    static std::unique_ptr<RacialBonus> Create(const LoadTable& record);
    static std::unique_ptr<RacialBonus> CreateFromFile(const std::string& recordName);

    bool IsEmpty() const;
    float GetPercentDamage(unsigned level) const;
    float GetAbsoluteDamage(unsigned level) const;
    float GetPercentDefense(unsigned level) const;
    float GetAbsoluteDefense(unsigned level) const;
    const std::vector<std::string>& GetRaces() const { return mRaces; }

    // Adds once when any of the races matches exactly (letter case counts).
    void ContributeDamage(const std::vector<std::string>& races, RacialBonus_Damage& bonus,
                          unsigned level) const;
    void ContributeDefense(const std::vector<std::string>& races, RacialBonus_Defense& bonus,
                           unsigned level) const;

    void GetUIDisplayText(unsigned level, GameTextClass textClass,
                          std::vector<GameTextLine>& lines) const;
    void GetUINextParameterText(unsigned level, unsigned nextLevel, GameTextClass textClass,
                                std::vector<GameTextLine>& lines) const;

private:
    bool Matches(const std::vector<std::string>& races) const;
    void AppendLines(const char* tag, float value, GameTextClass textClass,
                     std::vector<GameTextLine>& lines) const;

    std::vector<std::string> mRaces;
    std::vector<float> mPercentDamage;
    std::vector<float> mAbsoluteDamage;
    std::vector<float> mPercentDefense;
    std::vector<float> mAbsoluteDefense;
};

}  // namespace GAME
