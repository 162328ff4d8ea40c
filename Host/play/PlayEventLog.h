#pragma once
// What `gamehost play` prints while the game runs: one line for each game event a player would
// notice (a kill with the experience it brought, a level or skill point gained, the player's
// death and respawn, a monster taking the player on, the first use of each of a foe's skills
// other than its plain attack, a summons, a wall or a creature risen from a death appearing near
// the player, a chest opened, loot falling and being picked up, a conversation begun, a
// merchant's greeting, creatures a spawn proxy brings out, an ambush springing, a quest's reward,
// a script point crossed), and a progress line on request. It only listens and reads: every
// rule stays the library's.
#include <cstdint>
#include <cstdio>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "Engine/object/UniqueId.h"
#include "Game/characters/CharacterEvents.h"
#include "Game/characters/CharacterStates.h"
#include "Game/characters/npc/NpcEvents.h"
#include "Game/core/GameEventListener.h"
#include "Game/core/GameEvents.h"
#include "Game/quests/actions/QuestActionEvents.h"
#include "Host/play/TownLog.h"
#include "Host/play/drivers/TeleportMenu.h"

namespace GAME {

class Character;
class Entity;
class Player;

// An item's name without the colour codes ("{^W}") the game's text styles read.
std::string PlainItemText(const std::wstring& text);

class PlayEventLog {
public:
    // Build before the game root: the experience a kill brings is measured around the root's
    // own handling of the death, so this log must hear the death first.
    explicit PlayEventLog(std::FILE* out);
    ~PlayEventLog();
    PlayEventLog(const PlayEventLog&) = delete;
    PlayEventLog& operator=(const PlayEventLog&) = delete;

    // Once the root exists: listens after it, for the player of this machine.
    void Attach(std::uint32_t playerId);
    // Once a frame, after it ran: notices what no event announces (the player back on its feet,
    // a monster that made the player its attack target).
    void Observe();
    void PrintProgress(int frame);
    // What this machine's player picked up (the root's user interface tells the host).
    void OnPickedUp(const std::wstring& description);
    // The player drank a potion from its hot-slot bar at that life, with so many left.
    void OnPotionDrunk(const std::wstring& description, int life, int lifeLimit,
                       std::uint32_t left);
    // A line from the host's user interface (its notices and the game's notifications).
    void PrintNotice(const std::string& line) { Print(line); }
    // The merchant whose market the player last asked for (0: none).
    std::uint32_t GetActivatedMarket() const { return mActivatedMarket; }
    // "you buy X from M for N gold" / "you sell X to M for N gold".
    void OnMarketDeal(bool bought, const std::wstring& item, const std::string& merchant,
                      unsigned gold);
    // A line of what the player did, after the game time.
    void PrintStamped(const std::string& line);
    // What the events told: the player's kills (its pets' included) and its deaths.
    int GetKills() const { return mKills; }
    int GetDeaths() const { return mDeaths; }
    // The player's kills of bosses: a boss by its class, or a monster with a boss volume (a lair).
    int GetBossKills() const { return mBossKills; }
    // Kills by another machine's player (or its pet), in a network game.
    int GetOthersKills() const { return mOthersKills; }
    // The host's teleport menu of this machine's player (once attached).
    TeleportMenu* GetTeleportMenu() { return mTeleportMenu ? &*mTeleportMenu : nullptr; }

