// The paper doll: a copy of the player, in a region of its own, that the inventory screen shows;
// and the player's light and texture, which the copy follows.
#include <algorithm>

#include "Engine/Engine.h"
#include "Engine/media/graphics/Light.h"
#include "Engine/net/fields/NetPacketBuffer.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/records/LoadTable.h"
#include "Engine/sys/Machine.h"
#include "Game/characters/Player.h"
#include "Game/characters/actions/CharacterActionHandler.h"
#include "Game/characters/actions/IdleActions.h"
#include "Game/items/Item.h"
#include "Game/items/inventory/Inventory.h"

namespace GAME {

namespace {
// Above the player's origin, where its light hangs.
constexpr Vec3 kLightOffset{0.0f, 5.0f, 0.0f};
}  // namespace

Player* Player::CreateCopy() {
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    auto* copy = objects.CreateObjectFromFile<Player>(GetObjectName());
    if (!copy) {
        gEngine->Log(1, "Player: no copy of \"%s\" could be made from its record.",
                     GetObjectName().c_str());
        return nullptr;
    }
    // The same path as a spawn on another machine, so the copy shows what they would.
    std::unique_ptr<NetPacket> packet = copy->CreateSpawnNetPacket();
    {
        NetPacketOutBuffer out(packet.get());
        WriteReplicationData(out);
    }
    copy->SetIsCopy(true);
    const auto* body = reinterpret_cast<const unsigned char*>(packet->GetOutBuffer());
    const unsigned int size = packet->GetOutBufferSize();
    NetPacketHeader header;
    header.BeginInbound(size);
    {
        NetPacketInBuffer in(header, body, static_cast<int>(size));
        copy->ReadReplicationData(in);
    }
    copy->ApplyReplicationData();
    copy->SetIsControllingCharacter(false);
    return copy;
}

Player* Player::GetPaperDoll() const {
    return mPaperDoll ? Singleton<ObjectManager>::Get().GetObject<Player>(mPaperDoll) : nullptr;
}

void Player::CreatePaperDoll() {
    DestroyPaperDoll();
    mPaperDollRegion = std::make_unique<Region>("PaperDoll");
    Player* copy = CreateCopy();
    if (!copy)
        return;
    mPaperDoll = copy->GetObjectId();
    // The copy wears copies of the worn items, built from the replication data.
    mPaperDollItems.clear();
    for (std::uint32_t location = 0; location < 10; ++location) {
        const std::uint32_t mine = GetEquipManager().GetItemId(location);
        const std::uint32_t theirs = copy->GetEquipManager().GetItemId(location);
        if (mine != 0 && theirs != 0)
            mPaperDollItems[mine] = theirs;
    }
    copy->SetCoords(WorldCoords(mPaperDollRegion.get(), Coords::Identity()));
    copy->GetActionHandler().Execute(std::make_unique<LongIdleAction>(copy->GetObjectId()));
    copy->RemoveLight();
}

void Player::AttachItemAction(std::uint32_t itemId, std::uint32_t location) {
    Character::AttachItemAction(itemId, location);
    Player* copy = GetPaperDoll();
    const Item* item = Singleton<ObjectManager>::Get().GetObject<Item>(itemId);
    if (!copy || itemId == 0 || !item)
        return;
    ItemReplicaInfo record;
    item->GetItemReplicaInfo(record);
    record.objectId = 0;
    if (Item* duplicate = Item::CreateItem(record)) {
        mPaperDollItems[itemId] = duplicate->GetObjectId();
        copy->AttachItemAction(duplicate->GetObjectId(), location);
    }
}

void Player::DetachItemAction(std::uint32_t itemId) {
    Character::DetachItemAction(itemId);
    Player* copy = GetPaperDoll();
    auto it = mPaperDollItems.find(itemId);
    if (!copy || itemId == 0 || it == mPaperDollItems.end())
        return;
    const std::uint32_t duplicate = it->second;
    mPaperDollItems.erase(it);
    copy->DetachItemAction(duplicate);
    copy->GetInventory().RemoveItemFromInventory(duplicate);
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    if (Object* object = objects.GetObject(duplicate))
        objects.DestroyObjectEx(object, __FILE__, __LINE__);
}

// The copy stands in the region: it goes first, so that it never points at a deleted region.
void Player::DestroyPaperDoll() {
    if (Player* copy = GetPaperDoll())
        Singleton<ObjectManager>::Get().DestroyObjectEx(copy, __FILE__, __LINE__);
    mPaperDoll = 0;
    mPaperDollItems.clear();
    mPaperDollRegion.reset();
}

void Player::LoadLight(const LoadTable& table) {
    mPlayerLight = 0;
    const std::string record = table.GetString("playerLight");
    if (record.empty())
        return;
    if (auto* light = Singleton<ObjectManager>::Get().CreateObjectFromFile<Light>(record)) {
        mPlayerLight = light->GetObjectId();
        light->SetForceShadows(true);
    }
}

void Player::AttachLight() {
    if (auto* light =
            mPlayerLight ? Singleton<ObjectManager>::Get().GetObject<Light>(mPlayerLight) : nullptr)
        Attach(light, Coords::FromOrigin(kLightOffset), "");
}

void Player::RemoveLight() {
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    if (auto* light = mPlayerLight ? objects.GetObject<Light>(mPlayerLight) : nullptr) {
        Detach(light);
        objects.DestroyObjectEx(light, __FILE__, __LINE__);
    }
    mPlayerLight = 0;
}

void Player::SetPlayerTexture(const std::string& name) {
    if (name.empty())
        return;
    for (Player* player = this; player; player = player->GetPaperDoll()) {
        player->mPlayerTexture = name;
        player->SetBaseTexture(name);
        player->mSaveRequested = true;
    }
}

void Player::ResetPlayerTexture() {
    SetPlayerTexture(mPlayerTexture);
}

void Player::PickNewTexture(int index) {
    if (!mPlayerTextures.empty()) {
        const int last = static_cast<int>(mPlayerTextures.size()) - 1;
        mPlayerTexture = mPlayerTextures[static_cast<std::size_t>(std::clamp(index, 0, last))];
    }
    ResetPlayerTexture();
}

}  // namespace GAME
