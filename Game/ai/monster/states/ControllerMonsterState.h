#pragma once
// The base of every monster state, over the monster controller kind and its character class.
// It answers stun, trap, immobilisation, panic and skill use the same way in every state, and
// holds the default responses. A state names the events it answers with the defaults; any other
// event it does not handle itself, it ignores.
#include <cstdint>
#include <string>
#include <vector>

#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/sys/Machine.h"
#include "Engine/world/World.h"
#include "Game/ai/controllers/ControllerAIStateT.h"
#include "Game/ai/monster/ControllerMonster.h"
#include "Game/ai/monster/states/MonsterStateHelpers.h"
#include "Game/ai/monster/states/MonsterStateProjectiles.h"
#include "Game/characters/ambient/DynamicBarrier.h"
#include "Game/characters/monster/Monster.h"
#include "Game/core/GameEngine.h"
#include "Game/core/players/Team.h"
#include "Game/skills/Skill.h"

namespace GAME {

// The events a state answers with its default response; every other event it does not handle
// itself is ignored.
enum class MonsterDefaults : std::uint32_t {
    None = 0,
    EnemyFound = 1u << 0,
    ClosestEnemyFound = 1u << 1,
    Attacked = 1u << 2,
    AllyAttacked = 1u << 3,
    LowHealth = 1u << 4,
    AllyDied = 1u << 5,
    AllyNeedsHelp = 1u << 6,
    RequestAttack = 1u << 7,
    RequestMove = 1u << 8,
    RequestConversation = 1u << 9,
    QuestCommands = 1u << 10,  // move, walk, play animation and use skill
    ProjectileNotification = 1u << 11,
    Confused = 1u << 12,
    All = (1u << 13) - 1,
};
constexpr MonsterDefaults operator|(MonsterDefaults a, MonsterDefaults b) {
    return static_cast<MonsterDefaults>(static_cast<std::uint32_t>(a) |
                                        static_cast<std::uint32_t>(b));
}
// All but the given events.
constexpr MonsterDefaults AllDefaultsBut(MonsterDefaults excluded) {
    return static_cast<MonsterDefaults>(static_cast<std::uint32_t>(MonsterDefaults::All) &
                                        ~static_cast<std::uint32_t>(excluded));
}

template <class TController, class TCharacter>
class ControllerMonsterState : public ControllerAIStateT<TController, TCharacter> {
    using Base = ControllerAIStateT<TController, TCharacter>;

public:
    explicit ControllerMonsterState(TController* controller,
                                    MonsterDefaults defaults = MonsterDefaults::None)
        : Base(controller), mDefaults(static_cast<std::uint16_t>(defaults)) {
        static_assert(static_cast<std::uint32_t>(MonsterDefaults::All) <= 0xFFFFu);
    }

    void EnemyFound(std::uint32_t id) override {
        if (Uses(MonsterDefaults::EnemyFound))
            DefaultEnemyFoundResponse(id);
    }
    void ClosestEnemyFound(std::uint32_t id, float distance) override {
        if (Uses(MonsterDefaults::ClosestEnemyFound))
            DefaultClosestEnemyFoundResponse(id, distance);
    }
    void Attacked(std::uint32_t attacker) override {
        if (Uses(MonsterDefaults::Attacked))
            DefaultAttackedResponse(attacker);
    }
    void AllyAttacked(std::uint32_t ally, std::uint32_t attacker) override {
        if (Uses(MonsterDefaults::AllyAttacked))
            DefaultAllyAttackedResponse(ally, attacker);
    }
    void LowHealth() override {
        if (Uses(MonsterDefaults::LowHealth))
            DefaultLowHealthResponse();
    }
    void AllyDied(std::uint32_t ally) override {
        if (Uses(MonsterDefaults::AllyDied))
            DefaultAllyDiedResponse(ally);
    }
    void AllyNeedsHelp(std::uint32_t enemy, std::uint32_t ally) override {
        if (Uses(MonsterDefaults::AllyNeedsHelp))
            DefaultAllyNeedsHelpResponse(enemy, ally);
    }
    void RequestAttack(std::uint32_t requester, std::uint32_t target) override {
        if (Uses(MonsterDefaults::RequestAttack))
            DefaultRequestAttackResponse(requester, target);
    }
    void RequestMove(std::uint32_t requester, const WorldVec3& point) override {
        if (Uses(MonsterDefaults::RequestMove))
            DefaultRequestMoveResponse(requester, point);
    }
    bool RequestConversation(std::uint32_t partner) override {
        return Uses(MonsterDefaults::RequestConversation) &&
               DefaultRequestConversationResponse(partner);
    }
    void QuestCommandMove(std::uint32_t id, const WorldVec3& point) override {
        if (Uses(MonsterDefaults::QuestCommands))
            DefaultQuestCommandMoveResponse(id, point);
    }
    void QuestCommandWalk(std::uint32_t id, const WorldVec3& point) override {
        if (Uses(MonsterDefaults::QuestCommands))
            DefaultQuestCommandWalkResponse(id, point);
    }
    void QuestCommandPlayAnimation(AnimationSet_Type type, bool loop) override {
        if (Uses(MonsterDefaults::QuestCommands))
            DefaultQuestCommandPlayAnimationResponse(type, loop);
    }
    void QuestCommandUseSkill(std::uint32_t skill, std::uint32_t target) override {
        if (Uses(MonsterDefaults::QuestCommands))
            DefaultQuestCommandUseSkillResponse(skill, target);
    }
    void ProjectileNotification(std::uint32_t projectile) override {
        if (Uses(MonsterDefaults::ProjectileNotification))
            DefaultProjectileNotificationResponse(projectile);
    }
    void Confused(int duration) override {
        if (Uses(MonsterDefaults::Confused))
            DefaultConfusedResponse(duration);
    }

