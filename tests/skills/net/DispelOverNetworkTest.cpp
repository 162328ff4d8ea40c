// Curses and dispels across a server and two clients: the server's hex lands on every machine
// for its duration, a dispel lifts a friend's curse and strips a foe's blessing with the same
// hit everywhere. A hostile client's teleport result about its own player runs only when the
// target stands within the skill's reach.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "Engine/Engine.h"
#include "Engine/net/NetFaultLog.h"
#include "Engine/net/NetworkConnectionManager.h"
#include "Engine/records/RecordDatabase.h"
#include "Engine/world/World.h"
#include "Game/core/GameEngine.h"
#include "Game/core/players/Team.h"
#include "Game/skills/SkillActivated.h"
#include "Game/skills/manager/SkillCommands.h"
#include "skills/WeaponSkillTestSupport.h"
#include "skills/buffs/BuffTestSupport.h"
#include "support/NetTestGame.h"

namespace GAME::test {
namespace dispel_net {

// Made in this order, each far below the next: the object manager's counter follows the last
// id given, and the skills and buffs it hands out must not meet the next character.
constexpr std::uint32_t kHexer = 0x0F000100;
constexpr std::uint32_t kPriest = 0x0F000200;
constexpr std::uint32_t kFarFoe = 0x0F000300;
constexpr std::uint32_t kHero = (1u << 28) | 0x100;  // host 1's player
constexpr int kFrameMs = 33;
constexpr const char* kHex = "Records/NetHex/Hex.dbr";
constexpr const char* kCurse = "Records/NetHex/CurseBuff.dbr";
constexpr const char* kBless = "Records/NetHex/Bless.dbr";
constexpr const char* kDispel = "Records/NetHex/Dispel.dbr";

const std::pair<const char*, const char*> kRecords[] = {
    {kHex, R"({"Class": "Skill_AttackBuff", "buffSkillName": "Records/NetHex/CurseBuff.dbr"})"},
    {kCurse, R"({"Class": "SkillBuff_Debuf", "skillMaxLevel": 1, "skillActiveDuration": [2.5],
        "offensiveFireMin": [1], "offensiveFireMax": [2]})"},
    {kBless, R"({"Class": "Skill_BuffOther",
        "buffSkillName": "Records/Creatures/Skills/Buffs/ShamanWardBuff.dbr"})"},
    {kDispel, R"({"Class": "Skill_DispelMagic", "skillMaxLevel": 1,
        "offensivePhysicalMin": [20], "offensivePhysicalMax": [40]})"},
    {"Records/NetHex/Teleport.dbr", R"({"Class": "Skill_Teleport", "skillMaxLevel": 1})"},
    {"Records/NetHex/Hexer.dbr", R"({"Class": "Character", "characterLife": 300,
        "characterMana": 200, "combatManagerRecord": "Records/Combat/Standard.dbr",
        "skillName1": "Records/NetHex/Hex.dbr", "skillLevel1": 1,
        "skillName2": "Records/NetHex/Bless.dbr", "skillLevel2": 1})"},
    {"Records/NetHex/Priest.dbr", R"({"Class": "Character", "characterLife": 300,
        "characterMana": 200, "combatManagerRecord": "Records/Combat/Standard.dbr",
        "skillName1": "Records/NetHex/Dispel.dbr", "skillLevel1": 1})"},
    {"Records/NetHex/Hero.dbr", R"({"Class": "Character", "characterLife": 300,
        "combatManagerRecord": "Records/Combat/Standard.dbr",
        "skillName1": "Records/NetHex/Teleport.dbr", "skillLevel1": 1})"},
};

class DispelOverNetwork : public ::testing::Test {
protected:
    DispelOverNetwork() : game(2) {
        for (TestMachine* tm : game.Machines()) {
            MachineScope scope(tm->machine());
            EXPECT_TRUE(AddSampleRecord(kShamanWardBuff));
            for (const auto& [name, text] : kRecords)
                EXPECT_TRUE(Singleton<RecordDatabase>::Get().AddRecordText(name, text)) << name;
            InitializeObjects();
            game.TakeRole(*tm);
            for (auto [id, record, x, foe] :
                 {std::tuple{kHexer, "Records/NetHex/Hexer.dbr", 10.0f, true},
                  std::tuple{kPriest, "Records/NetHex/Priest.dbr", 12.0f, false},
                  std::tuple{kFarFoe, "Records/NetHex/Hexer.dbr", 60.0f, true},
                  std::tuple{kHero, "Records/NetHex/Hero.dbr", 14.0f, false}}) {
                Character* c = MakeFighter(id, x, record);
                EXPECT_NE(c, nullptr) << record;
                if (!c)
                    continue;
                c->SetTeam(foe ? TeamManager::DefaultMonsterTeam()
                               : TeamManager::BuildTeam(Team::Human, 5));
                c->GetSkillManager().LoadSkills(record, 2);
                World::Get().AddEntity(c, c->GetCoords(), true);
            }
        }
        ON_MACHINE(game.Server()) {
            for (std::uint32_t id : {kHexer, kPriest, kFarFoe, kHero})
                Find(id)->GetSkillManager().SetAsControllingManager();
        }
        Frames(1);
    }
    ~DispelOverNetwork() override { game.OnEach(ShutdownObjects); }

