// Actor's looks: forwards to its mesh instance. (Actor is declared in Engine/object/Object.h.)
#include "Engine/media/graphics/GraphicsMeshInstance.h"
#include "Engine/object/Object.h"

namespace GAME {

void Actor::SetMesh(const std::string& mesh) {
    mMesh->SetMesh(mesh);
}

void Actor::RestoreMesh() {
    mMesh->RestoreMesh();
}

void Actor::SetBaseTexture(const std::string& texture) {
    mMesh->SetBaseTexture(texture);
}

void Actor::SetBumpTexture(const std::string& texture) {
    mMesh->SetBumpTexture(texture);
}

void Actor::SetTintColor(const Color& color) {
    mMesh->SetTintColor(color);
}

Color Actor::GetTintColor() const {
    return mMesh->GetTintColor();
}

void Actor::SetOutlineColor(const Color& color) {
    mMesh->SetOutlineColor(color);
}

bool Actor::GetIsDissolved() const {
    return mMesh->IsDissolved();
}

}  // namespace GAME