    bool ShouldFindEnemy() override { return true; }
    bool ShouldFindClosestEnemy() override { return true; }

    void BeginStun() override { Switch("Stunned"); }
    void BeginTrap() override { Switch("Trapped"); }
    void BeginImmobilize() override { Switch("Immobile"); }
    void Panic(std::uint32_t enemy) override { DefaultPanicResponse(enemy); }
    void SkillUsed(std::uint32_t skillId) override;

protected:
    TController& Ctl() const { return *this->GetController(); }
    std::uint32_t SelfId() const { return this->GetController()->GetParentId(); }
    std::uint32_t LeaderId() {
        const TCharacter* self = this->GetCharacter();
        return self ? self->GetLeaderId() : 0;
    }
    static ControllerAIStateData Data(const ControllerAIStateArgs& args) {
        return ControllerAIStateData(args);
    }
    void Go(const AIStateKey& key, const ControllerAIStateData& data = {}) {
        this->SetState(key, data);
    }
    // "Pursue" the enemy with the best skill for it.
    void PursueWithBestSkill(std::uint32_t enemy, std::uint32_t ally = 0) {
        Go("Pursue",
           Data({.enemy = enemy, .ally = ally, .skill = Ctl().ChooseBestSkill(enemy, false)}));
    }
    void UseSkillOnAlly(std::uint32_t ally, std::uint32_t skill) {
        this->AddTemporaryState("UseSkillOnAlly", Data({.ally = ally, .skill = skill}));
    }

    void DefaultPanicResponse(std::uint32_t enemy) { Go("Panic", Data({.enemy = enemy})); }
    void DefaultEnemyFoundResponse(std::uint32_t enemy);
    void DefaultAttackedResponse(std::uint32_t attacker);
    void DefaultAllyAttackedResponse(std::uint32_t ally, std::uint32_t attacker);
    void DefaultAllyNeedsHelpResponse(std::uint32_t enemy, std::uint32_t ally);
    void DefaultAllyDiedResponse(std::uint32_t ally) {
        if (ally == LeaderId())
            JoinLeader(0);
    }
    void DefaultClosestEnemyFoundResponse(std::uint32_t enemy, float) {
        if (Ctl().GetFleeBehavior() == ControllerMonster::FleeWhenEnemyClose && Ctl().CanFlee())
            Go("Flee", Data({.enemy = enemy}));
    }
    void DefaultLowHealthResponse();
    void DefaultConfusedResponse(int duration) {
        if (duration <= Ctl().GetConfusedTime())
            return;
        Ctl().SetConfusedTime(duration);
        Go("Confused");
    }
    void DefaultRequestAttackResponse(std::uint32_t requester, std::uint32_t target);
    void DefaultRequestMoveResponse(std::uint32_t requester, const WorldVec3& point);
    bool DefaultRequestConversationResponse(std::uint32_t partner);
    void DefaultQuestCommandMoveResponse(std::uint32_t id, const WorldVec3& point);
    void DefaultQuestCommandWalkResponse(std::uint32_t id, const WorldVec3& point);
    void DefaultQuestCommandPlayAnimationResponse(AnimationSet_Type type, bool loop) {
        Ctl().SetQuestAnimation(type, loop);
        Go("QuestPlayAnimation");
    }
    void DefaultQuestCommandUseSkillResponse(std::uint32_t skill, std::uint32_t target) {
        Go("QuestUseSkill", Data({.enemy = target, .ally = target, .skill = skill}));
    }
    void DefaultProjectileNotificationResponse(std::uint32_t projectile);

