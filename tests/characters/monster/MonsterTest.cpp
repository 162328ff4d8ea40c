// A monster on one machine: joining and leaving leaders, its pet banners, the look its id picks,
// its caps and stun, its controller, and its saved state.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <tuple>

#include "../CharacterTestSupport.h"
#include "../PlayerTestSupport.h"
#include "Engine/Engine.h"
#include "Engine/media/graphics/GraphicsMeshInstance.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/records/RecordDatabase.h"
#include "Engine/streams/BinaryStream.h"
#include "Engine/sys/RandomUniform.h"
#include "Engine/text/LocalizationManager.h"
#include "Engine/world/World.h"
#include "Game/ai/monster/ControllerMonster.h"
#include "Game/characters/monster/Guard.h"
#include "Game/characters/monster/Monster.h"
#include "Game/core/GameEngine.h"
#include "Game/core/players/PlayerManagerClient.h"
#include "Game/rules/combat/ParametersCombat.h"
#include "Game/skills/debuff/Skill_AttackBuff.h"
#include "Game/skills/projectile/Skill_AttackProjectileRing.h"
#include "Game/skills/projectile/Skill_AttackProjectileSpawnPet.h"
#include "Game/skills/radius/Skill_AttackRadius.h"
#include "Game/skills/spawn/Skill_DefensiveWall.h"
#include "Game/skills/spawn/Skill_SpawnPet.h"
#include "Game/skills/weapon/Skill_AttackInherent.h"
#include "support/CharacterSetUp.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

constexpr const char* kCyclops = "Records/Monsters/Cyclops.dbr";
constexpr const char* kBanner = "Records/Monsters/Banner.dbr";

ObjectManager& Objects() {
    return Singleton<ObjectManager>::Get();
}

class MonsterTest : public ::testing::Test {
protected:
    MonsterTest() { InitializeObjects(); }
    ~MonsterTest() override { ShutdownObjects(); }

    Monster* Make(const char* record, std::uint32_t id = 0) {
        auto* monster = Objects().CreateObjectFromFile<Monster>(record, id);
        if (monster)
            monster->InitialUpdate();
        return monster;
    }
    void Frame(Monster& monster, int ms) {
        gEngine->AdvanceGameTime(static_cast<std::uint32_t>(ms));
        monster.UpdateSelf(ms);
    }

    TestMachine machine;
    const Team red = TeamManager::BuildTeam(Team::Monster, Team::Red);
    const Team blue = TeamManager::BuildTeam(Team::Monster, Team::Blue);
};

