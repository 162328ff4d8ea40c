// A chain lightning hanging from an attack, across machines: the server draws the hops, and
// every machine plays the same bolts and strikes the same foes for the same damage in the same
// frames. A fork strikes its foes at once, alike everywhere.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "Engine/object/ObjectManager.h"
#include "Engine/records/RecordDatabase.h"
#include "Engine/world/World.h"
#include "Game/core/GameEngine.h"
#include "Game/core/players/Team.h"
#include "Game/skills/manager/SkillServicesBase.h"
#include "Game/skills/secondary/SkillSecondary_Chain.h"
#include "Game/world/lightning/Lightning.h"
#include "skills/WeaponSkillTestSupport.h"
#include "support/NetTestGame.h"

namespace GAME::test {
namespace chain_net {

constexpr std::uint32_t kCaster = 0x0F000100;
constexpr std::uint32_t kFoes[] = {0x0F000001, 0x0F000002, 0x0F000003, 0x0F000004, 0x0F000005};
constexpr int kFrameMs = 33;
constexpr const char* kZap = "Records/NetChain/Zap.dbr";
constexpr const char* kChain = "Records/NetChain/Chain.dbr";
constexpr const char* kFork = "Records/NetChain/Fork.dbr";

const std::pair<const char*, const char*> kChainRecords[] = {
    {"Records/NetChain/Bolt.dbr", R"({"Class": "Lightning", "numberOfBolts": 1,
        "timeMin": 300.0, "timeMax": 500.0, "travelTime": 200.0})"},
    {kZap, R"({"Class": "Skill_AttackInherent", "skillMaxLevel": 1,
        "offensivePhysicalMin": [10], "offensivePhysicalMax": [20]})"},
    {"Records/NetChain/Zap2.dbr", R"({"Class": "Skill_AttackInherent", "skillMaxLevel": 1,
        "offensivePhysicalMin": [10], "offensivePhysicalMax": [20]})"},
    {kChain, R"({"Class": "SkillSecondary_ChainLightning", "skillMaxLevel": 1,
        "sparkGap": [6.0], "sparkChance": [100], "sparkMaxNumber": [3],
        "lightningName": "Records/NetChain/Bolt.dbr",
        "offensiveLightningMin": [5], "offensiveLightningMax": [25]})"},
    {kFork, R"({"Class": "SkillSecondary_ForkLightning", "skillMaxLevel": 1,
        "sparkGap": [20.0], "sparkChance": [100], "sparkMaxNumber": [3],
        "lightningName": "Records/NetChain/Bolt.dbr",
        "offensiveFireMin": [5], "offensiveFireMax": [25]})"},
    {"Records/NetChain/Caster.dbr", R"({"Class": "Character", "characterLife": 300,
        "combatManagerRecord": "Records/Combat/Standard.dbr",
        "skillName1": "Records/NetChain/Zap.dbr", "skillLevel1": 1,
        "skillName2": "Records/NetChain/Chain.dbr", "skillLevel2": 1,
        "skillName3": "Records/NetChain/Zap2.dbr", "skillLevel3": 1,
        "skillName4": "Records/NetChain/Fork.dbr", "skillLevel4": 1})"},
};

class ChainOverNetwork : public ::testing::Test {
protected:
    ChainOverNetwork() : game(1) {
        for (TestMachine* tm : game.Machines()) {
            MachineScope scope(tm->machine());
            for (const auto& [name, text] : kChainRecords)
                EXPECT_TRUE(Singleton<RecordDatabase>::Get().AddRecordText(name, text)) << name;
            InitializeObjects();
            game.TakeRole(*tm);
            float x = 14.0f;
            for (std::uint32_t id : kFoes) {
                Character* foe = MakeFighter(id, x);
                x += 4.0f;
                EXPECT_NE(foe, nullptr);
                if (!foe)
                    continue;
                foe->SetTeam(TeamManager::DefaultPlayerTeam());
                World::Get().AddEntity(foe, foe->GetCoords(), true);
            }
            Character* caster = MakeFighter(kCaster, 10.0f, "Records/NetChain/Caster.dbr");
            EXPECT_NE(caster, nullptr);
            if (!caster)
                continue;
            caster->SetTeam(TeamManager::DefaultMonsterTeam());
            caster->GetSkillManager().LoadSkills("Records/NetChain/Caster.dbr", 4);
            World::Get().AddEntity(caster, caster->GetCoords(), true);
        }
        ON_MACHINE(game.Server()) {
            Find(kCaster)->GetSkillManager().SetAsControllingManager();
        }
        Frames(1);
    }
    ~ChainOverNetwork() override { game.OnEach(ShutdownObjects); }

