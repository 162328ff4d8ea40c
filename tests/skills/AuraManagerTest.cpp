#include <gtest/gtest.h>

#include "../characters/CharacterTestSupport.h"
#include "Engine/object/ObjectManager.h"
#include "Game/core/GameEngine.h"
#include "Game/rules/combat/ParametersCombat.h"
#include "Game/skills/auras/AuraManager.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

constexpr const char* kGlowAura = "Records/SkillManager/Glow.dbr";

class AuraManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        owner = objects().CreateObject<Actor>();
        ASSERT_NE(owner, nullptr);
    }
    static ObjectManager& objects() { return Singleton<ObjectManager>::Get(); }
    bool Exists(std::uint32_t id) { return objects().GetObject(id) != nullptr; }

    TestMachine tm;
    Actor* owner = nullptr;
    AuraManager auras;
};

TEST_F(AuraManagerTest, TimedAuraEndsOnTheUpdateThatReachesItsDuration) {
    const std::uint32_t id = auras.AddAura(*owner, kGlowAura, false, 2);
    ASSERT_NE(id, 0u);
    auto* entity = objects().GetObject<Entity>(id);
    ASSERT_NE(entity, nullptr);
    EXPECT_EQ(entity->GetAttachParentId(), owner->GetObjectId());
    EXPECT_EQ(auras.GetAuras().front().GetRemainingTime(), 2000);

    auras.Update(*owner, 1000);
    auras.Update(*owner, 999);
    EXPECT_TRUE(Exists(id));
    EXPECT_EQ(owner->GetAttachedChildren().size(), 1u);
    auras.Update(*owner, 1);
    EXPECT_FALSE(Exists(id));
    EXPECT_TRUE(auras.GetAuras().empty());
    EXPECT_TRUE(owner->GetAttachedChildren().empty());

    // Frames with nothing held age nothing: a later aura runs its whole duration.
    auras.Update(*owner, 5000);
    const std::uint32_t later = auras.AddAura(*owner, kGlowAura, false, 1);
    ASSERT_NE(later, 0u);
    EXPECT_EQ(auras.GetAuras().front().GetRemainingTime(), 1000);
    auras.Update(*owner, 999);
    EXPECT_TRUE(Exists(later));
    auras.Update(*owner, 1);
    EXPECT_FALSE(Exists(later));
}

TEST_F(AuraManagerTest, RemovalTakesEffectAtTheNextUpdateEvenForPermanentAuras) {
    const std::uint32_t permanent = auras.AddAura(*owner, kGlowAura, true, 0);
    const std::uint32_t timed = auras.AddAura(*owner, kGlowAura, false, 5);
    ASSERT_NE(permanent, timed);
    auras.Update(*owner, 100000);
    EXPECT_TRUE(Exists(permanent));
    EXPECT_FALSE(Exists(timed));

    auras.RemoveAura(permanent);
    EXPECT_TRUE(Exists(permanent));
    auras.Update(*owner, 0);
    EXPECT_FALSE(Exists(permanent));
    EXPECT_TRUE(auras.GetAuras().empty());
}

TEST_F(AuraManagerTest, RemovalByNameEndsEveryAuraOfTheRecordOnly) {
    const std::uint32_t first = auras.AddAura(*owner, kGlowAura, true, 0);
    const std::uint32_t second = auras.AddAura(*owner, kGlowAura, false, 60);
    const std::uint32_t other =
        auras.AddAura(*owner, "Records/Characters/Fx/DyingSmoke.dbr", true, 0);
    ASSERT_NE(other, 0u);
    // The name is compared byte for byte.
    auras.RemoveAura(std::string("records/skillmanager/glow.dbr"));
    auras.Update(*owner, 1);
    EXPECT_EQ(auras.GetAuras().size(), 3u);
    auras.RemoveAura(std::string(kGlowAura));
    auras.Update(*owner, 1);
    EXPECT_FALSE(Exists(first));
    EXPECT_FALSE(Exists(second));
    ASSERT_EQ(auras.GetAuras().size(), 1u);
    EXPECT_EQ(auras.GetAuras().front().GetEntityId(), other);
}

TEST_F(AuraManagerTest, BadNamesAddNothingAndClearEndsEverythingAtOnce) {
    EXPECT_EQ(auras.AddAura(*owner, "", false, 3), 0u);
    EXPECT_EQ(auras.AddAura(*owner, "Records/SkillManager/NotAnEntity.dbr", false, 3), 0u);
    EXPECT_EQ(tm.CountLog("Aura was not an Entity (Records/SkillManager/NotAnEntity.dbr)"), 1);
    EXPECT_TRUE(auras.GetAuras().empty());
    const std::size_t objectsBefore = objects().GetObjectCount();

    const std::uint32_t a = auras.AddAura(*owner, kGlowAura, true, 0);
    const std::uint32_t b = auras.AddAura(*owner, kGlowAura, false, 9);
    // An aura entity that vanished on its own is simply dropped.
    objects().DestroyObject(objects().GetObject(b));
    auras.Clear(*owner);
    EXPECT_FALSE(Exists(a));
    EXPECT_TRUE(auras.GetAuras().empty());
    EXPECT_EQ(objects().GetObjectCount(), objectsBefore);
}

TEST(CharacterAuras, AttacksPlaceTheirAuraAndDyingClearsEveryAura) {
    TestMachine tm;
    InitializeObjects();
    auto* hero = MakeCharacter("Records/Characters/Hero.dbr");
    ASSERT_NE(hero, nullptr);
    const std::uint32_t glow = hero->AddAura(kGlowAura, true, 0);
    RandomUniform random;
    random.Seed(3);
    ParametersCombat attack(random);
    attack.auraName = kGlowAura;
    attack.auraLevel = 1;
    hero->TakeAttack(attack);
    ASSERT_EQ(hero->GetAuraManager().GetAuras().size(), 2u);
    const std::uint32_t struck = hero->GetAuraManager().GetAuras()[1].GetEntityId();
    RunFrame(*hero, 999);
    EXPECT_NE(Singleton<ObjectManager>::Get().GetObject(struck), nullptr);
    RunFrame(*hero, 1);
    EXPECT_EQ(Singleton<ObjectManager>::Get().GetObject(struck), nullptr);

    hero->ImDying();
    EXPECT_EQ(Singleton<ObjectManager>::Get().GetObject(glow), nullptr);
    EXPECT_TRUE(hero->GetAuraManager().GetAuras().empty());
    ShutdownObjects();
}

}  // namespace
}  // namespace GAME::test
