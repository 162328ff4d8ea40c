#pragma once
// Body armor, jewelry and garments: meshes per body form, block and impact sounds.
#include <array>
#include <string>

#include "Game/items/ItemEquipment.h"

namespace GAME {

class Armor : public ItemEquipment {
    RTTI_DECLARE(Armor)
public:
    // Body forms by Character gender: male 1, female 2, native 3, satyr 4, jackal man 5,
    // tigerman 6.
    enum BodyForm { kNative, kMale, kFemale, kSatyr, kJackalMan, kTigerman, kBodyFormCount };
    struct BodyFormNames {
        std::string mesh;
        std::string bumpTexture;
        std::string baseTexture;
    };

    Armor();
    ~Armor() override;

    void Load(const LoadTable& record) override;
    void PreLoad(bool now) override;
    void AttachItem(Character* character, const char* attachPoint) override;
    void DetachItem(Character* character) override;
    void GetGameDescription(std::wstring& text) const override;
    void GetUIGameDescription(std::vector<GameTextLine>& lines) const override;
    void CreateUIAttributeText(std::vector<GameTextLine>& lines) override;

    virtual void SetArmorGender(Character* character);
    virtual void ResetArmorGender(Character* character);
    // Shows the mesh and textures (an empty mesh restores the item's own mesh).
    void ChangeArmorMesh(const std::string& mesh, const std::string& baseTexture,
                         const std::string& bumpTexture);
    void PlayBlockSound(const WorldVec3& where);
    void PlayImpactSound(const WorldVec3& where);

    const BodyFormNames& GetBodyForm(BodyForm form) const { return forms[form]; }
    // What the headless actor shows now (empty: its own mesh, no texture).
    const std::string& GetShownMesh() const { return shownMesh; }
    const std::string& GetShownBaseTexture() const { return shownBaseTexture; }
    const std::string& GetShownBumpTexture() const { return shownBumpTexture; }
    SoundPak* GetBlockSound() const { return blockSound.Get(); }

protected:
    OwnedObject<SoundPak> blockSound{"Game/Armor"};
    OwnedObject<SoundPak> armorImpactSound{"Game/Armor"};
    std::array<BodyFormNames, kBodyFormCount> forms;
    std::string shownMesh;
    std::string shownBaseTexture;
    std::string shownBumpTexture;
};

// Kinds that only fix their numbers.
#define GAME_PLAIN_EQUIPMENT_KIND(Class, Parent) \
    class Class : public Parent {                \
        RTTI_DECLARE(Class)                      \
    public:                                      \
        Class();                                 \
    };

GAME_PLAIN_EQUIPMENT_KIND(ArmorJewelry, Armor)
GAME_PLAIN_EQUIPMENT_KIND(ArmorJewelry_Ring, ArmorJewelry)
GAME_PLAIN_EQUIPMENT_KIND(ArmorJewelry_Bracelet, ArmorJewelry)
GAME_PLAIN_EQUIPMENT_KIND(ArmorJewelry_Amulet, ArmorJewelry)
GAME_PLAIN_EQUIPMENT_KIND(ArmorMisc, Armor)
GAME_PLAIN_EQUIPMENT_KIND(ArmorProtective, Armor)
GAME_PLAIN_EQUIPMENT_KIND(ArmorProtective_Head, ArmorProtective)
GAME_PLAIN_EQUIPMENT_KIND(ArmorProtective_LowerBody, ArmorProtective)

// A garment worn through the character's garment manager (vestment or clothing).
class ArmorMisc_Garment : public ArmorMisc {
public:
    void Load(const LoadTable& record) override;
    void AttachItem(Character* character, const char* attachPoint) override;
    void DetachItem(Character* character) override;

protected:
    // "vestment" or "clothing": the stem of the record keys.
    explicit ArmorMisc_Garment(const char* stem) : stem(stem) {}

private:
    const char* stem;
    std::array<BodyFormNames, 3> garments;  // native, male, female
};

class ArmorMisc_Vestment : public ArmorMisc_Garment {
    RTTI_DECLARE(ArmorMisc_Vestment)
public:
    ArmorMisc_Vestment();
};

class ArmorMisc_Clothing : public ArmorMisc_Garment {
    RTTI_DECLARE(ArmorMisc_Clothing)
public:
    ArmorMisc_Clothing();
};

class ArmorProtective_UpperBody : public ArmorProtective {
    RTTI_DECLARE(ArmorProtective_UpperBody)
public:
    ArmorProtective_UpperBody();
    void SetArmorGender(Character* character) override;
    void ResetArmorGender(Character* character) override;
};

class ArmorProtective_Forearm : public ArmorProtective {
    RTTI_DECLARE(ArmorProtective_Forearm)
public:
    ArmorProtective_Forearm();
};

}  // namespace GAME
