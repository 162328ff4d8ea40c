// Characters' animations: stance sets filled from record keys or an animation table, the switch
// between stances, and the road an animation event takes (set, sounds, footsteps, actions,
// controller).
#include <gtest/gtest.h>

#include <memory>

#include "AnimationTestClips.h"
#include "Engine/anim/AnimationChannels.h"
#include "Engine/anim/AnimationSystem.h"
#include "Engine/anim/GraphicsAnim.h"
#include "Engine/media/sound/SoundPak.h"
#include "Engine/records/RecordDatabase.h"
#include "Engine/world/GroundMesh.h"
#include "Engine/world/World.h"
#include "Game/characters/CharacterEvents.h"
#include "Game/characters/Player.h"
#include "Game/characters/actions/CharacterActionBase.h"
#include "Game/characters/actions/CharacterActionHandler.h"
#include "Game/characters/actions/LifeActions.h"
#include "Game/core/GameEngine.h"
#include "Game/skills/Skill.h"
#include "ai/ProbeController.h"
#include "characters/CharacterTestSupport.h"
#include "support/CharacterSetUp.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

using AnimType = AnimationSet_Type;

constexpr const char* kSwordsman = "Records/Characters/Anims/Swordsman.dbr";

// Stands as the running action and notes each event the handler hands it, with the log length
// at that moment.
class EventProbe : public CharacterActionBase {
public:
    EventProbe(const TestMachine& machine, std::vector<std::string>& events,
               std::vector<std::size_t>& logSizes)
        : CharacterActionBase(0), mMachine(machine), mEvents(events), mLogSizes(logSizes) {}
    void AnimationCallback(const Name& event) override {
        mEvents.push_back(event.str());
        mLogSizes.push_back(mMachine.Log().size());
    }

private:
    const TestMachine& mMachine;
    std::vector<std::string>& mEvents;
    std::vector<std::size_t>& mLogSizes;
};

class CharacterAnimationTest : public ::testing::Test {
protected:
    // A controller in state "Idle" that journals the events reaching it.
    ProbeState* AttachProbeController(Character& character) {
        auto* controller = Singleton<ObjectManager>::Get().CreateObject<ProbeController>();
        controller->AttachParent(character.GetObjectId());
        character.SetControllerId(controller->GetObjectId());
        ProbeState* idle = controller->AddProbeState("Idle");
        controller->SetState("Idle", ControllerAIStateData());
        journal = &controller->journal;
        journal->clear();
        return idle;
    }
    int EventsReachingController() const {
        int count = 0;
        for (const auto& line : *journal)
            count += line.find(":event:") != std::string::npos;
        return count;
    }
    std::vector<std::string>* journal = nullptr;

    void SetUp() override { AddAnimationTestClips(); }
    void AddRecord(const char* name, const char* json) {
        ASSERT_TRUE(Singleton<RecordDatabase>::Get().AddRecordText(name, json));
    }
    static std::string Playing(const Actor& actor) {
        const GraphicsAnim* anim = actor.GetAnimationChannels().GetChannel(0)->anim;
        return anim ? anim->GetName() : "";
    }
    // The position of the first log line holding the text, -1 when none.
    int LogIndex(const char* text) const {
        const auto& log = tm.Log();
        for (std::size_t i = 0; i < log.size(); ++i)
            if (log[i].text.find(text) != std::string::npos)
                return static_cast<int>(i);
        return -1;
    }

    void Probe(Character& c) {
        c.GetActionHandler().Execute(std::make_unique<EventProbe>(tm, actionEvents, logSizes));
    }

    TestMachine tm;
    std::vector<std::string> actionEvents;
    std::vector<std::size_t> logSizes;
};

