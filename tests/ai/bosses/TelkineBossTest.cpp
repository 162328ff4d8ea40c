// The Telkine throws at pets and allies before players in its first phase, counts its throws to
// reach the second phase, where it strikes players first, and never stalls when nobody is near.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "Game/ai/bosses/telkine/ControllerTelkine.h"
#include "Game/characters/Player.h"
#include "Game/characters/actions/AttackAction.h"
#include "Game/characters/actions/CharacterActionHandler.h"
#include "ai/monster/states/MonsterCombatTestSupport.h"

namespace GAME::test {
namespace {

constexpr const char* kTelkineRecord = "Records/Test/Telkine.dbr";
constexpr const char* kLift = "Records/Test/Lift.dbr";
constexpr const char* kSmite = "Records/Test/Smite.dbr";
// Ten frames a second keep the long phases quick.
constexpr int kTelkineFrameMs = 100;

class TelkineBossTest : public MonsterCombatTest {
protected:
    void SetUp() override {
        MonsterCombatTest::SetUp();
        // Harmless spells: the test watches whom they are aimed at.
        for (const char* spell : {kLift, kSmite})
            Record(spell, R"({"Class": "Skill_AttackSpell", "skillMaxLevel": 1,
                "distanceProfile": "Long", "skillManaCost": [0]})");
        Record("Records/Test/TelkineBrain.dbr", R"({"Class": "ControllerTelkine",
            "ViewDistance": 30, "telekinesisSpell": "Records/Test/Lift.dbr",
            "directAttack": "Records/Test/Smite.dbr",
            "skeletonSpell": "Records/Test/NoSuchSpell.dbr"})");
        Record(kTelkineRecord,
               R"({"Class": "Monster", "characterLife": 500, "characterSpellCastSpeed": 1.0,
            "controller": "Records/Test/TelkineBrain.dbr",
            "skillName1": "Records/Test/Lift.dbr", "skillLevel1": 1,
            "skillName2": "Records/Test/Smite.dbr", "skillLevel2": 1,
            "unarmedSpellAttackAnim": "Creatures/Anims/Human_Invoke.anm",
            "unarmedSpecialAnim1": "Creatures/Anims/Human_Cast.anm",
            "unarmedSpecialAnimRef1": "TelkineEmote"})");
    }
    Monster* SpawnTelkine() {
        auto* telkine =
            Singleton<ObjectManager>::Get().CreateObjectFromFile<Monster>(kTelkineRecord);
        World::Get().AddEntity(telkine, WorldCoords(meadow, Coords::FromOrigin(At(20, 20).local)),
                               true);
        telkine->InitialUpdate();
        characters.push_back(telkine);
        return telkine;
    }
    Player* SpawnPlayer(float x, float z) {
        auto* player = Singleton<ObjectManager>::Get().CreateObjectFromFile<Player>(
            "Records/Characters/Players/Warden.dbr");
        player->SetTeam(TeamManager::DefaultPlayerTeam());
        World::Get().AddEntity(player, WorldCoords(meadow, Coords::FromOrigin(At(x, z).local)),
                               true);
        player->InitialUpdate();
        characters.push_back(player);
        return player;
    }
    // Runs the frames and notes each attack the Telkine starts: {skill record, target}.
    void Run(Monster* telkine, int frames) {
        for (int i = 0; i < frames; ++i) {
            Frame(kTelkineFrameMs);
            const auto* attack =
                dynamic_cast<const AttackAction*>(telkine->GetActionHandler().GetCurrentAction());
            if (attack && attack != lastAttack) {
                const bool lift =
                    attack->GetSkillId() ==
                    telkine->GetSkillManager().GetSkillReferenceNumber(SkillId(telkine, kLift));
                attacks.emplace_back(lift ? kLift : kSmite, attack->GetTargetId());
            }
            lastAttack = attack;
        }
    }
    const AttackAction* lastAttack = nullptr;
    std::vector<std::pair<const char*, std::uint32_t>> attacks;
};

TEST_F(TelkineBossTest, ThrowsAtOthersFirstCountsTwelveThrowsThenStrikesPlayersFirst) {
    Monster* telkine = SpawnTelkine();
    Player* player = SpawnPlayer(24, 20);
    Character* ally = SpawnHero(30, 20);  // farther, but no player
    auto* brain =
        Singleton<ObjectManager>::Get().GetObject<ControllerTelkine>(telkine->GetControllerId());
    ASSERT_NE(brain, nullptr);
    Run(telkine, 1);  // the skills are looked up at the controller's first update
    EXPECT_EQ(brain->GetSkeletonSpellId(), 0u);  // a skill it does not have
    EXPECT_EQ(brain->GetTelekinesisSpellId(), SkillId(telkine, kLift));

    // An emote, then a throw, every 12 s; twelve throws take a little under three minutes.
    Run(telkine, 1900);
    ASSERT_GE(attacks.size(), 13u);
    for (int i = 0; i < 12; ++i) {
        EXPECT_STREQ(attacks[i].first, kLift) << i;
        EXPECT_EQ(attacks[i].second, ally->GetObjectId()) << i;
    }
    EXPECT_EQ(Executing(brain), "AttackPhase2");
    EXPECT_STREQ(attacks[12].first, kSmite);
    EXPECT_EQ(attacks[12].second, player->GetObjectId());
}

TEST_F(TelkineBossTest, ADueThrowWithNobodyInSightWaitsInsteadOfStalling) {
    Monster* telkine = SpawnTelkine();
    Run(telkine, 300);  // 30 s alone: the emote, then a due throw that finds nobody
    EXPECT_TRUE(attacks.empty());
    SpawnHero(26, 20);
    Run(telkine, 200);
    ASSERT_FALSE(attacks.empty());
    EXPECT_STREQ(attacks.front().first, kLift);
}

}  // namespace
}  // namespace GAME::test
