// Four sample wolves against four sample boars on the meadow, a server and a client joined by the
// loopback network: the server's controllers decide, the client only runs the actions they send.
// Every frame each monster stands, lives, acts and animates the same on both machines.
#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "Engine/anim/AnimationChannels.h"
#include "Engine/anim/GraphicsAnim.h"
#include "Engine/sys/Machine.h"
#include "Game/characters/movement/CharacterMovementManager.h"
#include "ai/monster/states/MonsterCombatTestSupport.h"
#include "support/NetTestGame.h"

namespace GAME::test {
namespace {

constexpr int kFrameMs = 33;
constexpr int kPackSize = 4;
// Each monster's id is followed by those of its own objects (controller, skills): far apart.
constexpr std::uint32_t kIdStride = 0x100;
constexpr std::uint32_t kFirstId = 0x10000;
constexpr int kMonsters = 2 * kPackSize;
// Wolves first, then boars.
constexpr std::uint32_t IdOf(int monster) {
    return kFirstId + static_cast<std::uint32_t>(monster) * kIdStride;
}
constexpr const char* kWolf = "Records/Creatures/Wolf.dbr";
constexpr const char* kBoar = "Records/Creatures/Boar.dbr";

// What one monster shows in one frame.
struct MonsterView {
    bool exists = false;
    Vec3 position;
    float life = 0.0f;
    Character_ActionState action{};
    Character_LifeState state{};
    std::string clip;
    double clipMs = 0.0;
    bool operator==(const MonsterView&) const = default;
};

std::string Describe(const MonsterView& v) {
    std::ostringstream out;
    if (!v.exists)
        return "gone";
    out << "at (" << v.position.x << ", " << v.position.y << ", " << v.position.z << ") life "
        << v.life << " action " << Character::GetActionStateAsText(v.action) << " life state "
        << GetLifeStateText(v.state) << " clip " << v.clip << " @" << v.clipMs;
    return out.str();
}

bool Living(const MonsterView& v) {
    return v.exists &&
           (v.state == Character_LifeState::Alive || v.state == Character_LifeState::Unknown);
}

// The two packs, on every machine under the same ids: wolves on the red team in a row at z = 16,
// boars on the blue team at z = 29, within sight of each other across open ground.
class PackFight {
public:
    PackFight() : mGame(1, mCopy.Root()) {
        for (int index = 0; index < 2; ++index)
            ON_MACHINE(*mGame.Machines()[index]) {
                InitializeObjects();
                if (index == 0)
                    gGameEngine->SetAsNetworkServer();
                else
                    gGameEngine->SetAsNetworkClient();
                EXPECT_TRUE(World::Get().LoadLevel("Levels/Sample/Sample.level"));
                // The client's C runtime has its own history: it must not steer anything.
                crt_srand(index == 0 ? 1u : 4242u);
                for (int i = 0; i < kPackSize; ++i) {
                    const float x = 27.0f + 4.0f * static_cast<float>(i);
                    Spawn(kWolf, IdOf(i), x, 16.0f, Team::Red);
                    Spawn(kBoar, IdOf(kPackSize + i), x + 1.0f, 29.0f, Team::Blue);
                }
            }
    }
    ~PackFight() {
        for (TestMachine* tm : mGame.Machines())
            ON_MACHINE(*tm) {
                ShutdownObjects();
            }
    }
    PackFight(const PackFight&) = delete;
    PackFight& operator=(const PackFight&) = delete;

