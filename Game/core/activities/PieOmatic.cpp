#include "Game/core/activities/PieOmatic.h"

#include <utility>

#include "Engine/media/graphics/GraphicsCanvas.h"

namespace GAME {

PieOmatic::PieOmatic(std::string fullTexture, std::string greyTexture)
    : full(std::move(fullTexture)), grey(std::move(greyTexture)) {}

void PieOmatic::Update(int elapsedMs) {
    if (elapsedMs <= 0)
        return;
    phaseMs = (phaseMs + elapsedMs % kCycleMs) % kCycleMs;
    const float step = static_cast<float>(elapsedMs) / kFadeMs;
    if (alpha < target)
        alpha = alpha + step < target ? alpha + step : target;
    else if (alpha > target)
        alpha = alpha - step > target ? alpha - step : target;
}

void PieOmatic::Render(GraphicsCanvas& canvas, float x, float y) const {
    if (alpha <= 0.0f)
        return;
    canvas.RenderPicture(grey, x, y, alpha, 1.0f);
    canvas.RenderPicture(full, x, y, alpha, GetFraction());
}

}  // namespace GAME
