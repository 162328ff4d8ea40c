#include "Game/characters/npc/Npc.h"

#include <algorithm>
#include <cmath>

#include "Engine/Engine.h"
#include "Engine/media/graphics/GraphicsEngine.h"
#include "Engine/object/MinimapGameNugget.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/records/LoadTable.h"
#include "Engine/text/LocalizationManager.h"
#include "Engine/world/World.h"
#include "Game/ai/controllers/ControllerBaseCharacter.h"
#include "Game/characters/Player.h"
#include "Game/characters/actions/IdleActions.h"
#include "Game/characters/npc/NpcEvents.h"
#include "Game/characters/npc/NpcQuestActions.h"
#include "Game/characters/npc/herd/NpcHerdRegistry.h"
#include "Game/core/ActivityManager.h"
#include "Game/core/GameEngine.h"
#include "Game/core/GameUIInterface.h"
#include "Game/core/activities/TeleportConfirmActivity.h"
#include "Game/items/loot/LootDrop.h"
#include "Game/quests/QuestRepository.h"
#include "Game/quests/conversation/NpcConversationManager.h"
#include "Game/quests/dialog/NpcDialogPak.h"
#include "Game/world/WorldRandom.h"
#include "Game/world/props/Decoration.h"

namespace GAME {

RTTI_IMPLEMENT(Npc, Character)

namespace {
constexpr const char* kStubController = "Records/Controllers/Player/CharacterControllerStub.dbr";
constexpr const char* kEditorController = "Records/Controllers/Editor/EditorController.dbr";
constexpr const char* kNpcController = "Records/Controllers/Npc/Npc2Controller.dbr";
constexpr const char* kIlluminationEffect = "Records/Effects/EnvironmentFX/NPCEffect.dbr";
}  // namespace

Npc::Npc()
    : mCompletionFunctor(
          std::make_unique<MemberCallbackFunctor<Npc>>(this, &Npc::OnDialogComplete)) {
    SetPathMass(5.0f);
}

Npc::~Npc() {
    DestroyDialogPak();
    DetachPunctuation();
    DetachIllumination();
    if (mAlertAnim)
        GraphicsEngine::Get().UnloadAnimation(mAlertAnim);
}

void Npc::Load(const LoadTable& table) {
    Character::Load(table);
    mMessageFileName = table.GetString("messageFileName", "NoFile");
    mMessageScrollRate = table.GetFloat("messageScrollRate", 1.0f);
    mMessageDialogTag = table.GetString("messageDialogTag");
    mAIType = table.GetString("AIType");
    mDescriptionTag = table.GetString("description");
    // The engine's default clip is a name no record gives; only a named one is loaded.
    if (const std::string alert = table.GetString("alertAnim"); !alert.empty())
        mAlertAnim = LoadAnimation(alert);
    mAlertAnimSpeed = table.GetFloat("alertAnimSpeed", 1.0f);
    mIlluminationName = kIlluminationEffect;
    mAvailableForConversations = table.GetBool("isAvailableForConversations", true);
    mIncludeInMap = table.GetBool("IncludeInMap", false);
    mIsInHerd = table.GetBool("isInHerd", false);
    mHerdName = table.GetString("isHerderFor");
    mIsAttractor = table.GetBool("isNpcAttractor", false);
    if (mIsAttractor) {
        mAttractionTimeMin = table.GetInt("attractionTimeMin", 3);
        mAttractionTimeMax = table.GetInt("attractionTimeMax", 4);
    }
    mCanBeAttracted = table.GetBool("canBeAttracted", true);
    mDialogPakName = table.GetString("dialogPak");
    // The sideline conversations this NPC takes part in.
    mConversationPakName = table.GetString("conversationPak");
    if (gEngine->IsClient()) {
        mControllerRecord = kStubController;
    } else if (gEngine->IsEditor()) {
        mControllerRecord = kEditorController;
    } else {
        mControllerRecord = kNpcController;
        GetSkillManager().SetAsControllingManager();
    }
    LoadController();
}

void Npc::LoadController() {
    const std::string record = std::move(mControllerRecord);
    mControllerRecord.clear();
    if (record.empty())
        return;
    if (Controller* controller = Objects().CreateObjectFromFile<Controller>(record))
        SetControllerId(controller->GetObjectId());
}

void Npc::SetController(const std::string& record) {
    if (gEngine->IsEditor())
        return;
    if (Object* old = GetControllerId() != 0 ? Objects().GetObject(GetControllerId()) : nullptr)
        Objects().DestroyObjectEx(old, "Game/Npc", __LINE__);
    SetControllerId(0);
    // A client follows what the deciding machine's controller does; it makes a stub in its
    // place, which takes the object id the others' controller takes.
    const bool client = gEngine->IsClient();
    if (Controller* controller =
            Objects().CreateObjectFromFile<Controller>(client ? kStubController : record)) {
        SetControllerId(controller->GetObjectId());
        controller->AttachParent(GetObjectId());
    }
    if (!client)
        GetSkillManager().SetAsControllingManager();
}

void Npc::InitialUpdate() {
    if (!gEngine->IsEditor() && !mDialogPakName.empty())
        Dialog_ReplaceStatic(mDialogPakName, nullptr, false);
    if (Controller* controller = Objects().GetObject<Controller>(GetControllerId()))
        controller->AttachParent(GetObjectId());
    RestoreInteractState();
    Character::InitialUpdate();
    if (mIsInHerd)
        NpcHerdRegistry::Get().AddHerdMember(GetObjectName(), GetObjectId());
    else if (!mHerdName.empty())
        NpcHerdRegistry::Get().AddHerder(mHerdName, GetObjectId());
    if (!gEngine->IsEditor() && mAvailableForConversations && !mConversationPakName.empty())
        NpcConversationManager::Get().AddSpeaker(GetObjectId(), mConversationPakName);
}

void Npc::UpdateSelf(int ms) {
    Character::UpdateSelf(ms);
    Update_Dialog(ms);
    if (mConversationCooldown > 0)
        mConversationCooldown -= ms;
    if (mIgnoreAttractionTime > 0)
        mIgnoreAttractionTime -= ms;
    RebuildPunctuationOffset();
}

void Npc::RebuildPunctuationOffset() {
    Decoration* mark = mPunctuationId ? Objects().GetObject<Decoration>(mPunctuationId) : nullptr;
    if (!mark || !gGameEngine)
        return;
    const WorldVec3 camera = gGameEngine->GetCamera()->GetPosition();
    if (!camera.IsValid())
        return;
    // The mark turns about the vertical to face the camera, seen from above.
    Vec3 facing = GetCoords().coords.zAxis;
    Vec3 toCamera = GetPosition().VectorTo(camera);
    facing.y = 0.0f;
    toCamera.y = 0.0f;
    if (facing.LengthSquared() == 0.0f || toCamera.LengthSquared() == 0.0f)
        return;
    facing = facing.Unit();
    toCamera = toCamera.Unit();
    float angle = std::acos(std::clamp(facing.Dot(toCamera), -1.0f, 1.0f));
    if (toCamera.Cross(facing).y > 0.0f)
        angle = -angle;
    Coords offset = Coords::FromAxisAngle(Vec3(0.0f, 1.0f, 0.0f), angle);
    offset.origin = Vec3(0.0f, 3.0f, 0.0f);
    mark->SetAttachOffset(offset);
}

void Npc::Update_Dialog(int ms) {
    if (mGreetingCountdown > 0) {
        mGreetingCountdown -= ms;
        if (mGreetingCountdown < 1) {
            mGreetingCountdown = 0;
            if (mDialogPak) {
                if (mDialogType == DialogType_Default)
                    AttachPunctuation(kQuestion01);
                mDialogPak->ResetIrritation();
            }
        }
    }
    if (mDialogPak && mDialogPak->IsIrritated()) {
        const Player* player = gGameEngine ? gGameEngine->GetMainPlayer() : nullptr;
        const float reset = mDialogPak->GetResetDistance();
        if (player &&
            World::Get().GetDistanceSquared(player->GetPosition(), GetPosition()) > reset * reset)
            mDialogPak->ResetIrritation();
    }
}

bool Npc::IsMainPlayer(std::uint32_t id) {
    return gGameEngine && id != 0 && gGameEngine->GetPlayerId() == id;
}

bool Npc::IsOfInterest() const {
    return HasDialog() || IsBoatMaster();
}

bool Npc::IncludeInMap() const {
    return mIncludeInMap && IsVisible();
}

std::wstring Npc::GetGameDescription(bool) const {
    return mDescriptionTag.empty() ? std::wstring()
                                   : LocalizationManager::Instance().GetText(mDescriptionTag);
}

void Npc::AppendDetailMapData(std::vector<MinimapGameNugget>& nuggets) const {
    if (!IncludeInMap())
        return;
    MinimapGameNugget nugget;
    nugget.kind = 2;
    nugget.label = GetGameDescription(false);
    nugget.position = GetPosition();
    nugget.vector = GetCoords().coords.zAxis;
    nuggets.push_back(nugget);
}

bool Npc::CanBeAttracted() const {
    return mIgnoreAttractionTime > 0 ? false : mCanBeAttracted;
}

float Npc::GetMinRotationSpeed() const {
    if (GetPathGenerationStyle() != CharacterPathGenerationStyle::Sheep)
        return Character::GetMinRotationSpeed();
    return GetMotion().Length() * 0.25f * 3.0f;
}

float Npc::GetMaxRotationSpeed() const {
    if (GetPathGenerationStyle() != CharacterPathGenerationStyle::Sheep)
        return Character::GetMaxRotationSpeed();
    return GetMotion().Length() * 0.25f * 9.0f;
}

int Npc::GetAttractionTime() const {
    if (!mIsAttractor)
        return 0;
    return RandomInt(mAttractionTimeMin * 1000, mAttractionTimeMax * 1000);
}

int Npc::GetAttractionTime(CrtGenerator& random) const {
    if (!mIsAttractor)
        return 0;
    return random.Int(mAttractionTimeMin * 1000, mAttractionTimeMax * 1000);
}

std::uint32_t Npc::GetSocialTarget() const {
    return mSocialTargets.empty() ? 0 : mSocialTargets.front();
}

bool Npc::IsChattingWithPlayer(std::uint32_t id) const {
    return std::find(mSocialTargets.begin(), mSocialTargets.end(), id) != mSocialTargets.end();
}

bool Npc::WillYouChat(std::uint32_t id) {
    mSocialTargets.push_back(id);
    return true;
}

void Npc::AddSocialTarget(std::uint32_t id) {
    if (!IsChattingWithPlayer(id))
        mSocialTargets.push_back(id);
}

void Npc::DeleteSocialTarget(std::uint32_t id) {
    if (auto it = std::find(mSocialTargets.begin(), mSocialTargets.end(), id);
        it != mSocialTargets.end())
        mSocialTargets.erase(it);
}

bool Npc::IsAvailableForConversations() const {
    return mAvailableForConversations && !mInSidelineConversation && mConversationCooldown < 1;
}

float Npc::GetDistanceToPlayer() const {
    const Player* player = gGameEngine ? gGameEngine->GetMainPlayer() : nullptr;
    return player ? player->GetPosition().DistanceTo(GetPosition()) : 0.0f;
}

float Npc::GetDialogFade() const {
    const Player* player = gGameEngine ? gGameEngine->GetMainPlayer() : nullptr;
    if (!player)
        return 0.0f;
    const float d2 = World::Get().GetDistanceSquared(player->GetPosition(), GetPosition());
    return std::clamp(1.0f - (d2 - 9.0f) * 0.023668639f, 0.0f, 1.0f);
}

void Npc::SetDispenseItem(std::uint32_t playerId, const std::string& itemRecord) {
    mDispense[playerId] = itemRecord;
}

void Npc::OnPlayerInteract(std::uint32_t playerId, bool, bool) {
    Converse(playerId);
    DispenseItem(playerId);
}

void Npc::DispenseItem(std::uint32_t playerId) {
    std::string& record = mDispense[playerId];
    // The deciding machine makes the item, under an id of its own, for every machine; only
    // the player who talks gets it, and one item for each time it was set to be given.
    if (record.empty() || !gGameEngine || !gGameEngine->IsServerOrSingle())
        return;
    const Character* player = Objects().GetObject<Character>(playerId);
    if (!player || player->HasItem(record))
        return;
    ItemReplicaInfo item;
    item.baseName = std::exchange(record, std::string());
    item.seed = gGameEngine->GetRandomSeed();
    DropLootRecord(GetCoords(), item);
}

void Npc::Converse(std::uint32_t characterId) {
    Player* player = gGameEngine ? gGameEngine->GetMainPlayer() : nullptr;
    if (IsBoatMaster() && player && characterId == player->GetObjectId()) {
        BoatMasterData boat;
        player->GetBoatMaster(PlayerRecordKey(), boat);
        const Vec3 point(static_cast<float>(static_cast<std::int32_t>(boat.values[0])),
                         static_cast<float>(static_cast<std::int32_t>(boat.values[1])),
                         static_cast<float>(static_cast<std::int32_t>(boat.values[2])));
        if (Region* region = World::Get().GetRegionContainingPoint(point)) {
            auto* activity = new TeleportConfirmActivity();
            activity->Set(boat.destination,
                          WorldVec3(region, point - region->GetOffsetFromWorld()));
            ActivityManager::Get()->InstallActivity(activity);
        }
        return;
    }
    if (!IsAvailableForConversations())
        return;
    mConversationCooldown = kConversationCooldownMs;
    const bool main = IsMainPlayer(characterId);
    GameUIInterface* ui = gGameEngine ? gGameEngine->GetUI() : nullptr;
    bool asked = false;
    bool answer = false;
    if (main && mDialogPak) {
        QuestRepository::Get()->EnableDelayedActions(true);
        asked = true;
        answer = ui ? ui->AskConversationQuestion() : false;
    }
    GameEvent_ConversationBegin begin;
    begin.name = GetObjectName();
    begin.npcId = GetObjectId();
    begin.playerId = characterId;
    SendGameEvent(begin, "ConversationBegin");
    if (main) {
        if (NpcDialogPak* front = Dialog_Pop())
            mSpokenDialogs.emplace_back(front);
        if (mDialogPak) {
            // The interface borrows the pack; the NPC keeps it (see DestroyDialogPak).
            if (ui)
                ui->OpenNpcDialogPak(GetObjectId(), characterId, mDialogPak);
            Dialog_Deluminate();
            mGreetingCountdown = mDialogPak->GetShortGreetingTimerTime() * 1000;
            if (mDialogUpdateAction)
                mDialogUpdateAction->SetNoPrimaryDialog(true);
        }
    }
    if (!asked || answer)
        QuestRepository::Get()->EnableDelayedActions(false);
}

void Npc::OnDialogComplete() {
    if (!mSocialTargets.empty())
        mSocialTargets.erase(mSocialTargets.begin());
    else if (!mSpokenDialogs.empty())
        mSpokenDialogs.erase(mSpokenDialogs.begin());
}

bool NpcWithinTalkReach(const Character& talker, const Npc& npc) {
    constexpr float kTalkReach = 10.0f;
    return npc.IsInWorld() && talker.GetPosition().DistanceTo(npc.GetPosition()) <= kTalkReach;
}

void Npc::Dialog_TriggerAlert(std::uint32_t characterId) {
    if (!Objects().GetObject<Character>(characterId))
        return;
    if (auto* controller = Objects().GetObject<ControllerBaseCharacter>(GetControllerId()))
        controller->HandleAction(std::make_unique<LongIdleAction>(GetObjectId()));
    GameEvent_ConversationAlert alert;
    alert.npcId = GetObjectId();
    SendGameEvent(alert, "ConversationAlert");
    mAlert = true;
    mAlertTime = 2500;
}

}  // namespace GAME
