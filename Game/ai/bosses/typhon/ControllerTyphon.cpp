#include "Game/ai/bosses/typhon/ControllerTyphon.h"

#include <memory>
#include <vector>

#include "Engine/records/LoadTable.h"
#include "Engine/sys/Machine.h"
#include "Engine/world/World.h"
#include "Engine/world/WorldShapes.h"
#include "Game/characters/monster/Typhon.h"
#include "Game/characters/monster/TyphonStatue.h"
#include "Game/core/net/commands/CharacterCommands.h"

namespace GAME {

RTTI_IMPLEMENT(ControllerTyphon, ControllerMonster)

namespace {
constexpr const char* kTyphonGodNames[ControllerTyphon::kGodCount] = {"zeus", "demeter", "hades",
                                                                      "apollo"};
}  // namespace

const char* ControllerTyphon::GetGodName(int god) {
    return IsGod(god) ? kTyphonGodNames[god] : "";
}

void ControllerTyphon::Load(const LoadTable& table) {
    ControllerMonster::Load(table);
    mMinWithout = table.GetInt("MinTimeWithoutGodSkills", 3000);
    mMaxWithout = table.GetInt("MaxTimeWithoutGodSkills", 6000);
    mMinWith = table.GetInt("MinTimeWithGodSkills", 10000);
    mMaxWith = table.GetInt("MaxTimeWithGodSkills", 20000);
}

int ControllerTyphon::DrawTime(int min, int max) {
    const float fraction = static_cast<float>(crt_rand()) * (1.0f / 32767.0f);
    return static_cast<int>(fraction * static_cast<float>(max - min) + static_cast<float>(min));
}

void ControllerTyphon::InitialUpdate() {
    ControllerAI::InitialUpdate();
    mSeekCountdown = DrawTime(mMinWithout, mMaxWithout);
    mGodSkillCountdown = -1;
    for (std::size_t slot = 0; slot < kSpecialAttackCount; ++slot) {
        GodAttack& block = mDefaultAttacks[slot];
        GetSpecialAttackInfo(slot, block.skillId, block.timeout, block.delay, block.chance,
                             block.range);
    }
}

void ControllerTyphon::Update(int ms) {
    ControllerMonster::Update(ms);
    if (GetCurrentEnemy() == 0)
        return;
    if (mSeekCountdown >= 0) {
        mSeekCountdown -= ms;
        if (mSeekCountdown < 0 && SelectStatue())
            mGodSkillCountdown = DrawTime(mMinWith, mMaxWith);
    }
    if (mSeekCountdown < 0 && mGodSkillCountdown >= 0) {
        mGodSkillCountdown -= ms;
        if (mGodSkillCountdown < 0) {
            RestoreSpecialAttacks();
            mSeekCountdown = DrawTime(mMinWithout, mMaxWithout);
            if (Character* self = GetParentCharacter())
                self->Enqueue(
                    std::make_unique<DisableTyphonSkillEffectsConfigCmd>(self->GetObjectId()));
        }
    }
}

void ControllerTyphon::RegisterStates() {
    ControllerMonster::RegisterStates();
    AddState<ControllerTyphonStatePursueStatue>("PursueStatue", this);
    AddState<ControllerTyphonStateAttackStatue>("AttackStatue", this);
}

void ControllerTyphon::SetGodSpecialAttack(int god, std::size_t slot, const GodAttack& attack) {
    if (IsGod(god) && slot < kSpecialAttackCount)
        mGodAttacks[static_cast<std::size_t>(god)][slot] = attack;
}

void ControllerTyphon::SetTransferSkill(int god, std::uint32_t skillId) {
    if (IsGod(god))
        mTransferSkills[static_cast<std::size_t>(god)] = skillId;
}

std::uint32_t ControllerTyphon::GetTransferSkill(int god) const {
    return IsGod(god) ? mTransferSkills[static_cast<std::size_t>(god)] : 0;
}

const ControllerTyphon::AttackSet& ControllerTyphon::GetGodAttacks(int god) const {
    static const AttackSet none{};
    return IsGod(god) ? mGodAttacks[static_cast<std::size_t>(god)] : none;
}

void ControllerTyphon::SetSpecialAttacks(const AttackSet& attacks) {
    for (std::size_t slot = 0; slot < kSpecialAttackCount; ++slot) {
        const GodAttack& block = attacks[slot];
        SetSpecialAttack(slot, block.skillId, block.timeout, block.delay, block.chance,
                         block.range);
    }
}

void ControllerTyphon::ApplyGodSpecialAttacks(int god) {
    if (!IsGod(god))
        return;
    SetSpecialAttacks(mGodAttacks[static_cast<std::size_t>(god)]);
    mCurrentGod = god;
}

void ControllerTyphon::RestoreSpecialAttacks() {
    SetSpecialAttacks(mDefaultAttacks);
    mCurrentGod = kNoGod;
}

void ControllerTyphon::RemoveGodSkills(int god) {
    if (god != mCurrentGod)
        return;
    RestoreSpecialAttacks();
    SetState("Return", ControllerAIStateData());
}

bool ControllerTyphon::SelectStatue() {
    const Character* self = GetParentCharacter();
    if (!self)
        return false;
    thread_local std::vector<Entity*> found;
    thread_local std::vector<TyphonStatue*> standing;
    found.clear();
    standing.clear();
    const WorldVec3 at = self->GetPathPosition();
    World::Get().GetEntitiesInSphere(found, at.region, Sphere{at.local, kStatueReach});
    for (Entity* entity : found)
        if (auto* statue = dynamic_cast<TyphonStatue*>(entity); statue && statue->IsAlive())
            standing.push_back(statue);
    if (standing.empty())
        return false;
    const int count = static_cast<int>(standing.size());
    int index = crt_rand() % count;
    for (int redraw = 0; index == mLastStatueIndex && redraw < kRedraws; ++redraw)
        index = crt_rand() % count;
    mLastStatueIndex = index;
    TyphonStatue* statue = standing[static_cast<std::size_t>(index)];
    SetMostHatedEnemy(statue->GetObjectId());
    // The statue's own god names the skill: its place in the list says nothing of its god.
    ControllerAIStateArgs args;
    args.enemy = statue->GetObjectId();
    args.skill = GetTransferSkill(statue->GetGodIndex());
    SetState("PursueStatue", ControllerAIStateData(args));
    return true;
}

// --- PursueStatue ---

void ControllerTyphonStatePursueStatue::GiveUp() {
    gEngine->Log(1, "Typhon can't move to the statue.");
    Ctl().SetMostHatedEnemy(0);
    Go("Idle");
}

void ControllerTyphonStatePursueStatue::Strike(std::uint32_t statue, std::uint32_t skill) {
    Go("AttackStatue", Data({.enemy = statue, .skill = skill}));
}

void ControllerTyphonStatePursueStatue::OnBegin() {
    Monster* self = GetCharacter();
    const std::uint32_t statue = GetCurrentEnemy();
    const std::uint32_t skill = GetCurrentSkillID();
    if (!self) {
        GiveUp();
        return;
    }
    const WorldVec3 point = self->GetMoveToPoint(statue, skill, PathPositionOf(statue));
    if (!point.IsValid()) {
        GiveUp();
        return;
    }
    if (CloseEnoughToUseSkill(statue, skill)) {
        Strike(statue, skill);
        return;
    }
    if (self->CanMoveTo(point, GetSkillUseTolerance(statue)))
        MoveTo(point, statue, skill);
    else
        GiveUp();
}

void ControllerTyphonStatePursueStatue::OnUpdate(int) {
    if (CloseEnoughToUseSkill(GetCurrentEnemy(), GetCurrentSkillID()))
        Strike(GetCurrentEnemy(), GetCurrentSkillID());
}

void ControllerTyphonStatePursueStatue::EndOfPathReached() {
    Strike(GetCurrentEnemy(), GetCurrentSkillID());
}

// --- AttackStatue ---

void ControllerTyphonStateAttackStatue::OnUpdate(int ms) {
    ControllerMonsterStateAttack::OnUpdate(ms);
    // The attack's own update may already have sent the boss back.
    if (Ctl().GetExecutingState() != this)
        return;
    const Character* statue = FindCharacter(GetCurrentEnemy());
    if (statue && statue->IsAlive())
        return;
    Ctl().SetMostHatedEnemy(0);
    Go("Return");
}

void ControllerTyphonStateAttackStatue::HandleEvent(const Name& name) {
    static const Name end = Name::Create("End");
    if (name == end)
        Go("Return");
}

void ControllerTyphonStateAttackStatue::OnEnd() {
    ControllerMonsterStateAttack::OnEnd();
    Ctl().SetMostHatedEnemy(0);
}

}  // namespace GAME
