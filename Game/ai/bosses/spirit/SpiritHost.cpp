#include "Game/ai/bosses/spirit/SpiritHost.h"

#include "Engine/Engine.h"
#include "Engine/streams/BinaryStream.h"

namespace GAME {

RTTI_IMPLEMENT(SpiritHost, Monster)

void SpiritHost::SaveState(BinaryWriter& writer) {
    Monster::SaveState(writer);
    writer.WriteUInt32(mAnimated ? 1u : 0u);
}

void SpiritHost::RestoreState(BinaryReader& reader) {
    Monster::RestoreState(reader);
    std::uint32_t animated = 0;
    if (!reader.ReadUInt32(animated)) {
        gEngine->Log(1, "SpiritHost: saved state of %s (%u) ends before its animated flag",
                     GetObjectName().c_str(), GetObjectId());
        return;
    }
    mAnimated = animated != 0;
}

}  // namespace GAME