    // The caster's skills and every bolt in the world, as the host's frame updates them.
    void Frames(int count) {
        game.RunFrames(count, kFrameMs, [](TestMachine&, int) {
            Find(kCaster)->GetSkillManager().Update(kFrameMs);
            std::vector<Entity*> entities;
            World::Get().GetEntitiesInBox(entities, MakeArena(),
                                          ABBox{Vec3(-1000, -1000, -1000), Vec3(1000, 1000, 1000)});
            std::vector<std::uint32_t> bolts;
            for (Entity* entity : entities)
                if (dynamic_cast<Lightning*>(entity))
                    bolts.push_back(entity->GetObjectId());
            std::sort(bolts.begin(), bolts.end());
            for (std::uint32_t id : bolts)
                if (auto* bolt = Singleton<ObjectManager>::Get().GetObject<Lightning>(id))
                    bolt->UpdateSelf(kFrameMs);
        });
    }
    // The server's caster hits the first foe with the attack at that place in its list.
    void Strike(std::uint32_t reference) {
        ON_MACHINE(game.Server()) {
            SkillManager& manager = Find(kCaster)->GetSkillManager();
            manager.GetSkillServices()->SendTargetResult(manager.GetSkillIdFromReference(reference),
                                                         {kFoes[0]}, Find(kFoes[0])->GetCoords(),
                                                         99, 0, false);
        }
        game.Pump();
    }
    std::vector<std::vector<float>> Lives() {
        return game.OnEach([] {
            std::vector<float> lives;
            for (std::uint32_t id : kFoes)
                lives.push_back(Find(id)->GetCurrentLife());
            return lives;
        });
    }
    template <class T>
    static T* SkillOf(const char* record) {
        return Singleton<ObjectManager>::Get().GetObject<T>(
            Find(kCaster)->GetSkillManager().FindSkillId(record));
    }

    NetTestGame game;
};

TEST_F(ChainOverNetwork, TheChainHopsAlikeOnEveryMachineAndStrikesEachFoeAsItsBoltArrives) {
    Strike(0);
    std::vector<std::vector<std::uint32_t>> hops;
    for (int frame = 0; frame < 60; ++frame) {
        Frames(1);
        const auto lives = Lives();
        ASSERT_EQ(lives[1], lives[0]) << "frame " << frame;
        if (hops.empty())
            hops = game.OnEach([] {
                std::vector<std::uint32_t> ids;
                for (const auto& link : SkillOf<SkillSecondaryChain>(kChain)->GetChain())
                    ids.push_back(link.targetId);
                return ids;
            });
    }
    ASSERT_EQ(hops.size(), 2u);
    EXPECT_EQ(hops[1], hops[0]);
    // Three hops, never back to the foe the attack struck, each a step along the line.
    EXPECT_EQ(hops[0], (std::vector<std::uint32_t>{kFoes[1], kFoes[2], kFoes[3]}));
    const auto lives = Lives();
    for (int i = 0; i < 4; ++i)
        EXPECT_LT(lives[0][i], kFighterLife) << i;
    EXPECT_FLOAT_EQ(lives[0][4], kFighterLife);
    // All bolts have arrived and gone: the next chain may start.
    for (bool empty :
         game.OnEach([] { return SkillOf<SkillSecondaryChain>(kChain)->GetChain().empty(); }))
        EXPECT_TRUE(empty);
}

TEST_F(ChainOverNetwork, AForkStrikesItsFoesAtOnceAlikeOnEveryMachine) {
    Strike(2);
    for (int frame = 0; frame < 20; ++frame) {
        Frames(1);
        const auto lives = Lives();
        ASSERT_EQ(lives[1], lives[0]) << "frame " << frame;
    }
    // The attack's foe and three more within reach, all struck.
    const auto lives = Lives();
    EXPECT_EQ(std::count_if(lives[0].begin(), lives[0].end(),
                            [](float life) { return life < kFighterLife; }),
              4);
    for (bool done : game.OnEach(
             [] { return SkillOf<SkillSecondary_ForkLightning>(kFork)->GetForks().empty(); }))
        EXPECT_TRUE(done);
}

}  // namespace chain_net
}  // namespace GAME::test
