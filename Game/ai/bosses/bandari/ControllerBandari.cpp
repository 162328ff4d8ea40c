#include "Game/ai/bosses/bandari/ControllerBandari.h"

#include <string>
#include <vector>

#include "Engine/world/InstanceGroupManager.h"
#include "Engine/world/UniqueIdMap.h"
#include "Game/ai/bosses/bandari/ControllerTerracotta.h"
#include "Game/ai/controllers/CharacterController.h"
#include "Game/characters/Character.h"
#include "Game/world/proxies/Proxy.h"

namespace GAME {

RTTI_IMPLEMENT(ControllerBandari, ControllerMonster)

namespace {

constexpr const char* kBandariGroup = "Bandari";
constexpr const char* kPointsGroup = "Bandari Teleport Points";
constexpr const char* kWarriorsGroup = "Terracotta Warriors";

const InstanceGroup* FirstChildOfType(const InstanceGroup& group, const char* type) {
    for (std::size_t i = 0; i < group.GetNumChildren(); ++i)
        if (const InstanceGroup* child = group.GetChild(i); child->GetType() == type)
            return child;
    return nullptr;
}

void StartMarch(std::uint32_t characterId) {
    const auto* character = Singleton<ObjectManager>::Get().GetObject<Character>(characterId);
    if (ControllerTerracotta* warrior =
            character ? FindController<ControllerTerracotta>(*character) : nullptr)
        warrior->StartAttackMarch();
}

}  // namespace

ControllerBandari::ControllerBandari() = default;
ControllerBandari::~ControllerBandari() = default;

void ControllerBandari::PostParentAttached() {
    ControllerMonster::PostParentAttached();
    const Character* character = GetParentCharacter();
    if (!character)
        return;
    // A placed boss is a member of its group itself; a spawned one through its proxy, whose
    // last group of the kind counts.
    const bool placed = !character->GetUniqueId().IsNull();
    const UniqueId& member = placed ? character->GetUniqueId() : GetProxy();
    if (member.IsNull())
        return;
    InstanceGroupManager& groups = *InstanceGroupManager::Get();
    GroupListLock lock;
    std::vector<std::string> names;
    groups.GetGroupsThatContain(member, names);
    const InstanceGroup* bandari = nullptr;
    for (const std::string& name : names) {
        const InstanceGroup* group = groups.GetGroup(name);
        if (!group || group->GetType() != kBandariGroup)
            continue;
        bandari = group;
        if (placed)
            break;
    }
    if (!bandari)
        return;
    if (const InstanceGroup* points = FirstChildOfType(*bandari, kPointsGroup))
        points->FillIdList(mTeleportPoints);
}

void ControllerBandari::InitialUpdate() {
    ControllerMonster::InitialUpdate();
    if (const Character* character = GetParentCharacter())
        mStartingLife = character->GetCurrentLife();
}

void ControllerBandari::Update(int ms) {
    ControllerMonster::Update(ms);
    const Character* character = GetParentCharacter();
    // A falling boss does not jump away.
    if (!mArmed || !HasPointsLeft() || !character || !character->IsAlive() || mStartingLife <= 0.0f)
        return;
    // With three points: at 3/4, 2/4 and 1/4 of the starting life.
    const float points = static_cast<float>(mTeleportPoints.size());
    const float threshold = (points - static_cast<float>(mNextTeleport)) / (points + 1.0f);
    if (threshold > character->GetCurrentLife() / mStartingLife)
        TeleportToNextPoint();
}

void ControllerBandari::RegisterStates() {
    ControllerMonster::RegisterStates();
}

bool ControllerBandari::ClosestEnemyFoundOverride(std::uint32_t, float) {
    if (!HasPointsLeft() || !mArmed)
        return false;
    return TeleportToNextPoint();
}

bool ControllerBandari::TeleportToNextPoint() {
    if (!HasPointsLeft())
        return false;
    const UniqueId& pointId = mTeleportPoints[static_cast<std::size_t>(mNextTeleport)];
    const Entity* point = UniqueIdMap::Get().GetEntity(pointId);
    if (!point)
        return false;
    // Scratch kept between calls: a point without warriors is asked again every frame.
    thread_local std::vector<std::string> names;
    thread_local std::vector<UniqueId> members;
    thread_local std::vector<std::uint32_t> placed;
    names.clear();
    members.clear();
    InstanceGroupManager& groups = *InstanceGroupManager::Get();
    {
        GroupListLock lock;
        groups.GetGroupsThatContain(pointId, names);
        const InstanceGroup* warriors = nullptr;
        for (const std::string& name : names) {
            const InstanceGroup* group = groups.GetGroup(name);
            if (group && group->GetType() == kPointsGroup)
                warriors = FirstChildOfType(*group, kWarriorsGroup);
            if (warriors)
                break;
        }
        if (!warriors)
            return false;
        warriors->FillIdList(members);
    }
    for (const UniqueId& id : members) {
        Entity* entity = UniqueIdMap::Get().GetEntity(id);
        if (!entity)
            continue;
        if (entity->IsA<Character>()) {
            StartMarch(entity->GetObjectId());
        } else if (entity->IsA<Proxy>()) {
            static_cast<const Proxy*>(entity)->GetPlacedObjects(placed);
            for (std::uint32_t monster : placed)
                StartMarch(monster);
        }
    }
    AddTemporaryState("UseSkillOnPoint", ControllerAIStateData({.skill = GetSpecialAttack5SkillId(),
                                                                .point = point->GetPosition()}));
    ++mNextTeleport;
    mArmed = false;
    return true;
}

void ControllerBandari::Teleported(const WorldCoords& coords) {
    mArmed = true;
    if (Character* character = GetParentCharacter())
        character->SetSpawnPoint(coords);
    ClearAnger();
}

}  // namespace GAME
