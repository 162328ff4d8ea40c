#pragma once
// The packets of the skill commands: a skill's targeting result with its seed, a projectile
// under the sender's id, spawned objects, a skill's level and active state, a buff and a skill
// activation. Skills travel as the character's 16-bit skill reference number.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "Engine/net/NetPacket.h"
#include "Engine/net/SmartObjectId.h"
#include "Engine/net/fields/NetFieldLabels.h"
#include "Engine/net/fields/NetPacketFields.h"
#include "Engine/world/Region.h"
#include "Game/core/net/packets/GameEnginePacketKind.h"
#include "Game/skills/manager/SkillState.h"

namespace GAME {

// Flags of the target result: what follows the origin.
enum SkillTargetResultFlags : std::uint8_t {
    kTargetResultUseWeapon = 1,
    kTargetResultHitIteration = 2,
    kTargetResultOneTarget = 4,
    kTargetResultTargetList = 8,
};

// The hit iteration travels in one signed byte. Only whether it is 0 or 1 matters to the
// receiver, so larger counts stay at the byte's largest value instead of wrapping back to 1.
constexpr std::uint8_t HitIterationByte(int iteration) {
    return static_cast<std::uint8_t>(static_cast<std::int8_t>(std::clamp(iteration, -128, 127)));
}

// A state image of 8 bytes: written byte by byte, padding included.
template <class V, class State>
void VisitStateImage(V& v, State& state) {
    SkillStateImage image{};
    if constexpr (V::kWrites)
        image = state.ToImage();
    for (std::uint8_t& byte : image)
        v.Byte(byte);
    if constexpr (V::kReads) {
        if (!v.Failed())
            state = State::FromImage(image);
    }
}

class SkillTargetResultConfigCmdPacket : public ObjectInteractionPacket {
    GAME_PACKET_KIND_OPERATIONS(SkillTargetResultConfigCmdPacket)
    SmartObjectId parent{this};
    unsigned int reference = 0;
    SmartObjectIdListNullable targets{this};
    WorldCoords origin;
    std::uint16_t seed = 0;
    std::uint32_t weaponId = 0;
    bool useWeapon = false;
    int hitIteration = 0;

    std::uint8_t WireFlags() const;

    template <class V>
    void VisitFields(V& v) {
        std::uint8_t flags = 0;
        if constexpr (!V::kReads)
            flags = WireFlags();
        if constexpr (!V::kDescribes)
            v.Byte(flags);
        if constexpr (V::kReads)
            CheckFlags(v, flags);
        v.Object(parent, "Parent ID: ");
        v.Half(reference, "Skill Number: ");
        v.Half(seed, "Seed: ");
        v.Word(weaponId, "Weapon ID: ");
        if constexpr (V::kReads)
            useWeapon = (flags & kTargetResultUseWeapon) != 0;
        if constexpr (V::kDescribes)
            v.Bool(useWeapon, "Use weapon flag: ");
        v.Placement(origin, "Origin Coords: ");
        if constexpr (V::kDescribes) {
            v.Word(static_cast<std::int32_t>(hitIteration), "Hit Iteration: ");
            v.Objects(targets,
                      {.heading = "Target IDs:", .item = "Target ", .indent = 1, .numbered = true});
            return;
        }
        if (flags & kTargetResultHitIteration) {
            std::uint8_t low = HitIterationByte(hitIteration);
            v.Byte(low);
            if constexpr (V::kReads)
                hitIteration = static_cast<std::int8_t>(low);
        } else if constexpr (V::kReads) {
            hitIteration = 0;
        }
        if (flags & kTargetResultTargetList) {
            v.Objects(targets);
        } else if (flags & kTargetResultOneTarget) {
            SmartObjectId one(this);
            if constexpr (V::kWrites)
                one = targets.GetIds().front();
            v.Object(one);
            if constexpr (V::kReads)
                targets.GetIds().assign(1, one.GetId());
        }
        if constexpr (V::kReads) {
            // A list flagged as two or more holds two or more.
            if ((flags & kTargetResultTargetList) && !v.Failed() && targets.Size() < 2)
                v.Fail("target list under two");
        }
    }

private:
    template <class V>
    static void CheckFlags(V& v, std::uint8_t flags) {
        const bool both = (flags & kTargetResultOneTarget) && (flags & kTargetResultTargetList);
        if (!v.Failed() && ((flags & 0xF0) != 0 || both))
            v.Fail("target result flags");
    }
};

class CreateProjectileConfigCmdPacket : public ObjectInteractionPacket {
    GAME_PACKET_KIND_OPERATIONS(CreateProjectileConfigCmdPacket)
    SmartObjectId parent{this};
    unsigned int reference = 0;
    std::uint32_t weaponId = 0;
    WorldCoords origin;
    SmartObjectIdNullable target{this};
    WorldVec3 point;
    std::uint32_t projectileId = 0;
    std::uint16_t seed = 0;
    std::int32_t hitIteration = 0;