TEST_F(MonsterTest, JoinAndUnjoinKeepTheOriginalTeam) {
    Monster* wolf = Make(kWolfRecord);
    Monster* chief = Make(kCyclops);
    Monster* other = Make(kCyclops);
    ASSERT_TRUE(wolf && chief && other);
    wolf->SetTeam(red);
    chief->SetTeam(blue);
    other->SetTeam(TeamManager::BuildTeam(Team::Monster, Team::Green));

    // A permanent join; the same leader again is refused, so the saved team stays the wolf's.
    wolf->JoinMe(chief->GetObjectId(), -1, true);
    EXPECT_EQ(wolf->Character::GetTeam(), blue);
    EXPECT_EQ(wolf->GetLeaderId(), chief->GetObjectId());
    EXPECT_NE(wolf->GetShownBannerId(), 0u);
    wolf->JoinMe(chief->GetObjectId(), -1, true);
    EXPECT_EQ(machine.CountLog("has already joined."), 1);
    EXPECT_EQ(wolf->GetSavedTeam(), red);

    // The leader dies: the follower goes back to its own team, and its banner goes.
    const std::uint32_t banner = wolf->GetShownBannerId();
    Frame(*wolf, 100);
    EXPECT_EQ(wolf->GetLeaderId(), chief->GetObjectId());
    chief->SetLifeState(Character_LifeState::Dead);
    Frame(*wolf, 100);
    EXPECT_EQ(wolf->GetLeaderId(), 0u);
    EXPECT_EQ(wolf->Character::GetTeam(), red);
    EXPECT_EQ(wolf->GetShownBannerId(), 0u);
    EXPECT_EQ(Objects().GetObject(banner), nullptr);

    // A dead leader leads nobody.
    wolf->JoinMe(chief->GetObjectId(), -1, false);
    EXPECT_EQ(machine.CountLog("Monster::JoinMe() called by invalid target"), 1);
    EXPECT_EQ(wolf->GetLeaderId(), 0u);

    // A timed join ends with its time, and a new join is taken again.
    wolf->JoinMe(other->GetObjectId(), 250, false);
    EXPECT_EQ(wolf->Character::GetTeam(), other->Character::GetTeam());
    Frame(*wolf, 200);
    EXPECT_EQ(wolf->GetLeaderId(), other->GetObjectId());
    Frame(*wolf, 50);
    EXPECT_EQ(wolf->GetLeaderId(), 0u);
    EXPECT_EQ(wolf->Character::GetTeam(), red);
    EXPECT_EQ(wolf->GetJoinTimeLeft(), -1);

    // A follower is converted for a while by another leader, then returns to the first; a
    // second conversion while one runs is refused.
    Monster* charmer = Make(kCyclops);
    ASSERT_NE(charmer, nullptr);
    charmer->SetTeam(blue);
    wolf->JoinMe(other->GetObjectId(), -1, false);
    wolf->JoinMe(charmer->GetObjectId(), 300, false);
    EXPECT_EQ(wolf->GetLeaderId(), charmer->GetObjectId());
    EXPECT_EQ(wolf->Character::GetTeam(), blue);
    wolf->JoinMe(other->GetObjectId(), 300, false);
    EXPECT_EQ(machine.CountLog("has already joined."), 2);
    Frame(*wolf, 300);
    EXPECT_EQ(wolf->GetLeaderId(), other->GetObjectId());
    EXPECT_EQ(wolf->Character::GetTeam(), other->Character::GetTeam());

    // Something that is not a character leads nobody.
    auto* prop = Objects().CreateObjectFromFile<Actor>(kBanner);
    ASSERT_NE(prop, nullptr);
    wolf->JoinMe(prop->GetObjectId(), -1, false);
    EXPECT_EQ(machine.CountLog("Monster::JoinMe() called by invalid target"), 2);
    EXPECT_EQ(wolf->GetLeaderId(), other->GetObjectId());
}

TEST_F(MonsterTest, APlayersPetIsRegisteredOnlyWhenTheJoinIsTaken) {
    Player* hero = MakePlayer();
    Monster* pet = Make(kWolfRecord);
    Monster* follower = Make(kWolfRecord);
    Monster* chief = Make(kCyclops);
    ASSERT_TRUE(hero && pet && follower && chief);
    gGameEngine->GetPlayerManagerClient()->SetMainPlayer(hero->GetObjectId());

    // A follower of another leader switches to the player, and becomes its pet.
    follower->JoinMe(chief->GetObjectId(), -1, false);
    follower->JoinMe(hero->GetObjectId(), -1, true);
    EXPECT_TRUE(gGameEngine->IsLocalPet(follower->GetObjectId()));
    EXPECT_EQ(follower->GetLeaderId(), hero->GetObjectId());
    // A join the timed conversion refuses registers no pet.
    Monster* charmed = Make(kWolfRecord);
    ASSERT_NE(charmed, nullptr);
    charmed->JoinMe(chief->GetObjectId(), 5000, false);
    charmed->JoinMe(hero->GetObjectId(), -1, true);
    EXPECT_FALSE(gGameEngine->IsLocalPet(charmed->GetObjectId()));

    pet->JoinMe(hero->GetObjectId(), -1, true);
    EXPECT_TRUE(gGameEngine->IsLocalPet(pet->GetObjectId()));
    EXPECT_TRUE(pet->IsLeaderPlayer());
    EXPECT_TRUE(pet->IsRegisteredForForcedUpdates());
    EXPECT_EQ(pet->Character::GetTeam().GetTeamMajor(), Team::Human);
    EXPECT_NE(pet->GetConvertBannerId(), 0u);

    // A permanent pet does not outlive its player: it dies and leaves the pet list.
    hero->SetLifeState(Character_LifeState::Dead);
    Frame(*pet, 100);
    EXPECT_FALSE(pet->IsAlive());
    pet->CharacterIsDying();
    EXPECT_FALSE(gGameEngine->IsLocalPet(pet->GetObjectId()));
    EXPECT_EQ(pet->GetConvertBannerId(), 0u);
    EXPECT_FALSE(pet->IsRegisteredForForcedUpdates());
}

