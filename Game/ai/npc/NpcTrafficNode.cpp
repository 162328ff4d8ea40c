#include "Game/ai/npc/NpcTrafficNode.h"

#include "Engine/object/ObjectManager.h"
#include "Engine/records/LoadTable.h"
#include "Game/core/util/StringUtil.h"

namespace GAME {

RTTI_IMPLEMENT(NpcTrafficNode, BoundingVolume)

NpcTrafficNode::NpcTrafficNode()
    : mInitialUpdateListener(GameEventName("GenericEntityInitialUpdate"), "NpcTrafficNode") {
    mInitialUpdateListener.SetOwner(this, &NpcTrafficNode::OnEntityInitialUpdate);
}

void NpcTrafficNode::Load(const LoadTable& table) {
    BoundingVolume::Load(table);
    mNextNodeName = table.GetString("nextTrafficNode");
    mCanBeFinalDestination = table.GetBool("canBeFinalDestination", true);
}

bool NpcTrafficNode::NamesNextNode(const std::string& objectName) const {
    return PathEqualsNoCaseStr(objectName, mNextNodeName);
}

void NpcTrafficNode::InitialUpdate() {
    BoundingVolume::InitialUpdate();
    if (mNextNodeName.empty())
        return;
    // The world's entities in the order they were made, which every machine shares.
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    for (std::uint32_t id : objects.GetObjectIds())
        if (const Entity* entity = objects.GetObject<Entity>(id);
            entity && entity != this && entity->IsInWorld() &&
            NamesNextNode(entity->GetObjectName())) {
            mNextNodeId = id;
            return;
        }
}

void NpcTrafficNode::OnEntityInitialUpdate(const GameEvent_GenericEntity& event) {
    if (mNextNodeName.empty() || event.objectId == GetObjectId() ||
        !NamesNextNode(event.objectName))
        return;
    mNextNodeId = event.objectId;
}

bool NpcTrafficNode::GetDirectionToNextNode(Vec3& out) const {
    const auto* next = Singleton<ObjectManager>::Get().GetObject<NpcTrafficNode>(mNextNodeId);
    if (!next)
        return false;
    out = GetPosition().VectorTo(next->GetPosition());
    return true;
}

}  // namespace GAME
