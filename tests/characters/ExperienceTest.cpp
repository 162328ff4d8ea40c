#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <vector>

#include "CharacterTestSupport.h"
#include "Engine/media/graphics/EffectEntity.h"
#include "Engine/media/sound/SoundPak.h"
#include "Engine/records/RecordDatabase.h"
#include "Engine/streams/IOStream.h"
#include "Game/characters/CharacterEvents.h"
#include "Game/core/players/Bonus.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

// Counts the events of one name.
class EventCounter : public EventHandlerInterface {
public:
    explicit EventCounter(const char* happening) : mName(GameEventName(happening)) {
        Singleton<EventManager>::Get().Register(mName, this);
    }
    ~EventCounter() override { Singleton<EventManager>::Get().UnRegister(mName, this); }
    void HandleEvent(const GameEvent* payload) override {
        if (const auto* id = dynamic_cast<const GameEvent_CharacterId*>(payload))
            ids.push_back(id->objectId);
    }
    std::vector<std::uint32_t> ids;

private:
    std::string mName;
};

TEST(ExperienceLevels, OneGainCrossingThreeThresholdsRaisesThreeLevels) {
    TestMachine tm;
    Character* hero = MakeCharacter(kHeroRecord);
    ASSERT_NE(hero, nullptr);
    ExperienceLevelControl& levels = hero->GetExperienceLevelControl();
    EXPECT_EQ(levels.GetLastLevelExperience(), 0u);
    EXPECT_EQ(levels.GetNextLevelExperience(), 100u);
    EXPECT_EQ(hero->GetSkillPoints(), 1u);  // the level record's initial points

    EventCounter skillUps("PlayerSkillUp");
    EventCounter levelUps("PlayerLevelUp");
    RunFrame(*hero, 10);
    hero->SubtractLife(60.0f, {});
    hero->ReceiveExperience(350);
    EXPECT_EQ(hero->GetCharLevel(), 4u);
    EXPECT_EQ(hero->GetExperiencePoints(), 350u);
    EXPECT_EQ(hero->GetModifierPoints(), 9u);
    EXPECT_EQ(hero->GetSkillPoints(), 7u);
    EXPECT_EQ(skillUps.ids.size(), 3u);
    ASSERT_EQ(levelUps.ids.size(), 1u);
    EXPECT_EQ(levelUps.ids[0], hero->GetObjectId());
    EXPECT_EQ(hero->GetPlayStats().GetExperienceGained(), 350u);
    EXPECT_EQ(hero->GetPlayStats().GetMaxLevel(), 2u);
    // A level refills life at once: the other machines apply a kill's experience by packet,
    // before or after their update of the character.
    EXPECT_FLOAT_EQ(hero->GetCurrentLife(), hero->GetLifeLimit());
    RunFrame(*hero, 10);
    EXPECT_FLOAT_EQ(hero->GetCurrentLife(), hero->GetLifeLimit());

    // At the maximum level experience stops at the last threshold.
    hero->ReceiveExperience(10000);
    EXPECT_EQ(hero->GetCharLevel(), 5u);
    EXPECT_EQ(hero->GetExperiencePoints(), 400u);
    EXPECT_TRUE(levels.IsMaxLevel());
}

TEST(ExperienceLevels, ALevelGainedAloudShowsItsEffectAndABonusItsOwn) {
    TestMachine tm;
    ASSERT_TRUE(Singleton<RecordDatabase>::Get().AddRecordText(
        "Records/Characters/LoudHero.dbr",
        R"({"Class": "Character", "characterLife": 200,
            "levelFileName": "Records/Characters/HeroLevels.dbr",
            "levelUpSound": "Records/Test/Sound/Pak.dbr", "levelUpFx": "Records/Fx/AbsFireSmall.dbr"})"));
    Character* hero = MakeCharacter("Records/Characters/LoudHero.dbr");
    ASSERT_NE(hero, nullptr);
    const std::size_t before = hero->GetAttachedChildren().size();
    // Without a level, and for a quiet level, nothing shows.
    hero->ReceiveExperience(10);
    hero->IncrementCharLevel();
    ASSERT_EQ(hero->GetCharLevel(), 2u);
    EXPECT_EQ(hero->GetAttachedChildren().size(), before);
    hero->ReceiveExperience(hero->GetExperienceLevelControl().GetNextLevelExperience() -
                            hero->GetExperiencePoints());
    ASSERT_EQ(hero->GetCharLevel(), 3u);
    ASSERT_EQ(hero->GetAttachedChildren().size(), before + 1);
    EXPECT_NE(
        Singleton<ObjectManager>::Get().GetObject<EffectEntity>(hero->GetAttachedChildren().back()),
        nullptr);
    // The sound is the local main player's only.
    SoundPak* sound = hero->GetSoundPak(Character::LevelUpSound);
    ASSERT_NE(sound, nullptr);
    EXPECT_EQ(sound->GetPlayCount(), 0u);

    Bonus shown;
    shown.effectName = "Records/Fx/AbsFireSmall.dbr";
    hero->TakeBonus(shown, false, 0);
    EXPECT_EQ(hero->GetAttachedChildren().size(), before + 2);
}

