#include "Game/ai/npc/ControllerNpc2.h"

#include <memory>
#include <string>

#include "Engine/object/ObjectManager.h"
#include "Engine/records/LoadTable.h"
#include "Engine/world/InstanceGroupManager.h"
#include "Engine/world/World.h"
#include "Game/ai/npc/NpcStates.h"
#include "Game/characters/Player.h"
#include "Game/core/GameEngine.h"

namespace GAME {

RTTI_IMPLEMENT(ControllerNpc2, ControllerAI)

ControllerNpc2::ControllerNpc2() {
    SetIgnoreEquipmentRequirements(true);
}

void ControllerNpc2::Load(const LoadTable& table) {
    ControllerAI::Load(table);
    mSocialRadius = table.GetFloat("npcSocialRadius", 0.0f);
    mAlertRadius = table.GetFloat("npcAlertRadius", 0.0f);
    mIdleTimeMin = static_cast<int>(table.GetFloat("npcIdleTimeMin", 0.0f) * 1000.0f);
    mIdleTimeMax = static_cast<int>(table.GetFloat("npcIdleTimeMax", 0.0f) * 1000.0f);
    mRandom.SeedFor(GetObjectId());
}

void ControllerNpc2::PostParentAttached() {
    ControllerAI::PostParentAttached();
    const Character* character = GetParentCharacter();
    if (!character || character->GetUniqueId().IsNull())
        return;
    InstanceGroupManager& groups = *InstanceGroupManager::Get();
    GroupListLock lock;
    std::vector<std::string> names;
    groups.GetGroupsThatContain(character->GetUniqueId(), names);
    for (const std::string& name : names) {
        const InstanceGroup* group = groups.GetGroup(name);
        if (!group || group->GetTypeString() != kWanderersGroup)
            continue;
        for (std::size_t i = 0; i < group->GetNumChildren(); ++i)
            if (const InstanceGroup* child = group->GetChild(i);
                child->GetTypeString() == kWanderPointsGroup)
                child->FillIdList(mWanderPoints);
    }
}

void ControllerNpc2::RegisterStates() {
    AddState<ControllerNpcStateIdle>("Idle", this);
    AddState<ControllerNpcStateLongIdle>("LongIdle", this);
    AddState<ControllerNpcStateWander>("Wander", this);
    AddState<ControllerNpcStateChat>("Chat", this);
    AddState<ControllerNpcStateWatchAttraction>("WatchAttraction", this);
    AddState<ControllerNpcStateQuestMove>("QuestMove", this);
    AddState<ControllerNpcStateQuestWalk>("QuestWalk", this);
    AddState<ControllerNpcStateQuestPlayAnimation>("QuestPlayAnimation", this);
}

void ControllerNpc2::InitializeStates() {
    SetState("Idle", ControllerAIStateData());
}

void ControllerNpc2::DebugRender() {
    ControllerAI::DebugRender();
    static const std::string kRule(16, '-');
    PushDebugRenderText(kRule);
    if (ControllerAIState* wander = GetState("Wander"); wander && wander != GetExecutingState())
        wander->DebugRender();
}

void ControllerNpc2::OnDebugRenderClick() {
    mDebugRenderClicked = !mDebugRenderClicked;
}

void ControllerNpc2::GetPlayersInRadius(float radius, std::vector<std::uint32_t>& out) const {
    out.clear();
    const Character* character = GetParentCharacter();
    if (!character || !character->GetRegion())
        return;
    std::vector<Entity*> found;
    World::Get().GetEntitiesInSphere(found, character->GetRegion(),
                                     Sphere{character->GetPosition().GetRegionPosition(), radius},
                                     EntityListType::Actors);
    for (const Entity* entity : found)
        if (entity->IsA<Player>())
            out.push_back(entity->GetObjectId());
}

std::uint32_t ControllerNpc2::GetSocialTarget() {
    const Character* character = GetParentCharacter();
    if (!character)
        return 0;
    std::vector<std::uint32_t> players;
    GetPlayersInRadius(mSocialRadius, players);
    if (!players.empty())
        return FindClosestActor(character->GetPosition(), players);
    GetPlayersInRadius(mAlertRadius, players);
    if (!players.empty()) {
        const std::uint32_t closest = FindClosestActor(character->GetPosition(), players);
        if (Singleton<ObjectManager>::Get().GetObject<Player>(closest)) {
            mAlerted = true;
            return closest;
        }
    }
    mSocialCount = 0;
    mSocialDistance = 0.0f;
    mAlerted = false;
    return 0;
}

}  // namespace GAME
