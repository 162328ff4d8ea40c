#pragma once
// The loading pie of the black screens: a grey disc that fills clockwise with the coloured
// picture once a second while loading goes on, fading in and out with the screen.
#include <string>

namespace GAME {

class GraphicsCanvas;

class PieOmatic {
public:
    static constexpr int kCycleMs = 1000;
    static constexpr int kFadeMs = 250;

    PieOmatic(std::string fullTexture, std::string greyTexture);

    void FadeIn() { target = 1.0f; }
    void FadeOut() { target = 0.0f; }
    void Update(int elapsedMs);
    // Centred on (x, y); nothing while it is faded out.
    void Render(GraphicsCanvas& canvas, float x, float y) const;

    float GetAlpha() const { return alpha; }
    // How much of the disc is filled, 0..1.
    float GetFraction() const { return static_cast<float>(phaseMs) / kCycleMs; }

private:
    std::string full;
    std::string grey;
    float alpha = 0.0f;
    float target = 0.0f;
    int phaseMs = 0;
};

}  // namespace GAME
