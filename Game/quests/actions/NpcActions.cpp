#include "Game/quests/actions/NpcActions.h"

#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/streams/IOStream.h"
#include "Engine/sys/RandomUniform.h"
#include "Game/characters/Character.h"
#include "Game/characters/monster/Monster.h"
#include "Game/characters/npc/Npc.h"
#include "Game/core/GameEngine.h"
#include "Game/core/ObjectLookup.h"
#include "Game/core/util/ServerObjectIds.h"
#include "Game/items/Item.h"
#include "Game/items/ItemReplicaInfo.h"
#include "Game/items/ItemSeed.h"
#include "Game/quests/actions/BoundAction.h"
#include "Game/quests/actions/RewardActions.h"
#include "Game/quests/conditions/QuestCondition.h"

namespace GAME {

GAME_TRIGGER_ACTION_KIND(Action_DispenseItemFromNpc)
GAME_TRIGGER_ACTION_KIND(Action_DropItemFromNpc)
GAME_TRIGGER_ACTION_KIND(Action_BoatDialog)
GAME_TRIGGER_ACTION_KIND(Action_UpdateNPCDialog)
GAME_TRIGGER_ACTION_KIND(Action_TalkNPC)
GAME_TRIGGER_ACTION_KIND(Action_ClearNPCDialog)
GAME_TRIGGER_ACTION_KIND(Action_IlluminateNpc)

void NpcAction::SerializeChildProperties(IOStream& stream) {
    stream.StreamString("npc", mNpc);
    Register(mNpc, true, false);
}

void NpcAction::BindCreature(const std::string& name, std::uint32_t id) {
    if (!mNpc.empty() && RecordNamesEqual(name, mNpc))
        mBound.assign(1, id);
}

Npc* NpcAction::BoundNpc() const {
    return mBound.empty() ? nullptr : Objects().GetObject<Npc>(mBound.front());
}

// Illumination

void Action_IlluminateNpc::SerializeChildProperties(IOStream& stream) {
    NpcAction::SerializeChildProperties(stream);
    stream.StreamInt("type", mType);
}

void Action_IlluminateNpc::StreamChildProperties(IOStream& stream) {
    NpcAction::StreamChildProperties(stream);
    stream.StreamBool("isDeluminate", mDeluminate);
}

std::string Action_IlluminateNpc::Describe() const {
    const char* type = mType == 2 ? " Secondary " : mType == 3 ? " Tertiary " : " Primary ";
    return "Illuminate " + Highlight(ShowRecordName(mNpc)) + " as " + Highlight(type);
}

void Action_IlluminateNpc::Apply() {
    Npc* npc = BoundNpc();
    if (!npc)
        return;
    npc->SetDialogType(static_cast<Npc::DialogType>(mType));
    npc->Dialog_Illuminate(this);
    mPending = false;
}

// Dialogs

void Action_UpdateNPCDialog::SerializeChildProperties(IOStream& stream) {
    NpcAction::SerializeChildProperties(stream);
    stream.StreamString("dialogFile", mDialogFile);
}

void Action_UpdateNPCDialog::StreamChildProperties(IOStream& stream) {
    NpcAction::StreamChildProperties(stream);
    stream.StreamBool("noPrimaryDialog", mNoPrimaryDialog);
}

void Action_UpdateNPCDialog::Apply() {
    Npc* npc = BoundNpc();
    if (!npc)
        return;
    npc->Dialog_ReplaceStatic(mDialogFile, this, mNoPrimaryDialog);
    mPending = false;
}

void Action_ClearNPCDialog::Apply() {
    Npc* npc = BoundNpc();
    if (!npc)
        return;
    npc->Dialog_ReplaceStatic("", nullptr, false);
    mPending = false;
}

void Action_TalkNPC::Fire(std::uint32_t, bool) {
    if (Npc* npc = BoundNpc())
        npc->OnPlayerInteract(LocalPlayerId(), false, false);
}

void Action_BoatDialog::SerializeChildProperties(IOStream& stream) {
    NpcAction::SerializeChildProperties(stream);
    stream.StreamBool("onOff", mOnOff);
    stream.StreamInt("x", mX);
    stream.StreamInt("y", mY);
    stream.StreamInt("z", mZ);
    stream.StreamString("tag", mTag);
}

std::string Action_BoatDialog::Describe() const {
    return "Boat Dialog " + Highlight(ShowRecordName(mNpc)) + " with target " +
           Highlight(std::to_string(mX) + ", " + std::to_string(mY) + ", " + std::to_string(mZ));
}

void Action_BoatDialog::Apply() {
    Npc* npc = mNpc.empty() ? nullptr : BoundNpc();
    if (!npc)
        return;
    mPending = false;
    npc->SetBoatMaster(mOnOff, mTag, mX, mY, mZ);
}

// Items through a character

void NpcItemAction::SerializeChildProperties(IOStream& stream) {
    stream.StreamString("npc", mNpc);
    StreamPerDifficulty(stream, "item", mItem);
    Register(mNpc, true, true);
}

void NpcItemAction::BindCreature(const std::string& name, std::uint32_t id) {
    if (!mNpc.empty() && RecordNamesEqual(name, mNpc))
        AddBound(id);
}

void Action_DispenseItemFromNpc::Apply() {
    for (std::uint32_t id : mBound) {
        if (Npc* npc = Objects().GetObject<Npc>(id)) {
            npc->SetDispenseItem(LocalPlayerId(), Item());
            mPending = false;
        } else if (Monster* monster = Objects().GetObject<Monster>(id)) {
            monster->SetTreasureProxy(Item());
            mPending = false;
        }
    }
}

void Action_DropItemFromNpc::Apply() {
    // What falls into the world is the server's to make.
    if (Item().empty() || mBound.empty() || !DecidesGame())
        return;
    const bool network = gEngine->IsNetworkEnabled();
    for (std::uint32_t id : mBound) {
        Character* character = Objects().GetObject<Character>(id);
        if (character) {
            // Rolled from a generator of the item's own: a draw from the root generator on the
            // deciding machine alone would put it out of step with the others.
            const std::uint32_t itemId =
                network ? CreateServerObjectId(ServerIdBand::Drops) : Objects().CreateObjectID();
            RandomUniform random;
            SeedItemGenerator(random, itemId);
            ItemReplicaInfo replica;
            if (itemId != 0 && RollQuestItem(Item(), random, replica)) {
                replica.objectId = itemId;
                if (network) {
                    // Every machine makes it where the character stands.
                    gGameEngine->CreateItem(character->GetCoords(), replica);
                    mLastItemId = itemId;
                } else if (GAME::Item* item = GAME::Item::CreateItem(replica)) {
                    mLastItemId = itemId;
                    character->DropItem(item, 0.5f, 0.5f);
                }
            }
        }
        mPending = false;
    }
}

}  // namespace GAME
