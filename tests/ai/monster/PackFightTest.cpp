// Four sample wolves against four sample boars on the meadow, a server and a client joined by the
// loopback network: the server's controllers decide, the client only runs the actions they send.
// Every frame each monster stands, lives, acts and animates the same on both machines; likewise
// with a server-side player fighting the wolves.
#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "Engine/anim/AnimationChannels.h"
#include "Engine/anim/GraphicsAnim.h"
#include "Engine/sys/Machine.h"
#include "Game/ai/controllers/CharacterController.h"
#include "Game/ai/controllers/player/ControllerPlayer.h"
#include "Game/characters/Player.h"
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
// With a player: it starts between the wolves and the boars' place; its id follows the monsters'.
constexpr int kPlayer = kMonsters;
constexpr const char* kWarden = "Records/Characters/Players/Warden.dbr";
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

// The fighters, on every machine under the same ids: wolves on the red team in a row at z = 16,
// and either boars on the blue team at z = 29, within sight across open ground, or a player
// between them and the boars' place.
class PackFight {
public:
    // `attackSlots` rings every fighter on both machines; the records' 4 never run short.
    explicit PackFight(bool withPlayer = false, unsigned attackSlots = 4)
        : mGame(1, mCopy.Root()), mFighters(withPlayer ? kMonsters + 1 : kMonsters) {
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
                    if (!withPlayer)
                        Spawn(kBoar, IdOf(kPackSize + i), x + 1.0f, 29.0f, Team::Blue);
                }
                if (withPlayer)
                    SpawnPlayer(index == 0);
                for (Character* fighter : Fighters())
                    fighter->GetAttackSlots().SetNumSlots(attackSlots);
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

