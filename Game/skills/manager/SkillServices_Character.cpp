#include "Game/skills/manager/SkillServices_Character.h"

#include <algorithm>

#include "Engine/object/ObjectManager.h"
#include "Game/characters/Character.h"
#include "Game/core/util/StringUtil.h"
#include "Game/items/kinds/Weapon.h"
#include "Game/skills/manager/SkillCommands.h"
#include "Game/skills/manager/SkillManager.h"

namespace GAME {

namespace {

// The hand state of a melee weapon in each hand.
constexpr int kTwoMeleeWeapons = 2;

bool WeaponQualifies(std::uint32_t weaponId, const std::vector<Weapon_Type>& weaponTypes) {
    const auto* weapon = Singleton<ObjectManager>::Get().GetObject<Weapon>(weaponId);
    return weapon && std::find(weaponTypes.begin(), weaponTypes.end(), weapon->GetWeaponType()) !=
                         weaponTypes.end();
}

}  // namespace

void SkillServices_Character::SetParent(Entity* parent) {
    mParent = dynamic_cast<Character*>(parent);
}

void SkillServices_Character::Dead() {
    mBuffs.clear();
}

void SkillServices_Character::Send(std::unique_ptr<ActorConfigCommand> command) {
    if (mParent)
        mParent->Enqueue(std::move(command));
}

std::uint32_t SkillServices_Character::Reference(std::uint32_t skillId) const {
    return mParent ? mParent->GetSkillManager().GetSkillReferenceNumber(skillId) : 0xFFFFFFFFu;
}

void SkillServices_Character::SendTargetResult(std::uint32_t skillId,
                                               const std::vector<std::uint32_t>& targets,
                                               const WorldCoords& origin, std::uint32_t seed,
                                               std::uint32_t weaponId, bool useWeapon) {
    if (!mParent)
        return;
    Send(std::make_unique<SkillTargetResultConfigCmd>(
        mParent->GetObjectId(), Reference(skillId), targets, origin,
        static_cast<std::uint16_t>(seed), weaponId, useWeapon,
        static_cast<int>(GetHitIteration())));
}

void SkillServices_Character::SendSkillStateUpdate(std::uint32_t skillId, const SkillState& state) {
    if (mParent)
        Send(std::make_unique<SkillStateUpdateConfigCmd>(mParent->GetObjectId(), Reference(skillId),
                                                         state));
}

void SkillServices_Character::SendSkillActiveUpdate(std::uint32_t skillId,
                                                    const SkillActiveState& state) {
    if (mParent)
        Send(std::make_unique<SkillActiveStateUpdateConfigCmd>(mParent->GetObjectId(),
                                                               Reference(skillId), state));
}

void SkillServices_Character::SendCreateProjectile(std::uint32_t skillId, const WorldCoords& origin,
                                                   std::uint32_t targetId, const WorldVec3& aim,
                                                   std::uint32_t seed, std::uint32_t weaponId) {
    if (!mParent)
        return;
    // Reserved here so that every machine makes the projectile under the same id.
    const std::uint32_t projectileId = Singleton<ObjectManager>::Get().CreateObjectID();
    Send(std::make_unique<CreateProjectileConfigCmd>(
        mParent->GetObjectId(), Reference(skillId), weaponId, origin, targetId, aim, projectileId,
        static_cast<std::uint16_t>(seed), GetHitIteration()));
}

void SkillServices_Character::SendSpawnObject(std::uint32_t skillId, const WorldCoords& coords,
                                              std::uint32_t targetId,
                                              const std::vector<WorldCoords>& positions,
                                              const std::vector<std::uint32_t>& ids,
                                              std::uint32_t spawnValue) {
    if (mParent)
        Send(std::make_unique<SpawnObjectConfigCmd>(mParent->GetObjectId(), Reference(skillId),
                                                    coords, targetId, positions, ids, spawnValue));
}

bool SkillServices_Character::HoldsQualifyingWeapon(
    const std::vector<Weapon_Type>& weaponTypes) const {
    const SkillManager& manager = mParent->GetSkillManager();
    return WeaponQualifies(manager.GetRightHandWeapon(), weaponTypes) ||
           WeaponQualifies(manager.GetLeftHandWeapon(), weaponTypes);
}

void SkillServices_Character::SendBuff(const SkillBuffTransfer& transfer) {
    Send(std::make_unique<CreateRemoveSkillBuffConfigCmd>(
        mParent->GetObjectId(), 0, transfer.buffName, transfer.level, transfer.modifier1Name,
        transfer.modifier1Level, transfer.modifier2Name, transfer.modifier2Level,
        static_cast<int>(transfer.timeToLive), transfer.casterId));
}

void SkillServices_Character::CreateUpdateSkillBuff(const SkillBuffTransfer& transfer,
                                                    const std::vector<Weapon_Type>& weaponTypes,
                                                    bool needsTwoWeapons) {
    if (!mParent || !mParent->IsAlive())
        return;
    if (!weaponTypes.empty() && !HoldsQualifyingWeapon(weaponTypes))
        return;
    if (needsTwoWeapons && mParent->GetHandState() != kTwoMeleeWeapons)
        return;
    auto same = std::find_if(mBuffs.begin(), mBuffs.end(), [&](const SkillBuffTransfer& buff) {
        return PathEqualsNoCaseStr(buff.buffName, transfer.buffName);
    });
    if (same == mBuffs.end()) {
        mBuffs.push_back(transfer);
        SendBuff(transfer);
        return;
    }
    if (*same == transfer) {
        // The same buff again only lives longer; every machine already has it.
        mParent->GetSkillManager().RefreshSkillBuffTimeToLive(transfer.buffName,
                                                              transfer.timeToLive);
        return;
    }
    // Another caster's stronger buff stays.
    if (same->casterId != transfer.casterId && !transfer.IsStrongerThan(*same))
        return;
    *same = transfer;
    SendBuff(transfer);
}

void SkillServices_Character::RemoveSkillBuff(const std::string& buffName) {
    if (!mParent)
        return;
    for (auto it = mBuffs.begin(); it != mBuffs.end();) {
        if (!PathEqualsNoCaseStr(it->buffName, buffName)) {
            ++it;
            continue;
        }
        it = mBuffs.erase(it);
        // Level 0 asks every machine to take the buff off.
        Send(std::make_unique<CreateRemoveSkillBuffConfigCmd>(mParent->GetObjectId(), 0, buffName,
                                                              0, "", 0, "", 0, 0, 0));
    }
}

}  // namespace GAME
