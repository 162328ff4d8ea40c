// The state checksum: machines holding the same characters agree whatever order they made them
// in, and each part of a character's replicated state moves the sum.
#include <gtest/gtest.h>

#include <functional>
#include <set>

#include "Engine/object/ObjectManager.h"
#include "Game/characters/Player.h"
#include "Game/core/GameEngine.h"
#include "Game/rules/duration/DurationDamageManager.h"
#include "Game/skills/Skill.h"
#include "Host/play/StateChecksum.h"
#include "support/CharacterSetUp.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

constexpr const char* kHero = "Records/Players/TestHero.dbr";
constexpr const char* kCleave = "Records/SkillManager/Cleave.dbr";
constexpr std::uint32_t kHeroId = 0x51;
constexpr std::uint32_t kOtherId = 0x52;

Player* MakeHero(std::uint32_t id) {
    auto* hero = Singleton<ObjectManager>::Get().CreateObjectFromFile<Player>(kHero, id);
    if (hero)
        hero->InitialUpdate();
    return hero;
}

TEST(StateChecksum, MachinesAgreeWhateverOrderTheyMadeTheSameCharactersIn) {
    TestMachine first;
    TestMachine second;
    std::uint64_t sums[2] = {};
    int index = 0;
    for (TestMachine* tm : {&first, &second}) {
        ON_MACHINE(*tm) {
            InitializeObjects();
            const bool reversed = index == 1;
            MakeHero(reversed ? kOtherId : kHeroId);
            MakeHero(reversed ? kHeroId : kOtherId);
            sums[index++] = ComputeWorldChecksum();
            ShutdownObjects();
        }
    }
    EXPECT_EQ(sums[0], sums[1]);
}

TEST(StateChecksum, EachPartOfTheReplicatedStateMovesTheSum) {
    TestMachine tm;
    InitializeObjects();
    Player* hero = MakeHero(kHeroId);
    ASSERT_NE(hero, nullptr);
    const std::function<void()> changes[] = {
        [&] { test::SetLife(*hero, 150.0f, 200.0f); },
        [&] { test::SetMana(*hero, 40.0f, 100.0f); },
        [&] {
            WorldCoords coords = hero->GetCoords();
            coords.coords.origin.x += 0.25f;
            hero->SetCoords(coords);
        },
        [&] { hero->GetExperienceLevelControl().SetExperiencePoints(77); },
        [&] { hero->GetExperienceLevelControl().SetLevel(3); },
        [&] { hero->SetLifeState(Character_LifeState::Dead); },
        [&] {
            Skill* cleave = Singleton<ObjectManager>::Get().GetObject<Skill>(
                hero->GetSkillManager().FindSkillId(kCleave));
            ASSERT_NE(cleave, nullptr);
            cleave->ReceiveStateUpdate(SkillState(5, true), true);
        },
        [&] {
            DurationDamageManager& damage = hero->GetDurationDamageManager();
            damage.SetAttacker(9);
            damage.AddDamage(CombatAttributeType::Fire, 20.0f, 0.4f);
            damage.EndAttack();
        },
    };
    std::set<std::uint64_t> seen = {ComputeWorldChecksum()};
    for (const auto& change : changes) {
        change();
        EXPECT_TRUE(seen.insert(ComputeWorldChecksum()).second) << "change " << seen.size();
    }
    ShutdownObjects();
}

TEST(StateChecksum, BothZerosAreOneState) {
    StateChecksum plus;
    StateChecksum minus;
    plus.AddFloat(0.0f);
    minus.AddFloat(-0.0f);
    EXPECT_EQ(plus.GetValue(), minus.GetValue());
    minus.AddFloat(1.0f);
    EXPECT_NE(plus.GetValue(), minus.GetValue());
}

}  // namespace
}  // namespace GAME::test
