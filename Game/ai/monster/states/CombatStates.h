#pragma once
// The states of a monster's combat loop: it starts, rests, pursues an enemy, attacks it with the
// chosen skill and, at the end of each attack animation, decides again; the two temporary states
// use a skill on an ally or a point in front of whatever state runs.
#include <cstdint>

#include "Game/ai/monster/states/ControllerMonsterState.h"

namespace GAME {

using MonsterState = ControllerMonsterState<ControllerMonster, Monster>;

// The state every monster begins in: plays its spawn animation, if it has one. Only stun, trap,
// immobilisation, panic and death reach it.
class ControllerMonsterStateStartup : public MonsterState {
public:
    using MonsterState::MonsterState;
    void OnBegin() override;
    void OnEnd() override {}
    void OnUpdate(int) override {}
    void HandleEvent(const Name& name) override;

private:
    void UseInitialSkillIfSet();
    bool mSpawnAnimationStarted = false;
};

// Rests; answers every event with the defaults and sets out roaming after a while.
class ControllerMonsterStateIdle : public MonsterState {
public:
    explicit ControllerMonsterStateIdle(ControllerMonster* controller)
        : MonsterState(controller, MonsterDefaults::All) {}
    void OnBegin() override;
    void OnEnd() override {}
    void OnUpdate(int ms) override { StartedRoaming(ms); }

private:
    void StartedRoaming(int ms);
    int mRoamCountdown = 0;
};

// Runs at the enemy until the chosen skill reaches it over a clear path.
class ControllerMonsterStatePursue : public MonsterState {
public:
    explicit ControllerMonsterStatePursue(ControllerMonster* controller)
        : MonsterState(controller, AllDefaultsBut(MonsterDefaults::AllyAttacked |
                                                  MonsterDefaults::RequestConversation)) {}
    void OnBegin() override;
    void OnEnd() override {}
    void OnUpdate(int ms) override;

    void EnemyFound(std::uint32_t id) override { EngageNewEnemy(id); }
    void EndOfPathReached() override;
    void LostSlot() override;
    // A leader cannot send the monster against the monster's own enemy's wishes.
    void RequestAttack(std::uint32_t requester, std::uint32_t target) override {
        if (requester != GetCurrentEnemy())
            DefaultRequestAttackResponse(requester, target);
    }

protected:
    int mPursuitCountdown = 0;
    int mSkillRecheckCountdown = 0;
};

// Shows the enemy an emote before the pursuit begins.
class ControllerMonsterStateEmoteBeforePursue : public MonsterState {
public:
    explicit ControllerMonsterStateEmoteBeforePursue(ControllerMonster* controller)
        : MonsterState(controller, MonsterDefaults::QuestCommands | MonsterDefaults::Confused) {}
    void OnBegin() override;
    void OnEnd() override {}
    void OnUpdate(int) override {}
    void HandleEvent(const Name& name) override;
};

// In reach but something stands between: runs straight for the enemy until the way is clear.
class ControllerMonsterStateNavigateObstacle : public ControllerMonsterStatePursue {
public:
    using ControllerMonsterStatePursue::ControllerMonsterStatePursue;
    void OnBegin() override;
    void OnUpdate(int ms) override;
    void RequestMove(std::uint32_t requester, const WorldVec3& point) override {
        if (requester != GetCurrentEnemy())
            DefaultRequestMoveResponse(requester, point);
    }
};

// Uses the skill on the enemy; the end of the attack animation decides what comes next.
class ControllerMonsterStateAttack : public MonsterState {
public:
    explicit ControllerMonsterStateAttack(ControllerMonster* controller)
        : MonsterState(controller, MonsterDefaults::ClosestEnemyFound | MonsterDefaults::LowHealth |
                                       MonsterDefaults::AllyDied | MonsterDefaults::AllyNeedsHelp |
                                       MonsterDefaults::QuestCommands |
                                       MonsterDefaults::ProjectileNotification |
                                       MonsterDefaults::Confused) {}
    void OnBegin() override;
    void OnEnd() override {}
    void OnUpdate(int ms) override;
    void HandleEvent(const Name& name) override;

