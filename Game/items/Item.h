#pragma once
// The base of every carried thing: built from its record, rebuilt from its instance record on
// every machine, lying in the world (sparkling, sounding when it lands), carried or attached to
// a character. Designer formulas ask it for its values.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Engine/media/sound/SoundPak.h"
#include "Engine/object/MinimapGameNugget.h"
#include "Engine/object/Object.h"
#include "Game/items/GameTextLine.h"
#include "Game/items/ItemClassification.h"
#include "Game/items/ItemReplicaInfo.h"
#include "Game/items/OwnedObject.h"
#include "Game/rules/formulas/EquationInterface.h"

namespace GAME {

class Character;
class CursorHandler;
class CharAttributeAccumulator;
class SkillAttributeAccumulator;
class CombatAttributeAccumulator;
class RacialBonus;

// A racial bonus an item grants, with the level its values are read at.
struct RacialBonusContribution {
    const RacialBonus* bonus = nullptr;
    unsigned level = 1;
};

class Item : public Actor, public EquationInterface<float> {
    RTTI_DECLARE(Item)
public:
    static constexpr int kWaterSurface = 7;
    static constexpr int kQuestMarkerKind = 8;

    Item();
    ~Item() override;

    // Engine operations.
    void Load(const LoadTable& record) override;
    void PreLoad(bool now) override;
    bool OccludesPathing() const override { return false; }
    void CollisionCallback(const CollisionData& collision) override;
    void InitialUpdate() override;
    bool ShouldServerSpawn() const override { return true; }
    virtual void WriteReplicationData(NetPacketOutBuffer& out);
    virtual bool ReadReplicationData(NetPacketInBuffer& in);
    virtual void ApplyReplicationData();
    virtual bool ShouldSaveState() const { return true; }
    void SaveState(BinaryWriter& writer) override;
    void RestoreState(BinaryReader& reader) override;
    virtual bool IncludeInMinimap() const;
    virtual bool GetShouldRenderAcrossPortals() const { return true; }
    void UpdateSelf(int elapsedMs) override;
    virtual void GetGameDescription(std::wstring& text) const;
    void AppendDetailMapData(std::vector<MinimapGameNugget>& out) const override;

    // The item's own operations, in the order kinds override them.
    virtual std::unique_ptr<CursorHandler> CreatePrimaryCursorHandler(const Character* character);
    virtual std::unique_ptr<CursorHandler> CreateSecondaryCursorHandler(const Character* character);
    virtual void InitializeItem();
    virtual void PlayDropSound();
    virtual void PlayDropSoundWorld(int surface);
    virtual void SetDropSoundToPlay();
    // Textures are named: a headless engine loads nothing. Empty: none.
    virtual std::string GetBitmap();
    virtual void GetUIBitmapText(std::wstring& text) const;
    virtual std::string GetUIBitmapOverlay();
    virtual void GetUIDisplayText(const Character* character, std::vector<GameTextLine>& lines);
    virtual void GetUIGameDescription(std::vector<GameTextLine>& lines) const;
    virtual void SuppressTextDirections(bool suppress) { suppressTextDirections = suppress; }
    virtual void GetUIRequirementText(const Character* character, std::vector<GameTextLine>& lines);
    virtual void GetCharAttributes(CharAttributeAccumulator& accumulator);
    virtual void GetSkillAttributes(SkillAttributeAccumulator& accumulator);
    virtual void GetOffensiveDamageAttributes(CombatAttributeAccumulator& accumulator);
    virtual void GetOffensiveModifierAttributes(CombatAttributeAccumulator& accumulator);
    virtual void GetRetaliationAttributes(CombatAttributeAccumulator& accumulator);
    virtual void GetDefenseAttributes(CombatAttributeAccumulator& accumulator);
    virtual void ContributeRacialBonusDamage(std::vector<RacialBonusContribution>& bonuses);
    virtual void ContributeRacialBonusDefense(std::vector<RacialBonusContribution>& bonuses);
    virtual std::uint32_t GetLevelRequirement() const { return levelRequirement; }
    virtual std::uint32_t GetStrengthRequirement() const { return strengthRequirement; }
    virtual std::uint32_t GetDexterityRequirement() const { return dexterityRequirement; }
    virtual std::uint32_t GetIntelligenceRequirement() const { return intelligenceRequirement; }
    virtual bool AreRequirementsMet(const Character* character);
    virtual Item_Type GetItemType() const { return Item_Type::None; }
    virtual EquipmentHandTypes GetRightHandType() const { return EquipmentHandTypes::None; }
    virtual EquipmentHandTypes GetLeftHandType() const { return EquipmentHandTypes::None; }
    virtual Market_TypeEnum GetItemMarketType() const { return Market_TypeEnum::Miscellaneous; }
    virtual void AttachItem(Character* character, const char* attachPoint);
    virtual void DetachItem(Character* character);
    virtual void UpdateReplicaInfo() {}
    virtual void GetItemReplicaInfo(ItemReplicaInfo& out) const { out = replicaInfo; }
    virtual int GetItemCost(bool withRelic = true);
    virtual void DumpCostAttributes();
    virtual void GetFullItemDescription(std::wstring& text) const;
    virtual ItemClassification GetItemClassification() const { return classification; }
    virtual void RandomizeItem();
    virtual float GetTotalAttrCostCount() const { return 0.0f; }