TEST_F(MonsterTest, OnlyAPlayersKillCountsInItsPlayStatistics) {
    Player* hero = MakePlayer();
    Monster* prey = Make(kWolfRecord);
    Monster* rival = Make(kWolfRecord);
    Monster* bystander = Make(kWolfRecord);
    ASSERT_TRUE(hero && prey && rival && bystander);
    prey->GetExperienceLevelControl().SetExperiencePoints(40);
    rival->GetExperienceLevelControl().SetExperiencePoints(25);
    RandomUniform random;
    random.Seed(5);
    auto strike = [&random](Monster& target, std::uint32_t attacker) {
        ParametersCombat attack(random);
        attack.attackerId = attacker;
        target.TakeAttack(attack);
    };

    // The prey took two hits, the last from the player: one kill, its reward and its hits.
    strike(*prey, bystander->GetObjectId());
    strike(*prey, hero->GetObjectId());
    const std::uint32_t reward = prey->GetExperienceReward();
    ASSERT_GT(reward, 0u);
    prey->ImDead();
    float value = 0.0f;
    EXPECT_EQ(hero->GetPlayStats().GetKills(), 1u);
    ASSERT_TRUE(hero->GetPlayStats().GetDesignerVariable("experienceFromKills", value));
    EXPECT_EQ(value, static_cast<float>(reward));
    EXPECT_EQ(machine.CountLog("Player::ContactWithObject"), 0);

    // A monster's kill is no player's, even after the player struck earlier.
    strike(*rival, hero->GetObjectId());
    strike(*rival, bystander->GetObjectId());
    rival->ImDead();
    EXPECT_EQ(hero->GetPlayStats().GetKills(), 1u);
    ASSERT_TRUE(hero->GetPlayStats().GetDesignerVariable("experienceFromKills", value));
    EXPECT_EQ(value, static_cast<float>(reward));
}

TEST_F(MonsterTest, ItsShownNameIsItsColourAndItsTextWithoutBreaksOrLeadingBlanks) {
    LocalizationManager& texts = LocalizationManager::Instance();
    texts.SetText("SimpleStringFormat", L"%s");
    texts.SetText("tagOldTusk", L"Old Tusk");
    texts.SetText("tagGreyWolf", L" \n  Grey^NWolf ");
    // Leading blanks go (trailing ones stay), with every line break.
    for (const auto& [kind, tag, shown] : {std::tuple{"Boss", "tagOldTusk", L"{^R}Old Tusk"},
                                           std::tuple{"Common", "tagGreyWolf", L"GreyWolf "}}) {
        const std::string record = std::string("Records/Monsters/") + kind + ".dbr";
        ASSERT_TRUE(Singleton<RecordDatabase>::Get().AddRecordText(
            record, std::string(R"({"Class": "Monster", "characterLife": 50, "charLevel": [3],)") +
                        R"("monsterClassification": ")" + kind + R"(", "description": ")" + tag +
                        "\"}"));
        const Monster* monster = Make(record.c_str());
        ASSERT_NE(monster, nullptr);
        EXPECT_EQ(monster->GetGameDescription(false), shown) << tag;
    }
    // The greatest monster a player killed keeps that name.
    Player* hero = MakePlayer();
    Monster* tusk = Make("Records/Monsters/Boss.dbr");
    ASSERT_TRUE(hero && tusk);
    RandomUniform random;
    random.Seed(5);
    ParametersCombat attack(random);
    attack.attackerId = hero->GetObjectId();
    tusk->TakeAttack(attack);
    tusk->CharacterIsDying();
    EXPECT_EQ(hero->GetPlayStats().GetGreatestMonsterKilledName(), L"{^R}Old Tusk");
}

