// The combat rules' hooks into a character, its speeds, and the skills its actions drive.
#include "Game/characters/Character.h"

#include <string>
#include <vector>

#include "Engine/object/ObjectManager.h"
#include "Engine/records/LoadTable.h"
#include "Engine/sys/Machine.h"
#include "Engine/world/Math.h"
#include "Game/ai/controllers/CharacterController.h"
#include "Game/characters/anim/AnimationSet.h"
#include "Game/core/GameEngine.h"
#include "Game/core/ObjectLookup.h"
#include "Game/rules/combat/ParametersCombat.h"
#include "Game/skills/SkillActivated.h"

namespace GAME {

namespace {

int Difficulty() {
    return gGameEngine ? gGameEngine->GetGameDifficulty() : 0;
}

constexpr auto kImmobilizeEffect = static_cast<CombatAttributeType>(38);

}  // namespace

float Character::GetRunSpeed() const {
    const float speed =
        mCombatManager->GetRunSpeed(GetTotalCharAttribute(CharAttributeType::RunSpeed));
    return mWarmUpSpeed ? CapAbsoluteRunSpeed(speed) : CapRunSpeed(speed);
}

float Character::GetAttackSpeed() const {
    const float speed = GetTotalCharAttribute(CharAttributeType::AttackSpeed);
    float base = GetTotalCharAttribute(CharAttributeType::BaseAttackSpeed);
    if (mHandState == 2)
        base *= 0.5f;
    return CapAttackSpeed(mCombatManager->GetAttackSpeed(speed + base));
}

float Character::GetSpellCastSpeed() const {
    return CapSpellCastSpeed(mCombatManager->ContributeSpellCastSpeed(
        GetTotalCharAttribute(CharAttributeType::SpellCastSpeed)));
}

float Character::CapAbsoluteRunSpeed(float speed) const {
    if (!gGameEngine)
        return speed;
    const LoadTable database = gGameEngine->GetDatabase();
    const auto index = static_cast<std::size_t>(Difficulty());
    return CapSpeedToBase(speed, database.GetArrayFloat("absoluteRunSpeedCapMin", index, 0.0f),
                          database.GetArrayFloat("absoluteRunSpeedCapMax", index, 0.0f),
                          CharAttributeType::RunSpeed);
}

float Character::CapSpeedToBase(float speed, float capMin, float capMax,
                                CharAttributeType base) const {
    if (capMin <= 0.0f || capMax <= 0.0f)
        return speed;
    const float baseSpeed = mBio.GetBaseCharAttribute(base);
    return Clamp(speed, capMin * 0.01f * baseSpeed, capMax * 0.01f * baseSpeed);
}

bool Character::IsUnderAttack() const {
    return mCombatManager->GetCombatState() != CombatManager_State::NotInCombat;
}

bool Character::TakeAttack(ParametersCombat& parameters) {
    mBio.BioIsTainted();
    mPlayStats.ReceiveHit();
    if (!parameters.auraName.empty())
        AddAura(parameters.auraName, false, parameters.auraLevel);
    mAttackerId = parameters.attackerId;
    return mCombatManager->TakeAttack(parameters);
}

float Character::DesignerCalculatePhysicalDamageDefense(float physical, float protection,
                                                        float absorbedProtection,
                                                        float armorBonus) const {
    const float result = mCombatManager->DesignerCalculatePhysicalDamageDefense(
        physical, protection, absorbedProtection, armorBonus);
    mCombatManager->GetCharacter()->GetPlayStats().TallyDamageReduction(
        physical - result, PlayStatsDamageReductionType::Unknown);
    return result;
}

float Character::DesignerCalculateShieldBlockDamageReduction(float damage, float shieldDefense,
                                                             float shieldAbsorption) const {
    const float result = mCombatManager->DesignerCalculateShieldBlockDamageReduction(
        damage, shieldDefense, shieldAbsorption);
    mCombatManager->GetCharacter()->GetPlayStats().TallyDamageReduction(
        damage - result, PlayStatsDamageReductionType::Blocked);
    return result;
}

void Character::ApplyDamage(float damage, const PlayStatsDamageType& kind,
                            CombatAttributeType type) {
    mCombatManager->ApplyDamage(damage, kind, type);
}

void Character::AddDurationDamage(CombatAttributeType type, float amount, float duration) {
    GetDurationDamageManager().AddDamage(type, amount, duration);
}

void Character::AddFixedDurationDamage(CombatAttributeType type, float amount, float duration) {
    GetDurationDamageManager().AddFixedDamage(type, amount, duration);
}

void Character::StartInvoluntaryEffect(CombatAttributeType type) {
    switch (type) {
        case CombatAttributeType::Stun:
            BeginStun();
            break;
        case CombatAttributeType::Trap:
            BeginTrap();
            break;
        case CombatAttributeType::Freeze:
            BeginFreeze();
            break;
        case CombatAttributeType::Petrify:
            BeginPetrify();
            break;
        default:
            if (type == kImmobilizeEffect)
                BeginImmobilize();
            break;
    }
}

void Character::StopInvoluntaryEffect(CombatAttributeType type) {
    switch (type) {
        case CombatAttributeType::Stun:
            EndStun();
            break;
        case CombatAttributeType::Trap:
            EndTrap();
            break;
        case CombatAttributeType::Freeze:
            EndFreeze();
            break;
        case CombatAttributeType::Petrify:
            EndPetrify();
            break;
        default:
            if (type == kImmobilizeEffect)
                EndImmobilize();
            break;
    }
}

bool Character::IsSkillSpeedUpdateNeeded() const {
    return mSkillManager->IsSpeedUpdateNeeded();
}

void Character::ForceSpeedUpdate() {
    mBio.Update(*this, 0);
    if (mAnimationSet == nullptr)
        return;
    if (mActionState == Character_ActionState::Move)
        mAnimationSet->AdjustAnimation(*this, GetRunSpeed());
    else if (mActionState == Character_ActionState::Attack)
        mAnimationSet->AdjustAnimation(*this, GetAttackSpeed());
}

// The combat manager's attacker is the one its damage statistics and kill credit go to.
void Character::SetCombatAttacker(std::uint32_t attacker) {
    mAttackerId = attacker;
    mCombatManager->SetAttacker(attacker);
}

// False when a filter took the whole of it: nothing was dealt, so nothing is leeched.
bool Character::ApplyCombatDamage(float damage, const PlayStatsDamageType& kind,
                                  CombatAttributeType type) {
    return mCombatManager->ApplyDamage(damage, kind, type);
}

void Character::GiveCombatBonus(const Bonus& bonus, std::uint32_t attacker) {
    mCombatManager->GiveBonus(bonus, attacker);
}

void Character::CombatExertInfluenceTaunt(float value) {
    if (auto* controller = FindController<ControllerCombat>(*this))
        controller->TauntMe(value, mCombatManager->GetAttackerId());
}

void Character::CombatExertInfluenceFear(int value) {
    if (auto* controller = FindController<ControllerCombat>(*this))
        controller->ScareMe(mCombatManager->GetAttackerId(), static_cast<float>(value));
}

void Character::CombatAddCooldownDamage(int ms) {
    mSkillManager->ApplyCooldownDamage(static_cast<float>(ms));
}

void Character::CombatAddLifeLeechDamage(float amount) {
    mCombatManager->ApplyLifeLeech(amount);
}

void Character::GetActiveStatusSkills(std::vector<std::string>& names) const {
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    const std::uint32_t self = GetObjectId();
    for (const auto* list :
         {&mSkillManager->GetUISkillList(), &mSkillManager->GetUITempSkillList()})
        for (std::uint32_t id : *list)
            if (const Skill* skill = objects.GetObject<Skill>(id);
                skill && (skill->HasIconDisplay(self) || skill->IsTempTrackable(self)))
                names.push_back(skill->GetObjectName());
}

bool Character::StartSkill(std::uint32_t skillId, std::uint32_t targetId, const WorldVec3& point,
                           int seed) {
    mBio.BioIsTainted();
    return mSkillManager->StartSkill(skillId, targetId, point, seed);
}

void Character::ActivateSkill(std::uint32_t reference, const Name& event, std::uint32_t targetId,
                              const WorldVec3& point) {
    const std::uint32_t skillId = mSkillManager->GetSkillIdFromReference(reference);
    if (auto* skill = Singleton<ObjectManager>::Get().GetObject<SkillActivated>(skillId))
        skill->ActivateNow(*this, event, targetId, point);
}

void Character::SkillWarmUp(std::uint32_t skillId, bool ending) {
    const bool speedChange = mSkillManager->SkillWarmUp(skillId, ending);
    if (ending && mWarmUpSpeed) {
        mWarmUpSpeed = false;
        ForceSpeedUpdate();
    } else if (!ending && speedChange) {
        mWarmUpSpeed = true;
        ForceSpeedUpdate();
    }
}

void Character::CancelSkillAction(std::uint32_t skillId) {
    mSkillManager->CancelSkillAction(skillId);
}

}  // namespace GAME
