#pragma once
// The base of every controller state: what a controller forwards to whichever state executes.
#include <cstdint>

#include "Game/characters/anim/AnimationSetType.h"

namespace GAME {

class Name;
struct ProjectileInfo;
struct CollisionData;
struct WorldVec3;

class ControllerAIState {
public:
    ControllerAIState() = default;
    virtual ~ControllerAIState() = default;
    ControllerAIState(const ControllerAIState&) = delete;
    ControllerAIState& operator=(const ControllerAIState&) = delete;

    virtual void DebugRender() = 0;
    virtual bool CloseEnoughToUseSkill(std::uint32_t enemyId, std::uint32_t skillId) = 0;
    virtual bool ShouldFindEnemy() = 0;
    virtual bool ShouldFindClosestEnemy() = 0;
    virtual void EnemyFound(std::uint32_t id) = 0;
    virtual void ClosestEnemyFound(std::uint32_t id, float distance) = 0;
    virtual void Attacked(std::uint32_t attackerId) = 0;
    virtual void AllyAttacked(std::uint32_t allyId, std::uint32_t attackerId) = 0;
    virtual void LowHealth() = 0;
    virtual void AllyDied(std::uint32_t id) = 0;
    virtual void AllyNeedsHelp(std::uint32_t enemyId, std::uint32_t allyId) = 0;
    virtual void HandleEvent(const Name& name) = 0;
    virtual void EndOfPathReached() = 0;
    virtual void LostSlot() = 0;
    virtual void RequestAttack(std::uint32_t a, std::uint32_t b) = 0;
    virtual void RequestMove(std::uint32_t id, const WorldVec3& point) = 0;
    virtual bool RequestConversation(std::uint32_t id) = 0;
    virtual bool IsAvailableForSidelineConversations() = 0;
    virtual void RequestSidelineConversation(const WorldVec3& point) = 0;
    virtual void NotifySidelineDialogThread() = 0;
    virtual void NotifySidelineConversationEnd() = 0;
    virtual void QuestCommandMove(std::uint32_t id, const WorldVec3& point) = 0;
    virtual void QuestCommandWalk(std::uint32_t id, const WorldVec3& point) = 0;
    virtual void QuestCommandPlayAnimation(AnimationSet_Type type, bool looping) = 0;
    virtual void QuestCommandUseSkill(std::uint32_t skillId, std::uint32_t targetId) = 0;
    virtual void ProjectileNotification(std::uint32_t id) = 0;
    virtual void ProjectileCollisionCallback(const ProjectileInfo& info,
                                             const CollisionData& data) = 0;
    virtual void StunMe(float duration) = 0;
    virtual void Panic(std::uint32_t id) = 0;
    virtual void WakeUp(std::uint32_t id) = 0;
    virtual void CharacterIsDying() = 0;
    virtual void CharacterIsDead() = 0;
    virtual void Confused(int amount) = 0;
    virtual void BeginImmobilize() = 0;
    virtual void EndImmobilize() = 0;
    virtual void BeginTrap() = 0;
    virtual void EndTrap() = 0;
    virtual void BeginStun() = 0;
    virtual void EndStun() = 0;
    virtual bool RespondsToFear() = 0;
    virtual bool UsePathPositionAsHome() = 0;
    virtual bool SelectPrimaryAction(bool a, bool b, const WorldVec3& point, unsigned& out) = 0;
    virtual bool SelectSecondaryAction(bool a, bool b, const WorldVec3& point, unsigned& out) = 0;
    virtual bool ActivateSuperSkill(bool a, bool b, const WorldVec3& point, unsigned& out) = 0;
    virtual bool RequestUseItem(std::uint32_t id, bool flag) = 0;
    virtual bool RequestReleasePet(std::uint32_t id) = 0;
    virtual bool RequestUseRelic(std::uint32_t relicId, std::uint32_t itemId) = 0;
    virtual bool Done() = 0;
    virtual void SetDone(bool done) = 0;
    virtual void OnBegin() = 0;
    virtual void OnEnd() = 0;
    virtual void OnUpdate(int ms) = 0;
    virtual void SkillUsed(std::uint32_t skillId) = 0;
};

}  // namespace GAME
