#pragma once
// The configuration commands that a character's skill services send: every machine runs each
// one on the character named by its object id, with the same values and seed. Skills travel by
// their reference number within the character's skill manager, as object ids differ between
// machines.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "Engine/net/ActorConfigCommand.h"
#include "Engine/world/Region.h"
#include "Game/core/net/packets/SkillCommandPackets.h"
#include "Game/skills/manager/SkillState.h"

namespace GAME {

class SkillManager;

// What every skill command shares: the character's manager on this machine.
class SkillConfigCmd : public ActorConfigCommand {
public:
    explicit SkillConfigCmd(unsigned int parentId) : ActorConfigCommand(parentId) { SetFlag(1); }
    // Only the machine that controls the character sends skill commands (its services, its
    // controller), also from inside a command that every machine runs (an attack that triggers
    // an on-hit skill, a death that spawns, a chain that hops, a pooled hit that moves a charge).
    bool DecidedByOneMachine() const override { return true; }

protected:
    // The manager of the character the command names, or null when it is not here.
    SkillManager* FindManager() const;
};

class SkillTargetResultConfigCmd : public SkillConfigCmd {
public:
    SkillTargetResultConfigCmd(unsigned int parentId, std::uint32_t reference_,
                               const std::vector<std::uint32_t>& targets_,
                               const WorldCoords& origin_, std::uint16_t seed_,
                               std::uint32_t weaponId_, bool useWeapon_, int hitIteration_)
        : SkillConfigCmd(parentId),
          reference(reference_),
          targets(RecycledVectors<std::uint32_t>::Take()),
          origin(origin_),
          seed(seed_),
          weaponId(weaponId_),
          useWeapon(useWeapon_),
          hitIteration(hitIteration_) {
        if (targets.capacity() < targets_.size())
            targets.reserve(std::max(targets_.size(), kTargetsRoom));
        targets.assign(targets_.begin(), targets_.end());
    }
    // Room for the calling thread's first attacks' target lists, made before any attack.
    static void ReserveTargets() {
        RecycledVectors<std::uint32_t>::Reserve(kReservedLists, kTargetsRoom);
    }
    explicit SkillTargetResultConfigCmd(const SkillTargetResultConfigCmdPacket& packet);
    SkillTargetResultConfigCmd(const SkillTargetResultConfigCmd&) = default;
    SkillTargetResultConfigCmd& operator=(const SkillTargetResultConfigCmd&) = default;
    // Every attack sends one: the target list's storage goes to the next.
    ~SkillTargetResultConfigCmd() override { RecycledVectors<std::uint32_t>::Give(targets); }
    bool IsStrike() const override { return true; }
    void Execute() override;
    // A client's result must lie within what its skill reaches (SkillResultCommandTrust.cpp).
    bool AcceptFromClient(int sourceHost) const override;
    std::unique_ptr<NetPacket> GetNetPacket() override;

    // A list's room: more than an attack usually strikes.
    static constexpr std::size_t kTargetsRoom = 16;
    // Lists alive at once: an attack's, and those its hit sets off.
    static constexpr std::size_t kReservedLists = 4;

    std::uint32_t reference;
    std::vector<std::uint32_t> targets;
    WorldCoords origin;
    std::uint16_t seed;
    std::uint32_t weaponId;
    bool useWeapon;
    int hitIteration;
};

class CreateProjectileConfigCmd : public SkillConfigCmd {
public:
    CreateProjectileConfigCmd(unsigned int parentId, std::uint32_t reference_,
                              std::uint32_t weaponId_, const WorldCoords& origin_,
                              std::uint32_t targetId_, const WorldVec3& aim_,
                              std::uint32_t projectileId_, std::uint16_t seed_, int hitIteration_)
        : SkillConfigCmd(parentId),
          reference(reference_),
          weaponId(weaponId_),
          origin(origin_),
          targetId(targetId_),
          aim(aim_),
          projectileId(projectileId_),
          seed(seed_),
          hitIteration(hitIteration_) {}
    explicit CreateProjectileConfigCmd(const CreateProjectileConfigCmdPacket& packet);
    void Execute() override;
    std::unique_ptr<NetPacket> GetNetPacket() override;

