#include "Game/characters/monster/Megalesios.h"

#include "Engine/Engine.h"
#include "Engine/streams/BinaryStream.h"
#include "Game/core/players/Team.h"

namespace GAME {

RTTI_IMPLEMENT(Megalesios, Monster)
RTTI_IMPLEMENT(MegalesiosConduit, Monster)

void Megalesios::SaveState(BinaryWriter& writer) {
    Monster::SaveState(writer);
    writer.WriteUInt32(mBurstsLaunched ? 1u : 0u);
    writer.WriteUInt32(mConduitsDestroyed ? 1u : 0u);
}

void Megalesios::RestoreState(BinaryReader& reader) {
    Monster::RestoreState(reader);
    std::uint32_t bursts = 0;
    std::uint32_t conduits = 0;
    if (!reader.ReadUInt32(bursts) || !reader.ReadUInt32(conduits)) {
        gEngine->Log(1, "Megalesios: saved state of %s (%u) ends before its fight's progress",
                     GetObjectName().c_str(), GetObjectId());
        return;
    }
    mBurstsLaunched = bursts != 0;
    mConduitsDestroyed = conduits != 0;
}

void MegalesiosConduit::InitialUpdate() {
    Monster::InitialUpdate();
    SetTeam(TeamManager::DefaultPlayerTeam());
}

}  // namespace GAME
