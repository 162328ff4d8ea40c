#pragma once
// The state base every concrete state derives from, over its controller class and its character
// class: defaults for every forwarded event and the helpers states share. A concrete state
// defines OnBegin, OnEnd and OnUpdate.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/world/World.h"
#include "Game/ai/controllers/ControllerAI.h"
#include "Game/characters/Character.h"
#include "Game/characters/movement/SightDigest.h"
#include "Game/core/GameEngine.h"
#include "Game/skills/Skill.h"
#include "Game/world/props/Decoration.h"

namespace GAME {

template <class TController, class TCharacter>
class ControllerAIStateT : public ControllerAIState {
public:
    explicit ControllerAIStateT(TController* controller) : mController(controller) {}

    TController* GetController() const { return mController; }
    // The controlled character, looked up on first use and kept: once for all the controller's
    // states, whose blocks every controller of a crowd holds (debug builds keep each state's own
    // answer too, and abort where the two differ).
    TCharacter* GetCharacter() {
        ControllerAI::StateCharacter& kept = mController->GetStateCharacter();
        TCharacter* character = kept.asClass == &TCharacter::classInfo
                                    ? static_cast<TCharacter*>(kept.character)
                                    : nullptr;
        if (!character) {
            character =
                Singleton<ObjectManager>::Get().GetObject<TCharacter>(mController->GetParentId());
            if (character)
                kept = {character, &TCharacter::classInfo};
        }
        CheckKeptCharacter(character);
        return character;
    }

    void DebugRender() override {}
    bool CloseEnoughToUseSkill(std::uint32_t enemyId, std::uint32_t skillId) override;
    bool ShouldFindEnemy() override { return false; }
    bool ShouldFindClosestEnemy() override { return false; }
    void EnemyFound(std::uint32_t) override {}
    void ClosestEnemyFound(std::uint32_t, float) override {}
    void Attacked(std::uint32_t) override {}
    void AllyAttacked(std::uint32_t, std::uint32_t) override {}
    void LowHealth() override {}
    void AllyDied(std::uint32_t) override {}
    void AllyNeedsHelp(std::uint32_t, std::uint32_t) override {}
    void HandleEvent(const Name&) override {}
    void EndOfPathReached() override {}
    void LostSlot() override {}
    void RequestAttack(std::uint32_t, std::uint32_t) override {}
    void RequestMove(std::uint32_t, const WorldVec3&) override {}
    bool RequestConversation(std::uint32_t) override { return false; }
    bool IsAvailableForSidelineConversations() override { return false; }
    void RequestSidelineConversation(const WorldVec3&) override {}
    void NotifySidelineDialogThread() override {}
    void NotifySidelineConversationEnd() override {}
    void QuestCommandMove(std::uint32_t, const WorldVec3&) override {}
    void QuestCommandWalk(std::uint32_t, const WorldVec3&) override {}
    void QuestCommandPlayAnimation(AnimationSet_Type, bool) override {}
    void QuestCommandUseSkill(std::uint32_t, std::uint32_t) override {}
    void ProjectileNotification(std::uint32_t) override {}
    void ProjectileCollisionCallback(const ProjectileInfo&, const CollisionData&) override {}
    void StunMe(float duration) override {
        mController->ClearTemporaryStates();
        mController->SetStunTime(static_cast<int>(duration));
        mController->SetState("Stunned", ControllerAIStateData());
    }
    void Panic(std::uint32_t) override {}
    void WakeUp(std::uint32_t) override {}
    void CharacterIsDying() override {
        mController->ClearTemporaryStates();
        mController->SetState("Dying", ControllerAIStateData());
    }
    void CharacterIsDead() override {
        mController->ClearTemporaryStates();
        mController->SetState("Dead", ControllerAIStateData());
    }
    void Confused(int) override {}
    void BeginImmobilize() override {}
    void EndImmobilize() override {}
    void BeginTrap() override {}
    void EndTrap() override {}
    void BeginStun() override {}
    void EndStun() override {}
    bool RespondsToFear() override { return false; }
    bool UsePathPositionAsHome() override { return false; }
    bool SelectPrimaryAction(bool, bool, const WorldVec3&, unsigned&) override { return false; }
    bool SelectSecondaryAction(bool, bool, const WorldVec3&, unsigned&) override { return false; }
    bool ActivateSuperSkill(bool, bool, const WorldVec3&, unsigned&) override { return false; }
    bool RequestUseItem(std::uint32_t, bool) override { return false; }
    bool RequestReleasePet(std::uint32_t) override { return false; }
    bool RequestUseRelic(std::uint32_t, std::uint32_t) override { return false; }
    bool Done() override { return mDone; }
    void SetDone(bool done) override { mDone = done; }
    void SkillUsed(std::uint32_t) override {}
    virtual void DoorOpened() {}
    virtual void DoorClosed() {}
    virtual float GetSkillUseTolerance(std::uint32_t) { return 0.5f; }

protected:
    void Idle() { mController->Idle(); }
    void LongIdle() { mController->LongIdle(); }
    void MoveTo(const WorldVec3& point, std::uint32_t targetId, std::uint32_t skillId) {
        mController->MoveTo(point, targetId, skillId);
    }
    void WalkTo(const WorldVec3& point, std::uint32_t targetId) {
        mController->WalkTo(point, targetId);
    }
    void PickUp(std::uint32_t id) { mController->PickUp(id); }
    void Use(std::uint32_t id) { mController->Use(id); }
    void TakeStun() { mController->TakeStun(); }
    void Die() { mController->Die(); }
    void Chat(std::uint32_t id) { mController->Chat(id); }
    void PlayAnimation(AnimationSet_Type type, const Name& name, float speed, bool looping,
                       unsigned value) {
        mController->PlayAnimation(type, name, speed, looping, value);
    }
    void SetState(const AIStateKey& key, const ControllerAIStateData& data) {
        mController->SetState(key, data);
    }
    void AddTemporaryState(const AIStateKey& key, const ControllerAIStateData& data) {
        mController->AddTemporaryState(key, data);
    }
    void ClearTemporaryStates() { mController->ClearTemporaryStates(); }
    std::uint32_t GetCurrentEnemy() const { return mController->GetCurrentEnemy(); }
    std::uint32_t GetCurrentAlly() const { return mController->GetCurrentAlly(); }
    std::uint32_t GetCurrentSkillID() const { return mController->GetCurrentSkillID(); }
    int GetStunTime() const { return mController->GetStunTime(); }
    const WorldVec3& GetPointOfInterest() const { return mController->GetCurrentPointOfInterest(); }
    float GetViewDistance() const { return mController->GetViewDistance(); }
    void KillMe() { mController->KillMe(); }

