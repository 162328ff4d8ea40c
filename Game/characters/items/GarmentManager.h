#pragma once
// Swaps a character's mesh and textures for those of a worn vestment or clothing and restores
// them when it comes off. A vestment hides clothing.
#include <string>

namespace GAME {

class Character;

class GarmentManager {
public:
    GarmentManager() = default;
    GarmentManager(const GarmentManager&) = default;
    GarmentManager& operator=(const GarmentManager&) = default;
    virtual ~GarmentManager() = default;

    // Three empty names take the garment off.
    virtual void SetClothing(Character& character, const std::string& mesh,
                             const std::string& baseTexture, const std::string& bumpTexture);
    virtual void SetVestment(Character& character, const std::string& mesh,
                             const std::string& baseTexture, const std::string& bumpTexture);
    virtual void UpdateGarment(Character& character);

private:
    struct Garment {
        std::string mesh;
        std::string baseTexture;
        std::string bumpTexture;
    };
    Garment mVestment;
    Garment mClothing;
};

}  // namespace GAME
