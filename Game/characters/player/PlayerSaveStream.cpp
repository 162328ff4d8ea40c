// The character file: the player's own block, then the sections of its parts in a fixed order.
// The keys, their order, the repeated keys and the version gates are the file format.
#include <cstdint>

#include "Engine/Engine.h"
#include "Engine/streams/IOStream.h"
#include "Engine/sys/Machine.h"
#include "Game/ai/controllers/CharacterController.h"
#include "Game/ai/controllers/ControllerCharacter.h"
#include "Game/characters/Player.h"
#include "Game/core/GameEngine.h"
#include "Game/items/equipment/EquipmentCtrl.h"
#include "Game/items/hotslots/PlayerHotSlotCtrl.h"
#include "Game/items/inventory/PlayerInventoryCtrl.h"

namespace GAME {

namespace {

constexpr std::int32_t kPlayerVersion = 5;
// Versions that first carried a field.
constexpr std::uint32_t kVersionInMainQuest = 5;
constexpr std::uint32_t kVersionDifficultyCompleted = 3;
constexpr std::uint32_t kVersionHasBeenInGame = 4;
constexpr std::uint32_t kListVersion = 1;
constexpr std::int32_t kSavedTutorialPages = 36;
constexpr std::uint32_t kNoTutorialPage = 0xFFFFFFFFu;

}  // namespace

void Player::StreamProperties(IOStream& stream) {
    StreamCharacter(stream, true);
}

void Player::StreamCharacter(IOStream& stream, bool applyToGame) {
    const bool reading = stream.IsReading();
    std::int32_t version = kPlayerVersion;
    if (!stream.StreamInt("playerVersion", version) && reading) {
        stream.Fail("playerVersion", "missing, so this is no character file");
        return;
    }
    const auto gate = static_cast<std::uint32_t>(version);

    stream.BeginBlock("player");
    std::wstring name = mName;
    if (stream.StreamWString("myPlayerName", name) && reading)
        SetPlayerName(name);
    if (gate >= kVersionInMainQuest)
        stream.StreamBool("isInMainQuest", mInMainQuest);
    StreamTutorialState(stream, applyToGame);
    StreamIdLists(stream, "versionCheckTeleportInfo", "teleportUIDsSize", "teleportUID",
                  mTeleportUIDs);
    StreamIdLists(stream, "versionCheckMovementInfo", "markerUIDsSize", "markerUID", mMarkerUIDs);
    StreamIdLists(stream, "versionCheckRespawnInfo", "respawnUIDsSize", "respawnUID", mRespawnUIDs);
    std::uint32_t respawnVersion = reading ? 0 : kListVersion;
    stream.StreamUInt("versionRespawnPoint", respawnVersion);
    if (respawnVersion == kListVersion) {
        // One key, three times: the order alone tells the difficulties apart.
        for (UniqueId& point : mCurrentRespawnPoint)
            stream.StreamUniqueId("strategicMovementRespawnPoint[i]", point);
    }
    auto money = static_cast<std::int32_t>(GetMoney());
    if (stream.StreamInt("money", money) && reading) {
        SubtractMoney(GetMoney());
        AddMoney(money > 0 ? static_cast<std::uint32_t>(money) : 0);
    }
    stream.StreamUInt("compassState", mCompassState);
    stream.StreamBool("skillWindowShowHelp", mSkillWindowShowHelp);
    stream.StreamBool("alternateConfig", mAlternateConfig);
    stream.StreamBool("alternateConfigEnabled", mAlternateConfigEnabled);
    stream.StreamString("playerTexture", mPlayerTexture);
    if (gate >= kVersionDifficultyCompleted)
        stream.StreamUInt("temp", mGreatestDifficultyCompleted);
    if (gate >= kVersionHasBeenInGame)
        stream.StreamBool("hasBeenInGame", mHasBeenInGame);
    stream.EndBlock();

    StreamPropertiesSkills(stream);
    StreamPropertiesUI(stream);
    GetExperienceLevelControl().StreamProperties(stream);
    GetCharacterBio().StreamProperties(stream);
    GetPlayStats().StreamProperties(stream);
    StreamPropertiesInventory(stream);
    StreamPropertiesHotSlots(stream);
}

void Player::StreamTutorialState(IOStream& stream, bool applyToGame) {
    GameEngine* root = gGameEngine;
    GameEngine* game = applyToGame ? root : nullptr;
    if (!stream.IsReading()) {
        bool disableAutoPop = root && root->GetDisableTutorialAutoPop();
        stream.StreamBool("disableAutoPopV2", disableAutoPop);
        std::int32_t count = kSavedTutorialPages;
        stream.StreamInt("numTutorialPagesV2", count);
        static const std::vector<unsigned int> kNone;
        const std::vector<unsigned int>& unlocked = root ? root->GetTutorialUnlockList() : kNone;
        for (std::size_t i = 0; i < kSavedTutorialPages; ++i) {
            std::uint32_t page = i < unlocked.size() ? unlocked[i] : kNoTutorialPage;
            stream.StreamUInt("currentPageV2", page);
        }
        return;
    }
    if (game)
        game->ResetTutorialState();
    bool disableAutoPop = false;
    stream.StreamBool("disableAutoPopV2", disableAutoPop);
    if (game)
        game->SetDisableTutorialAutoPop(disableAutoPop);
    std::int32_t count = 0;
    stream.StreamInt("numTutorialPagesV2", count);
    if (!stream.CheckCount("numTutorialPagesV2", count,
                           IOStream::MinEntrySize(IOStream::Kind::UInt, "currentPageV2")))
        return;
    for (std::int32_t i = 0; i < count; ++i) {
        std::uint32_t page = kNoTutorialPage;
        // Once a value is missing so are the rest: the lookup starts from the same place.
        if (!stream.StreamUInt("currentPageV2", page))
            break;
        // Another count is another layout of the pages: read and dropped.
        if (game && count == kSavedTutorialPages && page != kNoTutorialPage)
            game->UnlockTutorialPage(page, false);
    }
}

void Player::StreamIdLists(IOStream& stream, const char* versionKey, const char* sizeKey,
                           const char* idKey, IdLists& lists) {
    const bool reading = stream.IsReading();
    std::uint32_t listVersion = reading ? 0 : kListVersion;
    stream.StreamUInt(versionKey, listVersion);
    if (listVersion != kListVersion)
        return;
    const std::size_t idBytes = IOStream::MinEntrySize(IOStream::Kind::Id, idKey);
    for (std::vector<UniqueId>& list : lists) {
        auto size = reading ? 0 : static_cast<std::int32_t>(list.size());
        stream.StreamInt(sizeKey, size);
        if (!reading) {
            for (UniqueId& id : list)
                stream.StreamUniqueId(idKey, id);
            continue;
        }
        if (!stream.CheckCount(sizeKey, size, idBytes))
            return;
        // Appended to what the player holds, duplicates and all: the count is bounded by the
        // bytes left, so a list read twice grows by one file's worth and no more.
        for (std::int32_t i = 0; i < size; ++i) {
            UniqueId id;
            if (!stream.StreamUniqueId(idKey, id))
                break;
            list.push_back(id);
        }
    }
}

void Player::StreamPropertiesSkills(IOStream& stream) {
    GetSkillManager().StreamProperties(stream);
}

void Player::GetUISettings(PlayerSave_UISetting& settings) const {
    settings = mUISettings;
    if (mGameInterface)
        mGameInterface->GetUISettings(settings);
}

void Player::RestoreUISettings(PlayerSave_UISetting& settings) {
    mUISettings = settings;
    if (mGameInterface)
        mGameInterface->RestoreUISettings(settings);
}

void Player::StreamPropertiesUI(IOStream& stream) {
    stream.BeginBlock("playerUI");
    PlayerSave_UISetting settings;
    if (stream.IsReading()) {
        settings.StreamProperties(stream);
        RestoreUISettings(settings);
    } else {
        GetUISettings(settings);
        settings.StreamProperties(stream);
    }
    stream.EndBlock();
}

void Player::StreamPropertiesInventory(IOStream& stream) {
    auto* controller = FindController<ControllerCharacter>(*this);
    bool controllerStreamed = controller != nullptr;
    stream.StreamBool("controllerStreamed", controllerStreamed);
    if (!controllerStreamed)
        return;
    if (!controller) {
        // Announced but nobody here to take it: the bag, the empty block and the equipment.
        for (int i = 0; i < 3; ++i)
            if (!stream.SkipNextBlock()) {
                stream.Fail("controllerStreamed",
                            "the inventory and equipment it announces are missing");
                return;
            }
        return;
    }
    PlayerInventoryCtrl& bag = GetBag();
    bag.StreamProperties(stream);
    stream.BeginBlock("");
    stream.EndBlock();
    EquipmentCtrl& equipment = controller->GetEquipmentCtrl();
    equipment.SetParent(this);
    equipment.StreamProperties(stream);
}

void Player::StreamPropertiesHotSlots(IOStream& stream) {
    mHotSlots->StreamProperties(stream);
}

bool Player::StreamPropertiesQuestTokens(IOStream& stream) {
    const bool reading = stream.IsReading();
    std::uint32_t version = 1;
    stream.StreamUInt("versionNumber", version);
    stream.BeginBlock("questTokens");
    auto count = static_cast<std::uint32_t>(mTokens.size());
    stream.StreamUInt("numberOfTriggerTokens", count);
    const auto signedCount = static_cast<std::int32_t>(count);
    // A token is at least one property.
    if (stream.CheckCount("numberOfTriggerTokens", signedCount,
                          IOStream::MinEntrySize(IOStream::Kind::End, ""))) {
        for (std::int32_t i = 0; i < signedCount; ++i) {
            if (!reading) {
                mTokens[static_cast<std::size_t>(i)].StreamProperties(stream);
                continue;
            }
            const std::size_t before = stream.GetRemainingBytes();
            TriggerToken token;
            token.StreamProperties(stream);
            if (stream.Failed() || stream.GetRemainingBytes() == before)
                break;  // nothing more to read
            mPendingTokens.push_back(std::move(token));
        }
    }
    stream.EndBlock();
    return true;
}

}  // namespace GAME
