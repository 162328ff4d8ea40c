// The texts shown of a player: menus, descriptions and its class.
#include <string>
#include <vector>

#include "Engine/text/LocalizationManager.h"
#include "Game/characters/Player.h"
#include "Game/core/GameEngine.h"

namespace GAME {

std::wstring Player::GetMenuDescription() const {
    const LocalizationManager& texts = LocalizationManager::Instance();
    std::wstring text = texts.GetText("MenuName");
    text += mName;
    text += L"^n";
    text += texts.Format("MenuLevel", GetCharLevel());
    return text;
}

std::wstring Player::GetGameDescription(bool) const {
    return mName + L" - " + GetClassNameA() + L" (" + std::to_wstring(GetCharLevel()) + L")";
}

std::wstring Player::GetRolloverDescription() const {
    const std::wstring className = GetClassNameA();
    return className.empty() ? mName : mName + L" ~ " + className;
}

std::string Player::GetClassTag() const {
    std::vector<std::uint32_t> masteries;
    GetSkillManager().GetSkillMasteries(masteries);
    if (masteries.empty() || !gGameEngine)
        return mClassTag;
    if (masteries.size() == 1)
        return gGameEngine->GetClassTag(masteries[0]);
    return gGameEngine->GetClassTag(masteries[0], masteries[1]);
}

std::wstring Player::GetClassNameA() const {
    const std::string tag = GetClassTag();
    if (tag.empty())
        return {};
    const LocalizationManager& texts = LocalizationManager::Instance();
    return texts.Format("SimpleStringFormat", texts.GetText(tag));
}

}  // namespace GAME