TEST_F(MonsterTest, OneRecordsMonstersHoldOneCopyOfEachRecordText) {
    ASSERT_TRUE(Singleton<RecordDatabase>::Get().AddRecordText("Records/Monsters/Texts.dbr", R"({
        "Class": "Monster", "characterLife": 50, "deleteBehavior": "Fade",
        "deathEffect": "Records/Effects/TheLongNameOfADeathEffect.dbr",
        "portraitName": "Portraits/Texts.tex", "goldGenerator": ""})"));
    const Monster* a = Make("Records/Monsters/Texts.dbr");
    const Monster* b = Make("Records/Monsters/Texts.dbr");
    ASSERT_TRUE(a && b);
    using Getter = const std::string& (Character::*)() const;
    const struct {
        Getter get;
        const char* text;
    } rows[] = {
        {&Character::GetDeleteBehavior, "Fade"},
        {&Character::GetDeathEffect, "Records/Effects/TheLongNameOfADeathEffect.dbr"},
        {&Character::GetPortraitName, "Portraits/Texts.tex"},
        {&Character::GetGoldGenerator, ""},
        {&Character::GetDissolveEffect, ""},
    };
    for (const auto& row : rows) {
        EXPECT_EQ((a->*row.get)(), row.text);
        EXPECT_EQ(&(a->*row.get)(), &(b->*row.get)()) << row.text;
    }
    EXPECT_EQ(a->GetObjectName(), "Records/Monsters/Texts.dbr");
    EXPECT_EQ(&a->GetObjectName(), &b->GetObjectName());
}

TEST_F(MonsterTest, BannersShowByPriorityAndAllGoWithTheMonster) {
    Monster* wolf = Make(kWolfRecord);
    ASSERT_NE(wolf, nullptr);
    wolf->SetScale(2.0f);
    wolf->SetBaseBanner(kBanner);
    const std::uint32_t base = wolf->GetBaseBannerId();
    EXPECT_EQ(wolf->GetShownBannerId(), base);
    EXPECT_FLOAT_EQ(Objects().GetObject<Actor>(base)->GetScale(), 0.5f);
    wolf->SetConvertBanner(kBanner);
    const std::uint32_t convert = wolf->GetConvertBannerId();
    EXPECT_EQ(wolf->GetShownBannerId(), convert);
    EXPECT_EQ(Objects().GetObject<Actor>(base)->GetAttachParentId(), 0u);
    EXPECT_EQ(Objects().GetObject<Actor>(convert)->GetAttachParentId(), wolf->GetObjectId());

    // Removing the shown convert banner brings the base banner back.
    wolf->RemoveConvertBanner();
    EXPECT_EQ(Objects().GetObject(convert), nullptr);
    EXPECT_EQ(wolf->GetShownBannerId(), base);
    wolf->SetControlBanner(kBanner);
    const std::uint32_t control = wolf->GetControlBannerId();
    EXPECT_EQ(wolf->GetShownBannerId(), control);

    // The shown banner is destroyed with the monster as well as the hidden one.
    Objects().DestroyObject(wolf);
    EXPECT_EQ(Objects().GetObject(control), nullptr);
    EXPECT_EQ(Objects().GetObject(base), nullptr);
}

TEST_F(MonsterTest, TheObjectIdPicksTheLook) {
    // Three meshes and two base textures: id 5 shows mesh 2 and no base texture from the list.
    Monster* five = Make(kWolfRecord, 5);
    Monster* seven = Make(kWolfRecord, 7);
    ASSERT_TRUE(five && seven);
    EXPECT_EQ(five->GetMeshInstance().GetMesh(), "Meshes/WolfC.msh");
    EXPECT_EQ(five->GetMeshInstance().GetBaseTexture(), "");
    EXPECT_EQ(seven->GetMeshInstance().GetMesh(), "Meshes/WolfB.msh");
    EXPECT_EQ(seven->GetMeshInstance().GetBaseTexture(), "Textures/WolfB.tex");
}

