// What an NPC keeps and sends: its dialog state in the level's saved state, its loot on other
// machines, and the records the main player keeps of it.
#include "Engine/Engine.h"
#include "Engine/net/fields/NetPacketBuffer.h"
#include "Engine/streams/BinaryStream.h"
#include "Engine/triggers/TriggerElements.h"
#include "Game/characters/Player.h"
#include "Game/characters/npc/Npc.h"
#include "Game/characters/npc/NpcQuestActions.h"
#include "Game/core/GameEngine.h"
#include "Game/core/util/SeamLog.h"
#include "Game/core/util/StringUtil.h"
#include "Game/quests/QuestRepository.h"

namespace GAME {

namespace {
constexpr std::uint32_t kNoAction = 0xFFFFFFFFu;

Player* MainPlayer() {
    return gGameEngine ? gGameEngine->GetMainPlayer() : nullptr;
}
}  // namespace

bool Npc::ShouldLoadLoot() const {
    return !gEngine->IsClient();
}

void Npc::SaveState(BinaryWriter& writer) {
    Actor::SaveState(writer);
    writer.WriteUInt32(mDialogStateChanged ? 1u : 0u);
    writer.WriteUInt32(static_cast<std::uint32_t>(mDialogType));
    writer.WriteUInt32(static_cast<std::uint32_t>(mGreetingCountdown));
}

void Npc::RestoreState(BinaryReader& reader) {
    Actor::RestoreState(reader);
    std::uint32_t changed = 0;
    std::uint32_t type = 0;
    if (!reader.ReadUInt32(changed) || !reader.ReadUInt32(type)) {
        gEngine->Log(1, "Npc: saved state of %s (%u) is unreadable; kept as placed",
                     GetObjectName().c_str(), GetObjectId());
        return;
    }
    mDialogStateChanged = changed != 0;
    if (type >= DialogType_Exclamation && type <= DialogType_SkillReallocator)
        mDialogType = static_cast<DialogType>(type);
    RestoreInteractState();
    std::uint32_t countdown = 0;
    if (reader.ReadUInt32(countdown))
        mGreetingCountdown = static_cast<int>(countdown);
}

void Npc::WriteReplicationData(NetPacketOutBuffer& out) {
    out.Write16(mLoot.lootSeed);
    for (const std::uint32_t id : mLoot.attachedItemIds)
        out.Write32(id);
}

bool Npc::ReadReplicationData(NetPacketInBuffer& in) {
    LootStruct loot;
    bool read = in.Read16(loot.lootSeed);
    for (std::uint32_t& id : loot.attachedItemIds)
        read = read && in.Read32(id);
    if (!read) {
        gEngine->Log(1,
                     "Npc::ReadReplicationData: the replication body of NPC %u is cut short; "
                     "refused.",
                     GetObjectId());
        return false;
    }
    // The level does not travel: the receiver takes the one its own copy of the record gave.
    loot.lootLevel = mLoot.lootLevel;
    mReplicatedLoot = loot;
    mReplicationPending = true;
    return true;
}

void Npc::ApplyReplicationData() {
    if (!mReplicationPending)
        return;
    mReplicationPending = false;
    mLoot = mReplicatedLoot;
    ReportSeam("Npc", "Character::LoadLootFromStruct");
}

std::string Npc::PlayerRecordKey() const {
    return MakeNormalizedPath(GetObjectName());
}

void Npc::SetBoatMaster(bool, const std::string& text, int x, int y, int z) {
    if (Player* player = MainPlayer()) {
        BoatMasterData data;
        data.key = PlayerRecordKey();
        data.destination = text;
        data.values = {static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y),
                       static_cast<std::uint32_t>(z)};
        player->AddBoatMaster(data);
    }
}

bool Npc::IsBoatMaster() const {
    const Player* player = MainPlayer();
    return player && player->IsBoatMaster(PlayerRecordKey());
}

void Npc::SetPlayerNpcDialog(NpcDialogUpdateAction* action) {
    if (Player* player = MainPlayer())
        player->AddNpcDialog({PlayerRecordKey(), action ? action->GetActionId() : kNoAction});
}

void Npc::SetPlayerNpcIllumination(NpcIlluminateAction* action) {
    if (Player* player = MainPlayer())
        player->AddNpcIllumination({PlayerRecordKey(), action ? action->GetActionId() : kNoAction});
}

bool Npc::IsPlayerNpcDialog() const {
    const Player* player = MainPlayer();
    return player && player->IsNpcDialog(PlayerRecordKey());
}

bool Npc::IsPlayerNpcIllumination() const {
    const Player* player = MainPlayer();
    return player && player->IsNpcIllumination(PlayerRecordKey());
}

std::uint32_t Npc::GetPlayerNpcDialog() const {
    NpcDialogData data{{}, kNoAction};
    if (const Player* player = MainPlayer())
        player->GetNpcDialog(PlayerRecordKey(), data);
    return data.value;
}

std::uint32_t Npc::GetPlayerNpcIllumination() const {
    NpcIlluminationData data{{}, kNoAction};
    if (const Player* player = MainPlayer())
        player->GetNpcIllumination(PlayerRecordKey(), data);
    return data.value;
}

void Npc::RestoreInteractState() {
    QuestRepository* quests = QuestRepository::Get();
    if (IsPlayerNpcIllumination()) {
        const std::uint32_t id = GetPlayerNpcIllumination();
        TriggerAction* action = id != kNoAction && quests ? quests->FindActionById(id) : nullptr;
        if (auto* illuminate = dynamic_cast<NpcIlluminateAction*>(action)) {
            mIlluminateAction = illuminate;
            action->Fire(0, false);
        }
    }
    if (IsPlayerNpcDialog()) {
        const std::uint32_t id = GetPlayerNpcDialog();
        TriggerAction* action = id != kNoAction && quests ? quests->FindActionById(id) : nullptr;
        if (auto* update = dynamic_cast<NpcDialogUpdateAction*>(action)) {
            mDialogUpdateAction = update;
            action->Fire(0, false);
        }
    }
    if (IsBoatMaster())
        AttachPunctuation(kAnchor01);
}

}  // namespace GAME
