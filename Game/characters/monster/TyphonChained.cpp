#include "Game/characters/monster/TyphonChained.h"

#include <vector>

#include "Engine/media/graphics/EffectEntity.h"
#include "Engine/media/graphics/GraphicsMeshInstance.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/records/LoadTable.h"
#include "Engine/world/World.h"
#include "Engine/world/WorldShapes.h"
#include "Game/world/fixeditems/FixedItemTeleport.h"

namespace GAME {

RTTI_IMPLEMENT(TyphonChains, Actor)
RTTI_IMPLEMENT(TyphonChained, Monster)

namespace {

constexpr const char* kTyphonChainedFile = "Game/TyphonChained";

// An effect of the record attached to the entity; nothing when the record makes none.
void AttachChainEffect(Entity& to, const std::string& record) {
    if (record.empty())
        return;
    if (auto* effect = Singleton<ObjectManager>::Get().CreateObjectFromFile<Entity>(record))
        to.Attach(effect, Coords(), "");
}

}  // namespace

// --- TyphonChains ---

void TyphonChains::Load(const LoadTable& table) {
    Actor::Load(table);
    mDissolveEffect = table.GetString("dissolveEffect");
    mDissolveTime = table.GetFloat("dissolveTime", 0.0f);
    mDissolveTexture = table.GetString("dissolveTexture");
    mDissolveColorRed = table.GetInt("dissolveColorR", 0);
    mDissolveColorGreen = table.GetInt("dissolveColorG", 0);
    mDissolveColorBlue = table.GetInt("dissolveColorB", 0);
    mBurstEffect = table.GetString("burstFX");
}

void TyphonChains::Break() {
    GetMeshInstance().BeginDissolve(mDissolveColorRed, mDissolveColorGreen, mDissolveColorBlue,
                                    mDissolveTime, mDissolveTexture);
    AttachChainEffect(*this, mDissolveEffect);
    if (mBurstEffect.empty())
        return;
    for (const char* point : {"Beam1", "Beam2", "Beam3"}) {
        const WorldCoords at = GetAttachedCoords(point);
        if (auto* burst =
                Singleton<ObjectManager>::Get().CreateObjectFromFile<Entity>(mBurstEffect))
            World::Get().AddEntity(
                burst, WorldCoords(at.region, Coords::FromOrigin(at.coords.origin)), true);
    }
}

// --- TyphonChained ---

TyphonChained::~TyphonChained() {
    // Attached chains are the world's to clear; unattached ones are ours.
    if (TyphonChains* chains = mChainsAttached ? nullptr : GetChains())
        Singleton<ObjectManager>::Get().DestroyObjectEx(chains, kTyphonChainedFile, __LINE__);
}

void TyphonChained::Load(const LoadTable& table) {
    Monster::Load(table);
    const std::string record = table.GetString("chains");
    if (record.empty() || mChains != 0)
        return;
    if (auto* chains = Singleton<ObjectManager>::Get().CreateObjectFromFile<TyphonChains>(record))
        mChains = chains->GetObjectId();
}

TyphonChains* TyphonChained::GetChains() const {
    return mChains ? Singleton<ObjectManager>::Get().GetObject<TyphonChains>(mChains) : nullptr;
}

void TyphonChained::InitialUpdate() {
    Monster::InitialUpdate();
    TyphonChains* chains = GetChains();
    if (!chains || mChainsAttached)
        return;
    Attach(chains, Coords(), "");
    mChainsAttached = true;
}

void TyphonChained::AnimationCallback(int channel, const Name& event) {
    Character::AnimationCallback(channel, event);
    static const Name breakChains = Name::Create("BreakTheChains");
    static const Name openPortal = Name::Create("OpenPortal");
    static const Name enterPortal = Name::Create("EnterPortal");
    if (event == breakChains) {
        if (TyphonChains* chains = GetChains())
            chains->Break();
    } else if (event == openPortal) {
        OpenPortals();
    } else if (event == enterPortal) {
        EnterPortal();
    }
}

void TyphonChained::OpenPortals() {
    thread_local std::vector<Entity*> found;
    found.clear();
    const WorldVec3 at = GetPosition();
    World::Get().GetEntitiesInSphere(found, at.region, Sphere{at.local, kPortalReach});
    for (Entity* entity : found)
        if (auto* portal = dynamic_cast<FixedItemTeleport*>(entity))
            portal->SetLock(false);
}

void TyphonChained::EnterPortal() {
    GetMeshInstance().BeginDissolve(GetDissolveColorRed(), GetDissolveColorGreen(),
                                    GetDissolveColorBlue(), GetDissolveTime(),
                                    GetDissolveTexture());
    AttachChainEffect(*this, GetDissolveEffect());
}

}  // namespace GAME
