// States a controller class registers once for all its controllers: each controller still has
// states of its own, the last registration under a name wins, a controller's own state wins over
// the class's, and a state is reached the same whether named by number, literal or run-time name.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "Engine/records/LoadTable.h"
#include "Game/ai/controllers/AIStateId.h"
#include "Game/characters/monster/Monster.h"
#include "ai/AiTestSupport.h"
#include "ai/ProbeController.h"
#include "characters/CharacterActionTestSupport.h"

namespace GAME::test {
namespace {

// Counts how many of its kind live, so a test sees the block made and unmade.
struct Census {
    static inline int alive = 0;
};

class TaggedState : public ControllerAIStateT<ControllerAI, Character> {
public:
    TaggedState(ControllerAI* controller, int tag) : ControllerAIStateT(controller), mTag(tag) {
        ++Census::alive;
    }
    ~TaggedState() override { --Census::alive; }
    void OnBegin() override {}
    void OnEnd() override {}
    void OnUpdate(int) override {}
    int GetTag() const { return mTag; }

private:
    int mTag;
};

template <int Tag>
class Tagged : public TaggedState {
public:
    explicit Tagged(ControllerAI* controller) : TaggedState(controller, Tag) {}
};

class TableController : public ControllerAI {
    RTTI_DECLARE(TableController)
public:
    void RegisterStates() override {
        AddState<Tagged<1>>("Idle", this);
        AddState<Tagged<2>>("Pursue", this);
        AddState<Tagged<3>>("Idle", this);  // replaces the first
        AddState<Tagged<4>>("Sleeping", this);
    }
    void RegisterTemporaryStates() override { AddTemporaryState<Tagged<5>>("Roar", this); }
    using ControllerAI::AddState;
    using ControllerAI::GetState;
};
RTTI_IMPLEMENT(TableController, ControllerAI)

int TagOf(const ControllerAIState* state) {
    const auto* tagged = dynamic_cast<const TaggedState*>(state);
    return tagged ? tagged->GetTag() : 0;
}

class ControllerStateTable : public ::testing::Test {
protected:
    void SetUp() override {
        InitializeObjects();
        Census::alive = 0;
    }
    void TearDown() override { ShutdownObjects(); }

    // The bodies come first: a controller takes the next free id, which a body made later
    // with a fixed id would replace.
    std::vector<TableController*> Make(int count) {
        std::vector<Character*> bodies;
        for (int i = 0; i < count; ++i)
            bodies.push_back(MakeLivingCharacter(0x100 + static_cast<std::uint32_t>(i), 10, 10));
        std::vector<TableController*> controllers;
        for (Character* body : bodies) {
            auto* controller = Singleton<ObjectManager>::Get().CreateObject<TableController>();
            controller->AttachParent(body->GetObjectId());
            body->SetControllerId(controller->GetObjectId());
            controller->InitialUpdate();
            controllers.push_back(controller);
        }
        return controllers;
    }

