#include "Game/core/players/Team.h"

#include "Engine/net/fields/NetPacketBuffer.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/sys/GameInfo.h"
#include "Engine/sys/Machine.h"
#include "Game/characters/Character.h"

namespace GAME {

void Team::Set(std::uint32_t major, std::uint32_t minor) {
    mMajor = major;
    mMinor = minor;
    mSet = 1;
}

bool Team::HumansAtWar(const Team& other) const {
    return Singleton<GameInfo>::Get().GetPvP() && mMinor != 0 && other.mMinor != 0 &&
           mMinor != other.mMinor;
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

namespace {
constexpr std::uint8_t kMajorMask = 0x03;
constexpr std::uint8_t kSetBit = 0x04;
constexpr std::uint8_t kSmallMinorBit = 0x08;
}  // namespace

void Team::AddToPacket(NetPacketOutBuffer& buffer) const {
    std::uint8_t flags = static_cast<std::uint8_t>(mMajor & kMajorMask);
    if (mSet)
        flags |= kSetBit;
    if (mMinor < 256)
        flags |= kSmallMinorBit;
    buffer.Write8(flags);
    if (mMinor < 256)
        buffer.Write8(static_cast<std::uint8_t>(mMinor));
    else
        buffer.Write32(mMinor);
}

void Team::RemoveFromPacket(NetPacketInBuffer& buffer) {
    std::uint8_t flags = 0;
    if (!buffer.Read8(flags))
        return;
    std::uint32_t minor = 0;
    if (flags & kSmallMinorBit) {
        std::uint8_t small = 0;
        if (!buffer.Read8(small))
            return;
        minor = small;
    } else if (!buffer.Read32(minor)) {
        return;
    }
    mMajor = flags & kMajorMask;
    mSet = (flags & kSetBit) ? 1 : 0;
    mMinor = minor;
}

Team TeamManager::BuildTeam(std::uint32_t major, std::uint32_t minor) {
    Team team;
    team.Set(major, minor);
    return team;
}

bool TeamManager::IsFoe(const Character* a, const Character* b) const {
    return a && b && a->GetTeam().IsFoe(b->GetTeam());
}

bool TeamManager::IsFriend(const Character* a, const Character* b) const {
    return a && b && a->GetTeam().IsFriend(b->GetTeam());
}

bool TeamManager::IsFoe(std::uint32_t a, std::uint32_t b) const {
    if (a == b)
        return false;
    auto& objects = Singleton<ObjectManager>::Get();
    return IsFoe(objects.GetObject<Character>(a), objects.GetObject<Character>(b));
}

bool TeamManager::IsFriend(std::uint32_t a, std::uint32_t b) const {
    auto& objects = Singleton<ObjectManager>::Get();
    return IsFriend(objects.GetObject<Character>(a), objects.GetObject<Character>(b));
}

}  // namespace GAME