TEST_F(MonsterTest, CapsComeFromTheClassificationsKeysAndStunNeverDividesByZero) {
    Monster* wolf = Make(kWolfRecord);
    Monster* cyclops = Make(kCyclops);
    ASSERT_TRUE(wolf && cyclops);
    EXPECT_EQ(cyclops->GetClassification(), MonsterClassification_Boss);
    EXPECT_TRUE(cyclops->IsHeroOrBossLoot());
    EXPECT_FALSE(wolf->IsHeroOrBossLoot());
    // Boss keys: 50 % to 120 % of the base run speed 100.
    EXPECT_FLOAT_EQ(cyclops->CapRunSpeed(200.0f), 120.0f);
    EXPECT_FLOAT_EQ(cyclops->CapRunSpeed(10.0f), 50.0f);
    // Champion keys: a minimum of 0 leaves the speed alone.
    EXPECT_FLOAT_EQ(wolf->CapRunSpeed(200.0f), 200.0f);
    // No caps named for attack speed at all.
    EXPECT_FLOAT_EQ(cyclops->CapAttackSpeed(999.0f), 999.0f);
    EXPECT_FLOAT_EQ(wolf->GetDefenseAttributeCap(), 75.0f);

    EXPECT_EQ(wolf->CalculateStun(50.0f, 0.0f, 0.0f, 10.0f), 0.0f);
    EXPECT_EQ(wolf->CalculateStun(0.0f, 0.0f, 0.0f, -10.0f), 0.0f);
    // 50 % of the life, reduced by nothing: above the 10 + 5 threshold, not above 45 + 5.
    EXPECT_FLOAT_EQ(wolf->CalculateStun(50.0f, 100.0f, 0.0f, 10.0f), 1001.5f);
    EXPECT_EQ(wolf->CalculateStun(50.0f, 100.0f, 0.0f, 45.0f), 0.0f);
}

// The caps are kept per kind and difficulty: a change of difficulty between calls, back and
// forth, reads each difficulty's own entry of the settings' arrays, and past the kept ones too.
TEST_F(MonsterTest, CapsFollowTheDifficultyFromCallToCall) {
    Monster* wolf = Make(kWolfRecord);
    Monster* cyclops = Make(kCyclops);
    ASSERT_TRUE(wolf && cyclops && gGameEngine);
    const struct {
        int difficulty;
        float defense;  // the settings' monsterDefenseCap entry; none past the third
        float bossRun;  // the boss run cap (one entry: the first difficulty only)
    } cases[] = {
        {0, 75.0f, 120.0f}, {2, 85.0f, 200.0f}, {1, 80.0f, 200.0f},
        {0, 75.0f, 120.0f}, {4, 0.0f, 200.0f},  {2, 85.0f, 200.0f},
    };
    const int before = gGameEngine->GetGameDifficulty();
    for (const auto& c : cases) {
        gGameEngine->SetGameDifficulty(c.difficulty);
        EXPECT_FLOAT_EQ(wolf->GetDefenseAttributeCap(), c.defense) << c.difficulty;
        EXPECT_FLOAT_EQ(cyclops->GetDefenseAttributeCap(), c.defense) << c.difficulty;
        EXPECT_FLOAT_EQ(cyclops->CapRunSpeed(200.0f), c.bossRun) << c.difficulty;
    }
    gGameEngine->SetGameDifficulty(before);
}

TEST_F(MonsterTest, TheRecordHandsItsSkillsToTheController) {
    Monster* wolf = Make(kWolfRecord);
    ASSERT_NE(wolf, nullptr);
    ControllerMonster* brain = wolf->GetMonsterController();
    ASSERT_NE(brain, nullptr);
    EXPECT_EQ(brain->GetParentId(), wolf->GetObjectId());
    const std::uint32_t bite = wolf->GetSkillManager().FindSkillId("Records/Monsters/Bite.dbr");
    ASSERT_NE(bite, 0u);
    EXPECT_EQ(brain->GetNormalSkillId(), bite);
    // A special attack naming a skill the monster lacks is passed over.
    std::uint32_t special = 1;
    int timeout = 0, delay = 0, chance = 0;
    SkillUseRange range{};
    brain->GetSpecialAttackSkillInfo(special, timeout, delay, chance, range);
    EXPECT_EQ(special, 0u);

    // Taking the brain out leaves a monster with a stub; putting it back makes the monster its
    // parent again, and the stub goes (nothing else holds it).
    EXPECT_EQ(wolf->Lobotomize(), brain);
    EXPECT_EQ(wolf->GetMonsterController(), nullptr);
    const std::uint32_t stub = wolf->GetControllerId();
    EXPECT_NE(Singleton<ObjectManager>::Get().GetObject(stub), nullptr);
    EXPECT_EQ(wolf->Lobotomize(), nullptr);
    brain->SetParentId(0);
    wolf->BrainTransplant(brain);
    EXPECT_EQ(wolf->GetMonsterController(), brain);
    EXPECT_EQ(brain->GetParentId(), wolf->GetObjectId());
    EXPECT_EQ(Singleton<ObjectManager>::Get().GetObject(stub), nullptr);
}

