#pragma once
// The herds of the level on this machine, in order of creation. NPCs register while they run
// their first update; the registry is forgotten when the level unloads, so no herd (nor the ids
// it holds) outlives its level or passes to another machine.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Game/characters/npc/herd/NpcHerd.h"

namespace GAME {

class NpcHerdRegistry {
public:
    virtual ~NpcHerdRegistry() = default;

    // The machine's registry, created on first use.
    static NpcHerdRegistry& Get();
    // Drops the machine's registry (the level unloads).
    static void Reset();

    // The first herd of the name, compared in lower case; null when none.
    NpcHerd* FindHerd(const std::string& name) const;
    NpcHerd* AddHerd(const std::string& name);
    void AddHerdMember(const std::string& name, std::uint32_t npcId);
    void AddHerder(const std::string& name, std::uint32_t npcId);
    const std::vector<std::unique_ptr<NpcHerd>>& GetHerds() const { return mHerds; }

    virtual void Update(int) {}

private:
    NpcHerd& FindOrAddHerd(const std::string& name);

    std::vector<std::unique_ptr<NpcHerd>> mHerds;
};

}  // namespace GAME
