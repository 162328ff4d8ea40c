#include "Host/play/drivers/SkillDriver.h"

#include <cmath>

#include "Engine/object/ObjectManager.h"
#include "Engine/text/LocalizationManager.h"
#include "Engine/world/World.h"
#include "Game/ai/controllers/CharacterController.h"
#include "Game/ai/controllers/player/ControllerPlayer.h"
#include "Game/characters/Player.h"
#include "Game/core/GameEngine.h"
#include "Game/core/players/Team.h"
#include "Game/skills/SkillActivated.h"
#include "Game/skills/SkillKinds.h"
#include "Game/skills/manager/SkillManager.h"
#include "Game/skills/manager/SkillPointSpend.h"
#include "Game/skills/passive/Skill_Passive.h"
#include "Game/skills/passive/Skill_PassiveBuffSelf.h"
#include "Game/skills/spawn/Skill_SpawnPet.h"
#include "Host/PrintableText.h"
#include "Host/play/PlayEventLog.h"
#include "Host/play/drivers/NearestFoe.h"

namespace GAME {

namespace {

const Skill* FindSkill(std::uint32_t id) {
    return Singleton<ObjectManager>::Get().GetObject<Skill>(id);
}

bool IsPlainAttack(SkillManager& skills, std::uint32_t id) {
    return id == skills.GetDefaultSkillId() || id == skills.GetDefaultWPSkillId();
}

}  // namespace

SkillDriver::Use SkillDriver::UseOf(const Skill& skill) {
    if (dynamic_cast<const SkillActivatedBuffSelf*>(&skill))
        return Use::Buff;
    if (dynamic_cast<const Skill_SpawnPet*>(&skill))
        return Use::Pet;
    // A passive that acts by itself or lends its attributes; the mastery is not one to pick.
    if (dynamic_cast<const PassiveBuffSelf*>(&skill) ||
        (dynamic_cast<const Skill_Passive*>(&skill) && !dynamic_cast<const Skill_Mastery*>(&skill)))
        return Use::Passive;
    const auto* activated = dynamic_cast<const SkillActivated*>(&skill);
    if (activated && activated->GetTargetType() == SkillTargetType::Foe &&
        skill.GetRangeProfile() != Skill_RangeProfile::Melee)
        return Use::Far;
    return Use::None;
}

std::string SkillDriver::NameOf(const Skill& skill) {
    const std::string& tag = skill.GetDisplayNameTag();
    const LocalizationManager& texts = LocalizationManager::Instance();
    if (!tag.empty() && texts.HasTag(tag))
        return PrintableText(texts.GetText(tag));
    return PlayEventLog::RecordStem(skill.GetObjectName());
}

void SkillDriver::Step(Player& player, std::uint64_t gameTimeMs, float fightRadius, bool callPet) {
    NoteChanges(player);
    // A person spends points and fights standing; the dead and the travelling do neither.
    if (!player.IsAlive() || !player.IsInWorld())
        return;
    SpendPoints(player);
    if (fightRadius <= 0.0f || gameTimeMs < mNextUseMs)
        return;
    float distance = 0.0f;
    Character* foe = NearestFoe(player, fightRadius, distance);
    if (!foe)
        return;
    const SkillManager& skills = player.GetSkillManager();
    // Buff first, then the pet, then the far foe: one use a turn.
    for (Use wanted : {Use::Buff, Use::Pet, Use::Far})
        for (std::uint32_t id : skills.GetSkillList()) {
            const Skill* skill = FindSkill(id);
            if (!skill || skill->GetSkillLevel() == 0 || UseOf(*skill) != wanted ||
                skill->GetReason() != SkillReason::Available)
                continue;
            const auto* buff = dynamic_cast<const SkillActivatedBuffSelf*>(skill);
            const auto* pet = dynamic_cast<const Skill_SpawnPet*>(skill);
            if ((buff && buff->IsOn()) || (pet && (!callPet || !pet->GetPets().empty())) ||
                (wanted == Use::Far && distance <= kFarFoe))
                continue;
            if (Cast(player, *skill, wanted == Use::Far ? foe : nullptr)) {
                mNextUseMs = gameTimeMs + kIntervalMs;
                return;
            }
        }
}

void SkillDriver::SpendPoints(Player& player) {
    SkillManager& skills = player.GetSkillManager();
    if (player.GetSkillPoints() == 0)
        return;
    // The least raised of the skills that fight or act by themselves, else of the others; ties
    // to the earlier in the class's list. One point a turn: the next turn sees where it went.
    const Skill* best = nullptr;
    bool bestFights = false;
    for (std::uint32_t id : skills.GetSkillList()) {
        const Skill* skill = FindSkill(id);
        if (!skill || IsPlainAttack(skills, id) || skill->GetSkillLevel() >= skill->GetMaxLevel())
            continue;
        const bool fights = UseOf(*skill) != Use::None;
        if (!best || (fights && !bestFights) ||
            (fights == bestFights && skill->GetSkillLevel() < best->GetSkillLevel())) {
            best = skill;
            bestFights = fights;
        }
    }
    if (best)
        SpendSkillPoint(skills, best->GetObjectId());
}

void SkillDriver::NoteChanges(Player& player) {
    SkillManager& skills = player.GetSkillManager();
    const bool first = mLevels.empty();
    for (std::uint32_t id : skills.GetSkillList()) {
        const Skill* skill = FindSkill(id);
        if (!skill || IsPlainAttack(skills, id))
            continue;
        std::uint32_t& seen = mLevels[id];
        if (!first && skill->GetSkillLevel() > seen)
            mLog.PrintStamped("you learn " + NameOf(*skill) + " (level " +
                              std::to_string(skill->GetSkillLevel()) + ")");
        seen = skill->GetSkillLevel();
        if (UseOf(*skill) != Use::Passive)
            continue;
        bool& held = mHeld[id];
        if (!held && skill->IsTrackable(id))
            mLog.PrintStamped("your " + NameOf(*skill) + " takes hold");
        held = skill->IsTrackable(id);
    }
    for (const auto& [record, count] : player.GetPlayStats().GetSkillsUsed()) {
        int& seen = mUses[record];
        const std::uint32_t id = skills.FindSkillId(record);
        const Skill* skill = FindSkill(id);
        if (!first && count > seen && skill && !IsPlainAttack(skills, id))
            mLog.PrintStamped("you cast " + NameOf(*skill));
        seen = count;
    }
}

Character* SkillDriver::NearestFoe(Player& player, float radius, float& distance) {
    float nearestSquared = 0.0f;
    Character* nearest = FindNearestFoe(player, radius, mNearby, nearestSquared);
    distance = std::sqrt(nearestSquared);
    return nearest;
}

bool SkillDriver::IsCasting(Player& player) {
    std::uint32_t target = 0;
    WorldVec3 point;
    std::uint32_t skill = 0;
    // Set while an attack's animation plays, cleared when it ends or breaks off.
    player.GetCurrentAttackTarget(target, point, skill);
    // The plain attacks are swung again at the next click anyway.
    return skill != 0 && !IsPlainAttack(player.GetSkillManager(), skill);
}

bool SkillDriver::Cast(Player& player, const Skill& skill, Character* foe) {
    auto* controller = FindController<ControllerPlayer>(player);
    if (!controller)
        return false;
    std::uint32_t target = 0;
    WorldVec3 point = player.GetPosition();
    if (foe) {
        // As a click on the foe with the skill's hot key held: the foe is the combat enemy.
        target = foe->GetObjectId();
        point = foe->GetPosition();
        controller->SetCombatEnemy(target);
        controller->SetCombatAlly(0);
    }
    return controller->SendSkillAction(&player, foe == nullptr, false, skill.GetObjectId(), point,
                                       target);
}

}  // namespace GAME
