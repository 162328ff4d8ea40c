#include "Game/characters/npc/herd/NpcHerdRegistry.h"

#include "Engine/sys/Machine.h"
#include "Engine/world/World.h"
#include "Game/core/util/StringUtil.h"

namespace GAME {

namespace {
// The machine's slot is made under the machine's own guard: no lock of ours to create first.
const bool kHerdsForgottenWithTheLevel = [] {
    World::AddLevelUnloadHook(&NpcHerdRegistry::Reset);
    return true;
}();
}  // namespace

NpcHerdRegistry& NpcHerdRegistry::Get() {
    return Machine::Current().Get<NpcHerdRegistry>();
}

void NpcHerdRegistry::Reset() {
    Machine::Current().Reset<NpcHerdRegistry>();
}

NpcHerd* NpcHerdRegistry::FindHerd(const std::string& name) const {
    const std::string wanted = ToLowerString(name);
    for (const auto& herd : mHerds)
        if (ToLowerString(herd->GetName()) == wanted)
            return herd.get();
    return nullptr;
}

NpcHerd* NpcHerdRegistry::AddHerd(const std::string& name) {
    mHerds.push_back(std::make_unique<NpcHerd>(name));
    return mHerds.back().get();
}

NpcHerd& NpcHerdRegistry::FindOrAddHerd(const std::string& name) {
    NpcHerd* herd = FindHerd(name);
    return herd ? *herd : *AddHerd(name);
}

void NpcHerdRegistry::AddHerdMember(const std::string& name, std::uint32_t npcId) {
    FindOrAddHerd(name).AddMember(npcId);
}

void NpcHerdRegistry::AddHerder(const std::string& name, std::uint32_t npcId) {
    FindOrAddHerd(name).SetHerder(npcId);
}

}  // namespace GAME
