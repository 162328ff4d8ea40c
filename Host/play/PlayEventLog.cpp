#include "Host/play/PlayEventLog.h"

#include <algorithm>
#include <filesystem>

#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/world/World.h"
#include "Game/characters/Player.h"
#include "Game/characters/monster/Guard.h"
#include "Game/characters/monster/Monster.h"
#include "Game/characters/npc/Npc.h"
#include "Game/core/GameEngine.h"
#include "Game/items/Item.h"
#include "Game/items/ItemClassification.h"
#include "Game/quests/dialog/NpcDialogPak.h"
#include "Game/skills/Skill.h"
#include "Game/skills/manager/SkillManager.h"
#include "Game/skills/manager/SkillSpawnIds.h"
#include "Game/world/fixeditems/FixedItemContainer.h"
#include "Game/world/fixeditems/FixedItemDoor.h"
#include "Game/world/proxies/ProxyAmbush.h"
#include "Game/world/strategic/StrategicMovementBase.h"
#include "Host/PrintableText.h"
#include "Host/play/HostSaves.h"

namespace GAME {

std::string PlainItemText(const std::wstring& text) {
    std::wstring plain;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'{' && i + 3 < text.size() && text[i + 1] == L'^' && text[i + 3] == L'}') {
            i += 3;
            continue;
        }
        plain += text[i];
    }
    // A name without a prefix leaves a blank after its colour code.
    const std::size_t first = plain.find_first_not_of(L' ');
    const std::size_t last = plain.find_last_not_of(L' ');
    return PrintableText(first == std::wstring::npos ? std::wstring()
                                                     : plain.substr(first, last - first + 1));
}

namespace {

std::string ItemText(const std::wstring& text) {
    return PlainItemText(text);
}

std::string Stamp() {
    char text[32];
    std::snprintf(text, sizeof text, "[%7.1f s] ",
                  static_cast<double>(gEngine->GetGameTime()) / 1000.0);
    return text;
}

std::string SignedAmount(std::int64_t amount) {
    char text[24];
    std::snprintf(text, sizeof text, "%+lld", static_cast<long long>(amount));
    return text;
}

}  // namespace

PlayEventLog::PlayEventLog(std::FILE* out)
    : mOut(out),
      mDeathBefore(GameEventName("CreatureDeath"), "PlayEventLog"),
      mEntityInitialUpdate(GameEventName("GenericEntityInitialUpdate"), "PlayEventLog") {
    mDeathBefore.SetOwner(this, &PlayEventLog::OnDeathBefore);
    mEntityInitialUpdate.SetOwner(this, &PlayEventLog::OnEntityInitialUpdate);
}

PlayEventLog::~PlayEventLog() = default;

void PlayEventLog::Attach(std::uint32_t playerId) {
    mPlayerId = playerId;
    mDeathAfter.emplace(GameEventName("CreatureDeath"), "PlayEventLog");
    mDeathAfter->SetOwner(this, &PlayEventLog::OnDeathAfter);
    mLevelUp.emplace(GameEventName("PlayerLevelUp"), "PlayEventLog");
    mLevelUp->SetOwner(this, &PlayEventLog::OnLevelUp);
    mSkillUp.emplace(GameEventName("PlayerSkillUp"), "PlayEventLog");
    mSkillUp->SetOwner(this, &PlayEventLog::OnSkillUp);
    mTeleportMenu.emplace(playerId, [this](const std::string& line) { Print(Stamp() + line); });
    mTown.emplace(playerId, [this](const std::string& line) { Print(Stamp() + line); });
    mFixedItemUse.emplace(GameEventName("FixedItemUse"), "PlayEventLog");
    mFixedItemUse->SetOwner(this, &PlayEventLog::OnFixedItemUse);
    mConversation.emplace(GameEventName("ConversationBegin"), "PlayEventLog");
    mConversation->SetOwner(this, &PlayEventLog::OnConversationBegin);
    mMarket.emplace(GameEventName("ActivateNPCMarket"), "PlayEventLog");
    mMarket->SetOwner(this, &PlayEventLog::OnActivateMarket);
    mBanner.emplace(GameEventName("ShowTextBanner"), "PlayEventLog");
    mBanner->SetOwner(this, &PlayEventLog::OnBanner);
    mScriptPoint.emplace(GameEventName("ScriptPoint"), "PlayEventLog");
    mScriptPoint->SetOwner(this, &PlayEventLog::OnScriptPoint);
    if (const Player* player = FindPlayer())
        mLastLifeState = player->GetLifeState();
}

