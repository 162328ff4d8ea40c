// A hostile client's buff commands about its own character: the server runs and passes on only
// a buff that one of the caster's skills gives, at that skill's level, with its modifiers and
// for no longer than it lasts; anything else changes nothing anywhere and is logged once,
// naming the host.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "Engine/Engine.h"
#include "Engine/net/NetFaultLog.h"
#include "Engine/net/NetworkConnectionManager.h"
#include "Engine/records/RecordDatabase.h"
#include "Game/skills/manager/SkillCommands.h"
#include "Game/skills/manager/SkillManager.h"
#include "skills/WeaponSkillTestSupport.h"
#include "support/NetTestGame.h"

namespace GAME::test {
namespace {

// The hostile client's own character (host 1 in the top bits) and a monster of the server.
constexpr std::uint32_t kTrustShaman = 0x0F000001;
constexpr std::uint32_t kClientHero = (1u << 28) | 0x100;
constexpr const char* kBlessing = "Records/NetBuff/Blessing.dbr";
constexpr const char* kBlessingRecord =
    R"({"Class": "Skill", "skillMaxLevel": 5, "skillActiveDuration": [10.0]})";
constexpr const char* kAura = "Records/NetBuff/Aura.dbr";
constexpr const char* kAuraRecord = R"({"Class": "Skill", "skillMaxLevel": 5})";

std::string Caster(int level) {
    return std::string(R"({"Class": "Character", "characterLife": 300, "characterMana": 100,
        "skillName1": "Records/NetBuff/Blessing.dbr", "skillLevel1": )") +
           std::to_string(level) +
           R"(, "skillName2": "Records/NetBuff/Aura.dbr", "skillLevel2": 1})";
}

struct BuffOrder {
    std::string name = kBlessing;
    std::uint32_t level = 2;
    std::string modifier1{};
    std::uint32_t modifier1Level = 0;
    int timeToLive = 10000;
    std::uint32_t caster = kClientHero;
};

class BuffCommandTrust : public ::testing::Test {
protected:
    BuffCommandTrust() : game(2) {
        for (TestMachine* tm : game.Machines()) {
            MachineScope scope(tm->machine());
            auto& records = Singleton<RecordDatabase>::Get();
            EXPECT_TRUE(records.AddRecordText(kBlessing, kBlessingRecord));
            EXPECT_TRUE(records.AddRecordText(kAura, kAuraRecord));
            EXPECT_TRUE(records.AddRecordText("Records/NetBuff/Shaman.dbr", Caster(4)));
            EXPECT_TRUE(records.AddRecordText("Records/NetBuff/Hero.dbr", Caster(2)));
            InitializeObjects();
            game.TakeRole(*tm);
            for (auto [id, record] : {std::pair{kTrustShaman, "Records/NetBuff/Shaman.dbr"},
                                      std::pair{kClientHero, "Records/NetBuff/Hero.dbr"}}) {
                Character* c = MakeFighter(id, 10.0f, record);
                EXPECT_NE(c, nullptr) << record;
                if (c)
                    c->GetSkillManager().LoadSkills(record, 2);
            }
        }
    }
    ~BuffCommandTrust() override { game.OnEach(ShutdownObjects); }

    // Sends the buff on the hero from the hostile client; true when the server ran it and
    // passed it on to the honest client.
    bool Send(const BuffOrder& b) {
        CreateRemoveSkillBuffConfigCmd command(kClientHero, 0, b.name, b.level, b.modifier1,
                                               b.modifier1Level, "", 0, b.timeToLive, b.caster);
        return game.SendFromClient(command);
    }

    NetTestGame game;
};

TEST_F(BuffCommandTrust, WhatTheCastersSkillGivesRunsAndGoesOn) {
    EXPECT_TRUE(Send({}));
    // The name is looked up as the buff table keys it: any case, either slash.
    EXPECT_TRUE(Send({.name = "records\\NetBuff\\BLESSING.dbr"}));
    // Shorter than the skill gives: whether that helps the client is not known here.
    EXPECT_TRUE(Send({.timeToLive = 3000}));
    // Another character's skill at its own level.
    EXPECT_TRUE(Send({.level = 4, .caster = kTrustShaman}));
    // A skill without a duration gives its buff for good, or a radius buff's fixed life.
    EXPECT_TRUE(Send({.name = kAura, .level = 1, .timeToLive = 0}));
    EXPECT_TRUE(Send({.name = kAura, .level = 1, .timeToLive = 1500}));
    // A removal is the controlling machine's to decide.
    EXPECT_TRUE(Send({.level = 0, .timeToLive = 0, .caster = 0}));
    EXPECT_EQ(game.Server().CountLog("refused CreateRemoveSkillBuffConfigCmdPacket"), 0);
}

TEST_F(BuffCommandTrust, ValuesTheClientMayNotChooseAreRefusedAndLogged) {
    struct Case {
        BuffOrder buff;
        const char* reason;
    };
    const Case cases[] = {
        {{.level = 3}, "not the level of the caster's skill"},
        {{.level = 3, .caster = kTrustShaman}, "not the level of the caster's skill"},
        {{.caster = 0x0EEEEEEE}, "the caster is no character here"},
        {{.level = 2, .caster = 0}, "the caster is no character here"},
        {{.name = "Records/NetBuff/Godhood.dbr"}, "no skill of the caster casts it"},
        {{.modifier1 = kAura, .modifier1Level = 5}, "not the modifiers of the caster's skill"},
        {{.timeToLive = 0}, "it would outlive what the caster's skill gives"},
        {{.timeToLive = 60000}, "it would outlive what the caster's skill gives"},
        {{.timeToLive = -5}, "it would outlive what the caster's skill gives"},
        {{.name = kAura, .level = 1, .timeToLive = 1501},
         "it would outlive what the caster's skill gives"},
    };
    for (const Case& c : cases) {
        // A fresh window of the server's fault log, so that each refusal gets its line.
        ON_MACHINE(game.Server()) {
            gEngine->AdvanceGameTime(NetFaultLog::kWindowMs);
        }
        game.Server().ClearLog();
        EXPECT_FALSE(Send(c.buff)) << c.reason;
        EXPECT_EQ(game.Server().CountLog(std::string("from host 1: buff ") + c.buff.name), 1)
            << c.reason;
        EXPECT_EQ(game.Server().CountLog(c.reason), 1) << c.reason;
    }
    // The honest machine of the same game is untouched and the hostile one still connected.
    EXPECT_TRUE(Send({}));
}

}  // namespace
}  // namespace GAME::test
