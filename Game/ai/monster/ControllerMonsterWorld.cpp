// What ties a monster controller to the level: its patrol route, projectiles flying at it, its
// treasure proxy and the extra loot it drops.
#include <iterator>
#include <string>

#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/records/LoadTable.h"
#include "Engine/world/InstanceGroupManager.h"
#include "Game/ai/monster/ControllerMonster.h"
#include "Game/characters/monster/Monster.h"
#include "Game/core/GameEngine.h"
#include "Game/core/ObjectLookup.h"
#include "Game/core/players/PartyManager.h"
#include "Game/core/players/PlayerInfo.h"
#include "Game/items/loot/LootDrop.h"
#include "Game/items/loot/LootLoader.h"
#include "Game/world/projectiles/ProjectileBase.h"

namespace GAME {

void ControllerMonster::PostParentAttached() {
    ControllerAI::PostParentAttached();
    const Character* character = GetParentCharacter();
    if (!character)
        return;
    // Placed monsters walk the "Patrol Points" under their "Patrollers" group; spawned ones the
    // same under their proxy's "ProxyPatrollers" group.
    const bool placed = !character->GetUniqueId().IsNull();
    const UniqueId& member = placed ? character->GetUniqueId() : mProxyId;
    if (member.IsNull())
        return;
    const char* routeType = placed ? "Patrollers" : "ProxyPatrollers";
    InstanceGroupManager& groups = *InstanceGroupManager::Get();
    GroupListLock lock;
    std::vector<std::string> names;
    groups.GetGroupsThatContain(member, names);
    for (const std::string& name : names) {
        const InstanceGroup* group = groups.GetGroup(name);
        if (!group || group->GetType() != routeType)
            continue;
        for (std::size_t i = 0; i < group->GetNumChildren(); ++i)
            if (const InstanceGroup* child = group->GetChild(i);
                child->GetType() == "Patrol Points")
                child->FillIdList(mPatrolPoints);
    }
}

void ControllerMonster::ProjectileNotification(std::uint32_t projectileId) {
    if (mDodgeCountdown > 0)
        return;
    ControllerAI::ProjectileNotification(projectileId);
    const auto* projectile =
        Singleton<ObjectManager>::Get().GetObject<ProjectileBase>(projectileId);
    if (!projectile)
        return;
    if (const std::uint32_t caster = projectile->GetInfo().casterId)
        mAngerManager.AddAnger(caster, mProjectileAnger);
    mDodgeCountdown = mDodgeDelay;
}

void ControllerMonster::SetTreasureProxy(const std::string& recordName) {
    if (recordName.empty())
        return;
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    if (Object* previous = objects.GetObject(mTreasureProxyId))
        objects.DestroyObjectEx(previous, "Game/ControllerMonster", __LINE__);
    mTreasureProxyId = 0;
    Object* proxy = objects.CreateObjectFromFile(recordName);
    if (!proxy)
        return;
    if (!IsOfClass(proxy, "Proxy")) {
        gEngine->Log(1, "ControllerMonster: treasure proxy %s is not a Proxy", recordName.c_str());
        objects.DestroyObjectEx(proxy, "Game/ControllerMonster", __LINE__);
        return;
    }
    mTreasureProxyId = proxy->GetObjectId();
}

Actor* ControllerMonster::GetTreasureProxy() const {
    return Singleton<ObjectManager>::Get().GetObject<Actor>(mTreasureProxyId);
}

void ControllerMonster::CreateDropMiscItems() {
    Monster* monster = GetMonster();
    if (!monster || !gGameEngine)
        return;
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    const LoadTable record = objects.GetLoadTable(monster->GetObjectName());
    PlayerInfo players;
    gGameEngine->GetPlayerInfo(players);
    LootLoader loader;
    loader.SetLevel(monster->GetCharLevel(), players.averageLevel);
    loader.SetRandomizerWeightModifiers(monster->GetLootWeightModifiers());
    if (monster->GetClassification() != MonsterClassification_Common)
        loader.SetNoBrokenItems();
    static constexpr const char* kChanceKeys[] = {"chanceToEquipMisc1", "chanceToEquipMisc2",
                                                  "chanceToEquipMisc3"};
    static constexpr LootLoader::Location kLocations[] = {LootLoader::Misc1, LootLoader::Misc2,
                                                          LootLoader::Misc3};
    RandomUniform& random = gGameEngine->GetRandomGen();
    for (std::size_t i = 0; i < std::size(kChanceKeys); ++i) {
        const float chance = record.GetFloat(kChanceKeys[i], 0.0f);
        if (random.FGenerate(0.1f, 100.0f) > chance)
            continue;
        loader.Load(record, kLocations[i], LootLoader::kItemsPerLocation,
                    static_cast<unsigned>(gGameEngine->GetGameDifficulty()));
        ItemReplicaInfo item;
        loader.GetLootName(item.baseName, item.prefixName, item.suffixName, random);
        if (item.baseName.empty())
            continue;
        item.seed = gGameEngine->GetRandomSeed();
        DropLootRecord(monster->GetCoords(), item);
    }
    const ItemReplicaInfo& perMember = monster->GetDropPerPartyMemberItem();
    if (perMember.baseName.empty())
        return;
    const PartyManager* parties = gGameEngine->GetPartyManager();
    const int members = parties ? parties->GetNumInPlayersParty(monster->GetAttackerId()) : 1;
    for (int i = 0; i < members; ++i) {
        ItemReplicaInfo item = perMember;
        item.seed = gGameEngine->GetRandomSeed();
        DropLootRecord(monster->GetCoords(), item);
    }
}

}  // namespace GAME
