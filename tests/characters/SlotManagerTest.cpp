// The rings of attack and defense slots: nearest free slot first, cleaning, displacement of a
// holder that stands further off, and slots that collide with walls.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "Engine/world/World.h"
#include "Engine/world/nav/PathFinder.h"
#include "Game/characters/movement/SightDigest.h"
#include "Game/characters/movement/SlotManager.h"
#include "MovementTestSupport.h"
#include "ProbeCharacter.h"

namespace GAME::test {

RTTI_IMPLEMENT(ProbeCharacter, Character)

namespace {

float Flat(const WorldVec3& a, const WorldVec3& b) {
    return Vec2(a.local.x - b.local.x, a.local.z - b.local.z).Length();
}

class Slots : public MeadowTest {
protected:
    void SetUp() override {
        MeadowTest::SetUp();
        owner = Spawn(45, 25, TeamManager::DefaultPlayerTeam());
        owner->GetAttackSlots().SetNumSlots(4);
    }
    WorldVec3 Request(Character& who, float radius, bool unchecked = false) {
        WorldVec3 out(meadow, Vec3(-1, -1, -1));
        owner->GetAttackSlots().RequestSlot(out, who.GetObjectId(), radius, unchecked);
        return out;
    }
    Character* owner = nullptr;
};

TEST_F(Slots, FourAttackersTakeTheRingInOrderOfNearness) {
    SlotManager& ring = owner->GetAttackSlots();
    // Each attacker stands outside one slot; they ask from the farthest ring index down.
    ProbeCharacter* d = Spawn<ProbeCharacter>(45, 19);  // -z: slot 3
    ProbeCharacter* c = Spawn<ProbeCharacter>(39, 25);  // -x: slot 2
    ProbeCharacter* b = Spawn<ProbeCharacter>(45, 31);  // +z: slot 1
    ProbeCharacter* a = Spawn<ProbeCharacter>(51, 25);  // +x: slot 0
    const Vec3 expected[4] = {{47, 0, 25}, {45, 0, 27}, {43, 0, 25}, {45, 0, 23}};
    ProbeCharacter* order[4] = {a, b, c, d};
    for (int i = 3; i >= 0; --i) {
        const WorldVec3 got = Request(*order[i], 2.0f);
        ASSERT_EQ(got.region, meadow) << i;
        EXPECT_NEAR(got.local.x, expected[i].x, 1e-4f) << i;
        EXPECT_NEAR(got.local.z, expected[i].z, 1e-4f) << i;
        EXPECT_NEAR(got.local.y, At(expected[i].x, expected[i].z).local.y, 1e-3f) << i;
        EXPECT_EQ(ring.GetOccupant(static_cast<std::size_t>(i)), order[i]->GetObjectId());
    }
    // A fifth attacker, nearer to no slot than its holder, gets none; nobody is displaced.
    ProbeCharacter* late = Spawn<ProbeCharacter>(52, 31);
    EXPECT_FALSE(Request(*late, 2.0f).IsValid());
    for (ProbeCharacter* p : order)
        EXPECT_EQ(p->lostSlots, 0);

    // Asking again frees the old slot first: a moves behind the owner and takes the slot d
    // released there, leaving its own free.
    ring.ReleaseSlot(d->GetObjectId());
    a->SetPathPosition(At(45, 20));
    const WorldVec3 again = Request(*a, 2.0f);
    EXPECT_LT(Flat(again, WorldVec3(meadow, expected[3])), 1e-4f);
    EXPECT_EQ(ring.GetOccupant(3), a->GetObjectId());
    EXPECT_EQ(ring.GetOccupant(0), 0u);

    // The late attacker now gets slot 0 (the nearest free one to it).
    EXPECT_LT(Flat(Request(*late, 2.0f), WorldVec3(meadow, expected[0])), 1e-4f);
    // A radius of 0 (no skill) yields nothing, as does a requester that is no character.
    EXPECT_FALSE(Request(*c, 0.0f).IsValid());
    WorldVec3 out(meadow, Vec3());
    ring.RequestSlot(out, 0xFFFFFFu, 2.0f, true);
    EXPECT_FALSE(out.IsValid());
}

TEST_F(Slots, AHolderFurtherOffIsDisplacedOnceAndOnlyBySameSize) {
    SlotManager& ring = owner->GetAttackSlots();
    ProbeCharacter* holders[4];
    const float spots[4][2] = {{48, 25}, {45, 28}, {42, 25}, {45, 22}};
    for (int i = 0; i < 4; ++i) {
        holders[i] = Spawn<ProbeCharacter>(spots[i][0], spots[i][1]);
        ASSERT_TRUE(Request(*holders[i], 2.0f).IsValid());
        ASSERT_EQ(ring.GetOccupant(static_cast<std::size_t>(i)), holders[i]->GetObjectId());
    }
    // The holder of slot 0 wanders off.
    holders[0]->SetPathPosition(At(58, 50));

    // A large newcomer beside slot 0 never displaces a small holder.
    ProbeCharacter* large = Spawn<ProbeCharacter>(49, 25);
    large->SetExtentsLarge();
    EXPECT_FALSE(Request(*large, 2.0f).IsValid());
    EXPECT_EQ(holders[0]->lostSlots, 0);

    // One of the same size takes it; the old holder is told once.
    ProbeCharacter* newcomer = Spawn<ProbeCharacter>(49, 26);
    const WorldVec3 got = Request(*newcomer, 2.0f);
    EXPECT_LT(Flat(got, At(47, 25)), 1e-4f);
    EXPECT_EQ(ring.GetOccupant(0), newcomer->GetObjectId());
    EXPECT_EQ(holders[0]->lostSlots, 1);
    for (int i = 1; i < 4; ++i)
        EXPECT_EQ(holders[i]->lostSlots, 0);
    // Asking again keeps the newcomer's slot and tells nobody.
    Request(*newcomer, 2.0f);
    EXPECT_EQ(ring.GetOccupant(0), newcomer->GetObjectId());
    EXPECT_EQ(holders[0]->lostSlots, 1);

    // A dead holder's slot is cleaned and handed out.
    holders[2]->SetLifeState(Character_LifeState::Dead);
    EXPECT_LT(Flat(Request(*holders[0], 2.0f), At(43, 25)), 1e-4f);
    EXPECT_EQ(ring.GetOccupant(2), holders[0]->GetObjectId());
}

TEST_F(Slots, ALookFindsTheSlotAHoldWouldTakeAndChangesNothing) {
    // A decision one machine makes alone (a player's click) only looks: every machine's ring
    // must stay as the others have it.
    SlotManager& ring = owner->GetAttackSlots();
    auto look = [&](Character& who) {
        WorldVec3 out(meadow, Vec3(-1, -1, -1));
        ring.RequestSlot(out, who.GetObjectId(), 2.0f, false, false);
        return out;
    };
    auto occupants = [&] {
        std::vector<std::uint32_t> ids;
        for (std::size_t i = 0; i < ring.GetNumSlots(); ++i)
            ids.push_back(ring.GetOccupant(i));
        return ids;
    };
    ProbeCharacter* first = Spawn<ProbeCharacter>(51, 25);
    EXPECT_LT(Flat(look(*first), At(47, 25)), 1e-4f);
    EXPECT_EQ(occupants(), std::vector<std::uint32_t>(4, 0u));

    ProbeCharacter* holders[4];
    const float spots[4][2] = {{48, 25}, {45, 28}, {42, 25}, {45, 22}};
    for (int i = 0; i < 4; ++i) {
        holders[i] = Spawn<ProbeCharacter>(spots[i][0], spots[i][1]);
        ASSERT_TRUE(Request(*holders[i], 2.0f).IsValid());
    }
    const std::vector<std::uint32_t> held = occupants();
    // A holder further off would give its slot up, a dead one is gone, the looker's own slot
    // is free to it: a look sees all of that, yet nobody loses a slot.
    holders[0]->SetPathPosition(At(58, 50));
    ProbeCharacter* newcomer = Spawn<ProbeCharacter>(49, 26);
    EXPECT_LT(Flat(look(*newcomer), At(47, 25)), 1e-4f);
    holders[2]->SetLifeState(Character_LifeState::Dead);
    holders[1]->SetPathPosition(At(43, 24));
    EXPECT_LT(Flat(look(*holders[1]), At(43, 25)), 1e-4f);
    EXPECT_EQ(occupants(), held);
    EXPECT_EQ(holders[0]->lostSlots, 0);
}

TEST_F(Slots, HeldSlotsFollowTheRingThoughNoRequestLookedAtThem) {
    // Holders of slots 0-2 stay put while the ring moves (and widens); a request takes slot 3.
    for (const Vec3 row : {Vec3(45, 2.5f, 25), Vec3(38, 2.0f, 31), Vec3(52, 3.0f, 20)}) {
        SlotManager& ring = owner->GetAttackSlots();
        ring.SetNumSlots(4);
        owner->SetPathPosition(At(45, 25));
        ProbeCharacter* holders[3] = {Spawn<ProbeCharacter>(48, 25), Spawn<ProbeCharacter>(45, 28),
                                      Spawn<ProbeCharacter>(42, 25)};
        for (ProbeCharacter* holder : holders)
            ASSERT_TRUE(Request(*holder, 2.0f).IsValid());
        const WorldVec3 before = ring.GetSlotPosition(0);
        owner->SetPathPosition(At(row.x, row.z));
        const float r = row.y, dx[4] = {r, 0, -r, 0}, dz[4] = {0, r, 0, -r};
        ProbeCharacter* late = Spawn<ProbeCharacter>(row.x, row.z - r - 1);
        EXPECT_LT(Flat(Request(*late, r), At(row.x, row.z - r)), 1e-4f);
        // No slot of the new ring lies where one of the old did.
        ring.HoldSlotAt(before, late->GetObjectId(), r);
        EXPECT_EQ(ring.GetOccupant(0), holders[0]->GetObjectId());
        for (std::size_t i = 0; i < 4; ++i)
            EXPECT_LT(Flat(ring.GetSlotPosition(i), At(row.x + dx[i], row.z + dz[i])), 1e-4f);
    }
}

TEST_F(Slots, RingsOfAnySizeGiveTheNearestFreeSlotsInTurn) {
    // Askers stand five metres out, a third of a slot's arc past slot k: they get k, then k + 1,
    // then k - 1 (k - 1 lies further off than k + 1).
    SlotManager& ring = owner->GetAttackSlots();
    const WorldVec3 center = owner->GetPathPosition();
    for (const unsigned int n : {3u, 8u, 24u, 40u})
        for (const unsigned int k : {0u, 1u, n / 2, n - 1}) {
            SCOPED_TRACE(::testing::Message() << n << " slots, past slot " << k);
            ring.SetNumSlots(n);
            const float arc = 6.2831855f / static_cast<float>(n);
            const float angle = (static_cast<float>(k) + 0.3f) * arc;
            const float x = center.local.x + 5.0f * std::cos(angle);
            const float z = center.local.z + 5.0f * std::sin(angle);
            const unsigned int expected[3] = {k, (k + 1) % n, (k + n - 1) % n};
            std::vector<Character*> askers;
            for (const unsigned int slot : expected) {
                askers.push_back(Spawn<ProbeCharacter>(x, z));
                EXPECT_EQ(Request(*askers.back(), 2.0f, true), ring.GetSlotPosition(slot));
                EXPECT_EQ(ring.GetOccupant(slot), askers.back()->GetObjectId());
            }
            for (Character* asker : askers)
                World::Get().RemoveEntity(asker);
        }
}

TEST_F(Slots, AHolderIsWeighedAsItIsWhereverTheWorldFilesIt) {
    // What befalls the holder of slot 0 before a newcomer beside that slot asks, in order:
    // l leaves the world, d dies, f another takes its world slot, r comes back (at another world
    // slot), w walks off, x is destroyed. The ring reads holders through the world's digests,
    // which follow the world's slots, not the characters.
    struct Case {
        const char* befalls;
        bool taken;      // the newcomer gets slot 0
        bool displaced;  // the holder loses it to the newcomer (it stands further off)
    };
    const Case cases[] = {
        {"", false, false},  {"d", true, false},   {"l", false, false},
        {"ld", true, false}, {"ldf", true, false}, {"lx", true, false},
        {"w", true, true},   {"lw", true, true},   {"lfrw", true, true},
    };
    World& world = World::Get();
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    SlotManager& ring = owner->GetAttackSlots();
    const float spots[4][2] = {{48, 25}, {45, 28}, {42, 25}, {45, 22}};
    for (const Case& c : cases)
        for (const bool hold : {true, false}) {
            SCOPED_TRACE(::testing::Message()
                         << "\"" << c.befalls << "\"" << (hold ? ", holding" : ", looking"));
            ring.SetNumSlots(4);
            std::vector<Character*> spawned;
            ProbeCharacter* holders[4];
            for (int i = 0; i < 4; ++i) {
                holders[i] = Spawn<ProbeCharacter>(spots[i][0], spots[i][1]);
                spawned.push_back(holders[i]);
                ASSERT_TRUE(Request(*holders[i], 2.0f, true).IsValid());
            }
            // As a crowd's sight has them: every holder's digest written.
            for (ProbeCharacter* holder : holders)
                ASSERT_TRUE(SightDigest::Has(SightDigest::Fetch(world, world.GetSlotOf(holder)),
                                             SightDigest::kAlive));
            ProbeCharacter* newcomer = Spawn<ProbeCharacter>(49, 26);
            spawned.push_back(newcomer);
            auto ask = [&] {
                WorldVec3 out(meadow, Vec3(-1, -1, -1));
                ring.RequestSlot(out, newcomer->GetObjectId(), 2.0f, true, hold);
                return out;
            };
            // Every holder stands nearer its slot than the newcomer.
            ASSERT_FALSE(ask().IsValid());

            ProbeCharacter* first = holders[0];
            const std::uint32_t worldSlot = world.GetSlotOf(first);
            const WorldCoords coords = first->GetCoords();
            for (const char* step = c.befalls; *step; ++step) {
                if (*step == 'l')
                    world.RemoveEntity(first);
                if (*step == 'd')
                    first->SetLifeState(Character_LifeState::Dead);
                if (*step == 'f') {
                    spawned.push_back(Spawn(30, 40));
                    ASSERT_EQ(world.GetSlotOf(spawned.back()), worldSlot);
                    SightDigest::Fetch(world, worldSlot);
                }
                if (*step == 'r') {
                    ASSERT_TRUE(world.AddEntity(first, coords, true));
                    ASSERT_NE(world.GetSlotOf(first), worldSlot);
                }
                if (*step == 'w')
                    first->SetPathPosition(At(58, 50));
                if (*step == 'x') {
                    objects.DestroyObject(first);
                    spawned.erase(spawned.begin());
                }
            }
            const bool gone = std::strchr(c.befalls, 'x') != nullptr;
            const std::uint32_t firstId = gone ? 0 : first->GetObjectId();
            const WorldVec3 got = ask();
            EXPECT_EQ(got.IsValid(), c.taken);
            if (c.taken) {
                EXPECT_LT(Flat(got, At(47, 25)), 1e-4f);
            }
            if (hold && c.taken) {
                EXPECT_EQ(ring.GetOccupant(0), newcomer->GetObjectId());
            } else if (!gone) {
                EXPECT_EQ(ring.GetOccupant(0), firstId);
            }
            if (!gone) {
                EXPECT_EQ(first->lostSlots, hold && c.displaced ? 1 : 0);
            }
            for (int i = 1; i < 4; ++i)
                EXPECT_EQ(ring.GetOccupant(static_cast<std::size_t>(i)), holders[i]->GetObjectId());
            for (Character* character : spawned)
                world.RemoveEntity(character);
        }
}

TEST_F(Slots, TheRingFollowsItsOwnerWhereverTheWorldFilesIt) {
    // The owner moves in the world; comes back at another world slot (a character then standing
    // in its old one, elsewhere) and moves; moves outside the world.
    World& world = World::Get();
    SlotManager& ring = owner->GetAttackSlots();
    ProbeCharacter* asker = Spawn<ProbeCharacter>(45, 20);
    EXPECT_LT(Flat(Request(*asker, 2.0f, true), At(45, 23)), 1e-4f);
    const float moves[3][2] = {{40, 30}, {50, 32}, {38, 22}};
    for (int step = 0; step < 3; ++step) {
        SCOPED_TRACE(step);
        if (step == 1) {
            const std::uint32_t ownSlot = world.GetSlotOf(owner);
            ASSERT_TRUE(world.RemoveEntity(owner));
            Character* filler = Spawn(30, 40);
            ASSERT_EQ(world.GetSlotOf(filler), ownSlot);
            filler->SetPathPosition(At(30, 40));
            ASSERT_TRUE(world.AddEntity(owner, owner->GetCoords(), true));
            ASSERT_NE(world.GetSlotOf(owner), ownSlot);
        }
        if (step == 2) {
            ASSERT_TRUE(world.RemoveEntity(owner));
        }
        const float x = moves[step][0], z = moves[step][1];
        owner->SetPathPosition(At(x, z));
        asker->SetPathPosition(At(x, z - 5));
        EXPECT_LT(Flat(Request(*asker, 2.0f, true), At(x, z - 2)), 1e-4f);
        const float dx[4] = {2, 0, -2, 0}, dz[4] = {0, 2, 0, -2};
        for (std::size_t i = 0; i < 4; ++i)
            EXPECT_LT(Flat(ring.GetSlotPosition(i), At(x + dx[i], z + dz[i])), 1e-4f) << i;
    }
}

TEST_F(Slots, ASlotInsideAWallIsNeverGiven) {
    // Beside the wall's east face (x 22): slot 2 lies inside the wall.
    Character* guard = Spawn(23.5f, 25, TeamManager::DefaultPlayerTeam());
    SlotManager& ring = guard->GetDefenseSlots();
    ring.SetNumSlots(4);
    ProbeCharacter* west = Spawn<ProbeCharacter>(19, 25);  // behind the wall
    WorldVec3 out;
    ring.RequestSlot(out, west->GetObjectId(), 2.5f, true);
    ASSERT_TRUE(out.IsValid());
    EXPECT_TRUE(World::Get().GetPathFinder().TestPointCollide(ring.GetSlotPosition(2), 0));
    EXPECT_NE(ring.GetOccupant(2), west->GetObjectId());
    EXPECT_GE(out.local.x, 22.0f);
}

}  // namespace
}  // namespace GAME::test