TEST_F(MonsterTest, EveryKindOfCharacterTakesItsControllerWithItWhenDestroyed) {
    struct Case {
        const char* kind;
        std::function<Character*()> make;
    };
    const Case cases[] = {
        {"monster", [&] { return Make(kWolfRecord); }},
        {"controlling player",
         [] {
             Player* hero = MakePlayer();
             if (hero)
                 hero->SetIsControllingCharacter(true);
             return hero;
         }},
        {"other player", [] { return MakePlayer(); }},
        {"character",
         [] {
             auto* pet = Objects().CreateObject<Character>();
             auto* mind = Objects().CreateObject<ControllerCombat>();
             mind->AttachParent(pet->GetObjectId());
             pet->SetControllerId(mind->GetObjectId());
             return pet;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        Character* body = c.make();
        ASSERT_NE(body, nullptr);
        const std::uint32_t mind = body->GetControllerId();
        ASSERT_NE(Objects().GetObject(mind), nullptr);
        Objects().DestroyObject(body);
        EXPECT_EQ(Objects().GetObject(mind), nullptr);
    }
}

TEST_F(MonsterTest, SavedStateRoundTripsInItsBinaryOrder) {
    Monster* chief = Make(kCyclops);
    Monster* wolf = Make(kWolfRecord);
    ASSERT_TRUE(chief && wolf);
    chief->SetTeam(blue);
    wolf->SetTeam(red);
    wolf->JoinMe(chief->GetObjectId(), -1, false);
    LootStruct loot;
    loot.lootSeed = 0x1234;
    loot.lootLevel = 17;
    test::CharacterTestAccess::SetLootStruct(*wolf, loot);
    wolf->SetProxyParent("Records/Proxies/WolfPack.dbr");
    wolf->SetProxyNumSiblings(6);
    wolf->SetPoppedOut(true);
    ItemReplicaInfo pelt = wolf->GetDropPerPartyMemberItem();
    pelt.seed = 99;
    wolf->SetDropPerPartyMemberItem(pelt);

    BinaryWriter writer;
    wolf->SaveState(writer);
    const std::vector<std::uint8_t> bytes = writer.GetBuffer();
    // After the entity's visibility: life state, the two 16-bit seeds, the leader id.
    BinaryReader peek(bytes);
    std::uint32_t visible = 0, life = 0, leader = 0;
    std::uint16_t seed = 0, level = 0;
    ASSERT_TRUE(peek.ReadUInt32(visible) && peek.ReadUInt32(life) && peek.ReadUInt16(seed) &&
                peek.ReadUInt16(level) && peek.ReadUInt32(leader));
    EXPECT_EQ(life, static_cast<std::uint32_t>(wolf->GetLifeState()));
    EXPECT_EQ(seed, 0x1234);
    EXPECT_EQ(level, 17);
    EXPECT_EQ(leader, chief->GetObjectId());

    Monster* restored = Make(kWolfRecord);
    ASSERT_NE(restored, nullptr);
    restored->SetTeam(red);
    EXPECT_TRUE(restored->ShouldLoadLoot());
    BinaryReader reader(bytes);
    restored->RestoreState(reader);
    EXPECT_EQ(reader.GetRemaining(), 0u);
    EXPECT_TRUE(restored->IsRestored());
    EXPECT_FALSE(restored->ShouldLoadLoot());
    EXPECT_EQ(restored->GetLootStruct().lootSeed, 0x1234);
    EXPECT_EQ(restored->GetLootStruct().lootLevel, 17);
    EXPECT_EQ(restored->GetLeaderId(), chief->GetObjectId());
    EXPECT_EQ(restored->Character::GetTeam(), blue);
    EXPECT_EQ(restored->GetSavedTeam(), red);
    EXPECT_EQ(restored->GetProxyParent(), "Records/Proxies/WolfPack.dbr");
    EXPECT_EQ(restored->GetProxyNumSiblings(), 6u);
    EXPECT_TRUE(restored->GetPoppedOut());
    EXPECT_EQ(restored->GetDropPerPartyMemberItem(), pelt);

    // A state cut anywhere is refused whole and leaves the monster as its record made it.
    for (std::size_t size = 4; size < bytes.size(); ++size) {
        Monster* cut = Make(kWolfRecord);
        BinaryReader shortReader(bytes.data(), size);
        cut->RestoreState(shortReader);
        EXPECT_FALSE(cut->IsRestored()) << size;
        EXPECT_EQ(cut->GetLeaderId(), 0u) << size;
        EXPECT_TRUE(cut->GetProxyParent().empty()) << size;
        Objects().DestroyObject(cut);
    }
}

}  // namespace
}  // namespace GAME::test

