#include "Game/quests/actions/BoundAction.h"

#include <algorithm>

#include "Engine/Engine.h"
#include "Engine/streams/IOStream.h"
#include "Game/characters/CharacterEvents.h"
#include "Game/core/ObjectLookup.h"
#include "Game/quests/QuestRepository.h"
#include "Game/quests/conditions/QuestCondition.h"
#include "Game/world/proxies/Proxy.h"

namespace GAME {

bool IsNetworkedClient() {
    return gEngine->IsNetworkEnabled() && !DecidesGame();
}

void BoundAction::StreamChildProperties(IOStream& stream) {
    stream.StreamBool("isPendingFire", mPending);
}

void BoundAction::Register(const std::string& name, bool creatures, bool entities) {
    if (name.empty())
        return;
    QuestRepository& quests = *QuestRepository::Get();
    if (creatures)
        quests.AddCreatureInitialUpdate(name, this);
    if (entities)
        quests.AddGenericEntityInitialUpdate(name, this);
}

void BoundAction::AddBound(std::uint32_t id) {
    if (id != 0 && std::find(mBound.begin(), mBound.end(), id) == mBound.end())
        mBound.push_back(id);
}

void BoundAction::OnCreatureInitialUpdate(const GameEvent_CreatureInitialUpdate& event) {
    BindCreature(event.objectName, event.objectId);
    Rebind();
}

void BoundAction::OnGenericEntityInitialUpdate(const GameEvent_GenericEntity& event) {
    BindEntity(event.objectName, event.objectId);
    Rebind();
}

void BoundAction::OnGenericEntityInitialUpdate_Net(const QuestNetMsg_ProxySpawn& message) {
    BindProxyObjects(message);
    Rebind();
}

void BoundAction::BindCreature(const std::string&, std::uint32_t id) {
    AddBound(id);
}

void BoundAction::BindEntity(const std::string&, std::uint32_t id) {
    if (auto* proxy = dynamic_cast<Proxy*>(Objects().GetObject(id))) {
        std::vector<std::uint32_t> objects;
        proxy->GetPrimaryObjects(objects);
        for (std::uint32_t object : objects)
            AddBound(object);
        return;
    }
    AddBound(id);
}

void BoundAction::BindProxyObjects(const QuestNetMsg_ProxySpawn& message) {
    mBound = message.primaryObjects;
}

void BoundAction::FirePending(bool reFire, bool canReFire) {
    if (reFire && !canReFire)
        return;
    mPending = true;
    Apply();
}

}  // namespace GAME
