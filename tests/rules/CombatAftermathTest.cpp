// What an attack leaves besides lost life: the racial defense against the attacker's races, the
// absorption effects, impact and critical-strike feedback, and the character's own lasting
// effects read through its combat manager.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Engine/Engine.h"
#include "Engine/events/EventManager.h"
#include "Engine/media/graphics/EffectEntity.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/sys/RandomUniform.h"
#include "Engine/text/LocalizationManager.h"
#include "Game/characters/Character.h"
#include "Game/characters/Player.h"
#include "Game/core/GameEngine.h"
#include "Game/core/players/Bonus.h"
#include "Game/core/players/PlayerManagerClient.h"
#include "Game/rules/combat/CombatAttribute.h"
#include "Game/rules/combat/CombatEvents.h"
#include "Game/rules/combat/CombatManager.h"
#include "Game/rules/combat/ParametersCombat.h"
#include "rules/CombatantSetup.h"
#include "support/CharacterSetUp.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

using T = CombatAttributeType;
using Style = ParametersCombatStyle;

// Halves the damage of undead attackers and soaks 15 of it, as a blessed amulet would; counts
// the feedback the combat manager asks it for.
class Warden : public Character {
public:
    void ContributeRacialBonusDefense(const std::vector<std::string>& races,
                                      RacialBonus_Defense& defense) override {
        for (const auto& race : races) {
            if (race == "Undead") {
                defense.percent += 50.0f;
                defense.absolute += 15.0f;
            }
        }
    }
    void PlayImpactSound() override { ++impacts; }
    SoundPak* GetCriticalHitSound() const override {
        ++criticalSounds;
        return nullptr;
    }
    int impacts = 0;
    mutable int criticalSounds = 0;
};

bool Strike(Character& attacker, Character& defender, RandomUniform& random, Style style,
            T type = T::Fire, float amount = 40.0f) {
    ParametersCombat attack(random);
    attack.attackerId = attacker.GetObjectId();
    attack.combatStyle = style;
    attack.offensiveAbility = attacker.GetCombatManager().DesignerCalculateOffensiveAbility(0.0f);
    attack.accumulator.AddDamage(std::make_unique<CombatAttributeAbsDamage>(type, amount));
    attack.accumulator.AddDamage(std::make_unique<CombatAttributeAbsDamage>(type, amount));
    return defender.TakeAttack(attack);
}

struct FloatingTexts : EventHandlerInterface {
    FloatingTexts() {
        Singleton<EventManager>::Get().Register(GameEventName("FloatingText"), this);
    }
    ~FloatingTexts() override {
        Singleton<EventManager>::Get().UnRegister(GameEventName("FloatingText"), this);
    }
    void HandleEvent(const GameEvent* payload) override {
        texts.push_back(*static_cast<const GameEvent_FloatingText*>(payload));
    }
    std::vector<GameEvent_FloatingText> texts;
};

std::size_t CountEffects(const std::string& record) {
    std::size_t count = 0;
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    for (std::uint32_t id : objects.GetObjectIds()) {
        auto* effect = objects.GetObject<EffectEntity>(id);
        if (effect && effect->GetObjectName() == record && effect->IsEmitting())
            ++count;
    }
    return count;
}

struct Aftermath : ::testing::Test {
    TestMachine tm;
    Aftermath() { InitializeObjects(); }
    ~Aftermath() override { ShutdownObjects(); }
};

TEST_F(Aftermath, RacialDefenseActsOnlyAgainstTheAttackersRaces) {
    auto& objects = Singleton<ObjectManager>::Get();
    Character* knight = objects.CreateObjectFromFile<Character>("Records/Combat/Knight.dbr");
    Character* ghoul = objects.CreateObjectFromFile<Character>("Records/Combat/Ghoul.dbr");
    ASSERT_NE(knight, nullptr);
    ASSERT_NE(ghoul, nullptr);
    knight->InitialUpdate();
    ghoul->InitialUpdate();
    Warden warden;
    Prepare(warden, "Records/Combat/Mirror.dbr");
    RandomUniform random;
    random.Seed(3);
    const float full = warden.GetCurrentLife();

    // A human's two fire payloads of 40 land whole (the mirror has no fire resistance).
    EXPECT_TRUE(Strike(*knight, warden, random, Style::Direct));
    EXPECT_FLOAT_EQ(warden.GetCurrentLife(), full - 80.0f);
    // The undead's are halved to 20 each, and the pool of 15 takes 15 of the first.
    EXPECT_TRUE(Strike(*ghoul, warden, random, Style::Direct));
    EXPECT_FLOAT_EQ(warden.GetCurrentLife(), full - 80.0f - 25.0f);
    // The pool is per attack: the next one starts with a full pool.
    EXPECT_TRUE(Strike(*ghoul, warden, random, Style::Direct));
    EXPECT_FLOAT_EQ(warden.GetCurrentLife(), full - 80.0f - 50.0f);
    // Direct attacks play no impact sound.
    EXPECT_EQ(warden.impacts, 0);
}

