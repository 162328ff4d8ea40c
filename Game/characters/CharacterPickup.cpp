// Picking items up and using up one-shots: the character's side of the pick-up command and of
// the use command.
#include "Engine/Engine.h"
#include "Engine/media/sound/SoundPak.h"
#include "Engine/object/ObjectManager.h"
#include "Game/ai/controllers/CharacterController.h"
#include "Game/ai/controllers/player/ControllerPlayer.h"
#include "Game/characters/Player.h"
#include "Game/core/GameEngine.h"
#include "Game/core/GameUIInterface.h"
#include "Game/items/inventory/Inventory.h"
#include "Game/items/oneshot/OneShot.h"

namespace GAME {

namespace {
constexpr unsigned kInventoryFullTutorialPage = 33;

void PlaySoundAt(std::uint32_t soundId, const Character& character) {
    if (auto* sound = Singleton<ObjectManager>::Get().GetObject<SoundPak>(soundId))
        sound->Play(character.GetPosition());
}
}  // namespace

bool Character::GiveItemToCharacter(Item&) {
    return false;
}

void Character::UseInventoryItem(std::uint32_t itemId, bool destroy) {
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    auto* oneShot = objects.GetObject<OneShot>(itemId);
    // Only what this character carries: a pile on the ground or in another's hands stays. A
    // one-shot it brought along (a saved bag, another machine's image of it) has no taker.
    if (!oneShot || (oneShot->GetCarrierId() != GetObjectId() &&
                     (oneShot->GetCarrierId() != 0 || !mInventory->IsItemInInventory(itemId))))
        return;
    oneShot->Use(this);
    GetPlayStats().IncrementPotion(oneShot);
    if (!destroy)
        return;
    mInventory->RemoveItemFromInventory(itemId);
    objects.DestroyObjectEx(oneShot, "Game/Character", __LINE__);
}

bool Player::GiveItemToCharacter(Item& item) {
    GetInventory().AddItemToInventory(item.GetObjectId(), false);
    item.SetPhysicsType(2);
    if (auto* oneShot = dynamic_cast<OneShot*>(&item))
        oneShot->SetCarrierId(GetObjectId());
    // Each machine works the controls of its own player; the others hear of what it did
    // through the commands it sends.
    if (!gGameEngine || GetObjectId() != gGameEngine->GetPlayerId())
        return true;
    auto* controller = FindController<ControllerPlayer>(*this);
    if (!controller)
        return true;
    const std::uint32_t itemId = item.GetObjectId();
    std::wstring description;
    item.GetGameDescription(description);
    // The item may be used up (and gone) once the controls took it.
    if (controller->GiveItemToPlayer(itemId)) {
        PlaySoundAt(mPickUpSound, *this);
        if (GameUIInterface* ui = gGameEngine->GetUI())
            ui->ItemPickedUp(GetObjectId(), description);
        return true;
    }
    gGameEngine->UnlockTutorialPage(kInventoryFullTutorialPage, true);
    controller->SendDropItemRandom(itemId);
    PlaySoundAt(mInventoryFullSound, *this);
    return false;
}

}  // namespace GAME
