#include "Game/ai/bosses/telkine/ControllerTelkineStates.h"

#include <limits>
#include <vector>

#include "Engine/text/Name.h"
#include "Game/ai/monster/states/MonsterStateQueries.h"
#include "Game/characters/Player.h"
#include "Game/characters/actions/CharacterActionHandler.h"

namespace GAME {

void ControllerTelkineState::ChooseTargets(std::uint32_t& player, std::uint32_t& other) {
    player = 0;
    other = 0;
    const Monster* self = GetCharacter();
    if (!self)
        return;
    thread_local std::vector<Character*> enemies;
    FindEnemiesInSight(enemies);
    constexpr float kNone = std::numeric_limits<float>::infinity();
    float playerDistance = kNone;
    float otherDistance = kNone;
    for (const Character* enemy : enemies) {
        if (!enemy->IsAlive())
            continue;
        const float d = World::Get().GetDistanceSquared(enemy->GetCoords(), self->GetCoords());
        const bool isPlayer = enemy->IsA<Player>();
        float& best = isPlayer ? playerDistance : otherDistance;
        if (d < best) {
            best = d;
            (isPlayer ? player : other) = enemy->GetObjectId();
        }
    }
}

void ControllerTelkineStateAttackPhase1::OnUpdate(int ms) {
    if (!mAttacking)
        mTimeSinceLastAttack += ms;
    if (mAttackCount >= mAttackLimit) {
        Go("AttackPhase2");
        return;
    }
    // The action state stays "attack" after the attack ends, until another action begins: only
    // an attack still running counts.
    Monster* self = GetCharacter();
    if (self && self->GetActionState() == Character_ActionState::Attack &&
        self->GetActionHandler().IsActive())
        return;
    if (mTimeSinceLastAttack < mAttackInterval || mAttacking)
        return;
    if (mEmotePending) {
        mEmotePending = false;
        AddTemporaryState("Emote", ControllerAIStateData());
        return;
    }
    mTimeSinceLastAttack = 0;
    std::uint32_t player = 0;
    std::uint32_t other = 0;
    ChooseTargets(player, other);
    // Pets and allies first.
    const std::uint32_t target = other != 0 ? other : player;
    if (target == 0)
        return;  // nobody to throw at: wait out another interval
    mAttacking = true;
    UseSkill(target, WorldVec3(), GetTelekinesisSpellId(), 0);
}

void ControllerTelkineStateAttackPhase1::HandleEvent(const Name& name) {
    if (!mAttacking || !IsEndEvent(name))
        return;
    // A finished throw counts towards the second phase.
    ++mAttackCount;
    mEmotePending = true;
    mTimeSinceLastAttack = 0;
    mAttacking = false;
}

void ControllerTelkineStateAttackPhase2::OnUpdate(int) {
    if (mTimer.GetTotalElapsedTime() < static_cast<std::uint64_t>(mAttackInterval))
        return;
    mTimer.Reset();
    std::uint32_t player = 0;
    std::uint32_t other = 0;
    ChooseTargets(player, other);
    // Players first.
    const std::uint32_t target = player != 0 ? player : other;
    if (target != 0)
        UseSkill(target, WorldVec3(), GetDirectAttackId(), 0);
}

void ControllerTelkineStateEmote::OnBegin() {
    static const Name emote = Name::Create("TelkineEmote");
    PlayAnimation(AnimationSet_Type::Special, emote, 1.0f, false, 0);
}

void ControllerTelkineStateEmote::HandleEvent(const Name& name) {
    if (IsEndEvent(name))
        SetDone(true);
}

}  // namespace GAME