Player* PlayEventLog::FindPlayer() const {
    return mPlayerId ? Singleton<ObjectManager>::Get().GetObject<Player>(mPlayerId) : nullptr;
}

std::string PlayEventLog::RecordStem(std::string record) {
    std::replace(record.begin(), record.end(), '\\', '/');
    return std::filesystem::path(record).stem().string();
}

std::string PlayEventLog::DescribeCharacter(const Character* character, std::uint32_t id) {
    if (const auto* player = dynamic_cast<const Player*>(character);
        player && !player->GetPlayerNameInChar().empty())
        return player->GetPlayerNameInChar();
    std::string name = "someone";
    if (character && !character->GetObjectName().empty())
        name = RecordStem(character->GetObjectName());
    return name + " " + std::to_string(id);
}

int PlayEventLog::CountMonstersAlive() {
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    int alive = 0;
    for (std::uint32_t id : objects.GetObjectIds()) {
        const Character* character = objects.GetObject<Character>(id);
        if (character && !character->IsA(Player::classInfo) && !character->IsA<Npc>() &&
            !character->IsA<Guard>() && character->IsInWorld() && character->IsAlive())
            ++alive;
    }
    return alive;
}

void PlayEventLog::PrintStamped(const std::string& line) {
    Print(Stamp() + line);
}

void PlayEventLog::Print(const std::string& line) {
    if (mDeathDepth > 0)
        mHeld.push_back(line);
    else
        std::fprintf(mOut, "%s\n", line.c_str());
}

void PlayEventLog::OnDeathBefore(const GameEvent_CreatureDeath&) {
    if (++mDeathDepth == 1) {
        const Player* player = FindPlayer();
        mExperienceBefore = player ? player->GetExperiencePoints() : 0;
    }
}

void PlayEventLog::OnDeathAfter(const GameEvent_CreatureDeath& event) {
    if (mDeathDepth == 0)
        return;  // attached while a death was being handled
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    const auto* victim = objects.GetObject<Character>(event.objectId);
    const auto* killer = objects.GetObject<Character>(event.attackerId);
    const Player* player = FindPlayer();
    const std::int64_t gained = player ? static_cast<std::int64_t>(player->GetExperiencePoints()) -
                                             static_cast<std::int64_t>(mExperienceBefore)
                                       : 0;
    const std::string killerName = DescribeCharacter(killer, event.attackerId);
    std::string line = Stamp();
    if (event.objectId == mPlayerId) {
        ++mDeaths;
        line += "you died";
        if (event.attackerId != 0)
            line += ", killed by " + killerName;
        if (gained != 0)
            line += " (" + SignedAmount(gained) + " experience)";
    } else {
        const std::uint32_t master =
            gGameEngine ? gGameEngine->GetMasterAttacker(event.attackerId) : event.attackerId;
        const std::string victimName = DescribeCharacter(victim, event.objectId);
        const auto* masterPlayer = objects.GetObject<Player>(master);
        if (master == mPlayerId && mPlayerId != 0) {
            ++mKills;
            if (const auto* monster = dynamic_cast<const Monster*>(victim);
                monster && (monster->GetClassification() == MonsterClassification_Boss ||
                            !monster->GetBossBoundingVolume().empty()))
                ++mBossKills;
            line += "you killed " + victimName;
        } else if (masterPlayer) {
            // Another machine's player (or its pet): the kill is theirs here too.
            ++mOthersKills;
            line += DescribeCharacter(masterPlayer, master) + " killed " + victimName;
        } else if (event.attackerId != 0)
            line += victimName + " was killed by " + killerName;
        else
            line += victimName + " died";
        if (gained != 0)
            line += " (" + SignedAmount(gained) + " experience)";
    }
    std::fprintf(mOut, "%s\n", line.c_str());
    if (--mDeathDepth == 0) {
        for (const std::string& held : mHeld)
            std::fprintf(mOut, "%s\n", held.c_str());
        mHeld.clear();
    }
}

void PlayEventLog::OnLevelUp(const GameEvent_CharacterId& event) {
    if (event.objectId != mPlayerId)
        return;
    if (const Player* player = FindPlayer())
        Print(Stamp() + "you reached level " + std::to_string(player->GetCharLevel()));
}