    template <class V>
    void VisitFields(V& v) {
        v.Object(parent, "Parent ID: ");
        v.Half(reference, "Skill Number: ");
        v.Word(projectileId, "Projectile ID: ");
        v.Word(weaponId, "Weapon ID: ");
        v.Placement(origin, "Origin: ");
        v.Object(target, "Target ID: ");
        v.Position(point, "Point: ");
        v.Half(seed, "Seed: ");
        v.Word(hitIteration, "Hit Iteration:");
    }
};

class SpawnObjectConfigCmdPacket : public ObjectInteractionPacket {
    GAME_PACKET_KIND_OPERATIONS(SpawnObjectConfigCmdPacket)
    SmartObjectId parent{this};
    unsigned int reference = 0;
    WorldCoords origin;
    std::uint32_t targetId = 0;
    std::vector<WorldCoords> positions;
    std::vector<std::uint32_t> ids;
    std::uint16_t spawnValue = 0;

    // A placement on the wire: a 16-bit region name length, then 12 floats.
    static constexpr std::size_t kMinPlacementSize = 2 + 48;

    template <class V>
    void VisitFields(V& v) {
        v.Object(parent, "Parent ID: ");
        v.Half(reference, "Skill Number: ");
        v.Placement(origin, "Origin: ");
        v.Word(targetId, "Target Id: ");
        if constexpr (V::kDescribes) {
            v.Heading("Spawn Coords:");
            v.Describe([this](NetPacketDescriber& d) {
                for (std::size_t i = 0; i < positions.size(); ++i)
                    d.Describe(("Coords " + std::to_string(i) + ": ").c_str(), positions[i], 1);
            });
        } else {
            v.List32(positions, kMinPlacementSize,
                     [](auto& each, WorldCoords& position) { each.Placement(position); });
        }
        v.Words(ids, {.heading = "Spawn IDs:",
                      .item = "Id ",
                      .indent = 1,
                      .numbered = true,
                      .replace = true});
        v.Half(spawnValue);
    }
};

class SkillStateUpdateConfigCmdPacket : public ObjectInteractionPacket {
    GAME_PACKET_KIND_OPERATIONS(SkillStateUpdateConfigCmdPacket)
    SmartObjectId parent{this};
    unsigned int reference = 0;
    SkillState state;

    template <class V>
    void VisitFields(V& v) {
        v.Object(parent, "Parent ID: ");
        v.Half(reference, "Skill Number: ");
        if constexpr (V::kDescribes) {
            v.Word(state.level, "Level: ");
            v.Bool(state.enabled, "Enabled: ");
        } else {
            VisitStateImage(v, state);
        }
    }
};

class SkillActiveStateUpdateConfigCmdPacket : public ObjectInteractionPacket {
    GAME_PACKET_KIND_OPERATIONS(SkillActiveStateUpdateConfigCmdPacket)
    SmartObjectId parent{this};
    unsigned int reference = 0;
    SkillActiveState state;

    template <class V>
    void VisitFields(V& v) {
        v.Object(parent, "Parent ID: ");
        v.Half(reference, "Skill Number: ");
        if constexpr (V::kDescribes) {
            v.Word(static_cast<std::int32_t>(state.subLevel), "Sub Level: ");
            v.Bool(state.active, "Active: ");
            v.Bool(state.transition, "Transition: ");
        } else {
            VisitStateImage(v, state);
        }
    }
};

class CreateRemoveSkillBuffConfigCmdPacket : public ObjectInteractionPacket {
    GAME_PACKET_KIND_OPERATIONS(CreateRemoveSkillBuffConfigCmdPacket)
    SmartObjectId parent{this};
    std::uint32_t skillId = 0;
    std::uint32_t level = 0;
    std::uint32_t modifier1Level = 0;
    std::uint32_t modifier2Level = 0;
    std::string buffName;
    std::string modifier1Name;
    std::string modifier2Name;
    std::int32_t timeToLive = 0;
    std::uint32_t casterId = 0;

    template <class V>
    void VisitFields(V& v) {
        v.Object(parent, "Parent ID: ");
        v.Word(skillId, "Skill ID: ");
        v.Word(level, "Level: ");
        v.Word(modifier1Level, "Mod Level 1: ");
        v.Word(modifier2Level, "Mod Level 2: ");
        v.String(buffName, "Skill Name: ");
        v.String(modifier1Name, "Mod Name 1: ");
        v.String(modifier2Name, "Mod Name 2: ");
        v.Word(timeToLive, "Time To Live: ");
        v.Word(casterId, "Caster ID: ");
    }
};

class ActivateSkillConfigCmdPacket : public ObjectInteractionPacket {
    GAME_PACKET_KIND_OPERATIONS(ActivateSkillConfigCmdPacket)
    SmartObjectId parent{this};
    unsigned int reference = 0;
    SmartObjectId target{this};
    WorldVec3 point;

    template <class V>
    void VisitFields(V& v) {
        v.Object(parent, "Parent ID: ");
        v.Half(reference, "Skill Index: ");
        v.Object(target, "Target ID: ");
        v.Position(point, "Target Point: ");
    }
};

}  // namespace GAME