TEST_F(Aftermath, AHitHandsItsRagdollPushToTheDefender) {
    Character* knight = Singleton<ObjectManager>::Get().CreateObjectFromFile<Character>(
        "Records/Combat/Knight.dbr");
    ASSERT_NE(knight, nullptr);
    knight->InitialUpdate();
    Warden warden;
    Prepare(warden, "Records/Combat/Mirror.dbr");
    RandomUniform random;
    random.Seed(3);
    ParametersCombat attack(random);
    attack.attackerId = knight->GetObjectId();
    attack.combatStyle = Style::Direct;
    attack.ragDollData.effect = CharacterRagDoll::TakeHit;
    attack.ragDollData.direction = Vec3(1.0f, 0.0f, 0.0f);
    attack.ragDollData.speed = 6.0f;
    attack.accumulator.AddDamage(std::make_unique<CombatAttributeAbsDamage>(T::Fire, 40.0f));
    ASSERT_TRUE(warden.TakeAttack(attack));
    const CharacterRagDoll::EffectData& pushed = warden.GetRagdollData();
    EXPECT_EQ(pushed.effect, CharacterRagDoll::TakeHit);
    EXPECT_FLOAT_EQ(pushed.direction.x, 1.0f);
    EXPECT_FLOAT_EQ(pushed.speed, 6.0f);
    EXPECT_FLOAT_EQ(pushed.amplification, 40.0f * 3.0f / warden.GetLifeLimit());
}

TEST_F(Aftermath, AbsorptionEffectsShowOncePerKindAndAttack) {
    Character* hero = Singleton<ObjectManager>::Get().CreateObjectFromFile<Character>(
        "Records/Characters/Hero.dbr");
    Character* knight = Singleton<ObjectManager>::Get().CreateObjectFromFile<Character>(
        "Records/Combat/Knight.dbr");
    ASSERT_NE(hero, nullptr);
    ASSERT_NE(knight, nullptr);
    hero->InitialUpdate();
    knight->InitialUpdate();
    Settle(*hero);
    const std::string fire = hero->GetAbsorptionEffect(T::Fire)->effect;
    ASSERT_FALSE(fire.empty());

    // Unarmed: nothing shows.
    hero->FireAbsEffect(T::Fire);
    EXPECT_EQ(CountEffects(fire), 0u);
    hero->ResetAbsEffects();
    hero->FireAbsEffect(T::Fire);
    hero->FireAbsEffect(T::Fire);
    hero->FireAbsEffect(T::Physical);  // no entry
    EXPECT_EQ(CountEffects(fire), 1u);
    hero->DisarmAbsEffects();
    hero->FireAbsEffect(T::Fire);
    EXPECT_EQ(CountEffects(fire), 1u);

    // An attack of two fire payloads shows the fire absorption once and disarms at its end.
    RandomUniform random;
    random.Seed(11);
    EXPECT_TRUE(Strike(*knight, *hero, random, Style::Direct));
    EXPECT_EQ(CountEffects(fire), 2u);
    EXPECT_FALSE(hero->AreAbsEffectsArmed());
    hero->ApplyDamage(5.0f, {1, T::Fire}, T::Fire);  // damage over time between attacks
    EXPECT_EQ(CountEffects(fire), 2u);
}

