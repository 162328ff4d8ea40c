// The helpers every state shares: who is in sight, whether a path is clear, and whether the
// character stands close enough to use a skill (strictly inside its reach).
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <vector>

#include "Engine/records/RecordDatabase.h"
#include "Game/ai/controllers/CharacterController.h"
#include "Game/ai/monster/ControllerMonster.h"
#include "Game/skills/Skill.h"
#include "ai/AiTestSupport.h"
#include "ai/ProbeController.h"

namespace GAME::test {
namespace {

class ControllerStateHelpers : public ::testing::Test {
protected:
    void SetUp() override {
        std::ofstream(data.Root() + "/Records/AI/Ranged.dbr")
            << R"({"Class": "Skill", "distanceProfile": "Long"})";
        std::ofstream(data.Root() + "/Records/AI/Ally.dbr") << R"({"Class": "Character"})";
        InitializeObjects();
        ASSERT_TRUE(World::Get().LoadLevel("Levels/Sample/Sample.level"));
        meadow = World::Get().GetRegion("Meadow");
        hero = Place("Records/AI/Foe.dbr", Team::Monster, 45, 25);
        controller = Singleton<ObjectManager>::Get().CreateObject<ProbeController>();
        controller->AttachParent(hero->GetObjectId());
        hero->SetControllerId(controller->GetObjectId());
        state = controller->AddProbeState("Idle");
    }
    void TearDown() override { ShutdownObjects(); }
    WorldVec3 At(float x, float z) const {
        WorldVec3 p(meadow, Vec3(x, 5, z));
        p.PutOnFloor();
        return p;
    }
    Character* Place(const char* record, unsigned team, float x, float z) {
        return PlaceCharacter(record, team, meadow, At(x, z).local);
    }
    static std::vector<std::uint32_t> Ids(const std::vector<Character*>& characters) {
        std::vector<std::uint32_t> ids;
        for (const Character* c : characters)
            ids.push_back(c->GetObjectId());
        return ids;
    }

