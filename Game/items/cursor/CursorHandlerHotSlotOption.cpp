#include "Game/items/cursor/CursorHandlerHotSlotOption.h"

#include "Engine/media/graphics/GraphicsEngine.h"

namespace GAME {

void CursorHandlerHotSlotOption::Render(GraphicsCanvas& canvas) {
    if (option)
        RenderCentred(canvas, bitmap);
}

bool CursorHandlerHotSlotOption::Cancel() {
    SetOption(nullptr);
    return true;
}

void CursorHandlerHotSlotOption::SetId(std::uint32_t id) {
    auto skill = std::make_unique<HotSlotOptionSkill>(id);
    skill->SetPlayer(player);
    SetOption(std::move(skill));
}

void CursorHandlerHotSlotOption::SetOption(std::unique_ptr<HotSlotOption> next) {
    option = std::move(next);
    bitmap = option ? option->GetBitmapNameUp() : std::string();
    if (!bitmap.empty())
        GraphicsEngine::Get().LoadTexture(bitmap);
}

}  // namespace GAME