    // One frame on each machine as the host runs it: the player's click, the engine's step
    // (clips, whose events decide hits and ends of actions), every fighter's own update, then
    // every fighter's controller. The client hears of each decision at the step of the frame the
    // server made it in: lockstep without latency.
    void Frame() {
        if (mFighters > kMonsters) {
            // The server's player holds the button down on the first living wolf, as the host
            // hands it a click before the frame.
            ON_MACHINE(mGame.Server()) {
                Click();
            }
            mGame.Pump();
        }
        for (TestMachine* tm : mGame.Machines())
            ON_MACHINE(*tm) {
                gEngine->AdvanceFrame(kFrameMs);
            }
        mGame.Pump();
        for (TestMachine* tm : mGame.Machines())
            ON_MACHINE(*tm) {
                const std::vector<Character*> fighters = Fighters();
                for (Character* fighter : fighters)
                    fighter->UpdateSelf(kFrameMs);
                for (Character* fighter : fighters)
                    fighter->PreAnimationUpdate(kFrameMs);
            }
        mGame.Pump();
        ON_MACHINE(mGame.Server()) {
            for (Character* c : Fighters()) {
                auto* monster = c->IsA<Monster>() ? static_cast<Monster*>(c) : nullptr;
                if (!monster)
                    continue;
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
    // Above the ground it is put on.
    static Vec3 PlayerStart() { return Vec3(33.0f, 5.0f, 22.5f); }
    int MonsterCount() const { return mFighters == kMonsters ? kMonsters : kPackSize; }
    // The monsters that have a brain of their own on a machine.
    int Deciders(TestMachine& tm) {
        int deciders = 0;
        ON_MACHINE(tm) {
            for (Character* c : Fighters())
                deciders += c->IsA<Monster>() &&
                            static_cast<Monster*>(c)->GetMonsterController() != nullptr;
        }
        return deciders;
    }
    // Per machine (server first), each monster in id order.
    std::vector<std::vector<MonsterView>> Views() {
        return mGame.OnEach([this] {
            std::vector<MonsterView> views;
            for (int m = 0; m < mFighters; ++m) {
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
    std::vector<Character*> Fighters() const {
        std::vector<Character*> monsters;
        for (int m = 0; m < mFighters; ++m)
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

    void Click() {
        auto* hero = static_cast<Player*>(Find(IdOf(kPlayer)));
        ControllerPlayer* controller = FindController<ControllerPlayer>(*hero);
        if (!controller || !hero->IsAlive())
            return;
        for (int m = 0; m < kPackSize; ++m) {
            Character* wolf = Find(IdOf(m));
            if (!wolf || !wolf->IsAlive())
                continue;
            std::uint32_t target = wolf->GetObjectId();
            controller->SetCombatEnemy(target);
            controller->HandleActionFromMouse(true, false, false, mClicks++ > 0,
                                              wolf->GetPathPosition(), target);
            return;
        }
    }
    // The server's hero fights: its controller runs and it is handed clicks.
    void SpawnPlayer(bool server) {
        auto* hero =
            Singleton<ObjectManager>::Get().CreateObjectFromFile<Player>(kWarden, IdOf(kPlayer));
        ASSERT_NE(hero, nullptr);
        Region* meadow = World::Get().GetRegion("Meadow");
        WorldVec3 at(meadow, PlayerStart());
        at.PutOnFloor();
        hero->SetTeam(TeamManager::DefaultPlayerTeam());
        World::Get().AddEntity(hero, WorldCoords(meadow, Coords::FromOrigin(at.local)), true);
        hero->ResetMovementManager();
        hero->InitialUpdate();
        hero->SetIsControllingCharacter(server);
    }

    CombatWorldCopy mCopy;
    NetTestGame mGame;
    int mFighters;
    int mClicks = 0;
    std::set<std::string> mStatesSeen;
    int mAvoidingFrames = 0;
};

// What the server's side of a fight came to.
struct Outcome {
    int frames = 0;
    int hits = 0;
    int deaths = 0;
    bool packStanding[2] = {true, true};
    std::vector<MonsterView> last;
};

// Runs the fight until a pack is dead (or 4000 frames), requiring both machines to show every
// fighter alike after every frame.
void Fight(PackFight& fight, Outcome& out) {
    // The server decides for every monster; the client's copies only run what they are sent.
    ASSERT_EQ(fight.Deciders(fight.Server()), fight.MonsterCount());
    ASSERT_EQ(fight.Deciders(fight.Client()), 0);
    std::vector<std::vector<MonsterView>> before = fight.Views();
    ASSERT_EQ(before[0], before[1]);
    for (; out.frames < 4000 && out.packStanding[0] && out.packStanding[1]; ++out.frames) {
        fight.Frame();
        const std::vector<std::vector<MonsterView>> now = fight.Views();
        for (std::size_t m = 0; m < now[0].size(); ++m) {
            ASSERT_EQ(now[0][m], now[1][m])
                << "frame " << out.frames << ", fighter " << m << ": server " << Describe(now[0][m])
                << "; client " << Describe(now[1][m]);
            out.hits += now[0][m].exists && now[0][m].life < before[0][m].life;
            out.deaths += Living(before[0][m]) && !Living(now[0][m]);
        }
        // The wolves on one side; the boars, and a player, on the other.
        for (int pack = 0; pack < 2; ++pack) {
            out.packStanding[pack] =
                pack == 1 && now[0].size() > kMonsters && Living(now[0][kMonsters]);
            for (int i = 0; i < kPackSize; ++i)
                out.packStanding[pack] =
                    out.packStanding[pack] ||
                    Living(now[0][static_cast<std::size_t>(pack * kPackSize + i)]);
        }
        before = now;
    }
    out.last = before[0];
}

TEST(PackFight, WolvesAndBoarsFightAlikeOnServerAndClientUntilOnePackIsDead) {
    PackFight fight;
    Outcome out;
    Fight(fight, out);
    // A real fight: many blows, a whole pack fell, monsters stepped around each other.
    EXPECT_GT(out.hits, 10);
    EXPECT_GE(out.deaths, kPackSize);
    EXPECT_FALSE(out.packStanding[0] && out.packStanding[1]) << "after " << out.frames;
    EXPECT_GT(fight.AvoidingFrames(), 0);
    EXPECT_TRUE(fight.Visited("Pursue"));
    EXPECT_TRUE(fight.Visited("Attack"));
}

// Two attack slots each, so monsters wait for a place. The server's controllers take
// slots while deciding and free them on turning to another enemy; the client's copies hold the
// slot each move was sent to, ask again when they lose one and free it once their actions name
// another target, so every ring, and every path re-planned around it, is the same.
TEST(PackFight, TwoPacksWithTwoAttackSlotsEachFightAlikeOnServerAndClient) {
    PackFight fight(false, 2);
    Outcome out;
    Fight(fight, out);
    EXPECT_GE(out.deaths, kPackSize);
    EXPECT_TRUE(fight.Visited("WaitToAttack"));
}

// The server's player runs at the wolves and strikes while they tear it down: its clicks become
// actions the client admits by the same rule (a repeated strike waits for the one running). Its
// two attack slots keep half the pack waiting for a place.
TEST(PackFight, APlayerFightingAPackRunsStrikesAndDiesAlikeOnServerAndClient) {
    PackFight fight(true, 2);
    Outcome out;
    Fight(fight, out);
    ASSERT_EQ(out.last.size(), static_cast<std::size_t>(kMonsters + 1));
    const MonsterView& hero = out.last.back();
    EXPECT_FALSE(Living(hero)) << "after " << out.frames << " frames";
    // It ran at least a metre before it fell.
    const Vec3 start = PackFight::PlayerStart();
    EXPECT_GT(Vec2(hero.position.x - start.x, hero.position.z - start.z).Length(), 1.0f);
    bool struck = false;
    for (int i = 0; i < kPackSize; ++i)
        struck = struck || out.last[static_cast<std::size_t>(i)].life < 140.0f;
    EXPECT_TRUE(struck);
    EXPECT_TRUE(fight.Visited("WaitToAttack"));
}

}  // namespace
}  // namespace GAME::test
