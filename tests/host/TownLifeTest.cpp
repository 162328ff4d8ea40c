// The sample meadow's townsfolk over the network: the server's town and herd controllers decide
// alone and the clients follow, so after some seconds of play every machine has each villager,
// sheep and shepherd at the same place and heard the same conversation lines.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/world/World.h"
#include "Game/characters/npc/Npc.h"
#include "Game/core/GameEngine.h"
#include "Game/core/GameEventListener.h"
#include "Game/quests/conversation/ConversationEvents.h"
#include "Host/WorldFrame.h"
#include "support/NetTestGame.h"

namespace GAME::test {
namespace {

constexpr int kFrameMs = 50;
constexpr int kFrames = 400;  // 20 s of game time: a stroll, a herd on the move, a conversation

struct Lines {
    Lines() : line("GameEvent_SidelineConversationLine") { line.SetOwner(this, &Lines::OnLine); }
    void OnLine(const GameEvent_SidelineConversationLine& event) {
        heard.push_back(std::to_string(event.speakerId) + " " + event.tag);
    }
    GameEventListener<Lines, GameEvent_SidelineConversationLine> line;
    std::vector<std::string> heard;
};

struct Townsperson {
    std::string record;
    float x = 0, z = 0;
    bool operator==(const Townsperson&) const = default;
};

std::map<std::uint32_t, Townsperson> Townsfolk() {
    std::map<std::uint32_t, Townsperson> folk;
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    for (std::uint32_t id : World::Get().GetPlacedEntityIds())
        if (const Npc* npc = objects.GetObject<Npc>(id)) {
            const Vec3 at = npc->GetPosition().local;
            folk[id] = {npc->GetObjectName(), at.x, at.z};
        }
    return folk;
}

TEST(TownLife, TheMeadowLivesAlikeOnTheServerAndItsClient) {
    NetTestGame game(1, TestMachine::SampleDataDir());
    std::vector<std::unique_ptr<Lines>> lines;
    std::vector<std::map<std::uint32_t, Townsperson>> placed;
    for (TestMachine* tm : game.Machines()) {
        MachineScope scope(tm->machine());
        InitializeObjects();
        game.TakeRole(*tm);
        ASSERT_TRUE(World::Get().LoadLevel("Levels/Sample/Sample.level"));
        lines.push_back(std::make_unique<Lines>());
        placed.push_back(Townsfolk());
    }
    ASSERT_EQ(placed[0], placed[1]);

    game.RunFrames(kFrames, kFrameMs, [](TestMachine&, int) {
        UpdateWorldEntities(kFrameMs);
        gGameEngine->Update(kFrameMs);
    });

    const auto after = game.OnEach([] { return Townsfolk(); });
    EXPECT_EQ(after[0], after[1]);
    // Somebody moved: the stroller, the shepherd and a sheep left the places they stood on.
    int moved = 0;
    for (const auto& [id, person] : after[0])
        moved += person.x != placed[0].at(id).x || person.z != placed[0].at(id).z;
    EXPECT_GE(moved, 3);
    EXPECT_EQ(lines[0]->heard, lines[1]->heard);
    EXPECT_EQ(lines[0]->heard.size(), 4u);

    // Which controller each machine gave the townsfolk: the deciding kinds on the server, stubs
    // on the client (under the same ids).
    const auto kinds = game.OnEach([] {
        std::map<std::string, int> count;
        ObjectManager& objects = Singleton<ObjectManager>::Get();
        for (std::uint32_t id : World::Get().GetPlacedEntityIds())
            if (const Npc* npc = objects.GetObject<Npc>(id))
                if (const Object* controller = objects.GetObject(npc->GetControllerId()))
                    ++count[controller->GetClassInfo().GetClassName()];
        return count;
    });
    EXPECT_EQ(kinds[0], (std::map<std::string, int>{{"ControllerNpc2", 7},
                                                    {"ControllerNpcHerdAnimal", 2},
                                                    {"ControllerNpcHerder", 1}}));
    EXPECT_EQ(kinds[1], (std::map<std::string, int>{{"ControllerCharacter", 10}}));
    game.OnEach([] {
        ShutdownObjects();
        return 0;
    });
}

}  // namespace
}  // namespace GAME::test
