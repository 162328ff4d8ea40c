#pragma once
// The scripted user of `gamehost play`: once a second of game time it clicks an item lying within
// reach (loot at its feet), else the nearest closed chest, door or idle shrine in sight that shows
// no lock when no foe is nearer, else (a few times) a travel stone in sight, nearer than any foe or
// with the player below half its life, when the player knows another, else the nearest living foe
// of the player in sight, else the nearest item lying in sight, else a non-player character in
// sight with something to say that it has not talked to yet, else the ground on the way to the next
// spawn point of the player's region, as a person at the mouse would. It only chooses where to
// click; what the click does is the player controller's business.
#include <cstdint>
#include <optional>
#include <set>
#include <vector>

#include "Host/play/HostClick.h"

namespace GAME {

class Entity;
class Player;
struct SpawnPoint;

class ClickDriver {
public:
    static constexpr int kIntervalMs = 1000;
    // How far a person sees foes around the player, and how far one ground click reaches.
    static constexpr float kSightRadius = 20.0f;
    static constexpr float kGroundClickReach = 12.0f;
    // Loot this close is picked up before the next foe is clicked.
    static constexpr float kItemReach = 3.0f;
    // A spawn point this close counts as reached; the walk goes on to the next one.
    static constexpr float kArrivedDistance = 2.0f;
    // How many clicks a person spends on travel stones in a game (a fight may cut the walk short).
    static constexpr int kStoneClicks = 4;
    // Standing this close to an NPC, a click on it starts the conversation.
    static constexpr float kTalkDistance = 4.0f;

    // The click of this frame, when one is due and the player can be clicked for.
    std::optional<HostClick> Next(Player& player, int frame, std::uint64_t gameTimeMs);
    // A driver that leads the way itself keeps the clicks on foes, loot and chests: no travel
    // stones, no small talk.
    void SetTravelStones(bool use) { mUseStones = use; }
    void SetSmallTalk(bool talk) { mSmallTalk = talk; }

private:
    std::optional<HostClick> ClickFoe(Player& player, int frame);
    std::optional<HostClick> ClickItem(Player& player, int frame, float within);
    std::optional<HostClick> ClickFixedItem(Player& player, int frame);
    std::optional<HostClick> ClickNpc(Player& player, int frame);
    std::optional<HostClick> ClickGround(Player& player, int frame);
    // A few times in a game: a travel stone in sight, when the player knows another to travel to.
    std::optional<HostClick> ClickTravelStone(Player& player, int frame);

    std::uint64_t mNextClickMs = 0;
    // Squared distances of the last nearest foe and chest found.
    float mFoeDistance = 0.0f;
    float mChestDistance = 0.0f;
    float mStoneDistance = 0.0f;
    std::size_t mWaypoint = 0;
    int mStoneClicks = 0;
    bool mUseStones = true;
    bool mSmallTalk = true;
    std::vector<Entity*> mNearby;
    std::vector<std::uint32_t> mIds;
    // NPCs clicked while standing at them: each is talked to once.
    std::set<std::uint32_t> mTalkedTo;
    std::vector<const SpawnPoint*> mWaypoints;
};

}  // namespace GAME
