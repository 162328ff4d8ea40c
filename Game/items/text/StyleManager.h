#pragma once
// The headless stand-in of the engine's text styles and fonts: nothing is drawn, but a font
// walks and measures text the way the drawing would, so layouts can be computed and checked.
#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "Engine/world/Math.h"

namespace GAME {

namespace test {
struct GraphicsFontTestAccess;
}

class GraphicsFont {
    // Tests make a font that cannot load.
    friend struct test::GraphicsFontTestAccess;

public:
    // Every drawn character advances the pen by `advance` pixels.
    explicit GraphicsFont(float advance) : mAdvance(advance) {}

    // What the font makes of one character, given the next: a caret and the letter after it
    // form a colour code (not drawn, next consumed); a newline is not drawn and ends the run.
    void ProcessCharacter(wchar_t c, wchar_t next, bool& drawn, bool& consumedNext,
                          bool& endRun) const;
    // Draws a run at the pen; the advance of the run in pixels.
    float DrawRun(const wchar_t* run, int count, const Vec2& pen, const Color& color, int mode,
                  float size, float spacing);
    // The resource is loaded on first use; a font that cannot load measures nothing.
    bool MakeAvailable() const { return mAvailable; }

    int GetDrawCount() const { return mDrawCount; }
    const Vec2& GetLastPen() const { return mLastPen; }
    const Color& GetLastColor() const { return mLastColor; }

private:
    float mAdvance;
    bool mAvailable = true;
    int mDrawCount = 0;
    Vec2 mLastPen;
    Color mLastColor;
};

struct TextStyle {
    std::shared_ptr<GraphicsFont> font;
    float height = 0.0f;   // the line height, and the first value the drawing takes
    float spacing = 0.0f;  // the second one
};

// The text styles of the machine by name.
class StyleManager {
public:
    void AddStyle(const std::string& name, TextStyle style) { mStyles[name] = std::move(style); }
    const TextStyle* GetStyle(const std::string& name) const;
    void Clear() { mStyles.clear(); }

private:
    std::map<std::string, TextStyle> mStyles;
};

// The width in pixels of a text drawn with the font from the pen (0, 0): runs of at most
// kMaxTextRun drawn characters, each drawn (after its shadow, when asked for) and its advance
// added. 0 without a font.
inline constexpr int kMaxTextRun = 511;
float MeasureTextRuns(GraphicsFont* font, const std::wstring& text, const Color& color, int mode,
                      float size, float spacing, bool shadow);

}  // namespace GAME