    std::uint32_t reference;
    std::uint32_t weaponId;
    WorldCoords origin;
    std::uint32_t targetId;
    WorldVec3 aim;
    std::uint32_t projectileId;
    std::uint16_t seed;
    int hitIteration;
};

class SpawnObjectConfigCmd : public SkillConfigCmd {
public:
    SpawnObjectConfigCmd(unsigned int parentId, std::uint32_t reference_,
                         const WorldCoords& origin_, std::uint32_t targetId_,
                         std::vector<WorldCoords> positions_, std::vector<std::uint32_t> ids_,
                         std::uint16_t spawnValue_)
        : SkillConfigCmd(parentId),
          reference(reference_),
          origin(origin_),
          targetId(targetId_),
          positions(std::move(positions_)),
          ids(std::move(ids_)),
          spawnValue(spawnValue_) {}
    explicit SpawnObjectConfigCmd(const SpawnObjectConfigCmdPacket& packet);
    // What it makes stands on every machine from the same step on, as a strike lands. A release
    // (no ids) makes nothing: it runs at once on the deciding machine, whose controllers send the
    // deaths as any other death.
    bool IsStrike() const override { return !ids.empty(); }
    void Execute() override;
    // A client's spawn must come from a spawning skill of its character, within what that
    // skill makes, under new ids of the client's own band, at places near the character
    // (SkillSpawnCommandTrust.cpp).
    bool AcceptFromClient(int sourceHost) const override;
    std::unique_ptr<NetPacket> GetNetPacket() override;

    std::uint32_t reference;
    WorldCoords origin;
    std::uint32_t targetId;
    std::vector<WorldCoords> positions;
    std::vector<std::uint32_t> ids;
    std::uint16_t spawnValue;
};

class SkillStateUpdateConfigCmd : public SkillConfigCmd {
public:
    SkillStateUpdateConfigCmd(unsigned int parentId, std::uint32_t reference_,
                              const SkillState& state_)
        : SkillConfigCmd(parentId), reference(reference_), state(state_) {}
    explicit SkillStateUpdateConfigCmd(const SkillStateUpdateConfigCmdPacket& packet);
    // A rise of a player's skill spends skill points: every machine pays them and raises the
    // level where the machines meet, so the points left agree everywhere.
    bool IsStrike() const override;
    void Execute() override;
    std::unique_ptr<NetPacket> GetNetPacket() override;
    // A client's level must be within the skill's limit, and a rise paid for by the skill points
    // the server has for the character (SkillStateCommandTrust.cpp).
    bool AcceptFromClient(int sourceHost) const override;

    std::uint32_t reference;
    SkillState state;
};

class SkillActiveStateUpdateConfigCmd : public SkillConfigCmd {
public:
    SkillActiveStateUpdateConfigCmd(unsigned int parentId, std::uint32_t reference_,
                                    const SkillActiveState& state_)
        : SkillConfigCmd(parentId), reference(reference_), state(state_) {}
    explicit SkillActiveStateUpdateConfigCmd(const SkillActiveStateUpdateConfigCmdPacket& packet);
    void Execute() override;
    std::unique_ptr<NetPacket> GetNetPacket() override;

    std::uint32_t reference;
    SkillActiveState state;
};

// Creates, refreshes or (level 0) removes a buff on the character.
class CreateRemoveSkillBuffConfigCmd : public SkillConfigCmd {
public:
    CreateRemoveSkillBuffConfigCmd(unsigned int parentId, std::uint32_t skillId_,
                                   std::string buffName_, std::uint32_t level_,
                                   std::string modifier1Name_, std::uint32_t modifier1Level_,
                                   std::string modifier2Name_, std::uint32_t modifier2Level_,
                                   int timeToLive_, std::uint32_t casterId_)
        : SkillConfigCmd(parentId),
          skillId(skillId_),
          level(level_),
          modifier1Level(modifier1Level_),
          modifier2Level(modifier2Level_),
          buffName(std::move(buffName_)),
          modifier1Name(std::move(modifier1Name_)),
          modifier2Name(std::move(modifier2Name_)),
          timeToLive(timeToLive_),
          casterId(casterId_) {}
    explicit CreateRemoveSkillBuffConfigCmd(const CreateRemoveSkillBuffConfigCmdPacket& packet);
    void Execute() override;
    std::unique_ptr<NetPacket> GetNetPacket() override;
    // A client's buff must be what the caster's skill gives, as the server knows that skill
    // (SkillBuffCommandTrust.cpp).
    bool AcceptFromClient(int sourceHost) const override;

    std::uint32_t skillId;
    std::uint32_t level;
    std::uint32_t modifier1Level;
    std::uint32_t modifier2Level;
    std::string buffName;
    std::string modifier1Name;
    std::string modifier2Name;
    int timeToLive;
    std::uint32_t casterId;
};

// Runs a skill's "End" activation on the character (a dying monster's last skill).
class ActivateSkillConfigCmd : public SkillConfigCmd {
public:
    ActivateSkillConfigCmd(unsigned int parentId, std::uint32_t reference_, std::uint32_t targetId_,
                           const WorldVec3& point_)
        : SkillConfigCmd(parentId), reference(reference_), targetId(targetId_), point(point_) {}
    explicit ActivateSkillConfigCmd(const ActivateSkillConfigCmdPacket& packet);
    void Execute() override;
    std::unique_ptr<NetPacket> GetNetPacket() override;

    std::uint32_t reference;
    std::uint32_t targetId;
    WorldVec3 point;
};

}  // namespace GAME
