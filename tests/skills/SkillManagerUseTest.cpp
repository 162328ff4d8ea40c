// Skill use through the manager: starting a skill, its animation events, the results of the
// skill commands charging once per use, the weapon-pool draw and the shared character effects.
#include "Engine/sys/RandomUniform.h"
#include "Engine/text/Name.h"
#include "Game/characters/bio/CharacterBio.h"
#include "SkillManagerTestSupport.h"
#include "SkillUseProbe.h"

namespace GAME::test {
namespace {

constexpr const char* kSkillUser = "Records/SkillUse/Fighter.dbr";
constexpr const char* kGlowFx = "Records/Skills/Fx/Glow.dbr";
constexpr std::uint32_t kSweepRef = 0;
constexpr std::uint32_t kCleaveRef = 1;

// Answers a chosen draw and keeps the range it was asked for.
class FixedDraw : public RandomUniform {
public:
    explicit FixedDraw(int value) : mValue(value) {}
    int IGenerate(int min, int max) override {
        asked.emplace_back(min, max);
        return mValue;
    }
    std::vector<std::pair<int, int>> asked;

private:
    int mValue;
};

class SkillUse : public ::testing::Test {
protected:
    void SetUp() override {
        InitializeObjects();
        fighter = MakeCharacter(kSkillUser);
        ASSERT_NE(fighter, nullptr);
        manager().LoadSkills(kSkillUser, 4);
        manager().LoadDefaultSkills();
        sweep = Singleton<ObjectManager>::Get().GetObject<SkillUseProbe>(
            manager().FindSkillId("Records/SkillUse/Sweep.dbr"));
        ASSERT_NE(sweep, nullptr);
        fighter->SetCurrentMana(100.0f);
        for (std::uint32_t id : manager().GetSkillList())
            Enable(id);
        Enable(manager().GetDefaultWPSkillId());
    }
    // As the controlling machine's availability check would report.
    static void Enable(std::uint32_t id) {
        if (Skill* skill = Singleton<ObjectManager>::Get().GetObject<Skill>(id)) {
            SkillState state = skill->GetSkillState();
            state.enabled = true;
            skill->ReceiveStateUpdate(state, true);
        }
    }
    void TearDown() override { ShutdownObjects(); }
    SkillManager& manager() { return fighter->GetSkillManager(); }
    std::uint32_t Id(const char* record) { return manager().FindSkillId(record); }
    // Mana paid so far: it drains from the character over the following frames.
    float ManaPaid() { return fighter->GetCharacterBio().GetManaDrainPool(); }
    bool Event(const char* name, std::uint32_t reference = kSweepRef) {
        return manager().HandleSkillAnimationCallback(Name::Create(name), reference, 0,
                                                      fighter->GetPosition());
    }

