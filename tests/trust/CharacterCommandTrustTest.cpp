// A hostile client's skill, item and character-state commands: about another player they are
// neither run nor relayed; about its own player they cannot reach another player's objects.
#include <gtest/gtest.h>

#include "Engine/Engine.h"
#include "Engine/net/NetworkConnectionManager.h"
#include "Engine/object/ObjectManager.h"
#include "Game/ai/controllers/ControllerCombat.h"
#include "Game/core/net/commands/CharacterCommands.h"
#include "Game/core/net/commands/ItemCommands.h"
#include "Game/core/net/packets/FixedItemPackets.h"
#include "Game/skills/manager/SkillCommands.h"
#include "players/PlayersTestSupport.h"
#include "support/CharacterSetUp.h"
#include "support/NetTestGame.h"
#include "trust/TrustTestSupport.h"

namespace GAME::test {
namespace {

constexpr std::uint32_t kHonestPet = 0x600;
constexpr std::uint32_t kPetMind = 0x601;

class CharacterCommandTrust : public ::testing::Test {
protected:
    CharacterCommandTrust() : game(2) {
        for (TestMachine* tm : game.Machines()) {
            MachineScope scope(tm->machine());
            InitializeObjects();
            game.TakeRole(*tm);
            MakePlayer(kHostile, L"Hostile", 3);
            MakePlayer(kHonest, L"Honest", 3);
            auto& objects = Singleton<ObjectManager>::Get();
            auto* pet = objects.CreateObject<Character>(kHonestPet);
            test::SetMasterId(*pet, kHonest);
            objects.CreateObject<ControllerCombat>(kPetMind)->AttachParent(kHonestPet);
            pet->SetControllerId(kPetMind);
        }
    }
    ~CharacterCommandTrust() override { game.OnEach(ShutdownObjects); }
    // The command as the hostile client's machine sends it, without running it there.
    void SendFromHostile(ActorConfigCommand&& command) { game.SendFromClient(command); }
    std::vector<bool> OnEachMachine(std::uint32_t id, bool (*test)(const Character&)) {
        return game.OnEach([&] {
            const auto* c = Singleton<ObjectManager>::Get().GetObject<Character>(id);
            return c != nullptr && test(*c);
        });
    }

