// The sample Shaman's blessings across machines: the server decides (targets, renewals,
// expiry), every machine shows the same buffs with the same levels and casters, and a buff
// that the server lets run out leaves every machine. A curse ticks the same on every machine.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Engine/Engine.h"
#include "Engine/records/RecordDatabase.h"
#include "Engine/world/World.h"
#include "Game/core/GameEngine.h"
#include "Game/skills/SkillActivated.h"
#include "Game/skills/buffs/SkillBuffDebuf.h"
#include "Game/skills/manager/SkillBuffTransfer.h"
#include "skills/WeaponSkillTestSupport.h"
#include "skills/buffs/BuffTestSupport.h"
#include "support/NetTestGame.h"

namespace GAME::test {
namespace {

// Made in this order, so that the ids the object manager hands the skills and buffs never meet
// them.
constexpr std::uint32_t kAlly = 0x0F000001;
constexpr std::uint32_t kFarAlly = 0x0F000002;
constexpr std::uint32_t kShaman = 0x0F000100;
constexpr int kFrameMs = 33;

constexpr const char* kShamanRecord = R"({"Class": "Character", "characterLife": 300,
    "characterMana": 200, "combatManagerRecord": "Records/Combat/Standard.dbr",
    "skillName1": "Records/Creatures/Skills/ShamanWard.dbr", "skillLevel1": 2,
    "skillName2": "Records/Creatures/Skills/ShamanMend.dbr", "skillLevel2": 1})";
constexpr const char* kAllyRecord = R"({"Class": "Character", "characterLife": 300,
    "combatManagerRecord": "Records/Combat/Standard.dbr"})";
// A curse that burns its carrier every second.
constexpr const char* kCurse = "Records/NetBuff/Curse.dbr";
constexpr const char* kCurseRecord = R"({"Class": "SkillBuff_Debuf", "skillMaxLevel": 3,
    "offensiveFireMin": [10], "offensiveFireMax": [30]})";

struct BuffView {
    bool present = false;
    std::uint32_t level = 0;
    std::uint32_t caster = 0;
    bool operator==(const BuffView&) const = default;
};

class ShamanBuffsOverNetwork : public ::testing::Test {
protected:
    ShamanBuffsOverNetwork() : game(1) {
        for (TestMachine* tm : game.Machines()) {
            MachineScope scope(tm->machine());
            for (const char* name : {kShamanWard, kShamanWardBuff, kShamanMend, kShamanMendBuff})
                EXPECT_TRUE(AddSampleRecord(name)) << name;
            auto& records = Singleton<RecordDatabase>::Get();
            EXPECT_TRUE(records.AddRecordText("Records/NetBuff/Shaman.dbr", kShamanRecord));
            EXPECT_TRUE(records.AddRecordText("Records/NetBuff/Ally.dbr", kAllyRecord));
            EXPECT_TRUE(records.AddRecordText(kCurse, kCurseRecord));
            InitializeObjects();
            game.TakeRole(*tm);
            for (auto [id, record, x] :
                 {std::tuple{kAlly, "Records/NetBuff/Ally.dbr", 12.0f},
                  std::tuple{kFarAlly, "Records/NetBuff/Ally.dbr", 40.0f},
                  std::tuple{kShaman, "Records/NetBuff/Shaman.dbr", 10.0f}}) {
                Character* c = MakeFighter(id, x, record);
                EXPECT_NE(c, nullptr) << record;
                if (!c)
                    continue;
                c->GetSkillManager().LoadSkills(record, 2);
                // In the world, where the blessings around look for allies.
                World::Get().AddEntity(c, c->GetCoords(), true);
            }
        }
        ON_MACHINE(game.Server()) {
            for (std::uint32_t id : {kShaman, kAlly, kFarAlly})
                Find(id)->GetSkillManager().SetAsControllingManager();
        }
        Frames(1);
    }
    ~ShamanBuffsOverNetwork() override { game.OnEach(ShutdownObjects); }

