#pragma once
// The skill services of a character: each send builds its command and hands it to the
// character at once. It also remembers the buffs it has put on the character, so a buff cast
// again only refreshes, and a weaker buff of another caster does not displace a stronger one.
#include <list>
#include <memory>

#include "Game/skills/manager/SkillBuffTransfer.h"
#include "Game/skills/manager/SkillServicesBase.h"

namespace GAME {

class ActorConfigCommand;
class Character;

class SkillServices_Character : public SkillServicesBase {
public:
    void SetParent(Entity* parent) override;
    void Dead() override;
    void SendTargetResult(std::uint32_t skillId, const std::vector<std::uint32_t>& targets,
                          const WorldCoords& origin, std::uint32_t seed, std::uint32_t weaponId,
                          bool useWeapon) override;
    void SendSkillStateUpdate(std::uint32_t skillId, const SkillState& state) override;
    void SendSkillActiveUpdate(std::uint32_t skillId, const SkillActiveState& state) override;
    void SendCreateProjectile(std::uint32_t skillId, const WorldCoords& origin,
                              std::uint32_t targetId, const WorldVec3& aim, std::uint32_t seed,
                              std::uint32_t weaponId) override;
    void SendSpawnObject(std::uint32_t skillId, const WorldCoords& coords, std::uint32_t targetId,
                         const std::vector<WorldCoords>& positions,
                         const std::vector<std::uint32_t>& ids, std::uint32_t spawnValue) override;
    void CreateUpdateSkillBuff(const SkillBuffTransfer& transfer,
                               const std::vector<Weapon_Type>& weaponTypes,
                               bool needsTwoWeapons) override;
    void RemoveSkillBuff(const std::string& buffName) override;

    Character* GetParent() const { return mParent; }
    const std::list<SkillBuffTransfer>& GetBuffs() const { return mBuffs; }

protected:
    // Hands a command to the parent, which runs it on every machine.
    virtual void Send(std::unique_ptr<ActorConfigCommand> command);

private:
    std::uint32_t Reference(std::uint32_t skillId) const;
    bool HoldsQualifyingWeapon(const std::vector<Weapon_Type>& weaponTypes) const;
    void SendBuff(const SkillBuffTransfer& transfer);

    Character* mParent = nullptr;
    std::list<SkillBuffTransfer> mBuffs;  // in order of arrival
};

}  // namespace GAME
