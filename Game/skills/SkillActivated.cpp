#include "Game/skills/SkillActivated.h"

#include <algorithm>
#include <memory>

#include "Engine/events/EventManager.h"
#include "Engine/records/LoadTable.h"
#include "Engine/world/QueryScratch.h"
#include "Engine/world/World.h"
#include "Game/characters/Character.h"
#include "Game/characters/CharacterLookup.h"
#include "Game/core/GameEngine.h"
#include "Game/core/players/Team.h"
#include "Game/core/util/StringUtil.h"
#include "Game/items/kinds/Weapon.h"
#include "Game/rules/combat/ParametersCombat.h"
#include "Game/skills/manager/SkillBuffTransfer.h"
#include "Game/skills/manager/SkillServicesBase.h"
#include "Game/skills/profile/SkillProfile.h"
#include "Game/skills/profile/SkillProfileModifiers.h"
#include "Game/world/WorldRandom.h"

namespace GAME {

RTTI_IMPLEMENT(SkillActivated, Skill)

namespace {

struct GameEvent_CameraShake : GameEvent {
    float durationMs = 0.0f;
    float amplitude = 0.0f;
};

// The target list of one attack search, kept per nesting depth so that attacks allocate
// nothing once warm and a search set off while another one's list is in use (a result applied
// at once, retaliation, an on-hit skill) gets a list of its own.
class TargetList {
public:
    TargetList() {
        if (sDepth == sLists.size()) [[unlikely]]
            AddDepth();
        mList = sLists[sDepth++].get();
        PrepareQueryScratch(*mList);
    }
    // The first depths, made before any attack with room for the whole world: an attack and
    // the one its hit sets off.
    static void Reserve(std::size_t population) {
        while (sLists.size() < kReservedDepths)
            AddDepth();
        for (std::size_t depth = 0; depth < kReservedDepths; ++depth)
            if (sLists[depth]->capacity() < population)
                sLists[depth]->reserve(std::max(population, 2 * sLists[depth]->capacity()));
    }
    ~TargetList() { --sDepth; }
    TargetList(const TargetList&) = delete;
    TargetList& operator=(const TargetList&) = delete;
    std::vector<std::uint32_t>& Get() { return *mList; }

private:
    // Nesting deeper than this is rare; it still works.
    static constexpr std::size_t kDepths = 8;
    static constexpr std::size_t kReservedDepths = 2;
    static void AddDepth() {
        if (sLists.empty())
            sLists.reserve(kDepths);
        sLists.push_back(std::make_unique<std::vector<std::uint32_t>>());
    }
    static thread_local std::vector<std::unique_ptr<std::vector<std::uint32_t>>> sLists;
    static thread_local std::size_t sDepth;
    std::vector<std::uint32_t>* mList = nullptr;
};

thread_local std::vector<std::unique_ptr<std::vector<std::uint32_t>>> TargetList::sLists;
thread_local std::size_t TargetList::sDepth = 0;

std::uint32_t NewSeed() {
    return gGameEngine ? gGameEngine->GetRandomSeed() & 0xFFFFu : 0u;
}

template <class T>
T* FindObjectAs(std::uint32_t id) {
    return id ? Singleton<ObjectManager>::Get().GetObject<T>(id) : nullptr;
}

}  // namespace

void SkillActivated::ReserveTargetLists(std::size_t population) {
    TargetList::Reserve(population);
}

SkillServicesBase* SkillActivated::ControllingServices() const {
    return HasManager() ? GetManager()->GetSkillServices() : nullptr;
}

std::uint32_t SkillActivated::NewCommandSeed() {
    return NewSeed();
}

SkillActivated::SkillActivated() {
    // Disruption may lengthen the cooldown of every skill used actively.
    SetDisruptionApplies(true);
}

void SkillActivated::Load(const LoadTable& table) {
    Skill::Load(table);
    mCameraShakeDuration = table.GetFloat("cameraShakeDurationSecs", 0.0f);
    mCameraShakeAmplitude = table.GetFloat("cameraShakeAmplitude", 0.0f);
}

void SkillActivated::CameraShake() {
    if (!(mCameraShakeDuration > 0.0001f))
        return;
    GameEvent_CameraShake shake;
    shake.durationMs = mCameraShakeDuration * 1000.0f;
    shake.amplitude = mCameraShakeAmplitude;
    Singleton<EventManager>::Get().Send(&shake, "GameEvent_CameraShake");
}

const std::string& SkillActivated::GetProjectileName() const {
    return GetSkillProfile().GetProjectileName(GetCurrentLevel());
}

bool SkillActivated::ExecuteWeaponHit(Character& character, const Name& event, std::uint32_t target,
                                      const WorldVec3& point) {
    // Engine names, made once.
    static const Name kRightHandHit = Name::Create("RightHandHit");
    static const Name kLeftHandHit = Name::Create("LeftHandHit");
    SkillManagerBase* manager = GetManager();
    if (!manager)
        return false;
    std::uint32_t weaponId = 0;
    if (event == kRightHandHit)
        weaponId = manager->GetRightHandWeapon();
    else if (event == kLeftHandHit)
        weaponId = manager->GetLeftHandWeapon();
    if (manager->IsRangedWeapon()) {
        WorldCoords origin = character.GetCoords();
        origin.SetPosition(GetCoordsFromCallback(character, event).GetPosition());
        return ExecuteRangedAttack(character, origin, target, point, weaponId);
    }
    return ExecuteMeleeAttack(character, target, point, weaponId);
}

bool SkillActivated::ExecuteMeleeAttack(Character& character, std::uint32_t target,
                                        const WorldVec3&, std::uint32_t weaponId) {
    SkillServicesBase* services = HasManager() ? GetManager()->GetSkillServices() : nullptr;
    GameEngine* root = gGameEngine;
    if (!services || !root)
        return false;
    SkillProfile_Modifiers data;
    GetSkillModifierData(data);
    TargetList list;
    std::vector<std::uint32_t>& targets = list.Get();
    if (target != 0 && !IsTargetInRange(character, target, 2.5f))
        target = 0;
    const WorldCoords& coords = character.GetCoords();
    const WorldVec3 position = character.GetPosition();
    const Vec3& facing = coords.coords.zAxis;
    if (data.targetAngle != 0.0f) {
        const std::uint32_t n = data.targetNumber;
        if (n == 1 && target != 0) {
            targets.push_back(target);
        } else {
            root->GetTargetsInCone(character.GetTeam(), position, facing, data.targetAngle, 3.0f,
                                   targets, target, false);
            if (n > 0 && targets.size() >= n) {
                // Shrinks only; erase keeps the optimiser from seeing a growth path.
                targets.erase(targets.begin() + (target != 0 ? n - 1 : n), targets.end());
                if (target != 0)
                    targets.push_back(target);
            } else if (target != 0) {
                targets.push_back(target);
            }
        }
    } else if (target != 0) {
        targets.push_back(target);
    } else {
        root->GetTargetsInCone(character.GetTeam(), position, facing, 10.0f, 2.5f, targets, 0,
                               false);
        if (targets.size() > 1)
            targets.erase(targets.begin() + 1, targets.end());
    }
    if (targets.empty())
        return false;
    services->SendTargetResult(GetObjectId(), targets, coords, NewSeed(), weaponId, true);
    return true;
}

bool SkillActivated::ExecuteRadiusAttack(Character& character, std::uint32_t target,
                                         const WorldVec3& point) {
    SkillServicesBase* services = HasManager() ? GetManager()->GetSkillServices() : nullptr;
    GameEngine* root = gGameEngine;
    if (!services || !root)
        return false;
    SkillProfile_Modifiers data;
    GetSkillModifierData(data);
    TargetList list;
    std::vector<std::uint32_t>& targets = list.Get();
    if (target != 0 && !IsTargetInRange(character, target, 20.0f))
        target = 0;
    const float distance = World::Get().GetDistanceSquared(point, character.GetPosition());
    if (data.targetRadius > 0.0f && distance < 400.0f)
        root->GetTargetsInRadius(character.GetTeam(), point, data.targetRadius, targets, target,
                                 false);
    if (target != 0)
        targets.push_back(target);
    if (targets.empty())
        return false;
    services->SendTargetResult(GetObjectId(), targets, character.GetCoords(), NewSeed(), 0, false);
    return true;
}

bool SkillActivated::ExecuteRangedAttack(Character& character, const WorldCoords& origin,
                                         std::uint32_t target, const WorldVec3& point,
                                         std::uint32_t weaponId) {
    SkillServicesBase* services = HasManager() ? GetManager()->GetSkillServices() : nullptr;
    GameEngine* root = gGameEngine;
    if (!services || !root)
        return false;
    const std::uint32_t count = GetSkillProfile().GetNumberOfProjectiles();
    TargetList list;
    std::vector<std::uint32_t>& targets = list.Get();
    if (count > 1) {
        root->GetTargetsInRadius(character.GetTeam(), point, 1.0f, targets, target, false);
        if (targets.size() > count - 1)
            targets.resize(count - 1);
    }
    targets.push_back(target);
    const float distance = World::Get().GetDistanceSquared(character.GetPosition(), point);
    std::size_t next = 0;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint32_t id = next < targets.size() ? targets[next++] : 0;
        WorldVec3 aim = point;
        if (Character* aimed = FindCharacter(id)) {
            aim = aimed->GetPosition();
        } else if (i > 0) {
            const float spread = std::min(distance * 0.01f, 2.0f);
            Vec3 offset;
            offset.z = RandomFloat(-spread, spread);
            offset.y = RandomFloat(-0.8f, 0.0f);
            offset.x = RandomFloat(-spread, spread);
            aim.Translate(offset);
        }
        // Only the first projectile carries the hit's iteration; the others charge nothing.
        if (i > 0)
            services->ClearHitIteration();
        services->SendCreateProjectile(GetObjectId(), origin, id, aim, NewSeed(), weaponId);
    }
    return count > 0;
}