TEST_F(CharacterAnimationTest, StanceSetIsFilledFromTheRecordKeysAsWritten) {
    Character* c = MakeCharacter(kSwordsman);
    ASSERT_NE(c, nullptr);
    AnimationSet* set = c->GetStanceAnimationSet(0);
    ASSERT_NE(set, nullptr);
    EXPECT_EQ(c->GetAnimationSet(), set);
    for (int stance = 1; stance < 6; ++stance)
        EXPECT_EQ(c->GetStanceAnimationSet(stance), nullptr) << stance;

    for (AnimType type : {AnimType::AttackIdle, AnimType::IdleTransition, AnimType::Stun,
                          AnimType::Die, AnimType::BuffSelf, AnimType::SpellCast, AnimType::Attack,
                          AnimType::Special, AnimType::Walk, AnimType::TurnLeft180})
        EXPECT_TRUE(c->CanPlayAnimation(type)) << AnimationSet::GetAnimTypeAsText(type);
    for (AnimType type : {AnimType::Run, AnimType::Fidget, AnimType::LongIdle, AnimType::BuffOther,
                          AnimType::Respawn})
        EXPECT_FALSE(c->CanPlayAnimation(type)) << AnimationSet::GetAnimTypeAsText(type);

    // Speeds come through the irregular keys: clip speed over the record's speed.
    EXPECT_FLOAT_EQ(set->GetAnimSpeed(AnimType::IdleTransition), 0.25f);
    EXPECT_FLOAT_EQ(set->GetAnimSpeed(AnimType::BuffSelf), 0.2f);
    EXPECT_FLOAT_EQ(set->GetAnimSpeed(AnimType::TurnLeft180), 0.125f);
    EXPECT_FLOAT_EQ(set->GetAnimSpeed(AnimType::Die), 4.0f);
    EXPECT_FLOAT_EQ(set->GetAnimSpeed(AnimType::Walk), 1.0f);

    EXPECT_EQ(set->GetEntryCount(AnimType::AttackIdle), 2u);
    // The first entry weighs a fixed 100.
    EXPECT_FLOAT_EQ(set->GetTotalWeight(AnimType::AttackIdle), 125.0f);
    EXPECT_EQ(set->GetEntryCount(AnimType::Attack), 1u);
    EXPECT_EQ(tm.CountLog("AnimationPool:: Unable to load animation (AnimTest/Missing.anm)"), 1);
    // The own record holds ten special entries: the eleventh is not read.
    EXPECT_EQ(set->GetEntryCount(AnimType::Special), 1u);
    EXPECT_TRUE(set->PlayAnimation(*c, AnimType::Special, Name::Create("Kick"), 1.0f, false, 0));

    EXPECT_TRUE(c->HasForcedUpdates());
    // A sound with no chance is not kept.
    EXPECT_EQ(c->GetAnimationSounds().GetCount(), 1u);
    EXPECT_FLOAT_EQ(c->GetAnimationSounds().GetChance(Name::Create("voxSound")), 100.0f);
}

TEST_F(CharacterAnimationTest, OneRecordsCharactersShareClipsButPlayAndReloadOnTheirOwn) {
    Character* a = MakeCharacter(kSwordsman);
    Character* b = MakeCharacter(kSwordsman);
    ASSERT_TRUE(a && b);
    AnimationSet& setA = *a->GetAnimationSet();
    AnimationSet& setB = *b->GetAnimationSet();
    EXPECT_EQ(&setA.GetClips(), &setB.GetClips());
    // Each character still logs what its load could not find.
    EXPECT_EQ(tm.CountLog("AnimationPool:: Unable to load animation (AnimTest/Missing.anm)"), 2);

    // What one plays and how far its counted play ran is its own.
    ASSERT_TRUE(setA.PlayAnimation(*a, AnimType::Stun, Name(), 1.0f, false, 3));
    ASSERT_TRUE(setB.PlayAnimation(*b, AnimType::Walk, Name(), 1.0f, true, 0));
    EXPECT_TRUE(setA.HandleAnimationCallback(*a, Name::Create("End")));
    EXPECT_FALSE(setB.HandleAnimationCallback(*b, Name::Create("End")));
    EXPECT_EQ(setA.GetCurrentType(), AnimType::Stun);
    EXPECT_EQ(setB.GetCurrentType(), AnimType::Walk);

    // A second load adds to the first, as on a set of its own; the next character loaded twice
    // shares that, the one loaded once keeps its clips.
    const LoadTable record = Singleton<ObjectManager>::Get().GetLoadTable(kSwordsman);
    a->LoadUnarmedAnimationSet(record);
    EXPECT_EQ(setA.GetEntryCount(AnimType::AttackIdle), 4u);
    EXPECT_FLOAT_EQ(setA.GetTotalWeight(AnimType::AttackIdle), 250.0f);
    EXPECT_EQ(setB.GetEntryCount(AnimType::AttackIdle), 2u);
    EXPECT_EQ(tm.CountLog("AnimationPool:: Unable to load animation (AnimTest/Missing.anm)"), 3);
    Character* c = MakeCharacter(kSwordsman);
    ASSERT_NE(c, nullptr);
    c->LoadUnarmedAnimationSet(record);
    EXPECT_EQ(&c->GetAnimationSet()->GetClips(), &setA.GetClips());
    EXPECT_EQ(tm.CountLog("AnimationPool:: Unable to load animation (AnimTest/Missing.anm)"), 5);

    // A clip added by hand goes to that set alone.
    setB.AddAnimation(AnimType::Run, "AnimTest/Run.anm", 1.0f, 0.0f, "");
    EXPECT_TRUE(setB.DoesAnimationExist(AnimType::Run));
    EXPECT_FALSE(setA.DoesAnimationExist(AnimType::Run));
    EXPECT_FALSE(c->GetAnimationSet()->DoesAnimationExist(AnimType::Run));
}

