#include "Game/world/effects/SpecialFX.h"

#include "Engine/media/graphics/EffectEntity.h"
#include "Engine/object/ObjectManager.h"

namespace GAME {

EffectEntity* SpecialFX::GetEffect() const {
    return mEffectId ? Objects().GetObject<EffectEntity>(mEffectId) : nullptr;
}

void SpecialFX::LoadFX(const std::string& record, Actor* parent) {
    mParentId = parent ? parent->GetObjectId() : 0;
    if (record.empty())
        return;
    EffectEntity* effect = Objects().CreateObjectFromFile<EffectEntity>(record);
    if (!effect)
        return;
    mEffectId = effect->GetObjectId();
    effect->StopEmitting();
    if (parent)
        parent->Attach(effect, Coords::Identity(), "");
}

void SpecialFX::StartFx() {
    if (EffectEntity* effect = GetEffect()) {
        effect->StartEmitting();
        mStarted = true;
    }
}

void SpecialFX::StopFx() {
    if (EffectEntity* effect = GetEffect())
        effect->StopEmitting();
}

void SpecialFX::ReleaseFx(const WorldCoords& coords) {
    EffectEntity* effect = GetEffect();
    if (!effect)
        return;
    if (Actor* parent = Objects().GetObject<Actor>(mParentId))
        parent->Detach(effect);
    if (!mStarted) {
        DeleteFx();
        return;
    }
    effect->AddToWorld(coords, true);
    effect->SetDeleteWhenDone(true);
    mEffectId = 0;
}

void SpecialFX::DeleteFx() {
    EffectEntity* effect = GetEffect();
    mEffectId = 0;
    if (!effect)
        return;
    effect->StopEmitting();
    if (Actor* parent = Objects().GetObject<Actor>(mParentId))
        parent->Detach(effect);
    Objects().DestroyObject(effect);
}

void SpecialFX::PreLoad(bool now) {
    if (EffectEntity* effect = GetEffect())
        effect->PreLoad(now);
}

}  // namespace GAME
