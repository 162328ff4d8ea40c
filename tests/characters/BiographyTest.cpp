#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "CharacterTestSupport.h"
#include "Engine/records/RecordDatabase.h"
#include "Engine/streams/IOStream.h"
#include "Game/core/GameEngine.h"
#include "Game/core/players/Bonus.h"
#include "support/CharacterSetUp.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

TEST(CharacterBio, FollowsItsTotalsUntilTaintedThenRegeneratesFromTheFormulas) {
    TestMachine tm;
    Character* hero = MakeCharacter(kHeroRecord);
    ASSERT_NE(hero, nullptr);
    CharacterBio& bio = hero->GetCharacterBio();
    EXPECT_TRUE(bio.HasLifeRegenFormula());
    RunFrame(*hero, 100);
    EXPECT_FLOAT_EQ(hero->GetCurrentLife(), 200.0f);
    EXPECT_FLOAT_EQ(hero->GetCurrentMana(), 100.0f);

    hero->SubtractLife(50.0f, {PlayStatsDamageType::Attack, CombatAttributeType::Fire});
    EXPECT_FLOAT_EQ(hero->GetCurrentLife(), 150.0f);
    // lifeRegen 2 per second over ten frames of 100 ms.
    for (int i = 0; i < 10; ++i)
        RunFrame(*hero, 100);
    EXPECT_NEAR(hero->GetCurrentLife(), 152.0f, 1e-3f);
    EXPECT_NEAR(hero->GetPlayStats().GetLifeHealed(PlayStatsLifeType::Regeneration), 2.0f, 1e-3f);
    // No game time passed: nothing regenerates.
    hero->UpdateSelf(0);
    hero->PreAnimationUpdate(0);
    EXPECT_NEAR(hero->GetCurrentLife(), 152.0f, 1e-3f);
}

TEST(CharacterBio, PoolsFeedAndDrainAtTheirRatesAndNeverPassTheTotals) {
    TestMachine tm;
    Character* hero = MakeCharacter(kHeroRecord);
    ASSERT_NE(hero, nullptr);
    RunFrame(*hero, 10);
    hero->SubtractLife(100.0f, {});
    // Over-storage 2: the pool holds at most 400.
    hero->AddLifeSlow(1000.0f, PlayStatsLifeType::Potion);
    EXPECT_FLOAT_EQ(hero->GetCharacterBio().GetSlowLifePool(), 400.0f);
    // Feed rate 2 s: 200 / 2000 per ms, 10 per 100 ms, plus 0.2 regeneration.
    RunFrame(*hero, 100);
    EXPECT_NEAR(hero->GetCurrentLife(), 110.2f, 1e-3f);
    EXPECT_NEAR(hero->GetCharacterBio().GetSlowLifePool(), 390.0f, 1e-3f);
    for (int i = 0; i < 30; ++i)
        RunFrame(*hero, 100);
    EXPECT_FLOAT_EQ(hero->GetCurrentLife(), 200.0f);

    // Mana spent leaves at the drain rate (1 s for the whole total).
    hero->SubtractMana(40.0f);
    RunFrame(*hero, 100);
    EXPECT_NEAR(hero->GetCurrentMana(), 100.0f - 10.0f + 0.1f, 1e-3f);
    EXPECT_NEAR(hero->GetCharacterBio().GetManaDrainPool(), 30.0f, 1e-3f);
    hero->SetOmnipotent(true);
    hero->SubtractMana(50.0f);
    EXPECT_NEAR(hero->GetCharacterBio().GetManaDrainPool(), 30.0f, 1e-3f);
}

TEST(CharacterBio, NegativeRegenerationNeverKillsAndTheDeadDoNotRegenerate) {
    TestMachine tm;
    Character* hero = MakeCharacter(kHeroRecord);
    ASSERT_NE(hero, nullptr);
    CharacterBio& bio = hero->GetCharacterBio();
    RunFrame(*hero, 10);
    bio.SubtractLife(199.5f);
    EXPECT_FLOAT_EQ(bio.GetLifeRegenValue(-5.0f, 0.0f, 1.0f), -5.0f);
    hero->IncrementBaseAttribute(CharAttributeType::LifeRegen, -1000.0f);
    RunFrame(*hero, 1000);
    EXPECT_FLOAT_EQ(hero->GetCurrentLife(), 0.5f);
    EXPECT_EQ(hero->GetCurrentLifeInt(), 1);
    bio.SubtractLife(5.0f);
    EXPECT_EQ(hero->GetCurrentLifeInt(), 0);
    hero->IncrementBaseAttribute(CharAttributeType::LifeRegen, 2000.0f);
    RunFrame(*hero, 1000);
    EXPECT_FLOAT_EQ(hero->GetCurrentLife(), 0.0f);
}

