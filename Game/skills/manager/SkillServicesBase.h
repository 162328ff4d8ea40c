#pragma once
// The outbound side of a character's skills, present only on the machine that controls the
// character: every decision that all machines must share becomes a configuration command here.
// Elsewhere a skill manager has no services, and skills take that as "not controlling".
#include <cstdint>
#include <string>
#include <vector>

namespace GAME {

class Entity;
class SkillState;
class SkillActiveState;
struct SkillBuffTransfer;
struct WorldCoords;
struct WorldVec3;
enum class Weapon_Type : std::int32_t;

class SkillServicesBase {
public:
    virtual ~SkillServicesBase() = default;
    virtual void SetParent(Entity* parent) = 0;
    // The parent died: it carries no buffs any more.
    virtual void Dead() = 0;
    virtual void SendTargetResult(std::uint32_t skillId, const std::vector<std::uint32_t>& targets,
                                  const WorldCoords& origin, std::uint32_t seed,
                                  std::uint32_t weaponId, bool useWeapon) = 0;
    virtual void SendSkillStateUpdate(std::uint32_t skillId, const SkillState& state) = 0;
    virtual void SendSkillActiveUpdate(std::uint32_t skillId, const SkillActiveState& state) = 0;
    virtual void SendCreateProjectile(std::uint32_t skillId, const WorldCoords& origin,
                                      std::uint32_t targetId, const WorldVec3& aim,
                                      std::uint32_t seed, std::uint32_t weaponId) = 0;
    virtual void SendSpawnObject(std::uint32_t skillId, const WorldCoords& coords,
                                 std::uint32_t targetId, const std::vector<WorldCoords>& positions,
                                 const std::vector<std::uint32_t>& ids,
                                 std::uint32_t spawnValue) = 0;
    virtual void CreateUpdateSkillBuff(const SkillBuffTransfer& transfer,
                                       const std::vector<Weapon_Type>& weaponTypes,
                                       bool needsTwoWeapons) = 0;
    virtual void RemoveSkillBuff(const std::string& buffName) = 0;

    // The hit events of the current use: only the command of iteration 1 charges mana and
    // starts the cooldown on the receiving side.
    void ClearHitIteration() { mHitIteration = 0; }
    void IncHitIteration() { ++mHitIteration; }
    std::uint32_t GetHitIteration() const { return mHitIteration; }

private:
    std::uint32_t mHitIteration = 0;
};

}  // namespace GAME
