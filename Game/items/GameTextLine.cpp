#include "Game/items/GameTextLine.h"

#include <cmath>

#include "Engine/sys/Machine.h"
#include "Game/core/GameEngine.h"
#include "Game/items/text/StyleManager.h"

namespace GAME {

namespace {
constexpr const char* kStyleNames[] = {
#define GAME_TEXT_CLASS_NAME(Name) #Name,
    GAME_TEXT_CLASSES(GAME_TEXT_CLASS_NAME)
#undef GAME_TEXT_CLASS_NAME
};
static_assert(std::size(kStyleNames) == GameTextClass_Count);

// The drawing mode the host's text drawing uses; measuring passes the same.
constexpr int kTextDrawMode = 1312;
}  // namespace

const char* GetGameTextClassName(GameTextClass style) {
    const auto index = static_cast<std::size_t>(style);
    return index < std::size(kStyleNames) ? kStyleNames[index] : nullptr;
}

GameTextString::GameTextString(const std::string& styleName, const std::wstring& text, bool flag,
                               int indent)
    : styleName(styleName),
      text(text),
      leftMargin(indent + kMargin),
      rightMargin(kMargin),
      flag(flag) {
    const TextStyle* style = Singleton<StyleManager>::Get().GetStyle(styleName);
    if (!style)
        return;
    const float measured = MeasureTextRuns(style->font.get(), text, Color{1, 1, 1, 1},
                                           kTextDrawMode, style->height, style->spacing, false);
    width = measured + static_cast<float>(leftMargin) + static_cast<float>(rightMargin);
    height = style->height;
}

void GameTextLineToString(const std::vector<GameTextLine>& lines,
                          std::vector<GameTextString>& strings) {
    GameEngine* engine = gGameEngine;
    for (const GameTextLine& line : lines) {
        std::string name;
        float indent = 0.0f;
        if (engine) {
            name = engine->GetGameTextStyleName(line.textClass);
            indent = engine->GetGameTextStyleIndent(line.textClass);
        }
        strings.emplace_back(name, line.text, line.flag, static_cast<int>(std::trunc(indent)));
    }
}

}  // namespace GAME
