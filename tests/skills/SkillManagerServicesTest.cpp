#include <gtest/gtest.h>

#include "Game/items/ItemClassification.h"
#include "Game/skills/manager/SkillCommands.h"
#include "Game/skills/manager/SkillServices_Character.h"
#include "SkillManagerTestSupport.h"
#include "support/CharacterSetUp.h"

namespace GAME::test {
namespace {

// Keeps what the services send instead of running it.
class RecordingServices : public SkillServices_Character {
public:
    template <class T>
    std::vector<const T*> Sent() const {
        std::vector<const T*> found;
        for (const auto& command : sent)
            if (auto* typed = dynamic_cast<const T*>(command.get()))
                found.push_back(typed);
        return found;
    }
    std::vector<std::unique_ptr<ActorConfigCommand>> sent;

protected:
    void Send(std::unique_ptr<ActorConfigCommand> command) override {
        sent.push_back(std::move(command));
    }
};

SkillBuffTransfer Buff(std::uint32_t level, std::uint32_t caster, std::uint32_t modifierLevel = 0) {
    SkillBuffTransfer buff;
    buff.buffName = "Records/SkillManager/Ward.dbr";
    buff.level = level;
    buff.modifier1Name = "Records/SkillManager/WardPlus.dbr";
    buff.modifier1Level = modifierLevel;
    buff.timeToLive = 5000;
    buff.casterId = caster;
    return buff;
}

class SkillManagerServices : public SkillManagerFixture {
protected:
    void SetUp() override {
        SkillManagerFixture::SetUp();
        services.SetParent(warrior);
    }
    std::vector<const CreateRemoveSkillBuffConfigCmd*> BuffCommands() const {
        return services.Sent<CreateRemoveSkillBuffConfigCmd>();
    }
    RecordingServices services;
};

TEST_F(SkillManagerServices, SameBuffTwiceSendsOnceAndOnlyAStrongerOneDisplacesAnotherCaster) {
    services.CreateUpdateSkillBuff(Buff(3, 100), {}, false);
    services.CreateUpdateSkillBuff(Buff(3, 100), {}, false);
    ASSERT_EQ(BuffCommands().size(), 1u);
    const CreateRemoveSkillBuffConfigCmd& first = *BuffCommands()[0];
    EXPECT_EQ(first.GetObjectId(), warrior->GetObjectId());
    EXPECT_EQ(first.skillId, 0u);
    EXPECT_EQ(first.buffName, "Records/SkillManager/Ward.dbr");
    EXPECT_EQ(first.level, 3u);
    EXPECT_EQ(first.modifier1Name, "Records/SkillManager/WardPlus.dbr");
    EXPECT_EQ(first.timeToLive, 5000);
    EXPECT_EQ(first.casterId, 100u);

    services.CreateUpdateSkillBuff(Buff(2, 200, 1), {}, false);  // 3 is not stronger than 3
    EXPECT_EQ(BuffCommands().size(), 1u);
    services.CreateUpdateSkillBuff(Buff(2, 200, 2), {}, false);  // 4 is
    ASSERT_EQ(BuffCommands().size(), 2u);
    EXPECT_EQ(BuffCommands()[1]->casterId, 200u);
    services.CreateUpdateSkillBuff(Buff(1, 200), {}, false);  // the same caster may weaken it
    ASSERT_EQ(BuffCommands().size(), 3u);
    EXPECT_EQ(BuffCommands()[2]->level, 1u);
    ASSERT_EQ(services.GetBuffs().size(), 1u);
    EXPECT_EQ(services.GetBuffs().front(), Buff(1, 200));
}

TEST_F(SkillManagerServices, UnqualifiedBuffsAreDroppedAndRemovalSendsLevelZero) {
    services.CreateUpdateSkillBuff(Buff(1, 100), {Weapon_Type::Sword}, false);  // no weapon held
    test::SetHandState(*warrior, 1);
    services.CreateUpdateSkillBuff(Buff(1, 100), {}, true);
    warrior->SetLifeState(Character_LifeState::Dead);
    services.CreateUpdateSkillBuff(Buff(1, 100), {}, false);
    EXPECT_TRUE(services.sent.empty());
    warrior->SetLifeState(Character_LifeState::Alive);
    test::SetHandState(*warrior, 2);
    services.CreateUpdateSkillBuff(Buff(1, 100), {}, true);
    SkillBuffTransfer other = Buff(1, 100);
    other.buffName = "Records/SkillManager/Haste.dbr";
    services.CreateUpdateSkillBuff(other, {}, false);
    ASSERT_EQ(BuffCommands().size(), 2u);

    // The name matches whatever its case and slashes.
    services.RemoveSkillBuff("records\\skillmanager\\WARD.dbr");
    ASSERT_EQ(BuffCommands().size(), 3u);
    const CreateRemoveSkillBuffConfigCmd& removal = *BuffCommands()[2];
    EXPECT_EQ(removal.level, 0u);
    EXPECT_EQ(removal.buffName, "records\\skillmanager\\WARD.dbr");
    EXPECT_TRUE(removal.modifier1Name.empty());
    EXPECT_EQ(removal.timeToLive, 0);
    EXPECT_EQ(removal.casterId, 0u);
    ASSERT_EQ(services.GetBuffs().size(), 1u);
    services.RemoveSkillBuff("Records/SkillManager/Ward.dbr");
    EXPECT_EQ(BuffCommands().size(), 3u);

    // After a death the buff list is empty: the same buff is sent again.
    services.Dead();
    services.CreateUpdateSkillBuff(other, {}, false);
    EXPECT_EQ(BuffCommands().size(), 4u);
}

TEST_F(SkillManagerServices, CommandsCarryReferenceSeedAndHitIteration) {
    LoadSkills();
    const std::uint32_t cleave = Id(kCleave);
    services.IncHitIteration();
    services.SendTargetResult(cleave, {7, 8}, warrior->GetCoords(), 0x12345, 99, true);
    services.ClearHitIteration();
    services.SendCreateProjectile(cleave, warrior->GetCoords(), 7, WorldVec3(), 0xFFFF1, 0);
    services.SendCreateProjectile(cleave, warrior->GetCoords(), 7, WorldVec3(), 2, 0);
    services.SendSkillStateUpdate(Id(kBolt), SkillState{2, true});

    const auto results = services.Sent<SkillTargetResultConfigCmd>();
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(results[0]->reference, 1u);
    EXPECT_EQ(results[0]->targets, (std::vector<std::uint32_t>{7, 8}));
    EXPECT_EQ(results[0]->seed, 0x2345);
    EXPECT_EQ(results[0]->weaponId, 99u);
    EXPECT_TRUE(results[0]->useWeapon);
    EXPECT_EQ(results[0]->hitIteration, 1);

    const auto projectiles = services.Sent<CreateProjectileConfigCmd>();
    ASSERT_EQ(projectiles.size(), 2u);
    EXPECT_EQ(projectiles[0]->hitIteration, 0u);
    EXPECT_EQ(projectiles[0]->seed, 0xFFF1);
    // Each projectile id is reserved once, for every machine to use.
    EXPECT_NE(projectiles[0]->projectileId, 0u);
    EXPECT_NE(projectiles[0]->projectileId, projectiles[1]->projectileId);

    const auto states = services.Sent<SkillStateUpdateConfigCmd>();
    ASSERT_EQ(states.size(), 1u);
    EXPECT_EQ(states[0]->reference, 5u);
    EXPECT_EQ(states[0]->state, SkillState(2, true));
}

TEST_F(SkillManagerServices, OnlyTheControllingManagerHasServicesAndDeathEmptiesTheirBuffs) {
    EXPECT_EQ(manager().GetSkillServices(), nullptr);
    manager().SetAsControllingManager();
    auto* own = dynamic_cast<SkillServices_Character*>(manager().GetSkillServices());
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(own->GetParent(), warrior);
    manager().SetAsControllingManager();
    EXPECT_EQ(manager().GetSkillServices(), own);

    own->CreateUpdateSkillBuff(Buff(1, 100), {}, false);
    EXPECT_EQ(own->GetBuffs().size(), 1u);
    warrior->ImDying();
    EXPECT_TRUE(own->GetBuffs().empty());
}

}  // namespace
}  // namespace GAME::test