TEST_F(CharacterAnimationTest, MonsterGetsOnlyItsLoadStanceAndPlayerAllSix) {
    auto& objects = Singleton<ObjectManager>::Get();
    auto* monster = objects.CreateObjectFromFile<Character>(kSwordsman, 0, false);
    ASSERT_NE(monster, nullptr);
    test::SetHandState(*monster, 4);
    monster->Load(objects.GetLoadTable(kSwordsman));
    monster->InitialUpdate();
    for (int stance = 0; stance < 6; ++stance)
        EXPECT_EQ(monster->GetStanceAnimationSet(stance) != nullptr, stance == 4) << stance;
    AnimationSet* spear = monster->GetAnimationSet();
    ASSERT_EQ(spear, monster->GetStanceAnimationSet(4));
    ASSERT_TRUE(spear->PlayAnimation(*monster, AnimType::Run, Name(), 1.0f, true, 0));
    EXPECT_EQ(Playing(*monster), "AnimTest/Spear.anm");
    monster->SetAnimation(1);
    EXPECT_EQ(monster->GetAnimationSet(), spear);
    EXPECT_EQ(spear->GetCurrentType(), AnimType::Run);

    AddRecord("Records/Characters/Anims/Archer.dbr", R"({"Class": "Player",
        "sHandedRunAnim": "AnimTest/Run.anm", "bowRunAnim": "AnimTest/Walk.anm"})");
    auto* player = objects.CreateObjectFromFile<Player>("Records/Characters/Anims/Archer.dbr");
    ASSERT_NE(player, nullptr);
    player->InitialUpdate();
    for (int stance = 0; stance < 6; ++stance)
        EXPECT_NE(player->GetStanceAnimationSet(stance), nullptr) << stance;
    AnimationSet* unarmed = player->GetAnimationSet();
    ASSERT_EQ(unarmed, player->GetStanceAnimationSet(0));
    EXPECT_FALSE(player->CanPlayAnimation(AnimType::Run));
    unarmed->PlayAnimation(*player, AnimType::None, Name(), 1.0f, true, 0);
    unarmed->PlayAnimationIfAvailable(*player, AnimType::Walk, Name(), 1.0f, true, 0);

    player->SetAnimation(3);
    EXPECT_EQ(player->GetAnimationSet(), player->GetStanceAnimationSet(3));
    EXPECT_TRUE(player->CanPlayAnimation(AnimType::Run));
    EXPECT_EQ(player->GetStanceAnimationSet(3)->GetAnimSpeed(AnimType::Run), 1.0f);
    player->SetAnimation(1);
    EXPECT_EQ(player->GetAnimationSet(), player->GetStanceAnimationSet(1));
    player->SetAnimation(9);
    EXPECT_EQ(player->GetAnimationSet(), unarmed);
}

