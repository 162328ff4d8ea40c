#pragma once
// A controller that hosts named states. It owns one object per state, keeps the current state
// and its data, runs a first-in-first-out queue of temporary states in front of it, forwards
// what reaches the controller to whichever state executes, and ticks that state every frame.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "Game/ai/controllers/ControllerAIState.h"
#include "Game/ai/controllers/ControllerAIStateData.h"
#include "Game/ai/controllers/ControllerAIStateNames.h"
#include "Game/ai/controllers/ControllerCombat.h"
#include "Game/core/players/Team.h"
#include "Game/core/util/LazyDeque.h"

namespace GAME {

class ControllerAIStatePreStart;

class ControllerAI : public ControllerCombat {
    RTTI_DECLARE(ControllerAI)
public:
    ControllerAI();
    ~ControllerAI() override;

    void Load(const LoadTable& table) override;
    void InitialUpdate() override;
    void Update(int ms) override;
    void DebugRender() override;
    void HandleEvent(const Name& name) override;
    void LowHealth() override;
    void EndOfPathReached() override;
    void LostSlot() override;
    // Slots lost by controllers on this thread so far: a state that has just been answered a
    // slot knows by it whether any controller's code ran while the ring was being settled.
    static std::uint64_t GetSlotLossCount();
    void ProjectileNotification(std::uint32_t id) override;
    void ProjectileCollisionCallback(const ProjectileInfo& info,
                                     const CollisionData& data) override;
    void StunMe(float duration) override;
    void TauntMe(float, std::uint32_t) override {}
    void UnderAttack(std::uint32_t attacker) override;
    void AllyAttacked(std::uint32_t ally, std::uint32_t attacker) override;
    void CharacterIsDying() override;
    void CharacterIsDead() override;

    virtual void Panic(std::uint32_t id);
    virtual void WakeUp(std::uint32_t id);
    virtual void TeamChanged() {}
    virtual void RegisterStates() {}
    virtual void RegisterTemporaryStates() {}
    // Where a controller kind sets its first state.
    virtual void InitializeStates() {}

    // State control.
    void SetState(const AIStateKey& key, const ControllerAIStateData& data);
    void AddTemporaryState(const AIStateKey& key, const ControllerAIStateData& data);
    // Drops every queued temporary state without its OnEnd.
    void ClearTemporaryStates() { mActiveTemporaryStates.clear(); }
    void GoToIdleState() { SetState(AIStateId::Idle, ControllerAIStateData()); }
    // Inline: every event a controller is told asks it first.
    ControllerAIState* GetExecutingState() const {
        return mActiveTemporaryStates.empty() ? mCurrentState
                                              : mActiveTemporaryStates.front().state;
    }
    // Null for a state registered under no name (the pre-start state).
    const char* GetExecutingStateName() const;
    // Inline for the common case: states ask for their data many times a frame.
    const ControllerAIStateData& GetCurrentStateData() const {
        return mActiveTemporaryStates.empty() ? mCurrentData : GetTemporaryStateData();
    }
    std::uint32_t GetCurrentEnemy() const { return GetCurrentStateData().GetEnemyID(); }
    std::uint32_t GetCurrentAlly() const { return GetCurrentStateData().GetAllyID(); }
    std::uint32_t GetCurrentSkillID() const { return GetCurrentStateData().GetSkillID(); }
    const WorldVec3& GetCurrentPointOfInterest() const {
        return GetCurrentStateData().GetPointOfInterest();
    }
    std::size_t GetActiveTemporaryStateCount() const { return mActiveTemporaryStates.size(); }

    // Forwarded to the executing state.
    bool RequestConversation(std::uint32_t id);
    void RequestAttack(std::uint32_t a, std::uint32_t b);
    void RequestMove(std::uint32_t id, const WorldVec3& point);
    void RequestSidelineConversation(const WorldVec3& point);
    void NotifySidelineDialogThread();
    void NotifySidelineConversationEnd();
    bool IsAvailableForSidelineConversations();
    void SetConversationDisinterest(int ms) { mConversationDisinterest = ms; }
    void QuestCommandMove(std::uint32_t id, const WorldVec3& point, bool allowInterruptions);
    void QuestCommandWalk(std::uint32_t id, const WorldVec3& point, bool allowInterruptions);
    void QuestCommandPlayAnimation(AnimationSet_Type type, bool looping, bool allowInterruptions);
    void QuestCommandUseSkill(std::uint32_t skillId, std::uint32_t targetId,
                              bool allowInterruptions);
    bool GetAllowQuestInterruptions() const { return mAllowQuestInterruptions; }

    // Action builders: each hands one action of the character to HandleAction.
    void Idle();
    void LongIdle();
    void PickUp(std::uint32_t itemId);
    void Use(std::uint32_t objectId);
    void UseSkill(std::uint32_t targetId, const WorldVec3& point,
                  std::uint32_t skillReferenceNumber, std::uint16_t value);
    void TakeStun();
    void Chat(std::uint32_t id);
    void PlayAnimation(AnimationSet_Type type, const Name& name, float speed, bool looping,
                       unsigned value);
    void Immobilize();
    void TakeTrap();
    void MoveTo(const WorldVec3& point, std::uint32_t targetId, std::uint32_t skillId);
    void WalkTo(const WorldVec3& point, std::uint32_t targetId);
    void Die();
    // Each sends its configuration command for the character, so every machine changes it.
    void SetCausesAnger(bool causesAnger);
    void SetInvincible(bool invincible);
    void SetTeam(const Team& team);

