// The thin monster controller kinds: what their records give them, the hidden monster's ambush,
// the stationary monster's refusal to move and the stooge's answer to a hit and its loot.
#include <gtest/gtest.h>

#include "Engine/text/Name.h"
#include "Game/ai/controllers/CharacterController.h"
#include "Game/ai/monster/kinds/ControllerMonsterHidden.h"
#include "Game/ai/monster/kinds/ControllerStationaryMonster.h"
#include "Game/ai/monster/kinds/ControllerStooge.h"
#include "Game/characters/actions/AttackAction.h"
#include "Game/characters/actions/CharacterActionHandler.h"
#include "Game/items/Item.h"
#include "Game/skills/manager/SkillManager.h"
#include "ai/bosses/BossScene.h"

namespace GAME::test {
namespace {

class MonsterKinds : public BossScene {
protected:
    void SetUp() override {
        BossScene::SetUp();
        Record("Records/AI/LurkerBrain.dbr",
               R"({"Class": "ControllerMonsterHidden", "appearDistance": 4.0,
                   "ViewDistance": 6.0, "MaxPursuitDistance": 3.0})");
        Record("Records/AI/Lurker.dbr", CreatureRecord("Monster", "Records/AI/LurkerBrain.dbr"));
        Record("Records/AI/TurretBrain.dbr", R"({"Class": "ControllerStationaryMonster"})");
        Record("Records/AI/Turret.dbr", CreatureRecord("Monster", "Records/AI/TurretBrain.dbr"));
    }
    static const Name& End() {
        static const Name kEnd = Name::Create("End");
        return kEnd;
    }
};

TEST_F(MonsterKinds, HiddenMonsterAppearsOnlyForAFoeCloseToItself) {
    struct Case {
        const char* what;
        float monsterX;  // the monster may have wandered from its spawn point at x = 10
        float foeX;
        bool appears;
    };
    const Case cases[] = {
        {"a foe within the appear distance", 10, 13, true},
        {"a foe in sight but farther", 10, 15, false},
        {"a foe close to the spawn point, far from the monster", 16, 10.5f, false},
        {"a foe close to the monster, out of sight of the spawn point", 31, 34, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Monster* lurker = Place("Records/AI/Lurker.dbr", 10, 40, TeamManager::DefaultMonsterTeam());
        lurker->SetSpawnPoint(WorldCoords(meadow, Coords::FromOrigin(At(10, 40).local)));
        World::Get().SetCoords(lurker,
                               WorldCoords(meadow, Coords::FromOrigin(At(c.monsterX, 40).local)));
        Character* foe = SpawnFoe(c.foeX, 40);
        auto& brain = Brain<ControllerMonsterHidden>(lurker);
        ASSERT_EQ(StateOf(brain), "Startup");
        brain.Update(100);
        EXPECT_EQ(lurker->GetPoppedOut(), c.appears);
        if (!c.appears) {
            brain.HandleEvent(End());  // the long idle's end does not reveal it
            EXPECT_EQ(StateOf(brain), "Startup");
        } else {
            brain.HandleEvent(End());
            EXPECT_EQ(StateOf(brain), "Pursue");
            EXPECT_EQ(brain.GetCurrentEnemy(), foe->GetObjectId());
            EXPECT_FLOAT_EQ(brain.GetAngerManager().GetAnger(foe->GetObjectId()), 100.0f);
        }
        // Once out (a restored game), it starts in plain sight.
        brain.SetState("Startup", ControllerAIStateData());
        EXPECT_EQ(StateOf(brain), c.appears ? "Idle" : "Startup");
        Kill(foe);
        Kill(lurker);
        World::Get().RemoveEntity(foe);
        World::Get().RemoveEntity(lurker);
    }
}

TEST_F(MonsterKinds, StationaryMonsterNeverMovesAndAttacksOnlyWhatIsInReach) {
    Monster* turret = Place("Records/AI/Turret.dbr", 10, 10, TeamManager::DefaultMonsterTeam());
    auto& brain = Brain<ControllerStationaryMonster>(turret);
    EXPECT_FALSE(brain.CanMove());
    Character* far = SpawnFoe(18, 10);
    brain.SetState("Pursue", ControllerAIStateData({.enemy = far->GetObjectId(),
                                                    .skill = brain.GetDefaultSkillId()}));
    EXPECT_EQ(StateOf(brain), "Idle");
    // Every order that would move it is answered by resting; the monster's other states are
    // unknown to it.
    tm->ClearLog();
    for (const AIStateKey order : {AIStateId::Flee, AIStateId::Return, AIStateId::FollowLeader,
                                   AIStateId::DefendLeader, AIStateId::Move}) {
        brain.SetState(order, ControllerAIStateData());
        EXPECT_EQ(StateOf(brain), "Idle") << order.GetName();
    }
    EXPECT_EQ(tm->CountLog("but not found"), 0);
    brain.SetState("Roam", ControllerAIStateData());
    EXPECT_EQ(StateOf(brain), "Idle");
    EXPECT_EQ(tm->CountLog("State Roam is trying to be set, but not found."), 1);
}

TEST_F(MonsterKinds, StoogeDropsTheMiscLootOfItsOwnKeys) {
    Record("Records/AI/Dummy.dbr",
           R"({"Class": "Character", "charLevel": [3],
               "chanceToEquipMisc2": 100.0,
               "lootMisc2Item1": "Records/Items/Potions/HealingDraught.dbr",
               "chanceToEquipMisc2Item1": 1,
               "chanceToEquipMisc1": 100.0})");
    auto* dummy =
        Singleton<ObjectManager>::Get().CreateObjectFromFile<Character>("Records/AI/Dummy.dbr");
    World::Get().AddEntity(dummy, WorldCoords(meadow, Coords::FromOrigin(At(10, 10).local)), true);
    std::vector<Entity*> before;
    World::Get().GetEntitiesInSphere(before, meadow, Sphere{At(10, 10).local, 4.0f});
    ControllerStooge::CreateDropMiscItems(*dummy);
    std::vector<Entity*> after;
    World::Get().GetEntitiesInSphere(after, meadow, Sphere{At(10, 10).local, 4.0f});
    // Items the sample level placed nearby are not the stooge's.
    int items = 0;
    for (Entity* entity : after)
        items += entity->IsA<Item>() ? 1 : 0;
    for (Entity* entity : before)
        items -= entity->IsA<Item>() ? 1 : 0;
    // Misc 1 has its chance but no loot keys; misc 2 names its potion.
    EXPECT_EQ(items, 1);
    EXPECT_EQ(after.size(), before.size() + 1);
}

TEST_F(MonsterKinds, AStruckStoogeUsesItsFirstSkillOnItselfWhateverHitIt) {
    // The ambient character's record makes its stooge brain; a stooge brain over a plain
    // character (no skill of note) does nothing.
    Record("Records/AI/Stooge.dbr",
           CreatureRecord("AmbientCharacter", "",
                          R"(, "controllerType": "Stooge", "skill1": "Records/AI/Blast.dbr")"));
    Record("Records/AI/Plain.dbr", CreatureRecord("Character", ""));
    const std::uint32_t attacker = SpawnFoe(14, 10)->GetObjectId();
    for (const bool ambient : {true, false}) {
        Character* stooge =
            Place<Character>(ambient ? "Records/AI/Stooge.dbr" : "Records/AI/Plain.dbr", 10, 10,
                             TeamManager::DefaultMonsterTeam());
        if (!ambient) {
            auto* brain = Singleton<ObjectManager>::Get().CreateObject<ControllerStooge>();
            brain->AttachParent(stooge->GetObjectId());
            stooge->SetControllerId(brain->GetObjectId());
        }
        ASSERT_NE(FindController<ControllerStooge>(*stooge), nullptr) << ambient;
        FindController<ControllerStooge>(*stooge)->UnderAttack(attacker);
        const auto* attack =
            dynamic_cast<const AttackAction*>(stooge->GetActionHandler().GetCurrentAction());
        ASSERT_EQ(attack != nullptr, ambient);
        if (!attack)
            continue;
        const SkillManager& skills = stooge->GetSkillManager();
        const std::uint32_t blast = skills.FindSkillId("Records/AI/Blast.dbr");
        ASSERT_NE(blast, 0u);
        EXPECT_EQ(attack->GetTargetId(), stooge->GetObjectId());
        EXPECT_EQ(attack->GetSkillId(), skills.GetSkillReferenceNumber(blast));
    }
}

}  // namespace
}  // namespace GAME::test
