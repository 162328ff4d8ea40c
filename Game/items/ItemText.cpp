#include "Game/items/ItemText.h"

#include "Engine/text/LocalizationManager.h"

namespace GAME {

std::wstring LocalizeSimple(const std::string& tag) {
    const LocalizationManager& texts = LocalizationManager::Instance();
    return texts.Format("SimpleStringFormat", texts.GetText(tag));
}

}  // namespace GAME
