#include "Game/skills/spell/Skill_AttackSpellChaos.h"

#include <algorithm>

#include "Engine/object/EngineClasses.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/records/LoadTable.h"
#include "Engine/sys/RandomUniform.h"
#include "Engine/world/World.h"
#include "Game/characters/Character.h"
#include "Game/characters/CharacterLookup.h"
#include "Game/core/GameEngine.h"
#include "Game/core/players/Team.h"
#include "Game/rules/combat/ParametersCombat.h"
#include "Game/skills/manager/SkillServicesBase.h"
#include "Game/skills/profile/SkillProfile.h"

namespace GAME {

RTTI_IMPLEMENT(Skill_AttackSpellChaos, SkillActivated)

namespace {

WorldVec3 HandOf(const Character& caster) {
    static const Name point = Name::Create("L Hand");
    return caster.GetAttachedCoords(point).GetPosition();
}

}  // namespace

Skill_AttackSpellChaos::Skill_AttackSpellChaos() {
    SetTypeText("^bChaos Spell Attack");
    SetPrimary(false);
    SetSecondary(true);
}

Skill_AttackSpellChaos::~Skill_AttackSpellChaos() {
    ReleaseBeam();
}

void Skill_AttackSpellChaos::Load(const LoadTable& table) {
    SkillActivated::Load(table);
    mMaxDistance = table.GetFloat("maxDistance", 0.0f);
    mHeadVelocity = table.GetFloat("headVelocity", 0.0f);
    mTailVelocity = table.GetFloat("tailVelocity", 0.0f);
    mBeamRecord = table.GetString("chaosBeamName");
}

ChaosBeam* Skill_AttackSpellChaos::GetBeam() const {
    return mBeamId ? Singleton<ObjectManager>::Get().GetObject<ChaosBeam>(mBeamId) : nullptr;
}

bool Skill_AttackSpellChaos::GetValidTarget(const Character& caster, std::uint32_t& target,
                                            const WorldVec3&, bool, float) {
    TeamManager* teams = gGameEngine ? gGameEngine->GetTeamManager() : nullptr;
    return target != 0 && teams && teams->IsFoe(caster.GetObjectId(), target);
}

bool Skill_AttackSpellChaos::SetAvailability(bool, bool) {
    if (mState != Idle) {
        SetReason(SkillReason::CoolingDown);
        return false;
    }
    return SkillActivated::SetAvailability(false, false);
}

void Skill_AttackSpellChaos::ActivateNow(Character& caster, const Name&, std::uint32_t target,
                                         const WorldVec3&) {
    SkillServicesBase* services = ControllingServices();
    if (!FindCharacter(target) || !services || mState != Idle ||
        !IsTargetInRange(caster, target, Skill_AttackSpell::kReach))
        return;
    mState = Pending;
    services->SendTargetResult(GetObjectId(), {}, caster.GetCoords(), NewCommandSeed(), target,
                               false);
}

void Skill_AttackSpellChaos::TargetResult(Character& caster,
                                          const std::vector<std::uint32_t>& targets,
                                          const WorldCoords& origin, std::uint32_t seed,
                                          std::uint32_t weaponId, bool) {
    if (targets.empty()) {
        if (weaponId != 0 && (mState == Idle || mState == Pending) && !GetBeam()) {
            mTargetId = weaponId;
            mState = Starting;
        }
        return;
    }
    RandomUniform random;
    random.Seed(seed);
    const SkillProfile& profile = GetSkillProfile();
    for (std::uint32_t id : targets) {
        Character* target = FindCharacter(id);
        if (!target)
            continue;
        ParametersCombat parameters(random);
        CollectCombatParameters(caster, target, ParametersCombatStyle::Direct, false, 0, parameters,
                                0.0f);
        InitRagDollData(parameters.ragDollData, origin.GetPosition(), target->GetPosition());
        CreateTargetFx(Skill_AttackSpell::TargetPointOf(*target));
        target->TakeAttack(parameters);
        PlayHitSound(target->GetPosition());
        if (!profile.GetSpellAuraName().empty())
            target->AddAura(profile.GetSpellAuraName(), false,
                            static_cast<int>(profile.GetSpellAuraDuration(GetCurrentLevel())));
    }
}

void Skill_AttackSpellChaos::Update(Character& caster, int ms) {
    SkillActivated::Update(caster, ms);
    if (mState == Starting)
        StartBeam(caster);
    if (mState == HeadTravelling || mState == TailTravelling) {
        mBeamClock += ms;
        if (mBeamClock >= kBeamTimeoutMs)
            mState = Finished;
    }
    if (mState == HeadTravelling)
        MoveHead(caster, ms);
    if (mState == TailTravelling)
        MoveTail(caster, ms);
    if (mState == Finished) {
        ReleaseBeam();
        mState = Idle;
    }
}

void Skill_AttackSpellChaos::StartBeam(Character& caster) {
    mHead = 0.0f;
    mTail = 0.0f;
    mBeamClock = 0;
    mState = HeadTravelling;
    ChaosBeam* beam =
        mBeamRecord.empty()
            ? nullptr
            : Singleton<ObjectManager>::Get().CreateObjectFromFile<ChaosBeam>(mBeamRecord);
    Character* target = FindCharacter(mTargetId);
    if (beam && target) {
        beam->SetEndPoints(caster.GetPosition(), Skill_AttackSpell::TargetPointOf(*target));
        beam->SetTopBottomPercent(0.0f, 0.0f);
        mBeamId = beam->GetObjectId();
        World::Get().AddEntity(beam, caster.GetCoords(), true);
    } else if (beam) {
        Singleton<ObjectManager>::Get().DestroyObject(beam);
    }
    if (!target)
        mState = Finished;
}

void Skill_AttackSpellChaos::MoveHead(Character& caster, int ms) {
    mHead = std::clamp(mHead + static_cast<float>(ms) * 0.001f * mHeadVelocity, 0.0f, 1.0f);
    Character* target = FindCharacter(mTargetId);
    ChaosBeam* beam = GetBeam();
    if (!target || !beam) {
        mState = TailTravelling;
        return;
    }
    const WorldVec3 hand = HandOf(caster);
    const WorldVec3 aim = Skill_AttackSpell::TargetPointOf(*target);
    beam->SetEndPoints(hand, aim);
    beam->SetTopBottomPercent(mHead, 0.0f);
    if (mHead < 1.0f)
        return;
    mState = TailTravelling;
    mEndPoint = aim;
    if (hand.DistanceTo(aim) <= mMaxDistance) {
        if (SkillServicesBase* services = ControllingServices()) {
            const std::vector<std::uint32_t> struck{mTargetId};
            services->SendTargetResult(GetObjectId(), struck, caster.GetCoords(), NewCommandSeed(),
                                       0, false);
            ActivateSecondarySkills(caster, mTargetId, struck,
                                    WorldCoords(aim.region, Coords::FromOrigin(aim.local)));
        }
    } else {
        mTargetId = 0;
    }
}

void Skill_AttackSpellChaos::MoveTail(Character& caster, int ms) {
    const float step = static_cast<float>(ms) * 0.001f * mTailVelocity;
    mTail = std::clamp(mTail + step, 0.0f, 1.0f);
    if (mTargetId == 0)
        mHead = std::clamp(mHead - step, 0.0f, 1.0f);
    if (mTail >= mHead) {
        mTail = mHead;
        mState = Finished;
    }
    if (ChaosBeam* beam = GetBeam()) {
        beam->SetEndPoints(HandOf(caster), mEndPoint);
        beam->SetTopBottomPercent(mHead, mTail);
    }
}

void Skill_AttackSpellChaos::ReleaseBeam() {
    if (ChaosBeam* beam = GetBeam())
        beam->Liberate();
    mBeamId = 0;
}

void Skill_AttackSpellChaos::StopSkill(Character&) {
    ReleaseBeam();
    mState = Idle;
}

bool Skill_AttackSpellChaos::AcceptClientResult(const Character& caster,
                                                const std::vector<std::uint32_t>& targets,
                                                const WorldCoords&) const {
    // The start names no one in the list (its target rides in the weapon field and only draws
    // the beam); a hit names the one foe the beam reached, within the beam's reach.
    const float reach = std::max(mMaxDistance, Skill_AttackSpell::kReach) + kClientLeeway;
    return targets.size() <= 1 &&
           std::all_of(targets.begin(), targets.end(),
                       [&](std::uint32_t id) { return IsTargetInRange(caster, id, reach); });
}

}  // namespace GAME
