#pragma once
// The packets of the commands that change a character's items, base attributes, control states,
// visibility, flags and team, and of the two that end a scripted quest move or animation. Every
// body begins with the character's object id; kinds of one body share one layout.
#include <array>
#include <cstdint>
#include <cstring>

#include "Engine/net/NetPacket.h"
#include "Engine/net/SmartObjectId.h"
#include "Engine/net/fields/NetFieldLabels.h"
#include "Engine/net/fields/NetPacketFields.h"
#include "Engine/world/Region.h"
#include "Game/core/net/packets/GameEnginePacketKind.h"
#include "Game/core/players/Team.h"

namespace GAME {

// The object id alone: the attribute increments, the releases, the quest completions, the
// Typhon command.
template <PACKET_TYPE Type>
class CharacterOnlyPacket : public ObjectInteractionPacket {
    GAME_PACKET_LAYOUT_OPERATIONS(CharacterOnlyPacket, ObjectInteractionPacket)
    SmartObjectId parent{this};

    template <class V>
    void VisitFields(V& v) {
        v.Object(parent, "Parent ID: ");
    }
};

// One flag: visibility, causing anger, invincibility.
template <PACKET_TYPE Type>
class CharacterFlagPacket : public ObjectInteractionPacket {
    GAME_PACKET_LAYOUT_OPERATIONS(CharacterFlagPacket, ObjectInteractionPacket)
    SmartObjectId parent{this};
    bool flag = false;

    template <class V>
    void VisitFields(V& v) {
        v.Object(parent, "Parent ID: ");
        v.Bool(flag, Label());
    }

private:
    static constexpr const char* Label() {
        if constexpr (Type == PacketType::ShowCharacterConfigCmdPacket)
            return "Visible: ";
        else if constexpr (Type == PacketType::SetCausesAngerConfigCmdPacket)
            return "CausesAnger: ";
        else
            return "Invincible: ";
    }
};

// One 32-bit number: an amount, an item, a pet or a sound.
template <PACKET_TYPE Type>
class CharacterNumberPacket : public ObjectInteractionPacket {
    GAME_PACKET_LAYOUT_OPERATIONS(CharacterNumberPacket, ObjectInteractionPacket)
    SmartObjectId parent{this};
    std::uint32_t number = 0;

    template <class V>
    void VisitFields(V& v) {
        v.Object(parent, "Parent ID: ");
        if constexpr (Type == PacketType::IncBaseLifeConfigCmdPacket ||
                      Type == PacketType::IncBaseManaConfigCmdPacket) {
            auto amount = static_cast<std::int32_t>(number);
            v.Word(amount, "Increment Amount: ");
            number = static_cast<std::uint32_t>(amount);
        } else {
            v.Word(number, Label());
        }
    }

private:
    static constexpr const char* Label() {
        if constexpr (Type == PacketType::ReleasePetConfigCmdPacket)
            return "Pet ID: ";
        else if constexpr (Type == PacketType::PlaySoundConfigCmdPacket)
            return "Sound Index: ";
        else
            return "Item ID: ";
    }
};

class DropItemConfigCmdPacket : public ObjectInteractionPacket {
    GAME_PACKET_KIND_OPERATIONS(DropItemConfigCmdPacket)
    SmartObjectId parent{this};
    std::uint32_t itemId = 0;
    float x = 0.0f;
    float z = 0.0f;

    template <class V>
    void VisitFields(V& v) {
        v.Object(parent, "Parent ID: ");
        v.Word(itemId, "Item ID: ");
        v.Word(x, "X: ");
        v.Word(z, "Z: ");
    }
};

class DropItemFromEquipLocConfigCmdPacket : public ObjectInteractionPacket {
    GAME_PACKET_KIND_OPERATIONS(DropItemFromEquipLocConfigCmdPacket)
    SmartObjectId parent{this};
    std::uint32_t itemId = 0;
    std::uint32_t location = 0;
    bool toss = false;

    template <class V>
    void VisitFields(V& v) {
        v.Object(parent, "Parent ID: ");
        v.Word(itemId, "Item ID: ");
        v.Word(location, "Equip Location: ");
        v.Bool(toss, "Toss: ");
    }
};

class UseItemConfigCmdPacket : public ObjectInteractionPacket {
    GAME_PACKET_KIND_OPERATIONS(UseItemConfigCmdPacket)
    SmartObjectId parent{this};
    std::uint32_t itemId = 0;
    bool destroy = false;

    template <class V>
    void VisitFields(V& v) {
        v.Object(parent, "Parent ID: ");
        v.Word(itemId, "Item ID: ");
        v.Bool(destroy, "Destory: ");
    }
};

class UseRelicConfigCmdPacket : public ObjectInteractionPacket {
    GAME_PACKET_KIND_OPERATIONS(UseRelicConfigCmdPacket)
    SmartObjectId parent{this};
    std::uint32_t relicId = 0;
    std::uint32_t itemId = 0;

    template <class V>
    void VisitFields(V& v) {
        v.Object(parent, "Parent ID: ");
        v.Word(relicId, "Relic ID: ");
        v.Word(itemId, "Item ID: ");
    }
};

class AttachItemConfigCmdPacket : public ObjectInteractionPacket {
    GAME_PACKET_KIND_OPERATIONS(AttachItemConfigCmdPacket)
    SmartObjectId parent{this};
    std::uint32_t itemId = 0;
    std::uint32_t location = 0;