    // Uses the skill (an object id) by its reference number, then tells this state.
    void UseSkill(std::uint32_t targetId, const WorldVec3& point, std::uint32_t skillId,
                  std::uint16_t value) {
        if (TCharacter* character = GetCharacter())
            mController->UseSkill(targetId, point,
                                  character->GetSkillManager().GetSkillReferenceNumber(skillId),
                                  value);
        SkillUsed(skillId);
    }

    static Character* FindCharacter(std::uint32_t id) {
        return Singleton<ObjectManager>::Get().GetObject<Character>(id);
    }
    static bool IsAlive(std::uint32_t id) {
        const Character* character = FindCharacter(id);
        return character && character->IsAlive();
    }
    static Character* ValidateObjectId(std::uint32_t id, const char* label) {
        Character* character = FindCharacter(id);
        if (!character)
            gEngine->Log(2, "%s Error - invalid Object ID.", label);
        return character;
    }
    // Scenery that lets no path through.
    static bool BlocksPath(const Entity* entity) {
        const auto* decoration = dynamic_cast<const Decoration*>(entity);
        return decoration && decoration->IsStatic();
    }

    // CloseEnoughToUseSkill for a state that GetMoveToPoint (holding the slot) has just answered
    // `answered` for this enemy and skill, with no controller losing a slot meanwhile: asked
    // again at once the ring gives the same slot, so the answer stands for the second request.
    bool CloseEnoughToUseSkillAt(std::uint32_t enemyId, std::uint32_t skillId,
                                 const WorldVec3& answered) {
        return CloseEnough(enemyId, skillId, &answered);
    }
    // CloseEnoughToUseSkill for the enemy the caller has just looked up by its id.
    bool CloseEnoughToUseSkillOn(const Character& enemy, std::uint32_t skillId) {
        return CloseEnough(enemy.GetObjectId(), skillId, nullptr, &enemy);
    }

