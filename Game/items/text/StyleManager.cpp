#include "Game/items/text/StyleManager.h"

#include <cwctype>

namespace GAME {

void GraphicsFont::ProcessCharacter(wchar_t c, wchar_t next, bool& drawn, bool& consumedNext,
                                    bool& endRun) const {
    drawn = true;
    consumedNext = false;
    endRun = false;
    if (c == L'^' && next != L'\0' && std::iswalpha(static_cast<wint_t>(next))) {
        drawn = false;
        consumedNext = true;
    } else if (c == L'\n') {
        drawn = false;
        endRun = true;
    }
}

float GraphicsFont::DrawRun(const wchar_t*, int count, const Vec2& pen, const Color& color, int,
                            float, float) {
    ++mDrawCount;
    mLastPen = pen;
    mLastColor = color;
    return static_cast<float>(count) * mAdvance;
}

const TextStyle* StyleManager::GetStyle(const std::string& name) const {
    auto it = mStyles.find(name);
    return it == mStyles.end() ? nullptr : &it->second;
}

float MeasureTextRuns(GraphicsFont* font, const std::wstring& text, const Color& color, int mode,
                      float size, float spacing, bool shadow) {
    if (!font || !font->MakeAvailable())
        return 0.0f;
    constexpr float kShadowOffset = 2.0f;
    wchar_t run[kMaxTextRun + 1];
    int count = 0;
    float total = 0.0f;
    Vec2 pen(0.0f, 0.0f);
    auto flush = [&] {
        if (count == 0)
            return;
        run[count] = L'\0';
        if (shadow) {
            Color shade = color;
            shade.a *= 0.66f;
            font->DrawRun(run, count, Vec2(pen.x + kShadowOffset, pen.y + kShadowOffset), shade,
                          mode, size, spacing);
        }
        const float advance = font->DrawRun(run, count, pen, color, mode, size, spacing);
        total += advance;
        pen.x += advance;
        count = 0;
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const wchar_t next = i + 1 < text.size() ? text[i + 1] : L'\0';
        bool drawn, consumedNext, endRun;
        font->ProcessCharacter(text[i], next, drawn, consumedNext, endRun);
        if (drawn)
            run[count++] = text[i];
        if (consumedNext)
            ++i;
        if (endRun || count == kMaxTextRun)
            flush();
    }
    flush();
    return total;
}

}  // namespace GAME
