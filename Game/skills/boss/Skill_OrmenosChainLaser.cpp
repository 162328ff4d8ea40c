#include "Game/skills/boss/Skill_OrmenosChainLaser.h"

#include "Engine/object/ObjectManager.h"
#include "Engine/records/LoadTable.h"
#include "Engine/world/World.h"
#include "Engine/world/WorldShapes.h"
#include "Game/characters/Character.h"
#include "Game/characters/monster/Ormenos.h"
#include "Game/characters/monster/TyphonChained.h"
#include "Game/core/GameEngine.h"
#include "Game/skills/boss/BossBeams.h"
#include "Game/skills/manager/SkillServicesBase.h"

namespace GAME {

RTTI_IMPLEMENT(Skill_OrmenosChainLaser, SkillActivated)

namespace {

const Name& CasterPoint() {
    static const Name point = Name::Create("Beam");
    return point;
}

const Name& ChainPoint(std::size_t beam) {
    static const Name points[] = {Name::Create("Beam1"), Name::Create("Beam2"),
                                  Name::Create("Beam3")};
    return points[beam];
}

}  // namespace

Skill_OrmenosChainLaser::Skill_OrmenosChainLaser() {
    SetTypeText("^bOrmenos Chain Laser");
    SetPrimary(true);
    SetSecondary(true);
}

Skill_OrmenosChainLaser::~Skill_OrmenosChainLaser() {
    // Once shown the beams belong to the world.
    if (mShown)
        return;
    for (std::size_t i = 0; i < kBeamCount; ++i)
        if (ChainLaserBeam* beam = GetBeam(i))
            beam->Liberate();
}

void Skill_OrmenosChainLaser::Load(const LoadTable& table) {
    SkillActivatedSpell::Load(table);
    const std::string record = table.GetString("chainLaserBeam");
    mBeamVelocity = table.GetFloat("beamVelocity", 1.0f);
    if (record.empty())
        return;
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    for (std::uint32_t& id : mBeams) {
        if (id != 0)
            continue;
        auto* beam = objects.CreateObjectFromFile<ChainLaserBeam>(record);
        id = beam ? beam->GetObjectId() : 0;
    }
}

ChainLaserBeam* Skill_OrmenosChainLaser::GetBeam(std::size_t index) const {
    const std::uint32_t id = index < kBeamCount ? mBeams[index] : 0;
    return id ? Singleton<ObjectManager>::Get().GetObject<ChainLaserBeam>(id) : nullptr;
}

void Skill_OrmenosChainLaser::PreLoad(bool now) {
    SkillActivatedSpell::PreLoad(now);
    for (std::size_t i = 0; i < kBeamCount; ++i)
        if (ChainLaserBeam* beam = GetBeam(i))
            beam->PreLoad(now);
}

void Skill_OrmenosChainLaser::ActivateNow(Character& caster, const Name&, std::uint32_t,
                                          const WorldVec3&) {
    mProgress.fill(0.0f);
    thread_local std::vector<Entity*> found;
    found.clear();
    const WorldVec3 at = caster.GetPosition();
    World::Get().GetEntitiesInSphere(found, at.region, Sphere{at.local, kChainedReach});
    const TyphonChained* chained = nullptr;
    for (Entity* entity : found) {
        if (entity->IsA<TyphonChained>()) {
            chained = static_cast<const TyphonChained*>(entity);
            break;
        }
    }
    SkillServicesBase* services = ControllingServices();
    if (!chained || !services)
        return;
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    for (std::uint32_t child : chained->GetAttachedChildren()) {
        if (!objects.GetObject<TyphonChains>(child))
            continue;
        services->SendTargetResult(GetObjectId(), {child}, caster.GetCoords(),
                                   gGameEngine ? gGameEngine->GetRandomSeed() : 0u, 0, false);
    }
}

void Skill_OrmenosChainLaser::TargetResult(Character& caster,
                                           const std::vector<std::uint32_t>& targets,
                                           const WorldCoords&, std::uint32_t, std::uint32_t, bool) {
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    for (std::uint32_t id : targets) {
        Actor* target = objects.GetObject<Actor>(id);
        if (!target)
            continue;
        CreateTargetFx(target->GetPosition());
        PlayHitSound(target->GetPosition());
        for (std::size_t i = 0; i < kBeamCount; ++i) {
            ChainLaserBeam* beam = GetBeam(i);
            if (!beam)
                continue;
            beam->SetEndPoints(target->GetAttachedCoords(ChainPoint(i)).GetPosition(),
                               caster.GetAttachedCoords(CasterPoint()).GetPosition());
            beam->SetTopBottomPercent(0.0f, 0.0f);
            if (beam->IsInWorld())
                World::Get().RemoveEntity(beam);
            World::Get().AddEntity(beam, caster.GetCoords(), true);
            mShown = true;
            mFinished[i] = false;
        }
        mTargetId = id;
        mSicklePending = true;
    }
}

void Skill_OrmenosChainLaser::Update(Character& caster, int ms) {
    SkillActivatedSpell::Update(caster, ms);
    if (mTargetId == 0)
        return;
    const Actor* target = Singleton<ObjectManager>::Get().GetObject<Actor>(mTargetId);
    for (std::size_t i = 0; i < kBeamCount; ++i) {
        if (mFinished[i])
            continue;
        ChainLaserBeam* beam = GetBeam(i);
        if (!target || !beam) {
            if (beam)
                beam->SetTopBottomPercent(0.0f, 0.0f);
            mFinished[i] = true;
            continue;
        }
        mProgress[i] += static_cast<float>(ms) * mBeamVelocity * 0.001f;
        if (mProgress[i] <= 2.0f)
            beam->SetEndPoints(caster.GetAttachedCoords(CasterPoint()).GetPosition(),
                               target->GetAttachedCoords(ChainPoint(i)).GetPosition());
        if (!ApplyBeamProgress(*beam, mProgress[i]))
            mFinished[i] = true;
    }
    if (!mSicklePending || !mFinished[0] || !mFinished[1] || !mFinished[2])
        return;
    mSicklePending = false;
    if (auto* ormenos = dynamic_cast<Ormenos*>(&caster))
        ormenos->UnequipAndExplodeSickle(true);
}

}  // namespace GAME
