#include "Game/characters/npc/herd/NpcHerd.h"

#include "Engine/object/ObjectManager.h"
#include "Game/ai/controllers/CharacterController.h"
#include "Game/ai/npc/herd/ControllerNpcHerder.h"
#include "Game/characters/npc/Npc.h"

namespace GAME {

void NpcHerd::AddMember(std::uint32_t npcId) {
    if (!mMembers.empty())
        if (Npc* npc = Singleton<ObjectManager>::Get().GetObject<Npc>(npcId))
            npc->SetController(kAnimalController);
    mMembers.push_back(npcId);
}

void NpcHerd::SetHerder(std::uint32_t npcId) {
    Npc* npc = Singleton<ObjectManager>::Get().GetObject<Npc>(npcId);
    if (!npc)
        return;
    npc->SetController(kHerderController);
    if (auto* herder = FindController<ControllerNpcHerder>(*npc))
        herder->SetHerdName(mName);
    mHerderId = npcId;
}

}  // namespace GAME