    // "Boar 42": the record's file name without folder and extension, and the object id.
    static std::string DescribeCharacter(const Character* character, std::uint32_t id);
    // "Boar" for "Records/Creatures/Boar.dbr".
    static std::string RecordStem(std::string record);
    // How far from the player a monster taking it on is noticed.
    static constexpr float kFightRadius = 40.0f;
    // How near a door the player must be for its side of it to count.
    static constexpr float kDoorPassRadius = 3.0f;
    // Living characters other than players, non-player characters and guards.
    static int CountMonstersAlive();

private:
    void OnDeathBefore(const GameEvent_CreatureDeath& event);
    void OnDeathAfter(const GameEvent_CreatureDeath& event);
    void OnLevelUp(const GameEvent_CharacterId& event);
    void OnSkillUp(const GameEvent_CharacterId& event);
    void OnFixedItemUse(const GameEvent_FixedItemUse& event);
    void OnConversationBegin(const GameEvent_ConversationBegin& event);
    void OnActivateMarket(const GameEvent_ActivateNPCMarket& event);
    void OnEntityInitialUpdate(const GameEvent_GenericEntity& event);
    // A player stepped onto a script point: whose script it leads on.
    void OnScriptPoint(const GameEvent_ScriptPoint& event);
    // Creatures the proxies put into the world since the last frame.
    void ObserveProxies();
    // A quest's reward shown on this machine's screen (each machine runs its own player's quests).
    void OnBanner(const GameEvent_ShowTextBanner& event);
    // Lines that come in while a death is being handled follow the death's own line.
    void Print(const std::string& line);
    Player* FindPlayer() const;
    void ObserveFoes(const Player& player);
    // The skills an engaged foe started for the first time.
    void ObserveSkills(Character& foe);
    // What a skill of someone near made (pets, walls), once each.
    void ObserveSpawn(const Character& spawned);
    // Items that came to lie in the world since the last frame: loot falling.
    void ObserveLoot(const Player& player);
    // Doors opening and closing near the player, the player passing one, the respawn point it
    // bound itself to.
    void ObserveWorldObjects(const Player& player);

    std::FILE* mOut;
    std::uint32_t mPlayerId = 0;
    GameEventListener<PlayEventLog, GameEvent_CreatureDeath> mDeathBefore;
    std::optional<GameEventListener<PlayEventLog, GameEvent_CreatureDeath>> mDeathAfter;
    std::optional<GameEventListener<PlayEventLog, GameEvent_CharacterId>> mLevelUp;
    std::optional<GameEventListener<PlayEventLog, GameEvent_CharacterId>> mSkillUp;
    std::optional<GameEventListener<PlayEventLog, GameEvent_FixedItemUse>> mFixedItemUse;
    std::optional<GameEventListener<PlayEventLog, GameEvent_ConversationBegin>> mConversation;
    std::optional<GameEventListener<PlayEventLog, GameEvent_ActivateNPCMarket>> mMarket;
    GameEventListener<PlayEventLog, GameEvent_GenericEntity> mEntityInitialUpdate;
    std::vector<std::uint32_t> mProxies;    // spawn proxies that announced themselves
    std::vector<std::uint32_t> mAnnounced;  // creatures already told of, sorted
    std::vector<std::uint32_t> mProxyObjects;
    std::optional<GameEventListener<PlayEventLog, GameEvent_ShowTextBanner>> mBanner;
    std::optional<GameEventListener<PlayEventLog, GameEvent_ScriptPoint>> mScriptPoint;
    std::uint32_t mExperienceBefore = 0;
    std::uint32_t mActivatedMarket = 0;
    int mDeathDepth = 0;
    int mKills = 0;
    int mDeaths = 0;
    int mBossKills = 0;
    int mOthersKills = 0;
    std::vector<std::string> mHeld;
    Character_LifeState mLastLifeState = Character_LifeState::Alive;
    std::vector<std::uint32_t> mEngaged;  // characters whose attack target is the player
    std::vector<std::uint32_t> mStillEngaged;
    struct DoorSeen {
        std::uint32_t id = 0;
        std::uint32_t state = 0;
        int side = 0;  // which side of it the player stood on when last near it: -1, 0 or 1
    };
    std::vector<DoorSeen> mDoors;
    UniqueId mRespawnPoint;
    std::optional<TeleportMenu> mTeleportMenu;
    std::optional<TownLog> mTown;
    std::vector<Entity*> mNearby;
    struct SkillSeen {
        std::uint32_t character;
        std::string skill;
    };
    std::vector<SkillSeen> mSkillsSeen;
    std::vector<std::uint32_t> mSpawnsSeen;
    // Items seen lying in the world (a monster's worn items keep the ids reserved at its load).
    std::set<std::uint32_t> mItemsSeen;
};

}  // namespace GAME
