#include "ai/monster/states/MonsterStateScene.h"

#include "Engine/sys/Machine.h"
#include "Game/core/players/Team.h"
#include "support/CharacterSetUp.h"

namespace GAME::test {

RTTI_IMPLEMENT(StateSceneController, ControllerMonster)
RTTI_IMPLEMENT(ActivationWitnessSkill, SkillActivated)

namespace {

void Write(const std::filesystem::path& file, const char* text) {
    std::ofstream(file) << text;
}

}  // namespace

MonsterStateScene::MonsterStateScene() {
    static int counter = 0;
    namespace fs = std::filesystem;
    root = fs::temp_directory_path() /
           ("monster_state_test_" + std::to_string(::getpid()) + "_" + std::to_string(counter++));
    fs::remove_all(root);
    fs::create_directories(root);
    const fs::path data = TestMachine::SampleDataDir();
    for (const char* folder : {"Levels", "Animations", "Records", "Text"})
        fs::copy(data / folder, root / folder, fs::copy_options::recursive);
    fs::remove(root / "Levels/Sample/Sample.navcache");
    fs::create_directories(root / "Records/AI");
    Write(root / "Records/AI/Walker.dbr",
          R"({"Class": "Monster", "controller": "Records/AI/WalkerBrain.dbr",
              "characterLife": 100, "charLevel": [5], "characterRunSpeed": 100,
              "unarmedWalkAnim": "Creatures/Anims/Human_Walk.anm",
              "unarmedRunAnim": "Creatures/Anims/Human_Run.anm",
              "unarmedStunAnim": "Creatures/Anims/Human_Stun.anm",
              "skillName1": "Records/AI/Blast.dbr", "skillLevel1": 1,
              "skillName2": "Records/AI/LastGasp.dbr", "skillLevel2": 1})");
    Write(root / "Records/AI/Blast.dbr", R"({"Class": "Skill", "skillMaxLevel": 5})");
    Write(root / "Records/AI/LastGasp.dbr",
          R"({"Class": "ActivationWitnessSkill", "skillMaxLevel": 1})");
    Write(root / "Records/AI/WalkerBrain.dbr",
          R"({"Class": "StateSceneController", "RoamBehavior": "Roam", "RoamDistance": 8.0,
              "MinRoamDistance": 2.0, "ChanceToIdleOnPatrol": 0, "FleeTime": 3000,
              "fleeDistance": 6.0, "ResetOriginAfterFleeing": true})");
    Write(root / "Records/AI/Foe.dbr", R"({"Class": "Character", "characterLife": 100})");
    tm = std::make_unique<TestMachine>(root.string());
}

MonsterStateScene::~MonsterStateScene() {
    tm.reset();
    std::error_code ec;
    std::filesystem::remove_all(root, ec);
}

void MonsterStateScene::SetUp() {
    InitializeObjects();
    ASSERT_TRUE(World::Get().LoadLevel("Levels/Sample/Sample.level"));
    meadow = World::Get().GetRegion("Meadow");
    ASSERT_NE(meadow, nullptr);
    monster = SpawnMonster(30, 30);
    ASSERT_NE(monster, nullptr);
}

void MonsterStateScene::TearDown() {
    ShutdownObjects();
}

WorldVec3 MonsterStateScene::At(float x, float z) const {
    WorldVec3 p(meadow, Vec3(x, 5, z));
    p.PutOnFloor();
    return p;
}

WorldVec3 MonsterStateScene::InCave() const {
    WorldVec3 p(World::Get().GetRegion("Cave"), Vec3(16, 5, 16));
    p.PutOnFloor();
    return p;
}

Monster* MonsterStateScene::SpawnMonster(float x, float z, const char* record, const char* mark) {
    auto* spawned = Singleton<ObjectManager>::Get().CreateObjectFromFile<Monster>(record);
    if (!spawned)
        return nullptr;
    const WorldCoords coords(meadow, Coords::FromOrigin(At(x, z).local));
    World::Get().AddEntity(spawned, coords, true);
    spawned->InitialUpdate();
    // Characters come into the world with no life until something heals them.
    test::SetLife(*spawned, 100.0f, 100.0f);
    spawned->SetTeam(TeamManager::DefaultMonsterTeam());
    spawned->SetSpawnPoint(coords);
    Ctl(spawned).mark = mark;
    Ctl(spawned).Update(0);
    return spawned;
}

Character* MonsterStateScene::SpawnFoe(float x, float z) {
    auto* foe =
        Singleton<ObjectManager>::Get().CreateObjectFromFile<Character>("Records/AI/Foe.dbr");
    World::Get().AddEntity(foe, WorldCoords(meadow, Coords::FromOrigin(At(x, z).local)), true);
    foe->InitialUpdate();
    test::SetLife(*foe, 100.0f, 100.0f);
    foe->SetTeam(TeamManager::BuildTeam(Team::Human, 0));
    return foe;
}

StateSceneController& MonsterStateScene::Ctl(const Monster* of) const {
    auto* controller =
        Singleton<ObjectManager>::Get().GetObject<StateSceneController>(of->GetControllerId());
    EXPECT_NE(controller, nullptr);
    return *controller;
}

Monster* MonsterStateScene::GiveLeader(Monster* follower, float x, float z) {
    Monster* leader = SpawnMonster(x, z);
    follower->JoinMe(leader->GetObjectId(), -1, false);
    return leader;
}

void MonsterStateScene::SeedNextRoll(int bound, bool below) {
    for (unsigned seed = 1;; ++seed) {
        crt_srand(seed);
        if ((crt_rand() % 100 < bound) == below) {
            crt_srand(seed);
            return;
        }
    }
}

}  // namespace GAME::test
