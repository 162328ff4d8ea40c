#pragma once
// The skills a character uses actively. A use follows the character's animation: the manager
// starts it, then hands it the animation's swipe, hit and end events. Only the controlling
// machine (the one whose manager has services) chooses targets and a seed; it sends them as a
// command, and every machine then applies the same damage from that seed. The branches fix the
// animation and the target rule of a family of kinds; the kinds execute their attack in
// ActivateNow and apply it in TargetResult.
#include <cstdint>
#include <string>
#include <vector>

#include "Game/items/OwnedObject.h"
#include "Game/skills/Skill.h"

namespace GAME {

class SkillServicesBase;

enum class AnimationSet_Type : int;

// Whom a use aims at.
enum class SkillTargetType : int {
    None = 0,
    Self = 1,
    Foe = 2,
    Friend = 3,
    // A foe or a friend (dispels).
    FoeOrFriend = 4,
};

class SkillActivated : public Skill {
    RTTI_DECLARE(SkillActivated)
public:
    static constexpr const char* kActivatedSourceFile = "Game/SkillActivated";

    SkillActivated();

    void Load(const LoadTable& table) override;
    void CreateProjectile(Character& character, std::uint32_t weaponId, const WorldCoords& origin,
                          std::uint32_t targetId, const WorldVec3& aim, std::uint32_t projectileId,
                          std::uint16_t seed) override;

    virtual float GetRunSpeedAcceleration() const { return 0.0f; }
    // Starts the use's animation; false when the skill is disabled or nothing started.
    virtual bool StartAction(Character&, std::uint32_t, const WorldVec3&, std::uint32_t) {
        return false;
    }
    virtual void SwipeAction(Character&, const Name&, std::uint32_t, const WorldVec3&) {}
    virtual void HitAction(Character&, const Name&, std::uint32_t, const WorldVec3&) {}
    virtual bool EndAction(Character&) { return true; }
    virtual bool WarmUpStart() { return false; }
    virtual void WarmUpEnd() {}
    virtual void CameraShake();
    virtual SkillTargetType GetTargetType() const { return mTargetType; }
    virtual void ActivateNow(Character&, const Name&, std::uint32_t, const WorldVec3&) {}
    // The three target searches; each runs on the controlling machine only and is true when it
    // sent a command.
    virtual bool ExecuteRangedAttack(Character& character, const WorldCoords& origin,
                                     std::uint32_t target, const WorldVec3& point,
                                     std::uint32_t weaponId);
    virtual bool ExecuteMeleeAttack(Character& character, std::uint32_t target,
                                    const WorldVec3& point, std::uint32_t weaponId);
    virtual bool ExecuteRadiusAttack(Character& character, std::uint32_t target,
                                     const WorldVec3& point);
    // Damage on every machine, from the command's seed, in target order.
    virtual void ApplyRangedDamage(Character& character, const std::vector<std::uint32_t>& targets,
                                   const WorldCoords& origin, std::uint32_t seed,
                                   std::uint32_t weaponId);
    virtual void ApplyMeleeDamage(Character& character, const std::vector<std::uint32_t>& targets,
                                  const WorldCoords& origin, std::uint32_t seed,
                                  std::uint32_t weaponId);
    virtual void ApplyMeleeDamageInherent(Character& character,
                                          const std::vector<std::uint32_t>& targets,
                                          const WorldCoords& origin, std::uint32_t seed);
    virtual const std::string& GetProjectileName() const;
    virtual void WPAttackCallback(Character&, const std::vector<std::uint32_t>&) {}

    // A weapon hit: the weapon of the hand the event names ("RightHandHit", "LeftHandHit",
    // else none), fired from the event's attach point with a ranged weapon, else in melee.
    // True when a command was sent.
    bool ExecuteWeaponHit(Character& character, const Name& event, std::uint32_t target,
                          const WorldVec3& point);
    // The projectile of a launch under the command's id (a fresh one when the id is in use
    // here); null when the record makes none.
    ProjectileBase* MakeProjectile(const std::string& record, std::uint32_t projectileId);
    // Completes the info (skill, caster, team, speed modifier), hands it with the seed and the
    // skill's modifiers to the projectile, plays its swipe sound and starts it.
    void StartProjectile(Character& character, ProjectileBase& projectile, ProjectileInfo info,
                         std::uint16_t seed);
    // How the skill's own projectile leaves (the kinds that launch without a weapon).
    struct OwnLaunch {
        // Whole seconds (area effects).
        std::uint32_t duration = 0;
        bool swipeSound = true;
        // False: the caller starts it (a special start).
        bool start = true;
    };
    // The skill's own projectile from `record` under the command's id, with the skill's
    // piercing chance and modifiers and the command's seed; null (logged) when the record makes
    // no projectile.
    ProjectileBase* LaunchOwnProjectile(Character& character, const std::string& record,
                                        const WorldCoords& origin, std::uint32_t targetId,
                                        const WorldVec3& aim, std::uint32_t projectileId,
                                        std::uint16_t seed, const OwnLaunch& how);
    // On the controlling machine: the targets a projectile of this skill found become a target
    // result (charged nothing again).
    void SendProjectileTargets(const ProjectileInfo& info,
                               const std::vector<std::uint32_t>& targets);

