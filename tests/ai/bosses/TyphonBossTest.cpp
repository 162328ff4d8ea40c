// Typhon's fight among the statues on the deciding machine: which statue it seeks and with which
// transfer skill, the god attacks it borrows and gives back, and the end of the play-through
// when it dies.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <vector>

#include "Engine/records/RecordDatabase.h"
#include "Engine/world/World.h"
#include "Game/ai/bosses/typhon/ControllerTyphon.h"
#include "Game/characters/Player.h"
#include "Game/characters/monster/Typhon.h"
#include "Game/characters/monster/TyphonStatue.h"
#include "Game/core/ActivityManager.h"
#include "Game/core/GameEngine.h"
#include "Game/core/net/commands/CharacterCommands.h"
#include "Game/core/players/PlayerManagerClient.h"
#include "support/CharacterSetUp.h"
#include "support/RecordingUI.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace typhonboss {

// Notes whom and with which skill each pursuit of a statue set out.
class NotingPursuit : public ControllerAIStateT<ControllerTyphon, Typhon> {
public:
    using ControllerAIStateT::ControllerAIStateT;
    void OnBegin() override { begun.emplace_back(GetCurrentEnemy(), GetCurrentSkillID()); }
    void OnEnd() override {}
    void OnUpdate(int) override {}
    std::vector<std::pair<std::uint32_t, std::uint32_t>> begun;
};

class TyphonProbe : public ControllerTyphon {
    RTTI_DECLARE(TyphonProbe)
public:
    void RegisterStates() override {
        ControllerTyphon::RegisterStates();
        auto state = std::make_unique<NotingPursuit>(this);
        pursuit = state.get();
        AddState("PursueStatue", std::move(state));
        auto back = std::make_unique<NotingPursuit>(this);
        returning = back.get();
        AddState("Return", std::move(back));
    }
    NotingPursuit* pursuit = nullptr;
    NotingPursuit* returning = nullptr;
};
RTTI_IMPLEMENT(TyphonProbe, ControllerTyphon)

class SavingUI : public RecordingUI {
public:
    bool SaveGame(GameDifficulty difficulty) override {
        calls.push_back("save " + std::to_string(static_cast<int>(difficulty)));
        return true;
    }
    bool SaveGame() override {
        calls.push_back("autosave");
        return true;
    }
};

constexpr std::uint32_t kTransfer[ControllerTyphon::kGodCount] = {101, 102, 103, 104};

class TyphonBoss : public ::testing::Test {
protected:
    TyphonBoss() {
        RecordDatabase& records = Singleton<RecordDatabase>::Get();
        for (const char* god : {"zeus", "demeter", "hades", "apollo"})
            EXPECT_TRUE(records.AddRecordText(
                std::string("Records/Boss/") + god + ".dbr",
                std::string(R"({"Class": "TyphonStatue", "skillGodName": ")") + god + "\"}"));
        InitializeObjects();
        region = World::Get().AddRegion(
            std::make_unique<Region>("Court", Vec3(0, 0, 0), Vec3(1200, 50, 1200)));
        typhon = Objects().CreateObject<Typhon>();
        World::Get().AddEntity(typhon, At(100, 100), true);
        SetLife(*typhon, 100.0f, 100.0f);
        typhon->SetLifeState(Character_LifeState::Alive);
        controller = Objects().CreateObject<TyphonProbe>();
        controller->AttachParent(typhon->GetObjectId());
        typhon->SetControllerId(controller->GetObjectId());
        for (int god = 0; god < ControllerTyphon::kGodCount; ++god)
            controller->SetTransferSkill(god, kTransfer[god]);
        controller->InitialUpdate();
    }
    ~TyphonBoss() override { ShutdownObjects(); }

    static ObjectManager& Objects() { return Singleton<ObjectManager>::Get(); }
    WorldCoords At(float x, float z) const {
        return WorldCoords(region, Coords::FromOrigin(Vec3(x, 0, z)));
    }
    TyphonStatue* Statue(const char* god, float x, float z) {
        auto* statue = Objects().CreateObjectFromFile<TyphonStatue>(std::string("Records/Boss/") +
                                                                    god + ".dbr");
        EXPECT_NE(statue, nullptr);
        World::Get().AddEntity(statue, At(x, z), true);
        SetLife(*statue, 50.0f, 50.0f);
        statue->SetLifeState(Character_LifeState::Alive);
        return statue;
    }

    TestMachine tm;
    Region* region = nullptr;
    Typhon* typhon = nullptr;
    TyphonProbe* controller = nullptr;
};

