#include "Game/core/activities/TeleportActivity.h"

#include <algorithm>

#include "Engine/Engine.h"
#include "Engine/media/graphics/EffectEntity.h"
#include "Engine/media/graphics/GraphicsCanvas.h"
#include "Engine/media/graphics/GraphicsMeshInstance.h"
#include "Engine/media/sound/SoundPak.h"
#include "Engine/net/NetworkEntityList.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/sys/Machine.h"
#include "Engine/world/World.h"
#include "Game/characters/Character.h"
#include "Game/core/GameConstants.h"
#include "Game/core/GameEngine.h"
#include "Game/core/ObjectLookup.h"

namespace GAME {

namespace {
constexpr int kTeleportRenderingReason = 2;

float FadeSeconds() {
    return static_cast<float>(TeleportActivity::kFadeMs) / 1000.0f;
}
}  // namespace

TeleportActivity::TeleportActivity()
    : departureSound(LoadSoundPak(kDepartureSound)),
      lockstep(gEngine->IsNetworkEnabled() ? 1 : 0),
      pie("InGameUI/UI_LoadingArt_01.tex", "InGameUI/UI_LoadingArt_Grey01.tex") {}

TeleportActivity::~TeleportActivity() {
    // Cleared away while dark (the game left play): the screen must not stay dark.
    if (screenTaken)
        RestoreScreen();
    if (GameEngine* root = gGameEngine) {
        if (holdsSleepCount)
            root->DecrementNeedsSleepCounter();
        root->EndTeleport(playerId);
    }
    if (departureSound)
        Singleton<ObjectManager>::Get().DestroyObject(departureSound);
}

void TeleportActivity::AddStatisticText() {
    gEngine->AddStatisticText(GetLabel());
}

void TeleportActivity::SetDestination(int x, int y, int z, std::uint32_t player) {
    playerId = player;
    destX = x;
    destY = y;
    destZ = z;
    const Vec3 point(static_cast<float>(x), static_cast<float>(y), static_cast<float>(z));
    Region* region = World::Get().GetRegionContainingPoint(point);
    if (!region)
        return;
    destination = WorldVec3(region, point - region->GetOffsetFromWorld());
    if (departureSound)
        departureSound->Play(destination);
    OnDestinationSet();
    if (loader)
        loader->Register(destination, playerId);
}

Character* TeleportActivity::FindPlayer() const {
    return playerId == 0 ? nullptr : Singleton<ObjectManager>::Get().GetObject<Character>(playerId);
}

void TeleportActivity::SetState(int next) {
    state = next;
    timer = 0;
}

void TeleportActivity::TakeSleepCount() {
    if (holdsSleepCount)
        return;
    if (GameEngine* root = gGameEngine) {
        root->IncrementNeedsSleepCounter();
        holdsSleepCount = 1;
    }
}

void TeleportActivity::RestoreScreen() {
    screenTaken = 0;
    gEngine->SetTeleportMode(false);
    if (GameEngine* root = gGameEngine)
        root->SetRenderingEnabled(true, kTeleportRenderingReason);
}

void TeleportActivity::Dissolve(Character& player) const {
    player.GetMeshInstance().BeginDissolve(0, 0, 255, FadeSeconds(), kDissolveTexture);
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    for (std::uint32_t child : player.GetAttachedChildren())
        if (Actor* actor = objects.GetObject<Actor>(child))
            actor->GetMeshInstance().BeginDissolve(0, 0, 255, FadeSeconds(), kDissolveTexture);
}

void TeleportActivity::Materialise(Character& player) const {
    player.GetMeshInstance().BeginUnDissolve(0, 0, 255, FadeSeconds(), kDissolveTexture);
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    for (std::uint32_t child : player.GetAttachedChildren())
        if (Actor* actor = objects.GetObject<Actor>(child))
            actor->GetMeshInstance().BeginUnDissolve(0, 0, 255, FadeSeconds(), kDissolveTexture);
}

void TeleportActivity::SpawnEffect(const Character& player) const {
    auto* effect =
        Singleton<ObjectManager>::Get().CreateObjectFromFile<EffectEntity>(kEffectRecord);
    if (!effect)
        return;
    WorldCoords where;
    where.SetPosition(player.GetCoords().GetPosition());
    World::Get().AddEntity(effect, where, true);
}

void TeleportActivity::PlaceOnFloor(Character& player) const {
    if (!destination.IsValid())
        return;
    WorldVec3 floor = destination;
    floor.PutOnFloor();
    WorldCoords coords;
    coords.SetPosition(floor);
    World& world = World::Get();
    if (player.IsInWorld())
        world.SetCoords(&player, coords);
    else
        world.AddEntity(&player, coords, true);
    player.ResetMovementManager();
}

bool TeleportActivity::WaitForLoading(bool wholeSecond) {
    if (!loaded && (!loader || loader->IsDone())) {
        if (!lockstep)
            timer %= kLoadingCycleMs;
        loaded = 1;
        // Done on both sides: a next move of the player gets the reports.
        if (loader)
            loader->Unregister();
    }
    if (lockstep)
        return timer >= kLoadingCycleMs;
    return loaded && (!wholeSecond || timer >= kLoadingCycleMs);
}

void TeleportActivity::BeginLocal(Character& player) {
    if (state == 0) {
        player.SetTeleporting(true);
        player.SetInvincible(true);
        Dissolve(player);
        SpawnEffect(player);
        SetState(1);
    } else if (state == 1 && timer > kFadeMs) {
        gEngine->SetTeleportMode(true);
        if (GameEngine* root = gGameEngine)
            root->SetRenderingEnabled(false, kTeleportRenderingReason);
        screenTaken = 1;
        pie.FadeIn();
        SetState(2);
    }
}

void TeleportActivity::Update(int elapsedMs) {
    timer += elapsedMs;
    if (loader && loader->IsRegistered())
        loader->Update();
    if (IsLocal())
        pie.Update(elapsedMs);
    // Placed before its loading was over (network games): the loader still leaves when done.
    if (lockstep && state > 2)
        WaitForLoading(false);
    if (state == kFinished)
        return;
    Character* player = FindPlayer();
    if (!player) {
        if (screenTaken)
            RestoreScreen();
        SetState(kFinished);
        return;
    }
    UpdateState(*player);
}

void TeleportActivity::Render(GraphicsCanvas& canvas) const {
    GameEngine* root = gGameEngine;
    // Only the teleporting player's own screen goes dark.
    if (!IsLocal() || !root || root->GetPlayerId() != playerId)
        return;
    const float t = std::clamp(static_cast<float>(timer) / kFadeMs, 0.0f, 1.0f);
    float alpha = 0.0f;
    if (state == 1)
        alpha = t;
    else if (state == 2)
        alpha = 1.0f;
    else if (state == 3)
        alpha = 1.0f - t;
    if (alpha > 0.0f)
        canvas.RenderRect(Rect{0.0f, 0.0f, canvas.GetWidth(), canvas.GetHeight()},
                          Color{0.0f, 0.0f, 0.0f, alpha});
    pie.Render(canvas, canvas.GetWidth() - 100.0f, canvas.GetHeight() - 100.0f);
}

// The player's own teleport on a client.

TeleportLocalClientActivity::TeleportLocalClientActivity() {
    loader = std::make_unique<NetworkLoader>();
    if (GameEngine* root = gGameEngine)
        root->LockMouse();
}

TeleportLocalClientActivity::~TeleportLocalClientActivity() {
    if (GameEngine* root = gGameEngine)
        root->UnlockMouse();
}

void TeleportLocalClientActivity::OnDestinationSet() {
    // In a network game the server decided this teleport and told every machine already.
    if (GameEngine* root = gGameEngine; root && !lockstep)
        root->CtoS_StartTeleportOutbound(playerId, destX, destY, destZ);
    TakeSleepCount();
    if (Character* player = FindPlayer())
        player->SetTeleporting(true);
}

void TeleportLocalClientActivity::PlacePlayer() {
    if (Character* player = FindPlayer())
        PlaceOnFloor(*player);
}

void TeleportLocalClientActivity::UpdateState(Character& player) {
    switch (state) {
        case 0:
        case 1:
            BeginLocal(player);
            break;
        case 2:
            if (!WaitForLoading(true))
                break;
            if (GameEngine* root = gGameEngine)
                root->SetRenderingEnabled(true, kTeleportRenderingReason);
            Materialise(player);
            PlacePlayer();
            gEngine->SetTeleportMode(false);
            screenTaken = 0;
            pie.FadeOut();
            SetState(3);
            break;
        case 3:
            if (timer > kFadeMs) {
                player.SetInvincible(false);
                SetState(4);
            }
            break;
        case 4:
            player.SetTeleporting(false);
            SetState(kFinished);
            break;
    }
}

// The player's own teleport on a server or in single player.

TeleportLocalServerActivity::TeleportLocalServerActivity() {
    loader = std::make_unique<LocalNetworkLoader>();
    if (GameEngine* root = gGameEngine)
        root->LockMouse();
}

TeleportLocalServerActivity::~TeleportLocalServerActivity() {
    if (GameEngine* root = gGameEngine)
        root->UnlockMouse();
}

void TeleportLocalServerActivity::OnDestinationSet() {
    if (GameEngine* root = gGameEngine; root && !lockstep)
        root->StoC_StartTeleportOutbound(playerId, destX, destY, destZ);
    TakeSleepCount();
}

void TeleportLocalServerActivity::PlacePlayer() {
    Character* player = FindPlayer();
    if (!player || !destination.IsValid())
        return;
    // The clients place the server's player on the floor: so does the server then.
    if (lockstep) {
        PlaceOnFloor(*player);
        return;
    }
    WorldCoords coords;
    coords.SetPosition(destination);
    player->TeleportToLocation(coords);
}

void TeleportLocalServerActivity::UpdateState(Character& player) {
    switch (state) {
        case 0:
        case 1:
            BeginLocal(player);
            break;
        case 2:
            if (!WaitForLoading(true)) {
                if (loaded)
                    gEngine->SetTeleportMode(false);
                break;
            }
            PlacePlayer();
            if (GameEngine* root = gGameEngine)
                root->SetRenderingEnabled(true, kTeleportRenderingReason);
            Materialise(player);
            pie.FadeOut();
            gEngine->SetTeleportMode(false);
            screenTaken = 0;
            SetState(3);
            break;
        case 3:
            if (timer > kFadeMs) {
                player.SetInvincible(false);
                player.SetTeleporting(false);
                SetState(kFinished);
            }
            break;
    }
}

// Another machine's player, as a client sees him.

TeleportNonLocalClientActivity::TeleportNonLocalClientActivity() {
    loader = std::make_unique<NetworkRegionLoaderBase>();
}

void TeleportNonLocalClientActivity::PlacePlayer() {
    if (Character* player = FindPlayer())
        PlaceOnFloor(*player);
}

void TeleportNonLocalClientActivity::UpdateState(Character& player) {
    switch (state) {
        case 0:
            player.SetTeleporting(true);
            player.SetInvincible(true);
            Dissolve(player);
            SpawnEffect(player);
            SetState(1);
            break;
        case 1:
            if (timer > kFadeMs)
                SetState(2);
            break;
        case 2:
            if (!WaitForLoading(false))
                break;
            PlacePlayer();
            Materialise(player);
            SetState(3);
            break;
        case 3:
            if (timer > kFadeMs) {
                player.SetInvincible(false);
                player.SetTeleporting(false);
                SetState(kFinished);
            }
            break;
    }
}

// Another machine's player, as the server handles him.

TeleportNonLocalServerActivity::TeleportNonLocalServerActivity() {
    auto made = std::make_unique<TeleportLoader>();
    teleportLoader = made.get();
    listener.owner = this;
    made->AddListener(&listener);
    made->Hold();
    loader = std::move(made);
}

TeleportNonLocalServerActivity::~TeleportNonLocalServerActivity() {
    if (holdsView)
        Singleton<NetworkEntityList>::Get().ReturnFrustumEntry(std::move(heldView));
}

void TeleportNonLocalServerActivity::Listener::OnRegionsLoaded(TeleportLoader&) {
    owner->placeRequested = true;
    owner->PlaceWhenReady();
}

void TeleportNonLocalServerActivity::PlaceWhenReady() {
    // Network games place at the end of the loading cycle (UpdateState), once.
    if (!ready || !placeRequested || lockstep)
        return;
    placeRequested = false;
    PlacePlayer();
}

void TeleportNonLocalServerActivity::OnDestinationSet() {
    if (GameEngine* root = gGameEngine; root && !lockstep)
        root->ServerPropegateTeleport(playerId, destX, destY, destZ);
}

void TeleportNonLocalServerActivity::TakeOverFrustum() {
    heldView = FrustumEntry{};
    heldView.host = HostOfPlayer(playerId);
    holdsView =
        Singleton<NetworkEntityList>::Get().StealFrustumEntryOfHost(heldView.host, heldView);
    // Out of the world here alone, the player would stand on the clients and not here: in a
    // network game he stays (invincible) until he is placed.
    if (Character* player = FindPlayer(); player && player->IsInWorld() && !lockstep)
        World::Get().RemoveEntity(player);
    ready = true;
}

void TeleportNonLocalServerActivity::PlacePlayer() {
    if (placed)
        return;
    placed = true;
    const int host = HostOfPlayer(playerId);
    FrustumEntry view;
    view.host = host;
    // What the host saw, but for objects gone meanwhile, now looking at the destination.
    if (holdsView) {
        ObjectManager& objects = Singleton<ObjectManager>::Get();
        for (const auto& [id, seen] : heldView.entities)
            if (objects.GetObject(id))
                view.entities.emplace(id, seen);
        holdsView = false;
    }
    if (GameEngine* root = gGameEngine)
        root->GetFrustumForPlayer(view.frustum, destination);
    Singleton<NetworkEntityList>::Get().ReturnFrustumEntry(std::move(view));
    if (Character* player = FindPlayer())
        PlaceOnFloor(*player);
    gEngine->UpdateClientEntities(host);
    teleportLoader->Release();
}

void TeleportNonLocalServerActivity::UpdateState(Character& player) {
    PlaceWhenReady();
    switch (state) {
        case 0:
            player.SetInvincible(true);
            player.SetTeleporting(true);
            Dissolve(player);
            SpawnEffect(player);
            SetState(1);
            break;
        case 1:
            if (timer > kFadeMs) {
                TakeOverFrustum();
                gEngine->SetTeleportMode(true);
                SetState(2);
            }
            break;
        case 2:
            if (!WaitForLoading(false))
                break;
            if (lockstep)
                PlacePlayer();
            gEngine->SetTeleportMode(false);
            Materialise(player);
            SetState(3);
            break;
        case 3:
            if (timer > kFadeMs) {
                player.SetInvincible(false);
                SetState(4);
            }
            break;
        case 4:
            player.SetTeleporting(false);
            SetState(kFinished);
            break;
    }
}

}  // namespace GAME
