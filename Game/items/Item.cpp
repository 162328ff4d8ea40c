#include "Game/items/Item.h"

#include "Engine/Engine.h"
#include "Engine/media/ResourceLoader.h"
#include "Engine/media/graphics/GraphicsEngine.h"
#include "Engine/media/physics/CollisionData.h"
#include "Engine/media/sound/SoundPak.h"
#include "Engine/records/LoadTable.h"
#include "Engine/streams/BinaryStream.h"
#include "Engine/sys/Machine.h"
#include "Engine/text/LocalizationManager.h"
#include "Game/characters/Character.h"
#include "Game/core/GameEngine.h"
#include "Game/core/ObjectLookup.h"
#include "Game/core/util/StringUtil.h"
#include "Game/items/ItemCharacterServices.h"
#include "Game/items/ItemText.h"
#include "Game/items/cursor/CursorHandlerItemMove.h"

namespace GAME {

RTTI_IMPLEMENT(Item, Actor)

namespace {
constexpr const char* kDefaultWaterSound = "records/sounds/soundpak/bodyfalls/FallMdGooPak.dbr";
constexpr std::uint32_t kItemSeedMask = 0xFFFF;
constexpr int kWorldAnimationBlendMs = 250;

// Sparkles are for the eye and need not match between machines, but they must not draw from
// the C runtime's generator either: the monster logic draws from that one in step on every
// machine, and an item is made on a server a moment before its clients make it. The same
// recurrence, in a stream of its own per machine.
struct SparkleRandom {
    std::uint32_t state = 1;
};

int SparkleRand() {
    std::uint32_t& state = Singleton<SparkleRandom>::Get().state;
    state = state * 214013u + 2531011u;
    return static_cast<int>((state >> 16) & 0x7FFF);
}
}  // namespace

Item::Item() {
    replicaInfo.objectId = GetObjectId();
    replicaInfo.baseName = GetObjectName();
    PickSparkleTime();
}

Item::~Item() {
    if (worldAnimation)
        GraphicsEngine::Get().UnloadAnimation(worldAnimation);
}

void Item::Load(const LoadTable& record) {
    Actor::Load(record);
    // The actor's display name tag.
    descriptionTag = record.GetString("description");
    itemText = record.GetString("itemText");
    dropSound.Reset(GetSoundPakFromRecord(record, "dropSound"));
    dropSound3D.Reset(GetSoundPakFromRecord(record, "dropSound3D"));
    record.GetIntArray("itemCost", itemCost);
    itemCostScalePercent = record.GetFloat("itemCostScalePercent", 0.0f);
    itemLevel = record.GetUInt("itemLevel", 0);
    cannotPickUpMultiple = record.GetBool("cannotPickUpMultiple", false);
    strengthRequirement = record.GetUInt("strengthRequirement", 0);
    dexterityRequirement = record.GetUInt("dexterityRequirement", 0);
    intelligenceRequirement = record.GetUInt("intelligenceRequirement", 0);
    levelRequirement = record.GetUInt("levelRequirement", 0);
    const std::string water = record.GetString("dropSoundWater", kDefaultWaterSound);
    dropSoundWater.Reset(water.empty() ? nullptr : LoadSoundPak(water.c_str()));
    SetItemClassification(record);
    // The record name is known once the object is made from it.
    replicaInfo.objectId = GetObjectId();
    replicaInfo.baseName = GetObjectName();
}

void Item::PreLoad(bool now) {
    Actor::PreLoad(now);
    for (SoundPak* pack : {dropSound.Get(), dropSound3D.Get(), dropSoundWater.Get()})
        if (pack)
            pack->PreLoad(now);
    if (worldAnimation)
        ResourceLoader::Get().EnqueueResource(
            worldAnimation, now ? ResourcePriority::Immediate : ResourcePriority::Background, true);
}

void Item::SetItemClassification(const LoadTable& record) {
    const ItemClassification resolved =
        GameEngine::ResolveItemClassificationEnum(record.GetString("itemClassification"));
    if (static_cast<int>(resolved) > static_cast<int>(classification))
        classification = resolved;
}

void Item::CollisionCallback(const CollisionData& collision) {
    if (!dropSoundToPlay)
        return;
    PlayDropSoundWorld(collision.kind);
    dropSoundToPlay = false;
}

void Item::InitialUpdate() {
    Actor::InitialUpdate();
    if (!worldAnimation && !worldAnimationName.empty())
        worldAnimation = GraphicsEngine::Get().LoadAnimation(worldAnimationName);
    if (IsInWorld()) {
        RandomizeItem();
        PlayWorldAnimation();
    }
}

void Item::PlayWorldAnimation() {
    if (!worldAnimation)
        return;
    PlayAnimation(0, worldAnimation, true, 1.0f, kWorldAnimationBlendMs);
    worldAnimationPlaying = true;
}

void Item::WriteReplicationData(NetPacketOutBuffer& out) {
    replicaInfo.WriteToPacket(out);
}

bool Item::ReadReplicationData(NetPacketInBuffer& in) {
    return receivedReplicaInfo.ReadFromPacket(in);
}

void Item::ApplyReplicationData() {
    SetItemReplicaInfo(receivedReplicaInfo);
    InitializeItem();
}

void Item::SaveState(BinaryWriter& writer) {
    Actor::SaveState(writer);
    replicaInfo.SaveState(writer);
}

void Item::RestoreState(BinaryReader& reader) {
    Actor::RestoreState(reader);
    ItemReplicaInfo record = replicaInfo;
    if (!record.RestoreState(reader)) {
        gEngine->Log(1, "Item: saved state of %s (%u) is unreadable; the item is kept as it was",
                     GetObjectName().c_str(), GetObjectId());
        return;
    }
    SetItemReplicaInfo(record);
    InitializeItem();
}

bool Item::IncludeInMinimap() const {
    return classification == ItemClassification::Quest;
}

void Item::UpdateSelf(int elapsedMs) {
    Actor::UpdateSelf(elapsedMs);
    // An inserted relic's class counts: equipment holding one sparkles as a relic.
    if (!IsInWorld() || GetItemClassification() == ItemClassification::Common)
        return;
    sparkleCountdown -= elapsedMs;
    if (sparkleCountdown < 0)
        Sparkle();
}

void Item::GetGameDescription(std::wstring& text) const {
    text = GetItemColorText(GetItemClassification()) + LocalizeSimple(descriptionTag);
    RemoveLineBreakCodes(text);
    TrimSpacesAndBraces(text);
}

void Item::AppendDetailMapData(std::vector<MinimapGameNugget>& out) const {
    if (classification != ItemClassification::Quest)
        return;
    MinimapGameNugget nugget;
    nugget.kind = kQuestMarkerKind;
    GetGameDescription(nugget.label);
    nugget.position = GetCoords().GetPosition();
    out.push_back(std::move(nugget));
}

std::unique_ptr<CursorHandler> Item::CreatePrimaryCursorHandler(const Character*) {
    return std::make_unique<CursorHandlerItemMove>();
}

std::unique_ptr<CursorHandler> Item::CreateSecondaryCursorHandler(const Character*) {
    return nullptr;
}

void Item::InitializeItem() {
    initialized = true;
}

void Item::PlayDropSound() {
    if (SoundPak* pack = dropSound.Get())
        pack->Play(WorldVec3());
}

void Item::PlayDropSoundWorld(int surface) {
    SoundPak* pack = surface == kWaterSurface ? dropSoundWater.Get() : dropSound3D.Get();
    if (pack && !pack->IsPlaying())
        pack->Play(GetPosition());
}

void Item::SetDropSoundToPlay() {
    dropSoundToPlay = true;
}

std::string Item::GetBitmap() {
    return {};
}

void Item::GetUIBitmapText(std::wstring&) const {}

std::string Item::GetUIBitmapOverlay() {
    return {};
}

void Item::GetUIDisplayText(const Character*, std::vector<GameTextLine>& lines) {
    GetUIGameDescription(lines);
    if (!itemText.empty())
        lines.emplace_back(GameTextClass_ItemDescription, LocalizeSimple(itemText));
}

void Item::GetUIGameDescription(std::vector<GameTextLine>& lines) const {
    std::wstring name = LocalizeSimple(descriptionTag);
    TrimSpacesAndBraces(name);
    lines.emplace_back(GetItemTextClass(classification), name);
}

void Item::GetCharAttributes(CharAttributeAccumulator&) {}
void Item::GetSkillAttributes(SkillAttributeAccumulator&) {}
void Item::GetOffensiveDamageAttributes(CombatAttributeAccumulator&) {}
void Item::GetOffensiveModifierAttributes(CombatAttributeAccumulator&) {}
void Item::GetRetaliationAttributes(CombatAttributeAccumulator&) {}
void Item::GetDefenseAttributes(CombatAttributeAccumulator&) {}
void Item::ContributeRacialBonusDamage(std::vector<RacialBonusContribution>&) {}
void Item::ContributeRacialBonusDefense(std::vector<RacialBonusContribution>&) {}

void Item::AttachItem(Character* character, const char* attachPoint) {
    if (!character)
        return;
    if (!attachPoint)
        SetVisibility(false);
    character->Attach(this, Coords::Identity(), attachPoint ? attachPoint : "");
    attachedCharacterId = character->GetObjectId();
}

void Item::DetachItem(Character* character) {
    if (character)
        character->Detach(this);
    SetVisibility(true);
    attachedCharacterId = 0;
    PlayWorldAnimation();
}

void Item::DumpCostAttributes() {
    gEngine->Log(0, "------------------------------------------------");
    gEngine->Log(0, "Name: %s", GetObjectName().c_str());
    gEngine->Log(0, "  Prefix:      %s", replicaInfo.prefixName.c_str());
    gEngine->Log(0, "  Suffix:      %s", replicaInfo.suffixName.c_str());
    gEngine->Log(0, "  Relic:       %s", replicaInfo.relicName.c_str());
    gEngine->Log(0, "  Relic Bonus: %s", replicaInfo.relicBonusName.c_str());
    gEngine->Log(0, "  Seed:        %d", static_cast<int>(replicaInfo.seed));
    gEngine->Log(0, "  Var1:        %d", static_cast<int>(replicaInfo.relicLevel));
}

void Item::GetFullItemDescription(std::wstring& text) const {
    std::wstring description;
    GetGameDescription(description);
    text += description;
    text += LocalizeSimple(itemText);
}

void Item::RandomizeItem() {
    if (initialized)
        return;
    ItemReplicaInfo record;
    record.objectId = GetObjectId();
    record.baseName = GetObjectName();
    GameEngine* engine = gGameEngine;
    record.seed = engine ? (engine->GetRandomSeed() & kItemSeedMask) : 1u;
    SetItemReplicaInfo(record);
    InitializeItem();
}

bool Item::GetDesignerVariable(const char* name, float& value) {
    if (std::string_view(name) == "itemLevel") {
        value = static_cast<float>(itemLevel);
        return true;
    }
    return false;
}

void Item::SetItemReplicaInfo(const ItemReplicaInfo& record) {
    replicaInfo = record;
    replicaInfo.objectId = GetObjectId();
    replicaInfo.baseName = GetObjectName();
}

Character* Item::GetCharacter() const {
    if (attachedCharacterId == 0)
        return nullptr;
    return Singleton<ObjectManager>::Get().GetObject<Character>(attachedCharacterId);
}

void Item::PickSparkleTime() {
    const int span = static_cast<int>((sparkleMaxTime - sparkleMinTime) * 1000.0f);
    sparkleCountdown = static_cast<int>(sparkleMinTime * 1000.0f) + SparkleRand() % span;
}

float Item::SparkleOffset(float halfExtent) {
    const int thousandths = static_cast<int>(halfExtent * 2.0f * 1000.0f);
    if (thousandths <= 0)
        return -halfExtent;
    return static_cast<float>(SparkleRand() % thousandths) * 0.001f - halfExtent;
}

void Item::Sparkle() {
    GameEngine* engine = gGameEngine;
    // Nothing is shown while the game loads or rendering is off: no sparkle either.
    const bool hidden = !engine || engine->IsGameLoading() || !engine->IsRenderingEnabled();
    const std::string effect = GetItemSparkleName(GetItemClassification());
    if (!hidden && !effect.empty()) {
        if (std::uint32_t id = ItemCharacterServices::Get().CreateEffect(effect)) {
            // A headless item has no mesh: its box is the point where it lies.
            const Vec3 offset(SparkleOffset(0.0f), SparkleOffset(0.0f), SparkleOffset(0.0f));
            if (auto* entity = Singleton<ObjectManager>::Get().GetObject<Entity>(id)) {
                WorldCoords at = GetCoords();
                at.coords.origin += offset;
                entity->SetCoords(at);
            }
        }
    }
    PickSparkleTime();
}

Item* Item::CreateItem(const ItemReplicaInfo& record) {
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    // A record must not replace a live object under its id.
    if (record.objectId != 0 && objects.GetObject(record.objectId)) {
        gEngine->Log(1, "Item: cannot create %s as object %u: the id is in use",
                     record.baseName.c_str(), record.objectId);
        return nullptr;
    }
    Item* item = objects.CreateObjectFromFile<Item>(record.baseName, record.objectId);
    if (!item)
        return nullptr;
    item->SetItemReplicaInfo(record);
    item->InitializeItem();
    return item;
}

}  // namespace GAME
