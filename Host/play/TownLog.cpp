#include "Host/play/TownLog.h"

#include <algorithm>

#include "Engine/object/ObjectManager.h"
#include "Engine/records/LoadTable.h"
#include "Engine/text/LocalizationManager.h"
#include "Engine/world/World.h"
#include "Game/characters/Player.h"
#include "Game/characters/monster/Guard.h"
#include "Game/characters/npc/Npc.h"
#include "Game/characters/npc/herd/NpcHerdRegistry.h"
#include "Game/quests/conversation/Conversation.h"
#include "Host/PrintableText.h"
#include "Host/play/HostSaves.h"

namespace GAME {

namespace {

std::string TownNameOf(std::uint32_t id) {
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    if (const Npc* npc = objects.GetObject<Npc>(id))
        return HostSaves::NpcName(*npc);
    const Entity* entity = objects.GetObject<Entity>(id);
    if (!entity)
        return "someone";
    const std::string tag = objects.GetLoadTable(entity->GetObjectName()).GetString("description");
    return tag.empty() ? entity->GetObjectName()
                       : PrintableText(LocalizationManager::Instance().GetText(tag));
}

}  // namespace

TownLog::TownLog(std::uint32_t playerId, Printer print)
    : mPlayerId(playerId),
      mPrint(std::move(print)),
      mStart(GameEventName("StartSidelineConversation"), "TownLog"),
      mLine(GameEventName("SidelineConversationLine"), "TownLog") {
    mStart.SetOwner(this, &TownLog::OnStart);
    mLine.SetOwner(this, &TownLog::OnLine);
}

const Player* TownLog::FindPlayer() const {
    return Singleton<ObjectManager>::Get().GetObject<Player>(mPlayerId);
}

bool TownLog::Told(std::uint32_t id) {
    if (std::find(mTold.begin(), mTold.end(), id) != mTold.end())
        return true;
    mTold.push_back(id);
    return false;
}

void TownLog::OnStart(const GameEvent_StartSidelineConversation& event) {
    mHeard = nullptr;
    const Player* player = FindPlayer();
    if (!player || !event.conversation ||
        player->GetPosition().DistanceTo(event.conversation->GetCenterPoint()) > kEarshot)
        return;
    mHeard = event.conversation;
    std::vector<std::uint32_t> actors;
    event.conversation->GetConversationActors(actors);
    std::string names;
    for (std::size_t i = 0; i < actors.size(); ++i)
        names += (i == 0 ? "" : i + 1 == actors.size() ? " and " : ", ") + TownNameOf(actors[i]);
    mPrint(names + " talk:");
}

void TownLog::OnLine(const GameEvent_SidelineConversationLine& event) {
    if (event.conversation != mHeard || event.tag.empty())
        return;
    mPrint("  " + TownNameOf(event.speakerId) + ": \"" +
           PrintableText(LocalizationManager::Instance().GetText(event.tag)) + "\"");
}

void TownLog::Observe(const Player& player) {
    const WorldCoords coords = player.GetCoords();
    if (!coords.region)
        return;
    mNearby.clear();
    World::Get().GetEntitiesInSphere(mNearby, coords.region, Sphere{coords.coords.origin, kSight},
                                     EntityListType::Actors);
    for (Entity* entity : mNearby) {
        if (const auto* guard = dynamic_cast<const Guard*>(entity)) {
            if (!Told(guard->GetObjectId()))
                mPrint(TownNameOf(guard->GetObjectId()) + " stands guard at the gate");
            continue;
        }
        const auto* npc = dynamic_cast<const Npc*>(entity);
        if (!npc || !npc->IsMoving())
            continue;
        if (npc->IsInHerd()) {
            const NpcHerd* herd = NpcHerdRegistry::Get().FindHerd(npc->GetObjectName());
            const std::uint32_t herder = herd ? herd->GetHerderId() : 0;
            if (herder != 0 && !Told(npc->GetObjectId()) && !Told(~herder))
                mPrint("the flock grazes its way after " + TownNameOf(herder));
        } else if (!npc->GetHerdName().empty()) {
            if (!Told(npc->GetObjectId()))
                mPrint(TownNameOf(npc->GetObjectId()) + " drives the flock across the pasture");
        } else if (!Told(npc->GetObjectId())) {
            mPrint(TownNameOf(npc->GetObjectId()) + " strolls across the meadow");
        }
    }
}

}  // namespace GAME
