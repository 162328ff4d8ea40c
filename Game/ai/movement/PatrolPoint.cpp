#include "Game/ai/movement/PatrolPoint.h"

#include "Engine/Engine.h"
#include "Engine/media/EditorFilter.h"

namespace GAME {

RTTI_IMPLEMENT(PatrolPoint, Actor)

PatrolPoint::PatrolPoint() {
    if (!gEngine->IsEditor())
        SetVisibility(false);
}

PatrolPoint::~PatrolPoint() {
    // A destroyed point must not stay listed in the editor.
    if (gEngine->IsEditor())
        EditorFilter::Get().RemoveFilterObject(GetObjectId());
}

void PatrolPoint::InitialUpdate() {
    Actor::InitialUpdate();
    if (gEngine->IsEditor())
        EditorFilter::Get().AddFilterObject(GetObjectId(), kEditorCategory);
}

}  // namespace GAME
