#pragma once
// The scripted player of the sample campaign, as a newcomer plays it: an ordered list of steps,
// each with its goal and the clicks it makes (the thing it clicks is found by its record in the
// player's region), and the window work a person does by hand (equipping, answering a question).
// A step is done when the game shows its goal reached, or gives up after its time; the fights
// fall back to the reactive ClickDriver (foes, loot, chests). The play log says each step as it
// begins, and the summary what the campaign brought.
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "Engine/object/UniqueId.h"
#include "Engine/world/Region.h"
#include "Game/items/equipment/EquipLocations.h"
#include "Host/play/HostClick.h"
#include "Host/play/drivers/ClickDriver.h"

namespace GAME {

class Entity;
class HostSaves;
class Item;
class MarketDriver;
class Player;
class PlayEventLog;

class CampaignDriver {
public:
    enum class Act {
        PickUp,      // click the item of the record lying in the region until it is carried
        Equip,       // put the weapon picked up on; the one it replaces goes into the bag
        TakeQuest,   // talk to the quest giver, say yes: the quest is under way
        Trade,       // talk to the merchant; the market driver buys and sells
        Touch,       // touch a travel stone: the player knows it
        Guide,       // talk to a guide and say yes to the way he offers: another region
        Bind,        // touch a respawn shrine: it is the player's respawn point
        Door,        // open a door and walk through it
        Fight,       // the reactive driver until a quest is done and the shrine's ground is clear
        Travel,      // touch a travel stone, choose the one named: another region
        ReportBack,  // talk to the quest giver again and pick up the reward; it is put on
        Boss,        // fight the boss of the record until it falls
        Fall,        // the reactive driver until the player has fallen and risen at its shrine
    };
    struct Step {
        Act act;
        const char* record;  // the record of what the step clicks (Fight: none)
        const char* goal;    // the line said as the step begins
        int frames;          // how long the step may take before the campaign moves on
        const char* extra;   // Travel: the unique id of the stone to choose;
                             // ReportBack: the reward's record
    };

    // The whole campaign of the sample world, in order.
    static const std::vector<Step>& SampleSteps();

    CampaignDriver(PlayEventLog& log, HostSaves& ui,
                   const std::vector<Step>& steps = SampleSteps());

    // The market driver whose deals end the trade step.
    void SetMarket(const MarketDriver* market) { mMarket = market; }
    // Once a frame, before it runs: the window work of the current step, and the click of this
    // frame when one is due.
    std::optional<HostClick> Next(Player& player, int frame, std::uint64_t gameTimeMs);
    // "campaign: N of M steps done", then what it brought: quests done, gold, items, bosses.
    void PrintSummary(std::FILE* out, const Player* player) const;

    std::size_t GetStepsDone() const { return mStepsDone; }
    // How near a foe must be for the player's skills to be cast at it this frame (0: none). A
    // cast outside the fights would turn the player from what the step walks it to; in the
    // cave's first fight one at a far foe would wake the lair before the portal leads there.
    float GetCastRadius() const { return mCastRadius; }
    // A pet is called in the boss fights only: elsewhere it would run on and wake what the
    // story meets later.
    bool MayCallPet() const { return mCallPet; }

private:
    void Begin(Player& player, int frame);
    bool IsDone(Player& player);
    void Finish(Player& player, int frame, bool reached);
    // Loot lying or a chest to open near the respawn shrine.
    bool LeftToLoot();
    std::optional<HostClick> ClickFor(Player& player, int frame);
    // The nearest entity of the record in the player's region (items only while lying there).
    Entity* FindNearest(const Player& player, const char* record) const;
    std::optional<HostClick> ClickOn(Player& player, Entity& target, int frame);
    // Puts the carried item on at the location; says what came off into the bag.
    void Equip(Player& player, std::uint32_t item, EquipmentCtrlLocation location);
    // An item of the record that another player (of a network game) carries or wears; its
    // holder.
    const Item* OtherHolder(const Player& player, const char* record, const Player*& holder) const;
    // The carried item of the record, 0 when none.
    std::uint32_t Carried(const Player& player, const char* record) const;
    // The questions the game asks of the player: the guide's way is taken.
    void AnswerDialogs();

    PlayEventLog& mLog;
    HostSaves& mUi;
    const MarketDriver* mMarket = nullptr;
    std::vector<Step> mSteps;
    ClickDriver mFallback;
    std::size_t mStep = 0;
    std::size_t mStepsDone = 0;
    bool mBegun = false;
    float mCastRadius = 0.0f;
    bool mCallPet = false;
    int mStepFrame = 0;
    std::uint64_t mNextClickMs = 0;
    // The step's target was clicked from within reach: it is waited on, not clicked again.
    bool mTouched = false;
    std::uint64_t mTouchedMs = 0;
    std::uint32_t mTarget = 0;
    int mDeathsAtStart = 0;
    std::uint32_t mPickedUp = 0;
    bool mRewardWorn = false;
    const Region* mStartRegion = nullptr;
    WorldVec3 mPast;  // the point past the door
    WorldVec3 mHome;  // the respawn shrine the first fight keeps near
    int mTeleportQuestions = 0;
    std::vector<Entity*> mNearby;
};

}  // namespace GAME