    void FindEnemiesInSight(std::vector<Character*>& out);
    void FindAlliesInSight(std::vector<Character*>& out);
    void FindAlliesOfType(std::vector<Character*>& out, const std::string& recordName);
    // Whether neither the ground nor static scenery lies on the straight line to the target.
    bool IsPathClear(std::uint32_t targetId);

private:
    bool CloseEnough(std::uint32_t enemyId, std::uint32_t skillId, const WorldVec3* answered,
                     const Character* found = nullptr);
    // The characters in the sphere of view around the controlled character, in world order.
    void CharactersInSight(std::vector<Character*>& out);

    void CheckKeptCharacter([[maybe_unused]] const TCharacter* character) {
#ifndef NDEBUG
        if (!mCharacter)
            mCharacter =
                Singleton<ObjectManager>::Get().GetObject<TCharacter>(mController->GetParentId());
        if (mCharacter != character) {
            gEngine->Log(0, "ControllerAIState: the states' kept character is not this one's");
            std::abort();
        }
#endif
    }

    TController* mController;
    bool mDone = false;
#ifndef NDEBUG
    // This state's own answer, as it was before the controller kept one for all.
    TCharacter* mCharacter = nullptr;
#endif
};

template <class TController, class TCharacter>
bool ControllerAIStateT<TController, TCharacter>::CloseEnoughToUseSkill(std::uint32_t enemyId,
                                                                        std::uint32_t skillId) {
    return CloseEnough(enemyId, skillId, nullptr);
}

template <class TController, class TCharacter>
bool ControllerAIStateT<TController, TCharacter>::CloseEnough(std::uint32_t enemyId,
                                                              std::uint32_t skillId,
                                                              const WorldVec3* answered,
                                                              const Character* found) {
    TCharacter* self = GetCharacter();
    if (!self)
        return false;
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    const Skill* skill = objects.GetObject<Skill>(skillId);
    if (!skill) {
        gEngine->Log(2,
                     "ControllerAIState::CloseEnoughToUseSkill() - invalid skill used by %s.  "
                     "This is most likely a database record issue.",
                     self->GetObjectName().c_str());
        return false;
    }
#ifndef NDEBUG
    if (found && objects.GetObject<Character>(enemyId) != found) {
        gEngine->Log(0, "ControllerAIState: the enemy handed to %s is stale",
                     self->GetObjectName().c_str());
        std::abort();
    }
#endif
    const Character* enemy = found ? found : objects.GetObject<Character>(enemyId);
    if (!enemy) {
        gEngine->Log(2,
                     "ControllerAIState::CloseEnoughToUseSkill() - invalid enemy being attacked "
                     "by %s.",
                     self->GetObjectName().c_str());
        return false;
    }
    const WorldVec3 enemyPosition = enemy->GetPathPosition();
    if (skill->NeedsAttackSlot() && !enemy->IsMoving()) {
        // Only a game of one may hold here: nothing tells the other machines of this look, so
        // in a network game it must leave the ring as every machine has it (a holder that died
        // since the shared path update would otherwise be replaced on the server alone).
        const bool hold = !gEngine->IsNetworkEnabled();
        const WorldVec3 point =
            answered ? *answered : self->GetMoveToPoint(enemyId, skillId, enemyPosition, hold);
#ifndef NDEBUG
        if (answered && !(self->GetMoveToPoint(enemyId, skillId, enemyPosition, hold) == point)) {
            gEngine->Log(0, "ControllerAIState: the slot just answered to %s is stale",
                         self->GetObjectName().c_str());
            std::abort();
        }
#endif
        if (!point.IsValid())
            return false;
        return self->GetPathPosition().DistanceTo(point) < GetSkillUseTolerance(enemyId);
    }
    const float d = self->GetPathPosition().DistanceTo(enemyPosition);
    const float r = Character::GetTargetDistance(self->GetObjectId(), enemyId, skillId);
    return d < r + GetSkillUseTolerance(enemyId);
}

template <class TController, class TCharacter>
void ControllerAIStateT<TController, TCharacter>::CharactersInSight(std::vector<Character*>& out) {
    out.clear();
    TCharacter* self = GetCharacter();
    if (!self)
        return;
    const WorldVec3 position = self->GetPathPosition();
    // Kept between calls: states look around every frame.
    thread_local std::vector<Entity*> found;
    found.clear();
    World::Get().GetEntitiesInSphere(found, self->GetRegion(),
                                     Sphere{position.GetRegionPosition(), GetViewDistance()},
                                     EntityListType::Actors);
    for (Entity* entity : found)
        if (entity->template IsA<Character>() && entity != self)
            out.push_back(static_cast<Character*>(entity));
}

template <class TController, class TCharacter>
void ControllerAIStateT<TController, TCharacter>::FindEnemiesInSight(std::vector<Character*>& out) {
    CharactersInSight(out);
    TeamManager* teams = gGameEngine ? gGameEngine->GetTeamManager() : nullptr;
    TCharacter* self = GetCharacter();
    std::erase_if(out, [&](const Character* other) {
        return !teams || !teams->IsFoe(self->GetTeam(), other->GetTeam());
    });
}

template <class TController, class TCharacter>
void ControllerAIStateT<TController, TCharacter>::FindAlliesInSight(std::vector<Character*>& out) {
    CharactersInSight(out);
    TeamManager* teams = gGameEngine ? gGameEngine->GetTeamManager() : nullptr;
    const std::uint32_t selfId = mController->GetParentId();
    std::erase_if(out, [&](const Character* other) {
        return !teams || !teams->IsFriend(other->GetObjectId(), selfId);
    });
}

template <class TController, class TCharacter>
void ControllerAIStateT<TController, TCharacter>::FindAlliesOfType(std::vector<Character*>& out,
                                                                   const std::string& recordName) {
    CharactersInSight(out);
    auto backslashed = [](std::string name) {
        for (char& c : name)
            if (c == '/')
                c = '\\';
        return name;
    };
    const std::string wanted = backslashed(recordName);
    std::erase_if(
        out, [&](const Character* other) { return backslashed(other->GetObjectName()) != wanted; });
}

template <class TController, class TCharacter>
bool ControllerAIStateT<TController, TCharacter>::IsPathClear(std::uint32_t targetId) {
    TCharacter* self = GetCharacter();
    Character* target = FindCharacter(targetId);
    if (!self || !target)
        return false;
    WorldVec3 start = self->GetPathPosition();
    start.Translate(self->GetCenterOfMass());
    WorldVec3 end = target->GetPathPosition();
    end.Translate(target->GetCenterOfMass());
    const Vec3 toEnd = start.VectorTo(end);
    const float length = toEnd.Length();
    WorldRay ray;
    ray.region = start.GetRegion();
    ray.origin = start.GetRegionPosition();
    ray.direction = length > 0.0f ? toEnd * (1.0f / length) : Vec3(0, 0, 1);
    const float targetDistanceSquared = length * length;

    // The ground first: one ray costs less than gathering what stands along the line.
    // Only ground short of the target blocks, so the ray need not go much past it: the bound
    // lies beyond the target by far more than the rounding of a hit's distance in world space,
    // so ground past the bound would have been judged farther than the target too.
    const Vec3 local = ray.origin.Abs(), world = start.GetWorldPosition().Abs();
    const float bound = length + 1e-3f * (1.0f + length + Max(local.x, Max(local.y, local.z)) +
                                          Max(world.x, Max(world.y, world.z)));
    const auto groundClear = [&](float maxDistance) {
        WorldIntersection hit;
        World::Get().GetIntersection(ray, hit, static_cast<int>(PhysicsSurface::Water), true,
                                     maxDistance);
        if (!hit.IsHit())
            return true;
        const float hitSquared =
            World::Get().GetDistanceSquared(start, WorldVec3(ray.region, hit.point));
        return hitSquared > targetDistanceSquared;
    };
    const bool clear = groundClear(bound < kInfinity ? bound : kInfinity);
#ifndef NDEBUG
    if (clear != groundClear(kInfinity)) {
        std::fprintf(stderr, "IsPathClear: the ground past the bound changed the answer\n");
        std::abort();
    }
#endif
    if (!clear)
        return false;
    // Characters are no scenery: the crowd around the target is passed over by its grid flags.
    const auto sceneryClear = [&](std::uint32_t skipFlags) {
        thread_local std::vector<Entity*> hits;
        hits.clear();
        World::Get().GetAllIntersections(ray, hits, length, skipFlags);
        for (Entity* entity : hits)
            if (entity != self && entity != target && BlocksPath(entity) &&
                World::Get().GetDistanceSquared(start, entity->GetPosition()) <
                    targetDistanceSquared)
                return false;
        return true;
    };
    const bool sceneryIsClear = sceneryClear(SightDigest::kCharacter);
#ifndef NDEBUG
    if (sceneryIsClear != sceneryClear(0)) {
        std::fprintf(stderr, "IsPathClear: a character passed over was scenery\n");
        std::abort();
    }
#endif
    return sceneryIsClear;
}

}  // namespace GAME
