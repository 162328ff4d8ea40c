// The game-wide settings of "Records/Game/GameEngine.dbr".
#include <iterator>
#include <limits>
#include <utility>

#include "Engine/Engine.h"
#include "Engine/media/graphics/GraphicsEngine.h"
#include "Engine/media/sound/SoundPak.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/text/LocalizationManager.h"
#include "Game/core/GameEngine.h"
#include "Game/core/ObjectLookup.h"
#include "Game/rules/DefenseAttributeRootAccess.h"
#include "Game/rules/formulas/DesignerEquation_Algebra.h"
#include "Game/rules/formulas/DesignerVariableNames.h"

namespace GAME {

namespace {
// Colour texts are held in a buffer of 511 characters.
std::wstring ColorText(const std::string& text) {
    std::wstring wide = LocalizationManager::ToWChar(text);
    if (wide.size() > 511)
        wide.resize(511);
    return wide;
}

// A formula of the record, or null when the text is empty or does not parse.
std::unique_ptr<DesignerEquation<float>> LoadEquation(const std::string& text, const char* key,
                                                      EquationInterface<float>* owner) {
    if (text.empty())
        return nullptr;
    auto equation = std::make_unique<DesignerEquation_Algebra>();
    if (!equation->ParseEquation(text.c_str(), owner, key)) {
        gEngine->Log(1, "-=- GameEngine Equation load failure : %s ", key);
        return nullptr;
    }
    return equation;
}

SoundPak* LoadMarketSound(const std::string& record) {
    return record.empty() ? nullptr : LoadSoundPak(record.c_str());
}

GameEngine::RandomizerWeightModifiers ReadModifiers(const LoadTable& table,
                                                    const std::string& suffix) {
    static constexpr const char* kKeys[] = {"noPrefixNoSuffixModifier", "bothPrefixSuffixModifier",
                                            "prefixOnlyModifier", "suffixOnlyModifier",
                                            "brokenOnlyModifier"};
    GameEngine::RandomizerWeightModifiers modifiers{};
    for (std::size_t i = 0; i < modifiers.size(); ++i) {
        const std::string key = std::string(kKeys[i]) + suffix;
        const float value = table.GetFloat(key.c_str(), 0.0f);
        // A float beyond the int range has no truncated value; the nearest bound stands in.
        constexpr float kLimit = 2147483648.0f;
        if (value >= kLimit || value < -kLimit) {
            gEngine->Log(1, "GameEngine: %s %g is out of range", key.c_str(),
                         static_cast<double>(value));
            modifiers[i] =
                value > 0 ? std::numeric_limits<int>::max() : std::numeric_limits<int>::min();
            continue;
        }
        modifiers[i] = static_cast<int>(value);
    }
    return modifiers;
}
}  // namespace

void GameEngine::LoadFromDatabase(const std::string& name) {
    monsterCaps.Forget();
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    objects.LoadTableFile(name);
    const LoadTable table = objects.GetLoadTable(name);

    armorDefensiveAbsorption = table.GetFloat("armorDefensiveAbsorption", 0.0f);
    meleeRange = table.GetFloat("meleeRange", 0.0f);
    shortRange = table.GetFloat("shortRange", 0.0f);
    moderateRange = table.GetFloat("moderateRange", 0.0f);
    longRange = table.GetFloat("longRange", 0.0f);
    maximumRange = table.GetFloat("maximumRange", 0.0f);
    minRotationSpeed = table.GetFloat("minRotationSpeed", 0.0f);
    maxRotationSpeed = table.GetFloat("maxRotationSpeed", 0.0f);
    pathSlowdownLength = table.GetFloat("pathSlowdownLength", 0.0f);
    minPlayerRotationSpeed = table.GetFloat("minPlayerRotationSpeed", 0.0f);
    maxPlayerRotationSpeed = table.GetFloat("maxPlayerRotationSpeed", 0.0f);
    playerPathSlowdownLength = table.GetFloat("playerPathSlowdownLength", 0.0f);
    marketPurchaseSound = LoadMarketSound(table.GetString("marketPurchaseSound"));
    marketSaleSound = LoadMarketSound(table.GetString("marketSaleSound"));
    experienceEquation =
        LoadEquation(table.GetString("experienceEquation"), "experienceEquation", this);
    deathPenaltyEquation =
        LoadEquation(table.GetString("deathPenaltyEquation"), "deathPenaltyEquation", this);
    deathPenaltyMin = table.GetInt("deathPenaltyMin", 0);
    deathPenaltyMax = table.GetInt("deathPenaltyMax", 0);

    table.GetString("commonItemColor");
    static constexpr struct {
        const char* prefix;
        int itemClass;
        int textStyle;
    } kItemClasses[] = {{"magical", 1, 3}, {"rare", 2, 4},   {"epic", 3, 5},  {"legendary", 4, 6},
                        {"broken", 5, 7},  {"potion", 6, 8}, {"relic", 8, 9}, {"quest", 9, 10}};
    for (const auto& entry : kItemClasses) {
        const std::string prefix = entry.prefix;
        ItemClassInfo info;
        info.color = ColorText(table.GetString((prefix + "ItemColor").c_str()));
        info.sparkle = table.GetString((prefix + "ItemSparkle").c_str());
        info.textStyle = entry.textStyle;
        itemClassTable.emplace(entry.itemClass, std::move(info));
    }
    itemForearmAnimationName = table.GetString("itemForearmAnimationName");
    static constexpr const char* kMonsterColors[] = {"commonMonsterColor", "championMonsterColor",
                                                     "heroMonsterColor", "bossMonsterColor"};
    for (int i = 0; i < 4; ++i)
        monsterColorTable[i] = ColorText(table.GetString(kMonsterColors[i]));

    const float distanceMin = table.GetFloat("CameraDistanceMin", 0.0f);
    const float distanceMax = table.GetFloat("CameraDistanceMax", 0.0f);
    const float pitchMin = table.GetFloat("CameraPitchMin", 0.0f);
    const float pitchMax = table.GetFloat("CameraPitchMax", 0.0f);
    const float distanceDefault = table.GetFloat("CameraDistanceDefault", 0.0f);
    const float pitchDefault = table.GetFloat("CameraPitchDefault", 0.0f);
    camera.SetCameraDistanceDefault(distanceDefault);
    camera.SetCameraPitchDefault(pitchDefault);
    camera.SetCameraDistance(distanceDefault);
    camera.SetCameraPitch(pitchDefault * 0.017453292f);
    camera.SetMovementExtents(distanceMin, distanceMax, pitchMin, pitchMax);

    {
        // The packs load while this root is still being built (before gGameEngine names it):
        // their protection takes this root's absorption, not none.
        auto& access = Singleton<DefenseAttributeRootAccess>::Get();
        auto previous = std::exchange(access.armorDefensiveAbsorption,
                                      [this] { return armorDefensiveAbsorption; });
        if (const std::string pak = table.GetString("monsterAttributePak"); !pak.empty())
            monsterAttributePak.LoadFromDatabase(pak);
        if (const std::string pak = table.GetString("playerAttributePak"); !pak.empty())
            playerAttributePak.LoadFromDatabase(pak);
        access.armorDefensiveAbsorption = std::move(previous);
    }
    sackDims[0] = Vec2(static_cast<float>(table.GetInt("UICharWindowInventorySack0DimsX", 0)),
                       static_cast<float>(table.GetInt("UICharWindowInventorySack0DimsY", 0)));
    sackDims[1] = Vec2(static_cast<float>(table.GetInt("UICharWindowInventorySack1DimsX", 0)),
                       static_cast<float>(table.GetInt("UICharWindowInventorySack1DimsY", 0)));
    if (GraphicsEngine& graphics = GraphicsEngine::Get(); graphics.IsDownsizing()) {
        for (Vec2& dims : sackDims) {
            const Rect adjusted = graphics.GetResAdjRect(Rect{0.0f, 0.0f, dims.x, dims.y});
            dims = Vec2(adjusted.left + adjusted.width, adjusted.top + adjusted.height);
        }
    }
    table.GetUIntArray("skillMasteryTierLevel", masteryTierLevels);
    LoadGameTextStyles(table, textStyles);

    static constexpr const char* kMonsterSuffixes[] = {"Common", "Champion", "Hero", "Boss"};
    for (int i = 0; i < 4; ++i)
        monsterLootModifiers[i] = ReadModifiers(table, kMonsterSuffixes[i]);
    static constexpr const char* kChestSuffixes[] = {"CommonChest", "ChampionChest", "HeroChest"};
    for (int i = 0; i < 3; ++i)
        chestLootModifiers[i] = ReadModifiers(table, kChestSuffixes[i]);
}

void GameEngine::PlayMarketPurchaseSound() {
    if (marketPurchaseSound)
        marketPurchaseSound->Play(WorldVec3());
}

void GameEngine::PlayMarketSaleSound() {
    if (marketSaleSound)
        marketSaleSound->Play(WorldVec3());
}

namespace {

constexpr DesignerVariableNames<8> kFormulaNames{
    {"averagePlayerLevel", "minPlayerLevel", "maxPlayerLevel", "numberOfPlayers",
     "gameDifficultyDV", "monsterLevel", "monsterExperience", "currentPlayerLevel"}};
// In the order of the names above.
constexpr unsigned int GameEngine::FormulaVariables::*kFormulaFields[] = {
    &GameEngine::FormulaVariables::averagePlayerLevel,
    &GameEngine::FormulaVariables::minPlayerLevel,
    &GameEngine::FormulaVariables::maxPlayerLevel,
    &GameEngine::FormulaVariables::numberOfPlayers,
    &GameEngine::FormulaVariables::gameDifficulty,
    &GameEngine::FormulaVariables::monsterLevel,
    &GameEngine::FormulaVariables::monsterExperience,
    &GameEngine::FormulaVariables::currentPlayerLevel};
static_assert(std::size(kFormulaFields) == kFormulaNames.size());

}  // namespace

bool GameEngine::GetDesignerVariable(const char* name, float& value) {
    value = 0.0f;
    return GetDesignerVariableAt(kFormulaNames.Find(name), value);
}

int GameEngine::ResolveDesignerVariable(const char* name) {
    const int index = kFormulaNames.Find(name);
    return index == kFormulaNames.kNotFound ? kNoSlot : index;
}

bool GameEngine::GetDesignerVariableAt(int slot, float& value) {
    if (slot < 0 || static_cast<std::size_t>(slot) >= kFormulaNames.size())
        return false;
    value = static_cast<float>(formulaVariables.*kFormulaFields[slot]);
    return true;
}

}  // namespace GAME
