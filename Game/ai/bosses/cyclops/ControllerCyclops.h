#pragma once
// The Cyclops: a scripted boss. It rests until woken, walks to the point its level script
// announced, roars (foes nearby panic) and charges the player, trampling every foe in its way, and
// then fights as an ordinary monster. It never grows angry at what it merely sees. Its states are
// in CyclopsStates.h; only the ones it registers exist for it.
#include <map>
#include <string>

#include "Engine/world/Region.h"
#include "Game/ai/monster/ControllerMonster.h"
#include "Game/core/GameEvents.h"

namespace GAME {

class ControllerCyclops : public ControllerMonster {
    RTTI_DECLARE(ControllerCyclops)
public:
    ControllerCyclops();
    ~ControllerCyclops() override;

    // The monster's record, then "postRoarMusic".
    void Load(const LoadTable& table) override;
    // Puts the boss on a team of its own (major 3, minor 1), on every machine.
    void InitialUpdate() override;
    void RegisterStates() override;
    void RegisterTemporaryStates() override;
    float ProcessAngerTarget(Character*, int) override { return 0.0f; }
    virtual void SetPlayerFocused(bool focused) { mPlayerFocused = focused; }

    bool IsPlayerFocused() const { return mPlayerFocused; }
    // Keeps the coordinates of a script point meant for this boss, by index.
    void OnScriptPoint(const GameEvent_ScriptPoint& event);
    bool GetScriptPoint(int index, WorldCoords& out) const;
    // Fades the music out and plays the post-roar music, when the record names one.
    void PlayBossMusic() const;
    const std::string& GetPostRoarMusic() const { return mPostRoarMusic; }

private:
    bool mPlayerFocused = false;
    std::map<int, WorldCoords> mScriptPoints;
    std::string mPostRoarMusic;
    GameEventListener<ControllerCyclops, GameEvent_ScriptPoint> mScriptPointListener;
};

}  // namespace GAME
