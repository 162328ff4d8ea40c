#include "Game/core/GameEventListener.h"

#include <gtest/gtest.h>

#include "Game/core/GameEvents.h"
#include "support/TestMachine.h"

namespace GAME {
namespace {

using test::TestMachine;

struct Owner {
    explicit Owner(bool adopt) : listener("GameEvent_CreatureDeath", "Owner") {
        if (adopt)
            listener.SetOwner(this, &Owner::OnCreatureDeath);
    }
    void OnCreatureDeath(const GameEvent_CreatureDeath& event) {
        names.push_back(event.objectName);
        ids.push_back(event.objectId);
        attackers.push_back(event.attackerId);
    }
    GameEventListener<Owner, GameEvent_CreatureDeath> listener;
    std::vector<std::string> names;
    std::vector<std::uint32_t> ids;
    std::vector<std::uint32_t> attackers;
};

GameEvent_CreatureDeath Death(const char* name, std::uint32_t id, std::uint32_t attacker) {
    GameEvent_CreatureDeath event;
    event.objectName = name;
    event.objectId = id;
    event.attackerId = attacker;
    return event;
}

TEST(GameEventListener, DeliversThePayloadToItsOwner) {
    TestMachine tm;
    Owner owner(true);
    SendGameEvent(Death("Boar", 12, 34), "CreatureDeath");
    EXPECT_EQ(owner.names, (std::vector<std::string>{"Boar"}));
    EXPECT_EQ(owner.ids, (std::vector<std::uint32_t>{12}));
    EXPECT_EQ(owner.attackers, (std::vector<std::uint32_t>{34}));
    EXPECT_STREQ(owner.listener.GetTypeName(), "Owner");
}

TEST(GameEventListener, WithoutAnOwnerEventsAreDroppedAndOthersStillReceive) {
    TestMachine tm;
    Owner unset(false);
    Owner set(true);
    set.listener.Send(Death("Wolf", 1, 2));
    EXPECT_TRUE(unset.names.empty());
    EXPECT_EQ(set.names.size(), 1u);
}

TEST(GameEventListener, DestroyingTheOwnerUnregisters) {
    TestMachine tm;
    const std::string name = GameEventName("CreatureDeath");
    {
        Owner owner(true);
        EXPECT_EQ(Singleton<EventManager>::Get().GetHandlerCount(name), 1u);
    }
    EXPECT_EQ(Singleton<EventManager>::Get().GetHandlerCount(name), 0u);
    SendGameEvent(Death("Ghost", 1, 2), "CreatureDeath");  // nobody left to reach
}

TEST(GameEventListener, APayloadOfAnotherKindUnderTheNameIsIgnored) {
    TestMachine tm;
    Owner owner(true);
    GameEvent_TutorialUnlock wrong;
    Singleton<EventManager>::Get().Send(&wrong, "GameEvent_CreatureDeath");
    EXPECT_TRUE(owner.names.empty());
}

}  // namespace
}  // namespace GAME
