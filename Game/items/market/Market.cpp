#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Game/items/market/MarketClient.h"
#include "Game/items/market/MarketServer.h"

namespace GAME {

void MarketClient::Update(int elapsedMs) {
    mElapsedMs += elapsedMs;
}

void MarketServer::AttachToMerchant() {
    mAttached = Singleton<ObjectManager>::Get().GetObject(mMerchant) != nullptr;
    if (!mAttached)
        gEngine->Log(1, "MarketServer: merchant %u not found", mMerchant);
}

void MarketServer::Update(int elapsedMs) {
    mElapsedMs += elapsedMs;
    // Restocking needs the merchant's market record; a pending refresh is taken here.
    if (mRefreshPending && mAttached)
        mRefreshPending = false;
}

}  // namespace GAME
