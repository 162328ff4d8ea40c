#include "Game/skills/spawn/SpawnedCharacters.h"

#include "Engine/object/ObjectManager.h"
#include "Game/ai/controllers/CharacterController.h"
#include "Game/ai/controllers/ControllerCombat.h"
#include "Game/characters/Character.h"
#include "Game/skills/Skill.h"

namespace GAME {

bool MayTakeSpawnId(std::uint32_t id) {
    const Object* held = id ? Singleton<ObjectManager>::Get().GetObject(id) : nullptr;
    return id != 0 && !dynamic_cast<const Character*>(held) && !dynamic_cast<const Skill*>(held);
}

bool KillSpawnedCharacter(std::uint32_t id) {
    auto& objects = Singleton<ObjectManager>::Get();
    Character* character = id ? objects.GetObject<Character>(id) : nullptr;
    if (!character)
        return false;
    // One let go by the command that made it (a burst past the limit) has not had its first
    // update yet, without which its controller cannot kill it: it gets it now.
    if (character->IsInWorld() && !character->HasDoneInitialUpdate())
        character->InitialUpdate();
    auto* controller = FindController<ControllerCombat>(*character);
    if (!controller)
        return false;
    controller->KillMe();
    return true;
}

}  // namespace GAME