void PlayEventLog::OnSkillUp(const GameEvent_CharacterId& event) {
    if (event.objectId != mPlayerId)
        return;
    if (const Player* player = FindPlayer())
        Print(Stamp() + "skill points to spend: " + std::to_string(player->GetSkillPoints()));
}

void PlayEventLog::OnFixedItemUse(const GameEvent_FixedItemUse& event) {
    if (event.userId != mPlayerId)
        return;
    const auto* item = Singleton<ObjectManager>::Get().GetObject<FixedItem>(event.itemId);
    if (!item)
        return;
    const char* verb = item->IsA<FixedItemContainer>() ? "you opened " : "you used ";
    Print(Stamp() + verb + ItemText(item->GetGameDescription(false)));
}

void PlayEventLog::OnEntityInitialUpdate(const GameEvent_GenericEntity& event) {
    if (Singleton<ObjectManager>::Get().GetObject<Proxy>(event.objectId) &&
        std::find(mProxies.begin(), mProxies.end(), event.objectId) == mProxies.end())
        mProxies.push_back(event.objectId);
}

void PlayEventLog::ObserveProxies() {
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    for (std::uint32_t proxyId : mProxies) {
        auto* proxy = objects.GetObject<Proxy>(proxyId);
        if (!proxy)
            continue;
        const auto* ambush = dynamic_cast<const ProxyAmbush*>(proxy);
        if (ambush)
            mProxyObjects = ambush->GetActiveObjects();
        else
            proxy->GetPlacedObjects(mProxyObjects);
        std::string names;
        int count = 0;
        for (std::uint32_t id : mProxyObjects) {
            const auto* monster = objects.GetObject<Monster>(id);
            const auto at = std::lower_bound(mAnnounced.begin(), mAnnounced.end(), id);
            if (!monster || (at != mAnnounced.end() && *at == id))
                continue;
            mAnnounced.insert(at, id);
            ++count;
            names += (names.empty() ? "" : ", ") + DescribeCharacter(monster, id);
            const MonsterClassification kind = monster->GetClassification();
            if (kind == MonsterClassification_Champion)
                names += " (champion)";
            else if (kind == MonsterClassification_Hero || kind == MonsterClassification_Boss)
                names += kind == MonsterClassification_Boss ? " (boss)" : " (hero)";
        }
        if (names.empty())
            continue;
        const Region* region = proxy->GetRegion();
        const std::string where = region ? " in " + region->GetName() : std::string();
        Print(Stamp() + (ambush ? "ambush! " + names + " leaps out" + where
                                : names + (count == 1 ? " lurks" : " lurk") + where));
    }
}

void PlayEventLog::OnBanner(const GameEvent_ShowTextBanner& event) {
    Print(Stamp() + "quest reward: " + ItemText(event.text));
}

void PlayEventLog::OnConversationBegin(const GameEvent_ConversationBegin& event) {
    const auto* npc = Singleton<ObjectManager>::Get().GetObject<Npc>(event.npcId);
    if (event.playerId == mPlayerId && npc)
        Print(Stamp() + "you talk to " + HostSaves::NpcName(*npc));
}

void PlayEventLog::OnActivateMarket(const GameEvent_ActivateNPCMarket& event) {
    const auto* merchant = Singleton<ObjectManager>::Get().GetObject<Npc>(event.merchantId);
    if (event.playerId != mPlayerId || !merchant)
        return;
    mActivatedMarket = event.merchantId;
    const std::string name = HostSaves::NpcName(*merchant);
    if (const NpcDialogPak* pack = merchant->GetDialogPak(); pack && !pack->GetText().empty())
        Print(Stamp() + name + " says: \"" + PrintableText(pack->GetText()) + "\"");
    if (!gGameEngine->GetMarketInventorySack(event.merchantId, Market_TypeEnum::Miscellaneous))
        Print(Stamp() + name + " has no market open");
}

void PlayEventLog::OnScriptPoint(const GameEvent_ScriptPoint& event) {
    Print(Stamp() + "a player steps onto " + RecordStem(event.targetName) + "'s mark " +
          std::to_string(event.index));
}

