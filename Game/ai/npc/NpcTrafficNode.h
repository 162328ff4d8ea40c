#pragma once
// A node of a walking route for townsfolk: a volume that names the next node of its route by
// record name. The link resolves whether the next node starts before or after this one.
#include <cstdint>
#include <string>

#include "Game/core/GameEventListener.h"
#include "Game/core/GameEvents.h"
#include "Game/world/volumes/BoundingVolume.h"

namespace GAME {

class NpcTrafficNode : public BoundingVolume {
    RTTI_DECLARE(NpcTrafficNode)
public:
    NpcTrafficNode();

    void Load(const LoadTable& table) override;
    void InitialUpdate() override;

    // From this node to the next one; false without a resolved next node.
    bool GetDirectionToNextNode(Vec3& out) const;
    std::uint32_t GetNextNodeId() const { return mNextNodeId; }
    const std::string& GetNextNodeName() const { return mNextNodeName; }
    bool CanBeFinalDestination() const { return mCanBeFinalDestination; }

private:
    void OnEntityInitialUpdate(const GameEvent_GenericEntity& event);
    // Whether an entity's record name names the next node: the whole name, in any case and with
    // either slash (two nodes of one file name in different folders are different nodes).
    bool NamesNextNode(const std::string& objectName) const;

    std::uint32_t mNextNodeId = 0;
    std::string mNextNodeName;
    GameEventListener<NpcTrafficNode, GameEvent_GenericEntity> mInitialUpdateListener;
    bool mCanBeFinalDestination = true;
};

}  // namespace GAME
