#pragma once
// A character's side: a major team (nobody, everybody's enemy, humans, monsters) and a minor team
// (a player's party faction, a monster's colour group), and the friend and foe rules between them.
#include <cstdint>
#include <string>

#include "Engine/sys/CriticalSection.h"

namespace GAME {

class NetPacketOutBuffer;
class NetPacketInBuffer;
class Character;

class Team {
public:
    enum Major : std::uint32_t { Friendly = 0, Hostile = 1, Human = 2, Monster = 3 };
    enum MinorMonster : std::uint32_t {
        MonsterNone = 0,
        MonsterHostile = 1,
        Red = 2,
        Orange = 3,
        Yellow = 4,
        Green = 5,
        Blue = 6,
        Indigo = 7,
        Violet = 8,
    };

    Team() = default;

    void Set(std::uint32_t major, std::uint32_t minor);
    bool IsInitialized() const { return mSet != 0; }
    std::uint32_t GetTeamMajor() const { return mMajor; }
    std::uint32_t GetTeamMinor() const { return mMinor; }

    // Inline: a crowd's monsters judge each other tens of thousands of times a frame.
    bool IsFoe(const Team& other) const {
        if (mMajor == Hostile || other.mMajor == Hostile)
            return true;
        if (mMajor == Friendly || other.mMajor == Friendly)
            return false;
        if (mMajor != other.mMajor)
            return true;
        if (mMajor == Human)
            return HumansAtWar(other);
        if (mMajor == Monster) {
            if (mMinor == MonsterHostile || other.mMinor == MonsterHostile)
                return true;
            if (mMinor == MonsterNone)
                return false;
            return other.mMinor != 0 && other.mMinor != mMinor;
        }
        return true;
    }
    bool IsFriend(const Team& other) const {
        if (mMajor == Human && other.mMajor == Human)
            return mMinor == other.mMinor && mMinor != 0;
        return !IsFoe(other);
    }

    // Reads the record strings of a character's teams ("TeamMajor_Human", "TeamMinorMonster_Red").
    void ConvertFromHistoricalTeam(const std::string& major, const std::string& minor);

    void AddToPacket(NetPacketOutBuffer& buffer) const;
    void RemoveFromPacket(NetPacketInBuffer& buffer);

    bool operator==(const Team&) const = default;

private:
    // Two humans of different factions, when the game allows players to fight.
    bool HumansAtWar(const Team& other) const;

    std::uint32_t mMajor = 0;
    std::uint32_t mMinor = 0;
    std::uint8_t mSet = 0;
};

class TeamManager {
public:
    static Team BuildTeam(std::uint32_t major, std::uint32_t minor);
    static Team DefaultPlayerTeam() { return BuildTeam(Team::Human, 0); }
    static Team DefaultMonsterTeam() { return BuildTeam(Team::Monster, 0); }
    static Team InvisibleTeam() { return BuildTeam(Team::Friendly, 0); }

    bool IsFoe(const Team& a, const Team& b) const { return a.IsFoe(b); }
    bool IsFriend(const Team& a, const Team& b) const { return a.IsFriend(b); }
    bool IsFoe(const Character* a, const Character* b) const;
    bool IsFriend(const Character* a, const Character* b) const;
    bool IsFoe(std::uint32_t a, std::uint32_t b) const;
    bool IsFriend(std::uint32_t a, std::uint32_t b) const;

private:
    CriticalSection mLock;
};

}  // namespace GAME