    void HealAllyWhenAttacked(std::uint32_t ally);
    void CallForFollowers();
    void JoinLeader(std::uint32_t leader) {
        TCharacter* self = this->GetCharacter();
        if (self && leader != self->GetLeaderId())
            self->JoinMe(leader, -1, false);
    }
    bool ShouldBuffSelf() const {
        return Ctl().GetBuffSelfBehavior() != ControllerMonster::NeverUseSkill;
    }
    // Any non-zero self-buff behaviour: the best self-buff skill, if one is ready.
    void BuffSelfIfAble() {
        if (!ShouldBuffSelf())
            return;
        if (const std::uint32_t skill = Ctl().ChooseBestBuffSelfSkill())
            UseSkillOnAlly(SelfId(), skill);
    }
    // Only "WhenEnemyIsSeen" buffs, but the best skill is asked for under any non-zero one.
    void BuffSelfWhenEnemyIsSeen() {
        if (!ShouldBuffSelf())
            return;
        const std::uint32_t skill = Ctl().ChooseBestBuffSelfSkill();
        if (Ctl().GetBuffSelfBehavior() == ControllerMonster::WhenEnemyIsSeen && skill)
            UseSkillOnAlly(SelfId(), skill);
    }
    void BuffAllyWhenEnemyIsSeen();

    // The nearest dynamic barrier of a foe on the way to the target; null when none.
    Character* IsBarrierBlocking(std::uint32_t targetId);
    using Base::IsPathClear;
    // A new enemy: "Attack" it at once when in reach with a clear path, else "Pursue" it.
    void EngageNewEnemy(std::uint32_t enemy) {
        if (enemy == this->GetCurrentEnemy())
            return;
        const std::uint32_t skill = Ctl().ChooseBestSkill(enemy, false);
        AttackOrElse(enemy, skill, "Pursue");
    }
    // "Attack" when in reach of the skill with a clear path, else the other state; both with
    // {enemy, 0, skill}.
    void AttackOrElse(std::uint32_t enemy, std::uint32_t skill, const AIStateKey& otherwise) {
        const bool inReach = this->CloseEnoughToUseSkill(enemy, skill) && IsPathClear(enemy);
        Go(inReach ? AIStateKey(AIStateId::Attack) : otherwise,
           Data({.enemy = enemy, .skill = skill}));
    }
    static WorldVec3 PathPositionOf(std::uint32_t id) {
        const Character* character = Base::FindCharacter(id);
        return character ? character->GetPathPosition() : WorldVec3();
    }

private:
    bool Uses(MonsterDefaults event) const {
        return (mDefaults & static_cast<std::uint32_t>(event)) != 0;
    }
    void Switch(const AIStateKey& key) {
        this->ClearTemporaryStates();
        Go(key);
    }