TEST_F(CharacterAnimationTest, AnimationTableReplacesTheOwnKeysUnlessItCannotBeLoaded) {
    AddRecord("Records/Characters/Anims/Table.dbr", R"({
        "unarmedWalkAnim": "AnimTest/Run.anm",
        "unarmedSpecialAnim10": "AnimTest/Kick.anm", "unarmedSpecialAnimRef10": "Ten",
        "unarmedSpecialAnim11": "AnimTest/Spin.anm", "unarmedSpecialAnimRef11": "Eleven",
        "sHandedSpecialAnim15": "AnimTest/Spin.anm", "sHandedSpecialAnimRef15": "Fifteen",
        "staffSpecialAnim15": "AnimTest/Spin.anm", "staffSpecialAnimRef15": "Fifteen"})");
    AddRecord("Records/Characters/Anims/Tabled.dbr", R"({"Class": "Player",
        "charAnimationTableName": "Records/Characters/Anims/Table.dbr",
        "unarmedWalkAnim": "AnimTest/Walk.anm", "unarmedStunAnim": "AnimTest/Stun.anm"})");
    AddRecord("Records/Characters/Anims/Untabled.dbr", R"({"Class": "Character",
        "charAnimationTableName": "Records/Characters/Anims/NoSuchTable.dbr",
        "unarmedWalkAnim": "AnimTest/Walk.anm"})");

    Character* tabled = MakeCharacter("Records/Characters/Anims/Tabled.dbr");
    ASSERT_NE(tabled, nullptr);
    AnimationSet& unarmed = *tabled->GetStanceAnimationSet(0);
    EXPECT_FALSE(unarmed.DoesAnimationExist(AnimType::Stun));
    unarmed.PlayAnimation(*tabled, AnimType::Walk, Name(), 1.0f, true, 0);
    EXPECT_EQ(Playing(*tabled), "AnimTest/Run.anm");
    auto special = [&](int stance) {
        return tabled->GetStanceAnimationSet(stance)->GetEntryCount(AnimType::Special);
    };
    EXPECT_EQ(special(0), 1u);  // ten entries for unarmed
    EXPECT_EQ(special(1), 1u);  // fifteen for single-handed
    EXPECT_EQ(special(5), 0u);  // ten for the staff

    Character* untabled = MakeCharacter("Records/Characters/Anims/Untabled.dbr");
    ASSERT_NE(untabled, nullptr);
    untabled->GetAnimationSet()->PlayAnimation(*untabled, AnimType::Walk, Name(), 1.0f, true, 0);
    EXPECT_EQ(Playing(*untabled), "AnimTest/Walk.anm");
}

TEST_F(CharacterAnimationTest, SoundedEventStillReachesActionsThenController) {
    Character* c = MakeCharacter(kSwordsman);
    ASSERT_NE(c, nullptr);
    ProbeState* idle = AttachProbeController(*c);
    Probe(*c);
    SoundPak* vox = c->GetAnimationSounds().GetSound(Name::Create("voxSound"));
    ASSERT_NE(vox, nullptr);
    tm.ClearLog();
    // The actions have had the event by the time the controller's state gets it.
    int actionsSeenFirst = -1;
    idle->onEvent = [&] { actionsSeenFirst = static_cast<int>(actionEvents.size()); };
    c->AnimationCallback(0, Name::Create("voxSound"));
    EXPECT_EQ(vox->GetPlayCount(), 1u);
    EXPECT_EQ(actionsSeenFirst, 1);
    EXPECT_EQ(actionEvents, std::vector<std::string>{"voxSound"});
    EXPECT_EQ(*journal, (std::vector<std::string>{"Idle:event:voxSound"}));
}

TEST_F(CharacterAnimationTest, CountedPlayHidesItsEndsFromActionsAndController) {
    Character* c = MakeCharacter(kSwordsman);
    ASSERT_NE(c, nullptr);
    AttachProbeController(*c);
    Probe(*c);
    ASSERT_TRUE(c->GetAnimationSet()->PlayAnimation(*c, AnimType::Stun, Name(), 1.0f, false, 3));
    tm.ClearLog();
    // The stun clip lasts 800 ms: two passes end and are swallowed.
    AnimationSystem::Get().Update(800);
    AnimationSystem::Get().Update(800);
    EXPECT_TRUE(actionEvents.empty());
    EXPECT_EQ(EventsReachingController(), 0);
    AnimationSystem::Get().Update(800);
    EXPECT_EQ(actionEvents, std::vector<std::string>{"End"});
    EXPECT_EQ(EventsReachingController(), 1);
}