void PlayEventLog::Observe() {
    ObserveProxies();
    const Player* player = FindPlayer();
    if (!player)
        return;
    ObserveLoot(*player);
    if (mTown)
        mTown->Observe(*player);
    const Character_LifeState state = player->GetLifeState();
    const bool wasDown = mLastLifeState == Character_LifeState::Dead ||
                         mLastLifeState == Character_LifeState::Respawning ||
                         mLastLifeState == Character_LifeState::Dying;
    if (wasDown && state == Character_LifeState::Alive) {
        const WorldVec3 at = player->GetPosition();
        char where[96];
        std::snprintf(where, sizeof where, " at (%.1f, %.1f, %.1f) in %s",
                      static_cast<double>(at.local.x), static_cast<double>(at.local.y),
                      static_cast<double>(at.local.z),
                      at.region ? at.region->GetName().c_str() : "no region");
        Print(Stamp() + "you respawned" + where + ", life " +
              std::to_string(player->GetCurrentLifeInt()));
    }
    mLastLifeState = state;
    ObserveFoes(*player);
    ObserveWorldObjects(*player);
}

void PlayEventLog::ObserveWorldObjects(const Player& player) {
    if (player.GetCurrentRespawnPoint() != mRespawnPoint) {
        mRespawnPoint = player.GetCurrentRespawnPoint();
        if (const auto* shrine = dynamic_cast<const StrategicMovementBase*>(
                World::Get().FindPlacedEntity(mRespawnPoint)))
            Print(Stamp() + "you bound yourself to the " +
                  ItemText(shrine->GetGameDescription(false)));
    }
    if (!player.IsInWorld())
        return;
    const WorldCoords& coords = player.GetCoords();
    mNearby.clear();
    World::Get().GetEntitiesInSphere(
        mNearby, coords.region, Sphere{coords.coords.origin, kFightRadius}, EntityListType::Actors);
    for (Entity* entity : mNearby) {
        if (!entity->IsA<FixedItemDoorBase>())
            continue;
        const auto& door = static_cast<const FixedItemDoorBase&>(*entity);
        auto seen = std::find_if(mDoors.begin(), mDoors.end(),
                                 [&](const DoorSeen& d) { return d.id == door.GetObjectId(); });
        if (seen == mDoors.end())
            seen = mDoors.insert(mDoors.end(),
                                 DoorSeen{door.GetObjectId(), door.GetCurrentState(), 0});
        const std::string name = "the " + ItemText(door.GetGameDescription(false));
        if (door.GetCurrentState() != seen->state) {
            seen->state = door.GetCurrentState();
            if (seen->state == FixedItemState_DoorOpen || seen->state == FixedItemState_DoorClosed)
                Print(Stamp() + name +
                      (seen->state == FixedItemState_DoorOpen ? " opens" : " closes"));
        }
        int side = 0;
        if (player.GetPosition().DistanceTo(door.GetPosition()) <= kDoorPassRadius) {
            WorldCoords at = player.GetCoords();
            side = door.IsCharacterInFront(at) ? 1 : -1;
        }
        if (side != 0 && seen->side != 0 && side != seen->side)
            Print(Stamp() + "you walked through " + name);
        if (side != 0 || player.GetPosition().DistanceTo(door.GetPosition()) > 2 * kDoorPassRadius)
            seen->side = side;
    }
}

void PlayEventLog::ObserveFoes(const Player& player) {
    mStillEngaged.clear();
    if (player.IsInWorld()) {
        const WorldCoords& coords = player.GetCoords();
        mNearby.clear();
        World::Get().GetEntitiesInSphere(mNearby, coords.region,
                                         Sphere{coords.coords.origin, kFightRadius},
                                         EntityListType::Actors);
        for (Entity* entity : mNearby) {
            if (!entity->IsA(Character::classInfo) || entity == &player)
                continue;
            auto& character = static_cast<Character&>(*entity);
            // What a skill made: a pet, a wall, a creature risen from a death.
            if (character.IsAlive() &&
                (character.IsOwnedByClient() || IsSkillSpawnId(character.GetObjectId())))
                ObserveSpawn(character);
            if (!character.IsAlive() || character.GetCurrentAttackTargetId() != mPlayerId)
                continue;
            const std::uint32_t id = character.GetObjectId();
            mStillEngaged.push_back(id);
            if (std::find(mEngaged.begin(), mEngaged.end(), id) == mEngaged.end())
                Print(Stamp() + DescribeCharacter(&character, id) + " joins the fight");
            ObserveSkills(character);
        }
    }
    mEngaged.swap(mStillEngaged);
}

