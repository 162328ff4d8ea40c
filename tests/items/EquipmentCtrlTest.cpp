// The equipment's rules on a character of its own: which hand or slot takes what, what comes
// back out, who stays attached when requirements fail or sets switch, the left sword's move
// into the right hand, the saved slots, and the shield that blocks.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Engine/records/RecordDatabase.h"
#include "Engine/streams/IOStream.h"
#include "Game/ai/controllers/ControllerCharacter.h"
#include "Game/characters/Character.h"
#include "Game/items/Item.h"
#include "Game/items/inventory/Inventory.h"
#include "ItemTestSupport.h"
#include "support/CharacterSetUp.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

constexpr const char* kWornSword = "Records/Items/Weapons/WardenSword.dbr";
constexpr const char* kWornShield = "Records/Items/Weapons/OakShield.dbr";
constexpr const char* kWornBow = "Records/Items/Weapons/HunterBow.dbr";
constexpr const char* kWornHelm = "Records/Items/Armor/WardenHelm.dbr";
constexpr const char* kWornSpear = "Records/Test/Spear.dbr";
constexpr const char* kWornAmulet = "Records/Test/Amulet.dbr";
constexpr const char* kWornBracelet = "Records/Test/Bracelet.dbr";
constexpr const char* kWornHeavyHelm = "Records/Test/HeavyHelm.dbr";

using WornSlot = EquipmentCtrlLocation;

class EquipmentCtrlTest : public ::testing::Test {
protected:
    TestMachine machine{TestMachine::SampleDataDir()};
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    Character* character =
        objects.CreateObjectFromFile<Character>("Records/Characters/SampleHero.dbr");
    ControllerCharacter* controller = objects.CreateObject<ControllerCharacter>();
    EquipmentCtrl& equipment = controller->GetEquipmentCtrl();

    void SetUp() override {
        RecordDatabase& records = Singleton<RecordDatabase>::Get();
        ASSERT_TRUE(records.AddRecordText(kWornSpear, R"({"Class": "WeaponHunting_Spear"})"));
        ASSERT_TRUE(records.AddRecordText(kWornAmulet, R"({"Class": "ArmorJewelry_Amulet"})"));
        ASSERT_TRUE(records.AddRecordText(kWornBracelet, R"({"Class": "ArmorJewelry_Bracelet"})"));
        ASSERT_TRUE(records.AddRecordText(
            kWornHeavyHelm, R"({"Class": "ArmorProtective_Head", "strengthRequirement": 30})"));
        // Strong, nimble, clever and seasoned enough for every sample item.
        for (CharAttributeType type : {CharAttributeType::Strength, CharAttributeType::Dexterity,
                                       CharAttributeType::Intelligence})
            character->IncrementBaseAttribute(type, 100.0f);
        character->GetCharacterBio().Update(*character, 0);
        SetCharLevel(*character, 60);
        character->SetControllerId(controller->GetObjectId());
        controller->AttachParent(character->GetObjectId());
        equipment.SetParent(character);
    }

    // A new item the character carries.
    std::uint32_t Carry(const char* record) {
        Item* item = Item::CreateItem(Record(record));
        EXPECT_NE(item, nullptr) << record;
        if (!item)
            return 0;
        character->GetInventory().AddItemToInventory(item->GetObjectId(), false);
        return item->GetObjectId();
    }
    const EquipManager& Worn() const { return character->GetEquipManager(); }
    std::uint32_t WornAt(std::uint32_t location) const { return Worn().GetItemId(location); }
};

