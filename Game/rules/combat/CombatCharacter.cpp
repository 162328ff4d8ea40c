#include "Game/rules/combat/CombatCharacter.h"

#include "Engine/object/ObjectManager.h"

namespace GAME {

CombatCharacter* CombatCharacter::FindCombatCharacter(std::uint32_t id) const {
    if (id == 0)
        return nullptr;
    return dynamic_cast<CombatCharacter*>(Singleton<ObjectManager>::Get().GetObject(id));
}

}  // namespace GAME
