#include "Game/characters/actions/CharacterActionNetwork.h"

#include <algorithm>
#include <cmath>

#include "Engine/Engine.h"
#include "Engine/net/NetFaultLog.h"
#include "Engine/net/NetworkConnectionManager.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/sys/Machine.h"
#include "Engine/world/World.h"
#include "Game/ai/controllers/CharacterController.h"
#include "Game/ai/controllers/ControllerBaseCharacter.h"
#include "Game/characters/Character.h"
#include "Game/characters/Player.h"
#include "Game/characters/actions/CharacterActionHandler.h"
#include "Game/characters/actions/CharacterActions.h"
#include "Game/characters/npc/Npc.h"
#include "Game/core/net/GameEngineInboundInterface.h"
#include "Game/core/net/packets/CharacterActionPackets.h"
#include "Game/rules/death/DeathManager.h"
#include "Game/world/fixeditems/FixedItem.h"

namespace GAME {

bool SendCharacterAction(const CharacterAction& action) {
    if (!gEngine->IsNetworkEnabled() || !action.SupportsNetwork())
        return false;
    NetworkConnectionManager* connections = gEngine->GetNetworkConnectionManager();
    if (!connections || !connections->IsConnected())
        return false;
    std::unique_ptr<CharacterActionPacketBase> packet = action.GetNetPacket();
    return packet && connections->SendPacket(packet.get());
}

namespace {

std::unique_ptr<CharacterActionBase> BuildAction(const CharacterActionPacketBase& packet) {
    const std::uint32_t id = packet.character.GetId();
    switch (packet.GetType()) {
        case PacketType::IdleActionPacket:
            return std::make_unique<IdleAction>(id);
        case PacketType::LongIdleActionPacket:
            return std::make_unique<LongIdleAction>(id);
        case PacketType::MoveToPacket: {
            const auto& p = static_cast<const MoveToPacket&>(packet);
            return std::make_unique<MoveToAction>(id, p.startLocation, p.worldLocation, p.targetId,
                                                  p.skillNumber, p.speed);
        }
        case PacketType::WalkPacket: {
            const auto& p = static_cast<const WalkPacket&>(packet);
            return std::make_unique<WalkAction>(id, p.startLocation, p.worldLocation, p.targetId);
        }
        case PacketType::PickUpItemPacket:
            return std::make_unique<PickUpAction>(
                id, static_cast<const PickUpItemPacket&>(packet).itemId);
        case PacketType::UseItemPacket:
            return std::make_unique<UseAction>(id,
                                               static_cast<const UseItemPacket&>(packet).itemId);
        case PacketType::AttackPacket: {
            const auto& p = static_cast<const AttackPacket&>(packet);
            return std::make_unique<AttackAction>(id, p.defenderId, p.location, p.skillNumber,
                                                  p.seed);
        }
        case PacketType::TakeStunPacket:
            return std::make_unique<TakeStunAction>(id);
        case PacketType::ImmobilizePacket:
            return std::make_unique<ImmobilizeAction>(id);
        case PacketType::TakeTrapPacket:
            return std::make_unique<TakeTrapAction>(id);
        case PacketType::DiePacket:
            return std::make_unique<DieAction>(
                id, static_cast<const DiePacket&>(packet).deathHandlerIds);
        case PacketType::ChatActionPacket:
            return std::make_unique<ChatAction>(
                id, static_cast<const ChatActionPacket&>(packet).targetId);
        case PacketType::PlayAnimationActionPacket: {
            const auto& p = static_cast<const PlayAnimationActionPacket&>(packet);
            // A name this machine did not know comes only from the server (a client's is
            // refused unknown): made now, after the vetting.
            const Name name =
                p.unknownName.IsEmpty() ? p.animationName : Name::Create(p.unknownName.View());
            return std::make_unique<PlayAnimationAction>(
                id, static_cast<AnimationSet_Type>(p.animationType), name, p.speedModifier, p.loop,
                p.iteration);
        }
        case PacketType::EngageNpcPacket:
            // The two flags stay on the machine that decided the action.
            return std::make_unique<EngageNpcAction>(
                id, static_cast<const EngageNpcPacket&>(packet).targetId, false, false);
        case PacketType::SpawnActionPacket:
            return std::make_unique<SpawnAction>(id);
        case PacketType::RespawnPacket:
            return std::make_unique<RespawnAction>(
                id, static_cast<const RespawnPacket&>(packet).respawnCoords);
        default:
            return nullptr;
    }
}

bool Finite(float value) {
    return std::isfinite(value);
}

bool Finite(const WorldVec3& point) {
    return Finite(point.local.x) && Finite(point.local.y) && Finite(point.local.z);
}

// Where the server has a character come back: a player at the respawn shrine it bound.
WorldCoords RespawnPlaceOf(const Character& character) {
    if (const auto* player = dynamic_cast<const Player*>(&character))
        return player->GetClosestRespawnPoint();
    return character.GetSpawnPoint();
}

bool Finite(const WorldCoords& coords) {
    const Coords& c = coords.coords;
    for (const Vec3* v : {&c.xAxis, &c.yAxis, &c.zAxis, &c.origin})
        if (!Finite(WorldVec3(nullptr, *v)))
            return false;
    return true;
}

void Refuse(const CharacterActionPacketBase& packet, int host, const char* why) {
    NetFaultLog::Get().Report(1, host, NetFault::Refused, packet.GetType(),
                              "Character action %s from host %d for character %u refused: %s",
                              GetGamePacketKindName(packet.GetType()), host,
                              packet.character.GetId(), why);
}

// Combat states and coming into the world are the server's to decide; a death only as the
// server's own copy of the life has it (VetClientAction).
bool ClientMaySend(PACKET_TYPE type) {
    switch (type) {
        case PacketType::TakeStunPacket:
        case PacketType::ImmobilizePacket:
        case PacketType::TakeTrapPacket:
        case PacketType::DiePacket:
        case PacketType::SpawnActionPacket:
            return false;
        default:
            return true;
    }
}

// A start far from where the character stands would place it there: a client moves its
// character by running or walking, never by naming a new start. The server's position goes on
// in its place, to every machine. The position is the one a move starts from, the path
// position: an honest client names its own, which its shown place may have left behind (an
// avoidance step), and must not be replaced by the shown place.
void VetStart(const CharacterActionPacketBase& packet, int host, const Character& character,
              WorldVec3& start) {
    const WorldVec3 here = character.GetPathPosition();
    if (World::Get().GetDistanceSquared(here, start) <= MoveToAction::kJumpToStartDistanceSquared)
        return;
    NetFaultLog::Get().Report(1, host, NetFault::Refused, packet.GetType(),
                              "%s from host %d: start of character %u replaced by its position "
                              "on the server",
                              GetGamePacketKindName(packet.GetType()), host,
                              packet.character.GetId());
    start = here;
}

// The server's vetting of a client's action; may rewrite what the server knows better. False:
// refused (logged), nothing runs.
bool VetClientAction(CharacterActionPacketBase& packet, int host, Character& character) {
    const PACKET_TYPE type = packet.GetType();
    if (!GameEngineInboundInterface::ClientMayCommand(host, type, packet.character.GetId())) {
        Refuse(packet, host, "not the sender's character");
        return false;
    }
    if (!ClientMaySend(type)) {
        Refuse(packet, host, "the server decides this action");
        return false;
    }
    if (packet.hasPreMove && (!Finite(packet.preMovePosition) || !Finite(packet.preMoveValue))) {
        Refuse(packet, host, "pre-move not finite");
        return false;
    }
    switch (type) {
        case PacketType::MoveToPacket: {
            auto& p = static_cast<MoveToPacket&>(packet);
            if (!Finite(p.startLocation) || !Finite(p.worldLocation) || !Finite(p.speed)) {
                Refuse(packet, host, "position not finite");
                return false;
            }
            VetStart(packet, host, character, p.startLocation);
            return true;
        }
        case PacketType::WalkPacket: {
            auto& p = static_cast<WalkPacket&>(packet);
            if (!Finite(p.startLocation) || !Finite(p.worldLocation)) {
                Refuse(packet, host, "position not finite");
                return false;
            }
            VetStart(packet, host, character, p.startLocation);
            return true;
        }
        case PacketType::AttackPacket:
            if (!Finite(static_cast<const AttackPacket&>(packet).location)) {
                Refuse(packet, host, "position not finite");
                return false;
            }
            return true;
        case PacketType::PlayAnimationActionPacket: {
            const auto& p = static_cast<const PlayAnimationActionPacket&>(packet);
            if (p.animationType < 0 ||
                p.animationType >= static_cast<int>(kAnimationSetTypeCount) ||
                !Finite(p.speedModifier) || p.speedModifier < 0.0f) {
                Refuse(packet, host, "animation out of range");
                return false;
            }
            if (!p.unknownName.IsEmpty()) {
                Refuse(packet, host, "an animation name no record knows");
                return false;
            }
            return true;
        }
        case PacketType::UseItemPacket: {
            // A placed object is used only by a player standing at it.
            const auto* item = Singleton<ObjectManager>::Get().GetObject<FixedItem>(
                static_cast<const UseItemPacket&>(packet).itemId);
            if (item && !FixedItemWithinUseReach(character, *item)) {
                Refuse(packet, host, "the fixed item is out of reach");
                return false;
            }
            return true;
        }
        case PacketType::EngageNpcPacket: {
            // A player talks only to a non-player character he stands at.
            const auto* npc = Singleton<ObjectManager>::Get().GetObject<Npc>(
                static_cast<const EngageNpcPacket&>(packet).targetId);
            if (!npc || !NpcWithinTalkReach(character, *npc)) {
                Refuse(packet, host, "the NPC is out of reach");
                return false;
            }
            return true;
        }
        case PacketType::RespawnPacket:
            // Only the dead come back, and where the server has them spawn: the respawn shrine
            // the server saw them bind, else their spawn point.
            if (character.IsAlive()) {
                Refuse(packet, host, "the character is alive");
                return false;
            }
            static_cast<RespawnPacket&>(packet).respawnCoords = RespawnPlaceOf(character);
            return Finite(static_cast<RespawnPacket&>(packet).respawnCoords);
        default:
            return true;
    }
}

}  // namespace

std::unique_ptr<CharacterAction> BuildCharacterAction(const CharacterActionPacketBase& packet) {
    std::unique_ptr<CharacterActionBase> action = BuildAction(packet);
    if (action && packet.hasPreMove)
        action->SetPreMoveData(packet.preMovePosition, packet.preMoveTargetId,
                               packet.preMoveSkillId, packet.preMoveValue);
    return action;
}

void ReceiveCharacterAction(NetPacket& received) {
    auto& packet = static_cast<CharacterActionPacketBase&>(received);
    const int host = packet.GetHeader().sourceHost;
    Character* character =
        Singleton<ObjectManager>::Get().GetObject<Character>(packet.character.GetId());
    if (!character) {
        NetFaultLog::Get().Report(2, host, NetFault::ObjectsMissing, packet.GetType(),
                                  "Character action %s from host %d names %u, not a character",
                                  GetGamePacketKindName(packet.GetType()), host,
                                  packet.character.GetId());
        return;
    }
    const bool fromClient = gEngine->IsServer() && host > 0;
    if (fromClient && !VetClientAction(packet, host, *character))
        return;
    std::unique_ptr<CharacterAction> action = BuildCharacterAction(packet);
    if (!action)
        return;
    // Admitted by the rule the sender applied after sending (allowed, queued behind the current
    // action, or refused; a pre-move first), so every machine runs the same actions.
    if (auto* controller = FindController<ControllerBaseCharacter>(*character))
        controller->LocalHandleAction(std::move(action));
    else
        character->GetActionHandler().Execute(std::move(action));
    // The server passes a client's action on, so every machine runs it once.
    if (fromClient)
        if (NetworkConnectionManager* connections = gEngine->GetNetworkConnectionManager())
            connections->SendToAllClientsExcept(host, &packet);
}

}  // namespace GAME
