// Calls for help reach friends in range only and are throttled by their countdown; nearness,
// living characters around, chat places and the attack target.
#include <gtest/gtest.h>

#include <algorithm>

#include "Game/characters/DistressCall.h"
#include "Game/characters/Player.h"
#include "Game/characters/monster/Guard.h"
#include "Game/characters/npc/Npc.h"
#include "MovementTestSupport.h"
#include "ProbeCharacter.h"

namespace GAME::test {
namespace {

class Targets : public MeadowTest {
protected:
    ProbeCharacter* Load(const char* record, float x, float z) {
        auto* c = Singleton<ObjectManager>::Get().CreateObjectFromFile<ProbeCharacter>(record);
        EXPECT_NE(c, nullptr);
        World::Get().AddEntity(c, WorldCoords(meadow, Coords::FromOrigin(At(x, z).local)), true);
        c->ResetMovementManager();
        return c;
    }
};

TEST_F(Targets, DistressCallsReachFriendsInRangeAndWaitForTheirCountdown) {
    ProbeCharacter* caller = Load("Records/Test/Caller.dbr", 40, 40);
    ProbeCharacter* near = Spawn<ProbeCharacter>(45, 40);
    ProbeCharacter* far = Spawn<ProbeCharacter>(40, 29);
    ProbeCharacter* foe = Spawn<ProbeCharacter>(42, 40, TeamManager::DefaultPlayerTeam());
    const std::uint32_t attacker = foe->GetObjectId();

    ASSERT_TRUE(caller->ShouldUseDistressCall());
    caller->UnderAttack(attacker);
    ASSERT_EQ(near->allyCalls.size(), 1u);
    EXPECT_EQ(near->allyCalls[0].ally, caller->GetObjectId());
    EXPECT_EQ(near->allyCalls[0].attacker, attacker);
    EXPECT_TRUE(far->allyCalls.empty());
    EXPECT_TRUE(foe->allyCalls.empty());
    EXPECT_TRUE(caller->allyCalls.empty());
    EXPECT_EQ(caller->GetDistressCallsLeft(), 1);

    // The countdown (1000 ms) holds the next call back until it has run out, then lets it go
    // even when the last frame overshot it.
    caller->UnderAttack(attacker);
    for (int i = 0; i < 3; ++i) {
        Frame(*caller, 333);
        caller->UnderAttack(attacker);
    }
    EXPECT_EQ(near->allyCalls.size(), 1u);
    Frame(*caller, 333);
    EXPECT_TRUE(caller->ShouldUseDistressCall());
    caller->UnderAttack(attacker);
    EXPECT_EQ(near->allyCalls.size(), 2u);
    EXPECT_EQ(caller->GetDistressCallsLeft(), 0);

    // No calls left: attacks are answered no more, but dying still calls.
    for (int i = 0; i < 4; ++i)
        Frame(*caller, 500);
    caller->UnderAttack(attacker);
    EXPECT_EQ(near->allyCalls.size(), 2u);
    caller->CharacterIsDying();
    EXPECT_EQ(near->allyCalls.size(), 3u);
    EXPECT_TRUE(far->allyCalls.empty());
}

// A call judges each character as it stands now (the dead are told too), not as it entered.
TEST_F(Targets, DistressCallsJudgeEachCharacterAsItIsNow) {
    ProbeCharacter* caller = Load("Records/Test/Caller.dbr", 40, 40);
    const Team monsters = TeamManager::DefaultMonsterTeam(),
               players = TeamManager::DefaultPlayerTeam();
    struct Row {
        const char* what;
        Team team;
        void (*change)(Character&);
        bool told;
    };
    const Row rows[] = {
        {"friend that died", monsters,
         [](Character& c) { c.SetLifeState(Character_LifeState::Dead); }, true},
        {"friend that changed sides", monsters,
         [](Character& c) { c.SetTeam(TeamManager::DefaultPlayerTeam()); }, false},
        {"foe that changed sides", players,
         [](Character& c) { c.SetTeam(TeamManager::DefaultMonsterTeam()); }, true},
        {"foe gone invisible", players, [](Character& c) { c.SetInvisible(true); }, true},
    };
    std::vector<ProbeCharacter*> allies;
    for (std::size_t k = 0; k < std::size(rows); ++k) {
        allies.push_back(Spawn<ProbeCharacter>(37.0f + static_cast<float>(k), 42, rows[k].team));
        rows[k].change(*allies.back());
    }
    caller->DoDistressCall(allies.back()->GetObjectId());
    for (std::size_t k = 0; k < std::size(rows); ++k)
        EXPECT_EQ(allies[k]->allyCalls.size(), rows[k].told ? 1u : 0u) << rows[k].what;
}

// An answer's own call is the one seen while it lasts; the outer one is seen again after it.
TEST_F(Targets, DistressCallScopesNest) {
    Character* a = Spawn(30, 30);
    Character* b = Spawn(31, 30);
    const DistressCall outer{a->GetObjectId(), a, b->GetObjectId(), b, 0, {}};
    const DistressCall::Scope outerScope(outer);
    {
        const DistressCall inner{b->GetObjectId(), b, a->GetObjectId(), a, 0, {}};
        const DistressCall::Scope innerScope(inner);
        EXPECT_EQ(DistressCall::Matching(outer.allyId, outer.attackerId), nullptr);
    }
    EXPECT_EQ(DistressCall::Matching(outer.allyId, outer.attackerId), &outer);
}

TEST_F(Targets, WithoutTheKeyACharacterMakesOneCall) {
    ProbeCharacter* quiet = Load("Records/Test/Quiet.dbr", 40, 40);
    ProbeCharacter* near = Spawn<ProbeCharacter>(44, 40);
    EXPECT_EQ(quiet->GetDistressCallsLeft(), 1);
    quiet->UnderAttack(0);
    quiet->UnderAttack(0);
    EXPECT_EQ(near->allyCalls.size(), 1u);
}

TEST_F(Targets, NearnessLivingCharactersAndChatPlaces) {
    Character* a = Spawn(30, 45);
    Character* touching = Spawn(31, 45);
    Character* apart = Spawn(30, 46.05f);
    EXPECT_TRUE(a->NearTarget(touching->GetObjectId(), 0.0f));
    EXPECT_FALSE(a->NearTarget(apart->GetObjectId(), 0.0f));
    EXPECT_TRUE(a->NearTarget(apart->GetObjectId(), 0.1f));
    EXPECT_FALSE(a->NearTarget(0, 100.0f));

    Character* dead = Spawn(32, 46);
    dead->SetLifeState(Character_LifeState::Dead);
    Player* player = Spawn<Player>(33, 46);
    std::vector<Entity*> living;
    a->GetLivingCharacters(living, ABBox{Vec3(0, -10, 0), Vec3(64, 30, 64)});
    // The level's own townsfolk and its gate guard stand in the meadow too.
    EXPECT_EQ(std::erase_if(living, [](Entity* e) { return e->IsA<Npc>(); }), 10u);
    EXPECT_EQ(std::erase_if(living, [](Entity* e) { return e->IsA<Guard>(); }), 1u);
    std::vector<Entity*> expected = {touching, apart};
    EXPECT_EQ(living, expected);
    EXPECT_EQ(std::count(living.begin(), living.end(), player), 0);

    std::vector<WorldVec3> places;
    a->GetConversationPartnerLocation(places);
    ASSERT_EQ(places.size(), 2u);
    EXPECT_FLOAT_EQ(places[0].local.x, 30.9f);
    EXPECT_FLOAT_EQ(places[1].local.x, 29.1f);
    EXPECT_GT(a->GetChatCoords().coords.origin.y, a->GetCoords().coords.origin.y + 2.3f);

    a->SetCurrentAttackTarget(touching->GetObjectId(), touching->GetPosition(), -1);
    std::uint32_t id = 0, skill = 7;
    WorldVec3 where;
    a->GetCurrentAttackTarget(id, where, skill);
    EXPECT_EQ(id, touching->GetObjectId());
    EXPECT_EQ(where, touching->GetPosition());
    EXPECT_EQ(skill, 0u);
    EXPECT_TRUE(a->CanCollide(nullptr));
    EXPECT_FALSE(a->CanCollide(touching));
}

}  // namespace
}  // namespace GAME::test
