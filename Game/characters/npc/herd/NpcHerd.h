#pragma once
// A herd: animals placed from one record that move together, driven by a herder. The herd is
// named by the animals' record; the herder names it in "isHerderFor".
#include <cstdint>
#include <string>
#include <vector>

namespace GAME {

class NpcHerd {
public:
    static constexpr const char* kAnimalController =
        "Records/Controllers/Npc/NpcHerdAnimalController.dbr";
    static constexpr const char* kHerderController =
        "Records/Controllers/Npc/NpcHerderController.dbr";

    explicit NpcHerd(std::string name) : mName(std::move(name)) {}

    const std::string& GetName() const { return mName; }
    const std::vector<std::uint32_t>& GetMembers() const { return mMembers; }
    std::uint32_t GetHerderId() const { return mHerderId; }

    // Appends the member; from the second one on, the NPC is given the herd-animal controller
    // (the first keeps the controller it loaded).
    void AddMember(std::uint32_t npcId);
    // Gives the NPC the herder controller and makes it the herder; an id that names no NPC
    // changes nothing.
    void SetHerder(std::uint32_t npcId);

private:
    std::string mName;
    std::vector<std::uint32_t> mMembers;
    std::uint32_t mHerderId = 0;
};

}  // namespace GAME
