#include "Game/skills/boss/Skill_TyphonSkillTransfer.h"

#include "Engine/media/graphics/EffectEntity.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/records/LoadTable.h"
#include "Engine/sys/RandomUniform.h"
#include "Engine/world/World.h"
#include "Game/characters/Character.h"
#include "Game/characters/CharacterLookup.h"
#include "Game/rules/combat/ParametersCombat.h"
#include "Game/skills/boss/BossBeams.h"
#include "Game/skills/manager/SkillServicesBase.h"

namespace GAME {

RTTI_IMPLEMENT(Skill_TyphonSkillTransfer, SkillActivated)

namespace {

const Name& BeamPoint() {
    static const Name point = Name::Create("Beam");
    return point;
}

}  // namespace

Skill_TyphonSkillTransfer::Skill_TyphonSkillTransfer() {
    SetTypeText("^bTyphon Skill Transfer");
    SetPrimary(true);
    SetSecondary(true);
}

Skill_TyphonSkillTransfer::~Skill_TyphonSkillTransfer() {
    if (!mShown)
        if (SkillGodBeam* beam = GetBeam())
            beam->Liberate();
}

void Skill_TyphonSkillTransfer::Load(const LoadTable& table) {
    SkillActivatedSpell::Load(table);
    const std::string record = table.GetString("skillGodBeam");
    mBeamVelocity = table.GetFloat("beamVelocity", 1.0f);
    mSourceEndRecord = table.GetString("sourceEnd");
    mTargetEndRecord = table.GetString("targetEnd");
    if (!record.empty() && mBeam == 0)
        if (auto* beam = Singleton<ObjectManager>::Get().CreateObjectFromFile<SkillGodBeam>(record))
            mBeam = beam->GetObjectId();
}

void Skill_TyphonSkillTransfer::PreLoad(bool now) {
    SkillActivatedSpell::PreLoad(now);
    if (SkillGodBeam* beam = GetBeam())
        beam->PreLoad(now);
}

SkillGodBeam* Skill_TyphonSkillTransfer::GetBeam() const {
    return mBeam ? Singleton<ObjectManager>::Get().GetObject<SkillGodBeam>(mBeam) : nullptr;
}

EffectEntity* Skill_TyphonSkillTransfer::GetSourceEndEffect() const {
    return mSourceEnd ? Singleton<ObjectManager>::Get().GetObject<EffectEntity>(mSourceEnd)
                      : nullptr;
}

EffectEntity* Skill_TyphonSkillTransfer::GetTargetEndEffect() const {
    return mTargetEnd ? Singleton<ObjectManager>::Get().GetObject<EffectEntity>(mTargetEnd)
                      : nullptr;
}

void Skill_TyphonSkillTransfer::ActivateNow(Character& caster, const Name&, std::uint32_t target,
                                            const WorldVec3&) {
    mProgress = 0.0f;
    SkillServicesBase* services = ControllingServices();
    if (!FindCharacter(target) || !services)
        return;
    services->SendTargetResult(GetObjectId(), {target}, caster.GetCoords(), NewCommandSeed(), 0,
                               false);
}

void Skill_TyphonSkillTransfer::TargetResult(Character& caster,
                                             const std::vector<std::uint32_t>& targets,
                                             const WorldCoords&, std::uint32_t seed, std::uint32_t,
                                             bool) {
    RandomUniform random;
    random.Seed(seed);
    for (std::uint32_t id : targets) {
        Character* target = FindCharacter(id);
        if (!target)
            continue;
        CreateTargetFx(target->GetPosition());
        // No payload: the statue only learns who struck it.
        ParametersCombat parameters(random);
        parameters.attackerId = caster.GetObjectId();
        target->TakeAttack(parameters);
        PlayHitSound(target->GetPosition());
        SkillGodBeam* beam = GetBeam();
        if (!beam)
            continue;
        beam->SetEndPoints(BodyCentreOf(*target), BodyCentreOf(caster));
        beam->SetTopBottomPercent(0.0f, 0.0f);
        if (beam->IsInWorld())
            World::Get().RemoveEntity(beam);
        World::Get().AddEntity(beam, caster.GetCoords(), true);
        mShown = true;
        mTargetId = id;
    }
}

std::uint32_t Skill_TyphonSkillTransfer::StartEndEffect(const std::string& record,
                                                        const WorldCoords& at) {
    auto* effect = record.empty()
                       ? nullptr
                       : Singleton<ObjectManager>::Get().CreateObjectFromFile<EffectEntity>(record);
    if (!effect)
        return 0;
    effect->StartEmitting();
    World::Get().AddEntity(effect, UnrotatedAt(at), true);
    return effect->GetObjectId();
}

void Skill_TyphonSkillTransfer::StopEndEffect(std::uint32_t& id) {
    if (auto* effect = id ? Singleton<ObjectManager>::Get().GetObject<EffectEntity>(id) : nullptr)
        effect->StopEmitting();
    id = 0;
}

void Skill_TyphonSkillTransfer::Update(Character& caster, int ms) {
    SkillActivatedSpell::Update(caster, ms);
    SkillGodBeam* beam = GetBeam();
    const Character* target = FindCharacter(mTargetId);
    if (!beam || !target)
        return;
    mProgress += static_cast<float>(ms) * mBeamVelocity * 0.001f;
    const WorldCoords source = target->GetAttachedCoords(BeamPoint());
    const WorldCoords sink = caster.GetAttachedCoords(BeamPoint());
    if (mProgress <= 1.0f) {
        if (mSourceEnd == 0)
            mSourceEnd = StartEndEffect(mSourceEndRecord, source);
    } else if (mProgress <= 2.0f) {
        StopEndEffect(mSourceEnd);
        if (mTargetEnd == 0)
            mTargetEnd = StartEndEffect(mTargetEndRecord, sink);
    } else {
        StopEndEffect(mTargetEnd);
    }
    if (mProgress <= 2.0f)
        beam->SetEndPoints(source.GetPosition(), sink.GetPosition());
    ApplyBeamProgress(*beam, mProgress);
}

}  // namespace GAME
