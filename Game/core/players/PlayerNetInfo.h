#pragma once
// A player's vital state as the player managers keep it and the heartbeat packets carry it;
// the basic info adds the name and sex.
#include <cstdint>
#include <string>
#include <vector>

#include "Engine/world/Region.h"

namespace GAME {

struct PlayerNetHeartbeatInfo {
    std::uint32_t playerId = 0;
    float life = 0.0f;
    float maxLife = 0.0f;
    float mana = 0.0f;
    float maxMana = 0.0f;
    int level = 0;
    int partyId = 0;
    WorldVec3 position;
    std::string classTag;
    std::vector<std::string> statusSkills;
};

struct PlayerNetBasicInfo : PlayerNetHeartbeatInfo {
    PlayerNetBasicInfo() = default;
    PlayerNetBasicInfo(const PlayerNetBasicInfo&) = default;
    PlayerNetBasicInfo& operator=(const PlayerNetBasicInfo&) = default;
    virtual ~PlayerNetBasicInfo() = default;

    // Overwrites the heartbeat part only; name and sex stay.
    PlayerNetBasicInfo& operator=(const PlayerNetHeartbeatInfo& heartbeat) {
        static_cast<PlayerNetHeartbeatInfo&>(*this) = heartbeat;
        return *this;
    }

    std::wstring playerName;
    bool isMale = false;
};

}  // namespace GAME
