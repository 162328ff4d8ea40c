// The monster's life cycle: construction, record, start, frame, sounds and look.
#include "Game/characters/monster/Monster.h"

#include "Engine/Engine.h"
#include "Engine/media/sound/SoundPak.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/records/LoadTable.h"
#include "Engine/text/LocalizationManager.h"
#include "Engine/world/Math.h"
#include "Game/ai/controllers/CharacterController.h"
#include "Game/characters/CharacterSummary.h"
#include "Game/characters/Player.h"
#include "Game/characters/monster/MonsterReplicationData.h"
#include "Game/core/GameEngine.h"
#include "Game/core/ObjectLookup.h"
#include "Game/core/players/Team.h"
#include "Game/core/util/StringUtil.h"
#include "Game/world/WorldRandom.h"
#include "Game/world/volumes/BoundingVolumeMultiple.h"

namespace GAME {

RTTI_IMPLEMENT(Monster, Character)

namespace {

// The record keys of the sound packs, in MonsterSound order (the order they are loaded in).
constexpr const char* kSoundKeys[] = {"ambientSound",        "alertSound", "rallySound",
                                      "rampageSound",        "fleeSound",  "petAttackSound",
                                      "petAcknowledgeSound", "aliveSound"};
static_assert(std::size(kSoundKeys) == Monster::MonsterSoundCount);

constexpr float kAliveSoundFadeMs = 250.0f;

void DestroyById(std::uint32_t id) {
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    if (Object* object = id != 0 ? objects.GetObject(id) : nullptr)
        objects.DestroyObjectEx(object, "Game/Monster", __LINE__);
}

}  // namespace

Monster::Monster() : mBalanceListener("GameEvent_GameBalanceLevel", "Monster") {
    mBalanceListener.SetOwner(this, &Monster::OnGameBalanceLevel);
}

Monster::~Monster() {
    mConfusionFx.UnLoad();
    mConfusionFx.SetParent(0);
    for (std::uint32_t id : mSoundIds)
        DestroyById(id);
    // Its nested volumes go with it.
    DestroyById(mBossBoundingVolumeId);
    DestroyBanners();
}

SoundPak* Monster::GetMonsterSound(MonsterSound sound) const {
    if (sound >= MonsterSoundCount || mSoundIds[sound] == 0)
        return nullptr;
    return Singleton<ObjectManager>::Get().GetObject<SoundPak>(mSoundIds[sound]);
}

const ItemReplicaInfo& Monster::GetDropPerPartyMemberItem() const {
    static const ItemReplicaInfo kNone;
    return mDropPerPartyMemberItem ? *mDropPerPartyMemberItem : kNone;
}

ItemReplicaInfo& Monster::DropPerPartyMemberItem() {
    if (!mDropPerPartyMemberItem)
        mDropPerPartyMemberItem = std::make_unique<ItemReplicaInfo>();
    return *mDropPerPartyMemberItem;
}

void Monster::Load(const LoadTable& table) {
    const std::string classification = table.GetString("monsterClassification");
    mClassification = GameEngine::ResolveMonsterClassificationEnum(classification);
    if (classification == "Hero" || classification == "Boss")
        mHeroOrBossLoot = true;
    mBossCaps = classification == "Boss";
    if (gGameEngine)
        gGameEngine->GetMonsterLootWeightModifiers(mClassification, mLootWeightModifiers);

    Character::Load(table);

    for (std::size_t i = 0; i < MonsterSoundCount; ++i) {
        const SoundPak* sound = GetSoundPakFromRecord(table, kSoundKeys[i]);
        mSoundIds[i] = sound ? sound->GetObjectId() : 0;
    }
    mAlertSoundChance = table.GetFloat("alertSoundChance", 0.0f);
    mRallySoundChance = table.GetFloat("rallySoundChance", 0.0f);
    mRampageSoundChance = table.GetFloat("rampageSoundChance", 0.0f);
    mRampageSoundDelay = SecondsToMilliseconds(table.GetFloat("rampageSoundDelay", 0.0f));
    mAmbientPeriodMin = table.GetFloat("ambientPeriodMin", 0.0f) * 1000.0f;
    mAmbientPeriodMax = table.GetFloat("ambientPeriodMax", 0.0f) * 1000.0f;
    mMonsterMusic = table.GetString("MonsterMusic");
    const float musicRadius = table.GetFloat("MonsterMusicRadius", 0.0f);
    mMonsterMusicRadiusSquared = musicRadius * musicRadius;
    mShowStatusWidgetWhenPet = table.GetBool("showStatusWidgetWhenPet", false);
    mStatusIcon = table.GetString("StatusIcon");
    mStatusIconRed = table.GetString("StatusIconRed");
    mDescriptionTag = table.GetString("description");
    if (!Character::GetTeam().IsInitialized())
        SetTeam(TeamManager::DefaultMonsterTeam());
    SetOutlineColor(Color{1.0f, 0.0f, 0.0f, 0.3f});
    mDeathFromEnemyRange = table.GetFloat("deathFromEnemyRange", 0.0f);

    LoadController(table);

    mBossBoundingVolume = table.GetString("bossBoundingVolumes");
    mAmbientCountdown = RandomFloat(mAmbientPeriodMin, mAmbientPeriodMax);
    if (gGameEngine) {
        const std::string fx =
            gGameEngine->GetDatabase().GetArrayString("confusionDamageFxPak", GetEffectIndex());
        mConfusionFx.LoadFromDatabase(fx);
    }
    std::vector<std::string> texts;
    for (auto [key, list] :
         {std::pair{"monsterMesh", &mMeshes}, std::pair{"monsterBaseTexture", &mBaseTextures},
          std::pair{"monsterBumpTexture", &mBumpTextures}}) {
        table.GetStringArray(key, texts);
        list->assign(texts.begin(), texts.end());
    }
    const std::string dropItem = table.GetString("perPartyMemberDropItemName");
    if (!dropItem.empty())
        DropPerPartyMemberItem().baseName = dropItem;
    if (const int lifetime = table.GetInt("lifeTime", 0); lifetime != 0)
        SetLifetime(lifetime);
    mTreasureProxyName = table.GetString("treasureProxyName");
}

void Monster::PreLoad(bool now) {
    Character::PreLoad(now);
    for (MonsterSound sound : {AmbientSound, AlertSound, RallySound, RampageSound})
        if (SoundPak* pak = GetMonsterSound(sound))
            pak->PreLoad(now);
    mConfusionFx.PreLoad();
}

void Monster::InitialUpdate() {
    if (auto* controller = FindController<Controller>(*this))
        controller->AttachParent(GetObjectId());
    Character::InitialUpdate();
    mConfusionFx.SetParent(GetObjectId());
    if (!mBossBoundingVolume.empty() && mBossBoundingVolumeId == 0)
        MakeBossBoundingVolume();
    // In the same order on every machine: the position in the list is the net index.
    for (MonsterSound sound : {AlertSound, RallySound, RampageSound, FleeSound})
        RegisterNetSound(GetMonsterSound(sound));
    mConfusionFx.InitializeFxPak();
    SelectAlternativeMeshAndTextures();
    // A join restored from saved state already holds the team to go back to.
    if (mLeaderId == 0)
        mSavedTeam = TeamManager::DefaultMonsterTeam();
    RestoreLifeState();
    if (GetLifeState() != Character_LifeState::Dead)
        StartAliveSound();
    SetTreasureProxy(mTreasureProxyName);
    if (gGameEngine)
        mGameBalanceLevel = gGameEngine->GetBalanceDifficulty();
    CharAttributeInputsChanged();
    GetCharacterBio().BalanceHasChanged();
}

void Monster::UpdateSelf(int ms) {
    Character::UpdateSelf(ms);
    if (!GetSpawnPoint().region)
        SetSpawnPoint(GetCoords());
    if (!IsAlive())
        return;
    SoundPak* alive = GetMonsterSound(AliveSound);
    if (mAliveSoundWanted && alive && IsInWorld() && !alive->IsPlaying()) {
        alive->Play(GetPosition());
        alive->Track(GetObjectId());
    }
    if (mAmbientCountdown > 0.0f) {
        mAmbientCountdown -= static_cast<float>(ms);
        if (mAmbientCountdown <= 0.0f) {
            PlayAmbientSound(false);
            mAmbientCountdown = RandomFloat(mAmbientPeriodMin, mAmbientPeriodMax);
        }
    }
    UpdateLeader(ms);
    UpdateMonsterMusic();
}

void Monster::PrefetchKindLines() const {
    const auto* first = reinterpret_cast<const char*>(&mAmbientCountdown);
    const auto* end = reinterpret_cast<const char*>(&mSoundIds + 1);
    for (const char* at = first; at < end; at += 64)
        __builtin_prefetch(at);
    __builtin_prefetch(end - 1);
}

void Monster::UpdateMonsterMusic() {
    if (mMonsterMusic.empty() || !gGameEngine)
        return;
    Player* player = gGameEngine->GetMainPlayer();
    if (!player)
        return;
    const Vec3 offset = GetPosition().VectorTo(player->GetPosition());
    if (offset.LengthSquared() < mMonsterMusicRadiusSquared)
        player->RegisterMonsterMusic(GetObjectId(), mMonsterMusic);
}

void Monster::MakeBossBoundingVolume() {
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    auto* volume = objects.CreateObjectFromFile<BoundingVolumeBossMonster>(mBossBoundingVolume);
    if (!volume) {
        gEngine->Log(1, "Monster %s: bossBoundingVolumes %s does not make a boss volume",
                     GetObjectName().c_str(), mBossBoundingVolume.c_str());
        return;
    }
    mBossBoundingVolumeId = volume->GetObjectId();
    Attach(volume, Coords::Identity(), "");
    volume->SetBossId(GetObjectId());
    volume->AttachVolumes(this);
}

void Monster::PlayAmbientSound(bool) {
    if (SoundPak* sound = GetMonsterSound(AmbientSound))
        sound->Play(GetPosition());
}

void Monster::StartAliveSound() {
    mAliveSoundWanted = true;
    SoundPak* sound = GetMonsterSound(AliveSound);
    if (sound && IsInWorld()) {
        sound->Play(GetPosition());
        sound->Track(GetObjectId());
    }
}

void Monster::StopAliveSound() {
    mAliveSoundWanted = false;
    if (SoundPak* sound = GetMonsterSound(AliveSound)) {
        sound->Track(0);
        sound->FadeLastPlayedSound(kAliveSoundFadeMs);
    }
}

void Monster::SelectAlternativeMeshAndTextures() {
    const std::uint32_t id = GetObjectId();
    if (!mMeshes.empty()) {
        const std::size_t i = id % mMeshes.size();
        SetMesh(mMeshes[i]);
        if (i < mBaseTextures.size())
            SetBaseTexture(mBaseTextures[i]);
        if (i < mBumpTextures.size())
            SetBumpTexture(mBumpTextures[i]);
    } else if (!mBaseTextures.empty()) {
        const std::size_t i = id % mBaseTextures.size();
        SetBaseTexture(mBaseTextures[i]);
        if (i < mBumpTextures.size())
            SetBumpTexture(mBumpTextures[i]);
    } else if (!mBumpTextures.empty()) {
        SetBumpTexture(mBumpTextures[id % mBumpTextures.size()]);
    }
}

void Monster::CreateUISummaryText(GameTextClass textClass, std::vector<GameTextLine>& lines) const {
    AppendCreatureSummaryText(*this, LocalizationManager::Instance().GetText(mDescriptionTag.str()),
                              textClass, lines);
}

std::wstring Monster::GetGameDescription(bool) const {
    const LocalizationManager& texts = LocalizationManager::Instance();
    std::wstring text =
        gGameEngine ? gGameEngine->GetMonsterColorText(mClassification) : std::wstring();
    text += texts.Format("SimpleStringFormat", texts.GetText(mDescriptionTag.str()));
    RemoveLineBreakCodes(text);
    TrimLeadingSpacesAndBraces(text);
    return text;
}

}  // namespace GAME
