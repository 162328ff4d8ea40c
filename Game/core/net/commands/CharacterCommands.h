#pragma once
// The configuration commands that change a character's base attributes, control states,
// visibility, flags and team, order a pet, or end a scripted quest move or animation. Each runs
// on the character its object id names, on every machine, and does nothing where it is absent.
#include <cstdint>
#include <type_traits>

#include "Engine/net/ActorConfigCommand.h"
#include "Game/core/net/packets/CharacterCommandPackets.h"
#include "Game/core/players/Team.h"
#include "Game/rules/combat/CombatAttributeType.h"

namespace GAME {

class Character;

// The character the id names on this machine, or null.
Character* FindCommandCharacter(unsigned int id);

// A command with no values: one operation of the character.
template <class Packet, void (*Call)(Character&)>
class CharacterCallConfigCmd : public ActorConfigCommand {
public:
    explicit CharacterCallConfigCmd(unsigned int objectId) : ActorConfigCommand(objectId) {
        SetFlag(1);
    }
    explicit CharacterCallConfigCmd(const Packet& packet)
        : CharacterCallConfigCmd(packet.parent.GetId()) {}
    void Execute() override {
        if (Character* character = FindCommandCharacter(GetObjectId()))
            Call(*character);
    }
    std::unique_ptr<NetPacket> GetNetPacket() override {
        auto packet = std::make_unique<Packet>();
        packet->parent = GetObjectId();
        return packet;
    }
};

// A command with one value handed to the character with it.
template <class Packet, class Value, void (*Call)(Character&, Value)>
class CharacterValueConfigCmd : public ActorConfigCommand {
public:
    CharacterValueConfigCmd(unsigned int objectId, Value value_)
        : ActorConfigCommand(objectId), value(value_) {
        SetFlag(1);
    }
    explicit CharacterValueConfigCmd(const Packet& packet)
        : CharacterValueConfigCmd(packet.parent.GetId(), static_cast<Value>(packet.*Field())) {}
    void Execute() override {
        if (Character* character = FindCommandCharacter(GetObjectId()))
            Call(*character, value);
    }
    std::unique_ptr<NetPacket> GetNetPacket() override {
        auto packet = std::make_unique<Packet>();
        packet->parent = GetObjectId();
        (*packet).*Field() =
            static_cast<std::remove_reference_t<decltype((*packet).*Field())>>(value);
        return packet;
    }

