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
#include "Game/core/util/SeamLog.h"

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
    ReportSeam("Player", "the equipment's items copied onto the paper doll");
    copy->SetCoords(WorldCoords(mPaperDollRegion.get(), Coords::Identity()));
    copy->GetActionHandler().Execute(std::make_unique<LongIdleAction>(copy->GetObjectId()));
    copy->RemoveLight();
}

// The copy stands in the region: it goes first, so that it never points at a deleted region.
void Player::DestroyPaperDoll() {
    if (Player* copy = GetPaperDoll())
        Singleton<ObjectManager>::Get().DestroyObjectEx(copy, __FILE__, __LINE__);
    mPaperDoll = 0;
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
