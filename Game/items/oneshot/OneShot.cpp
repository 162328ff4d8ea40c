#include "Game/items/oneshot/OneShot.h"

#include "Engine/object/ObjectManager.h"
#include "Engine/records/LoadTable.h"
#include "Engine/text/LocalizationManager.h"
#include "Game/characters/Player.h"
#include "Game/core/GameEngine.h"
#include "Game/core/ObjectLookup.h"
#include "Game/core/net/GameEngineInboundInterface.h"
#include "Game/items/ItemText.h"
#include "Game/items/cursor/CursorHandlerOneShotUse.h"

namespace GAME {

RTTI_IMPLEMENT(OneShot, Item)
RTTI_IMPLEMENT(OneShot_Potion, OneShot)
RTTI_IMPLEMENT(OneShot_PotionHealth, OneShot_Potion)
RTTI_IMPLEMENT(OneShot_PotionMana, OneShot_Potion)
RTTI_IMPLEMENT(OneShot_Gold, OneShot)
RTTI_IMPLEMENT(OneShot_Sack, OneShot)
RTTI_IMPLEMENT(OneShot_InstantReward, OneShot)
RTTI_IMPLEMENT(OneShot_Dye, OneShot)

namespace {
constexpr auto kOneShotClassification = static_cast<ItemClassification>(7);
constexpr int kDirectionsStyle = 25;
}  // namespace

// OneShot

OneShot::OneShot() = default;
OneShot::~OneShot() = default;

void OneShot::Load(const LoadTable& record) {
    Item::Load(record);
    bitmapName = record.GetString("bitmap");
    buttonUpBitmapName = record.GetString("bitmapButtonUp");
    buttonDownBitmapName = record.GetString("bitmapButtonDown");
    bonus.Load(record);
    useDelayTime = static_cast<int>(record.GetFloat("useDelayTime", 0.0f) * 1000.0f);
    useSound.Reset(GetSoundPakFromRecord(record, "useSound"));
    const std::string trail = record.GetString("trailEffect");
    if (trail.empty())
        return;
    auto* effect = Singleton<ObjectManager>::Get().CreateObjectFromFile<EffectEntity>(trail);
    trailEffect.Reset(effect);
    if (!effect)
        return;
    effect->StopEmitting();
    Attach(effect, Coords(), nullptr);
}

void OneShot::Use(Character* character) {
    if (SoundPak* sound = useSound.Get(); sound && character)
        sound->Play(character->GetPosition());
}

void OneShot::UpdateSelf(int elapsedMs) {
    Item::UpdateSelf(elapsedMs);
    // The trail shows while the dropped pickup flies (its physics is live).
    const bool flying = IsInWorld() && GetPhysicsType() != 0;
    EffectEntity* trail = trailEffect.Get();
    if (flying && !trailEmitting) {
        trailEmitting = true;
        if (trail)
            trail->StartEmitting();
    } else if (!flying && trailEmitting) {
        trailEmitting = false;
        trailStopped = true;
        if (trail)
            trail->StopEmitting();
    } else {
        trailStopped = false;
    }
}

// OneShot_Potion

OneShot_Potion::OneShot_Potion() {
    SetClassification(ItemClassification::Potion);
}

std::uint32_t OneShot_Potion::GetStackLimit() {
    const int limit =
        gGameEngine ? gGameEngine->GetDatabase().GetInt("potionStackLimit", kStackLimitDefault)
                    : static_cast<int>(kStackLimitDefault);
    return limit > 0 ? static_cast<std::uint32_t>(limit) : 1u;
}

// One rule for both: a full stack holds the limit in potions, the first and limit - 1 more.
bool OneShot_Potion::IsStackFull() const {
    return stackCount >= GetStackLimit() - 1;
}

std::uint32_t OneShot_Potion::AddToStack(std::uint32_t count) {
    const std::uint32_t most = GetStackLimit() - 1;
    stackCount = count >= most || stackCount >= most - count ? most : stackCount + count;
    return stackCount;
}

std::uint32_t OneShot_Potion::RemoveFromStack(std::uint32_t count) {
    stackCount = stackCount > count ? stackCount - count : 0;
    return stackCount;
}

void OneShot_Potion::Use(Character* character) {
    OneShot::Use(character);
    RemoveFromStack(1);
    if (character)
        character->TakeBonus(bonus, true, lifeType);
}

std::unique_ptr<CursorHandler> OneShot_Potion::CreateSecondaryCursorHandler(const Character*) {
    return std::make_unique<CursorHandlerOneShotUse>();
}

void OneShot_Potion::GetUIBitmapText(std::wstring& text) const {
    if (stackCount > 0)
        text += LocalizationManager::Instance().Format("IntFormat", stackCount + 1);
}

void OneShot_Potion::GetUIDisplayText(const Character* character,
                                      std::vector<GameTextLine>& lines) {
    Item::GetUIDisplayText(character, lines);
    if (suppressTextDirections)
        return;
    lines.emplace_back(static_cast<GameTextClass>(0), std::wstring());
    lines.emplace_back(static_cast<GameTextClass>(kDirectionsStyle),
                       LocalizeSimple("tagPotionDirections"));
}

int OneShot_Potion::GetItemCost(bool wholeStack) {
    const int cost = Item::GetItemCost(true);
    return wholeStack ? cost * static_cast<int>(stackCount + 1) : cost;
}

// OneShot_Gold

OneShot_Gold::OneShot_Gold() {
    SetClassification(kOneShotClassification);
}

void OneShot_Gold::SetGoldValue(float value) {
    goldValue = value > 0.0f ? static_cast<std::uint32_t>(value) : 0u;
    bonus.gold = goldValue;
    replicaInfo.relicLevel = goldValue;
}

void OneShot_Gold::InitializeItem() {
    Item::InitializeItem();
    SetGoldValue(static_cast<float>(replicaInfo.relicLevel));
}

void OneShot_Gold::Use(Character* character) {
    OneShot::Use(character);
    if (!character || !gGameEngine)
        return;
    if (character->GetObjectId() != gGameEngine->GetPlayerId()) {
        // Another machine's player: its machine asks for the gold, and a server pays what this
        // copy of the pile holds.
        GameEngineInboundInterface* inbound = gGameEngine->GetInboundNetworkInterface();
        if (inbound && gGameEngine->IsServerOrSingle())
            inbound->NoteGoldOwed(GetObjectId(), character->GetObjectId(), goldValue);
        return;
    }
    // The pile names itself: a server pays from its own copy of the pile.
    Bonus sent = bonus;
    sent.sourceId = GetObjectId();
    gGameEngine->HandleBonusToServerOutbound(sent, character->GetPosition(),
                                             character->GetObjectId());
}

void OneShot_Gold::GetGameDescription(std::wstring& text) const {
    const std::wstring name = LocalizeSimple(descriptionTag);
    text = (gGameEngine ? gGameEngine->GetItemColorText(GetItemClassification()) : std::wstring()) +
           LocalizationManager::Instance().Format("tagGoldFormat", goldValue, name);
}

void OneShot_Gold::GetUIGameDescription(std::vector<GameTextLine>& lines) const {
    const std::wstring name = LocalizeSimple(descriptionTag);
    const GameTextClass style = gGameEngine ? gGameEngine->GetItemTextClass(GetItemClassification())
                                            : GameTextClass_ItemNameCommon;
    lines.emplace_back(style,
                       LocalizationManager::Instance().Format("tagGoldFormat", goldValue, name));
}

// OneShot_Sack, OneShot_InstantReward

OneShot_Sack::OneShot_Sack() {
    SetClassification(kOneShotClassification);
}

void OneShot_Sack::Use(Character* character) {
    OneShot::Use(character);
    if (character)
        character->TakeBonus(bonus, true, lifeType);
}

OneShot_InstantReward::OneShot_InstantReward() {
    SetClassification(kOneShotClassification);
}

void OneShot_InstantReward::Use(Character* character) {
    OneShot::Use(character);
    if (character)
        character->TakeBonus(bonus, true, lifeType);
}

// OneShot_Dye

OneShot_Dye::OneShot_Dye() {
    SetClassification(kOneShotClassification);
}

void OneShot_Dye::Load(const LoadTable& record) {
    OneShot::Load(record);
    maleTexture = record.GetString("maleTexture");
    femaleTexture = record.GetString("femaleTexture");
}

void OneShot_Dye::Use(Character* character) {
    OneShot::Use(character);
    auto* player =
        character && character->IsA<Player>() ? static_cast<Player*>(character) : nullptr;
    if (!player)
        return;
    const int gender = player->GetGender();
    const std::string* texture = gender == 1   ? &maleTexture
                                 : gender == 2 ? &femaleTexture
                                               : nullptr;
    if (texture && !texture->empty())
        player->SetPlayerTexture(*texture);
}

std::unique_ptr<CursorHandler> OneShot_Dye::CreateSecondaryCursorHandler(const Character*) {
    return std::make_unique<CursorHandlerOneShotUse>();
}

void OneShot_Dye::GetUIDisplayText(const Character* character, std::vector<GameTextLine>& lines) {
    Item::GetUIDisplayText(character, lines);
    if (suppressTextDirections)
        return;
    lines.emplace_back(static_cast<GameTextClass>(0), std::wstring());
    lines.emplace_back(static_cast<GameTextClass>(kDirectionsStyle),
                       LocalizeSimple("tagDyeDirections"));
}

}  // namespace GAME