    Value value;

private:
    static constexpr auto Field() {
        if constexpr (requires { &Packet::flag; })
            return &Packet::flag;
        else
            return &Packet::number;
    }
};

namespace character_calls {
void IncrementBaseStrength(Character& c);
void IncrementBaseDexterity(Character& c);
void IncrementBaseIntelligence(Character& c);
void ReleaseTrap(Character& c);
void ReleaseStun(Character& c);
void ReleaseImmobilize(Character& c);
void QuestMoveCompleted(Character& c);
void QuestAnimationCompleted(Character& c);
// Amount 0 is the character's own standard step.
void IncrementBaseLife(Character& c, int amount);
void IncrementBaseMana(Character& c, int amount);
void PlaySound(Character& c, std::uint32_t index);
void Show(Character& c, bool visible);
void SetCausesAnger(Character& c, bool on);
void SetInvincible(Character& c, bool on);
}  // namespace character_calls

// clang-format off
// X(command, packet, operation)
#define GAME_CHARACTER_CALL_COMMANDS(X)                                                            \
    X(ReleaseTrapConfigCmd, ReleaseTrapConfigCmdPacket, ReleaseTrap)                                \
    X(ReleaseStunConfigCmd, ReleaseStunConfigCmdPacket, ReleaseStun)                                \
    X(ReleaseImmobilizeConfigCmd, ReleaseImmobilizeConfigCmdPacket, ReleaseImmobilize)              \
    X(QuestMoveCompletedConfigCmd, QuestMoveCompletedConfigCmdPacket, QuestMoveCompleted)           \
    X(QuestAnimationCompletedConfigCmd, QuestAnimationCompletedConfigCmdPacket,                     \
      QuestAnimationCompleted)
// The spends of an attribute point (X(command, packet, operation)).
#define GAME_CHARACTER_SPEND_COMMANDS(X)                                                           \
    X(IncrementBaseStrengthConfigCmd, IncBaseStrengthConfigCmdPacket, IncrementBaseStrength)        \
    X(IncrementBaseDexterityConfigCmd, IncBaseDexterityConfigCmdPacket, IncrementBaseDexterity)     \
    X(IncrementBaseIntelligenceConfigCmd, IncBaseIntelligenceConfigCmdPacket,                       \
      IncrementBaseIntelligence)
// X(command, packet, value type, operation)
#define GAME_CHARACTER_VALUE_COMMANDS(X)                                                           \
    X(PlaySoundConfigCmd, PlaySoundConfigCmdPacket, std::uint32_t, PlaySound)                       \
    X(ShowCharacterConfigCmd, ShowCharacterConfigCmdPacket, bool, Show)                             \
    X(SetCausesAngerConfigCmd, SetCausesAngerConfigCmdPacket, bool, SetCausesAnger)                 \
    X(SetInvincibleConfigCmd, SetInvincibleConfigCmdPacket, bool, SetInvincible)
// clang-format on

#define GAME_CHARACTER_CALL_COMMAND_CLASS(Command, Packet, Operation)                    \
    class Command : public CharacterCallConfigCmd<Packet, &character_calls::Operation> { \
    public:                                                                              \
        using CharacterCallConfigCmd::CharacterCallConfigCmd;                            \
    };
#define GAME_CHARACTER_VALUE_COMMAND_CLASS(Command, Packet, Value, Operation)                    \
    class Command : public CharacterValueConfigCmd<Packet, Value, &character_calls::Operation> { \
    public:                                                                                      \
        using CharacterValueConfigCmd::CharacterValueConfigCmd;                                  \
    };
// The attribute steps spend a point where the character has one (none left: no rise). From a
// client only the spend of its own player's point is taken, and only while the server's copy has
// one: a request, which the asker too runs only as the server passes it on, so a refused spend
// (points the server never heard of) changes nothing anywhere. Every machine makes the spend at
// the meeting point (a strike), so the points left agree and the same point never pays twice.
#define GAME_CHARACTER_SPEND_COMMAND_CLASS(Command, Packet, Operation)                   \
    class Command : public CharacterCallConfigCmd<Packet, &character_calls::Operation> { \
    public:                                                                              \
        using CharacterCallConfigCmd::CharacterCallConfigCmd;                            \
        bool AcceptFromClient(int sourceHost) const override;                            \
        bool IsStrike() const override { return true; }                                  \
        bool IsRequest() const override { return true; }                                 \
    };
GAME_CHARACTER_CALL_COMMANDS(GAME_CHARACTER_CALL_COMMAND_CLASS)
GAME_CHARACTER_SPEND_COMMANDS(GAME_CHARACTER_SPEND_COMMAND_CLASS)
GAME_CHARACTER_VALUE_COMMANDS(GAME_CHARACTER_VALUE_COMMAND_CLASS)
#undef GAME_CHARACTER_CALL_COMMAND_CLASS
#undef GAME_CHARACTER_SPEND_COMMAND_CLASS
#undef GAME_CHARACTER_VALUE_COMMAND_CLASS

// Life and mana: without an amount (0) every machine applies the character's own step; an amount
// raises the base without spending anything, so a client never sends one.
class IncrementBaseLifeConfigCmd
    : public CharacterValueConfigCmd<IncBaseLifeConfigCmdPacket, int,
                                     &character_calls::IncrementBaseLife> {
public:
    using CharacterValueConfigCmd::CharacterValueConfigCmd;
    explicit IncrementBaseLifeConfigCmd(unsigned int objectId)
        : CharacterValueConfigCmd(objectId, 0) {}
    bool AcceptFromClient(int sourceHost) const override;
    bool IsStrike() const override { return true; }
    bool IsRequest() const override { return true; }
};

class IncrementBaseManaConfigCmd
    : public CharacterValueConfigCmd<IncBaseManaConfigCmdPacket, int,
                                     &character_calls::IncrementBaseMana> {
public:
    using CharacterValueConfigCmd::CharacterValueConfigCmd;
    explicit IncrementBaseManaConfigCmd(unsigned int objectId)
        : CharacterValueConfigCmd(objectId, 0) {}
    bool AcceptFromClient(int sourceHost) const override;
    bool IsStrike() const override { return true; }
    bool IsRequest() const override { return true; }
};

class StartStopDamageEffectConfigCmd : public ActorConfigCommand {
public:
    StartStopDamageEffectConfigCmd(unsigned int objectId, bool start, CombatAttributeType type);
    explicit StartStopDamageEffectConfigCmd(const StartStopDamageEffectConfigCmdPacket& packet);
    void Execute() override;
    std::unique_ptr<NetPacket> GetNetPacket() override;

    bool start;
    CombatAttributeType type;
};

class SetTeamConfigCmd : public ActorConfigCommand {
public:
    SetTeamConfigCmd(unsigned int objectId, const Team& team);
    explicit SetTeamConfigCmd(const SetTeamConfigCmdPacket& packet);
    void Execute() override;
    std::unique_ptr<NetPacket> GetNetPacket() override;

    Team team;
};

// The pet orders: the object id names the pet, the requester is the player who gave the order.
class RequestAllyAttackConfigCmd : public ActorConfigCommand {
public:
    RequestAllyAttackConfigCmd(unsigned int petId, std::uint32_t requesterId,
                               std::uint32_t targetId);
    explicit RequestAllyAttackConfigCmd(const RequestAllyAttackConfigCmdPacket& packet);
    void Execute() override;
    std::unique_ptr<NetPacket> GetNetPacket() override;

    std::uint32_t requesterId;
    std::uint32_t targetId;
};

class RequestAllyMoveConfigCmd : public ActorConfigCommand {
public:
    RequestAllyMoveConfigCmd(unsigned int petId, std::uint32_t requesterId, const WorldVec3& point);
    explicit RequestAllyMoveConfigCmd(const RequestAllyMoveConfigCmdPacket& packet);
    void Execute() override;
    std::unique_ptr<NetPacket> GetNetPacket() override;

    std::uint32_t requesterId;
    WorldVec3 point;
};

// Ends the Typhon's skill effects; no character class is a Typhon yet, so it changes nothing.
class DisableTyphonSkillEffectsConfigCmd : public ActorConfigCommand {
public:
    explicit DisableTyphonSkillEffectsConfigCmd(unsigned int objectId);
    explicit DisableTyphonSkillEffectsConfigCmd(
        const DisableTyphonSkillEffectsConfigCmdPacket& packet);
    void Execute() override;
    std::unique_ptr<NetPacket> GetNetPacket() override;
};

}  // namespace GAME
