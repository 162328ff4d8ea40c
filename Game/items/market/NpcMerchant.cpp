#include "Game/items/market/NpcMerchant.h"

#include "Engine/Engine.h"
#include "Engine/media/sound/SoundManager.h"
#include "Engine/object/MinimapGameNugget.h"
#include "Engine/records/LoadTable.h"
#include "Engine/text/LocalizationManager.h"
#include "Game/characters/npc/NpcEvents.h"
#include "Game/core/GameEngine.h"
#include "Game/quests/dialog/MerchantDialogPak.h"

namespace GAME {

RTTI_IMPLEMENT(NpcMerchant, Npc)

namespace {
constexpr const char* kTypeMarks[] = {
    "Records/Effects/ObjectEffects/ShieldGeneral01.dbr",
    "Records/Effects/ObjectEffects/ShieldMage01.dbr",
    "Records/Effects/ObjectEffects/ShieldMelee01.dbr",
};
}  // namespace

NpcMerchant::NpcMerchant() {
    SetDialogType(DialogType_SkillReallocator);
}

NpcMerchant::~NpcMerchant() {
    OnRemoveFromLevel();
}

void NpcMerchant::Load(const LoadTable& table) {
    std::vector<std::string> markets;
    table.GetStringArray("marketFileName", markets);
    const int difficulty = gGameEngine ? gGameEngine->GetGameDifficulty() : 0;
    if (difficulty >= 0 && static_cast<std::size_t>(difficulty) < markets.size())
        mMarketName = markets[static_cast<std::size_t>(difficulty)];
    const std::string type = table.GetString("merchantType");
    mMerchantType = type == "Mage"    ? MarketMerchantType_Mage
                    : type == "Melee" ? MarketMerchantType_Melee
                                      : MarketMerchantType_Generic;
    mMerchantTypeTag = table.GetString("merchantTypeTag");
    Npc::Load(table);
    if (!gEngine->IsEditor())
        AttachPunctuation(kTypeMarks[mMerchantType]);
    mHasDialogForLanguage = LocalizationManager::Instance().HasDialogForLanguage();
}

void NpcMerchant::InitialUpdate() {
    Npc::InitialUpdate();
    OnAddToLevel();
}

void NpcMerchant::OnAddToLevel() {
    if (gGameEngine && !mMarketClient) {
        gGameEngine->CreateMarketClient(GetObjectId());
        mMarketClient = true;
    }
}

void NpcMerchant::OnRemoveFromLevel() {
    if (gGameEngine && mMarketClient)
        gGameEngine->DestroyMarketClient(GetObjectId());
    mMarketClient = false;
}

void NpcMerchant::UpdateSelf(int ms) {
    Npc::UpdateSelf(ms);
    mChatting = IsChatting();
    SetPackMode(GetGreetingCountdown() > 0 ? MerchantDialogPak::Short : MerchantDialogPak::Long);
}

void NpcMerchant::OnPlayerInteract(std::uint32_t playerId, bool, bool) {
    Converse(playerId);
    mInteracting.push_back(playerId);
    GameEvent_ActivateNPCMarket event;
    event.merchantId = GetObjectId();
    event.playerId = playerId;
    SendGameEvent(event, "ActivateNPCMarket");
}

void NpcMerchant::Converse(std::uint32_t playerId) {
    NpcDialogPak* pack = GetDialogPak();
    if (!IsMainPlayer(playerId) || !pack)
        return;
    if (mHasDialogForLanguage)
        pack->Speak(nullptr);
    SetGreetingCountdown(pack->GetShortGreetingTimerTime() * 1000);
}

void NpcMerchant::SetPackMode(int mode) {
    if (auto* pack = dynamic_cast<MerchantDialogPak*>(GetDialogPak()))
        pack->SetMode(mode);
}

void NpcMerchant::Dialog_Short() {
    SetPackMode(MerchantDialogPak::Short);
}

void NpcMerchant::Dialog_Long() {
    SetPackMode(MerchantDialogPak::Long);
}

void NpcMerchant::Dialog_Goodbye() {
    SetPackMode(MerchantDialogPak::Goodbye);
}

void NpcMerchant::Dialog_OverridePlayback(SoundDescriptor& sound) {
    SoundManager::Get().Play2D(sound);
}

void NpcMerchant::Dialog_ReplaceStatic(const std::string& dialogRecordName,
                                       NpcDialogUpdateAction* action, bool) {
    SetDialogStateChanged();
    DestroyDialogPak();
    if (MerchantDialogPak* pack = MerchantDialogPak::Spawn(dialogRecordName))
        ReplaceDialogPak(pack);
    SetDialogUpdateAction(action);
}

void NpcMerchant::GetMerchantTypeText(std::wstring& text) const {
    LocalizationManager& texts = LocalizationManager::Instance();
    text += texts.Format("SimpleStringFormat", texts.GetText(mMerchantTypeTag));
}

std::wstring NpcMerchant::GetRolloverDescription() const {
    LocalizationManager& texts = LocalizationManager::Instance();
    std::wstring text = texts.Format("SimpleStringFormat", GetGameDescription(false));
    text += L" - ";
    GetMerchantTypeText(text);
    return text;
}

void NpcMerchant::AppendDetailMapData(std::vector<MinimapGameNugget>& nuggets) const {
    MinimapGameNugget nugget;
    nugget.kind = 7;
    nugget.label = GetGameDescription(false);
    nugget.position = GetPosition();
    nuggets.push_back(nugget);
}

}  // namespace GAME
