#pragma once
// The plain bounds of what a client reports about its own player: the server cannot know a
// client's life or position, but it can keep them finite and within what the game shows, so a
// hostile report cannot be stored and broadcast for good.
#include <cstddef>
#include <string>

#include "Game/core/players/PlayerNetInfo.h"

namespace GAME {

inline constexpr int kMaxReportedLevel = 255;             // what the player lists carry
inline constexpr std::size_t kMaxPlayerNameLength = 32;   // characters of a shown name
inline constexpr std::size_t kMaxReportedTagLength = 64;  // a class tag or status skill name
inline constexpr std::size_t kMaxReportedStatusSkills = 32;
inline constexpr std::size_t kMaxChatLength = 256;  // characters of one chat line or notice

bool IsFinite(const WorldVec3& where);

// What a report falls back to: the player's last good values.
struct PlayerVitals {
    float life = 0.0f;
    float maxLife = 0.0f;
    float mana = 0.0f;
    float maxMana = 0.0f;
    WorldVec3 position;
};
PlayerVitals VitalsOf(const PlayerNetHeartbeatInfo& info);

// Brings the report within bounds: non-finite or negative life and mana become 0 (or the
// previous ones), a position that is not finite keeps the previous one, the level is clamped,
// strings and lists are cut. True when anything was changed. Allocates nothing.
bool CheckPlayerReport(PlayerNetHeartbeatInfo& report, const PlayerVitals& previous);
// The same for a new player's record, which adds the name.
bool CheckPlayerReport(PlayerNetBasicInfo& report, const PlayerVitals& previous);

// The text cut to at most `limit` characters.
std::wstring CapText(const std::wstring& text, std::size_t limit = kMaxChatLength);

}  // namespace GAME
