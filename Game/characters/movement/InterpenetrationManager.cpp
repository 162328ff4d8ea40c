#include "Game/characters/movement/InterpenetrationManager.h"

#include "Engine/Engine.h"
#include "Engine/media/graphics/GraphicsEngine.h"
#include "Engine/world/World.h"
#include "Game/characters/Character.h"
#include "Game/core/GameCamera.h"
#include "Game/core/ObjectLookup.h"

namespace GAME {

namespace {

constexpr int kMaxPasses = 3;

bool IsNpc(const Character& c) {
    return FindObjectOfClass(c.GetObjectId(), "Npc") != nullptr;
}

// Moves the character along the floor by the offset; a place off the floor leaves it standing.
void Push(Character& character, const Vec3& offset) {
    WorldCoords coords = character.GetCoords();
    WorldVec3 position = coords.GetPosition();
    if (!position.TranslateToFloor(offset))
        return;
    coords.SetPosition(position);
    World::Get().SetCoords(&character, coords);
}

}  // namespace

void InterpenetrationManager::FixupCharacterCollisions(const GameCamera& camera) {
    if (gEngine->IsGameTimePaused() || gEngine->IsNetworkEnabled())
        return;
    GraphicsEngine& graphics = GraphicsEngine::Get();
    const Viewport viewport{0.0f, 0.0f, static_cast<float>(graphics.GetWidth()),
                            static_cast<float>(graphics.GetHeight())};
    WorldFrustum frustum;
    camera.GetFrustum(viewport, frustum);
    mInView.clear();
    mCharacters.clear();
    World::Get().GetEntitiesInFrustum(mInView, frustum);
    for (Entity* entity : mInView)
        if (entity->IsA<Character>())
            mCharacters.push_back(static_cast<Character*>(entity));

    const std::size_t count = mCharacters.size();
    for (int pass = 0; pass < kMaxPasses; ++pass) {
        bool pushed = false;
        for (std::size_t i = 0; i < count; ++i) {
            for (std::size_t j = i + 1; j < count; ++j) {
                Character& a = *mCharacters[i];
                Character& b = *mCharacters[j];
                if (!a.IsAlive() || !b.IsAlive() || !a.IsVisible() || !b.IsVisible() ||
                    (IsNpc(a) && IsNpc(b)))
                    continue;
                const WorldVec3 pa = a.GetPosition();
                const WorldVec3 pb = b.GetPosition();
                if (pa.region == pb.region && pa.local == pb.local)
                    continue;
                Vec3 d = pa.VectorTo(pb);
                d.y = 0.0f;
                const float length = d.Length();
                if (!(length > 0.0001f))
                    continue;
                d = d * (1.0f / length);
                const float minimum = a.GetExtents() + b.GetExtents();
                if (!(length < minimum))
                    continue;
                const float overlap = minimum - length;
                pushed = true;
                const float massA = a.GetPathMass();
                const float massB = b.GetPathMass();
                const float w = massA == 0.0f   ? 0.0f
                                : massB == 0.0f ? 1.0f
                                                : massB / (massA + massB);
                if (massA != 0.0f)
                    Push(a, d * (-overlap * w));
                if (massB != 0.0f)
                    Push(b, d * (overlap * (1.0f - w)));
            }
        }
        if (!pushed)
            break;
    }
}

}  // namespace GAME
