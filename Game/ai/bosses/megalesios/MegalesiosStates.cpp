#include "Game/ai/bosses/megalesios/MegalesiosStates.h"

#include <vector>

#include "Engine/Engine.h"
#include "Engine/text/Name.h"
#include "Engine/world/World.h"
#include "Game/ai/monster/states/MonsterStateHelpers.h"

namespace GAME {

void ControllerMegalesiosStateStartup::OnBegin() {
    Megalesios* self = GetCharacter();
    // Invincibility is not saved: a fight restored into its conduit phase takes it up again
    // there, and one restored past it drops it at once.
    Ctl().SetInvincible(true);
    if (self && self->GetBurstsLaunched()) {
        Go("AttackConduit");
        return;
    }
    Idle();
}

void ControllerMegalesiosStateStartup::QuestCommandUseSkill(std::uint32_t, std::uint32_t) {
    if (Megalesios* self = GetCharacter())
        self->SetBurstsLaunched(true);
    Go("LaunchBursts", Data({.skill = Ctl().GetSpecialAttack5SkillId()}));
}

void ControllerMegalesiosStateLaunchBursts::OnBegin() {
    Megalesios* self = GetCharacter();
    if (!self)
        return;
    const std::uint32_t skillId = GetCurrentSkillID();
    if (const Skill* skill = Singleton<ObjectManager>::Get().GetObject<Skill>(skillId);
        skill && skill->GetReason() != SkillReason::Available) {
        gEngine->Log(2, "Skill is not ready in ControllerMegalesiosState LaunchBursts - %s",
                     self->GetObjectName().c_str());
        return;
    }
    const std::uint32_t enemy = GetCurrentEnemy();
    if (const Character* target = FindCharacter(enemy))
        UseSkill(enemy, target->GetPathPosition(), skillId, static_cast<std::uint16_t>(crt_rand()));
    else
        UseSkill(SelfId(), self->GetPathPosition(), skillId,
                 static_cast<std::uint16_t>(crt_rand()));
}

void ControllerMegalesiosStateLaunchBursts::HandleEvent(const Name& name) {
    static const Name kEnd = Name::Create("End");
    if (name == kEnd)
        Go("AttackConduit");
}

void ControllerMegalesiosStateAttackConduit::OnBegin() {
    const Megalesios* self = GetCharacter();
    if (self && self->GetConduitsDestroyed()) {
        Go("Idle");
        return;
    }
    mAttackCountdown = 0;
}

void ControllerMegalesiosStateAttackConduit::ChooseConduit() {
    const Megalesios* self = GetCharacter();
    if (!self)
        return;
    const WorldVec3 at = self->GetPathPosition();
    if (!at.GetRegion())
        return;
    thread_local std::vector<Entity*> found;
    found.clear();
    World::Get().GetEntitiesInSphere(found, at.GetRegion(),
                                     Sphere{at.GetRegionPosition(), GetViewDistance() + 2.0f},
                                     EntityListType::Actors);
    for (const Entity* entity : found)
        if (entity->IsA<MegalesiosConduit>()) {
            mConduit = entity->GetObjectId();
            return;
        }
}

void ControllerMegalesiosStateAttackConduit::OnUpdate(int ms) {
    if (mConduit == 0)
        ChooseConduit();
    if (mConduit == 0)
        return;
    const Monster* conduit = Singleton<ObjectManager>::Get().GetObject<Monster>(mConduit);
    if (!conduit || !conduit->IsAlive()) {
        // The first chosen conduit's fall ends the phase, whatever others still stand.
        if (Megalesios* self = GetCharacter())
            self->SetConduitsDestroyed(true);
        Go("Idle");
        return;
    }
    mAttackCountdown -= ms;
    if (mAttackCountdown >= 0)
        return;
    mAttackCountdown = static_cast<int>(MonsterRandomFloat(1000.0f, 5000.0f));
    UseSkill(mConduit, conduit->GetCoords().GetPosition(), Ctl().GetSpecialAttackSkillId(),
             static_cast<std::uint16_t>(crt_rand()));
}

void ControllerMegalesiosStateAttackConduit::QuestCommandUseSkill(std::uint32_t skillId,
                                                                  std::uint32_t targetId) {
    mAttackCountdown = 1000000;
    DefaultQuestCommandUseSkillResponse(skillId, targetId);
}

}  // namespace GAME
