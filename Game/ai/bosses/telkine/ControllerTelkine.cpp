#include "Game/ai/bosses/telkine/ControllerTelkine.h"

#include <memory>

#include "Engine/records/LoadTable.h"
#include "Game/ai/bosses/telkine/ControllerTelkineStates.h"
#include "Game/characters/Character.h"

namespace GAME {

RTTI_IMPLEMENT(ControllerTelkine, ControllerMonster)

ControllerTelkine::ControllerTelkine() = default;
ControllerTelkine::~ControllerTelkine() = default;

// Only the view distance of every AI controller and the three skills; none of the monster's
// behaviour keys.
void ControllerTelkine::Load(const LoadTable& table) {
    ControllerAI::Load(table);
    mSkeletonSpell = table.GetString("skeletonSpell", "");
    mTelekinesisSpell = table.GetString("telekinesisSpell", "");
    mDirectAttack = table.GetString("directAttack", "");
}

void ControllerTelkine::InitialUpdate() {
    ControllerAI::InitialUpdate();
    const Character* character = GetParentCharacter();
    if (!character)
        return;
    // A name the character does not have resolves to 0.
    auto idOf = [&](const std::string& name) {
        return name.empty() ? 0u : character->GetSkillManager().FindSkillId(name);
    };
    mSkeletonSpellId = idOf(mSkeletonSpell);
    mTelekinesisSpellId = idOf(mTelekinesisSpell);
    mDirectAttackId = idOf(mDirectAttack);
}

void ControllerTelkine::Update(int ms) {
    ControllerMonster::Update(ms);
}

void ControllerTelkine::RegisterStates() {
    AddState<ControllerTelkineStateStartup>("Startup", this);
    AddState<ControllerTelkineStateAttackPhase1>("AttackPhase1", this);
    AddState<ControllerTelkineStateAttackPhase2>("AttackPhase2", this);
    AddTemporaryState<ControllerTelkineStateEmote>("Emote", this);
}

}  // namespace GAME
