// The equipment a character is generated with: drawn from its record's loot fields with a
// generator seeded by the loot seed, into object ids reserved beforehand, so that every machine
// that has the seed and the ids makes the same items under the same ids.
#include <string>

#include "Engine/object/ObjectManager.h"
#include "Engine/records/LoadTable.h"
#include "Engine/sys/Machine.h"
#include "Engine/sys/RandomUniform.h"
#include "Game/characters/Character.h"
#include "Game/core/GameEngine.h"
#include "Game/items/Item.h"
#include "Game/items/ItemEquipment.h"
#include "Game/items/equipment/EquipLocations.h"
#include "Game/items/kinds/Weapon.h"
#include "Game/items/loot/LootLoader.h"

namespace GAME {

namespace {

struct LootSlot {
    const char* chanceKey;
    LootLoader::Location location;
    std::uint32_t equipLocation;
    std::size_t idIndex;  // in the loot record: Head, Neck, RightHand, LeftHand, Torso, ...
};

// In the order of the draws.
constexpr LootSlot kLootSlots[] = {
    {"chanceToEquipHead", LootLoader::Head, EquipLocation_Head, 0},
    {"chanceToEquipNeck", LootLoader::Neck, EquipLocation_Neck, 1},
    {"chanceToEquipTorso", LootLoader::Torso, EquipLocation_UpperBody, 4},
    {"chanceToEquipLowerBody", LootLoader::LowerBody, EquipLocation_LowerBody, 5},
    {"chanceToEquipForearm", LootLoader::Forearm, EquipLocation_Forearm, 6},
    {"chanceToEquipLeftHand", LootLoader::LeftHand, EquipLocation_LeftHand, 3},
    {"chanceToEquipRightHand", LootLoader::RightHand, EquipLocation_RightHand, 2},
    {"chanceToEquipFinger1", LootLoader::Finger1, EquipLocation_Finger, 7},
    {"chanceToEquipFinger2", LootLoader::Finger2, EquipLocation_Finger, 8},
};
constexpr std::size_t kLeftHandSlot = 5;
constexpr std::size_t kRightHandSlot = 6;
constexpr float kChanceDrawMin = 0.1f;
constexpr float kChanceDrawMax = 100.0f;
constexpr int kItemSeedMax = 10000;

// A bow or a staff takes both hands.
bool HoldsTwoHanded(const Item* leftHand) {
    const auto* weapon = dynamic_cast<const Weapon*>(leftHand);
    return weapon && (weapon->GetWeaponType() == Weapon_Type::Bow ||
                      weapon->GetWeaponType() == Weapon_Type::Staff);
}

}  // namespace

// A character loads its loot again when it is restored or told the server's loot: what it made
// before must not be held twice.
void Character::DiscardLoot() {
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    for (std::uint32_t& id : mLoot.attachedItemIds) {
        if (Item* item = objects.GetObject<Item>(id); item && HasItem(id)) {
            TakeItemFromCharacter(id);
            objects.DestroyObjectEx(item, "Game/Character", __LINE__);
        }
        id = 0;
    }
}

void Character::LoadLootFromSeed(std::uint16_t seed, std::uint16_t level) {
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    DiscardLoot();
    mLoot.lootSeed = seed;
    mLoot.lootLevel = level;
    for (std::uint32_t& id : mLoot.attachedItemIds)
        id = objects.CreateObjectID();
    LoadLoot();
    AllocateAnimSets();
    LoadAnimations();
}

void Character::LoadLootFromStruct(const LootStruct& loot) {
    DiscardLoot();
    mLoot = loot;
    LoadLoot();
    AllocateAnimSets();
    LoadAnimations();
}

void Character::LoadLoot() {
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    const LoadTable table = objects.GetLoadTable(GetObjectName());
    RandomUniform random;
    random.Seed(mLoot.lootSeed);
    Item* leftHand = nullptr;
    for (std::size_t slot = 0; slot < std::size(kLootSlots); ++slot) {
        if (slot == kRightHandSlot && HoldsTwoHanded(leftHand))
            continue;
        const LootSlot& entry = kLootSlots[slot];
        std::uint32_t& id = mLoot.attachedItemIds[entry.idIndex];
        Item* item = CreateItemFromLootTable(table, entry.chanceKey, entry.location, id, random);
        if (slot == kLeftHandSlot)
            leftHand = item;
        AttachItem(item, entry.equipLocation);
    }
}

Item* Character::CreateItemFromLootTable(const LoadTable& table, const char* chanceKey,
                                         std::uint32_t location, std::uint32_t& id,
                                         RandomUniform& random) {
    LootLoader loader;
    loader.SetLevel(GetCharLevel(), mLoot.lootLevel);
    loader.SetRandomizerWeightModifiers(mLootWeightModifiers);
    if (mNoBrokenItems)
        loader.SetNoBrokenItems();
    const float chance = table.GetFloat(chanceKey, 0.0f);
    if (random.FGenerate(kChanceDrawMin, kChanceDrawMax) > chance)
        return nullptr;
    const int difficulty = gGameEngine ? gGameEngine->GetGameDifficulty() : 0;
    loader.Load(table, static_cast<LootLoader::Location>(location), LootLoader::kItemsPerLocation,
                static_cast<unsigned>(difficulty));
    ItemReplicaInfo record;
    loader.GetLootName(record.baseName, record.prefixName, record.suffixName, random);
    if (record.baseName.empty())
        return nullptr;
    record.objectId = id;
    record.seed = static_cast<std::uint32_t>(random.IGenerate(0, kItemSeedMax));
    Item* item = Item::CreateItem(record);
    if (item)
        id = item->GetObjectId();
    return item;
}

}  // namespace GAME