    void Attacked(std::uint32_t attacker) override;
    void AllyAttacked(std::uint32_t ally, std::uint32_t) override { HealAllyWhenAttacked(ally); }
    void ProjectileCollisionCallback(const ProjectileInfo&, const CollisionData&) override;
    void LostSlot() override { PursueWithBestSkill(GetCurrentEnemy()); }
    void EnemyFound(std::uint32_t id) override { EngageNewEnemy(id); }
    void RequestAttack(std::uint32_t requester, std::uint32_t target) override {
        if (requester != GetCurrentEnemy())
            DefaultRequestAttackResponse(requester, target);
    }
    void RequestMove(std::uint32_t requester, const WorldVec3& point) override {
        if (requester != GetCurrentEnemy())
            DefaultRequestMoveResponse(requester, point);
    }
    bool IsRepositionWanted() const { return mRepositionWanted; }

private:
    // After the attack animation ends, in order of precedence; true when it decided.
    bool TeleportToFarLeader();
    bool BuffSelfAndReturn();
    bool ContinueChain();
    bool mRepositionWanted = false;
};

// Steps a few paces aside before attacking again.
class ControllerMonsterStateRepositionForAttack : public MonsterState {
public:
    explicit ControllerMonsterStateRepositionForAttack(ControllerMonster* controller)
        : MonsterState(controller, AllDefaultsBut(MonsterDefaults::AllyAttacked |
                                                  MonsterDefaults::RequestConversation)) {}
    void OnBegin() override;
    void OnEnd() override { Ctl().ReleaseMoveGoal(); }
    void OnUpdate(int) override {}

    void EndOfPathReached() override;
    void EnemyFound(std::uint32_t id) override { EngageNewEnemy(id); }
    void RequestAttack(std::uint32_t requester, std::uint32_t target) override {
        if (requester != GetCurrentEnemy())
            DefaultRequestAttackResponse(requester, target);
    }
};

// No attack slot is free at the enemy: emotes, idles or circles until one frees up.
class ControllerMonsterStateWaitToAttack : public MonsterState {
public:
    // What the facing axis dotted with the (unnormalised) way to the enemy must exceed for the
    // monster to emote at it: 30 degrees in radians, compared as the designers tuned it.
    static constexpr float kEmoteCone = 0.5236f;

    explicit ControllerMonsterStateWaitToAttack(ControllerMonster* controller)
        : MonsterState(controller, AllDefaultsBut(MonsterDefaults::RequestConversation)) {}
    void OnBegin() override;
    void OnEnd() override {}
    void OnUpdate(int ms) override;
    void HandleEvent(const Name& name) override;
    void EndOfPathReached() override;
    void RequestAttack(std::uint32_t requester, std::uint32_t target) override {
        if (target != GetCurrentEnemy())
            DefaultRequestAttackResponse(requester, target);
    }

    // Whether a monster facing along `forward` emotes at a target `toTarget` away.
    static bool Faces(const Vec3& forward, const Vec3& toTarget);
    const WorldVec3& GetAnchor() const { return mAnchor; }
    float GetAnchorRadius() const { return mAnchorRadius; }

private:
    bool EmoteOrRoam();
    bool StartRoaming();

    int mIdleCountdown = 0;
    WorldVec3 mAnchor;
    float mAnchorRadius = 0.0f;
    bool mWaitingStarted = false;
    int mSlotRecheckCountdown = 0;
};

// Runs aside from an incoming projectile to the point in the state data.
class ControllerMonsterStateDodgeAttack : public MonsterState {
public:
    explicit ControllerMonsterStateDodgeAttack(ControllerMonster* controller)
        : MonsterState(controller, MonsterDefaults::RequestMove | MonsterDefaults::QuestCommands |
                                       MonsterDefaults::Confused) {}
    void OnBegin() override;
    void OnEnd() override {}
    void OnUpdate(int) override {}
    void EndOfPathReached() override { Go("Return"); }
};

// The two temporary states: one skill use, done at the end of its animation.
class ControllerMonsterStateUseSkillTemporary : public MonsterState {
public:
    explicit ControllerMonsterStateUseSkillTemporary(ControllerMonster* controller)
        : MonsterState(controller, MonsterDefaults::QuestCommands) {}
    void OnEnd() override {}
    void OnUpdate(int) override {}
    void HandleEvent(const Name& name) override;

protected:
    // The skill of the state data when it can be used now; else done, and 0.
    std::uint32_t ReadySkillOrDone();
};

class ControllerMonsterStateUseSkillOnAlly : public ControllerMonsterStateUseSkillTemporary {
public:
    using ControllerMonsterStateUseSkillTemporary::ControllerMonsterStateUseSkillTemporary;
    void OnBegin() override;
};

class ControllerMonsterStateUseSkillOnPoint : public ControllerMonsterStateUseSkillTemporary {
public:
    using ControllerMonsterStateUseSkillTemporary::ControllerMonsterStateUseSkillTemporary;
    void OnBegin() override;
};

}  // namespace GAME