TEST(CharacterBio, FractionsOfAZeroTotalStayFiniteAndCopiesOwnTheirFormulas) {
    TestMachine tm;
    Character* hero = MakeCharacter(kHeroRecord);
    ASSERT_NE(hero, nullptr);
    CharacterBio& bio = hero->GetCharacterBio();
    test::SetLife(*hero, 0.0f, 0.0f);
    bio.BalanceHasChanged();
    RunFrame(*hero, 100);
    EXPECT_TRUE(std::isfinite(hero->GetCurrentLife()));
    test::SetLife(*hero, 80.0f, 120.0f);
    bio.BalanceHasChanged();
    RunFrame(*hero, 100);
    EXPECT_TRUE(std::isfinite(hero->GetCurrentLife()));
    EXPECT_LE(hero->GetCurrentLife(), 120.0f);

    auto copy = std::make_unique<CharacterBio>(bio);
    CharacterBio assigned;
    assigned = bio;
    EXPECT_TRUE(copy->HasLifeRegenFormula());
    EXPECT_FLOAT_EQ(copy->GetCurrentLife(), bio.GetCurrentLife());
    // The copy's formula reads the copy's variables, not the original's.
    EXPECT_FLOAT_EQ(copy->GetLifeRegenValue(3.0f, 0.0f, 2.0f), 6.0f);
    copy.reset();
    EXPECT_FLOAT_EQ(bio.GetLifeRegenValue(1.0f, 0.0f, 2.0f), 2.0f);
    EXPECT_FLOAT_EQ(assigned.GetLifeRegenValue(1.0f, 0.0f, 4.0f), 4.0f);
}

TEST(CharacterBio, BonusesSavesAndReplicasKeepTheBaseValues) {
    TestMachine tm;
    Character* hero = MakeCharacter(kHeroRecord);
    ASSERT_NE(hero, nullptr);
    RunFrame(*hero, 10);
    hero->SubtractLife(30.0f, {});
    Bonus potion;
    potion.lifePoints = 100.0f;
    hero->TakeBonus(potion, false, static_cast<int>(PlayStatsLifeType::Potion));
    EXPECT_FLOAT_EQ(hero->GetCurrentLife(), 200.0f);
    EXPECT_FLOAT_EQ(hero->GetPlayStats().GetLifeHealed(PlayStatsLifeType::Potion), 30.0f);

    IOStream out;
    hero->GetCharacterBio().StreamProperties(out);
    Character* other = MakeCharacter(kHeroRecord);
    other->IncrementBaseAttribute(CharAttributeType::Strength, 7.0f);
    IOStream in(out.GetBytes());
    other->GetCharacterBio().StreamProperties(in);
    CharacterBioReplicaInfo info;
    other->GetCharacterBio().GetCurrentBioStats(info);
    EXPECT_EQ(info.baseStrength, 50u);
    EXPECT_EQ(info.baseLife, 200u);

    // Zeros in a save leave the loaded values alone.
    IOStream zeros;
    zeros.BeginBlock("characterBio");
    for (int i = 0; i < 5; ++i) {
        float zero = 0.0f;
        zeros.StreamFloat("temp", zero);
    }
    zeros.EndBlock();
    IOStream readZeros(zeros.GetBytes());
    other->GetCharacterBio().StreamProperties(readZeros);
    other->GetCharacterBio().GetCurrentBioStats(info);
    EXPECT_EQ(info.baseDexterity, 40u);

    info.currentLife = 17;
    info.tainted = true;
    info.baseMana = 130;
    other->GetCharacterBio().RestoreCurrentBioStats(info, true);
    CharacterBioReplicaInfo back;
    other->GetCharacterBio().GetCurrentBioStats(back);
    EXPECT_EQ(back.currentLife, 17u);
    EXPECT_EQ(back.baseMana, 130u);
    EXPECT_TRUE(back.tainted);

    // The totals follow base values restored or loaded after the sums were last worked out.
    RunFrame(*other, 10);
    EXPECT_FLOAT_EQ(other->GetCharacterBio().GetBaseCharAttribute(CharAttributeType::Mana), 130.0f);
    info.baseStrength = 61;
    other->GetCharacterBio().RestoreCurrentBioStats(info, true);
    RunFrame(*other, 10);
    EXPECT_FLOAT_EQ(other->GetCharacterBio().GetBaseCharAttribute(CharAttributeType::Strength),
                    61.0f);
    IOStream reload(out.GetBytes());
    other->GetCharacterBio().StreamProperties(reload);
    RunFrame(*other, 10);
    EXPECT_FLOAT_EQ(other->GetCharacterBio().GetBaseCharAttribute(CharAttributeType::Strength),
                    50.0f);
}

