#pragma once
// The visible mesh of an actor (or an effect): mesh and texture names, tint, outline, diffuse
// colour and dissolve. Nothing is drawn; each setter is recorded for its owner's object id, and
// a dissolve reads the machine's game clock, so it is over when its time has passed in the game.
#include <cstdint>
#include <string>

#include "Engine/world/Math.h"

namespace GAME {

class Object;

class GraphicsMeshInstance {
public:
    GraphicsMeshInstance() = default;
    explicit GraphicsMeshInstance(const Object& owner) : mOwner(&owner) {}
    GraphicsMeshInstance(const GraphicsMeshInstance&) = delete;
    GraphicsMeshInstance& operator=(const GraphicsMeshInstance&) = delete;

    // The first mesh given is the owner's own, which RestoreMesh brings back.
    void SetMesh(const std::string& mesh);
    void RestoreMesh();
    const std::string& GetMesh() const { return mMesh; }
    bool HasMesh() const { return !mMesh.empty(); }
    void SetBaseTexture(const std::string& texture);
    void SetBumpTexture(const std::string& texture);
    const std::string& GetBaseTexture() const { return mBaseTexture; }
    const std::string& GetBumpTexture() const { return mBumpTexture; }

    void SetTintColor(const Color& color);
    const Color& GetTintColor() const { return mTint; }
    void SetOutlineColor(const Color& color);
    const Color& GetOutlineColor() const { return mOutline; }
    void SetDiffuseColor(const Color& color) { mDiffuse = color; }
    const Color& GetDiffuseColor() const { return mDiffuse; }

    // Colour components 0..255, time in seconds of game time.
    void BeginDissolve(int red, int green, int blue, float seconds, const std::string& texture);
    void BeginUnDissolve(int red, int green, int blue, float seconds, const std::string& texture);
    // True once a dissolve has run its time (until an un-dissolve starts).
    bool IsDissolved() const;
    bool IsDissolving() const { return mDissolve == Dissolve::Out; }

private:
    enum class Dissolve { None, Out, In };
    std::uint32_t OwnerId() const;
    void StartDissolve(Dissolve kind, int red, int green, int blue, float seconds,
                       const std::string& texture);

    const Object* mOwner = nullptr;
    std::string mMesh;
    std::string mOwnMesh;
    std::string mBaseTexture;
    std::string mBumpTexture;
    Color mTint{1, 1, 1, 1};
    Color mOutline{0, 0, 0, 0};
    Color mDiffuse{1, 1, 1, 1};
    Dissolve mDissolve = Dissolve::None;
    std::uint64_t mDissolveStart = 0;
    std::uint64_t mDissolveMs = 0;
};

}  // namespace GAME