TEST_F(CharacterAnimationTest, StopRotationAndOtherChannelsSkipTheActions) {
    Character* c = MakeCharacter(kSwordsman);
    ASSERT_NE(c, nullptr);
    test::SetRotateTowardsTarget(*c, true);
    Probe(*c);
    tm.ClearLog();
    c->AnimationCallback(1, Name::Create("Hit"));
    EXPECT_TRUE(c->IsRotatingTowardsTarget());
    c->AnimationCallback(0, Name::Create("StopRotation"));
    EXPECT_FALSE(c->IsRotatingTowardsTarget());
    EXPECT_TRUE(actionEvents.empty());
}

TEST_F(CharacterAnimationTest, FootstepOverWaterSoundsOnlyWhenTheGroundIsNear) {
    Region* region =
        World::Get().AddRegion(std::make_unique<Region>("R", Vec3(0, 0, 0), Vec3(100, 50, 100)));
    auto ground = std::make_unique<GroundMesh>();
    ground->AddTriangle(Vec3(0, 0, 0), Vec3(0, 0, 100), Vec3(100, 0, 0), PhysicsSurface::Water);
    ground->Finish();
    region->SetGround(std::move(ground));

    Character* c = MakeCharacter(kSwordsman);
    ASSERT_NE(c, nullptr);
    const float h = c->GetBoundingRadius();
    SoundPak* water = c->GetSoundPak(Character::FootWater);
    ASSERT_NE(water, nullptr);
    Probe(*c);
    tm.ClearLog();

    // The ray starts 2h up: ground 2h + 0.3 below is too far.
    World::Get().AddEntity(c, WorldCoords(region, Coords::FromOrigin(Vec3(10, 0.3f, 10))), false);
    c->AnimationCallback(0, Name::Create("L Footstep"));
    EXPECT_EQ(water->GetPlayCount(), 0u);

    World::Get().SetCoords(c, WorldCoords(region, Coords::FromOrigin(Vec3(10, 0.2f, 10))));
    c->AnimationCallback(0, Name::Create("R Footstep"));
    ASSERT_EQ(water->GetPlayCount(), 1u);
    EXPECT_FLOAT_EQ(water->GetLastPlayed().where.local.y, 0.2f);
    EXPECT_EQ(water->GetTrackedObject(), c->GetObjectId());
    EXPECT_TRUE(actionEvents.empty());
    EXPECT_GT(h, 0.0f);
}

TEST_F(CharacterAnimationTest, StunPlaysItsAnimationOrLogsAndSpeedsFollowTheState) {
    Character* c = MakeCharacter(kSwordsman);
    Character* brute = MakeCharacter("Records/Characters/Brute.dbr");
    ASSERT_NE(c, nullptr);
    ASSERT_NE(brute, nullptr);
    c->ExecuteStun();
    EXPECT_EQ(Playing(*c), "AnimTest/Stun.anm");
    EXPECT_TRUE(c->GetAnimationChannels().GetChannel(0)->loop);
    EXPECT_EQ(c->GetActionState(), Character_ActionState::Stun);
    EXPECT_EQ(c->GetCurrentAnimation()->GetName(), "AnimTest/Stun.anm");

    tm.ClearLog();
    brute->ExecuteStun();
    EXPECT_EQ(tm.CountLog("Failed to start stun animation."), 1);
    EXPECT_EQ(Playing(*brute), GraphicsAnim::GetDefaultName());
    EXPECT_EQ(brute->GetActionState(), Character_ActionState::Stun);

    c->SetActionState(Character_ActionState::Move);
    c->GetAnimationSet()->PlayAnimation(*c, AnimType::Walk, Name(), 1.0f, true, 0);
    c->ForceSpeedUpdate();
    EXPECT_FLOAT_EQ(c->GetAnimationChannels().GetChannel(0)->multiplier, c->GetRunSpeed());
    c->ExecuteImmobilize();
    EXPECT_FLOAT_EQ(c->GetAnimationChannels().GetChannel(0)->multiplier, 0.0f);
}

