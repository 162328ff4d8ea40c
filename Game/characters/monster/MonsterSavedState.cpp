// The binary state of a placed monster: what it keeps across a level's unload and reload.
#include "Engine/Engine.h"
#include "Engine/streams/BinaryStream.h"
#include "Game/characters/monster/Monster.h"
#include "Game/core/util/SeamLog.h"

namespace GAME {

void Monster::SaveState(BinaryWriter& writer) {
    Actor::SaveState(writer);
    writer.WriteUInt32(static_cast<std::uint32_t>(GetLifeState()));
    writer.WriteUInt16(mLoot.lootSeed);
    writer.WriteUInt16(mLoot.lootLevel);
    writer.WriteUInt32(mLeaderId);
    writer.WriteString(mProxyParent);
    writer.WriteUInt32(mProxyNumSiblings);
    GetDropPerPartyMemberItem().SaveState(writer);
    writer.WriteUInt32(mPoppedOut ? 1u : 0u);
}

void Monster::RestoreState(BinaryReader& reader) {
    Actor::RestoreState(reader);
    // Everything is read before anything changes: a cut or corrupt state leaves the monster as
    // its record made it.
    std::uint32_t lifeState = 0;
    std::uint16_t seed = 0;
    std::uint16_t level = 0;
    std::uint32_t leaderId = 0;
    std::string proxyParent;
    std::uint32_t siblings = 0;
    ItemReplicaInfo dropItem = GetDropPerPartyMemberItem();
    std::uint32_t poppedOut = 0;
    const bool read = reader.ReadUInt32(lifeState) && reader.ReadUInt16(seed) &&
                      reader.ReadUInt16(level) && reader.ReadUInt32(leaderId) &&
                      ReadLengthPrefixedString(reader, proxyParent) &&
                      reader.ReadUInt32(siblings) && dropItem.RestoreState(reader) &&
                      reader.ReadUInt32(poppedOut);
    if (!read || lifeState > static_cast<std::uint32_t>(Character_LifeState::Respawning)) {
        gEngine->Log(1,
                     "Monster: saved state of %s (%u) is unreadable; the monster is kept as it was",
                     GetObjectName().c_str(), GetObjectId());
        return;
    }
    mRestored = true;
    SetLifeState(static_cast<Character_LifeState>(lifeState));
    RestoreLifeState();
    mLoot.lootSeed = seed;
    mLoot.lootLevel = level;
    if (GetLifeState() != Character_LifeState::Dead)
        LoadLootFromSeed(seed, level);
    if (leaderId != 0 && IsAlive())
        JoinMe(leaderId, -1, false);
    mProxyParent = std::move(proxyParent);
    mProxyNumSiblings = siblings;
    SetDropPerPartyMemberItem(dropItem);
    mPoppedOut = poppedOut != 0;
}

}  // namespace GAME
