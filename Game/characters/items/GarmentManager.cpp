#include "Game/characters/items/GarmentManager.h"

#include "Game/characters/Character.h"

namespace GAME {

void GarmentManager::SetClothing(Character& character, const std::string& mesh,
                                 const std::string& baseTexture, const std::string& bumpTexture) {
    mClothing = {mesh, baseTexture, bumpTexture};
    UpdateGarment(character);
}

void GarmentManager::SetVestment(Character& character, const std::string& mesh,
                                 const std::string& baseTexture, const std::string& bumpTexture) {
    mVestment = {mesh, baseTexture, bumpTexture};
    UpdateGarment(character);
}

void GarmentManager::UpdateGarment(Character& character) {
    const Garment* worn = !mVestment.mesh.empty()   ? &mVestment
                          : !mClothing.mesh.empty() ? &mClothing
                                                    : nullptr;
    if (!worn) {
        character.RestoreMesh();
        character.SetBaseTexture(std::string());
        character.SetBumpTexture(std::string());
        return;
    }
    character.SetMesh(worn->mesh);
    if (!worn->baseTexture.empty())
        character.SetBaseTexture(worn->baseTexture);
    if (!worn->bumpTexture.empty())
        character.SetBumpTexture(worn->bumpTexture);
}

}  // namespace GAME
