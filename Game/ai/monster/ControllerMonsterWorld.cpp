// What ties a monster controller to the level: its patrol route, projectiles flying at it, its
// treasure proxy and the extra loot it drops.
#include <string>

#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/records/LoadTable.h"
#include "Game/ai/monster/ControllerMonster.h"
#include "Game/characters/monster/Monster.h"
#include "Game/core/GameEngine.h"
#include "Game/core/players/PartyManager.h"
#include "Game/core/util/SeamLog.h"

namespace GAME {

namespace {

// True when the object is of the named class or derives from it; the class may belong to a
// subsystem that is not linked in, and then nothing is of it.
bool IsOfClass(const Object* object, const char* className) {
    const RTTI_ClassInfo* info = Object::classInfo.FindByName(className);
    return object && info && object->GetClassInfo().IsA(*info);
}

}  // namespace

void ControllerMonster::PostParentAttached() {
    ControllerAI::PostParentAttached();
    const Character* character = GetParentCharacter();
    if (!character)
        return;
    // Placed monsters walk the "Patrol Points" under their "Patrollers" group; spawned ones the
    // same under their proxy's "ProxyPatrollers" group.
    if (!character->GetUniqueId().IsNull() || !mProxyId.IsNull())
        ReportSeam("ControllerMonster", "InstanceGroupManager::GetGroupsThatContain");
}

void ControllerMonster::ProjectileNotification(std::uint32_t projectileId) {
    if (mDodgeCountdown > 0)
        return;
    ControllerAI::ProjectileNotification(projectileId);
    const Object* object = Singleton<ObjectManager>::Get().GetObject(projectileId);
    if (!IsOfClass(object, "ProjectileBase"))
        return;
    // The caster, who would earn ProjectileAnger, is read from the projectile's info.
    ReportSeam("ControllerMonster", "ProjectileBase::GetProjectileInfo");
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
    const LoadTable record = Singleton<ObjectManager>::Get().GetLoadTable(monster->GetObjectName());
    static constexpr const char* kChanceKeys[] = {"chanceToEquipMisc1", "chanceToEquipMisc2",
                                                  "chanceToEquipMisc3"};
    for (const char* key : kChanceKeys) {
        const float chance = record.GetFloat(key, 0.0f);
        if (gGameEngine->GetRandomGen().FGenerate(0.1f, 100.0f) <= chance)
            ReportSeam("ControllerMonster", "the loot table loader");
    }
    const ItemReplicaInfo& perMember = monster->GetDropPerPartyMemberItem();
    if (perMember.baseName.empty())
        return;
    const PartyManager* parties = gGameEngine->GetPartyManager();
    const int members = parties ? parties->GetNumInPlayersParty(monster->GetAttackerId()) : 1;
    for (int i = 0; i < members; ++i) {
        ItemReplicaInfo item = perMember;
        item.objectId = Singleton<ObjectManager>::Get().CreateObjectID();
        item.seed = gGameEngine->GetRandomSeed();
        gGameEngine->CreateItem(monster->GetCoords(), item);
    }
}

}  // namespace GAME
