#include "Game/quests/QuestObjects.h"

#include "Engine/Engine.h"
#include "Engine/media/EditorFilter.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/records/LoadTable.h"
#include "Game/core/GameEvents.h"
#include "Game/items/GameTextLine.h"
#include "Game/items/ItemText.h"

namespace GAME {

RTTI_IMPLEMENT(QuestItem, Item)
RTTI_IMPLEMENT(QuestLocation, Actor)

namespace {

// The text style of the line that marks a quest item.
constexpr int kQuestItemStyle = 25;
// Where the level editor files quest locations.
constexpr int kQuestLocationFilter = 0;

void SendGenericEntityEvent(const Object& object, const char* happening) {
    GameEvent_GenericEntity event;
    event.objectId = object.GetObjectId();
    event.objectName = object.GetObjectName();
    SendGameEvent(event, happening);
}

}  // namespace

QuestItem::QuestItem() = default;
QuestItem::~QuestItem() = default;

void QuestItem::Load(const LoadTable& record) {
    Item::Load(record);
    mBitmap = record.GetString("bitmap");
    const std::string trail = record.GetString("trailEffect");
    if (trail.empty())
        return;
    auto* effect = Singleton<ObjectManager>::Get().CreateObjectFromFile<EffectEntity>(trail);
    mTrail.Reset(effect);
    if (!effect)
        return;
    effect->StopEmitting();
    Attach(effect, Coords(), nullptr);
}

void QuestItem::UpdateSelf(int elapsedMs) {
    Item::UpdateSelf(elapsedMs);
    // The trail shows while the item lies in the world; carried, it has none.
    const bool simulated = IsInWorld();
    if (simulated == mEmitting)
        return;
    mEmitting = simulated;
    if (EffectEntity* trail = mTrail.Get()) {
        if (simulated)
            trail->StartEmitting();
        else
            trail->StopEmitting();
    }
}

void QuestItem::GetUIDisplayText(const Character* character, std::vector<GameTextLine>& lines) {
    Item::GetUIDisplayText(character, lines);
    lines.emplace_back(static_cast<GameTextClass>(0), std::wstring());
    lines.emplace_back(static_cast<GameTextClass>(kQuestItemStyle), LocalizeSimple("tagQuestItem"));
}

QuestLocation::QuestLocation() = default;

QuestLocation::~QuestLocation() {
    if (gEngine && gEngine->IsEditor())
        EditorFilter::Get().RemoveFilterObject(GetObjectId());
    SendGenericEntityEvent(*this, "GenericEntityDestroy");
}

void QuestLocation::Load(const LoadTable& record) {
    Actor::Load(record);
    SetMesh("System/Meshes/Sphere.msh");
    SendGenericEntityEvent(*this, "GenericEntitySpawn");
}

void QuestLocation::InitialUpdate() {
    Actor::InitialUpdate();
    const bool editor = gEngine && gEngine->IsEditor();
    SetVisibility(editor);
    if (editor)
        EditorFilter::Get().AddFilterObject(GetObjectId(), kQuestLocationFilter);
    SendGenericEntityEvent(*this, "GenericEntityInitialUpdate");
}

}  // namespace GAME