    AiDataRoot data;
    TestMachine tm{data.Root()};
    Region* meadow = nullptr;
    Character* hero = nullptr;
    ProbeController* controller = nullptr;
    ProbeState* state = nullptr;
};

TEST_F(ControllerStateHelpers, SightKeepsFoesOrFriendsWithinTheViewDistance) {
    ASSERT_FLOAT_EQ(controller->GetViewDistance(), 20.0f);
    Character* nearFoe = Place("Records/AI/Foe.dbr", Team::Human, 50, 25);
    Place("Records/AI/Foe.dbr", Team::Human, 45 + 30, 25);  // out of sight
    Character* friendOfType = Place("Records/AI/Ally.dbr", Team::Monster, 40, 25);
    Character* friendOther = Place("Records/AI/Foe.dbr", Team::Monster, 45, 30);

    std::vector<Character*> found{hero};
    state->FindEnemiesInSight(found);
    EXPECT_EQ(Ids(found), std::vector<std::uint32_t>{nearFoe->GetObjectId()});

    state->FindAlliesInSight(found);
    std::vector<std::uint32_t> allies = Ids(found);
    std::sort(allies.begin(), allies.end());
    std::vector<std::uint32_t> expected{friendOfType->GetObjectId(), friendOther->GetObjectId()};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(allies, expected);

    // Record names match with either slash.
    state->FindAlliesOfType(found, "Records\\AI/Ally.dbr");
    EXPECT_EQ(Ids(found), std::vector<std::uint32_t>{friendOfType->GetObjectId()});
}

TEST_F(ControllerStateHelpers, APathIsClearAcrossOpenGroundButNotThroughAWallNorToAMissingTarget) {
    Character* foe = Place("Records/AI/Foe.dbr", Team::Human, 52, 25);
    // These characters have no pose, so their centre of mass is at their feet: lift both a
    // unit above the meadow so that the ray runs over the ground.
    for (Character* c : {hero, foe}) {
        WorldVec3 p = c->GetPathPosition();
        p.Translate(Vec3(0, 1, 0));
        c->SetPathPosition(p);
    }
    EXPECT_TRUE(state->IsPathClear(foe->GetObjectId()));
    EXPECT_FALSE(state->IsPathClear(0x7777));
    // Behind the meadow's wall the ground blocks the line.
    foe->SetPathPosition(WorldVec3(meadow, At(10, 25).local + Vec3(0, 1, 0)));
    EXPECT_FALSE(state->IsPathClear(foe->GetObjectId()));
}

TEST_F(ControllerStateHelpers, CloseEnoughToUseASkillIsStrictlyInsideTheReach) {
    auto* skill =
        Singleton<ObjectManager>::Get().CreateObjectFromFile<Skill>("Records/AI/Ranged.dbr");
    ASSERT_NE(skill, nullptr);
    ASSERT_FALSE(skill->NeedsAttackSlot());
    Character* foe = Place("Records/AI/Foe.dbr", Team::Human, 50, 25);
    const std::uint32_t foeId = foe->GetObjectId(), skillId = skill->GetObjectId();
    const float reach = Character::GetTargetDistance(hero->GetObjectId(), foeId, skillId) + 0.5f;

    // Stand the foe exactly at the reach along x, then a little inside it.
    auto standAt = [&](float distance) {
        WorldVec3 p = hero->GetPathPosition();
        p.Translate(Vec3(distance, 0, 0));
        foe->SetPathPosition(p);
        return hero->GetPathPosition().DistanceTo(foe->GetPathPosition());
    };
    auto closeEnough = [&] {
        const bool byId = state->CloseEnoughToUseSkill(foeId, skillId);
        EXPECT_EQ(state->CloseEnoughToUseSkillOn(*foe, skillId), byId);
        return byId;
    };
    // The positions are exact here, so the distance is the reach itself: not close enough.
    ASSERT_EQ(standAt(reach), reach);
    EXPECT_FALSE(closeEnough());
    standAt(reach - 0.01f);
    EXPECT_TRUE(closeEnough());
    standAt(reach + 0.01f);
    EXPECT_FALSE(closeEnough());

    tm.ClearLog();
    EXPECT_FALSE(state->CloseEnoughToUseSkill(foeId, 0x7777));
    EXPECT_FALSE(state->CloseEnoughToUseSkill(0x7777, skillId));
    EXPECT_EQ(tm.CountLog("invalid skill used by Records/AI/Foe.dbr.  This is most likely"), 1);
    EXPECT_EQ(tm.CountLog("invalid enemy being attacked by Records/AI/Foe.dbr."), 1);
}

// A replaced, destroyed or foreign object under the controller id, asked for as each class, gets
// the answer a fresh lookup gives (the character keeps where it last found its controller).
TEST_F(ControllerStateHelpers, TheControllerFoundFollowsEveryChangeUnderItsId) {
    auto* next = Singleton<ObjectManager>::Get().CreateObject<ProbeController>();
    const std::uint32_t first = controller->GetObjectId();
    const std::uint32_t ids[] = {first, next->GetObjectId(), first, first, hero->GetObjectId(), 0};
    const Object* asAI[] = {controller, next, controller, nullptr, nullptr, nullptr};
    const Object* asAny[] = {controller, next, controller, nullptr, hero, nullptr};
    for (std::size_t i = 0; i < std::size(ids); ++i) {
        if (i == 3)
            Singleton<ObjectManager>::Get().DestroyObject(controller);
        hero->SetControllerId(ids[i]);
        EXPECT_EQ(FindController<ControllerAI>(*hero), asAI[i]) << i;
        EXPECT_EQ(FindController<Object>(*hero), asAny[i]) << i;
        EXPECT_EQ(FindController<ControllerMonster>(*hero), nullptr) << i;
    }
}

}  // namespace
}  // namespace GAME::test
