#include "Game/ai/controllers/ControllerAI.h"

#include <cstddef>

#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/records/LoadTable.h"
#include "Engine/world/World.h"
#include "Game/ai/controllers/ControllerAIStatePreStart.h"
#include "Game/characters/Character.h"
#include "Game/characters/actions/CharacterActions.h"
#include "Game/core/net/commands/CharacterCommands.h"
#include "Game/rules/death/DeathManager.h"

namespace GAME {

RTTI_IMPLEMENT(ControllerAI, ControllerCombat)

ControllerAI::ControllerAI()
    : mCurrentState(::new (mPreStartState) ControllerAIStatePreStart(this)) {
    static_assert(sizeof(ControllerAIStatePreStart) <= sizeof mPreStartState &&
                  alignof(ControllerAIStatePreStart) <= alignof(void*));
    // Controllers take 64-byte aligned blocks: the words every event reads stay one line.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
    constexpr std::size_t line = offsetof(ControllerAI, mCurrentState) / 64;
    static_assert(offsetof(ControllerAI, mActiveTemporaryStates) / 64 == line &&
                      offsetof(ControllerAI, mCurrentData) / 64 == line,
                  "the executing state, its queue and the current enemy left their line");
#pragma GCC diagnostic pop
}

ControllerAI::~ControllerAI() {
    mActiveTemporaryStates.clear();
    mCurrentState = nullptr;
    mStates.Clear();
    mTemporaryStates.Clear();
    std::launder(reinterpret_cast<ControllerAIStatePreStart*>(mPreStartState))
        ->~ControllerAIStatePreStart();
}

void ControllerAI::Load(const LoadTable& table) {
    ControllerCombat::Load(table);
    mViewDistance = table.GetFloat("ViewDistance", 15.0f);
    ReserveStates();
}

void ControllerAI::ReserveStates() {
    // A set given states already (or a second load) is left to the first update.
    if (mReservedStates || mStates.IsBound() || mTemporaryStates.IsBound())
        return;
    // Bound sets find nothing until the first update places the block.
    const auto& tables = ControllerAIStateNames::BothOf(typeid(*this));
    mStates.Bind(*tables[0]);
    mTemporaryStates.Bind(*tables[1]);
    if (!tables[0]->IsSealed() || !tables[1]->IsSealed()) {
        // The class's first controller records the class's states into its tables only. What
        // the registration gave this controller alone is dropped: its first update registers
        // again, from the fields it has by then, as any later controller of the class does.
        RegisterStates();
        RegisterTemporaryStates();
        mStates.DropOwn();
        mTemporaryStates.DropOwn();
        for (ControllerAIStateNames* table : tables)
            if (!table->IsSealed())
                table->Seal();
    }
    mReservedStates = ControllerAIStateSet::Reserve(*tables[1], *tables[0]);
}

void ControllerAI::InitialUpdate() {
    ControllerCombat::InitialUpdate();
    // The class's first controller records its states; every controller then makes them.
    // A loaded controller's sets are bound already.
    if (!mStates.IsBound() || !mTemporaryStates.IsBound()) {
        const auto& tables = ControllerAIStateNames::BothOf(typeid(*this));
        mStates.Bind(*tables[0]);
        mTemporaryStates.Bind(*tables[1]);
    }
    RegisterStates();
    RegisterTemporaryStates();
    // One allocation for both: the temporary states' set is cleared last.
    ControllerAIStateSet::Build(mTemporaryStates, mStates, std::move(mReservedStates));
    InitializeStates();
}

void ControllerAI::AddState(std::string_view name, std::unique_ptr<ControllerAIState> state) {
    mStates.Put(typeid(*this), false, name, std::move(state));
}

void ControllerAI::AddTemporaryState(const AIStateKey& key, const ControllerAIStateKind& kind) {
    if (mTemporaryStates.Declare(key, kind))
        gEngine->Log(0, "State %.*s is being overwritten.", static_cast<int>(key.GetName().size()),
                     key.GetName().data());
}

void ControllerAI::AddTemporaryState(std::string_view name,
                                     std::unique_ptr<ControllerAIState> state) {
    if (mTemporaryStates.Put(typeid(*this), true, name, std::move(state)))
        gEngine->Log(0, "State %.*s is being overwritten.", static_cast<int>(name.size()),
                     name.data());
}

void ControllerAI::ReleaseSlots(const ControllerAIStateData& old, bool ally) const {
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    if (Character* enemy = objects.GetObject<Character>(old.GetEnemyID()))
        enemy->ReleaseAttackSlot(GetParentId());
    if (!ally)
        return;
    if (Character* friendly = objects.GetObject<Character>(old.GetAllyID()))
        friendly->ReleaseDefenseSlot(GetParentId());
}

void ControllerAI::EndCurrentState() {
    ControllerAIState* outerEnding = mEndingState;
    mEndingState = mCurrentState;
    mCurrentState->OnEnd();
    mEndingState = outerEnding;
}

void ControllerAI::SetState(const AIStateKey& key, const ControllerAIStateData& data) {
    ControllerAIState* state = GetState(key);
    if (!state) {
        gEngine->Log(2, "State %.*s is trying to be set, but not found.",
                     static_cast<int>(key.GetName().size()), key.GetName().data());
        return;
    }
    if (!mActiveTemporaryStates.empty()) {
        // Begins when the last temporary state is done.
        mCurrentData = data;
        mCurrentState = state;
        return;
    }
    if (mCurrentState && mCurrentState != mEndingState) {
        ControllerAIState* ending = mCurrentState;
        EndCurrentState();
        // The state that ended chose its successor itself.
        if (mCurrentState != ending)
            return;
    }
    if (mCurrentData.GetEnemyID() != data.GetEnemyID())
        ReleaseSlots(mCurrentData, true);
    mCurrentData = data;
    mCurrentState = state;
    state->OnBegin();
}

void ControllerAI::AddTemporaryState(const AIStateKey& key, const ControllerAIStateData& data) {
    ControllerAIState* state = mTemporaryStates.Find(key, *this);
    if (!state) {
        gEngine->Log(0, "Temporary State %.*s is trying to be set, but not found.",
                     static_cast<int>(key.GetName().size()), key.GetName().data());
        return;
    }
    if (!mActiveTemporaryStates.empty()) {
        mActiveTemporaryStates.push_back({state, data});
        return;
    }
    if (mCurrentState && mCurrentState != mEndingState)
        EndCurrentState();
    if (mCurrentData.GetEnemyID() != data.GetEnemyID())
        ReleaseSlots(mCurrentData, false);
    mActiveTemporaryStates.push_back({state, data});
    state->OnBegin();
}

const char* ControllerAI::GetExecutingStateName() const {
    const ControllerAIState* executing = GetExecutingState();
    if (const char* name = mStates.NameOf(executing))
        return name;
    return mTemporaryStates.NameOf(executing);
}

const ControllerAIStateData& ControllerAI::GetTemporaryStateData() const {
    const TemporaryEntry* running = mActiveTemporaryStates.FindIf(
        [](const TemporaryEntry& entry) { return !entry.state->Done(); });
    return running ? running->data : mCurrentData;
}

void ControllerAI::Update(int ms) {
    ControllerCombat::Update(ms);
    // Only temporary states are ever done; the current state waits behind them.
    while (!mActiveTemporaryStates.empty() && mActiveTemporaryStates.front().state->Done()) {
        ControllerAIState* finished = mActiveTemporaryStates.front().state;
        finished->OnEnd();
        finished->SetDone(false);
        if (!mActiveTemporaryStates.empty() && mActiveTemporaryStates.front().state == finished)
            mActiveTemporaryStates.pop_front();
        if (ControllerAIState* next = GetExecutingState())
            next->OnBegin();
    }
    if (ControllerAIState* executing = GetExecutingState())
        executing->OnUpdate(ms);
    if (mConversationDisinterest > 0)
        mConversationDisinterest -= ms;
}

void ControllerAI::DebugRender() {
    ControllerCombat::DebugRender();
    if (const char* name = GetExecutingStateName()) {
        PushDebugRenderText(name);
        GetExecutingState()->DebugRender();
    }
}

void ControllerAI::HandleEvent(const Name& name) {
    ControllerCombat::HandleEvent(name);
    GetExecutingState()->HandleEvent(name);
}

void ControllerAI::LowHealth() {
    GetExecutingState()->LowHealth();
}
void ControllerAI::EndOfPathReached() {
    GetExecutingState()->EndOfPathReached();
}
namespace {
thread_local std::uint64_t tSlotLosses = 0;
}  // namespace

std::uint64_t ControllerAI::GetSlotLossCount() {
    return tSlotLosses;
}

void ControllerAI::LostSlot() {
    ++tSlotLosses;
    GetExecutingState()->LostSlot();
}
void ControllerAI::ProjectileNotification(std::uint32_t id) {
    GetExecutingState()->ProjectileNotification(id);
}
void ControllerAI::ProjectileCollisionCallback(const ProjectileInfo& info,
                                               const CollisionData& data) {
    GetExecutingState()->ProjectileCollisionCallback(info, data);
}
void ControllerAI::StunMe(float duration) {
    GetExecutingState()->StunMe(duration);
}
void ControllerAI::UnderAttack(std::uint32_t attacker) {
    GetExecutingState()->Attacked(attacker);
}
void ControllerAI::AllyAttacked(std::uint32_t ally, std::uint32_t attacker) {
    GetExecutingState()->AllyAttacked(ally, attacker);
}
void ControllerAI::CharacterIsDying() {
    GetExecutingState()->CharacterIsDying();
}
void ControllerAI::CharacterIsDead() {
    GetExecutingState()->CharacterIsDead();
}
void ControllerAI::Panic(std::uint32_t id) {
    GetExecutingState()->Panic(id);
}
void ControllerAI::WakeUp(std::uint32_t id) {
    GetExecutingState()->WakeUp(id);
}
bool ControllerAI::RequestConversation(std::uint32_t id) {
    return GetExecutingState()->RequestConversation(id);
}
void ControllerAI::RequestAttack(std::uint32_t a, std::uint32_t b) {
    GetExecutingState()->RequestAttack(a, b);
}
void ControllerAI::RequestMove(std::uint32_t id, const WorldVec3& point) {
    GetExecutingState()->RequestMove(id, point);
}
void ControllerAI::RequestSidelineConversation(const WorldVec3& point) {
    GetExecutingState()->RequestSidelineConversation(point);
}
void ControllerAI::NotifySidelineDialogThread() {
    GetExecutingState()->NotifySidelineDialogThread();
}
void ControllerAI::NotifySidelineConversationEnd() {
    GetExecutingState()->NotifySidelineConversationEnd();
}

bool ControllerAI::IsAvailableForSidelineConversations() {
    if (mConversationDisinterest > 0)
        return false;
    return GetExecutingState()->IsAvailableForSidelineConversations();
}

void ControllerAI::QuestCommandMove(std::uint32_t id, const WorldVec3& point,
                                    bool allowInterruptions) {
    mAllowQuestInterruptions = allowInterruptions;
    GetExecutingState()->QuestCommandMove(id, point);
}
void ControllerAI::QuestCommandWalk(std::uint32_t id, const WorldVec3& point,
                                    bool allowInterruptions) {
    mAllowQuestInterruptions = allowInterruptions;
    GetExecutingState()->QuestCommandWalk(id, point);
}
void ControllerAI::QuestCommandPlayAnimation(AnimationSet_Type type, bool looping,
                                             bool allowInterruptions) {
    mAllowQuestInterruptions = allowInterruptions;
    GetExecutingState()->QuestCommandPlayAnimation(type, looping);
}
void ControllerAI::QuestCommandUseSkill(std::uint32_t skillId, std::uint32_t targetId,
                                        bool allowInterruptions) {
    mAllowQuestInterruptions = allowInterruptions;
    GetExecutingState()->QuestCommandUseSkill(skillId, targetId);
}

void ControllerAI::Idle() {
    HandleAction(std::make_unique<IdleAction>(GetParentId()));
}
void ControllerAI::LongIdle() {
    HandleAction(std::make_unique<LongIdleAction>(GetParentId()));
}
void ControllerAI::PickUp(std::uint32_t itemId) {
    HandleAction(std::make_unique<PickUpAction>(GetParentId(), itemId));
}
void ControllerAI::Use(std::uint32_t objectId) {
    HandleAction(std::make_unique<UseAction>(GetParentId(), objectId));
}
void ControllerAI::UseSkill(std::uint32_t targetId, const WorldVec3& point,
                            std::uint32_t skillReferenceNumber, std::uint16_t value) {
    HandleAction(std::make_unique<AttackAction>(GetParentId(), targetId, point,
                                                skillReferenceNumber, value));
}
void ControllerAI::TakeStun() {
    HandleAction(std::make_unique<TakeStunAction>(GetParentId()));
}
void ControllerAI::Chat(std::uint32_t id) {
    HandleAction(std::make_unique<ChatAction>(GetParentId(), id));
}
void ControllerAI::PlayAnimation(AnimationSet_Type type, const Name& name, float speed,
                                 bool looping, unsigned value) {
    HandleAction(
        std::make_unique<PlayAnimationAction>(GetParentId(), type, name, speed, looping, value));
}
void ControllerAI::Immobilize() {
    HandleAction(std::make_unique<ImmobilizeAction>(GetParentId()));
}
void ControllerAI::TakeTrap() {
    HandleAction(std::make_unique<TakeTrapAction>(GetParentId()));
}

void ControllerAI::MoveTo(const WorldVec3& point, std::uint32_t targetId, std::uint32_t skillId) {
    Character* character = GetParentCharacter();
    if (!character)
        return;
    HandleAction(std::make_unique<MoveToAction>(
        GetParentId(), character->GetPathPosition(), point, targetId,
        character->GetSkillManager().GetSkillReferenceNumber(skillId), 1.0f));
}

void ControllerAI::WalkTo(const WorldVec3& point, std::uint32_t targetId) {
    Character* character = GetParentCharacter();
    if (!character)
        return;
    HandleAction(
        std::make_unique<WalkAction>(GetParentId(), character->GetPathPosition(), point, targetId));
}

void ControllerAI::Die() {
    Character* character = GetParentCharacter();
    std::vector<std::uint32_t> ids;
    if (character && character->GetDeathManager())
        ids = character->GetDeathManager()->CreateObjectIds();
    HandleAction(std::make_unique<DieAction>(GetParentId(), std::move(ids)));
}

namespace {

// Only the machine whose controller runs decides these, also from inside another command (a
// statue a spirit's blow wakes): the others have no such controller and must be told.
template <class Command>
class DecidedByController : public Command {
public:
    using Command::Command;
    bool DecidedByOneMachine() const override { return true; }
};

template <class Command, class Value>
void EnqueueDecided(Character* character, Value value) {
    if (character)
        character->Enqueue(
            std::make_unique<DecidedByController<Command>>(character->GetObjectId(), value));
}

}  // namespace

void ControllerAI::SetCausesAnger(bool causesAnger) {
    EnqueueDecided<SetCausesAngerConfigCmd>(GetParentCharacter(), causesAnger);
}
void ControllerAI::SetInvincible(bool invincible) {
    EnqueueDecided<SetInvincibleConfigCmd>(GetParentCharacter(), invincible);
}
void ControllerAI::SetTeam(const Team& team) {
    EnqueueDecided<SetTeamConfigCmd>(GetParentCharacter(), team);
}

bool ControllerAI::IsMoving() const {
    const Character* character = GetParentCharacter();
    return character && character->IsMoving();
}

Character* ControllerAI::FindClosest(const std::vector<Character*>& characters) const {
    const Character* self = GetParentCharacter();
    if (!self)
        return nullptr;
    const WorldVec3 position = self->GetPathPosition();
    Character* best = nullptr;
    float bestDistance = kInfinity;
    for (Character* other : characters) {
        const float d = World::Get().GetDistanceSquared(position, other->GetPathPosition());
        if (!best || d < bestDistance) {
            best = other;
            bestDistance = d;
        }
    }
    return best;
}

Character* ControllerAI::FindStrongest(const std::vector<Character*>& characters) {
    Character* best = nullptr;
    for (Character* other : characters)
        if (!best || other->GetCurrentLife() > best->GetCurrentLife())
            best = other;
    return best;
}

Character* ControllerAI::FindWeakest(const std::vector<Character*>& characters) {
    Character* best = nullptr;
    float bestRatio = 1.0f;
    for (Character* other : characters) {
        const float maximum = other->GetTotalCharAttribute(CharAttributeType::Life);
        if (maximum <= 0.0f)
            continue;
        const float ratio = other->GetCurrentLife() / maximum;
        if (ratio < bestRatio) {
            bestRatio = ratio;
            best = other;
        }
    }
    return best;
}

}  // namespace GAME
