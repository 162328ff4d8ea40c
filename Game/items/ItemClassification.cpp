#include "Game/items/ItemClassification.h"

#include "Game/core/GameEngine.h"

namespace GAME {

namespace {
constexpr struct {
    const char* word;
    ItemClassification classification;
} kClassWords[] = {
    {"Common", ItemClassification::Common},       {"Magical", ItemClassification::Magical},
    {"Rare", ItemClassification::Rare},           {"Epic", ItemClassification::Epic},
    {"Legendary", ItemClassification::Legendary}, {"Broken", ItemClassification::Broken},
    {"Potion", ItemClassification::Potion},       {"Relic", ItemClassification::Relic},
    {"Quest", ItemClassification::Quest},
};

const GameEngine::ItemClassInfo* FindClass(ItemClassification classification) {
    GameEngine* engine = gGameEngine;
    if (!engine)
        return nullptr;
    const auto& table = engine->GetItemClassTable();
    auto it = table.find(static_cast<int>(classification));
    return it == table.end() ? nullptr : &it->second;
}
}  // namespace

ItemClassification ResolveItemClassificationEnum(const std::string& word) {
    for (const auto& entry : kClassWords)
        if (word == entry.word)
            return entry.classification;
    return ItemClassification::Common;
}

std::wstring GetItemColorText(ItemClassification classification) {
    const auto* info = FindClass(classification);
    return info ? info->color : std::wstring();
}

GameTextClass GetItemTextClass(ItemClassification classification) {
    const auto* info = FindClass(classification);
    return info ? static_cast<GameTextClass>(info->textStyle) : GameTextClass_ItemNameCommon;
}

std::string GetItemSparkleName(ItemClassification classification) {
    const auto* info = FindClass(classification);
    return info ? info->sparkle : std::string();
}

}  // namespace GAME