    // Hands a buff of this skill to the target through its controller.
    void ApplyBuffOnTarget(Character& caster, Character& target, const std::string& buffName,
                           int timeToLive);

    float GetCameraShakeDuration() const { return mCameraShakeDuration; }
    float GetCameraShakeAmplitude() const { return mCameraShakeAmplitude; }
    // Room for the calling thread's attack searches over a world of `population` entities.
    static void ReserveTargetLists(std::size_t population);

protected:
    void SetTargetType(SkillTargetType type) { mTargetType = type; }
    // Present only on the machine that controls the owner.
    SkillServicesBase* ControllingServices() const;
    // The seed a command carries: the root's next seed, 16 bits.
    static std::uint32_t NewCommandSeed();
    // For the kinds that place a buff: the buff record named by "buffSkillName" (lower-cased,
    // '\' separators) becomes the skill's profile and resources. Returns that name; without
    // one the skill loads as any other.
    std::string LoadBuffSkillRecord(const LoadTable& table);
    // The per-target loop of the three damage functions; returns whether any target took the
    // attack. `damagePercent` 0 stands for the full damage.
    bool ApplyDamageToTargets(Character& character, const std::vector<std::uint32_t>& targets,
                              const WorldCoords& origin, std::uint32_t seed,
                              ParametersCombatStyle style, bool useItemDamage, std::uint32_t itemId,
                              float damagePercent, bool stopSoundAfterHit);

private:
    SkillTargetType mTargetType = SkillTargetType::None;
    float mCameraShakeDuration = 0.0f;
    float mCameraShakeAmplitude = 0.0f;
};

// Weapon attacks: Attack animation (or a turning attack for players) at attack speed.
class SkillActivatedWeapon : public SkillActivated {
public:
    SkillActivatedWeapon() {
        SetTargetType(SkillTargetType::Foe);
        MarkUpdatesAsWeapon();
    }

    // Final, as the update makes the base's test without a call.
    void Update(Character& character, int ms) final;
    bool SetAvailability(bool ignoreMana, bool ignoreCooldown) final {
        return Skill::SetAvailability(ignoreMana, ignoreCooldown);
    }
    float GetRunSpeedAcceleration() const override;
    bool StartAction(Character& character, std::uint32_t target, const WorldVec3& point,
                     std::uint32_t seed) override;
    void SwipeAction(Character& character, const Name& event, std::uint32_t target,
                     const WorldVec3& point) override;
    void HitAction(Character& character, const Name& event, std::uint32_t target,
                   const WorldVec3& point) override {
        ActivateNow(character, event, target, point);
    }
    bool EndAction(Character& character) override;
    bool GetValidTarget(const Character& caster, std::uint32_t& target, const WorldVec3& point,
                        bool flag, float radius) override;
    void TargetInformation(const ProjectileInfo& info, const WorldCoords& at,
                           std::vector<std::uint32_t>& targets) override;
    bool IsRangedWeapon() const { return HoldsRangedWeapon(); }

protected:
    // Attack, or for players a turning attack when the aim lies 45 degrees or more aside.
    AnimationSet_Type ChooseAttackAnimation(Character& character, std::uint32_t target,
                                            const WorldVec3& point);
};

// Cast spells: SpellCast animation at spell cast speed.
class SkillActivatedSpell : public SkillActivated {
public:
    SkillActivatedSpell() { SetTargetType(SkillTargetType::Foe); }
    ~SkillActivatedSpell() override;

