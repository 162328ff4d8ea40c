#include "Game/items/ItemClassification.h"

#include "Game/core/GameEngine.h"

namespace GAME {

std::wstring GetItemColorText(ItemClassification classification) {
    return gGameEngine ? gGameEngine->GetItemColorText(classification) : std::wstring();
}

GameTextClass GetItemTextClass(ItemClassification classification) {
    return gGameEngine ? gGameEngine->GetItemTextClass(classification)
                       : GameTextClass_ItemNameCommon;
}

std::string GetItemSparkleName(ItemClassification classification) {
    return gGameEngine ? gGameEngine->GetItemSparkleName(classification) : std::string();
}

}  // namespace GAME