    NetTestGame game;
};

TEST_F(CharacterCommandTrust, CommandsAboutAnotherPlayerOrItsPetAreNeitherRunNorRelayed) {
    SendFromHostile(SetInvincibleConfigCmd(kHonest, true));
    SendFromHostile(ShowCharacterConfigCmd(kHonest, false));
    SendFromHostile(SetTeamConfigCmd(kHonest, TeamManager::DefaultMonsterTeam()));
    SendFromHostile(RequestAllyMoveConfigCmd(kHonestPet, kHostile, WorldVec3()));
    SendFromHostile(RequestAllyAttackConfigCmd(kHonestPet, kHostile, kHonest));
    SendFromHostile(SkillStateUpdateConfigCmd(kHonest, 0, SkillState{9, true}));
    SendFromHostile(
        SkillTargetResultConfigCmd(kHonest, 0, {kHostile}, WorldCoords(), 1, 0, false, 1));
    SendFromHostile(ReleasePetConfigCmd(kHonest, kHonestPet));
    EXPECT_EQ(game.Server().CountLog("Net: refused"), 8);
    EXPECT_EQ(game.Server().CountLog("ControllerCombat::KillMe"), 0);
    const auto invincible = OnEachMachine(kHonest, [](const Character& c) {
        return c.IsInvincible() || !c.IsVisible() || c.GetTeam().GetTeamMajor() == Team::Monster;
    });
    EXPECT_EQ(invincible, (std::vector<bool>{false, false, false}));

    // About its own player a visibility command runs everywhere.
    ON_MACHINE(game.Client(0)) {
        Singleton<ObjectManager>::Get().GetObject<Character>(kHostile)->Enqueue(
            std::make_unique<ShowCharacterConfigCmd>(kHostile, false));
    }
    game.Pump();
    const auto own = OnEachMachine(kHostile, [](const Character& c) { return !c.IsVisible(); });
    EXPECT_EQ(own, (std::vector<bool>{true, true, true}));
}

TEST_F(CharacterCommandTrust, InvincibilityAndTeamsAreTheServersEvenForItsOwnPlayer) {
    SendFromHostile(SetInvincibleConfigCmd(kHostile, true));
    SendFromHostile(SetTeamConfigCmd(kHostile, TeamManager::DefaultMonsterTeam()));
    EXPECT_EQ(game.Server().CountLog("Net: refused"), 2);
    // Only the hostile machine, which ran them itself, believes them.
    const auto changed = OnEachMachine(kHostile, [](const Character& c) {
        return c.IsInvincible() || c.GetTeam().GetTeamMajor() == Team::Monster;
    });
    EXPECT_EQ(changed, (std::vector<bool>{false, false, false}));
}

TEST_F(CharacterCommandTrust, BaseLifeAndManaRiseOnlyBySpendingAnAttributePoint) {
    const auto lives = [&] {
        return game.OnEach([] {
            Character& c = *Singleton<ObjectManager>::Get().GetObject<Character>(kHostile);
            c.GetCharacterBio().Update(c, 0);
            return c.GetTotalCharAttribute(CharAttributeType::Life);
        });
    };
    const std::vector<float> before = lives();
    SendFromHostile(IncrementBaseLifeConfigCmd(kHostile, 1000000));
    SendFromHostile(IncrementBaseManaConfigCmd(kHostile, -50));
    SendFromHostile(IncrementBaseLifeConfigCmd(kHostile));  // no point to spend
    EXPECT_EQ(lives(), before);
    EXPECT_EQ(game.Server().CountLog("no attribute point left"), 1);
    EXPECT_EQ(game.Server().CountLog("it names no amount"), 2);

    for (TestMachine* tm : game.Machines())
        ON_MACHINE(*tm) {
            Singleton<ObjectManager>::Get()
                .GetObject<Character>(kHostile)
                ->GetExperienceLevelControl()
                .AddModifierPoints(1);
        }
    SendFromHostile(IncrementBaseLifeConfigCmd(kHostile));
    const std::vector<float> after = lives();
    EXPECT_GT(after[0], before[0]);
    EXPECT_EQ(after, std::vector<float>(3, after[0]));  // the sender too, as the server says
    EXPECT_EQ(
        OnEachMachine(kHostile, [](const Character& c) { return c.GetModifierPoints() == 0; }),
        (std::vector<bool>{true, true, true}));
}

TEST_F(CharacterCommandTrust, AttributePointsAreSpentOnlyByTheirPlayerAndWhereTheMachinesMeet) {
    constexpr std::uint32_t kHostileMind = 0x602;
    // The players here have no record: only life and mana are in their base store.
    const auto baseLife = [&](std::uint32_t id) {
        return game.OnEach([id] {
            Character& c = *Singleton<ObjectManager>::Get().GetObject<Character>(id);
            c.GetCharacterBio().Update(c, 0);
            return c.GetCharacterBio().GetBaseCharAttribute(CharAttributeType::Life);
        });
    };
    const auto points = [&](std::uint32_t id) {
        return game.OnEach([id] {
            return Singleton<ObjectManager>::Get().GetObject<Character>(id)->GetModifierPoints();
        });
    };
    const auto givePoint = [&](std::uint32_t id) {
        for (TestMachine* tm : game.Machines())
            ON_MACHINE(*tm) {
                Singleton<ObjectManager>::Get()
                    .GetObject<Character>(id)
                    ->GetExperienceLevelControl()
                    .AddModifierPoints(1);
            }
    };
    const std::vector<float> before = baseLife(kHostile);

    // Without a point nothing rises; another player's point, or a pet's, is not the sender's.
    SendFromHostile(IncrementBaseStrengthConfigCmd(kHostile));
    SendFromHostile(IncrementBaseDexterityConfigCmd(kHostile));
    SendFromHostile(IncrementBaseIntelligenceConfigCmd(kHostile));
    EXPECT_EQ(game.Server().CountLog("no attribute point left"), 3);
    givePoint(kHonest);
    givePoint(kHonestPet);
    ON_MACHINE(game.Server()) {
        test::SetMasterId(*Singleton<ObjectManager>::Get().GetObject<Character>(kHonestPet),
                          kHostile);
    }
    SendFromHostile(IncrementBaseStrengthConfigCmd(kHonest));
    SendFromHostile(IncrementBaseStrengthConfigCmd(kHonestPet));
    EXPECT_EQ(game.Server().CountLog("not the sender's own player"), 1);
    EXPECT_EQ(game.Server().CountLog("Net: refused"), 5);
    EXPECT_EQ(baseLife(kHostile), before);
    EXPECT_EQ(points(kHonest), (std::vector<std::uint32_t>{1, 1, 1}));
    EXPECT_EQ(points(kHonestPet), (std::vector<std::uint32_t>{1, 1, 1}));

    // The honest spend through the player's controller runs on its own machine only as the
    // server passes it on, where the machines meet.
    givePoint(kHostile);
    ON_MACHINE(game.Client(0)) {
        auto& objects = Singleton<ObjectManager>::Get();
        objects.CreateObject<ControllerCombat>(kHostileMind)->AttachParent(kHostile);
        objects.GetObject<Character>(kHostile)->SetControllerId(kHostileMind);
        auto* mind = objects.GetObject<ControllerCombat>(kHostileMind);
        mind->IncrementCharacterLife();
        mind->IncrementCharacterLife();  // a second click on the same point pays nothing
        EXPECT_EQ(objects.GetObject<Character>(kHostile)->GetModifierPoints(), 1u);
    }
    game.Pump();
    const std::vector<float> after = baseLife(kHostile);
    EXPECT_GT(after[0], before[0]);
    EXPECT_EQ(after, std::vector<float>(3, after[0]));
    EXPECT_EQ(points(kHostile), (std::vector<std::uint32_t>{0, 0, 0}));
    EXPECT_EQ(game.Server().CountLog("Net: refused"), 5);
}

TEST_F(CharacterCommandTrust, FixedItemCommandsActOnlyOnFixedItems) {
    SendFromHostile(FixedItemStateChangeConfigCmd(kHonest, 1, kHostile, false));
    SendFromHostile(FixedItemTargetConfigCmd(kHostile, kHonest, {}));
    SendFromHostile(StrategicMovementTargetConfigCmd(kHonestPet, {kHostile}));
    EXPECT_EQ(game.Server().CountLog("Net: refused"), 3);
}

TEST_F(CharacterCommandTrust, ItsOwnPlayerCannotRemoveOrReleaseWhatIsNotItsOwn) {
    // Removing "an item" that is in truth the other player: nothing is destroyed anywhere.
    SendFromHostile(RemoveInventoryItemConfigCmd(kHostile, kHonest));
    SendFromHostile(RemoveInventoryItemConfigCmd(kHostile, kHonestPet));
    EXPECT_EQ(OnEachMachine(kHonest, [](const Character&) { return true; }),
              (std::vector<bool>{true, true, true}));
    EXPECT_EQ(OnEachMachine(kHonestPet, [](const Character&) { return true; }),
              (std::vector<bool>{true, true, true}));

    // Releasing another player's pet does not reach its controller; its own pet does.
    const auto alive = [](const Character& pet) { return pet.IsAlive(); };
    SendFromHostile(ReleasePetConfigCmd(kHostile, kHonestPet));
    EXPECT_EQ(OnEachMachine(kHonestPet, alive), (std::vector<bool>{true, true, true}));
    ON_MACHINE(game.Server()) {
        test::SetMasterId(*Singleton<ObjectManager>::Get().GetObject<Character>(kHonestPet),
                          kHostile);
    }
    SendFromHostile(ReleasePetConfigCmd(kHostile, kHonestPet));
    ON_MACHINE(game.Server()) {
        EXPECT_FALSE(Singleton<ObjectManager>::Get().GetObject<Character>(kHonestPet)->IsAlive());
    }
}

}  // namespace
}  // namespace GAME::test