TEST_F(Aftermath, CriticalStrikesSoundAndShowTheirTextOnlyAroundTheMainPlayer) {
    LocalizationManager::Instance().SetText("CriticalHitFormat", L"%.0f x%.1f");
    auto& objects = Singleton<ObjectManager>::Get();
    auto* player = static_cast<Player*>(objects.CreateObject("Player", 77));
    ASSERT_NE(player, nullptr);
    Prepare(*player, "Records/Combat/Knight.dbr");
    Character* knight = objects.CreateObjectFromFile<Character>("Records/Combat/Knight.dbr");
    ASSERT_NE(knight, nullptr);
    knight->InitialUpdate();
    Settle(*knight);
    Warden warden;
    Prepare(warden, "Records/Combat/Mirror.dbr");
    FloatingTexts shown;

    auto swing = [&](Character& attacker, int swings, std::uint32_t seed) {
        RandomUniform random;
        random.Seed(seed);
        int hits = 0;
        for (int i = 0; i < swings; ++i) {
            ParametersCombat attack(random);
            attack.attackerId = attacker.GetObjectId();
            attack.combatStyle = Style::Probability;
            attack.offensiveAbility =
                attacker.GetCombatManager().DesignerCalculateOffensiveAbility(0.0f);
            attack.accumulator.AddDamage(std::make_unique<CombatAttributeDamage_BasePhysical>(
                T::Physical, 10.0f, 0.0f, true));
            attack.accumulator.ProcessDamage(attacker, 0.0f, 0.0f, 0.0f, 0.0f);
            hits += warden.TakeAttack(attack) ? 1 : 0;
            test::SetLife(warden, 300.0f, 300.0f);
        }
        return hits;
    };

    // No main player: criticals sound but show no text.
    const int hits = swing(*knight, 20, 20261207);
    EXPECT_EQ(warden.impacts, hits);
    EXPECT_GT(warden.criticalSounds, 0);
    EXPECT_LT(warden.criticalSounds, hits);
    EXPECT_TRUE(shown.texts.empty());

    // The main player's criticals against a monster show its damage and multiplier.
    gGameEngine->GetPlayerManagerClient()->SetMainPlayer(77);
    const int before = warden.criticalSounds;
    swing(*player, 20, 20261207);
    const int criticals = warden.criticalSounds - before;
    ASSERT_GT(criticals, 0);
    ASSERT_EQ(shown.texts.size(), static_cast<std::size_t>(criticals));
    for (const auto& text : shown.texts) {
        EXPECT_EQ(text.objectId, warden.GetObjectId());
        EXPECT_EQ(text.style, gGameEngine->GetDatabase().GetString("CriticalHitOnMonsterStyle"));
        EXPECT_NE(text.text.find(L" x"), std::wstring::npos);
        EXPECT_EQ(text.text.find(L"CriticalHitFormat"), std::wstring::npos);
    }

    // Switched off, the text stays away and the sound stays.
    CombatManager::SetCriticalHitTextEnabled(false);
    shown.texts.clear();
    swing(*player, 20, 20261207);
    EXPECT_TRUE(shown.texts.empty());
    EXPECT_EQ(warden.criticalSounds - before, 2 * criticals);
}

TEST_F(Aftermath, LastingEffectsSlowSpeedsAndAbilitiesAndBonusesReachTheirCharacter) {
    Character* hero = Singleton<ObjectManager>::Get().CreateObjectFromFile<Character>(
        "Records/Combat/Knight.dbr");
    ASSERT_NE(hero, nullptr);
    hero->InitialUpdate();
    Settle(*hero);
    CombatManager& manager = hero->GetCombatManager();
    const float run = hero->GetRunSpeed();
    const float oa = manager.DesignerCalculateOffensiveAbility(0.0f);
    ASSERT_GT(oa, 0.0f);

    DurationDamageManager& lasting = hero->GetDurationDamageManager();
    EXPECT_EQ(&lasting, &manager.GetDurationDamageMgr());
    lasting.AddFixedDamage(T::RunSpeed, 30.0f, 2.0f);
    lasting.AddFixedDamage(T::OffensiveAbility, 150.0f, 2.0f);
    lasting.AddFixedDamage(T::Fumble, 12.0f, 2.0f);
    lasting.EndAttack();
    EXPECT_FLOAT_EQ(hero->GetRunSpeed(), run * 0.7f);
    EXPECT_FLOAT_EQ(manager.DesignerCalculateOffensiveAbility(0.0f), 0.0f);  // never below 0
    EXPECT_FLOAT_EQ(hero->GetFumbleDamage(), 12.0f);
    EXPECT_FLOAT_EQ(manager.GetAttackSpeed(100.0f), 100.0f);

    // Updated by the combat manager's own update: gone after their 2 s.
    for (int i = 0; i < 25; ++i)
        manager.Update(100);
    EXPECT_FLOAT_EQ(hero->GetRunSpeed(), run);
    EXPECT_FLOAT_EQ(hero->GetFumbleDamage(), 0.0f);

    // A bonus the combat rules give reaches the character of that id.
    hero->SubtractLife(100.0f, {1, T::Fire});
    const float life = hero->GetCurrentLife();
    Bonus bonus;
    bonus.lifePoints = 40.0f;
    manager.GiveBonus(bonus, hero->GetObjectId());
    Settle(*hero);
    EXPECT_FLOAT_EQ(hero->GetCurrentLife(), life + 40.0f);
    manager.GiveBonus(bonus, 0);
    manager.GiveBonus(bonus, 999999);
}

}  // namespace
}  // namespace GAME::test
