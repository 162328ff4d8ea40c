#include "Game/ai/bosses/bandari/ControllerTerracotta.h"

#include <memory>

#include "Engine/records/LoadTable.h"
#include "Game/ai/bosses/bandari/ControllerTerracottaStates.h"
#include "Game/characters/Character.h"

namespace GAME {

RTTI_IMPLEMENT(ControllerTerracotta, ControllerMonster)

ControllerTerracotta::ControllerTerracotta() = default;
ControllerTerracotta::~ControllerTerracotta() = default;

void ControllerTerracotta::Load(const LoadTable& table) {
    ControllerMonster::Load(table);
    mAttackRange = table.GetFloat("AttackRange", 2.0f);
    mMarchRange = table.GetFloat("MarchRange", 0.0f);
}

void ControllerTerracotta::RegisterStates() {
    ControllerMonster::RegisterStates();
    AddState<ControllerTerracottaStateStartup>("Startup", this);
    AddState<ControllerTerracottaStateAttackMarch>("AttackMarch", this);
}

void ControllerTerracotta::StartAttackMarch() {
    SetState("AttackMarch", ControllerAIStateData());
}

void ControllerTerracotta::StartReturn() {
    SetState("Return", ControllerAIStateData());
}

float ControllerTerracotta::GetForwardDistance(std::uint32_t targetId) const {
    const auto* target = Singleton<ObjectManager>::Get().GetObject<Character>(targetId);
    const Character* self = GetParentCharacter();
    if (!target || !self)
        return 0.0f;
    const Vec3 toTarget =
        self->GetCoords().GetPosition().VectorTo(target->GetCoords().GetPosition());
    const float ahead = toTarget.Dot(self->GetCoords().coords.zAxis);
    return ahead > 0.0f ? ahead : 0.0f;
}

}  // namespace GAME
