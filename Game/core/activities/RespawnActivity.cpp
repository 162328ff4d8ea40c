#include "Game/core/activities/RespawnActivity.h"

#include <cmath>

#include "Engine/Engine.h"
#include "Engine/media/graphics/GraphicsCanvas.h"
#include "Engine/object/ObjectManager.h"
#include "Game/core/GameEngine.h"
#include "Game/core/activities/NetworkRegionLoader.h"

namespace GAME {

namespace {
constexpr float kClearAlpha = 0.0001f;
constexpr int kRespawnRenderingReason = 3;
}  // namespace

RespawnActivity::RespawnActivity()
    : pie("InGameUI/UI_LoadingArt_01.tex", "InGameUI/UI_LoadingArt_Grey01.tex") {}

RespawnActivity::~RespawnActivity() {
    // Cleared away mid-load (the game left play): the screen must not stay dark.
    if (screenTaken)
        RestoreScreen();
    if (holdsSleepCount)
        if (GameEngine* root = gGameEngine)
            root->DecrementNeedsSleepCounter();
}

void RespawnActivity::SetDestination(const WorldVec3& where, std::uint32_t player) {
    destination = where;
    playerId = player;
    CreateLoader();
}

void RespawnActivity::SetLoader(std::unique_ptr<NetworkRegionLoaderBase> made) {
    loader = std::move(made);
    loader->Register(destination, playerId);
}

void RespawnActivity::AddStatisticText() {
    gEngine->AddStatisticText(GetLabel());
}

bool RespawnActivity::IsFinished() const {
    return state == FadingIn && currentAlpha < kClearAlpha;
}

void RespawnActivity::SetState(State next) {
    state = next;
    timer = 0;
}

void RespawnActivity::FadeToBlack() {
    pie.FadeIn();
    targetAlpha = 1.0f;
}

void RespawnActivity::FadeBack() {
    pie.FadeOut();
    targetAlpha = 0.0f;
    holdFrames = 1;
}

void RespawnActivity::TakeSleepCount() {
    if (holdsSleepCount)
        return;
    if (GameEngine* root = gGameEngine) {
        root->IncrementNeedsSleepCounter();
        holdsSleepCount = 1;
    }
}

void RespawnActivity::RestoreScreen() {
    screenTaken = 0;
    gEngine->SetTeleportMode(false);
    if (GameEngine* root = gGameEngine)
        root->SetRenderingEnabled(true, kRespawnRenderingReason);
}

void RespawnActivity::UpdateFade(int elapsedMs) {
    if (currentAlpha != targetAlpha && holdFrames <= 0) {
        const float step = static_cast<float>(elapsedMs) * 0.001f;
        if (std::fabs(targetAlpha - currentAlpha) < step)
            currentAlpha = targetAlpha;
        else
            currentAlpha += currentAlpha < targetAlpha ? step : -step;
    }
    if (holdFrames > 0)
        --holdFrames;
}

void RespawnActivity::Update(int elapsedMs) {
    timer += elapsedMs;
    if (loader && loader->IsRegistered())
        loader->Update();
    pie.Update(elapsedMs);
    UpdateFade(elapsedMs);

    if (state != FadingIn && !Singleton<ObjectManager>::Get().GetObject(playerId)) {
        if (IsLocal()) {
            if (screenTaken)
                RestoreScreen();
            TakeSleepCount();
        }
        FadeBack();
        SetState(FadingIn);
        return;
    }

    switch (state) {
        case FadingOut:
            FadeToBlack();
            if (timer > kFadeOutMs) {
                if (IsLocal()) {
                    gEngine->SetTeleportMode(true);
                    if (GameEngine* root = gGameEngine)
                        root->SetRenderingEnabled(false, kRespawnRenderingReason);
                    screenTaken = 1;
                    TakeSleepCount();
                }
                SetState(Loading);
            }
            break;
        case Loading:
            if (!loaded && (!loader || loader->IsDone())) {
                // The screen stays dark to the next whole second of loading.
                timer %= kLoadingCycleMs;
                loaded = 1;
                // Done on both sides: a next move of the player gets the reports.
                if (loader)
                    loader->Unregister();
            }
            if (loaded && timer >= kLoadingCycleMs) {
                if (IsLocal()) {
                    RestoreScreen();
                    FadeBack();
                    complete = 1;
                } else {
                    FadeBack();
                }
                SetState(FadingIn);
            }
            break;
        case FadingIn:
            break;
    }
}

void RespawnActivity::Render(GraphicsCanvas& canvas) const {
    if (!IsLocal())
        return;
    const float width = canvas.GetWidth();
    const float height = canvas.GetHeight();
    if (currentAlpha > kClearAlpha)
        canvas.RenderRect(Rect{0.0f, 0.0f, width, height}, Color{0.0f, 0.0f, 0.0f, currentAlpha});
    if (state == Loading)
        pie.Render(canvas, width - 100.0f, height - 100.0f);
}

RespawnLocalClientActivity::RespawnLocalClientActivity() {
    if (GameEngine* root = gGameEngine)
        root->LockMouse();
}

RespawnLocalClientActivity::~RespawnLocalClientActivity() {
    if (GameEngine* root = gGameEngine)
        root->UnlockMouse();
}

void RespawnLocalClientActivity::CreateLoader() {
    SetLoader(std::make_unique<NetworkLoader>());
}

void RespawnLocalServerActivity::CreateLoader() {
    SetLoader(std::make_unique<LocalNetworkLoader>());
}

void RespawnNonLocalServerActivity::CreateLoader() {
    SetLoader(std::make_unique<TeleportLoader>());
}

}  // namespace GAME