bool SkillActivated::ApplyDamageToTargets(Character& character,
                                          const std::vector<std::uint32_t>& targets,
                                          const WorldCoords& origin, std::uint32_t seed,
                                          ParametersCombatStyle style, bool useItemDamage,
                                          std::uint32_t itemId, float damagePercent,
                                          bool stopSoundAfterHit) {
    if (targets.empty())
        return false;
    RandomUniform random;
    random.Seed(seed);
    bool anyHit = false;
    for (std::uint32_t id : targets) {
        // A target gone since the choice draws nothing, so the others keep their numbers.
        Character* target = FindCharacter(id);
        if (!target)
            continue;
        ParametersCombat parameters(random);
        CollectCombatParameters(character, target, style, useItemDamage, itemId, parameters,
                                damagePercent);
        InitRagDollData(parameters.ragDollData, origin.GetPosition(), target->GetPosition());
        CreateTargetFx(target->GetPosition());
        const bool hit = target->TakeAttack(parameters);
        if (hit && stopSoundAfterHit && !anyHit) {
            Weapon* weapon = itemId ? FindObjectAs<Weapon>(itemId) : nullptr;
            if (weapon)
                weapon->PlayHitSound(character.GetPosition());
            else if (SoundPak* sound = character.GetSoundPak(Character::AttackSound))
                sound->Play(character.GetPosition());
        }
        anyHit = anyHit || hit;
    }
    return anyHit;
}

