#pragma once
// Shared pieces of the item tests: a recording stand-in for the character services and the
// records of a made item.
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Engine/object/ObjectManager.h"
#include "Engine/text/LocalizationManager.h"
#include "Game/items/Item.h"
#include "Game/items/ItemCharacterServices.h"

namespace GAME::test {

// Answers attribute totals from a table and writes every installing call as a line.
class RecordingServices : public ItemCharacterServices {
public:
    std::map<CharAttributeType, float> attributes;
    float weaponScale = 0.0f;
    std::vector<std::string> calls;
    std::vector<std::string> wornInSet;

    float GetTotalCharAttribute(const Character&, CharAttributeType type) override {
        auto it = attributes.find(type);
        return it == attributes.end() ? 0.0f : it->second;
    }
    float GetWeaponScale(const Character&) override { return weaponScale; }
    void SetSkillLevelAugment(Character&, const std::string& skill, int level) override {
        calls.push_back("+skill " + skill + " " + std::to_string(level));
    }
    void RemoveSkillLevelAugment(Character&, const std::string& skill, int level) override {
        calls.push_back("-skill " + skill + " " + std::to_string(level));
    }
    void SetMasteryLevelAugment(Character&, const std::string& mastery, int level) override {
        calls.push_back("+mastery " + mastery + " " + std::to_string(level));
    }
    void RemoveMasteryLevelAugment(Character&, const std::string& mastery, int level) override {
        calls.push_back("-mastery " + mastery + " " + std::to_string(level));
    }
    void SetAllSkillLevelAugment(Character&, int level) override {
        calls.push_back("+all " + std::to_string(level));
    }
    void RemoveAllSkillLevelAugment(Character&, int level) override {
        calls.push_back("-all " + std::to_string(level));
    }
    void AddItemSkill(Character&, std::uint32_t skill, std::uint32_t) override {
        calls.push_back("+itemskill " + std::to_string(skill));
    }
    void RemoveItemSkill(Character&, std::uint32_t) override { calls.push_back("-itemskill"); }
    void AddItemToSet(Character&, const std::string& set, const std::string& item) override {
        calls.push_back("+set " + set + " " + item);
    }
    void RemoveItemFromSet(Character&, const std::string& set, const std::string& item) override {
        calls.push_back("-set " + set + " " + item);
    }
    std::vector<std::string> GetItemsInSet(const Character&, const std::string&) override {
        return wornInSet;
    }
    void SetBreastSupport(Character&, float support) override {
        calls.push_back("breast " + std::to_string(static_cast<int>(support)));
    }
    // Granted skills become plain objects so that the item has something to install.
    std::uint32_t CreateItemSkill(const std::string&) override {
        Object* skill = Singleton<ObjectManager>::Get().CreateObject("Entity");
        return skill ? skill->GetObjectId() : 0;
    }
};

// Installs recording services on the current machine for the fixture's life.
struct ScopedServices {
    RecordingServices* services;
    ScopedServices() {
        auto owned = std::make_unique<RecordingServices>();
        services = owned.get();
        ItemCharacterServices::Install(std::move(owned));
    }
    ~ScopedServices() { ItemCharacterServices::Install(nullptr); }
};

// The randomizers the item tests roll onto their records.
inline constexpr const char* kPrefix = "Records/Items/Randomizers/PrefixBlazing.dbr";
inline constexpr const char* kSuffix = "Records/Items/Randomizers/SuffixOfTheBear.dbr";

// The two formats item texts go through, as the sample texts define them.
inline void SetItemTexts() {
    LocalizationManager& texts = LocalizationManager::Instance();
    texts.SetText("SimpleStringFormat", L"%s");
    texts.SetText("IntFormat", L"%d");
}

inline ItemReplicaInfo Record(const std::string& base, std::uint32_t seed = 0,
                              const std::string& prefix = {}, const std::string& suffix = {}) {
    ItemReplicaInfo record;
    record.baseName = base;
    record.prefixName = prefix;
    record.suffixName = suffix;
    record.seed = seed;
    return record;
}

// What an item shows: every line of its description with its text class.
inline std::vector<std::pair<int, std::wstring>> Shown(Item& item) {
    std::vector<GameTextLine> lines;
    item.GetUIDisplayText(nullptr, lines);
    std::vector<std::pair<int, std::wstring>> shown;
    for (const GameTextLine& line : lines)
        shown.emplace_back(line.textClass, line.text);
    return shown;
}

}  // namespace GAME::test