    template <class V>
    void VisitFields(V& v) {
        v.Object(parent, "Parent ID: ");
        v.Word(itemId, "Item ID: ");
        v.Word(location, "Equip Location: ");
    }
};

class PickupItemConfigCmdPacket : public ObjectInteractionPacket {
    GAME_PACKET_KIND_OPERATIONS(PickupItemConfigCmdPacket)
    SmartObjectId parent{this};
    SmartObjectId item{this};

    template <class V>
    void VisitFields(V& v) {
        v.Object(parent, "Parent ID: ");
        v.Object(item, "Item ID: ");
    }
};

class StartStopDamageEffectConfigCmdPacket : public ObjectInteractionPacket {
    GAME_PACKET_KIND_OPERATIONS(StartStopDamageEffectConfigCmdPacket)
    SmartObjectId parent{this};
    bool start = false;
    std::uint32_t type = 0;

    template <class V>
    void VisitFields(V& v) {
        v.Object(parent, "Parent ID: ");
        v.Bool(start, "Start: ");
        v.Word(type, "Type: ");
    }
};

// The team travels as its 12-byte image: major, minor, the set flag and zeroed padding.
class SetTeamConfigCmdPacket : public ObjectInteractionPacket {
    GAME_PACKET_KIND_OPERATIONS(SetTeamConfigCmdPacket)
    SmartObjectId parent{this};
    Team team;

    template <class V>
    void VisitFields(V& v) {
        v.Object(parent, "Parent ID: ");
        if constexpr (!V::kDescribes) {
            std::uint32_t major = team.GetTeamMajor();
            std::uint32_t minor = team.GetTeamMinor();
            std::array<std::uint8_t, 4> flagAndPadding{};
            flagAndPadding[0] = team.IsInitialized() ? 1 : 0;
            v.Word(major);
            v.Word(minor);
            for (std::uint8_t& byte : flagAndPadding)
                v.Byte(byte);
            if constexpr (V::kReads) {
                // Only Set marks a team, so an unset one reads back as the default.
                team = Team();
                if (!v.Failed() && flagAndPadding[0] != 0)
                    team.Set(major, minor);
            }
        }
    }
};

class RequestAllyAttackConfigCmdPacket : public ObjectInteractionPacket {
    GAME_PACKET_KIND_OPERATIONS(RequestAllyAttackConfigCmdPacket)
    SmartObjectId parent{this};
    SmartObjectId requester{this};
    std::uint32_t targetId = 0;

    template <class V>
    void VisitFields(V& v) {
        v.Object(parent, "Parent ID: ");
        v.Object(requester, "Requester ID: ");
        v.Word(targetId, "Target ID: ");
    }
};

class RequestAllyMoveConfigCmdPacket : public ObjectInteractionPacket {
    GAME_PACKET_KIND_OPERATIONS(RequestAllyMoveConfigCmdPacket)
    SmartObjectId parent{this};
    SmartObjectId requester{this};
    WorldVec3 point;

    template <class V>
    void VisitFields(V& v) {
        v.Object(parent, "Parent ID: ");
        v.Object(requester, "Requester ID: ");
        v.Position(point, "Target point: ");
    }
};

// clang-format off
// The kinds of the shared layouts: X(packet, layout).
#define GAME_CHARACTER_LAYOUT_PACKETS(X)                         \
    X(IncBaseStrengthConfigCmdPacket, CharacterOnlyPacket)               \
    X(IncBaseDexterityConfigCmdPacket, CharacterOnlyPacket)              \
    X(IncBaseIntelligenceConfigCmdPacket, CharacterOnlyPacket)           \
    X(ReleaseTrapConfigCmdPacket, CharacterOnlyPacket)                   \
    X(ReleaseStunConfigCmdPacket, CharacterOnlyPacket)                   \
    X(ReleaseImmobilizeConfigCmdPacket, CharacterOnlyPacket)             \
    X(QuestMoveCompletedConfigCmdPacket, CharacterOnlyPacket)            \
    X(QuestAnimationCompletedConfigCmdPacket, CharacterOnlyPacket)       \
    X(DisableTyphonSkillEffectsConfigCmdPacket, CharacterOnlyPacket)     \
    X(ShowCharacterConfigCmdPacket, CharacterFlagPacket)                 \
    X(SetCausesAngerConfigCmdPacket, CharacterFlagPacket)                \
    X(SetInvincibleConfigCmdPacket, CharacterFlagPacket)                 \
    X(IncBaseLifeConfigCmdPacket, CharacterNumberPacket)                 \
    X(IncBaseManaConfigCmdPacket, CharacterNumberPacket)                 \
    X(DetachItemConfigCmdPacket, CharacterNumberPacket)                  \
    X(RemoveInventoryItemConfigCmdPacket, CharacterNumberPacket)         \
    X(ReleasePetConfigCmdPacket, CharacterNumberPacket)                  \
    X(PlaySoundConfigCmdPacket, CharacterNumberPacket)
// clang-format on

#define GAME_CHARACTER_LAYOUT_PACKET_CLASS(Kind, Layout) \
    class Kind : public Layout<PacketType::Kind> {};
GAME_CHARACTER_LAYOUT_PACKETS(GAME_CHARACTER_LAYOUT_PACKET_CLASS)
#undef GAME_CHARACTER_LAYOUT_PACKET_CLASS

}  // namespace GAME