    // Sixteen bits fit beside the base's flag: a crowd holds every state of every monster.
    std::uint16_t mDefaults;
};

template <class TController, class TCharacter>
void ControllerMonsterState<TController, TCharacter>::SkillUsed(std::uint32_t skillId) {
    if (skillId == 0)
        return;
    TController& ctl = Ctl();
    for (std::size_t k = 0; k < ControllerMonster::kSpecialAttackCount; ++k) {
        if (ctl.GetSpecialAttack(k).skillId == skillId) {
            ctl.StartSpecialAttackReuse(k);
            return;
        }
    }
    if (skillId == ctl.GetHealSkillId())
        ctl.StartHealDelay();
}

template <class TController, class TCharacter>
void ControllerMonsterState<TController, TCharacter>::DefaultEnemyFoundResponse(
    std::uint32_t enemy) {
    TController& ctl = Ctl();
    if (enemy == this->GetCurrentEnemy() || !ctl.IsEnemyValid(enemy))
        return;
    PursueWithBestSkill(enemy);
    BuffSelfIfAble();
    BuffAllyWhenEnemyIsSeen();
    const int roll = crt_rand() % 100;
    if (TCharacter* self = this->GetCharacter()) {
        if (self->GetAlertSoundChance() >= static_cast<float>(roll) && ctl.ShouldPlayRallyOrAlert())
            self->PlayNetSound(self->GetAlertSound());
    }
    if (ctl.GetLeaderBehavior() == ControllerMonster::LeadWhenEnemyIsSeen)
        CallForFollowers();
}

template <class TController, class TCharacter>
void ControllerMonsterState<TController, TCharacter>::DefaultAttackedResponse(
    std::uint32_t attacker) {
    TController& ctl = Ctl();
    if (attacker == this->GetCurrentEnemy())
        return;
    if (ctl.GetLeaderBehavior() == ControllerMonster::LeadOnDamage)
        CallForFollowers();
    BuffSelfWhenEnemyIsSeen();
    if (ctl.GetFleeBehavior() == ControllerMonster::FleeOnDamage && ctl.CanFlee())
        Go("Flee", Data({.enemy = attacker}));
}

template <class TController, class TCharacter>
void ControllerMonsterState<TController, TCharacter>::DefaultAllyAttackedResponse(
    std::uint32_t ally, std::uint32_t attacker) {
    TController& ctl = Ctl();
    HealAllyWhenAttacked(ally);
    if (crt_rand() % 100 < ctl.GetChanceToRespondToDistressCall() &&
        attacker != this->GetCurrentEnemy() && ctl.IsEnemyValid(attacker) &&
        ctl.CaresAboutDistressCall(ally)) {
        PursueWithBestSkill(attacker, ally);
        BuffSelfIfAble();
    }
}

template <class TController, class TCharacter>
void ControllerMonsterState<TController, TCharacter>::DefaultAllyNeedsHelpResponse(
    std::uint32_t enemy, std::uint32_t) {
    TController& ctl = Ctl();
    if (crt_rand() % 100 >= ctl.GetChanceToRespondToDistressCall())
        return;
    BuffAllyWhenEnemyIsSeen();
    BuffSelfWhenEnemyIsSeen();
    if (ctl.IsEnemyValid(enemy))
        PursueWithBestSkill(enemy);
}

template <class TController, class TCharacter>
void ControllerMonsterState<TController, TCharacter>::DefaultLowHealthResponse() {
    TController& ctl = Ctl();
    const std::uint32_t enemy = this->GetCurrentEnemy();
    if (ctl.GetFleeBehavior() == ControllerMonster::FleeOnLowHealth && ctl.CanFlee())
        Go("Flee", Data({.enemy = enemy}));
    else if (ctl.GetBerserkSkillId() != 0 && enemy != 0)
        Go("Pursue", Data({.enemy = enemy, .skill = ctl.GetBerserkSkillId()}));
}

template <class TController, class TCharacter>
void ControllerMonsterState<TController, TCharacter>::DefaultRequestAttackResponse(
    std::uint32_t requester, std::uint32_t target) {
    if (requester == 0 || requester != LeaderId() || !Ctl().IsEnemyValid(target))
        return;
    Ctl().SetMostHatedEnemy(target);
    PursueWithBestSkill(target);
}

template <class TController, class TCharacter>
void ControllerMonsterState<TController, TCharacter>::DefaultRequestMoveResponse(
    std::uint32_t requester, const WorldVec3& point) {
    if (requester == 0 || requester != LeaderId())
        return;
    Ctl().ClearAnger();
    Ctl().SetMoveTerrainPoint(point);
    Go("Move", Data({.ally = requester}));
}

template <class TController, class TCharacter>
bool ControllerMonsterState<TController, TCharacter>::DefaultRequestConversationResponse(
    std::uint32_t partner) {
    const TeamManager* teams = gGameEngine ? gGameEngine->GetTeamManager() : nullptr;
    if (!Singleton<ObjectManager>::Get().GetObject<Monster>(partner) || !teams ||
        teams->IsFoe(SelfId(), partner))
        return false;
    Go("Roam", Data({.ally = partner}));
    return true;
}

template <class TController, class TCharacter>
void ControllerMonsterState<TController, TCharacter>::DefaultQuestCommandMoveResponse(
    std::uint32_t, const WorldVec3& point) {
    TCharacter* self = this->GetCharacter();
    if (self && self->CanMoveTo(point, 0.5f)) {
        Ctl().SetMoveTerrainPoint(point);
        Go("QuestMove");
        return;
    }
    gEngine->Log(1, "Quest cannot move %s to point", self ? self->GetObjectName().c_str() : "");
}

template <class TController, class TCharacter>
void ControllerMonsterState<TController, TCharacter>::DefaultQuestCommandWalkResponse(
    std::uint32_t, const WorldVec3& point) {
    TCharacter* self = this->GetCharacter();
    if (self && self->CanMoveTo(point, 0.5f)) {
        Ctl().SetMoveTerrainPoint(point);
        Go("QuestWalk");
    }
}

template <class TController, class TCharacter>
void ControllerMonsterState<TController, TCharacter>::DefaultProjectileNotificationResponse(
    std::uint32_t projectile) {
    TController& ctl = Ctl();
    if (static_cast<float>(crt_rand() % 100) >= ctl.GetDodgeChance())
        return;
    TCharacter* self = this->GetCharacter();
    WorldVec3 launch;
    if (!self || !FindProjectileLaunchPoint(projectile, launch))
        return;
    const WorldVec3 from = self->GetPathPosition();
    if (from.DistanceTo(launch) < self->GetExtents() + ctl.GetMinDodgeDistance())
        return;
    const float radius = ctl.GetDodgeDistance();
    WorldVec3 point;
    if (PickRandomPointInVicinity(point, *self, self->GetCoords().GetPosition(), radius, radius,
                                  radius - 0.1f, ctl.GetMaxYViewDistance()))
        Go("DodgeAttack",
           Data(
               {.enemy = this->GetCurrentEnemy(), .ally = this->GetCurrentAlly(), .point = point}));
}

template <class TController, class TCharacter>
void ControllerMonsterState<TController, TCharacter>::HealAllyWhenAttacked(std::uint32_t ally) {
    TController& ctl = Ctl();
    const std::uint32_t heal = ctl.GetHealSkillId();
    if (heal == 0 || !ctl.ShouldHealAlly())
        return;
    const Character* friendly = Base::FindCharacter(ally);
    if (!friendly)
        return;
    const float total = friendly->GetTotalCharAttribute(CharAttributeType::Life);
    if (total <= 0.0f)
        return;
    const float fraction = friendly->GetCurrentLife() / total;
    const int percent = ally == LeaderId() ? ctl.GetHealLeaderHealthPercentage()
                                           : ctl.GetHealAllyHealthPercentage();
    if (static_cast<float>(percent) * 0.01f > fraction)
        UseSkillOnAlly(ally, heal);
}

template <class TController, class TCharacter>
void ControllerMonsterState<TController, TCharacter>::CallForFollowers() {
    TController& ctl = Ctl();
    TCharacter* self = this->GetCharacter();
    if (!self)
        return;
    const WorldVec3 at = self->GetPathPosition();
    thread_local std::vector<Character*> friends;
    friends.clear();
    ctl.GetFriendsInSphere(friends, at.GetRegion(),
                           Sphere{at.GetRegionPosition(), ctl.GetLeaderDistance()});
    for (Character* follower : friends) {
        if (ctl.GetFollowersJoined() >= ctl.GetMaxFollowers())
            break;
        follower->JoinMe(SelfId(), -1, false);
        ctl.SetFollowersJoined(ctl.GetFollowersJoined() + 1);
    }
}

template <class TController, class TCharacter>
void ControllerMonsterState<TController, TCharacter>::BuffAllyWhenEnemyIsSeen() {
    TController& ctl = Ctl();
    if (ctl.GetBuffAllyBehavior() != ControllerMonster::WhenEnemyIsSeen)
        return;
    const std::uint32_t skillId = ctl.GetBuffOtherSkillId();
    const Skill* skill = Singleton<ObjectManager>::Get().GetObject<Skill>(skillId);
    if (!skill || !skill->IsSkillEnabled())
        return;
    const std::uint32_t ally = ctl.ChooseBestAllyToBuff();
    if (ally != 0 && skill->IsValidTarget(ally))
        UseSkillOnAlly(ally, skillId);
}

template <class TController, class TCharacter>
Character* ControllerMonsterState<TController, TCharacter>::IsBarrierBlocking(
    std::uint32_t targetId) {
    const TCharacter* self = this->GetCharacter();
    return self ? DynamicBarrier::FindBlocking(self->GetObjectId(), targetId) : nullptr;
}

}  // namespace GAME