// A character whose equipment grants an experience bonus.
class BoostedHero : public Character {
public:
    void GetEquipCharAttributes(CharAttributeAccumulator& accumulator) override {
        accumulator.AddValue(CharAttributeType::IncreasedExperience, bonus);
    }
    // A source that changes says so, as worn items do.
    void SetBonus(float value) {
        bonus = value;
        CharAttributeInputsChanged();
    }
    float bonus = 0.0f;
};

TEST(ExperienceLevels, BonusesPenaltiesAndDeathLossesStayInRange) {
    TestMachine tm;
    auto boosted = std::make_unique<BoostedHero>();
    boosted->Load(Singleton<ObjectManager>::Get().GetLoadTable(kHeroRecord));
    boosted->InitialUpdate();
    BoostedHero* hero = boosted.get();
    hero->SetBonus(50.0f);
    RunFrame(*hero, 10);
    hero->ReceiveExperience(100);
    EXPECT_EQ(hero->GetExperiencePoints(), 150u);
    EXPECT_EQ(hero->GetCharLevel(), 2u);
    // A penalty beyond -100 % takes the whole gain and no more.
    hero->SetBonus(-250.0f);
    RunFrame(*hero, 10);
    hero->ReceiveExperience(100);
    EXPECT_EQ(hero->GetExperiencePoints(), 150u);
    hero->SetBonus(0.0f);
    RunFrame(*hero, 10);

    ExperienceLevelControl& levels = hero->GetExperienceLevelControl();
    EXPECT_EQ(hero->GetCharLevel(), 2u);
    levels.LoseExperience(500);
    EXPECT_EQ(hero->GetExperiencePoints(), 100u);

    hero->IncrementCharLevel();
    EXPECT_EQ(hero->GetCharLevel(), 3u);
    EXPECT_EQ(hero->GetExperiencePoints(), 200u);

    const std::uint32_t points = hero->GetModifierPoints();
    const float strength = hero->GetTotalCharAttribute(CharAttributeType::Strength);
    hero->IncrementBaseStrength();
    RunFrame(*hero, 10);
    EXPECT_EQ(hero->GetModifierPoints(), points - 1);
    EXPECT_FLOAT_EQ(hero->GetTotalCharAttribute(CharAttributeType::Strength), strength + 4.0f);
    while (hero->GetModifierPoints() > 0)
        hero->IncrementBaseLife();
    RunFrame(*hero, 10);
    const float life = hero->GetCharacterBio().GetBaseCharAttribute(CharAttributeType::Life);
    hero->IncrementBaseStrength();
    hero->IncrementBaseLife();
    RunFrame(*hero, 10);
    EXPECT_FLOAT_EQ(hero->GetCharacterBio().GetBaseCharAttribute(CharAttributeType::Life), life);

    while (hero->GetSkillPoints() > 0)
        levels.SubtractSkillPoint();
    levels.SubtractSkillPoint();
    EXPECT_EQ(hero->GetSkillPoints(), 0u);

    Bonus reward;
    reward.experience = 0;
    reward.gold = 30;
    reward.skillPoints = 2;
    reward.attributePoints = 1;
    hero->TakeBonus(reward, false, 0);
    EXPECT_EQ(hero->GetMoney(), 30u);
    EXPECT_EQ(hero->GetSkillPoints(), 2u);
    EXPECT_EQ(hero->GetModifierPoints(), 1u);
}

TEST(ExperienceLevels, WithoutALevelRecordExperienceAccumulatesAndNoLevelIsGained) {
    TestMachine tm;
    Character* brute = MakeCharacter("Records/Characters/Brute.dbr");
    ASSERT_NE(brute, nullptr);
    EXPECT_EQ(brute->GetCharLevel(), 3u);  // difficulty 0 of the list
    brute->ReceiveExperience(70);
    brute->ReceiveExperience(30);
    EXPECT_EQ(brute->GetExperiencePoints(), 100u);
    EXPECT_EQ(brute->GetCharLevel(), 3u);
}

TEST(ExperienceLevels, SaveSectionRoundTripsAndTheTableDumps) {
    TestMachine tm;
    Character* hero = MakeCharacter(kHeroRecord);
    ASSERT_NE(hero, nullptr);
    hero->ReceiveExperience(230);
    IOStream out;
    hero->GetExperienceLevelControl().StreamProperties(out);
    Character* other = MakeCharacter(kHeroRecord);
    IOStream in(out.GetBytes());
    other->GetExperienceLevelControl().StreamProperties(in);
    EXPECT_EQ(other->GetCharLevel(), 3u);
    EXPECT_EQ(other->GetExperiencePoints(), 230u);
    EXPECT_EQ(other->GetModifierPoints(), 6u);
    EXPECT_EQ(other->GetSkillPoints(), 5u);

    hero->GetExperienceLevelControl().DumpLevelTable();
    EXPECT_EQ(tm.CountLog("Level                       Experience"), 1);
    char line[64];
    std::snprintf(line, sizeof line, "%3d                              %8d", 5, 400);
    EXPECT_EQ(tm.CountLog(line), 1);
}

}  // namespace
}  // namespace GAME::test