namespace GAME::test {
namespace {

TEST(SampleMonsters, TheSampleLevelPlacesTwoBitersASpiritCasterAndASummoner) {
    TestMachine tm(TestMachine::SampleDataDir());
    InitializeObjects();
    ASSERT_TRUE(World::Get().LoadLevel("Levels/Sample/Sample.level"));
    std::map<std::string, ControllerMonster*> brains;
    for (std::uint32_t id : Objects().GetObjectIds())
        // Placed ones only: the casters' pet skills keep a pet (or wall) of their own out of the
        // world. The meadow's gate guard is no monster of the cave.
        if (auto* monster = Objects().GetObject<Monster>(id);
            monster && monster->IsInWorld() && !monster->IsA<Guard>()) {
            monster->InitialUpdate();
            brains[monster->GetObjectName()] = monster->GetMonsterController();
        }
    ASSERT_EQ(brains.size(), 4u);
    for (const auto& [name, brain] : brains)
        ASSERT_NE(brain, nullptr) << name;

    // The two biters attack with skills of their own body, not with a weapon.
    for (const char* biter : {"Records/Creatures/Boar.dbr", "Records/Creatures/Wolf.dbr"}) {
        const std::uint32_t attack = brains.at(biter)->GetNormalSkillId();
        EXPECT_NE(Objects().GetObject<Skill_AttackInherent>(attack), nullptr) << biter;
    }
    EXPECT_NE(brains.at("Records/Creatures/Wolf.dbr")->GetSpecialAttackSkillId(), 0u);
    // The caster buffs and heals, and strikes only with its spirit spells.
    const ControllerMonster* shaman = brains.at("Records/Creatures/Shaman.dbr");
    EXPECT_EQ(shaman->GetNormalSkillId(), 0u);
    EXPECT_NE(Objects().GetObject<Skill_AttackProjectileFan>(shaman->GetSpecialAttackSkillId()),
              nullptr);
    EXPECT_NE(Objects().GetObject<Skill_AttackBuff>(shaman->GetSpecialAttack2SkillId()), nullptr);
    EXPECT_NE(
        Objects().GetObject<Skill_AttackProjectileSpawnPet>(shaman->GetSpecialAttack3SkillId()),
        nullptr);
    EXPECT_NE(shaman->GetBuffSelfSkillId(), 0u);
    EXPECT_NE(shaman->GetHealSkillId(), 0u);
    EXPECT_EQ(shaman->GetHealDelay(), 4000);
    // The summoner swings a weapon pool and has its summons, wave and walls as special attacks.
    const ControllerMonster* caller = brains.at("Records/Creatures/Beastcaller.dbr");
    EXPECT_NE(Objects().GetObject<SkillActivatedWeaponPool>(caller->GetNormalSkillId()), nullptr);
    EXPECT_NE(Objects().GetObject<Skill_SpawnPetMonster>(caller->GetSpecialAttackSkillId()),
              nullptr);
    EXPECT_NE(Objects().GetObject<Skill_AttackRadius>(caller->GetSpecialAttack2SkillId()), nullptr);
    EXPECT_NE(Objects().GetObject<Skill_DefensiveWall>(caller->GetSpecialAttack3SkillId()),
              nullptr);
    EXPECT_EQ(tm.CountLog("Unable to create skill"), 0);
    ShutdownObjects();
}

}  // namespace
}  // namespace GAME::test
