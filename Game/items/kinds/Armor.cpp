#include "Game/items/kinds/Armor.h"

#include "Engine/media/sound/SoundPak.h"
#include "Game/characters/Character.h"
#include "Game/core/GameEngine.h"
#include "Game/core/ObjectLookup.h"
#include "Game/core/util/StringUtil.h"
#include "Game/items/ItemCharacterServices.h"
#include "Game/items/kinds/EquipmentKindTable.h"

namespace GAME {

RTTI_IMPLEMENT(Armor, ItemEquipment)

#define GAME_PLAIN_KIND_IMPLEMENT(Class, Parent) \
    RTTI_IMPLEMENT(Class, Parent)                \
    Class::Class() {                             \
        ApplyKindRow(kKindRow_##Class);          \
    }
GAME_PLAIN_KIND_IMPLEMENT(ArmorJewelry, Armor)
GAME_PLAIN_KIND_IMPLEMENT(ArmorJewelry_Ring, ArmorJewelry)
GAME_PLAIN_KIND_IMPLEMENT(ArmorJewelry_Bracelet, ArmorJewelry)
GAME_PLAIN_KIND_IMPLEMENT(ArmorJewelry_Amulet, ArmorJewelry)
GAME_PLAIN_KIND_IMPLEMENT(ArmorMisc, Armor)
GAME_PLAIN_KIND_IMPLEMENT(ArmorProtective, Armor)
GAME_PLAIN_KIND_IMPLEMENT(ArmorProtective_Head, ArmorProtective)
GAME_PLAIN_KIND_IMPLEMENT(ArmorProtective_LowerBody, ArmorProtective)
GAME_PLAIN_KIND_IMPLEMENT(ArmorProtective_UpperBody, ArmorProtective)
RTTI_IMPLEMENT(ArmorMisc_Vestment, ArmorMisc)
RTTI_IMPLEMENT(ArmorMisc_Clothing, ArmorMisc)
RTTI_IMPLEMENT(ArmorProtective_Forearm, ArmorProtective)

namespace {
// Record key stems of the body forms, in BodyForm order, and whether the stem takes "Name".
constexpr struct {
    const char* stem;
    bool named;
} kFormKeys[] = {{"armorNative", false}, {"armorMale", false},     {"armorFemale", false},
                 {"armorSatyr", true},   {"armorJackalMan", true}, {"armorTigerman", true}};
// The record's order: male, female, native, satyr, jackal man, tigerman.
constexpr Armor::BodyForm kFormReadOrder[] = {Armor::kMale,  Armor::kFemale,    Armor::kNative,
                                              Armor::kSatyr, Armor::kJackalMan, Armor::kTigerman};
}  // namespace

Armor::Armor() {
    armorFlag = true;
    ApplyKindRow(kKindRow_Armor);
}

Armor::~Armor() = default;

void Armor::Load(const LoadTable& record) {
    ItemEquipment::Load(record);
    blockSound.Reset(GetSoundPakFromRecord(record, "blockSound"));
    armorImpactSound.Reset(GetSoundPakFromRecord(record, "armorImpactSound"));
    for (BodyForm form : kFormReadOrder) {
        const std::string stem = kFormKeys[form].stem;
        const char* suffix = kFormKeys[form].named ? "Name" : "";
        forms[form].mesh = record.GetString((stem + "Mesh" + suffix).c_str());
        forms[form].bumpTexture = record.GetString((stem + "BumpTexture" + suffix).c_str());
        forms[form].baseTexture = record.GetString((stem + "BaseTexture" + suffix).c_str());
    }
}

void Armor::PreLoad(bool now) {
    ItemEquipment::PreLoad(now);
    for (SoundPak* pack : {blockSound.Get(), armorImpactSound.Get()})
        if (pack)
            pack->PreLoad(now);
}

void Armor::SetArmorGender(Character* character) {
    if (!character)
        return;
    // Character genders 1..6: male, female, native, satyr, jackal man, tigerman.
    static constexpr BodyForm kByGender[] = {kMale,  kFemale,    kNative,
                                             kSatyr, kJackalMan, kTigerman};
    const int gender = character->GetGender();
    if (gender < 1 || gender > 6) {
        ChangeArmorMesh("", "", "");
        return;
    }
    const BodyFormNames& names = forms[kByGender[gender - 1]];
    ChangeArmorMesh(names.mesh, names.baseTexture, names.bumpTexture);
}

void Armor::ResetArmorGender(Character*) {
    ChangeArmorMesh("", "", "");
}

void Armor::ChangeArmorMesh(const std::string& mesh, const std::string& baseTexture,
                            const std::string& bumpTexture) {
    shownMesh = mesh;
    shownBaseTexture = mesh.empty() ? std::string() : baseTexture;
    shownBumpTexture = mesh.empty() ? std::string() : bumpTexture;
}

void Armor::AttachItem(Character* character, const char* attachPoint) {
    SetArmorGender(character);
    ItemEquipment::AttachItem(character, attachPoint);
}

void Armor::DetachItem(Character* character) {
    ResetArmorGender(character);
    ItemEquipment::DetachItem(character);
}

void Armor::PlayBlockSound(const WorldVec3& where) {
    if (SoundPak* pack = blockSound.Get())
        pack->Play(where);
}

void Armor::PlayImpactSound(const WorldVec3& where) {
    if (SoundPak* pack = armorImpactSound.Get())
        pack->Play(where);
}

void Armor::GetGameDescription(std::wstring& text) const {
    text = GetItemColorText(GetItemClassification()) +
           FormatKindName("RandomMagicalArmorFormat", "CommonArmorFormat");
    RemoveLineBreakCodes(text);
    TrimSpacesAndBraces(text);
}

void Armor::GetUIGameDescription(std::vector<GameTextLine>& lines) const {
    std::wstring name = FormatKindName("RandomMagicalArmorFormat", "CommonArmorFormat");
    TrimSpacesAndBraces(name);
    lines.emplace_back(GetItemTextClass(classification), name);
}

void Armor::CreateUIAttributeText(std::vector<GameTextLine>& lines) {
    AppendAttributeText("F1B - F2N R1N R2N R3N D1N D2N D3N C1N C2N S1N", lines);
}

void ArmorMisc_Garment::Load(const LoadTable& record) {
    ArmorMisc::Load(record);
    static constexpr const char* kForms[] = {"Native", "Male", "Female"};
    for (int i = 0; i < 3; ++i)
        garments[i].mesh = record.GetString((std::string(stem) + kForms[i] + "Mesh").c_str());
    for (int i = 0; i < 3; ++i)
        garments[i].baseTexture =
            record.GetString((std::string(stem) + kForms[i] + "BaseTexture").c_str());
    for (int i = 0; i < 3; ++i)
        garments[i].bumpTexture =
            record.GetString((std::string(stem) + kForms[i] + "BumpTexture").c_str());
}

void ArmorMisc_Garment::AttachItem(Character* character, const char*) {
    if (character) {
        const int gender = character->GetGender();
        const BodyFormNames& names = garments[gender == 1 ? 1 : gender == 2 ? 2 : 0];
        ItemCharacterServices::Get().SetGarment(*character, IsA<ArmorMisc_Clothing>(), names.mesh,
                                                names.baseTexture, names.bumpTexture);
    }
    // The garment is worn on the body: the item object itself stays invisible.
    Armor::AttachItem(character, nullptr);
}

void ArmorMisc_Garment::DetachItem(Character* character) {
    if (character)
        ItemCharacterServices::Get().SetGarment(*character, IsA<ArmorMisc_Clothing>(), "", "", "");
    Armor::DetachItem(character);
}

ArmorMisc_Vestment::ArmorMisc_Vestment() : ArmorMisc_Garment("vestment") {
    ApplyKindRow(kKindRow_ArmorMisc_Vestment);
}

ArmorMisc_Clothing::ArmorMisc_Clothing() : ArmorMisc_Garment("clothing") {
    ApplyKindRow(kKindRow_ArmorMisc_Clothing);
}

void ArmorProtective_UpperBody::SetArmorGender(Character* character) {
    ArmorProtective::SetArmorGender(character);
    if (character)
        ItemCharacterServices::Get().SetBreastSupport(*character, 1.0f);
}

void ArmorProtective_UpperBody::ResetArmorGender(Character* character) {
    ArmorProtective::ResetArmorGender(character);
    if (character)
        ItemCharacterServices::Get().SetBreastSupport(*character, 0.0f);
}

ArmorProtective_Forearm::ArmorProtective_Forearm() {
    ApplyKindRow(kKindRow_ArmorProtective_Forearm);
    if (GameEngine* engine = gGameEngine)
        worldAnimationName = engine->GetItemForearmAnimationName();
}

}  // namespace GAME
