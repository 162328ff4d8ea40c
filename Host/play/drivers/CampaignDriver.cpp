#include "Host/play/drivers/CampaignDriver.h"

#include <algorithm>

#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/world/World.h"
#include "Game/ai/controllers/CharacterController.h"
#include "Game/ai/controllers/player/ControllerPlayer.h"
#include "Game/characters/Player.h"
#include "Game/characters/npc/Npc.h"
#include "Game/core/GameConstants.h"
#include "Game/core/GameEngine.h"
#include "Game/core/players/Team.h"
#include "Game/items/Item.h"
#include "Game/items/cursor/CursorHandlerItemMove.h"
#include "Game/items/equipment/EquipLocations.h"
#include "Game/items/equipment/EquipManager.h"
#include "Game/items/inventory/Inventory.h"
#include "Game/items/inventory/PlayerInventoryCtrl.h"
#include "Game/quests/DialogManager.h"
#include "Game/quests/Quest.h"
#include "Game/quests/QuestRepository.h"
#include "Game/quests/triggers/TriggerText.h"
#include "Game/world/fixeditems/FixedItem.h"
#include "Game/world/fixeditems/FixedItemContainer.h"
#include "Host/PrintableText.h"
#include "Host/play/HostSaves.h"
#include "Host/play/PlayEventLog.h"
#include "Host/play/drivers/MarketDriver.h"
#include "Host/play/drivers/SkillDriver.h"
#include "Host/play/drivers/TeleportMenu.h"

