// The personal portals the root knows of, and the requests that open and close them.
#include <algorithm>

#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/world/World.h"
#include "Game/characters/Player.h"
#include "Game/core/GameConstants.h"
#include "Game/core/GameEngine.h"
#include "Game/core/net/GameEngineNetworkInterface.h"
#include "Game/core/util/ServerObjectIds.h"

namespace GAME {

namespace {
constexpr const char* kPortalRecord = "Records/Item/Teleporters/ArtifactShrine.dbr";

// A client offers none: the server chooses the id. A server takes one no client's counter knows.
std::uint32_t FreshPortalId() {
    if (!gGameEngine->IsServerOrSingle())
        return 0;
    if (gEngine->IsServer())
        return CreateServerObjectId(ServerIdBand::Portals);
    return Singleton<ObjectManager>::Get().CreateObjectID();
}
}  // namespace

void GameEngine::CreateFixedItemTeleport() {
    Player* player = GetMainPlayer();
    if (!player || pendingPortal.pending)
        return;
    const std::uint32_t owner = player->GetObjectId();
    if (HasFixedItemTeleport(owner)) {
        dialogManager.AddDialog(kDialogTypeQuestion, false, kDialogPartyPortalReplacement,
                                std::string("tagPortalDialog"), true, 0, true);
        SetPendingPortalRequest(player->GetNearSpawnCoords(), owner, FreshPortalId(),
                                gEngine->GetCinematicText());
        return;
    }
    const WorldCoords where = player->GetNearSpawnCoords();
    const std::uint32_t portal = FreshPortalId();
    CreateFixedItemTeleport(where, owner, portal, gEngine->GetCinematicText(), 0);
}

void GameEngine::CreateFixedItemTeleport(const WorldCoords& where, std::uint32_t owner,
                                         std::uint32_t portal, const std::string& text,
                                         std::uint32_t target) {
    currentInterface->CreateFixedItemTeleport(where, owner, portal, text, target);
}

void GameEngine::DestroyFixedItemTeleport(std::uint32_t id) {
    currentInterface->DestroyFixedItemTeleport(id);
}

void GameEngine::CreateFixedItemTeleportNetHook(const WorldCoords& where, std::uint32_t owner,
                                                std::uint32_t portal, const std::string& text) {
    if (ValidateArtifactPortal(portal))
        return;  // seen before
    RemovePortalsFor(owner);
    teleportInfos.push_back(TeleportInfo{where, owner, portal, text});
    if (!IsServerOrSingle() || !where.region || !where.region->IsLevelLoaded())
        return;
    // The portal object carries the portal's id, made on every machine; it lives while the
    // portal is known here (FixedItemTeleport::UpdateSelf).
    CreateEntity(where, kPortalRecord, portal);
}

void GameEngine::DestroyFixedItemTeleportNetHook(std::uint32_t id) {
    std::erase_if(teleportInfos,
                  [id](const TeleportInfo& info) { return info.portal == id || info.owner == id; });
}

void GameEngine::RemovePortalsFor(std::uint32_t owner) {
    std::erase_if(teleportInfos, [owner](const TeleportInfo& info) { return info.owner == owner; });
}

void GameEngine::SendFixedItemTeleports(std::uint32_t target) {
    const std::vector<TeleportInfo> infos = teleportInfos;
    for (const TeleportInfo& info : infos)
        currentInterface->CreateFixedItemTeleport(info.where, info.owner, info.portal, info.text,
                                                  target);
}

const GameEngine::TeleportInfo* GameEngine::GetTeleportInfo(std::uint32_t portal) const {
    const auto found =
        std::find_if(teleportInfos.begin(), teleportInfos.end(),
                     [portal](const TeleportInfo& info) { return info.portal == portal; });
    return found == teleportInfos.end() ? nullptr : &*found;
}

bool GameEngine::ValidateArtifactPortal(std::uint32_t portal) const {
    return GetTeleportInfo(portal) != nullptr;
}

bool GameEngine::HasFixedItemTeleport(std::uint32_t owner) const {
    return std::any_of(teleportInfos.begin(), teleportInfos.end(),
                       [owner](const TeleportInfo& info) { return info.owner == owner; });
}

bool GameEngine::MainPlayerHasPersonalTeleport() const {
    return HasFixedItemTeleport(GetPlayerId());
}

GameEngine::ZonePage GameEngine::GetMainPlayersPersonalPortalZone() const {
    const std::uint32_t player = GetPlayerId();
    for (const TeleportInfo& info : teleportInfos)
        if (info.owner == player && info.where.region &&
            World::Get().HoldsRegion(info.where.region))
            return info.where.region->GetAct();
    return 0;
}

void GameEngine::TryJump(std::uint32_t entity) {
    const Entity* target = Singleton<ObjectManager>::Get().GetObject<Entity>(entity);
    if (!target) {
        gEngine->Log(1, "Entity: %d is not loaded.", static_cast<int>(entity));
        return;
    }
    if (Player* player = GetMainPlayer())
        player->TeleportToLocation(target->GetCoords());
    else
        gEngine->Log(1, "Player is null!");
}

}  // namespace GAME