    void Frames(int count) {
        game.RunFrames(count, kFrameMs, [](TestMachine&, int) {
            for (std::uint32_t id : {kShaman, kAlly, kFarAlly}) {
                Find(id)->UpdateSelf(kFrameMs);
                Find(id)->PreAnimationUpdate(kFrameMs);
            }
        });
    }
    static SkillActivated* ShamanSkill(const char* record) {
        return Singleton<ObjectManager>::Get().GetObject<SkillActivated>(
            Find(kShaman)->GetSkillManager().FindSkillId(record));
    }
    // The server's Shaman uses the skill on the target.
    void Use(const char* record, std::uint32_t target) {
        ON_MACHINE(game.Server()) {
            SkillActivated* skill = ShamanSkill(record);
            ASSERT_NE(skill, nullptr);
            skill->ActivateNow(*Find(kShaman), Name(), target, Find(target)->GetPosition());
        }
        game.Pump();
    }
    std::vector<BuffView> Views(std::uint32_t carrier, const char* buff) {
        return game.OnEach([=] {
            const SkillBuff* b = BuffOn(*Find(carrier), buff);
            return b ? BuffView{true, b->GetCurrentLevel(), b->GetCasterId()} : BuffView{};
        });
    }

    NetTestGame game;
};

TEST_F(ShamanBuffsOverNetwork, TheWardBlessesAlliesAroundOnEveryMachineAndExpires) {
    Use(kShamanWard, kShaman);
    // The first pulse comes a second after the blessing.
    Frames(1000 / kFrameMs + 1);
    for (std::uint32_t carrier : {kShaman, kAlly}) {
        for (const BuffView& view : Views(carrier, kShamanWardBuff))
            EXPECT_EQ(view, (BuffView{true, 2, kShaman})) << std::hex << carrier;
    }
    for (const BuffView& view : Views(kFarAlly, kShamanWardBuff))
        EXPECT_FALSE(view.present);
    ON_MACHINE(game.Server()) {
        // The ward's level-2 defense, and a life renewed by each pulse.
        EXPECT_EQ(BuffOn(*Find(kAlly), kShamanWardBuff)->GetTimeToLiveTotal(), 1500);
        EXPECT_TRUE(Find(kAlly)->IsSkillBuffActive(
            "records\\creatures\\skills\\buffs\\shamanwardbuff.dbr"));
    }
    // The ward lasts 7 s at level 2; its buffs end at most 1.5 s after the last pulse.
    Frames(6000 / kFrameMs);
    for (const BuffView& view : Views(kAlly, kShamanWardBuff))
        EXPECT_TRUE(view.present);
    Frames(2600 / kFrameMs);
    for (std::uint32_t carrier : {kShaman, kAlly})
        for (const BuffView& view : Views(carrier, kShamanWardBuff))
            EXPECT_FALSE(view.present) << std::hex << carrier;
}

TEST_F(ShamanBuffsOverNetwork, TheMendHealsAFriendAndItsBuffRunsItsDurationEverywhere) {
    const std::vector<float> before = game.OnEach([] {
        Find(kAlly)->SubtractLife(100.0f, PlayStatsDamageType{});
        return Find(kAlly)->GetCurrentLife();
    });
    Use(kShamanMend, kAlly);
    const std::vector<float> healed = game.OnEach([] { return Find(kAlly)->GetCurrentLife(); });
    for (std::size_t i = 0; i < healed.size(); ++i)
        EXPECT_FLOAT_EQ(healed[i], before[i] + 30.0f) << "machine " << i;
    for (const BuffView& view : Views(kAlly, kShamanMendBuff))
        EXPECT_EQ(view, (BuffView{true, 1, kShaman}));
    Frames(4800 / kFrameMs);
    for (const BuffView& view : Views(kAlly, kShamanMendBuff))
        EXPECT_TRUE(view.present);
    Frames(400 / kFrameMs);
    for (const BuffView& view : Views(kAlly, kShamanMendBuff))
        EXPECT_FALSE(view.present);
}

TEST_F(ShamanBuffsOverNetwork, ACurseTicksTheSameOnEveryMachine) {
    ON_MACHINE(game.Server()) {
        SkillBuffTransfer curse;
        curse.buffName = kCurse;
        curse.level = 1;
        curse.timeToLive = 3500;
        curse.casterId = kShaman;
        Find(kAlly)->ControllerAddSkillBuff(curse, {}, false);
    }
    game.Pump();
    float start = 0.0f;
    ON_MACHINE(game.Server()) {
        start = Find(kAlly)->GetCurrentLife();
    }
    for (int frame = 0; frame < 4000 / kFrameMs; ++frame) {
        Frames(1);
        const std::vector<float> lives = game.OnEach([] { return Find(kAlly)->GetCurrentLife(); });
        ASSERT_EQ(lives[1], lives[0]) << "frame " << frame;
    }
    const std::vector<float> lives = game.OnEach([] { return Find(kAlly)->GetCurrentLife(); });
    EXPECT_LT(lives[0], start);
    for (const BuffView& view : Views(kAlly, kCurse))
        EXPECT_FALSE(view.present);
}

}  // namespace
}  // namespace GAME::test
