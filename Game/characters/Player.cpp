#include "Game/characters/Player.h"

#include <algorithm>
#include <optional>

#include "Engine/media/sound/SoundPak.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/records/LoadTable.h"
#include "Engine/text/LocalizationManager.h"
#include "Game/ai/controllers/CharacterController.h"
#include "Game/ai/controllers/Controller.h"
#include "Game/ai/controllers/ControllerCharacter.h"
#include "Game/ai/controllers/player/ControllerPlayer.h"
#include "Game/characters/CharacterLookup.h"
#include "Game/characters/monster/Monster.h"
#include "Game/characters/player/PlayerReplicationData.h"
#include "Game/core/GameEngine.h"
#include "Game/core/ObjectLookup.h"
#include "Game/core/players/PartyManager.h"
#include "Game/core/players/PlayerNetInfo.h"
#include "Game/core/util/MathUtil.h"
#include "Game/items/hotslots/PlayerHotSlotCtrl.h"
#include "Game/items/inventory/PlayerInventoryCtrl.h"

namespace GAME {

RTTI_IMPLEMENT(Player, Character)

namespace {
constexpr float kPlayerPathMass = 3.0f;
constexpr unsigned int kDeathTutorialPage = 23;

}  // namespace

Player::Player()
    : mCreatureDeathListener("GameEvent_CreatureDeath", "Player"),
      mHotSlots(std::make_unique<PlayerHotSlotCtrl>()) {
    MarkTeamDerived();
    mHotSlots->SetPlayer(this);
    SetTeam(TeamManager::DefaultPlayerTeam());
    SetPathMass(kPlayerPathMass);
    mCreatureDeathListener.SetOwner(this, &Player::OnCreatureDeath);
}

Player::~Player() {
    DestroyPaperDoll();
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    for (std::uint32_t* id : SoundIds())
        if (Object* sound = *id ? objects.GetObject(*id) : nullptr)
            objects.DestroyObjectEx(sound, __FILE__, __LINE__);
}

std::array<std::uint32_t*, 9> Player::SoundIds() {
    return {&mInventoryFullSound, &mPickUpSound,        &mLockedVox[0].sound,
            &mLockedVox[1].sound, &mLockedVox[2].sound, &mLockedVox[3].sound,
            &mSkillVox[0].sound,  &mSkillVox[1].sound,  &mSkillVox[2].sound};
}

void Player::Load(const LoadTable& table) {
    Character::Load(table);
    if (!GetOwnTeam().IsInitialized())
        SetTeam(TeamManager::DefaultPlayerTeam());
    static constexpr const char* kSoundKeys[] = {
        "inventoryFullSound", "pickUpSoundName",       "lockedChestSound",
        "lockedShrineSound",  "lockedDoorSound",       "lockedQuestObjectSound",
        "notEnoughManaSound", "invalidEquipmentSound", "skillCooldownSound"};
    const std::array<std::uint32_t*, 9> ids = SoundIds();
    for (std::size_t i = 0; i < ids.size(); ++i) {
        SoundPak* sound = GetSoundPakFromRecord(table, kSoundKeys[i]);
        *ids[i] = sound ? sound->GetObjectId() : 0;
    }
    SkillManager& skills = GetSkillManager();
    skills.LoadDefaultSkills();
    const int gold = table.GetInt("defaultGold", 0);
    AddMoney(gold > 0 ? static_cast<std::uint32_t>(gold) : 0);
    for (int tree = 1; tree <= kSkillTrees; ++tree) {
        const std::string name = table.GetString(("skillTree" + std::to_string(tree)).c_str());
        if (!name.empty())
            skills.LoadSkills(name, kSkillTreeEntries);
    }
    SetAnimation(0);
    mHotSlots->SetToDefaults();
    LoadLight(table);
    mPlayerTextures.clear();
    table.GetStringArray("playerTextures", mPlayerTextures);
    mMaxMoveToRatio = table.GetFloat("maxMoveToRatio", 0.0f);
    ReplaceController(kStubControllerRecord);
}

void Player::PreLoad(bool now) {
    Character::PreLoad(now);
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    for (std::uint32_t* id : SoundIds())
        if (Object* sound = *id ? objects.GetObject(*id) : nullptr)
            sound->PreLoad(now);
}

void Player::InitialUpdate() {
    Character::InitialUpdate();
    if (!mControlling)
        SetLifeState(Character_LifeState::Alive);
    if (mControlling)
        AttachLight();
    ResetPlayerTexture();
}

void Player::ClearTarget() {
    if (auto* brain =
            Singleton<ObjectManager>::Get().GetObject<ControllerPlayer>(GetControllerId()))
        brain->ClearTarget();
}

void Player::SetIsControllingCharacter(bool controlling) {
    mControlling = controlling;
    ReplaceController(controlling ? kPlayerControllerRecord : kStubControllerRecord);
    if (controlling)
        GetSkillManager().SetAsControllingManager();
}

void Player::ReplaceController(const char* record) {
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    // What the player wears stays worn: the new controller takes over the equipment's slots.
    std::optional<EquipmentCtrl> equipment;
    if (auto* old = FindController<ControllerCharacter>(*this))
        equipment = old->GetEquipmentCtrl();
    // And what it carries stays carried.
    if (auto* old = FindController<ControllerPlayer>(*this))
        mHeldBag = old->TakeInventoryCtrl();
    if (Object* old = GetControllerId() != 0 ? objects.GetObject(GetControllerId()) : nullptr)
        objects.DestroyObjectEx(old, "Game/Player", __LINE__);
    SetControllerId(0);
    auto* controller = objects.CreateObjectFromFile<Controller>(record);
    if (!controller)
        return;
    SetControllerId(controller->GetObjectId());
    if (auto* next = dynamic_cast<ControllerCharacter*>(controller); next && equipment) {
        equipment->SetController(next);
        equipment->SetParent(this);
        next->GetEquipmentCtrl() = *equipment;
    }
    controller->AttachParent(GetObjectId());
    if (auto* next = dynamic_cast<ControllerPlayer*>(controller))
        next->AdoptInventoryCtrl(std::move(mHeldBag));
}

PlayerInventoryCtrl& Player::GetBag() {
    if (auto* controller = FindController<ControllerPlayer>(*this))
        return controller->GetInventoryCtrl();
    if (!mHeldBag)
        mHeldBag = std::make_unique<PlayerInventoryCtrl>();
    mHeldBag->SetParent(this);
    return *mHeldBag;
}

void Player::NotifyControllerItemRemovedFromInventory(std::uint32_t itemId) {
    auto* controller = FindController<ControllerPlayer>(*this);
    if (!controller)
        return;
    controller->GetEquipmentCtrl().RemoveItem(itemId);
    std::vector<std::uint32_t> hidden;
    controller->GetInventoryCtrl().RemoveItem(itemId, hidden);
    RequestSave();
}

bool Player::IsInventorySpaceAvailable(Item& item) const {
    const auto* controller = FindController<ControllerPlayer>(*this);
    return controller && controller->GetInventoryCtrl().IsSpaceAvailable(item);
}

bool Player::CanAdoptAPet(std::uint32_t id) {
    if (mAdoptedPets.size() >= kMaxAdoptedPets)
        return false;
    mAdoptedPets.push_back(id);
    return true;
}

void Player::OnCreatureDeath(const GameEvent_CreatureDeath& event) {
    auto pet = std::find(mAdoptedPets.begin(), mAdoptedPets.end(), event.objectId);
    if (pet != mAdoptedPets.end())
        mAdoptedPets.erase(pet);
    Character* dead = FindCharacter(event.objectId);
    if (!dead || event.attackerId != GetObjectId())
        return;
    PlayStats& stats = GetPlayStats();
    const std::uint32_t greatest =
        stats.GetGreatestMonsterKilledLifeAndMana() * stats.GetGreatestMonsterKilledLevel();
    const float lifeAndMana = dead->GetLifeLimit() + dead->GetManaLimit();
    const std::uint32_t score =
        TruncateToUnsigned(static_cast<float>(dead->GetCharLevel()) * lifeAndMana);
    if (score <= greatest)
        return;
    // Characters of other kinds have no name to show.
    if (const auto* player = dynamic_cast<const Player*>(dead))
        stats.SetGreatestMonsterKilledName(player->GetGameDescription(false));
    else if (const auto* monster = dynamic_cast<const Monster*>(dead))
        stats.SetGreatestMonsterKilledName(monster->GetGameDescription(false));
    else
        stats.SetGreatestMonsterKilledName(std::wstring());
    stats.SetGreatestMonsterKilledLevel(dead->GetCharLevel());
    stats.SetGreatestMonsterKilledLifeAndMana(TruncateToUnsigned(lifeAndMana));
}

void Player::CharacterIsDying() {
    Character::CharacterIsDying();
    GameEngine* game = gGameEngine;
    if (!game)
        return;
    if (const unsigned int penalty = game->GetPlayerDeathExperiencePenalty(this, GetAttackerId())) {
        GetExperienceLevelControl().LoseExperience(penalty);
        GetPlayStats().LoseExperience(static_cast<std::int32_t>(penalty));
    }
    if (game->GetMainPlayer() == this)
        game->UnlockTutorialPage(kDeathTutorialPage, true);
}

void Player::ContactWithObject(std::uint32_t objectId) {
    if (Character* victim = FindCharacter(objectId))
        GetPlayStats().IncrementKills(victim->GetExperienceReward(),
                                      victim->GetPlayStats().GetHitsReceived());
}

void Player::AddBoatMaster(const BoatMasterData& data) {
    if (!IsBoatMaster(data.key))
        mBoatMasters.push_back(data);
}

bool Player::IsBoatMaster(const std::string& key) const {
    return std::any_of(mBoatMasters.begin(), mBoatMasters.end(),
                       [&key](const BoatMasterData& data) { return data.key == key; });
}

void Player::GetBoatMaster(const std::string& key, BoatMasterData& out) const {
    for (const BoatMasterData& data : mBoatMasters)
        if (data.key == key)
            out = data;
}

float Player::CalculateStun(float a, float b, float c, float d) const {
    const float remaining = 1.0f - c * 0.01f;
    const float ratio = a / b;
    if (ratio * remaining * 100.0f <= d + 15.0f)
        return 0.0f;
    return (ratio * 3.0f + 1000.0f) * remaining;
}

std::string Player::GetPlayerNameInChar() const {
    static constexpr std::size_t kMaxNameInChar = 1024;
    return LocalizationManager::ToChar(std::wstring_view(mName).substr(0, kMaxNameInChar));
}

float Player::GetUnarmedAnimSpeed() const {
    AnimationSet* unarmed = GetStanceAnimationSet(0);
    return unarmed ? unarmed->GetAnimSpeed(AnimationSet_Type::Attack) : 1.0f;
}

int Player::GetPartyId() const {
    PartyManager* parties = gGameEngine ? gGameEngine->GetPartyManager() : nullptr;
    return parties ? static_cast<int>(parties->GetParty(GetObjectId())) : 0;
}

Team Player::DerivedTeam() const {
    Team team = GetOwnTeam();
    if (IsInvisible() || !team.IsInitialized() || team.GetTeamMajor() != Team::Human)
        return team;
    PartyManager* parties = gGameEngine ? gGameEngine->GetPartyManager() : nullptr;
    team.Set(Team::Human, parties ? parties->GetPlayerFaction(GetObjectId()) : GetObjectId());
    return team;
}

void Player::GetPlayerNetHeartbeatInfo(PlayerNetHeartbeatInfo& info) const {
    info.playerId = GetObjectId();
    info.life = GetCurrentLife();
    info.maxLife = GetLifeLimit();
    info.mana = GetCurrentMana();
    info.maxMana = GetManaLimit();
    info.partyId = GetPartyId();
    info.level = static_cast<int>(GetCharLevel());
    info.classTag = GetClassTag();
    info.position = GetPosition();
    info.statusSkills.clear();
    GetActiveStatusSkills(info.statusSkills);
}

void Player::GetPlayerNetBasicInfo(PlayerNetBasicInfo& info) const {
    GetPlayerNetHeartbeatInfo(info);
    info.playerName = mName;
    info.isMale = GetGender() == 1;
    info.playerId = GetObjectId();
}

}  // namespace GAME