TEST_F(EquipmentCtrlTest, HandsTakeWhatTheirPartnersAllow) {
    struct Case {
        const char* right;  // held before (empty: none)
        const char* left;
        bool dual;
        const char* item;
        bool intoLeft;
        bool fits;
    };
    const Case cases[] = {
        {"", "", false, kWornSword, true, false},          // off-hand melee needs dual wielding
        {kWornSword, "", true, kWornSword, true, true},    // beside a right-hand sword
        {kWornSpear, "", true, kWornSword, true, false},   // but not beside a spear
        {kWornSpear, "", false, kWornShield, true, true},  // a shield beside a spear
        {kWornSword, "", false, kWornBow, true, true},     // a bow takes the sword out
        {kWornSword, kWornShield, false, kWornBow, true,
         false},                                     // two different items held: no bow
        {"", "", false, kWornShield, false, false},  // a shield is no right-hand item
        {"", "", false, kWornAmulet, false, false},  // nor is an amulet
    };
    for (const Case& c : cases) {
        EquipmentCtrl fresh;
        fresh.SetController(controller);
        fresh.SetParent(character);
        fresh.SetAllowDualWeapons(c.dual);
        for (auto [record, left] : {std::pair{c.right, false}, std::pair{c.left, true}}) {
            if (!*record)
                continue;
            std::uint32_t id = Carry(record);
            left ? fresh.PlaceItem_HandLeft(id, false, true)
                 : fresh.PlaceItem_HandRight(id, false, true);
        }
        const std::uint32_t item = Carry(c.item);
        const bool fits = c.intoLeft ? fresh.CanItemBePlaced_HandLeft(item, false, false)
                                     : fresh.CanItemBePlaced_HandRight(item, false, false);
        EXPECT_EQ(fits, c.fits) << c.right << " | " << c.left << " + " << c.item;
    }
}

TEST_F(EquipmentCtrlTest, ABowIntoTheLeftHandHandsTheSwordBack) {
    std::uint32_t sword = Carry(kWornSword);
    const std::uint32_t swordId = sword;
    equipment.PlaceItem_HandRight(sword, false, true);
    EXPECT_EQ(sword, 0u);
    EXPECT_EQ(WornAt(EquipLocation_RightHand), swordId);

    std::uint32_t bow = Carry(kWornBow);
    const std::uint32_t bowId = bow;
    equipment.PlaceItem_HandLeft(bow, false, true);
    EXPECT_EQ(bow, swordId);
    EXPECT_EQ(WornAt(EquipLocation_RightHand), 0u);
    EXPECT_EQ(WornAt(EquipLocation_LeftHand), bowId);
    // The bow holds both hands: the empty right hand reports it.
    EXPECT_EQ(equipment.GetItem_HandRight(), bowId);
    EXPECT_EQ(character->GetHandState(), HandState_Bow);
    EXPECT_TRUE(character->GetInventory().IsItemInInventory(swordId));
}

TEST_F(EquipmentCtrlTest, ALoneLeftSwordIsHeldInTheRightHandUntilAWeaponComes) {
    equipment.SetAllowDualWeapons(true);
    std::uint32_t left = Carry(kWornSword);
    const std::uint32_t leftId = left;
    equipment.PlaceItem_HandLeft(left, false, true);
    const Item* leftItem = objects.GetObject<Item>(leftId);
    EXPECT_EQ(Worn().GetWeaponIdRight(), leftId);
    EXPECT_EQ(Worn().GetWeaponIdLeft(), 0u);
    EXPECT_STREQ(leftItem->GetAttachPoint().c_str(), "R Hand");
    EXPECT_EQ(character->GetHandState(), HandState_OneHanded);

    std::uint32_t right = Carry(kWornSword);
    equipment.PlaceItem_HandRight(right, false, true);
    EXPECT_EQ(Worn().GetWeaponIdLeft(), leftId);
    EXPECT_STREQ(leftItem->GetAttachPoint().c_str(), "L Hand");
    EXPECT_EQ(character->GetHandState(), HandState_DualWeapons);
}