    // One frame on each machine as the host runs it: the engine's step (clips, whose events
    // decide hits and ends of actions), every monster's own update, then every monster's
    // controller. The client hears of each decision at the step of the frame the server made
    // it in: lockstep without latency.
    void Frame() {
        for (TestMachine* tm : mGame.Machines())
            ON_MACHINE(*tm) {
                gEngine->AdvanceFrame(kFrameMs);
            }
        mGame.Pump();
        for (TestMachine* tm : mGame.Machines())
            ON_MACHINE(*tm) {
                const std::vector<Character*> monsters = Monsters();
                for (Character* monster : monsters)
                    monster->UpdateSelf(kFrameMs);
                for (Character* monster : monsters)
                    monster->PreAnimationUpdate(kFrameMs);
            }
        mGame.Pump();
        ON_MACHINE(mGame.Server()) {
            for (Character* c : Monsters()) {
                auto* monster = static_cast<Monster*>(c);
                if (const ControllerMonster* brain = monster->GetMonsterController())
                    if (const char* state = brain->GetExecutingStateName())
                        mStatesSeen.insert(state);
                mAvoidingFrames += monster->GetMovementManager().GetLocalPath() != nullptr;
            }
        }
    }
    // The states the server's controllers executed at the end of some frame.
    bool Visited(const std::string& state) const { return mStatesSeen.contains(state); }
    // Monster frames spent on a local path around others.
    int AvoidingFrames() const { return mAvoidingFrames; }
    // The monsters that have a brain of their own on a machine.
    int Deciders(TestMachine& tm) {
        int deciders = 0;
        ON_MACHINE(tm) {
            for (Character* c : Monsters())
                deciders += static_cast<Monster*>(c)->GetMonsterController() != nullptr;
        }
        return deciders;
    }
    // Per machine (server first), each monster in id order.
    std::vector<std::vector<MonsterView>> Views() {
        return mGame.OnEach([] {
            std::vector<MonsterView> views;
            for (int m = 0; m < kMonsters; ++m) {
                MonsterView view;
                if (const Character* c = Find(IdOf(m))) {
                    view.exists = true;
                    view.position = c->GetCoords().coords.origin;
                    view.life = c->GetCurrentLife();
                    view.action = c->GetActionState();
                    view.state = c->GetLifeState();
                    if (const AnimationChannels::Channel* channel =
                            c->GetAnimationChannels().GetChannel(0)) {
                        view.clip = channel->anim ? channel->anim->GetName() : "";
                        view.clipMs = channel->timeMs;
                    }
                }
                views.push_back(view);
            }
            return views;
        });
    }
    TestMachine& Server() { return mGame.Server(); }
    TestMachine& Client() { return mGame.Client(0); }

private:
    static Character* Find(std::uint32_t id) {
        return Singleton<ObjectManager>::Get().GetObject<Character>(id);
    }
    static std::vector<Character*> Monsters() {
        std::vector<Character*> monsters;
        for (int m = 0; m < kMonsters; ++m)
            if (Character* c = Find(IdOf(m)))
                monsters.push_back(c);
        return monsters;
    }
    static void Spawn(const char* record, std::uint32_t id, float x, float z, std::uint32_t minor) {
        auto* monster = Singleton<ObjectManager>::Get().CreateObjectFromFile<Monster>(record, id);
        ASSERT_NE(monster, nullptr) << record;
        Region* meadow = World::Get().GetRegion("Meadow");
        WorldVec3 at(meadow, Vec3(x, 5, z));
        at.PutOnFloor();
        monster->SetTeam(TeamManager::BuildTeam(Team::Monster, minor));
        World::Get().AddEntity(monster, WorldCoords(meadow, Coords::FromOrigin(at.local)), true);
        monster->InitialUpdate();
        monster->ResetMovementManager();
    }

    CombatWorldCopy mCopy;
    NetTestGame mGame;
    std::set<std::string> mStatesSeen;
    int mAvoidingFrames = 0;
};

TEST(PackFight, WolvesAndBoarsFightAlikeOnServerAndClientUntilOnePackIsDead) {
    PackFight fight;
    // The server decides for every monster; the client's copies only run what they are sent.
    ASSERT_EQ(fight.Deciders(fight.Server()), kMonsters);
    ASSERT_EQ(fight.Deciders(fight.Client()), 0);
    std::vector<std::vector<MonsterView>> before = fight.Views();
    ASSERT_EQ(before[0], before[1]);
    int hits = 0;
    int deaths = 0;
    int frame = 0;
    bool packStanding[2] = {true, true};
    for (; frame < 4000 && packStanding[0] && packStanding[1]; ++frame) {
        fight.Frame();
        const std::vector<std::vector<MonsterView>> now = fight.Views();
        for (std::size_t m = 0; m < now[0].size(); ++m)
            ASSERT_EQ(now[0][m], now[1][m])
                << "frame " << frame << ", monster " << m << ": server " << Describe(now[0][m])
                << "; client " << Describe(now[1][m]);
        for (int pack = 0; pack < 2; ++pack) {
            packStanding[pack] = false;
            for (int i = 0; i < kPackSize; ++i) {
                const std::size_t m = static_cast<std::size_t>(pack * kPackSize + i);
                const MonsterView& was = before[0][m];
                const MonsterView& is = now[0][m];
                hits += is.exists && is.life < was.life;
                deaths += Living(was) && !Living(is);
                packStanding[pack] = packStanding[pack] || Living(is);
            }
        }
        before = now;
    }
    // A real fight: many blows, a whole pack fell, monsters stepped around each other.
    EXPECT_GT(hits, 10);
    EXPECT_GE(deaths, kPackSize);
    EXPECT_FALSE(packStanding[0] && packStanding[1]) << "after " << frame << " frames";
    EXPECT_GT(fight.AvoidingFrames(), 0);
    EXPECT_TRUE(fight.Visited("Pursue"));
    EXPECT_TRUE(fight.Visited("Attack"));
}

}  // namespace
}  // namespace GAME::test