void SkillActivated::ApplyRangedDamage(Character& character,
                                       const std::vector<std::uint32_t>& targets,
                                       const WorldCoords& origin, std::uint32_t seed,
                                       std::uint32_t weaponId) {
    ApplyDamageToTargets(character, targets, origin, seed, ParametersCombatStyle::Projectile, true,
                         weaponId, 0.0f, false);
}

void SkillActivated::ApplyMeleeDamage(Character& character,
                                      const std::vector<std::uint32_t>& targets,
                                      const WorldCoords& origin, std::uint32_t seed,
                                      std::uint32_t weaponId) {
    PlayHitSound(character.GetPosition());
    ApplyDamageToTargets(character, targets, origin, seed, ParametersCombatStyle::Probability, true,
                         weaponId, 0.0f, true);
}

void SkillActivated::ApplyMeleeDamageInherent(Character& character,
                                              const std::vector<std::uint32_t>& targets,
                                              const WorldCoords& origin, std::uint32_t seed) {
    PlayHitSound(character.GetPosition());
    // 0 stands for the full damage; several targets share it in whole percents.
    const float percent =
        targets.size() > 1 ? static_cast<float>(100 / static_cast<int>(targets.size())) : 0.0f;
    ApplyDamageToTargets(character, targets, origin, seed, ParametersCombatStyle::Probability,
                         false, 0, percent, false);
}

void SkillActivated::ApplyBuffOnTarget(Character& caster, Character& target,
                                       const std::string& buffName, int timeToLive) {
    SkillBuffTransfer transfer;
    transfer.buffName = buffName;
    transfer.level = GetCurrentLevel();
    GetModifierInfo(0, transfer.modifier1Name, transfer.modifier1Level);
    GetModifierInfo(1, transfer.modifier2Name, transfer.modifier2Level);
    transfer.timeToLive = static_cast<std::uint32_t>(timeToLive);
    transfer.casterId = caster.GetObjectId();
    target.ControllerAddSkillBuff(transfer, GetSkillProfile().GetQualifyingWeapons(),
                                  GetSkillProfile().GetQualifyingDualWeapons());
}

std::string SkillActivated::LoadBuffSkillRecord(const LoadTable& table) {
    std::string buffName = table.GetString("buffSkillName");
    if (buffName.empty()) {
        Skill::Load(table);
        return buffName;
    }
    NormalizePath(buffName);
    Object::Load(table);
    auto& objects = Singleton<ObjectManager>::Get();
    objects.LoadTableFile(buffName);
    const LoadTable buff = objects.GetLoadTable(buffName);
    // The buff's record is the skill's profile and resources: what the skill gives is the buff.
    SetResourceName(Name::Create(buffName));
    LoadResources(buff);
    LoadOriginalSkillResource(buff);
    return buffName;
}

SkillServicesBase* SkillActivatedBuffSelf::Services() const {
    return HasManager() ? GetManager()->GetSkillServices() : nullptr;
}

void SkillActivatedBuffSelf::Publish(bool on) {
    mOn = on;
    if (SkillServicesBase* services = Services())
        services->SendSkillActiveUpdate(GetObjectId(), SkillActiveState(0, on, false));
}

}  // namespace GAME
