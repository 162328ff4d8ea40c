#pragma once
// Payloads of the events that quest actions send for the host's user interface
// ("GameEvent_" + the name in each comment).
#include <cstdint>
#include <string>

#include "Engine/text/Name.h"
#include "Game/core/GameEvents.h"

namespace GAME {

// "ShowTextBanner": a line across the screen.
struct GameEvent_ShowTextBanner : GameEvent {
    std::wstring text;
    float x = 0.0f;
    float y = 0.0f;
    float red = 0.0f;
    float green = 0.0f;
    float blue = 0.0f;
    float alpha = 1.0f;
    float fadeIn = 0.0f;
    float fadeOut = 0.0f;
    float durationMs = 0.0f;
};

// "ScreenFade".
struct GameEvent_ScreenFade : GameEvent {
    int fadeMs = 0;
    int blackoutMs = 0;
    float red = 0.0f;
    float green = 0.0f;
    float blue = 0.0f;
    float alpha = 1.0f;
};

// "TeleportPlayer".
struct GameEvent_TeleportPlayer : GameEvent {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    int regionId = 0;
};

// "CameraShake" as quests send it: whole milliseconds.
struct GameEvent_CameraShakeMs : GameEvent {
    std::uint32_t durationMs = 0;
    float amplitude = 0.0f;
};

// "UpdateJournal".
struct GameEvent_UpdateJournal : GameEvent {
    Name handle;
    int region = 1;
    std::string locationTag;
    std::string titleTag;
    std::string fullTextTag;
    std::string rewardItemTag;
    std::uint32_t rewardGold = 0;
    std::uint32_t rewardExperience = 0;
    std::uint32_t rewardSkillPoints = 0;
    std::uint32_t rewardAttributePoints = 0;
    bool complete = false;
    bool playSound = true;
};

}  // namespace GAME