TEST_F(EquipmentCtrlTest, SlotsTakeOnlyTheirKinds) {
    struct Case {
        WornSlot slot;
        const char* item;
        bool fits;
    };
    const Case cases[] = {
        {WornSlot::Head, kWornAmulet, false},     {WornSlot::Neck, kWornAmulet, true},
        {WornSlot::Forearm, kWornBracelet, true}, {WornSlot::Head, kWornHelm, true},
        {WornSlot::Finger1, kWornHelm, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(equipment.CanItemBePlaced(c.slot, Carry(c.item)), c.fits)
            << static_cast<int>(c.slot) << " " << c.item;
}

TEST_F(EquipmentCtrlTest, AutoInsertFillsTheFirstFreeFittingPlace) {
    const std::uint32_t helm = Carry(kWornHelm);
    const std::uint32_t sword = Carry(kWornSword);
    const std::uint32_t shield = Carry(kWornShield);
    const std::uint32_t secondHelm = Carry(kWornHelm);
    EXPECT_TRUE(equipment.AutoInsertItem(helm));
    EXPECT_TRUE(equipment.AutoInsertItem(sword));
    EXPECT_TRUE(equipment.AutoInsertItem(shield));
    EXPECT_FALSE(equipment.AutoInsertItem(secondHelm));  // the head is taken
    EXPECT_EQ(WornAt(EquipLocation_Head), helm);
    EXPECT_EQ(WornAt(EquipLocation_RightHand), sword);
    EXPECT_EQ(Worn().GetLeftHandShield(), shield);
    EXPECT_FALSE(character->GetInventory().IsItemInInventory(sword));
    EXPECT_TRUE(character->GetInventory().IsItemInInventory(secondHelm));

    EXPECT_TRUE(equipment.RemoveItem(sword));
    EXPECT_EQ(WornAt(EquipLocation_RightHand), 0u);
    EXPECT_TRUE(character->GetInventory().IsItemInInventory(sword));
    EXPECT_FALSE(equipment.RemoveItem(sword));
}

TEST_F(EquipmentCtrlTest, FailedRequirementsDetachButKeepTheSlot) {
    std::uint32_t helm = Carry(kWornHeavyHelm);
    const std::uint32_t helmId = helm;
    ASSERT_TRUE(equipment.AutoInsertItem(helm));
    EXPECT_TRUE(equipment.IsItemAttached(helmId));

    character->IncrementBaseAttribute(CharAttributeType::Strength, -130.0f);
    character->GetCharacterBio().Update(*character, 0);
    equipment.AttributesHaveChanged();
    EXPECT_FALSE(equipment.IsItemAttached(helmId));
    EXPECT_EQ(WornAt(EquipLocation_Head), 0u);
    EXPECT_EQ(equipment.GetItem_Head(), helmId);
}

TEST_F(EquipmentCtrlTest, SwitchingSetsSwapsTheAttachedWeapons) {
    std::uint32_t sword = Carry(kWornSword);
    const std::uint32_t swordId = sword;
    std::uint32_t bow = Carry(kWornBow);
    const std::uint32_t bowId = bow;
    equipment.PlaceItem_HandRight(sword, false, true);
    equipment.PlaceItem_HandLeft(bow, true, true);  // into the inactive (alternate) set
    EXPECT_EQ(WornAt(EquipLocation_RightHand), swordId);
    EXPECT_EQ(WornAt(EquipLocation_LeftHand), 0u);

    equipment.SetAlternateEquipment(true);
    EXPECT_EQ(WornAt(EquipLocation_RightHand), 0u);
    EXPECT_EQ(WornAt(EquipLocation_LeftHand), bowId);
    equipment.SetAlternateEquipment(false);
    EXPECT_EQ(WornAt(EquipLocation_RightHand), swordId);
    EXPECT_EQ(WornAt(EquipLocation_LeftHand), 0u);
}

TEST_F(EquipmentCtrlTest, SavedSlotsComeBackAsTheyWereAttached) {
    std::uint32_t helm = Carry(kWornHeavyHelm);
    std::uint32_t sword = Carry(kWornSword);
    equipment.AutoInsertItem(helm);
    equipment.AutoInsertItem(sword);
    // Too weak for the helm (30), strong enough for the sword (28).
    character->IncrementBaseAttribute(CharAttributeType::Strength, -121.0f);
    character->GetCharacterBio().Update(*character, 0);
    equipment.AttributesHaveChanged();  // the helm stays in its slot, unattached
    IOStream out;
    equipment.StreamProperties(out);
    const std::vector<std::uint8_t> bytes = out.GetBytes();

    Character* reader =
        objects.CreateObjectFromFile<Character>("Records/Characters/SampleHero.dbr");
    SetCharLevel(*reader, 60);
    EquipmentCtrl restored;
    restored.SetParent(reader);
    IOStream in(bytes);
    restored.StreamProperties(in);
    ASSERT_FALSE(in.Failed());
    const Item* helmCopy = objects.GetObject<Item>(restored.GetItem_Head());
    ASSERT_NE(helmCopy, nullptr);
    EXPECT_EQ(helmCopy->GetObjectName(), kWornHeavyHelm);
    EXPECT_FALSE(restored.IsItemAttached(restored.GetItem_Head()));
    EXPECT_EQ(reader->GetEquipManager().GetItemId(EquipLocation_Head), 0u);
    EXPECT_TRUE(reader->GetInventory().IsItemInInventory(restored.GetItem_Head()));
    EXPECT_TRUE(restored.IsItemAttached(restored.GetItem_HandRight()));
    EXPECT_EQ(reader->GetEquipManager().GetWeaponIdRight(), restored.GetItem_HandRight());

    // Written again, the restored equipment gives the same bytes.
    IOStream again;
    restored.StreamProperties(again);
    EXPECT_EQ(again.GetBytes(), bytes);
}

TEST_F(EquipmentCtrlTest, ASecondAttachOfOneItemIsRefusedAndLogged) {
    const std::uint32_t sword = Carry(kWornSword);
    character->AttachItemAction(sword, EquipLocation_RightHand);
    character->GetEquipManager().AttachItemAction(sword, EquipLocation_LeftHand);
    EXPECT_EQ(Worn().GetAttachedItems().size(), 1u);
    EXPECT_EQ(machine.CountLog("EquipManager: Attempt to attach item twice"), 1);
}

// The hands' weapon answers: only a live weapon counts, and a lone left melee weapon answers for
// the right hand.
TEST_F(EquipmentCtrlTest, EachHandAnswersWithTheLiveWeaponItHolds) {
    struct Case {
        const char* right;  // attached to the right hand (empty: none)
        const char* left;
        bool destroyRight;  // the right hand's item goes while still attached
        bool rightIsRight, rightIsLeft, leftIsLeft;  // which item each hand answers with
    };
    const Case cases[] = {
        {"", "", false, false, false, false},
        {kWornSword, "", false, true, false, false},
        {kWornSword, kWornShield, false, true, false, true},   // a shield is of the weapon kinds
        {kWornSword, kWornAmulet, false, true, false, false},  // an amulet is not
        {kWornSword, kWornSword, false, true, false, true},
        {"", kWornSword, false, false, true, false},  // moved into the right hand
        {"", kWornBow, false, false, false, true},
        {kWornSword, kWornBow, true, false, false, true},
    };
    for (const Case& c : cases) {
        Character* owner =
            objects.CreateObjectFromFile<Character>("Records/Characters/SampleHero.dbr");
        EquipManager& worn = owner->GetEquipManager();
        const std::uint32_t right = *c.right ? Carry(c.right) : 0;
        const std::uint32_t left = *c.left ? Carry(c.left) : 0;
        if (right)
            worn.AttachItemAction(right, EquipLocation_RightHand);
        if (left)
            worn.AttachItemAction(left, EquipLocation_LeftHand);
        if (c.destroyRight)
            objects.DestroyObject(objects.GetObject<Item>(right));
        const std::uint32_t wantRight = c.rightIsRight ? right : c.rightIsLeft ? left : 0;
        EXPECT_EQ(worn.GetRightHandWeapon(), wantRight) << c.right << " | " << c.left;
        EXPECT_EQ(worn.GetLeftHandWeapon(), c.leftIsLeft ? left : 0) << c.right << " | " << c.left;
    }
}

}  // namespace
}  // namespace GAME::test