// Spent before the first frame (a driver's or a controller's click as the character enters),
// an attribute point leaves life and mana at their totals; spent later, it marks them touched.
TEST(CharacterBio, AnAttributeSpentBeforeTheFirstFrameLeavesLifeAndManaFull) {
    const struct {
        void (Character::*spend)();
        CharAttributeType type;
    } spends[] = {{&Character::IncrementBaseStrength, CharAttributeType::Strength},
                  {&Character::IncrementBaseDexterity, CharAttributeType::Dexterity},
                  {&Character::IncrementBaseIntelligence, CharAttributeType::Intelligence}};
    for (const auto& c : spends)
        for (bool beforeInitialUpdate : {true, false}) {
            SCOPED_TRACE(testing::Message() << static_cast<int>(c.type) << beforeInitialUpdate);
            TestMachine tm;
            auto* hero =
                Singleton<ObjectManager>::Get().CreateObjectFromFile<Character>(kHeroRecord);
            ASSERT_NE(hero, nullptr);
            hero->GetExperienceLevelControl().AddModifierPoints(2);
            const float base = hero->GetCharacterBio().GetBaseCharAttribute(c.type);
            if (!beforeInitialUpdate)
                hero->InitialUpdate();
            (hero->*c.spend)();
            if (beforeInitialUpdate)
                hero->InitialUpdate();
            RunFrame(*hero, 100);
            EXPECT_GT(hero->GetCharacterBio().GetBaseCharAttribute(c.type), base);
            EXPECT_FLOAT_EQ(hero->GetCurrentLife(), 200.0f);
            EXPECT_FLOAT_EQ(hero->GetCurrentMana(), hero->GetManaLimit());
            EXPECT_GT(hero->GetCurrentMana(), 0.0f);
            (hero->*c.spend)();
            EXPECT_TRUE(hero->GetCharacterBio().GetTaintedBio());
        }
}

