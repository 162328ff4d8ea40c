#include "Game/ai/bosses/bandari/BandariTeleportPoint.h"

#include "Engine/Engine.h"
#include "Engine/media/EditorFilter.h"

namespace GAME {

RTTI_IMPLEMENT(BandariTeleportPoint, Actor)

BandariTeleportPoint::BandariTeleportPoint() {
    if (!gEngine->IsEditor())
        SetVisibility(false);
}

BandariTeleportPoint::~BandariTeleportPoint() {
    if (gEngine->IsEditor())
        EditorFilter::Get().RemoveFilterObject(GetObjectId());
}

void BandariTeleportPoint::InitialUpdate() {
    Actor::InitialUpdate();
    if (gEngine->IsEditor())
        EditorFilter::Get().AddFilterObject(GetObjectId(), kEditorCategory);
}

}  // namespace GAME