    TestMachine tm;
    Character* fighter = nullptr;
    SkillUseProbe* sweep = nullptr;
};

TEST_F(SkillUse, OnlyTheFirstHitOfAUseWithTargetsCostsManaAndStartsTheCooldown) {
    ASSERT_FLOAT_EQ(sweep->GetManaCost(), 15.0f);
    const std::vector<std::uint32_t> targets{fighter->GetObjectId()};
    manager().SkillTargetResult(kSweepRef, targets, fighter->GetCoords(), 9, 0, true, 2);
    manager().SkillTargetResult(kSweepRef, {}, fighter->GetCoords(), 9, 0, true, 1);
    manager().SkillTargetResult(kSweepRef, targets, fighter->GetCoords(), 9, 0, false, 0);
    EXPECT_FLOAT_EQ(ManaPaid(), 0.0f);
    EXPECT_FALSE(sweep->IsCoolingDown());
    // Every result applied its damage, charged or not.
    EXPECT_EQ(sweep->attacks.size(), 2u);

    manager().SkillTargetResult(kSweepRef, targets, fighter->GetCoords(), 9, 0, true, 1);
    EXPECT_FLOAT_EQ(ManaPaid(), 15.0f);
    EXPECT_TRUE(sweep->IsCoolingDown());

    // A refresh ends the cooldown; cooldown damage lengthens a running one.
    manager().RefreshCooldown();
    EXPECT_FALSE(sweep->IsCoolingDown());
    manager().SkillTargetResult(kSweepRef, targets, fighter->GetCoords(), 9, 0, true, 1);
    fighter->CombatAddCooldownDamage(500);  // never shortens
    EXPECT_EQ(sweep->GetCooldownRemaining(), 2000);
    fighter->CombatAddCooldownDamage(5000);
    EXPECT_EQ(sweep->GetCooldownRemaining(), 5000);
    // A reference that names no skill does nothing.
    manager().SkillTargetResult(999, targets, fighter->GetCoords(), 9, 0, true, 1);
    EXPECT_FLOAT_EQ(ManaPaid(), 30.0f);
}

TEST_F(SkillUse, AnimationEventsDriveTheUseAndCountItsHits) {
    manager().SetAsControllingManager();
    SkillServicesBase& services = *manager().GetSkillServices();
    services.IncHitIteration();
    ASSERT_TRUE(fighter->StartSkill(kSweepRef, 0, fighter->GetPosition(), 1234));
    EXPECT_EQ(sweep->startSeed, 1234u);
    EXPECT_EQ(services.GetHitIteration(), 0u);

    EXPECT_FALSE(Event("Hit"));
    EXPECT_FALSE(Event("RightHandHit"));
    EXPECT_EQ(services.GetHitIteration(), 2u);
    ASSERT_EQ(sweep->hits.size(), 2u);
    EXPECT_EQ(sweep->hits[1], Name::Create("RightHandHit"));
    // Swipes, sounds and unknown names are not hits; "End" answers the skill's EndAction.
    EXPECT_FALSE(Event("SwipeBoth"));
    EXPECT_FALSE(Event("SkillSound1"));
    EXPECT_FALSE(Event("NoSuchEvent"));
    EXPECT_TRUE(Event("End"));
    EXPECT_EQ(services.GetHitIteration(), 2u);
    EXPECT_EQ(sweep->hits.size(), 2u);

    // A skill that is not used actively counts no hit and does not start.
    EXPECT_FALSE(Event("Hit", kCleaveRef));
    EXPECT_EQ(services.GetHitIteration(), 2u);
    EXPECT_FALSE(fighter->StartSkill(kCleaveRef, 0, fighter->GetPosition(), 1));

    // A failed animation is logged with both names; a disabled skill is not even tried.
    sweep->animationStarts = false;
    EXPECT_FALSE(fighter->StartSkill(kSweepRef, 0, fighter->GetPosition(), 1));
    EXPECT_EQ(tm.CountLog("Animation failed to start in SkillManager::StartSkill"), 1);
    sweep->SetSkillLevel(0);
    sweep->startSeed = 0;
    EXPECT_FALSE(fighter->StartSkill(kSweepRef, 0, fighter->GetPosition(), 55));
    EXPECT_EQ(sweep->startSeed, 0u);
}

TEST_F(SkillUse, TheWeaponPoolDrawsOverTheWeightsWithTheDefaultLast) {
    const std::uint32_t pool30 = Id("Records/SkillUse/Pool30.dbr");
    const std::uint32_t pool50 = Id("Records/SkillUse/Pool50.dbr");
    const std::uint32_t fallback = manager().GetDefaultWPSkillId();
    ASSERT_EQ(manager().GetDefaultWPChanceWeight(), 10u);
    // 30 + 50: the default makes it up to 100.
    const std::pair<int, std::uint32_t> cases[] = {{0, pool30},  {30, pool30},   {31, pool50},
                                                   {80, pool50}, {81, fallback}, {100, fallback},
                                                   {101, 0}};
    for (const auto& [draw, expected] : cases) {
        FixedDraw random(draw);
        EXPECT_EQ(manager().SelectWeaponPoolSkill(random), expected) << draw;
        EXPECT_EQ(random.asked, (std::vector<std::pair<int, int>>{{0, 100}}));
    }

    // Weights above 100 together: the default keeps its own weight.
    Character* heavy = MakeCharacter("Records/SkillUse/HeavyPool.dbr");
    heavy->GetSkillManager().LoadSkills("Records/SkillUse/HeavyPool.dbr", 2);
    heavy->GetSkillManager().LoadDefaultSkills();
    for (std::uint32_t id : heavy->GetSkillManager().GetSkillList())
        Enable(id);
    FixedDraw random(135);
    EXPECT_EQ(heavy->GetSkillManager().SelectWeaponPoolSkill(random),
              heavy->GetSkillManager().GetDefaultWPSkillId());
    EXPECT_EQ(random.asked, (std::vector<std::pair<int, int>>{{0, 140}}));

    // A disabled attack weighs nothing.
    Singleton<ObjectManager>::Get().GetObject<Skill>(pool30)->SetSkillLevel(0);
    FixedDraw again(10);
    EXPECT_EQ(manager().SelectWeaponPoolSkill(again), pool50);
    EXPECT_EQ(again.asked, (std::vector<std::pair<int, int>>{{0, 100}}));
}

TEST_F(SkillUse, TheNewestEnchantmentShowsButTheOldestEffectPack) {
    manager().AddWeaponEnchantment(1, "Frost");
    manager().AddWeaponEnchantment(2, "Fire");
    EXPECT_EQ(manager().GetVisibleWeaponEnchantment(), "Fire");
    manager().RemoveWeaponEnchantment(2);
    EXPECT_EQ(manager().GetVisibleWeaponEnchantment(), "Frost");
    manager().RemoveWeaponEnchantment(1);
    EXPECT_EQ(manager().GetVisibleWeaponEnchantment(), "");

    manager().AddCharFxPak(1, {kGlowFx, ""});
    manager().AddCharFxPak(2, {kGlowFx, kGlowFx});
    EXPECT_EQ(manager().GetCurrentFxPakSkillId(), 1u);
    EXPECT_EQ(manager().GetCurrentFxPakCount(), 1u);  // empty names make no pack
    manager().RemoveCharFxPak(2);
    EXPECT_EQ(manager().GetCurrentFxPakSkillId(), 1u);
    manager().AddCharFxPak(2, {kGlowFx, kGlowFx});
    manager().RemoveCharFxPak(1);
    EXPECT_EQ(manager().GetCurrentFxPakSkillId(), 2u);
    EXPECT_EQ(manager().GetCurrentFxPakCount(), 2u);
    manager().RemoveCharFxPak(2);
    EXPECT_EQ(manager().GetCurrentFxPakSkillId(), 0u);
    EXPECT_EQ(manager().GetCurrentFxPakCount(), 0u);
}

TEST_F(SkillUse, AnAttackOnTheCharacterReachesTheSkillsWhoseOnHitIsActive) {
    RandomUniform random;
    ParametersCombat parameters(random);
    manager().UnderAttack(parameters);
    EXPECT_EQ(sweep->onHits, 0);
    sweep->onHitActive = true;
    manager().UnderAttack(parameters);
    EXPECT_EQ(sweep->onHits, 1);
    // Uninstalled skills are not asked.
    sweep->SetSkillLevel(0);
    SkillState state = sweep->GetSkillState();
    sweep->ReceiveStateUpdate(state, true);
    manager().UnderAttack(parameters);
    EXPECT_EQ(sweep->onHits, 1);
}

TEST_F(SkillUse, EveryAttackButACounterAttackTellsTheOnHitSkills) {
    sweep->onHitActive = true;
    Character* foe = MakeCharacter(kSkillUser);
    ASSERT_NE(foe, nullptr);
    using Style = ParametersCombatStyle;
    struct Case {
        Style style;
        int told;
    };
    RandomUniform random;
    for (const Case& c : {Case{Style::Direct, 1}, Case{Style::Probability, 1},
                          Case{Style::Projectile, 1}, Case{Style::Retaliation, 0}}) {
        const int before = sweep->onHits;
        ParametersCombat attack(random);
        attack.attackerId = foe->GetObjectId();
        attack.combatStyle = c.style;
        fighter->TakeAttack(attack);
        EXPECT_EQ(sweep->onHits - before, c.told) << static_cast<int>(c.style);
    }
}

TEST_F(SkillUse, WaitingPetsGetTheirFirstUpdateWithTheNextFrame) {
    auto& objects = Singleton<ObjectManager>::Get();
    auto* pet = objects.CreateObject<Character>();
    auto* dropped = objects.CreateObject<Character>();
    auto* gone = objects.CreateObject<Character>();
    manager().PushPetInitialize(pet);
    manager().PushPetInitialize(dropped);
    manager().PushPetInitialize(gone);
    manager().PushPetInitialize(nullptr);
    manager().PopPetInitialize(dropped);
    const std::uint32_t goneId = gone->GetObjectId();
    objects.DestroyObject(gone);
    EXPECT_EQ(manager().GetPetsToInitialize().size(), 2u);
    EXPECT_FALSE(pet->HasDoneInitialUpdate());

    manager().Update(10);
    EXPECT_TRUE(pet->HasDoneInitialUpdate());
    EXPECT_FALSE(dropped->HasDoneInitialUpdate());
    EXPECT_EQ(objects.GetObject(goneId), nullptr);
    EXPECT_TRUE(manager().GetPetsToInitialize().empty());
}

}  // namespace
}  // namespace GAME::test