void PlayEventLog::ObserveSkills(Character& foe) {
    const std::uint32_t id = foe.GetObjectId();
    const std::map<std::string, int>& used = foe.GetPlayStats().GetSkillsUsed();
    if (used.empty())
        return;
    const Skill* plain =
        Singleton<ObjectManager>::Get().GetObject<Skill>(foe.GetSkillManager().GetDefaultSkillId());
    for (const auto& [skill, count] : used) {
        if (count == 0 || (plain && plain->GetObjectName() == skill))
            continue;
        const std::string& name = skill;  // a lambda may not name a structured binding in clang 14
        const bool seen = std::any_of(mSkillsSeen.begin(), mSkillsSeen.end(), [&](const auto& s) {
            return s.character == id && s.skill == name;
        });
        if (seen)
            continue;
        mSkillsSeen.push_back({id, skill});
        Print(Stamp() + DescribeCharacter(&foe, id) + " uses " + RecordStem(skill));
    }
}

void PlayEventLog::ObserveSpawn(const Character& spawned) {
    const std::uint32_t id = spawned.GetObjectId();
    if (std::find(mSpawnsSeen.begin(), mSpawnsSeen.end(), id) != mSpawnsSeen.end())
        return;
    mSpawnsSeen.push_back(id);
    const std::uint32_t masterId = spawned.GetMasterId();
    const auto* master =
        masterId ? Singleton<ObjectManager>::Get().GetObject<Character>(masterId) : nullptr;
    if (masterId == mPlayerId && masterId != 0) {
        Print(Stamp() + DescribeCharacter(&spawned, id) + " comes to your side");
        // What the player would read of it on the pet's panel.
        std::vector<GameTextLine> summary;
        spawned.CreateUISummaryText(GameTextClass_PetSkillStatsCurrent, summary);
        for (const GameTextLine& line : summary)
            if (line.text != L" ")
                Print(Stamp() + "  " + PrintableText(line.text));
    } else if (master)
        Print(Stamp() + DescribeCharacter(&spawned, id) + " comes to " +
              DescribeCharacter(master, masterId) + "'s side");
    else
        Print(Stamp() + DescribeCharacter(&spawned, id) + " rises");
}

void PlayEventLog::PrintProgress(int frame) {
    const Player* player = FindPlayer();
    if (!player)
        return;
    const WorldVec3 at = player->GetPosition();
    char line[200];
    std::snprintf(line, sizeof line,
                  "frame %d: level %u, life %d/%d, experience %u (%s) at (%.1f, %.1f) in %s, %d "
                  "monsters alive",
                  frame, player->GetCharLevel(), player->GetCurrentLifeInt(),
                  static_cast<int>(player->GetLifeLimit()), player->GetExperiencePoints(),
                  player->GetLifeStateAsText(), static_cast<double>(at.local.x),
                  static_cast<double>(at.local.z),
                  at.region ? at.region->GetName().c_str() : "no region", CountMonstersAlive());
    Print(Stamp() + line);
}

void PlayEventLog::ObserveLoot(const Player& player) {
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    const WorldVec3 from = player.GetPosition();
    for (const std::uint32_t id : objects.GetObjectIds()) {
        if (mItemsSeen.count(id) != 0)
            continue;
        const Item* item = objects.GetObject<Item>(id);
        if (!item || !item->IsInWorld())
            continue;
        mItemsSeen.insert(id);
        if (from.DistanceTo(item->GetCoords().GetPosition()) > kFightRadius)
            continue;
        std::wstring description;
        item->GetGameDescription(description);
        Print(Stamp() + "loot falls: " + ItemText(description));
    }
}

void PlayEventLog::OnPickedUp(const std::wstring& description) {
    Print(Stamp() + "you picked up " + ItemText(description));
}

void PlayEventLog::OnPotionDrunk(const std::wstring& description, int life, int lifeLimit,
                                 std::uint32_t left) {
    Print(Stamp() + "you drink " + ItemText(description) + " from the hot-slot bar at life " +
          std::to_string(life) + " of " + std::to_string(lifeLimit) + " (" + std::to_string(left) +
          " left)");
}

void PlayEventLog::OnMarketDeal(bool bought, const std::wstring& item, const std::string& merchant,
                                unsigned gold) {
    Print(Stamp() + (bought ? "you buy " : "you sell ") + ItemText(item) +
          (bought ? " from " : " to ") + merchant + " for " + std::to_string(gold) + " gold");
}

}  // namespace GAME