    // Queries.
    Character* GetAI() const { return GetParentCharacter(); }
    bool IsMoving() const;
    float GetViewDistance() const { return mViewDistance; }
    Character* FindClosest(const std::vector<Character*>& characters) const;
    static Character* FindStrongest(const std::vector<Character*>& characters);
    static Character* FindWeakest(const std::vector<Character*>& characters);
    static Character* FindMostVulnerable(const std::vector<Character*>&) { return nullptr; }

    void SetStunTime(int ms) { mStunTime = static_cast<float>(ms); }
    int GetStunTime() const { return static_cast<int>(mStunTime); }
    void SetMoveTerrainPoint(const WorldVec3& point) { mMoveTerrainPoint = point; }
    const WorldVec3& GetMoveTerrainPoint() const { return mMoveTerrainPoint; }
    void SetQuestAnimation(AnimationSet_Type type, bool looping) {
        mQuestAnimation = type;
        mQuestAnimationLooping = looping;
    }
    AnimationSet_Type GetQuestAnimation() const { return mQuestAnimation; }
    // The controlled character as the states first found it, and the class they asked it as.
    struct StateCharacter {
        Character* character = nullptr;
        const RTTI_ClassInfo* asClass = nullptr;
    };
    StateCharacter& GetStateCharacter() { return mStateCharacter; }
    bool GetQuestAnimationLooping() const { return mQuestAnimationLooping; }

protected:
    // A state every controller of the registering class has, made for each in one block; called
    // from RegisterStates / RegisterTemporaryStates with the registering controller.
    template <class TState, class TOwner>
    void AddState(const AIStateKey& key, TOwner* owner);
    template <class TState, class TOwner>
    void AddTemporaryState(const AIStateKey& key, TOwner* owner);
    void AddState(const AIStateKey& key, const ControllerAIStateKind& kind) {
        mStates.Declare(key, kind);
    }
    void AddTemporaryState(const AIStateKey& key, const ControllerAIStateKind& kind);
    // False where registering the class's states (or temporary states) again changes nothing.
    bool MustDeclareStates(bool temporary) const {
        return (temporary ? mTemporaryStates : mStates).MustDeclare();
    }
    // A state of this controller alone. Replaces, silently, a state registered under the name.
    void AddState(std::string_view name, std::unique_ptr<ControllerAIState> state);
    void AddTemporaryState(std::string_view name, std::unique_ptr<ControllerAIState> state);
    // Makes the state on first ask, which changes nothing a caller sees.
    ControllerAIState* GetState(const AIStateKey& key) const {
        return mStates.Find(key, const_cast<ControllerAI&>(*this));
    }

private:
    struct TemporaryEntry {
        ControllerAIState* state = nullptr;
        ControllerAIStateData data;
    };

    // Frees the attack slot the character holds around the old enemy (and, when asked, the
    // defense slot around the old ally).
    void ReleaseSlots(const ControllerAIStateData& old, bool ally) const;
    // Calls the current state's OnEnd; a switch from inside it does not end it again.
    void EndCurrentState();
    // GetCurrentStateData while temporary states are queued.
    const ControllerAIStateData& GetTemporaryStateData() const;
    // Takes the block of the class's states when the controller is loaded, so that its first
    // update (often a whole crowd's in one frame) takes nothing from the heap for them.
    void ReserveStates();

    int mConversationDisinterest = 0;
    // The pre-start state, ended by the destructor after the others. Made in place: every
    // controller has one from its construction on, and a crowd's would each be an allocation of
    // their own. Debug builds' states keep one more pointer.
#ifdef NDEBUG
    static constexpr std::size_t kPreStartRoom = 3 * sizeof(void*);
#else
    static constexpr std::size_t kPreStartRoom = 4 * sizeof(void*);
#endif
    alignas(void*) std::byte mPreStartState[kPreStartRoom];
    ControllerAIStateSet mTemporaryStates;
    ControllerAIStateSet mStates;
    // Until the first update places the states in it.
    ControllerAIStateSet::Block mReservedStates;
    // The executing state, the queue in front of it and the current enemy side by side: every
    // event a crowd's controllers are told (~80 at a time for a call for help) reads all three.
    ControllerAIState* mCurrentState = nullptr;
    LazyDeque<TemporaryEntry> mActiveTemporaryStates;
    ControllerAIStateData mCurrentData;
    // The state whose OnEnd runs: a SetState from inside it does not end it again.
    ControllerAIState* mEndingState = nullptr;
    StateCharacter mStateCharacter;
    float mViewDistance = 20.0f;
    float mStunTime = 0.0f;
    WorldVec3 mMoveTerrainPoint;
    AnimationSet_Type mQuestAnimation{};
    bool mQuestAnimationLooping = false;
    bool mAllowQuestInterruptions = false;
};

template <class TState, class TOwner>
ControllerAIState* ConstructAIState(void* at, ControllerAI& owner) {
    return ::new (at) TState(static_cast<TOwner*>(&owner));
}

// The state TState, made for a controller of class TOwner (or one derived from it).
template <class TState, class TOwner>
constexpr ControllerAIStateKind AIStateKindOf() {
    return ControllerAIStateKind{sizeof(TState), alignof(TState),
                                 &ConstructAIState<TState, TOwner>};
}

template <class TState, class TOwner>
void ControllerAI::AddState(const AIStateKey& key, TOwner*) {
    AddState(key, AIStateKindOf<TState, TOwner>());
}

template <class TState, class TOwner>
void ControllerAI::AddTemporaryState(const AIStateKey& key, TOwner*) {
    AddTemporaryState(key, AIStateKindOf<TState, TOwner>());
}

}  // namespace GAME
