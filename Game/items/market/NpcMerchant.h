#pragma once
// The NPC who keeps a market: a market record (by game difficulty), a merchant type shown to
// the player, its own talk timing and a map marker. While it stands in the world this machine
// has a market client for it; a player's interaction makes it speak and asks for the market.
#include <string>

#include "Game/characters/npc/Npc.h"

namespace GAME {

enum MarketMerchantType : int {
    MarketMerchantType_Generic = 0,
    MarketMerchantType_Mage = 1,
    MarketMerchantType_Melee = 2,
};

class NpcMerchant : public Npc {
    RTTI_DECLARE(NpcMerchant)
public:
    NpcMerchant();
    ~NpcMerchant() override;

    void Load(const LoadTable& table) override;
    void InitialUpdate() override;
    void UpdateSelf(int ms) override;
    // Its market client lives while it stands in a level.
    void OnAddToLevel();
    void OnRemoveFromLevel();
    void OnPlayerInteract(std::uint32_t playerId, bool first, bool second) override;
    void Converse(std::uint32_t playerId) override;
    void AppendDetailMapData(std::vector<MinimapGameNugget>& nuggets) const override;
    void Dialog_OverridePlayback(SoundDescriptor& sound) override;
    void Dialog_ReplaceStatic(const std::string& dialogRecordName, NpcDialogUpdateAction* action,
                              bool noPrimaryDialog) override;

    void Dialog_Short();
    void Dialog_Long();
    void Dialog_Goodbye();

    const std::string& GetMarketName() const { return mMarketName; }
    MarketMerchantType GetMerchantType() const { return mMerchantType; }
    void GetMerchantTypeText(std::wstring& text) const;
    std::wstring GetRolloverDescription() const;
    bool IsChattingNow() const { return mChatting; }
    bool HasMarketClient() const { return mMarketClient; }
    const std::vector<std::uint32_t>& GetInteractingPlayers() const { return mInteracting; }

private:
    void SetPackMode(int mode);

    std::string mMarketName;
    MarketMerchantType mMerchantType = MarketMerchantType_Generic;
    std::string mMerchantTypeTag;
    bool mChatting = false;
    bool mHasDialogForLanguage = true;
    bool mMarketClient = false;
    std::vector<std::uint32_t> mInteracting;
};

}  // namespace GAME