TEST_F(CharacterAnimationTest, DeathClipEndingThroughTheActionsLeavesTheCharacterDead) {
    Character* c = MakeCharacter(kSwordsman);
    ASSERT_NE(c, nullptr);
    test::SetLife(*c, 10.0f, 100.0f);
    c->GetActionHandler().Execute(
        std::make_unique<DieAction>(c->GetObjectId(), std::vector<std::uint32_t>{}));
    ASSERT_EQ(c->GetLifeState(), Character_LifeState::Dying);
    EXPECT_EQ(Playing(*c), "AnimTest/Die.anm");
    // The clip's "End" finishes the death handler; the next frame stops the die action.
    for (int i = 0; i < 40 && c->GetLifeState() == Character_LifeState::Dying; ++i) {
        AnimationSystem::Get().Update(100);
        RunFrame(*c, 100);
    }
    EXPECT_EQ(c->GetLifeState(), Character_LifeState::Dead);
    EXPECT_EQ(c->GetActionHandler().GetCurrentAction(), nullptr);
}

TEST_F(CharacterAnimationTest, SkillsPlayTheirSpecialOrNormalAnimationThroughTheSet) {
    // Skills read their profiles through the game root.
    InitializeObjects();
    AddRecord("Records/Skills/Anim/Kick.dbr",
              R"({"Class": "Skill", "skillSpecialAnimationName": "Kick"})");
    AddRecord("Records/Skills/Anim/Nothing.dbr",
              R"({"Class": "Skill", "skillSpecialAnimationName": "Headbutt"})");
    auto& objects = Singleton<ObjectManager>::Get();
    Skill* kick = objects.CreateObjectFromFile<Skill>("Records/Skills/Anim/Kick.dbr");
    Skill* nothing = objects.CreateObjectFromFile<Skill>("Records/Skills/Anim/Nothing.dbr");
    ASSERT_NE(kick, nullptr);
    ASSERT_NE(nothing, nullptr);
    Character* c = MakeCharacter(kSwordsman);
    ASSERT_NE(c, nullptr);

    EXPECT_TRUE(kick->StartSpecialAnimation(*c, 1.0f, false));
    EXPECT_EQ(Playing(*c), "AnimTest/Kick.anm");
    // A reference the stance lacks plays nothing and leaves the clip running.
    EXPECT_FALSE(nothing->StartSpecialAnimation(*c, 1.0f, false));
    EXPECT_EQ(Playing(*c), "AnimTest/Kick.anm");

    EXPECT_TRUE(nothing->StartNormalAnimation(*c, static_cast<int>(AnimType::SpellCast), Name(),
                                              2.0f, 0, 0));
    EXPECT_EQ(Playing(*c), "AnimTest/Cast.anm");
    EXPECT_EQ(c->GetAnimationSet()->GetCurrentType(), AnimType::SpellCast);
    // A type the stance has no clip for answers false.
    EXPECT_FALSE(
        nothing->StartNormalAnimation(*c, static_cast<int>(AnimType::Mount), Name(), 1.0f, 0, 0));

    // A character without any set plays nothing.
    Character* bare = objects.CreateObject<Character>();
    EXPECT_FALSE(kick->StartSpecialAnimation(*bare, 1.0f, false));
    EXPECT_FALSE(
        kick->StartNormalAnimation(*bare, static_cast<int>(AnimType::Stun), Name(), 1.0f, 0, 0));
    ShutdownObjects();
}

struct CompletedListener : EventHandlerInterface {
    void HandleEvent(const GameEvent* payload) override {
        if (const auto* done = dynamic_cast<const GameEvent_AnimationCompleted*>(payload))
            names.push_back(done->objectName);
    }
    std::vector<std::string> names;
};

TEST_F(CharacterAnimationTest, QuestAnimationCompletedNamesTheCharacter) {
    Character* c = MakeCharacter(kSwordsman);
    ASSERT_NE(c, nullptr);
    CompletedListener listener;
    auto& events = Singleton<EventManager>::Get();
    events.Register(GameEventName("AnimationCompleted"), &listener);
    c->SendQuestAnimationCompletedEvent();
    events.UnRegister(GameEventName("AnimationCompleted"), &listener);
    EXPECT_EQ(listener.names, std::vector<std::string>{kSwordsman});
}

}  // namespace

RTTI_IMPLEMENT(ProbeController, ControllerAI)

}  // namespace GAME::test
