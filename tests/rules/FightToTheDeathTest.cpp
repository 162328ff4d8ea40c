// A knight fights a revenant to the death on two machines: the machine that decides the death
// sends the die packet, the other applies it. Both see the same combat trace, the same damage
// over time, the same death handling and the remains under the same ids.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "Engine/object/ObjectManager.h"
#include "Engine/sys/RandomUniform.h"
#include "Game/core/GameEngine.h"
#include "Game/core/net/packets/CharacterActionPackets.h"
#include "Game/rules/combat/CombatAttribute.h"
#include "Game/rules/combat/CombatManager.h"
#include "Game/rules/combat/ParametersCombat.h"
#include "Game/rules/death/DeathManager.h"
#include "characters/CharacterTestSupport.h"
#include "core/GamePacketsTestSupport.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

using T = CombatAttributeType;

struct FightLog {
    std::vector<std::string> trace;
    std::vector<float> revenantLife;  // after each frame while the body exists
    int deathFrame = -1;
    int removedFrame = -1;
    std::vector<std::uint32_t> remains;
    std::vector<std::string> remainsNames;
    float creditedToKnight = 0.0f;
    std::vector<std::uint8_t> diePacket;
};

bool Swing(Character& knight, Character& revenant, RandomUniform& random) {
    ParametersCombat attack(random);
    attack.attackerId = knight.GetObjectId();
    attack.combatStyle = ParametersCombatStyle::Probability;
    attack.offensiveAbility = knight.GetCombatManager().DesignerCalculateOffensiveAbility(0.0f);
    attack.accumulator.AddDamage(
        std::make_unique<CombatAttributeDamage_BasePhysical>(T::Physical, 12.0f, 0.0f, true));
    attack.accumulator.AddDamage(
        std::make_unique<CombatAttributeDurDamage>(T::Poison, 10.0f, 2.0f));
    attack.accumulator.ProcessDamage(knight, 0.0f, 0.0f, 0.0f, 0.0f);
    return revenant.TakeAttack(attack);
}

// The whole fight on the current machine. With `received` the death is the peer's: its die
// packet is applied; without, this machine decides and writes the packet.
FightLog Fight(TestMachine& tm, const std::vector<std::uint8_t>* received) {
    FightLog log;
    CombatManager::SetTraceEnabled(true);
    InitializeObjects();
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    Character* knight = MakeCharacter("Records/Combat/Knight.dbr");
    Character* revenant = MakeCharacter("Records/Combat/Revenant.dbr");
    EXPECT_NE(knight, nullptr);
    EXPECT_NE(revenant, nullptr);
    if (!knight || !revenant)
        return log;
    const std::uint32_t revenantId = revenant->GetObjectId();
    // The fighters are the same objects everywhere; the peer's own ids run ahead after them.
    if (received)
        for (int i = 0; i < 9; ++i)
            objects.CreateObjectID();
    // A first frame fills their life.
    RunFrame(*knight, 10);
    RunFrame(*revenant, 10);
    RandomUniform random;
    random.Seed(4711);
    int frame = 0;
    // The controller's kill once no life is left, as the die action carries it to every machine.
    auto killIfDead = [&](Character& body) {
        if (!body.IsAlive() || body.GetCurrentLife() > 0.0f)
            return;
        DiePacket packet;
        if (received) {
            packet.CopyInbound(received->data(), static_cast<int>(received->size()));
            EXPECT_TRUE(packet.IsInboundValid());
        } else {
            packet.character = revenantId;
            packet.deathHandlerIds = body.GetDeathManager()->CreateObjectIds();
            log.diePacket = BodyOf(packet);
        }
        // The root forgets the damage register of a creature once it has died.
        log.creditedToKnight = gGameEngine->GetDamageByAttacker(knight->GetObjectId(), revenantId);
        body.SetLifeState(Character_LifeState::Dying);
        EXPECT_TRUE(body.GetDeathManager()->SetObjectIds(packet.deathHandlerIds));
        body.GetDeathManager()->Execute();
        log.deathFrame = frame;
        log.remains = packet.deathHandlerIds;
    };
    for (; frame < 200 && log.removedFrame < 0; ++frame) {
        revenant = objects.GetObject<Character>(revenantId);
        if (revenant) {
            killIfDead(*revenant);
            if (revenant->IsAlive() && frame % 4 == 0)
                Swing(*knight, *revenant, random);
            killIfDead(*revenant);
        }
        // The death animation ends a few frames later.
        if (revenant && log.deathFrame >= 0 && frame == log.deathFrame + 3)
            revenant->GetDeathManager()->AnimationCallback(Name::Create("End"));
        RunFrame(*knight, 100);
        if (revenant) {
            RunFrame(*revenant, 100);
            log.revenantLife.push_back(revenant->GetCurrentLife());
        }
        gGameEngine->Update(100);
        if (log.deathFrame >= 0 && !objects.GetObject(revenantId))
            log.removedFrame = frame;
    }
    for (std::uint32_t id : log.remains) {
        auto* remains = objects.GetObject<Character>(id);
        log.remainsNames.push_back(remains ? remains->GetObjectName() : "");
    }
    for (const LogLine& line : tm.Log())
        if (line.channel == CombatManager::kTraceChannel)
            log.trace.push_back(line.text);
    ShutdownObjects();
    CombatManager::SetTraceEnabled(false);
    return log;
}

TEST(FightToTheDeath, TwoMachinesAgreeOnTheFightTheDeathAndTheRemains) {
    TestMachine decider;
    TestMachine peer;
    FightLog a, b;
    ON_MACHINE(decider) {
        a = Fight(decider, nullptr);
    }
    ASSERT_FALSE(a.diePacket.empty());
    ON_MACHINE(peer) {
        b = Fight(peer, &a.diePacket);
    }

    // The fight: poison ticks between swings and the body fades and goes after its death.
    ASSERT_GE(a.deathFrame, 0);
    ASSERT_GE(a.removedFrame, a.deathFrame + 3);
    EXPECT_GT(a.trace.size(), 20u);
    // Every point of its life went to the knight, hits and poison alike (the killing blow may
    // take more than was left).
    EXPECT_GE(a.creditedToKnight, 150.0f);
    EXPECT_TRUE(std::any_of(a.trace.begin(), a.trace.end(), [](const std::string& line) {
        return line.find("Damage") != std::string::npos;
    }));
    ASSERT_EQ(a.remains.size(), 2u);
    EXPECT_EQ(a.remainsNames, (std::vector<std::string>{"Records/Characters/Brute.dbr",
                                                        "Records/Monsters/Wolf.dbr"}));

    // The same on the peer, frame for frame and line for line.
    EXPECT_EQ(b.trace, a.trace);
    EXPECT_EQ(b.revenantLife, a.revenantLife);
    EXPECT_EQ(b.deathFrame, a.deathFrame);
    EXPECT_EQ(b.removedFrame, a.removedFrame);
    EXPECT_EQ(b.remains, a.remains);
    EXPECT_EQ(b.remainsNames, a.remainsNames);
    EXPECT_FLOAT_EQ(b.creditedToKnight, a.creditedToKnight);
}

}  // namespace
}  // namespace GAME::test
