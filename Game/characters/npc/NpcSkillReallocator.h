#pragma once
// The NPC with whom the player reallocates spent skill points: it always wears its own mark,
// speaks from a merchant-style pack (greeting and goodbye), opens the reallocation window of
// the user interface and is always shown on the map.
#include "Game/characters/npc/Npc.h"

namespace GAME {

class NpcSkillReallocator : public Npc {
    RTTI_DECLARE(NpcSkillReallocator)
public:
    static constexpr const char* kMark = "Records/Effects/ObjectEffects/Reallocation01.dbr";

    NpcSkillReallocator();

    void Load(const LoadTable& table) override;
    void AppendDetailMapData(std::vector<MinimapGameNugget>& nuggets) const override;
    bool IsOfInterest() const override { return true; }
    void OnPlayerInteract(std::uint32_t playerId, bool first, bool second) override;
    void Dialog_ReplaceStatic(const std::string& dialogFile, NpcDialogUpdateAction* action,
                              bool noPrimaryDialog) override;

    void Dialog_Hello();
    void Dialog_Goodbye();

private:
    void SpeakMode(int mode);
};

}  // namespace GAME
