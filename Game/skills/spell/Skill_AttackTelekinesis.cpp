#include "Game/skills/spell/Skill_AttackTelekinesis.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "Engine/media/sound/SoundPak.h"
#include "Engine/object/EngineClasses.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/records/LoadTable.h"
#include "Engine/sys/RandomUniform.h"
#include "Engine/world/World.h"
#include "Engine/world/WorldShapes.h"
#include "Game/characters/Character.h"
#include "Game/characters/CharacterLookup.h"
#include "Game/core/GameEngine.h"
#include "Game/core/ObjectLookup.h"
#include "Game/rules/combat/ParametersCombat.h"
#include "Game/skills/profile/SkillProfileModifiers.h"
#include "Game/world/projectiles/ProjectileTelekinesis.h"
#include "Game/world/props/Puppet.h"

namespace GAME {

RTTI_IMPLEMENT(Skill_AttackTelekinesis, SkillActivated)

namespace {

constexpr int kSpecialAnimation = 17;
constexpr float kBeamSoundFade = 250.0f;
constexpr float kDegrees = 3.14159265f / 180.0f;

const Name& OriginPoint() {
    static const Name name = Name::Create("SpecialHit01");
    return name;
}

const Name& WristPoint() {
    static const Name name = Name::Create("Wrist");
    return name;
}

template <class T>
T* Find(std::uint32_t id) {
    return id ? Singleton<ObjectManager>::Get().GetObject<T>(id) : nullptr;
}

}  // namespace

Skill_AttackTelekinesis::Skill_AttackTelekinesis() {
    SetTypeText("^bTelekinesis Projectile Attack");
}

Skill_AttackTelekinesis::~Skill_AttackTelekinesis() {
    ReleaseObject();
}

void Skill_AttackTelekinesis::Load(const LoadTable& table) {
    SkillActivated::Load(table);
    mLiftSpeed = table.GetFloat("liftSpeed", 2.0f);
    mMoveSpeed = table.GetFloat("moveSpeed", 8.0f);
    mMoveOverHeadVelocity = table.GetFloat("moveOverHeadVelocity", 3.0f);
    mHeadVelocity = table.GetFloat("headVelocity", 0.0f);
    mLoopingAnimation = Name::Create(table.GetString("specialLoopingAnimationName").c_str());
    mEndingAnimation = Name::Create(table.GetString("specialEndingAnimationName").c_str());
    mBeamRecord = table.GetString("chaosBeamName");
    mPuppetRecord = table.GetString("puppetName");
    const std::string fx = table.GetString("beamOriginCharFxPak");
    if (!fx.empty())
        mOriginFx.LoadFromDatabase(fx);
    mBeamSound.Reset(GetSoundPakFromRecord(table, "chaosBeamSound"));
}

void Skill_AttackTelekinesis::Install(Character* character) {
    SkillActivated::Install(character);
    // The wobble is only looks: its phase offsets come from a generator of the skill's own, not
    // the root's, which game logic shares.
    RandomUniform random;
    random.Seed(GetObjectId());
    mWobbleOffset1 = static_cast<float>(random.IGenerate(0, 36));
    mWobbleOffset2 = static_cast<float>(random.IGenerate(0, 36));
    if (character) {
        mOriginFx.SetParent(character->GetObjectId());
        mOriginFx.InitializeFxPak();
    }
}

void Skill_AttackTelekinesis::UnInstall(Character* character) {
    mOriginFx.Stop();
    mOriginFx.SetParent(0);
    SkillActivated::UnInstall(character);
}

void Skill_AttackTelekinesis::PreLoad(bool now) {
    SkillActivatedSpell::PreLoad(now);
    mOriginFx.PreLoad();
    if (SoundPak* sound = mBeamSound.Get())
        sound->PreLoad(now);
}

ProjectileTelekinesis* Skill_AttackTelekinesis::Carried() const {
    return Find<ProjectileTelekinesis>(mCarriedId);
}

Puppet* Skill_AttackTelekinesis::GetPuppet() const {
    return Find<Puppet>(mPuppetId);
}

ChaosBeam* Skill_AttackTelekinesis::GetBeam() const {
    return Find<ChaosBeam>(mBeamId);
}

void Skill_AttackTelekinesis::GatherThrowables(const WorldVec3& position,
                                               std::vector<std::uint32_t>& out) {
    thread_local std::vector<Entity*> near;
    near.clear();
    out.clear();
    World::Get().GetEntitiesInSphere(near, position.region, Sphere{position.local, kSearchReach});
    for (Entity* entity : near)
        if (auto* object = dynamic_cast<ProjectileTelekinesis*>(entity);
            object && !object->IsInUse())
            out.push_back(object->GetObjectId());
    // By id, so that every machine numbers them alike whatever its world's order.
    std::sort(out.begin(), out.end());
}

bool Skill_AttackTelekinesis::AnyObjectToThrow(const WorldVec3& position) {
    thread_local std::vector<std::uint32_t> found;
    GatherThrowables(position, found);
    return !found.empty();
}

std::uint32_t Skill_AttackTelekinesis::FindObjectToThrow(const WorldVec3& position) {
    thread_local std::vector<std::uint32_t> found;
    GatherThrowables(position, found);
    if (found.empty()) {
        mCandidateId = 0;
        return 0;
    }
    RandomUniform random;
    random.Seed(mUseSeed);
    mCandidateId =
        found[static_cast<std::size_t>(random.IGenerate(0, static_cast<int>(found.size()) - 1))];
    return mCandidateId;
}

bool Skill_AttackTelekinesis::SetAvailability(bool ignoreMana, bool ignoreCooldown) {
    if (Carried())
        return true;
    const Character* caster = HasManager() ? GetManager()->GetParent() : nullptr;
    if (!caster || !AnyObjectToThrow(caster->GetPosition())) {
        SetReason(SkillReason::NothingAround);
        return false;
    }
    return SkillActivated::SetAvailability(ignoreMana, ignoreCooldown);
}

bool Skill_AttackTelekinesis::StartAction(Character& caster, std::uint32_t target,
                                          const WorldVec3& point, std::uint32_t seed) {
    mUseSeed = seed;
    return SkillActivatedSpell::StartAction(caster, target, point, seed);
}

void Skill_AttackTelekinesis::SwipeAction(Character& caster, const Name& event,
                                          std::uint32_t target, const WorldVec3& point) {
    SkillActivatedSpell::SwipeAction(caster, event, target, point);
    FindObjectToThrow(caster.GetPosition());
    ClaimObject(caster, caster.GetPosition());
    StartNormalAnimation(caster, kSpecialAnimation, mLoopingAnimation, 1.0f, 1, 0);
}

void Skill_AttackTelekinesis::ClaimObject(Character& caster, const WorldVec3&) {
    auto* object = Find<ProjectileTelekinesis>(mCandidateId);
    if (!object || object->IsInUse())
        return;
    object->ProjectileCome(caster.GetObjectId());
    mHead = 0.0f;
    mCarriedId = mCandidateId;
    mState = BeamReaching;
    mWobbleClock = 0;
    const WorldCoords origin = caster.GetAttachedCoords(OriginPoint());
    mLiftTarget = origin.GetPosition();
    mCarryCoords = origin;
    mLiftCoords = object->GetCoords();
    mMoveLength = object->GetPosition().DistanceTo(mCarryCoords.GetPosition());
    mMoved = 0.0f;
    mWristOffset = Vec3();
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    if (auto* puppet =
            mPuppetRecord.empty() ? nullptr : objects.CreateObjectFromFile<Puppet>(mPuppetRecord)) {
        // Facing the caster.
        const Vec3 at = object->GetCoords().coords.origin;
        const Vec3 toward = caster.GetCoords().coords.origin - at;
        WorldCoords placed(mLiftCoords.region,
                           toward.Length() > 0.0f ? Coords::FromDirection(at, toward, Vec3(0, 1, 0))
                                                  : Coords::FromOrigin(at));
        World::Get().AddEntity(puppet, placed, false);
        mPuppetId = puppet->GetObjectId();
        mWristOffset = at - puppet->GetAttachedCoords(WristPoint()).coords.origin;
    }
    if (auto* beam =
            mBeamRecord.empty() ? nullptr : objects.CreateObjectFromFile<ChaosBeam>(mBeamRecord)) {
        beam->SetEndPoints(mLiftTarget, object->GetPosition());
        beam->SetTopBottomPercent(0.0f, 0.0f);
        World::Get().AddEntity(beam, caster.GetCoords(), true);
        mBeamId = beam->GetObjectId();
    }
    if (SoundPak* sound = mBeamSound.Get())
        sound->Play(caster.GetPosition());
    mOriginFx.Start();
}

bool Skill_AttackTelekinesis::EndAction(Character&) {
    return mState < BeamReaching || mState > Wobbling;
}

void Skill_AttackTelekinesis::ActivateNow(Character& caster, const Name&, std::uint32_t target,
                                          const WorldVec3& point) {
    mState = Thrown;
    ThrowObject(caster, point, target);
    PlayHitSound(caster.GetPosition());
}

void Skill_AttackTelekinesis::ThrowObject(Character& caster, const WorldVec3& point,
                                          std::uint32_t target) {
    ProjectileTelekinesis* object = Carried();
    if (!object)
        return;
    SkillProfile_Modifiers data;
    GetSkillModifierData(data);
    ProjectileInfo info;
    info.skillId = GetObjectId();
    info.casterId = caster.GetObjectId();
    info.targetId = target;
    info.targetPosition = point;
    info.team = caster.GetTeam();
    info.start = caster.GetCoords();
    info.piercingChance = data.projectilePiercing;
    object->LoadInfo(info, NewCommandSeed());
    AddProjectileModifier(*object);
    object->ProjectileGo();
    if (Puppet* puppet = GetPuppet())
        puppet->ReleaseToWorld();
    mPuppetId = 0;
    ReleaseBeam();
    mOriginFx.Stop();
    mCarriedId = 0;
}

void Skill_AttackTelekinesis::ReleaseBeam() {
    if (ChaosBeam* beam = GetBeam())
        beam->Liberate();
    mBeamId = 0;
    if (SoundPak* sound = mBeamSound.Get())
        sound->FadeLastPlayedSound(kBeamSoundFade);
}

void Skill_AttackTelekinesis::ReleaseObject() {
    if (ProjectileTelekinesis* object = Carried())
        object->Release();
    if (Puppet* puppet = GetPuppet())
        puppet->ReleaseToWorld();
    mPuppetId = 0;
    ReleaseBeam();
    mOriginFx.Stop();
    mCarriedId = 0;
}

bool Skill_AttackTelekinesis::RetrieveObject() {
    if (!Carried())
        return false;
    mState = Lifting;
    return true;
}

void Skill_AttackTelekinesis::Cancel(Character& caster) {
    ReleaseObject();
    SkillActivatedSpell::Cancel(caster);
}

void Skill_AttackTelekinesis::StopSkill(Character& caster) {
    ReleaseObject();
    SkillActivatedSpell::StopSkill(caster);
}

void Skill_AttackTelekinesis::TargetResult(Character& caster,
                                           const std::vector<std::uint32_t>& targets,
                                           const WorldCoords& origin, std::uint32_t seed,
                                           std::uint32_t weaponId, bool) {
    RandomUniform random;
    random.Seed(seed);
    for (std::uint32_t id : targets) {
        Character* target = FindCharacter(id);
        if (!target || target == &caster)
            continue;
        ParametersCombat parameters(random);
        CollectCombatParameters(caster, target, ParametersCombatStyle::Projectile, false, weaponId,
                                parameters, 0.0f);
        InitRagDollData(parameters.ragDollData, origin.GetPosition(), target->GetPosition());
        CreateTargetFx(target->GetPosition());
        target->TakeAttack(parameters);
    }
}

// --- Carrying ---

void Skill_AttackTelekinesis::Update(Character& caster, int ms) {
    SkillActivated::Update(caster, ms);
    if (mState == Idle)
        return;
    mWobbleClock += static_cast<std::uint32_t>(std::max(ms, 0));
    mWobblePhase =
        static_cast<int>(static_cast<float>(mWobblePhase) + static_cast<float>(ms) * 0.18f) % 360;
    ProjectileTelekinesis* object = Carried();
    if (!object) {
        mState = Idle;
        ReleaseObject();
        return;
    }
    Puppet* puppet = GetPuppet();
    if (ChaosBeam* beam = GetBeam())
        beam->SetEndPoints(
            caster.GetAttachedCoords(OriginPoint()).GetPosition(),
            puppet ? puppet->GetAttachedCoords(WristPoint()).GetPosition() : object->GetPosition());
    switch (mState) {
        case BeamReaching:
            MoveBeam(ms);
            if (mHead >= 1.0f) {
                mState = PuppetAppearing;
                if (puppet) {
                    puppet->SetVisibility(true);
                    puppet->StartAnimating();
                }
            }
            break;
        case PuppetAppearing:
            if (!puppet || puppet->IsReady())
                mState = Lifting;
            break;
        case Lifting:
            LiftEntity(ms);
            break;
        case MovingOverHead:
            MoveEntity(ms);
            if (mState == Wobbling)
                StartNormalAnimation(caster, kSpecialAnimation, mEndingAnimation, 1.0f, 0, 0);
            break;
        case Wobbling:
            WobbleEntity();
            break;
        default:
            break;
    }
}

void Skill_AttackTelekinesis::MoveBeam(int ms) {
    mHead = std::clamp(mHead + static_cast<float>(ms) * 0.001f * mHeadVelocity, 0.0f, 1.0f);
    if (ChaosBeam* beam = GetBeam())
        beam->SetTopBottomPercent(mHead, 0.0f);
}

void Skill_AttackTelekinesis::PlaceCarried(const WorldCoords& at) {
    const WorldCoords wobbled = WobbleCoords(at);
    Puppet* puppet = GetPuppet();
    if (puppet)
        puppet->SetCoords(wobbled);
    if (ProjectileTelekinesis* object = Carried()) {
        WorldCoords held = puppet ? puppet->GetCoords() : wobbled;
        held.coords.origin += mWristOffset;
        object->SetCoords(held);
    }
}

void Skill_AttackTelekinesis::LiftEntity(int ms) {
    float& height = mLiftCoords.coords.origin.y;
    height = std::min(height + static_cast<float>(ms) * 0.001f * mLiftSpeed, mLiftTarget.local.y);
    PlaceCarried(mLiftCoords);
    if (height >= mLiftTarget.local.y)
        mState = MovingOverHead;
}

void Skill_AttackTelekinesis::MoveEntity(int ms) {
    mMoved += static_cast<float>(ms) * mMoveOverHeadVelocity * 0.001f;
    const float t = mMoveLength > 0.0f ? std::clamp(mMoved / mMoveLength, 0.0f, 1.0f) : 1.0f;
    WorldCoords at = mLiftCoords;
    at.coords.origin = Lerp(mLiftCoords.coords.origin, mCarryCoords.coords.origin, t);
    PlaceCarried(at);
    if (t >= 1.0f)
        mState = Wobbling;
}

void Skill_AttackTelekinesis::WobbleEntity() {
    PlaceCarried(mCarryCoords);
}

WorldCoords Skill_AttackTelekinesis::WobbleCoords(const WorldCoords& coords) const {
    const auto angle = [&](float offset) {
        const int degrees = static_cast<int>(static_cast<float>(mWobblePhase) + offset) % 360;
        return static_cast<float>(mWobbleAmplitude) *
               std::sin(static_cast<float>(degrees) * kDegrees) * kDegrees;
    };
    Coords turned = Coords::FromAxisAngle(Vec3(1, 0, 0), angle(0.0f));
    turned = Coords::FromAxisAngle(Vec3(0, 1, 0), angle(mWobbleOffset1)) * turned;
    turned = Coords::FromAxisAngle(Vec3(0, 0, 1), angle(mWobbleOffset2)) * turned;
    Coords result =
        turned * Coords{coords.coords.xAxis, coords.coords.yAxis, coords.coords.zAxis, Vec3()};
    result.origin = coords.coords.origin;
    return WorldCoords(coords.region, result);
}

}  // namespace GAME