    bool GetDesignerVariable(const char* name, float& value) override;

    std::uint32_t GetItemLevel() const { return itemLevel; }
    bool CannotPickUpMultiple() const { return cannotPickUpMultiple; }
    bool IsPickupOk() const { return pickupOk; }
    void SetPickupOk(bool ok) { pickupOk = ok; }
    void SetGender(int value) { gender = value; }
    int GetGender() const { return gender; }
    // Copies the record, keeping this item's own id and record name in it.
    void SetItemReplicaInfo(const ItemReplicaInfo& record);
    const ItemReplicaInfo& GetReplicaInfo() const { return replicaInfo; }
    Character* GetCharacter() const;
    std::uint32_t GetAttachedCharacterId() const { return attachedCharacterId; }
    int GetBaseItemCost() const { return itemCost.empty() ? 0 : itemCost.front(); }
    bool IsItemAvailable(const Character* character, float strength, float dexterity,
                         float intelligence);
    bool IsInitialized() const { return initialized; }
    const std::string& GetItemText() const { return itemText; }
    const std::string& GetPrefixDisplayName() const { return prefixDisplayName; }
    const std::string& GetSuffixDisplayName() const { return suffixDisplayName; }

    // Reduced requirement = requirement - requirement x reduction% + 0.5, truncated.
    static bool MeetsRequirements(float value, std::uint32_t requirement, float reductionPercent);
    static void GenerateRequirementText(float value, std::uint32_t requirement,
                                        float reductionPercent, const char* labelTag,
                                        std::vector<GameTextLine>& lines);
    void PickSparkleTime();
    void Sparkle();
    int GetSparkleCountdown() const { return sparkleCountdown; }

    // Builds the item the record describes under the record's id (0: a fresh one); null when
    // the base record makes no item or the id names another object.
    static Item* CreateItem(const ItemReplicaInfo& record);

    // An item lies in the world as every entity does (World::AddEntity); a headless engine
    // keeps its physics here.
    void SetPhysicsType(int type) { physicsType = type; }
    int GetPhysicsType() const { return physicsType; }
    void SetVelocities(const Vec3& linear, const Vec3& angular) {
        linearVelocity = linear;
        angularVelocity = angular;
    }
    const Vec3& GetLinearVelocity() const { return linearVelocity; }
    const Vec3& GetAngularVelocity() const { return angularVelocity; }
    bool IsWorldAnimationPlaying() const { return worldAnimationPlaying; }
    SoundPak* GetDropSound() const { return dropSound.Get(); }
    SoundPak* GetDropSound3D() const { return dropSound3D.Get(); }
    SoundPak* GetDropSoundWater() const { return dropSoundWater.Get(); }
    // The offset of a sparkle on one axis of the mesh box, from the C runtime's generator.
    static float SparkleOffset(float halfExtent);

protected:
    // Raises the classification to the record's "itemClassification" when that is higher.
    void SetItemClassification(const LoadTable& record);
    void SetClassification(ItemClassification value) { classification = value; }
    void PlayWorldAnimation();

    ItemReplicaInfo replicaInfo;
    ItemReplicaInfo receivedReplicaInfo;
    std::vector<int> itemCost;
    float itemCostScalePercent = 0.0f;
    int gender = 0;
    ItemClassification classification = ItemClassification::Common;
    std::uint32_t itemLevel = 0;
    std::uint32_t strengthRequirement = 0;
    std::uint32_t dexterityRequirement = 0;
    std::uint32_t intelligenceRequirement = 0;
    std::uint32_t levelRequirement = 0;
    std::string prefixDisplayName;
    std::string suffixDisplayName;
    std::string itemText;
    std::string descriptionTag;
    std::string worldAnimationName;
    GraphicsAnim* worldAnimation = nullptr;  // a use of the graphics engine's clip
    bool worldAnimationPlaying = false;
    bool cannotPickUpMultiple = false;
    bool suppressTextDirections = false;
    bool pickupOk = true;
    std::uint32_t attachedCharacterId = 0;
    OwnedObject<SoundPak> dropSound{"Game/Item"};
    OwnedObject<SoundPak> dropSound3D{"Game/Item"};
    OwnedObject<SoundPak> dropSoundWater{"Game/Item"};
    bool dropSoundToPlay = true;
    bool initialized = false;
    int sparkleCountdown = 0;
    float sparkleMinTime = 3.0f;
    float sparkleMaxTime = 5.0f;

private:
    int physicsType = 0;
    Vec3 linearVelocity{};
    Vec3 angularVelocity{};
};

}  // namespace GAME
