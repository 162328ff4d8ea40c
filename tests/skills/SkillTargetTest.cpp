// How a skill chooses its target: foes for attacks, friends (or the caster) for buffs, and the
// range test between two characters' edges.
#include "Engine/world/World.h"
#include "Game/characters/Character.h"
#include "Game/core/players/Team.h"
#include "SkillTestSupport.h"

namespace GAME::test {
namespace {

class SkillTargets : public SkillFixture {
protected:
    SkillTargets() {
        region = World::Get().AddRegion(
            std::make_unique<Region>("Field", Vec3(100, 0, 0), Vec3(200, 50, 200)));
        caster = Place(10, 10, Party());
    }
    // Players are friends only within a party.
    static Team Party() { return TeamManager::BuildTeam(Team::Human, 5); }
    Character* Place(float x, float z, const Team& team) {
        auto* character = Singleton<ObjectManager>::Get().CreateObject<Character>();
        character->SetTeam(team);
        World::Get().AddEntity(character, At(x, z), true);
        character->InitialUpdate();
        return character;
    }
    WorldCoords At(float x, float z) const {
        return WorldCoords(region, Coords::FromOrigin(Vec3(x, 0, z)));
    }

    Region* region = nullptr;
    Character* caster = nullptr;
};

TEST_F(SkillTargets, AttacksTakeTheFirstFoeFoundOrKeepAGivenFoe) {
    Skill& skill = Make("Records/Skills/FireBolt.dbr");
    Character* ally = Place(11, 10, Party());
    Character* hiddenFoe = Place(10, 11, TeamManager::DefaultMonsterTeam());
    Character* foe = Place(12, 10, TeamManager::DefaultMonsterTeam());
    Character* farFoe = Place(30, 10, TeamManager::DefaultMonsterTeam());
    hiddenFoe->SetLifeState(Character_LifeState::Dead);

    std::uint32_t target = 0;
    EXPECT_TRUE(skill.GetValidMeleeTarget(*caster, target, WorldVec3(), true, 5.0f, false));
    EXPECT_EQ(target, foe->GetObjectId());
    // Around the given point instead of the caster.
    target = 0;
    EXPECT_TRUE(skill.GetValidRangedTarget(*caster, target, At(29, 10).GetPosition(), false, 3.0f));
    EXPECT_EQ(target, farFoe->GetObjectId());
    // A given target must be a foe.
    target = ally->GetObjectId();
    EXPECT_FALSE(skill.GetValidMeleeTarget(*caster, target, WorldVec3(), true, 5.0f, false));
    EXPECT_EQ(target, 0u);
    target = farFoe->GetObjectId();
    EXPECT_TRUE(skill.GetValidMeleeTarget(*caster, target, WorldVec3(), true, 5.0f, false));
    EXPECT_EQ(target, farFoe->GetObjectId());
    // No target and no search: nothing.
    target = 0;
    EXPECT_FALSE(skill.GetValidMeleeTarget(*caster, target, WorldVec3(), true, 5.0f, true));
}

TEST_F(SkillTargets, FriendsComeBeforeTheCasterWhoIsTheLastResort) {
    Skill& skill = Make("Records/Skills/FireBolt.dbr");
    Place(12, 10, TeamManager::DefaultMonsterTeam());
    std::uint32_t target = 0;
    EXPECT_TRUE(skill.GetValidFriendTarget(*caster, target, WorldVec3(), true, 5.0f));
    EXPECT_EQ(target, caster->GetObjectId());
    target = 0;
    EXPECT_FALSE(
        skill.GetValidFriendTarget(*caster, target, At(50, 50).GetPosition(), false, 5.0f));
    EXPECT_EQ(target, 0u);

    Place(11, 11, TeamManager::DefaultPlayerTeam());  // not in the party
    Character* ally = Place(11, 11, Party());
    target = 0;
    EXPECT_TRUE(skill.GetValidFriendTarget(*caster, target, WorldVec3(), true, 5.0f));
    EXPECT_EQ(target, ally->GetObjectId());
}

TEST_F(SkillTargets, RangeIsMeasuredBetweenTheEdges) {
    Skill& skill = Make("Records/Skills/FireBolt.dbr");
    Character* other = Place(15, 10, TeamManager::DefaultMonsterTeam());
    // 5 m between centres, 0.5 m of radius each.
    EXPECT_TRUE(skill.IsTargetInRange(*caster, other->GetObjectId(), 4.0f));
    EXPECT_FALSE(skill.IsTargetInRange(*caster, other->GetObjectId(), 3.9f));
    EXPECT_FALSE(skill.IsTargetInRange(*caster, 987654u, 100.0f));
    EXPECT_TRUE(skill.NeedsAttackSlot());
    EXPECT_FLOAT_EQ(skill.GetRange(), gGameEngine->GetMeleeRange());
}

}  // namespace
}  // namespace GAME::test