    bool StartAction(Character& character, std::uint32_t target, const WorldVec3& point,
                     std::uint32_t seed) override;
    void SwipeAction(Character& character, const Name& event, std::uint32_t target,
                     const WorldVec3& point) override;
    void HitAction(Character& character, const Name& event, std::uint32_t target,
                   const WorldVec3& point) override {
        ActivateNow(character, event, target, point);
    }
    bool GetValidTarget(const Character& caster, std::uint32_t& target, const WorldVec3& point,
                        bool flag, float radius) override;
    void TargetResult(Character& character, const std::vector<std::uint32_t>& targets,
                      const WorldCoords& origin, std::uint32_t seed, std::uint32_t weaponId,
                      bool useWeapon) override;
    void TargetInformation(const ProjectileInfo& info, const WorldCoords& at,
                           std::vector<std::uint32_t>& targets) override;
    void PreLoad(bool now) override;
    void PreLoadResources() override;

private:
    OwnedObject<Object> mSpellObject{kActivatedSourceFile};
};

// Buffs on the user: BuffSelf animation; the cooldown may start when the buff ends.
class SkillActivatedBuffSelf : public SkillActivated {
public:
    SkillActivatedBuffSelf() {
        SetTargetType(SkillTargetType::Self);
        SetSkillType(1);
    }

    bool StartAction(Character& character, std::uint32_t target, const WorldVec3& point,
                     std::uint32_t seed) override;
    void SwipeAction(Character& character, const Name& event, std::uint32_t target,
                     const WorldVec3& point) override;
    void HitAction(Character& character, const Name& event, std::uint32_t target,
                   const WorldVec3& point) override {
        ActivateNow(character, event, target, point);
    }
    bool GetValidTarget(const Character& caster, std::uint32_t& target, const WorldVec3& point,
                        bool flag, float radius) override;
    void DispellSelfBuff(Character& character) override;
    // Mana when the buff starts; the cooldown with it, or when it ends (cooldown at the end).
    virtual void ApplyCost(bool starting);
    // Per frame while the buff runs; the life drain never kills.
    virtual void ApplyActiveCosts(Character& character, int ms);
    bool IsOn() const { return mOn; }

protected:
    SkillServicesBase* Services() const;
    // The controlling machine's new on value, sent to every machine.
    void Publish(bool on);

    bool mCooldownAtEnd = true;
    bool mOn = false;
};

// Buffs on a friend: BuffOther animation.
class SkillActivatedBuffOther : public SkillActivated {
public:
    SkillActivatedBuffOther() { SetTargetType(SkillTargetType::Friend); }

    bool StartAction(Character& character, std::uint32_t target, const WorldVec3& point,
                     std::uint32_t seed) override;
    void SwipeAction(Character& character, const Name& event, std::uint32_t target,
                     const WorldVec3& point) override;
    void HitAction(Character& character, const Name& event, std::uint32_t target,
                   const WorldVec3& point) override {
        ActivateNow(character, event, target, point);
    }
    bool GetValidTarget(const Character& caster, std::uint32_t& target, const WorldVec3& point,
                        bool flag, float radius) override;
};

// Picks one weapon-pool attack per use from the use's seed and forwards the use to it.
class SkillActivatedWeaponPool : public SkillActivated {
    RTTI_DECLARE(SkillActivatedWeaponPool)
public:
    SkillActivatedWeaponPool() { SetTargetType(SkillTargetType::Foe); }

    void Update(Character& character, int ms) override;
    bool StartAction(Character& character, std::uint32_t target, const WorldVec3& point,
                     std::uint32_t seed) override;
    void SwipeAction(Character& character, const Name& event, std::uint32_t target,
                     const WorldVec3& point) override;
    void HitAction(Character& character, const Name& event, std::uint32_t target,
                   const WorldVec3& point) override;
    bool EndAction(Character& character) override;
    void PlaySkillSound1(const WorldVec3& where) override;
    void PlaySkillSound2(const WorldVec3& where) override;
    bool GetValidTarget(const Character& caster, std::uint32_t& target, const WorldVec3& point,
                        bool flag, float radius) override;
    void TargetInformation(const ProjectileInfo& info, const WorldCoords& at,
                           std::vector<std::uint32_t>& targets) override;
    std::uint32_t GetChosenAttackId() const { return mChosenAttack; }

protected:
    SkillActivated* ChosenAttack() const;
    // A kind that swings itself (a finale) draws no pooled attack.
    void ClearChosenAttack() { mChosenAttack = 0; }
    SkillServicesBase* Services() const;
    // The controlling machine publishes a charge as the sub level of an inactive state.
    void PublishCharge(int charge);

private:
    std::uint32_t mChosenAttack = 0;
};

}  // namespace GAME
