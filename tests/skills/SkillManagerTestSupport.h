#pragma once
// A character made from the skill manager's test record, with the game root running.
#include <gtest/gtest.h>

#include "../characters/CharacterTestSupport.h"
#include "Game/core/GameEngine.h"
#include "Game/skills/Skill.h"
#include "Game/skills/manager/SkillManager.h"
#include "support/TestMachine.h"

namespace GAME::test {

inline constexpr const char* kWarrior = "Records/SkillManager/Warrior.dbr";
inline constexpr const char* kWarfare = "Records/SkillManager/WarfareMastery.dbr";
inline constexpr const char* kStorm = "Records/SkillManager/StormMastery.dbr";
inline constexpr const char* kCleave = "Records/SkillManager/Cleave.dbr";
inline constexpr const char* kBolt = "Records/SkillManager/Bolt.dbr";
inline constexpr const char* kSharpen = "Records/SkillManager/Sharpen.dbr";
inline constexpr const char* kEcho = "Records/SkillManager/Echo.dbr";
inline constexpr const char* kEcho2 = "Records/SkillManager/Echo2.dbr";

class SkillManagerFixture : public ::testing::Test {
protected:
    void SetUp() override {
        InitializeObjects();
        warrior = MakeCharacter(kWarrior);
        ASSERT_NE(warrior, nullptr);
    }
    void TearDown() override { ShutdownObjects(); }

    SkillManager& manager() { return warrior->GetSkillManager(); }
    // Loads every entry of the record.
    void LoadSkills() {
        manager().LoadSkills(Singleton<ObjectManager>::Get().GetLoadTable(kWarrior),
                             SkillManager::kMaxSkillEntries);
    }
    Skill* Get(const char* record) {
        return Singleton<ObjectManager>::Get().GetObject<Skill>(manager().FindSkillId(record));
    }
    std::uint32_t Id(const char* record) { return manager().FindSkillId(record); }

    TestMachine tm;
    Character* warrior = nullptr;
};

}  // namespace GAME::test