    TestMachine tm;
};

// A listed literal is resolved while compiling; any other keeps its name, matched exactly.
static_assert(AIStateKey("WaitToAttack").GetId() == AIStateId::WaitToAttack);
static_assert(!AIStateKey("Sleeping").IsListed() && !AIStateKey("pursue").IsListed());

TEST_F(ControllerStateTable, EveryControllerOfTheClassHasStatesOfItsOwn) {
    const std::vector<TableController*> both = Make(2);
    TableController* first = both[0];
    TableController* second = both[1];
    // Each is made when first asked for.
    EXPECT_EQ(Census::alive, 0);
    for (const AIStateKey key :
         {AIStateKey("Idle"), AIStateKey("Pursue"), AIStateKey("Sleeping")}) {
        auto* mine = dynamic_cast<TaggedState*>(first->GetState(key));
        auto* theirs = dynamic_cast<TaggedState*>(second->GetState(key));
        ASSERT_NE(mine, nullptr) << key.GetName();
        ASSERT_NE(theirs, nullptr) << key.GetName();
        EXPECT_NE(mine, theirs) << key.GetName();
        EXPECT_EQ(mine->GetController(), first);
        EXPECT_EQ(theirs->GetController(), second);
    }
    // Idle, Pursue and Sleeping each, asked twice; the unasked Roar and the replaced Idle never.
    EXPECT_EQ(first->GetState("Idle"), first->GetState(AIStateId::Idle));
    EXPECT_EQ(Census::alive, 6);
    Singleton<ObjectManager>::Get().DestroyObject(first);
    EXPECT_EQ(Census::alive, 3);
}

// Asks for its character as a monster.
class MonsterAsker : public ControllerAIStateT<ControllerAI, ::GAME::Monster> {
public:
    using ControllerAIStateT::ControllerAIStateT;
    void OnBegin() override {}
    void OnEnd() override {}
    void OnUpdate(int) override {}
};

// A controller keeps one character for its states, but never hands it to a state asking as a
// class the body is not, whichever asks first, nor to another controller's states.
TEST_F(ControllerStateTable, StatesShareTheCharacterOnlyAsTheClassTheyAsk) {
    const std::vector<TableController*> controllers = Make(2);
    for (const bool monsterFirst : {false, true}) {
        TableController* controller = controllers[monsterFirst ? 1 : 0];
        auto* plain = dynamic_cast<TaggedState*>(controller->GetState("Pursue"));
        ASSERT_NE(plain, nullptr);
        MonsterAsker asMonster(controller);
        const Character* body =
            Singleton<ObjectManager>::Get().GetObject<Character>(controller->GetParentId());
        ASSERT_NE(body, nullptr);
        if (monsterFirst) {
            EXPECT_EQ(asMonster.GetCharacter(), nullptr);
        }
        EXPECT_EQ(plain->GetCharacter(), body) << monsterFirst;
        EXPECT_EQ(asMonster.GetCharacter(), nullptr) << monsterFirst;
        EXPECT_EQ(plain->GetCharacter(), body) << monsterFirst;
    }
}

TEST_F(ControllerStateTable, AStateIsTheSameByNumberLiteralOrRunTimeName) {
    TableController* controller = Make(1)[0];
    const std::string idle = "Idle";
    const std::string sleeping = "Sleeping";
    struct Row {
        AIStateKey key;
        int tag;
    };
    const Row rows[] = {
        {AIStateId::Idle, 3},   {"Idle", 3},     {AIStateKey(idle), 3},
        {AIStateId::Pursue, 2}, {"Sleeping", 4}, {AIStateKey(sleeping), 4},
        {AIStateId::Attack, 0}, {"Nowhere", 0},
    };
    for (const Row& row : rows) {
        controller->SetState(row.key, ControllerAIStateData({.enemy = 0x200}));
        EXPECT_EQ(TagOf(controller->GetState(row.key)), row.tag) << row.key.GetName();
        if (row.tag != 0) {
            EXPECT_EQ(TagOf(controller->GetExecutingState()), row.tag) << row.key.GetName();
        }
    }
    controller->AddTemporaryState("Roar", ControllerAIStateData());
    EXPECT_EQ(TagOf(controller->GetExecutingState()), 5);
    EXPECT_STREQ(controller->GetExecutingStateName(), "Roar");
}

TEST_F(ControllerStateTable, AControllersOwnStateWinsOverTheClasssUnderItsName) {
    const std::vector<TableController*> both = Make(2);
    TableController* mine = both[0];
    TableController* other = both[1];
    mine->AddState("Pursue", std::make_unique<Tagged<9>>(mine));
    mine->AddState("Taunted", std::make_unique<Tagged<8>>(mine));
    EXPECT_EQ(TagOf(mine->GetState("Pursue")), 9);
    EXPECT_EQ(TagOf(mine->GetState("Taunted")), 8);
    EXPECT_EQ(TagOf(other->GetState("Pursue")), 2);
    EXPECT_EQ(other->GetState("Taunted"), nullptr);
    mine->SetState("Pursue", ControllerAIStateData());
    EXPECT_STREQ(mine->GetExecutingStateName(), "Pursue");
    EXPECT_EQ(TagOf(mine->GetExecutingState()), 9);
    // The two own ones and the other's Pursue: naming the executing state makes none.
    EXPECT_EQ(Census::alive, 3);
    Singleton<ObjectManager>::Get().DestroyObject(mine);
    EXPECT_EQ(Census::alive, 1);
}

// A controller whose registration gives it a state of its own, as its own fields decide.
class MarkingController : public TableController {
    RTTI_DECLARE(MarkingController)
public:
    void RegisterStates() override {
        TableController::RegisterStates();
        if (mark != 0)
            AddState("Pursue", std::make_unique<TaggedState>(this, mark));
    }
    int mark = 0;
};
RTTI_IMPLEMENT(MarkingController, TableController)

// Every controller runs its registration, also once its class's table is sealed: one may give
// itself states there that the class's first did not.
TEST_F(ControllerStateTable, ALaterControllersRegistrationStillGivesItsOwnStates) {
    const int marks[] = {0, 7, 0, 6};
    std::vector<Character*> bodies;
    for (std::uint32_t i = 0; i < std::size(marks); ++i)
        bodies.push_back(MakeLivingCharacter(0x140 + i, 10, 10));
    std::vector<MarkingController*> controllers;
    for (std::size_t i = 0; i < bodies.size(); ++i) {
        auto* controller = Singleton<ObjectManager>::Get().CreateObject<MarkingController>();
        controller->AttachParent(bodies[i]->GetObjectId());
        bodies[i]->SetControllerId(controller->GetObjectId());
        controller->mark = marks[i];
        controller->InitialUpdate();
        controllers.push_back(controller);
    }
    for (std::size_t i = 0; i < controllers.size(); ++i) {
        EXPECT_EQ(TagOf(controllers[i]->GetState("Pursue")), marks[i] != 0 ? marks[i] : 2) << i;
        EXPECT_EQ(TagOf(controllers[i]->GetState("Idle")), 3) << i;
    }
}

// A controller given a state before its first update still replays the registration there, so
// the class's state wins under the class's name, as for a controller registered from scratch.
TEST_F(ControllerStateTable, AStateGivenBeforeTheFirstUpdateYieldsToTheClasss) {
    // The second of these registers after the class's table is sealed.
    const std::vector<TableController*> plain = Make(2);
    Character* body = MakeLivingCharacter(0x180, 10, 10);
    auto* late = Singleton<ObjectManager>::Get().CreateObject<TableController>();
    late->AttachParent(body->GetObjectId());
    body->SetControllerId(late->GetObjectId());
    late->AddState("Pursue", std::make_unique<Tagged<9>>(late));
    late->AddState("Taunted", std::make_unique<Tagged<8>>(late));
    late->InitialUpdate();
    struct Row {
        TableController* controller;
        const char* name;
        int tag;
    };
    const Row rows[] = {
        {late, "Pursue", 2},     {late, "Taunted", 8},      {late, "Idle", 3},
        {plain[1], "Pursue", 2}, {plain[1], "Sleeping", 4}, {plain[1], "Taunted", 0},
    };
    for (const Row& row : rows)
        EXPECT_EQ(TagOf(row.controller->GetState(AIStateKey(std::string_view(row.name)))), row.tag)
            << row.name;
}

// Aligned past what plain new gives, and its state base lies after another base's bytes.
struct Padding {
    virtual ~Padding() = default;
    double pad[3] = {};
};
class alignas(64) OddState : public Padding, public Tagged<11> {
public:
    explicit OddState(ControllerAI* controller) : Tagged<11>(controller) {}
};
class OddController : public TableController {
    RTTI_DECLARE(OddController)
public:
    void RegisterStates() override { AddState<OddState>("Idle", this); }
};
RTTI_IMPLEMENT(OddController, TableController)

// Controllers of two classes made in turn: each gets its own class's states, made in place.
TEST_F(ControllerStateTable, ControllersOfTwoClassesMadeInTurnHaveTheirClasssStates) {
    std::vector<Character*> bodies;
    for (std::uint32_t i = 0; i < 4; ++i)
        bodies.push_back(MakeLivingCharacter(0x1c0 + i, 10, 10));
    std::vector<TableController*> controllers;
    for (std::size_t i = 0; i < bodies.size(); ++i) {
        ObjectManager& objects = Singleton<ObjectManager>::Get();
        TableController* controller =
            i % 2 ? objects.CreateObject<OddController>() : objects.CreateObject<TableController>();
        controller->AttachParent(bodies[i]->GetObjectId());
        bodies[i]->SetControllerId(controller->GetObjectId());
        controller->InitialUpdate();
        const ControllerAIState* idle = controller->GetState("Idle");
        EXPECT_EQ(TagOf(idle), i % 2 ? 11 : 3) << i;
        EXPECT_EQ(TagOf(controller->GetState("Sleeping")), i % 2 ? 0 : 4) << i;
        if (const auto* odd = dynamic_cast<const OddState*>(idle)) {
            EXPECT_EQ(reinterpret_cast<std::uintptr_t>(odd) % alignof(OddState), 0u) << i;
        }
        // The temporary states share the allocation, ahead of the states.
        controller->AddTemporaryState("Roar", ControllerAIStateData());
        EXPECT_EQ(TagOf(controller->GetExecutingState()), 5) << i;
        EXPECT_EQ(TagOf(idle), i % 2 ? 11 : 3) << i;
        controllers.push_back(controller);
    }
    for (TableController* controller : controllers)
        Singleton<ObjectManager>::Get().DestroyObject(controller);
    EXPECT_EQ(Census::alive, 0);
}

// A level's crowd is loaded before any of it updates: the class's first controller records the
// class's states at its load. Each must still end its first update with what registering then
// gives it, and have none before.
TEST_F(ControllerStateTable, ControllersLoadedBeforeAnyUpdateGetTheirStatesAtTheFirstUpdate) {
    enum Kind { kTable, kMarking, kOdd };
    struct Row {
        Kind kind;
        int mark;  // set after the load, before the first update
        int idle, pursue, sleeping;
    };
    const Row rows[] = {
        {kMarking, 7, 3, 7, 4}, {kTable, 0, 3, 2, 4},   {kOdd, 0, 11, 0, 0},
        {kMarking, 0, 3, 2, 4}, {kMarking, 6, 3, 6, 4}, {kOdd, 0, 11, 0, 0},
    };
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    std::vector<Character*> bodies;
    for (std::uint32_t i = 0; i < std::size(rows); ++i)
        bodies.push_back(MakeLivingCharacter(0x200 + i, 10, 10));
    std::vector<TableController*> controllers;
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        TableController* controller = nullptr;
        if (rows[i].kind == kMarking) {
            auto* marking = objects.CreateObject<MarkingController>();
            // The first's registration at its load gives it a state of its own, dropped there.
            marking->mark = 5;
            controller = marking;
        } else if (rows[i].kind == kOdd) {
            controller = objects.CreateObject<OddController>();
        } else {
            controller = objects.CreateObject<TableController>();
        }
        controller->Load(LoadTable());
        controller->AttachParent(bodies[i]->GetObjectId());
        bodies[i]->SetControllerId(controller->GetObjectId());
        controllers.push_back(controller);
    }
    EXPECT_EQ(Census::alive, 0);
    EXPECT_EQ(controllers[0]->GetState("Idle"), nullptr);
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        if (auto* marking = dynamic_cast<MarkingController*>(controllers[i]))
            marking->mark = rows[i].mark;
        controllers[i]->InitialUpdate();
    }
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        TableController* controller = controllers[i];
        EXPECT_EQ(TagOf(controller->GetState("Idle")), rows[i].idle) << i;
        EXPECT_EQ(TagOf(controller->GetState("Pursue")), rows[i].pursue) << i;
        EXPECT_EQ(TagOf(controller->GetState("Sleeping")), rows[i].sleeping) << i;
        if (const auto* odd = dynamic_cast<const OddState*>(controller->GetState("Idle"))) {
            EXPECT_EQ(reinterpret_cast<std::uintptr_t>(odd) % alignof(OddState), 0u) << i;
        }
        controller->AddTemporaryState("Roar", ControllerAIStateData());
        EXPECT_EQ(TagOf(controller->GetExecutingState()), 5) << i;
        EXPECT_STREQ(controller->GetExecutingStateName(), "Roar") << i;
    }
}

}  // namespace
}  // namespace GAME::test
