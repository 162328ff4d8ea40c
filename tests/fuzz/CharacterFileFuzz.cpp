// Feeds damaged character files to the reader. The first byte chooses the form: even, the rest
// is a whole file; odd, the rest is a list of edits (offset, value, cut) to a file a real player
// wrote (a bag with a potion pile, a worn ring, a hot-slot bar), so that most inputs get deep
// into the sections. A file that loads must write back bytes that load into the same player
// again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/records/RecordDatabase.h"
#include "Engine/streams/IOStream.h"
#include "Game/ai/controllers/CharacterController.h"
#include "Game/ai/controllers/player/ControllerPlayer.h"
#include "Game/characters/Player.h"
#include "Game/core/GameEngine.h"
#include "Game/items/Item.h"
#include "Game/items/equipment/EquipmentCtrl.h"
#include "Game/items/hotslots/PlayerHotSlotCtrl.h"
#include "Game/items/inventory/PlayerInventoryCtrl.h"

using namespace GAME;

namespace {

std::vector<std::uint8_t> gValidFile;

std::vector<std::uint8_t> Written(Player& player) {
    IOStream out;
    player.StreamProperties(out);
    return out.GetBytes();
}

constexpr const char* kHero = "Records/Players/TestHero.dbr";
constexpr const char* kPotion = "Records/Fuzz/Potion.dbr";

// With its stand-in controller: the bag and the equipment are read, not passed over.
Player* NewPlayer() {
    return Singleton<ObjectManager>::Get().CreateObjectFromFile<Player>(kHero);
}

// Potions piled in the bag (one visible, two behind it), a ring worn, a bar with a potion slot.
void FillBagAndBar(Player& player) {
    player.SetIsControllingCharacter(true);
    auto* controller = FindController<ControllerPlayer>(player);
    if (!controller)
        return;
    PlayerInventoryCtrl& bag = controller->GetInventoryCtrl();
    std::vector<std::uint32_t> hidden;
    std::uint32_t visible = 0;
    for (int i = 0; i < 3; ++i) {
        const Item* potion = controller->CreateItemInInventory(kPotion);
        if (!potion)
            continue;
        if (visible == 0)
            visible = potion->GetObjectId();
        else
            hidden.push_back(potion->GetObjectId());
    }
    bag.AddStackedItem(Vec2(32.0f, 0.0f), visible, hidden, 0);
    controller->SetIgnoreEquipmentRequirements(true);
    if (const Item* ring = controller->CreateItemInInventory("Records/Items/PlainRing.dbr"))
        controller->GetEquipmentCtrl().AutoInsertItem(ring->GetObjectId());
    HotSlotOptionPotion health(0);
    player.GetPlayerHotSlotCtrl().SetHotSlot(2, &health);
}

void Destroy(Player* player) {
    Singleton<ObjectManager>::Get().DestroyObjectEx(player, __FILE__, __LINE__);
}

std::vector<std::uint8_t> Edited(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> file = gValidFile;
    for (std::size_t at = 0; at + 4 <= size && !file.empty(); at += 4) {
        const std::size_t offset = (data[at] | (data[at + 1] << 8)) % file.size();
        if (data[at + 3] & 1)
            file.resize(offset);
        else
            file[offset] = data[at + 2];
    }
    return file;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    gEngine->SetLogSink([](int, const char*, const std::string&) {});
    Singleton<RecordDatabase>::Get().SetDataRoot(GAME_FUZZ_DATA_DIR);
    InitializeObjects();
    Singleton<RecordDatabase>::Get().AddRecordText(
        kPotion,
        R"({"Class": "OneShot_PotionHealth", "bitmap": "potion.tex", "bonusLifePoints": 9})");
    Player* player = NewPlayer();
    FillBagAndBar(*player);
    player->SetPlayerName(L"Fuzz");
    for (std::uint32_t i = 0; i < 3; ++i) {
        player->AddTeleportUID(UniqueId(1, i, 0, 0));
        player->AddMarkerUID(UniqueId(2, i, 0, 0));
        player->AddRespawnUID(UniqueId(3, i, 0, 0));
    }
    player->AddMoney(99);
    gGameEngine->UnlockTutorialPage(4, false);
    gValidFile = Written(*player);
    Destroy(player);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0 || !gGameEngine)
        return 0;
    const std::vector<std::uint8_t> file = (data[0] & 1)
                                               ? Edited(data + 1, size - 1)
                                               : std::vector<std::uint8_t>(data + 1, data + size);

    Player* player = NewPlayer();
    if (player->LoadCharacterData(file, "fuzz.chr")) {
        const std::vector<std::uint8_t> once = Written(*player);
        Player* again = NewPlayer();
        if (!again->LoadCharacterData(once, "again.chr") || Written(*again) != once)
            std::abort();  // a file that loads must write back a file that loads the same
        Destroy(again);
    }
    IOStream tokens(file);
    player->StreamPropertiesQuestTokens(tokens);
    Destroy(player);
    return 0;
}
