#include "Game/core/activities/NetworkRegionLoader.h"

#include <algorithm>

#include "Engine/Engine.h"
#include "Engine/media/ResourceLoader.h"
#include "Engine/world/RegionLoader.h"
#include "Engine/world/World.h"
#include "Game/core/GameEngine.h"

namespace GAME {

NetworkRegionLoaderBase::~NetworkRegionLoaderBase() {
    if (GameEngine* root = gGameEngine)
        root->UnregisterNRLoader(this);
}

void NetworkRegionLoaderBase::SetState(std::uint32_t state) {
    localState = state;
    remoteState = state;
}

bool NetworkRegionLoaderBase::IsDone() const {
    return localState == NRLoaderState_Done && remoteState == NRLoaderState_Done;
}

void NetworkRegionLoaderBase::Register(const WorldVec3& where, std::uint32_t id) {
    GameEngine* root = gGameEngine;
    if (!root)
        return;
    // One entry per loader: a second registration must not leave the first to be found.
    if (IsRegistered())
        root->UnregisterNRLoader(this);
    root->RegisterNRLoader(id, this);
    position = where;
    registeredId = id;
}

void NetworkRegionLoaderBase::Unregister() {
    if (!IsRegistered())
        return;
    if (GameEngine* root = gGameEngine)
        root->UnregisterNRLoader(this);
    registeredId = 0;
}

NetworkLoader::NetworkLoader() = default;
NetworkLoader::~NetworkLoader() = default;

bool NetworkLoader::IsDone() const {
    return localState == NRLoaderState_Done && remoteState == NRLoaderState_Done;
}

void NetworkLoader::ReportState(std::uint32_t id, std::uint32_t state) {
    if (GameEngine* root = gGameEngine)
        root->CtoS_HandleNRLoaderStateChangeOutbound(id, static_cast<NRLoaderState>(state));
}

void NetworkLoader::StartLoading() {
    Region* region = position.GetRegion();
    World& world = World::Get();
    if (!region || !world.HoldsRegion(region)) {
        gEngine->Log(1,
                     "NetworkLoader: the destination of player %u lies in no region of the "
                     "world; nothing to load",
                     registeredId);
        return;
    }
    GameEngine* root = gGameEngine;
    if (!root)
        return;
    WorldFrustum frustum;
    root->GetFrustumForPlayer(frustum, position);
    std::vector<Region*> regions;
    ABBox box;
    if (GetFrustumWorldBounds(frustum, box))
        GetRegionsInBox(world, InflateBox(box, GetLevelLoadInflation()), regions);
    // The destination's own region is loaded whatever the view reaches.
    if (std::find(regions.begin(), regions.end(), region) == regions.end())
        regions.insert(regions.begin(), region);
    regionLoader =
        std::make_unique<RegionLoader>(world, std::move(regions), ResourceLoader::Get(), 1);
    regionLoader->SetFrustum(frustum);
}

bool NetworkLoader::RegionsLoaded() const {
    return !regionLoader || regionLoader->GetIsDone();
}

void NetworkLoader::UpdateStart() {
    if (regionLoader)
        regionLoader->Update();
    if (localState == NRLoaderState_NotStarted) {
        StartLoading();
        ReportState(registeredId, NRLoaderState_Loading);
        SetLocalState(NRLoaderState_Loading);
    }
}

void NetworkLoader::Update() {
    UpdateStart();
    if (localState == NRLoaderState_Loading && RegionsLoaded()) {
        ReportState(registeredId, NRLoaderState_Done);
        SetLocalState(NRLoaderState_Done);
    }
}

bool LocalNetworkLoader::IsDone() const {
    return localState == NRLoaderState_Done;
}

void LocalNetworkLoader::ReportState(std::uint32_t id, std::uint32_t state) {
    if (GameEngine* root = gGameEngine)
        root->StoC_HandleNRLoaderStateChangeOutbound(id, static_cast<NRLoaderState>(state));
}

void TeleportLoader::ReportState(std::uint32_t id, std::uint32_t state) {
    if (GameEngine* root = gGameEngine)
        root->StoC_HandleNRLoaderStateChangeOutbound(id, static_cast<NRLoaderState>(state));
}

void TeleportLoader::Update() {
    UpdateStart();
    if (localState != NRLoaderState_Loading || !RegionsLoaded() ||
        remoteState != NRLoaderState_Done)
        return;
    if (!notified) {
        notified = 1;
        // A listener may release the hold at once: it is read after they have run.
        for (TeleportLoaderListener* listener : listeners)
            listener->OnRegionsLoaded(*this);
    }
    if (!held) {
        ReportState(registeredId, NRLoaderState_Done);
        SetLocalState(NRLoaderState_Done);
    }
}

}  // namespace GAME