namespace GAME {

namespace {
// A click from this near counts as touching the thing (talking, using); the step then waits
// for the game's answer and touches again only after a while.
constexpr float kTouchReach = 4.0f;
constexpr std::uint64_t kRetouchMs = 5000;
// A foe this near is fought before the step goes on.
constexpr float kGuardRadius = 7.0f;
// The first fight keeps to the cave's mouth around the respawn shrine, so the lair's boss waits
// for the portal.
constexpr float kMouthRadius = 15.0f;
// Skills there are cast only at foes this near, so a javelin does not wake the lair beyond.
constexpr float kMouthCastRadius = 10.0f;
// How far past a door the player walks once it is open, and how near that counts as through.
constexpr float kPastDoor = 3.0f;
constexpr float kThroughDoor = 1.5f;
constexpr const char* kBlade = "Records/Items/Weapons/HollowBlade.dbr";
constexpr const char* kMaren = "Records/Characters/Npcs/Villager.dbr";
constexpr const char* kTravelStone = "Records/Objects/Shrines/TravelStone.dbr";
constexpr const char* kVillageStone = "5a7e0002000000000000000000000003";
constexpr const char* kDeepStone = "5a7e0002000000000000000000000002";

std::string NameOf(const Entity& entity) {
    if (const auto* npc = dynamic_cast<const Npc*>(&entity))
        return HostSaves::NpcName(*npc);
    std::wstring text;
    if (const auto* item = dynamic_cast<const Item*>(&entity))
        item->GetGameDescription(text);
    else if (const auto* fixed = dynamic_cast<const FixedItem*>(&entity))
        text = fixed->GetGameDescription(false);
    return text.empty() ? PlayEventLog::RecordStem(entity.GetObjectName()) : PlainItemText(text);
}

bool AnyQuest(bool complete) {
    for (const auto& quest : QuestRepository::Get()->GetQuests())
        if (complete ? quest->IsComplete() : quest->IsActive())
            return true;
    return false;
}

bool FoeNear(Player& player, const WorldVec3& around, float radius, std::vector<Entity*>& nearby) {
    nearby.clear();
    if (!around.region)
        return false;
    World::Get().GetEntitiesInSphere(nearby, around.region, Sphere{around.local, radius},
                                     EntityListType::Actors);
    TeamManager* teams = gGameEngine->GetTeamManager();
    for (Entity* entity : nearby) {
        const auto* character =
            entity->IsA(Character::classInfo) ? static_cast<Character*>(entity) : nullptr;
        if (character && character != &player && character->IsAlive() &&
            teams->IsFoe(&player, character))
            return true;
    }
    return false;
}
}  // namespace

const std::vector<CampaignDriver::Step>& CampaignDriver::SampleSteps() {
    static const std::vector<Step> steps = {
        {Act::PickUp, kBlade, "pick up the blade lying in the grass", 600, ""},
        {Act::Equip, kBlade, "wield the better blade", 30, ""},
        {Act::TakeQuest, kMaren, "talk to Maren the Herbwife and take up her quest", 900, ""},
        {Act::Trade, "Records/Characters/Npcs/Merchant.dbr",
         "buy and sell at Oswin the Pedlar's stall", 900, ""},
        {Act::Touch, kTravelStone, "touch the village's travel stone", 600, ""},
        {Act::Guide, "Records/Characters/Npcs/CaveGuide.dbr",
         "ask Wulf the Cave Guide the way down to the cave", 900, ""},
        {Act::Bind, "Records/Objects/Shrines/Waystone.dbr",
         "touch the Waystone: it is where you come back after a fall", 600, ""},
        {Act::Door, "Records/Objects/Doors/CaveDoor.dbr", "open the cave door and go through it",
         1500, ""},
        {Act::Fight, "", "fight through the cave: thin out the boars, loot, open the chests", 4500,
         ""},
        {Act::Touch, "Records/Objects/Shrines/DeepStone.dbr",
         "touch the Deep Stone on the way to the Beastcaller's lair", 900, ""},
        {Act::Travel, kTravelStone, "take the travel stone back to the village", 600,
         kVillageStone},
        {Act::ReportBack, kMaren, "go back to Maren the Herbwife for the reward", 900,
         "Records/Items/Armor/HerbwifeRing.dbr"},
        {Act::Travel, kTravelStone, "step through the village stone to the Deep Stone", 600,
         kDeepStone},
        {Act::Boss, "Records/Creatures/Beastcaller.dbr", "fight the Beastcaller in its lair", 3000,
         ""},
        {Act::Boss, "Records/Creatures/Shaman.dbr", "face the Shaman in the wolves' den", 3000, ""},
        {Act::Fall, "",
         "fight on in the den until its beasts have brought you down; rise at the Waystone", 1800,
         ""},
    };
    return steps;
}

CampaignDriver::CampaignDriver(PlayEventLog& log, HostSaves& ui, const std::vector<Step>& steps)
    : mLog(log), mUi(ui), mSteps(steps) {
    mFallback.SetTravelStones(false);
    mFallback.SetSmallTalk(false);
}

std::optional<HostClick> CampaignDriver::Next(Player& player, int frame, std::uint64_t gameTimeMs) {
    if (!gGameEngine)
        return std::nullopt;
    AnswerDialogs();
    mCastRadius = 0.0f;
    mCallPet = false;
    if (mStep >= mSteps.size()) {
        mCastRadius = SkillDriver::kFightRadius;
        mCallPet = true;
        return SkillDriver::IsCasting(player) ? std::nullopt
                                              : mFallback.Next(player, frame, gameTimeMs);
    }
    if (!mBegun)
        Begin(player, frame);
    if (IsDone(player))
        Finish(player, frame, true);
    else if (frame - mStepFrame > mSteps[mStep].frames ||
             // No reward waits for a quest not done (in a network game others' kills may have
             // won the fight for this player).
             (mSteps[mStep].act == Act::ReportBack && !AnyQuest(true)))
        Finish(player, frame, false);
    if (mStep >= mSteps.size() || !mBegun)
        return std::nullopt;
    const Act act = mSteps[mStep].act;
    // A travel is a way out of a fight: the stone is touched whoever follows.
    const bool brawl = act == Act::Boss || act == Act::Fall;
    const bool guard = act != Act::Fight && !brawl && act != Act::Travel &&
                       FoeNear(player, player.GetPosition(), kGuardRadius, mNearby);
    mCastRadius = brawl               ? SkillDriver::kFightRadius
                  : act == Act::Fight ? kMouthCastRadius
                  : guard             ? kGuardRadius
                                      : 0.0f;
    mCallPet = brawl;
    if (mCastRadius > 0.0f && SkillDriver::IsCasting(player))
        // As a person waits for a spell to leave the hand: a click now would break it off.
        return std::nullopt;
    if (act == Act::Fight || act == Act::Fall || guard ||
        (act == Act::Boss && !FindNearest(player, mSteps[mStep].record))) {
        std::optional<HostClick> click = mFallback.Next(player, frame, gameTimeMs);
        if (click && act == Act::Fight && mHome.region &&
            mHome.DistanceTo(WorldVec3(World::Get().GetRegion(click->region), click->point)) >
                kMouthRadius)
            // Beyond the cave's mouth: back toward the shrine instead.
            return HostClick{frame, 0, mHome.region->GetName(), mHome.local, 0};
        return click;
    }
    if (gameTimeMs < mNextClickMs)
        return std::nullopt;
    mNextClickMs = gameTimeMs + ClickDriver::kIntervalMs;
    if (!player.IsAlive() || !player.IsInWorld())
        return std::nullopt;
    return ClickFor(player, frame);
}

void CampaignDriver::Begin(Player& player, int frame) {
    const Step& step = mSteps[mStep];
    mBegun = true;
    mStepFrame = frame;
    mTouched = false;
    mTouchedMs = 0;
    mTarget = 0;
    mDeathsAtStart = mLog.GetDeaths();
    mStartRegion = player.GetPosition().region;
    mLog.PrintStamped("campaign " + std::to_string(mStep + 1) + "/" +
                      std::to_string(mSteps.size()) + ": " + step.goal);
    mUi.SetConversationAnswer(step.act == Act::TakeQuest || step.act == Act::ReportBack);
    if (TeleportMenu* menu = mLog.GetTeleportMenu()) {
        UniqueId stone;
        if (step.act == Act::Travel)
            stone.FromString(step.extra);
        menu->Prefer(stone);
    }
    if (step.act == Act::Equip)
        Equip(player, mPickedUp, EquipmentCtrlLocation::HandRight);
    if (step.act == Act::Door)
        if (Entity* door = FindNearest(player, step.record)) {
            // Straight on through the door, away from where the player stands.
            const WorldVec3 at = door->GetPosition();
            Vec3 away = player.GetPosition().VectorTo(at);
            away.y = 0.0f;
            const float length = away.Length();
            mPast = at;
            if (length > 0.0f)
                mPast.Translate(away * (kPastDoor / length));
        }
}

void CampaignDriver::Finish(Player& player, int frame, bool reached) {
    if (reached) {
        ++mStepsDone;
        if (mSteps[mStep].act == Act::Touch)
            mLog.PrintStamped("the stone knows you: travel stones can bring you back here");
        if (mSteps[mStep].act == Act::ReportBack && !mRewardWorn)
            // Picked up straight onto a free finger.
            for (const EquipManagerContainer& entry : player.GetEquipManager().GetAttachedItems())
                if (const Item* item =
                        Singleton<ObjectManager>::Get().GetObject<Item>(entry.itemId);
                    item && RecordNamesEqual(item->GetObjectName(), mSteps[mStep].extra))
                    mLog.PrintStamped("you wear " + NameOf(*item));
    } else {
        mLog.PrintStamped("campaign: no luck with \"" + std::string(mSteps[mStep].goal) +
                          "\" after " + std::to_string((frame - mStepFrame) / 30) +
                          " s; on to the next step");
    }
    mUi.SetConversationAnswer(false);
    ++mStep;
    mBegun = false;
    if (mStep == mSteps.size())
        mLog.PrintStamped("campaign over: " + std::to_string(mStepsDone) + " of " +
                          std::to_string(mSteps.size()) + " steps reached");
}

bool CampaignDriver::LeftToLoot() {
    // Loot lying and unlocked chests still closed near the shrine.
    mNearby.clear();
    World::Get().GetEntitiesInSphere(mNearby, mHome.region, Sphere{mHome.local, kMouthRadius},
                                     EntityListType::Actors);
    for (const Entity* entity : mNearby)
        if (const auto* chest = dynamic_cast<const FixedItem*>(entity);
            chest && chest->IsOfInterest() && !chest->IsLocked() &&
            chest->IsA<FixedItemContainer>())
            return true;
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    for (const std::uint32_t id : objects.GetObjectIds()) {
        const Item* item = objects.GetObject<Item>(id);
        if (item && item->IsInWorld() && item->IsPickupOk() &&
            item->GetCoords().GetPosition().region == mHome.region &&
            mHome.DistanceTo(item->GetCoords().GetPosition()) <= kMouthRadius)
            return true;
    }
    return false;
}

bool CampaignDriver::IsDone(Player& player) {
    const Step& step = mSteps[mStep];
    switch (step.act) {
        case Act::PickUp: {
            mPickedUp = Carried(player, step.record);
            if (mPickedUp != 0 || player.GetEquipManager().HasItem(std::string(step.record)))
                return true;
            // In a network game the one item lying there goes to the first player to reach it:
            // once another carries it, the step is done for every player.
            const Player* first = nullptr;
            const Item* taken = FindNearest(player, step.record)
                                    ? nullptr
                                    : OtherHolder(player, step.record, first);
            if (taken)
                mLog.PrintStamped(first->GetPlayerNameInChar() + " was first to " + NameOf(*taken) +
                                  ": it is theirs, and the step done");
            return taken != nullptr;
        }
        case Act::Equip:
            return true;
        case Act::TakeQuest:
            return AnyQuest(false);
        case Act::Trade:
            return mMarket && mMarket->IsDone();
        case Act::Touch: {
            const Entity* stone = FindNearest(player, step.record);
            return mTouched && stone && player.IsTeleportUIDKnown(stone->GetUniqueId());
        }
        case Act::Guide:
        case Act::Travel:
            return player.IsAlive() && player.IsInWorld() &&
                   player.GetPosition().region != mStartRegion;
        case Act::Bind: {
            const Entity* shrine = FindNearest(player, step.record);
            if (shrine)
                mHome = shrine->GetPosition();
            return shrine && player.IsCurrentRespawnPoint(shrine->GetUniqueId());
        }
        case Act::Door: {
            const auto* door = dynamic_cast<const FixedItem*>(FindNearest(player, step.record));
            return door && !door->IsOfInterest() &&
                   player.GetPosition().DistanceTo(mPast) <= kThroughDoor;
        }
        case Act::Fight: {
            if (!player.IsAlive() || player.GetCurrentLife() <= 0.0f ||
                FoeNear(player, mHome, kMouthRadius, mNearby) || LeftToLoot())
                return false;
            if (AnyQuest(true))
                return true;
            // In a network game the boars at the cave's mouth are everyone's: when the others'
            // blows felled them before this player's could, the ground clear ends the fight too.
            if (mLog.GetOthersKills() == 0)
                return false;
            mLog.PrintStamped("the others thinned the boars before you could: the fight is won");
            return true;
        }
        case Act::ReportBack: {
            const std::uint32_t reward = Carried(player, step.extra);
            if (reward != 0 && !mRewardWorn) {
                mRewardWorn = true;
                Equip(player, reward, EquipmentCtrlLocation::Finger1);
            }
            return reward != 0 || player.GetEquipManager().HasItem(std::string(step.extra));
        }
        case Act::Fall:
            // A fall in the fights before counts: the den has brought the player down once.
            return mLog.GetDeaths() > 0 && player.IsAlive() && player.IsInWorld() &&
                   player.GetCurrentLife() > 0.0f;
        case Act::Boss: {
            const auto* boss = dynamic_cast<const Character*>(FindNearest(player, step.record));
            return !boss || !boss->IsAlive();
        }
    }
    return false;
}

std::optional<HostClick> CampaignDriver::ClickFor(Player& player, int frame) {
    const Step& step = mSteps[mStep];
    if (step.act == Act::Equip)
        return std::nullopt;
    Entity* target = FindNearest(player, step.record);
    // The reward lies where the quest giver dropped it: picked up before anything else.
    if (step.act == Act::ReportBack)
        if (Entity* reward = FindNearest(player, step.extra))
            target = reward;
    const auto* fixed = dynamic_cast<const FixedItem*>(target);
    if (step.act == Act::Door && fixed && !fixed->IsOfInterest()) {
        // Open: on through it.
        return HostClick{frame, 0, mPast.region->GetName(), mPast.local, 0};
    }
    if (!target)
        return std::nullopt;
    const std::uint64_t now = gEngine->GetGameTime();
    if (mTouched && target->GetObjectId() == mTarget && now < mTouchedMs + kRetouchMs)
        return std::nullopt;
    return ClickOn(player, *target, frame);
}

std::optional<HostClick> CampaignDriver::ClickOn(Player& player, Entity& target, int frame) {
    const WorldVec3 at = target.GetPosition();
    if (player.GetPosition().DistanceTo(at) <= kTouchReach) {
        mTouched = true;
        mTouchedMs = gEngine->GetGameTime();
        mTarget = target.GetObjectId();
    }
    return HostClick{frame, target.GetObjectId(), at.region->GetName(), at.local, 0};
}

Entity* CampaignDriver::FindNearest(const Player& player, const char* record) const {
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    const WorldVec3 from = player.GetPosition();
    Entity* nearest = nullptr;
    float nearestDistance = 0.0f;
    // By id: ties go to the older object, the same on every machine.
    for (const std::uint32_t id : objects.GetObjectIds()) {
        auto* entity = objects.GetObject<Entity>(id);
        if (!entity || !entity->IsInWorld() || !RecordNamesEqual(entity->GetObjectName(), record))
            continue;
        const WorldVec3 at = entity->GetPosition();
        if (at.region != from.region)
            continue;
        const float distance = from.DistanceTo(at);
        if (!nearest || distance < nearestDistance) {
            nearest = entity;
            nearestDistance = distance;
        }
    }
    return nearest;
}

const Item* CampaignDriver::OtherHolder(const Player& player, const char* record,
                                        const Player*& holder) const {
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    for (const std::uint32_t id : objects.GetObjectIds()) {
        const auto* other = objects.GetObject<Player>(id);
        if (!other || other == &player)
            continue;
        const auto ofRecord = [&](std::uint32_t item) {
            const auto* found = objects.GetObject<Item>(item);
            return found && RecordNamesEqual(found->GetObjectName(), record) ? found : nullptr;
        };
        const Item* found = nullptr;
        for (const std::uint32_t item : other->GetInventory().GetInventoryItems())
            found = found ? found : ofRecord(item);
        for (const EquipManagerContainer& entry : other->GetEquipManager().GetAttachedItems())
            found = found ? found : ofRecord(entry.itemId);
        if (found) {
            holder = other;
            return found;
        }
    }
    return nullptr;
}

std::uint32_t CampaignDriver::Carried(const Player& player, const char* record) const {
    const auto* controller = FindController<ControllerPlayer>(player);
    if (!controller)
        return 0;
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    const PlayerInventoryCtrl& bag = controller->GetInventoryCtrl();
    for (std::uint32_t sack = 0; sack < bag.GetNumberOfSacks(); ++sack)
        for (const auto& [id, rect] : bag.GetInventoryInSack(static_cast<int>(sack)))
            if (const Item* item = objects.GetObject<Item>(id);
                item && RecordNamesEqual(item->GetObjectName(), record))
                return id;
    return 0;
}

void CampaignDriver::Equip(Player& player, std::uint32_t id, EquipmentCtrlLocation location) {
    const Item* item = Singleton<ObjectManager>::Get().GetObject<Item>(id);
    if (!item || !Carried(player, item->GetObjectName().c_str())) {
        mLog.PrintStamped("you carry nothing better to put on");
        return;
    }
    const std::string name = NameOf(*item);
    CursorHandlerItemMove cursor;
    cursor.SetPlayer(&player);
    cursor.SetId(id);
    if (!cursor.PrimaryEquipActivate(location)) {
        cursor.Cancel();
        mLog.PrintStamped("you cannot put on " + name + " yet; it stays in the bag");
        return;
    }
    const Item* old = Singleton<ObjectManager>::Get().GetObject<Item>(cursor.GetId());
    const std::string oldName = old ? NameOf(*old) : std::string();
    cursor.Cancel();
    mLog.PrintStamped("you put on " + name +
                      (oldName.empty() ? std::string() : "; " + oldName + " goes into the bag"));
}

void CampaignDriver::AnswerDialogs() {
    DialogManager& dialogs = gGameEngine->GetDialogManager();
    int questions = 0;
    for (const DialogManager::Dialog& dialog : dialogs.GetDialogs()) {
        if (dialog.party != static_cast<DialogManager::InterestedParty>(kDialogPartyTeleport) ||
            dialog.type != static_cast<DialogManager::DialogType>(kDialogTypeQuestion))
            continue;
        if (++questions <= mTeleportQuestions)
            continue;
        // The way offered is taken while the campaign asks for it; otherwise declined.
        const bool yes = mStep < mSteps.size() && mSteps[mStep].act == Act::Guide;
        mLog.PrintStamped("asked \"" + PrintableText(dialog.text) + "\": you say " +
                          (yes ? "yes" : "no"));
        dialogs.AddResponse(static_cast<DialogManager::InterestedParty>(kDialogPartyTeleport), yes);
    }
    mTeleportQuestions = questions;
}

void CampaignDriver::PrintSummary(std::FILE* out, const Player* player) const {
    std::fprintf(out, "gamehost: campaign: %zu of %zu steps done\n", mStepsDone, mSteps.size());
    int quests = 0;
    for (const auto& quest : QuestRepository::Get()->GetQuests())
        quests += quest->IsComplete() && !quest->IsUnsolvable() ? 1 : 0;
    std::size_t carried = 0;
    if (const auto* controller = player ? FindController<ControllerPlayer>(*player) : nullptr)
        for (std::uint32_t sack = 0; sack < controller->GetInventoryCtrl().GetNumberOfSacks();
             ++sack)
            carried +=
                controller->GetInventoryCtrl().GetInventoryInSack(static_cast<int>(sack)).size();
    std::fprintf(out, "gamehost: quests done %d, gold %u, items %zu, bosses killed %d\n", quests,
                 player ? player->GetMoney() : 0u, carried, mLog.GetBossKills());
}

}  // namespace GAME
