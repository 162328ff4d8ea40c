#include "Game/characters/ambient/AmbientCharacter.h"

#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/records/LoadTable.h"
#include "Engine/text/LocalizationManager.h"
#include "Game/ai/controllers/CharacterController.h"
#include "Game/ai/controllers/ControllerCombat.h"
#include "Game/characters/CharacterSummary.h"

namespace GAME {

RTTI_IMPLEMENT(AmbientCharacter, Character)

namespace {
constexpr const char* kAmbientStubController =
    "Records/Controllers/Player/CharacterControllerStub.dbr";
constexpr const char* kAmbientEditorController = "Records/Controllers/Editor/EditorController.dbr";
constexpr const char* kStoogeController = "ControllerStooge";
}  // namespace

AmbientCharacter::~AmbientCharacter() {
    if (mPendingController)
        Singleton<ObjectManager>::Get().DestroyObjectEx(mPendingController, "Game/AmbientCharacter",
                                                        __LINE__);
}

void AmbientCharacter::Load(const LoadTable& table) {
    Character::Load(table);
    mDescriptionTag = table.GetString("description");
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    if (gEngine->IsClient()) {
        mPendingController = objects.CreateObjectFromFile<Controller>(kAmbientStubController);
    } else if (gEngine->IsEditor()) {
        mPendingController = objects.CreateObjectFromFile<Controller>(kAmbientEditorController);
    } else {
        if (table.GetString("controllerType") == "Stooge")
            mPendingController = dynamic_cast<Controller*>(objects.CreateObject(kStoogeController));
        GetSkillManager().SetAsControllingManager();
    }
    GetSkillManager().LoadSkills(table, kSkillEntries);
    if (const std::string skill = table.GetString("skill1"); !skill.empty())
        mSkillId1 = GetSkillManager().FindSkillId(skill);
}

void AmbientCharacter::InitialUpdate() {
    Character::InitialUpdate();
    if (mPendingController) {
        SetControllerId(mPendingController->GetObjectId());
        mPendingController->AttachParent(GetObjectId());
        mPendingController = nullptr;
    }
    if (!GetTeam().IsInitialized())
        SetTeam(TeamManager::DefaultMonsterTeam());
}

void AmbientCharacter::CreateUISummaryText(GameTextClass textClass,
                                           std::vector<GameTextLine>& lines) const {
    AppendCreatureSummaryText(*this, LocalizationManager::Instance().GetText(mDescriptionTag),
                              textClass, lines);
}

void AmbientCharacter::UnderAttack(std::uint32_t attackerId) {
    if (auto* controller = FindController<ControllerCombat>(*this))
        controller->UnderAttack(attackerId);
}

}  // namespace GAME