    void Frames(int count) {
        game.RunFrames(count, kFrameMs, [](TestMachine&, int) {
            for (std::uint32_t id : {kHexer, kPriest, kFarFoe, kHero}) {
                Find(id)->UpdateSelf(kFrameMs);
                Find(id)->PreAnimationUpdate(kFrameMs);
            }
        });
    }
    // The server's caster uses the skill on the target.
    void Use(std::uint32_t caster, const char* record, std::uint32_t target) {
        ON_MACHINE(game.Server()) {
            auto* skill = Singleton<ObjectManager>::Get().GetObject<SkillActivated>(
                Find(caster)->GetSkillManager().FindSkillId(record));
            ASSERT_NE(skill, nullptr) << record;
            skill->ActivateNow(*Find(caster), Name(), target, Find(target)->GetPosition());
        }
        game.Pump();
    }
    std::vector<bool> Carries(std::uint32_t carrier, const char* buff) {
        return game.OnEach([=] { return BuffOn(*Find(carrier), buff) != nullptr; });
    }
    std::vector<float> Lives(std::uint32_t id) {
        return game.OnEach([=] { return Find(id)->GetCurrentLife(); });
    }
    // The hero's teleport result onto `target`, sent by the hostile client; true when the server
    // ran it and passed it on to the honest client.
    bool SendTeleport(std::uint32_t target) {
        SkillTargetResultConfigCmd command(kHero, 0, {target}, WorldCoords(), 7, 0, false, 1);
        return game.SendFromClient(command);
    }

    NetTestGame game;
};

TEST_F(DispelOverNetwork, AHexLastsItsDurationEverywhereUntilAFriendsDispelLiftsIt) {
    Use(kHexer, kHex, kHero);
    EXPECT_EQ(Carries(kHero, kCurse), (std::vector<bool>{true, true, true}));
    ON_MACHINE(game.Server()) {
        EXPECT_EQ(BuffOn(*Find(kHero), kCurse)->GetTimeToLiveTotal(), 2500);
    }
    Frames(1000 / kFrameMs);
    const std::vector<float> before = Lives(kHero);
    Use(kPriest, kDispel, kHero);
    EXPECT_EQ(Carries(kHero, kCurse), (std::vector<bool>{false, false, false}));
    EXPECT_EQ(Lives(kHero), before) << "a friend's dispel does no harm";
}

TEST_F(DispelOverNetwork, ADispelStripsAFoesBlessingAndHitsItAlikeEverywhere) {
    Use(kHexer, kBless, kHexer);
    EXPECT_EQ(Carries(kHexer, kShamanWardBuff), (std::vector<bool>{true, true, true}));
    Use(kPriest, kDispel, kHexer);
    EXPECT_EQ(Carries(kHexer, kShamanWardBuff), (std::vector<bool>{false, false, false}));
    const std::vector<float> lives = Lives(kHexer);
    EXPECT_LT(lives[0], 300.0f);
    EXPECT_EQ(lives, std::vector<float>(3, lives[0]));
}

TEST_F(DispelOverNetwork, AClientsTeleportRunsOnlyOntoATargetWithinReach) {
    const auto places = [&] {
        return game.OnEach([] {
            return std::vector<float>{Find(kHero)->GetPosition().local.x,
                                      Find(kFarFoe)->GetPosition().local.x,
                                      Find(kHexer)->GetPosition().local.x};
        });
    };
    const auto start = places();
    EXPECT_FALSE(SendTeleport(kFarFoe));
    EXPECT_EQ(game.Server().CountLog("beyond its reach"), 1);
    EXPECT_EQ(places(), start);
    EXPECT_TRUE(SendTeleport(kHexer));
    const auto swapped = places();
    const std::vector<float> exchanged{10.0f, 60.0f, 14.0f};
    EXPECT_EQ(swapped[0], exchanged) << "the server";
    EXPECT_EQ(swapped[2], exchanged) << "the honest client";
}

}  // namespace dispel_net
}  // namespace GAME::test
