#include "Game/world/markers/AreaOfInterest.h"

#include "Engine/Engine.h"
#include "Engine/object/MinimapGameNugget.h"
#include "Engine/records/LoadTable.h"
#include "Engine/text/LocalizationManager.h"

namespace GAME {

RTTI_IMPLEMENT(AreaOfInterest, Actor)

AreaOfInterest::AreaOfInterest() {
    SetVisibility(gEngine->IsEditor());
}

void AreaOfInterest::Load(const LoadTable& table) {
    Actor::Load(table);
    mRadius = table.GetFloat("radius", 1.0f);
    mAreaDescription = table.GetString("AreaDescription");
    SetTintColor(Color{1.0f, 0.25f, 0.5f, 1.0f});
}

void AreaOfInterest::InitialUpdate() {
    Actor::InitialUpdate();
    // Placing it in the world may have shown it.
    SetVisibility(gEngine->IsEditor());
    if (gEngine->IsEditor())
        SetScale(mRadius);
}

void AreaOfInterest::AppendDetailMapData(std::vector<MinimapGameNugget>& list) const {
    MinimapGameNugget& entry = list.emplace_back();
    entry.kind = kMapKind;
    const LocalizationManager& texts = LocalizationManager::Instance();
    entry.label = texts.Format("SimpleStringFormat", texts.GetText(mAreaDescription));
    entry.position = GetPosition();
    entry.vector = GetCoords().coords.origin;
}

}  // namespace GAME
