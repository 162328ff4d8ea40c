// The root's game-wide lookups: action permissions, class titles, race tags, the classification
// tables of the settings record, text styles, mastery tiers and the shared skill profiles.
#include "Engine/Engine.h"
#include "Engine/records/LoadTable.h"
#include "Game/core/GameEngine.h"
#include "Game/core/util/StringUtil.h"
#include "Game/items/ItemSet.h"

namespace GAME {

namespace {
const std::string kEmpty;
const std::string kUnknownRace = kUnknownRaceTag;
}  // namespace

void GameEngine::FillClassArray() {
    FillClassTags(classTags);
}

void GameEngine::InitializeActionMatrix() {
    FillActionMatrix(actionMatrix);
}

void GameEngine::InitializeMonsterRaceMap() {
    FillMonsterRaces(monsterRaces);
}

unsigned int GameEngine::CheckPlayerAction(unsigned int requested, unsigned int current) const {
    // An action kind outside the table is refused rather than read from beyond it.
    if (requested >= kCharacterActionTypeCount || current >= kCharacterActionTypeCount) {
        gEngine->Log(1, "GameEngine: CheckPlayerAction(%u, %u) names no action kind", requested,
                     current);
        return 0;
    }
    return actionMatrix[requested][current];
}

const std::string& GameEngine::GetClassTag(unsigned int first, unsigned int second) const {
    if (first >= kMasteryCount || second >= kMasteryCount)
        return kEmpty;
    return classTags[first][second];
}

const std::string& GameEngine::GetClassTag(unsigned int mastery) const {
    return GetClassTag(mastery, mastery);
}

void GameEngine::SetClassEntry(int first, int second, const std::string& tag) {
    const auto inside = [](int mastery) {
        return mastery >= 0 && static_cast<unsigned int>(mastery) < kMasteryCount;
    };
    if (!inside(first) || !inside(second)) {
        gEngine->Log(1, "GameEngine: SetClassEntry(%d, %d) names no mastery pair", first, second);
        return;
    }
    const auto a = static_cast<std::size_t>(first);
    const auto b = static_cast<std::size_t>(second);
    classTags[a][b] = tag;
    classTags[b][a] = tag;
}

const std::string& GameEngine::GetMonsterRaceTagSingular(const std::string& race) const {
    auto it = monsterRaces.find(race);
    return it == monsterRaces.end() ? kUnknownRace : it->second.first;
}

const std::string& GameEngine::GetMonsterRaceTagPlural(const std::string& race) const {
    auto it = monsterRaces.find(race);
    return it == monsterRaces.end() ? kUnknownRace : it->second.second;
}

std::wstring GameEngine::GetItemColorText(ItemClassification itemClass) const {
    auto it = itemClassTable.find(static_cast<int>(itemClass));
    return it == itemClassTable.end() ? std::wstring() : it->second.color;
}

GameTextClass GameEngine::GetItemTextClass(ItemClassification itemClass) const {
    auto it = itemClassTable.find(static_cast<int>(itemClass));
    return it == itemClassTable.end() ? GameTextClass_ItemNameCommon
                                      : static_cast<GameTextClass>(it->second.textStyle);
}

std::string GameEngine::GetItemSparkleName(ItemClassification itemClass) const {
    auto it = itemClassTable.find(static_cast<int>(itemClass));
    return it == itemClassTable.end() ? std::string() : it->second.sparkle;
}

std::wstring GameEngine::GetMonsterColorText(MonsterClassification monsterClass) const {
    auto it = monsterColorTable.find(monsterClass);
    return it == monsterColorTable.end() ? std::wstring() : it->second;
}

void GameEngine::GetMonsterLootWeightModifiers(MonsterClassification monsterClass,
                                               RandomizerWeightModifiers& out) const {
    if (auto it = monsterLootModifiers.find(monsterClass); it != monsterLootModifiers.end())
        out = it->second;
}

void GameEngine::GetChestLootWeightModifiers(ChestClassification chestClass,
                                             RandomizerWeightModifiers& out) const {
    if (auto it = chestLootModifiers.find(chestClass); it != chestLootModifiers.end())
        out = it->second;
}

std::string GameEngine::GetGameTextStyleName(GameTextClass textClass) const {
    auto it = textStyles.find(textClass);
    return it == textStyles.end() ? std::string() : it->second.name;
}

float GameEngine::GetGameTextStyleIndent(GameTextClass textClass) const {
    auto it = textStyles.find(textClass);
    return it == textStyles.end() ? 0.0f : static_cast<float>(it->second.indent);
}

unsigned int GameEngine::GetSkillMasteryLevel(unsigned int tier) const {
    if (tier == 0 || masteryTierLevels.empty())
        return 0;
    const auto count = static_cast<unsigned int>(masteryTierLevels.size());
    return masteryTierLevels[ClampToLast(tier - 1, count)];
}

const SkillProfile* GameEngine::LoadSkillResource(const Name& record, const LoadTable& table) {
    CriticalSectionLock lock(resourceLock);
    auto [it, inserted] = skillResources.try_emplace(record);
    if (inserted) {
        it->second = std::make_unique<SkillProfile>();
        it->second->LoadProfile(table);
    }
    return it->second.get();
}

const SkillProfile* GameEngine::GetSkillResource(const Name& record) const {
    // Under the lock: the level loader may be inserting while the game thread reads.
    CriticalSectionLock lock(resourceLock);
    auto it = skillResources.find(record);
    return it == skillResources.end() ? &nullSkillResource : it->second.get();
}

void GameEngine::LoadItemSet(const std::string& record) {
    std::string key = MakeNormalizedPath(record);
    if (itemSets.contains(key))
        return;
    auto set = std::make_unique<ItemSet>();
    set->LoadFromDatabase(record);
    itemSets.emplace(std::move(key), std::move(set));
}

const ItemSet* GameEngine::GetItemSet(const std::string& record) const {
    // Asked per attack: the key is normalised in a buffer that keeps its room.
    thread_local std::string key;
    key.assign(record);
    NormalizePath(key);
    auto it = itemSets.find(key);
    return it == itemSets.end() ? nullptr : it->second.get();
}

}  // namespace GAME
