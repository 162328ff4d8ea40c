#include "Game/core/Team.h"

#include "Engine/sys/GameInfo.h"
#include "Engine/sys/Machine.h"

namespace GAME {

void Team::Set(std::uint32_t major, std::uint32_t minor) {
    mMajor = major;
    mMinor = minor;
    mSet = 1;
}

bool Team::IsFoe(const Team& other) const {
    if (mMajor == Hostile || other.mMajor == Hostile)
        return true;
    if (mMajor == Friendly || other.mMajor == Friendly)
        return false;
    if (mMajor != other.mMajor)
        return true;
    if (mMajor == Human) {
        return Singleton<GameInfo>::Get().GetPvP() && mMinor != 0 && other.mMinor != 0 &&
               mMinor != other.mMinor;
    }
    if (mMajor == Monster) {
        if (mMinor == MonsterHostile || other.mMinor == MonsterHostile)
            return true;
        if (mMinor == MonsterNone)
            return false;
        return other.mMinor != 0 && other.mMinor != mMinor;
    }
    return true;
}

bool Team::IsFriend(const Team& other) const {
    if (mMajor == Human && other.mMajor == Human)
        return mMinor == other.mMinor && mMinor != 0;
    return !IsFoe(other);
}

void Team::ConvertFromHistoricalTeam(const std::string& major, const std::string& minor) {
    if (major.empty() && minor.empty())
        return;

    static const struct {
        const char* text;
        std::uint32_t value;
    } kMajors[] = {{"TeamMajor_Hostile", Hostile},
                   {"TeamMajor_Friendly", Friendly},
                   {"TeamMajor_Human", Human},
                   {"TeamMajor_Monster", Monster}};
    for (const auto& entry : kMajors) {
        if (major == entry.text) {
            mMajor = entry.value;
            mSet = 1;
            break;
        }
    }

    static const struct {
        const char* text;
        std::uint32_t value;
    } kMinors[] = {{"TeamMinorMonster_Friendly", MonsterNone}, {"TeamMinorMonster_Red", Red},
                   {"TeamMinorMonster_Orange", Orange},        {"TeamMinorMonster_Yellow", Yellow},
                   {"TeamMinorMonster_Green", Green},          {"TeamMinorMonster_Blue", Blue},
                   {"TeamMinorMonster_Indigo", Indigo},        {"TeamMinorMonster_Violet", Violet}};
    for (const auto& entry : kMinors) {
        if (minor == entry.text) {
            mMinor = entry.value;
            mSet = 1;
            return;
        }
    }
    if (minor == "TeamMinorMonster_Hostile")
        mSet = 0;
}

Team TeamManager::BuildTeam(std::uint32_t major, std::uint32_t minor) {
    Team team;
    team.Set(major, minor);
    return team;
}

}  // namespace GAME
