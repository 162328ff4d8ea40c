#include "Game/ai/monster/kinds/ControllerMonsterHidden.h"

#include <memory>
#include <vector>

#include "Engine/records/LoadTable.h"
#include "Engine/text/Name.h"
#include "Game/characters/monster/Monster.h"

namespace GAME {

RTTI_IMPLEMENT(ControllerMonsterHidden, ControllerMonster)

void ControllerMonsterHidden::Load(const LoadTable& table) {
    mAppearDistance = table.GetFloat("appearDistance", 5.0f);
}

void ControllerMonsterHidden::RegisterStates() {
    ControllerMonster::RegisterStates();
    AddState<ControllerMonsterStateHidden>("Startup", this);
}

void ControllerMonsterStateHidden::OnBegin() {
    const Monster* self = GetCharacter();
    // Popped out already (a restored game): the monster is in plain sight.
    if (self && self->GetPoppedOut()) {
        Go("Idle");
        return;
    }
    mTarget = 0;
    LongIdle();
}

void ControllerMonsterStateHidden::OnUpdate(int) {
    if (mTarget != 0)
        return;
    Monster* self = GetCharacter();
    if (!self)
        return;
    const WorldVec3 home = self->GetSpawnPoint().GetPosition();
    if (!home.GetRegion())
        return;
    thread_local std::vector<Character*> foes;
    foes.clear();
    Ctl().GetFoesInSphere(foes, home.GetRegion(),
                          Sphere{home.GetRegionPosition(), Ctl().GetViewDistance()});
    Character* closest = Ctl().FindClosest(foes);
    if (!closest)
        return;
    const float distance =
        self->GetCoords().GetPosition().DistanceTo(closest->GetCoords().GetPosition());
    if (!(distance < Ctl().GetAppearDistance()))
        return;
    mTarget = closest->GetObjectId();
    PlayAnimation(AnimationSet_Type::Spawn, Name(), 1.0f, false, 0);
    self->SetPoppedOut(true);
}

void ControllerMonsterStateHidden::HandleEvent(const Name& name) {
    static const Name kEnd = Name::Create("End");
    if (mTarget == 0 || name != kEnd)
        return;
    Ctl().TauntMe(100.0f, mTarget);
    Go("Pursue", Data({.enemy = mTarget, .skill = Ctl().ChooseBestSkill(mTarget, false)}));
}

}  // namespace GAME