// A record's stores are loaded once and shared; a bio whose base values change takes a copy,
// the others keep the record's values. Setting what a bio already holds copies nothing.
TEST(CharacterBio, OneRecordsBiosShareTheirStoresUntilABaseValueChanges) {
    const struct {
        const char* what;
        void (*change)(CharacterBio&);
        bool copies;
        float strength;
        float life;
    } cases[] = {
        {"a point spent",
         [](CharacterBio& bio) { bio.IncrementBaseAttribute(CharAttributeType::Strength, 1.0f); },
         true, 51.0f, 200.0f},
        {"a vital set",
         [](CharacterBio& bio) { bio.SetBaseVital(CharAttributeType::Life, 250.0f); }, true, 50.0f,
         250.0f},
        {"the values it holds restored",
         [](CharacterBio& bio) {
             CharacterBioReplicaInfo info;
             bio.GetCurrentBioStats(info);
             bio.RestoreCurrentBioStats(info, true);
         },
         false, 50.0f, 200.0f},
        {"another strength restored",
         [](CharacterBio& bio) {
             CharacterBioReplicaInfo info;
             bio.GetCurrentBioStats(info);
             info.baseStrength = 61;
             bio.RestoreCurrentBioStats(info, true);
         },
         true, 61.0f, 200.0f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TestMachine tm;
        Character* heroes[] = {MakeCharacter(kHeroRecord), MakeCharacter(kHeroRecord),
                               MakeCharacter(kHeroRecord)};
        for (Character* hero : heroes)
            ASSERT_NE(hero, nullptr);
        const CharacterBio& first = heroes[0]->GetCharacterBio();
        CharacterBio& changed = heroes[1]->GetCharacterBio();
        EXPECT_EQ(&changed.GetBaseStore(), &first.GetBaseStore());
        c.change(changed);
        for (Character* hero : heroes)
            RunFrame(*hero, 10);
        EXPECT_EQ(changed.SharesRecordBase(), !c.copies);
        EXPECT_EQ(&changed.GetBaseStore() != &first.GetBaseStore(), c.copies);
        EXPECT_FLOAT_EQ(changed.GetBaseCharAttribute(CharAttributeType::Strength), c.strength);
        EXPECT_FLOAT_EQ(changed.GetBaseCharAttribute(CharAttributeType::Life), c.life);
        // The copy keeps what the record gave otherwise.
        EXPECT_FLOAT_EQ(changed.GetBaseCharAttribute(CharAttributeType::Dexterity), 40.0f);
        for (Character* hero : {heroes[0], heroes[2]}) {
            const CharacterBio& bio = hero->GetCharacterBio();
            EXPECT_EQ(&bio.GetBaseStore(), &first.GetBaseStore());
            EXPECT_FLOAT_EQ(bio.GetBaseCharAttribute(CharAttributeType::Strength), 50.0f);
            EXPECT_FLOAT_EQ(bio.GetBaseCharAttribute(CharAttributeType::Life), 200.0f);
        }
        for (Character* hero : heroes)
            EXPECT_EQ(&hero->GetCharacterBio().GetDefenseStore(), &first.GetDefenseStore());
    }
}

// Loaded once, a record's bad fields are still reported for every character made from it, in
// the order of its own load.
TEST(CharacterBio, ARecordsBadFieldsAreReportedForEveryCharacterMadeFromIt) {
    TestMachine tm;
    ASSERT_TRUE(Singleton<RecordDatabase>::Get().AddRecordText(
        "Records/Test/BadBio.dbr", R"({"Class": "Character", "characterLife": 90,
            "characterStrength": ["ten"], "defensiveFire": ["hot"]})"));
    tm.ClearLog();
    const std::string strength = "\"characterStrength\" is not";
    const std::string fire = "\"defensiveFire\" is not";
    std::vector<Character*> made;
    for (int i = 0; i < 3; ++i)
        made.push_back(MakeCharacter("Records/Test/BadBio.dbr"));
    std::vector<std::string> reported;
    for (const test::LogLine& line : tm.Log())
        for (const std::string* field : {&strength, &fire})
            if (line.text.find(*field) != std::string::npos)
                reported.push_back(*field);
    EXPECT_EQ(reported, (std::vector<std::string>{strength, fire, strength, fire, strength, fire}));
    EXPECT_FLOAT_EQ(made[2]->GetCharacterBio().GetBaseCharAttribute(CharAttributeType::Life),
                    90.0f);
}

// Bios sharing a record read its base sums at the game's difficulty; one that spent a point reads
// its own, which follow the difficulty as well.
TEST(CharacterBio, SharedAndOwnBaseSumsFollowTheDifficulty) {
    TestMachine tm;
    ASSERT_TRUE(Singleton<RecordDatabase>::Get().AddRecordText(
        "Records/Test/Tiered.dbr", R"({"Class": "Character", "characterLife": [100, 200, 300],
            "characterStrength": 10})"));
    InitializeObjects();
    Character* shared[] = {MakeCharacter("Records/Test/Tiered.dbr"),
                           MakeCharacter("Records/Test/Tiered.dbr")};
    Character* spender = MakeCharacter("Records/Test/Tiered.dbr");
    spender->IncrementBaseAttribute(CharAttributeType::Strength, 1.0f);
    const struct {
        int difficulty;
        float life;
    } levels[] = {{1, 200.0f}, {0, 100.0f}, {2, 300.0f}, {5, 300.0f}, {0, 100.0f}};
    for (const auto& c : levels) {
        SCOPED_TRACE(c.difficulty);
        gGameEngine->SetGameDifficulty(c.difficulty);
        for (Character* character : {shared[0], shared[1], spender})
            RunFrame(*character, 10);
        for (Character* character : {shared[0], shared[1], spender})
            EXPECT_FLOAT_EQ(
                character->GetCharacterBio().GetBaseCharAttribute(CharAttributeType::Life), c.life);
        for (Character* character : shared)
            EXPECT_FLOAT_EQ(
                character->GetCharacterBio().GetBaseCharAttribute(CharAttributeType::Strength),
                10.0f);
        EXPECT_FLOAT_EQ(
            spender->GetCharacterBio().GetBaseCharAttribute(CharAttributeType::Strength), 11.0f);
    }
    ShutdownObjects();
}

// A regeneration value is kept while the variables its formula reads stay the same: each change of
// one of them, the ones the update sets included, gives a fresh value. A formula naming an unknown
// variable is worked out (and logged) at every evaluation.
TEST(CharacterBio, KeptRegenerationFollowsEveryVariableItsFormulaReads) {
    TestMachine tm;
    constexpr const char* kRegen =
        "{\"lifeRegenEquation\": \"(lifeRegen*elapsedTime)+(intelligence*charLevel)\","
        " \"manaRegenEquation\": \"(manaRegen*elapsedTime)+(unknownName*1)\"}";
    ASSERT_TRUE(Singleton<RecordDatabase>::Get().AddRecordText(CharacterBio::kRegenRecord, kRegen));
    Character* hero = MakeCharacter(kHeroRecord);
    ASSERT_NE(hero, nullptr);
    CharacterBio& bio = hero->GetCharacterBio();
    ASSERT_TRUE(bio.HasLifeRegenFormula());
    RunFrame(*hero, 10);
    const float intelligence = bio.GetAttribute(CharAttributeType::Intelligence);
    const float level = static_cast<float>(hero->GetCharLevel());
    const struct {
        float regen, seconds, addedIntelligence;
    } steps[] = {{1.0f, 2.0f, 0.0f}, {1.0f, 2.0f, 0.0f}, {3.0f, 2.0f, 0.0f}, {3.0f, 5.0f, 0.0f},
                 {3.0f, 5.0f, 0.0f}, {3.0f, 5.0f, 4.0f}, {3.0f, 5.0f, 0.0f}, {1.0f, 2.0f, 0.0f}};
    float added = 0.0f;
    for (const auto& step : steps) {
        SCOPED_TRACE(step.regen * step.seconds + step.addedIntelligence);
        if (step.addedIntelligence != 0.0f) {
            hero->IncrementBaseAttribute(CharAttributeType::Intelligence, step.addedIntelligence);
            added += step.addedIntelligence;
            RunFrame(*hero, 10);
        }
        EXPECT_FLOAT_EQ(bio.GetLifeRegenValue(step.regen, 0.0f, step.seconds),
                        step.regen * step.seconds + (intelligence + added) * level);
    }
    tm.ClearLog();
    for (int i = 0; i < 2; ++i)
        EXPECT_FLOAT_EQ(bio.GetManaRegenValue(2.0f, 0.0f, 3.0f), 6.0f);
    const auto logged = std::count_if(tm.Log().begin(), tm.Log().end(), [](const LogLine& line) {
        return line.text.find("unknownName") != std::string::npos;
    });
    EXPECT_EQ(logged, 2);
}

// A character standing at full life skips its update until something changes it: every change
// must reach the next frame as a full update would (a debug build also reruns a skipped update).
TEST(CharacterBio, EveryChangeReachesASettledCharacter) {
    const struct Case {
        const char* name;
        void (*change)(Character&);
        int ms;
        float life, mana, healed;
    } cases[] = {
        {"life lost", [](Character& c) { c.GetCharacterBio().SubtractLife(50.0f); }, 100, 150.2f,
         100.0f, 0.2f},
        {"mana spent", [](Character& c) { c.GetCharacterBio().SubtractMana(40.0f); }, 100, 200.0f,
         90.1f, 0.0f},
        {"pool filled after a loss",
         [](Character& c) {
             c.GetCharacterBio().SubtractLife(50.0f);
             c.GetCharacterBio().AddLifeSlow(100.0f);
         },
         100, 160.2f, 100.0f, 10.2f},
        {"regeneration turned negative",
         [](Character& c) { c.IncrementBaseAttribute(CharAttributeType::LifeRegen, -12.0f); }, 1000,
         190.0f, 100.0f, -10.0f},
        {"longer frame after a loss", [](Character& c) { c.GetCharacterBio().SubtractLife(50.0f); },
         1000, 152.0f, 100.0f, 2.0f},
        {"values reloaded after a loss",
         [](Character& c) {
             c.GetCharacterBio().SubtractLife(50.0f);
             c.GetCharacterBio().ReloadValues();
         },
         100, 200.0f, 100.0f, 0.0f},
        {"no time passes", [](Character&) {}, 0, 200.0f, 100.0f, 0.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestMachine tm;
        Character* hero = MakeCharacter(kHeroRecord);
        ASSERT_NE(hero, nullptr);
        CharacterBio& bio = hero->GetCharacterBio();
        RunFrame(*hero, 100);
        bio.BioIsTainted();
        for (int i = 0; i < 3; ++i)
            RunFrame(*hero, 100);
        ASSERT_FLOAT_EQ(hero->GetCurrentLife(), 200.0f);
        const float healed = hero->GetPlayStats().GetLifeHealed(PlayStatsLifeType::Regeneration);
        c.change(*hero);
        RunFrame(*hero, c.ms);
        EXPECT_NEAR(hero->GetCurrentLife(), c.life, 1e-3f);
        EXPECT_NEAR(hero->GetCurrentMana(), c.mana, 1e-3f);
        EXPECT_NEAR(hero->GetPlayStats().GetLifeHealed(PlayStatsLifeType::Regeneration) - healed,
                    c.healed, 1e-3f);
    }
}
}  // namespace
}  // namespace GAME::test