TEST_F(TyphonBoss, StatuesAreSoughtWithTheirOwnGodsTransferSkillWhateverTheirPlaceInTheList) {
    EXPECT_FALSE(controller->SelectStatue()) << "no statue stands";
    Statue("apollo", 700, 100);  // beyond 500
    TyphonStatue* fallen = Statue("zeus", 110, 100);
    fallen->SetLifeState(Character_LifeState::Dead);
    EXPECT_FALSE(controller->SelectStatue());
    // Five standing statues: the fifth (list place 4) has no transfer skill of its own place.
    std::map<std::uint32_t, int> godOf;
    for (const auto& [god, index] :
         {std::pair{"apollo", 3}, {"hades", 2}, {"zeus", 0}, {"demeter", 1}, {"hades", 2}})
        godOf[Statue(god, 120.0f + 10.0f * static_cast<float>(godOf.size()), 120)->GetObjectId()] =
            index;
    crt_srand(7);
    std::map<std::uint32_t, int> chosen;
    for (int i = 0; i < 60; ++i) {
        ASSERT_TRUE(controller->SelectStatue());
        const auto [statue, skill] = controller->pursuit->begun.back();
        ASSERT_TRUE(godOf.contains(statue)) << "the statue beyond reach is never sought";
        EXPECT_NE(statue, fallen->GetObjectId());
        EXPECT_EQ(skill, kTransfer[godOf[statue]]);
        EXPECT_EQ(controller->GetMostHatedEnemy(), statue);
        ++chosen[statue];
    }
    EXPECT_EQ(chosen.size(), 5u) << "every standing statue in reach comes up";
}

TEST_F(TyphonBoss, ALoneStatueIsChosenEveryTime) {
    TyphonStatue* only = Statue("hades", 130, 100);
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(controller->SelectStatue());
        EXPECT_EQ(controller->pursuit->begun.back().first, only->GetObjectId());
        EXPECT_EQ(controller->GetLastStatueIndex(), 0);
    }
}

TEST_F(TyphonBoss, AStruckStatueLendsItsGodsAttacksUntilItFalls) {
    ControllerTyphon::GodAttack thunder{201, 0, 4000, 60, SkillUseRange::LongRange};
    controller->SetGodSpecialAttack1(0, thunder);
    controller->SetGodSpecialAttack2(0, thunder);
    // slot 3 of zeus stays empty
    TyphonStatue* zeus = Statue("zeus", 110, 100);
    TyphonStatue* hades = Statue("hades", 90, 100);

    zeus->UnderAttack(hades->GetObjectId());
    EXPECT_EQ(controller->GetCurrentGod(), ControllerTyphon::kNoGod) << "only Typhon's blow lends";
    zeus->UnderAttack(typhon->GetObjectId());
    EXPECT_EQ(controller->GetCurrentGod(), 0);
    EXPECT_EQ(controller->GetSpecialAttack(0).skillId, 201u);
    EXPECT_EQ(controller->GetSpecialAttack(1).skillId, 201u);
    EXPECT_EQ(controller->GetSpecialAttack(2).skillId, 0u);

    hades->CharacterIsDying();
    EXPECT_EQ(controller->GetCurrentGod(), 0) << "another god's statue changes nothing";
    EXPECT_TRUE(controller->returning->begun.empty());
    zeus->CharacterIsDying();
    EXPECT_EQ(controller->GetCurrentGod(), ControllerTyphon::kNoGod);
    EXPECT_EQ(controller->GetSpecialAttack(0).skillId, 0u) << "Typhon's own attacks are back";
    EXPECT_EQ(controller->returning->begun.size(), 1u) << "and it goes back to the fight";
}

TEST_F(TyphonBoss, DisablingTheSkillEffectsTouchesOnlyATyphon) {
    typhon->Enqueue(std::make_unique<DisableTyphonSkillEffectsConfigCmd>(typhon->GetObjectId()));
    TyphonStatue* statue = Statue("zeus", 110, 100);
    statue->Enqueue(std::make_unique<DisableTyphonSkillEffectsConfigCmd>(statue->GetObjectId()));
    EXPECT_EQ(tm.CountLog("Typhon::DisableSkillEffects"), 0) << "no longer a seam";
}

TEST_F(TyphonBoss, ItsDeathRecordsTheDifficultyCompletedAndSaves) {
    struct Case {
        int difficulty;
        std::uint32_t stored;  // 3: none yet
        std::uint32_t expectedStored;
        bool unlocked;
        std::vector<std::string> calls;
    };
    const Case cases[] = {
        {0, 3, 1, true, {"boss death", "autosave", "save 1"}},
        {1, 0, 2, true, {"boss death", "autosave", "save 2"}},
        {2, 1, 2, false, {"boss death", "autosave", "save 2"}},
        {0, 1, 1, false, {"boss death", "autosave"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.difficulty);
        auto* player = Objects().CreateObject<Player>();
        gGameEngine->GetPlayerManagerClient()->SetMainPlayer(player->GetObjectId());
        player->SetGreatestDifficultyCompleted(c.stored);
        gGameEngine->SetGameDifficulty(static_cast<GameDifficulty>(c.difficulty));
        gGameEngine->SetPlayerUnlockedLevel(false);
        gGameEngine->SetAutoSave(true);
        SavingUI ui;
        gGameEngine->SetUI(&ui);
        auto* boss = Objects().CreateObject<Typhon>();
        World::Get().AddEntity(boss, At(300, 300), true);
        boss->ImDying();
        EXPECT_EQ(ui.calls, c.calls);
        EXPECT_EQ(player->GetGreatestDifficultyCompleted(), c.expectedStored);
        EXPECT_EQ(gGameEngine->GetPlayerUnlockedLevel(), c.unlocked);
        ActivityManager::Get()->Clear();
        gGameEngine->SetUI(nullptr);
    }
}

}  // namespace typhonboss
}  // namespace GAME::test
