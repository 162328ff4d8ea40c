// The monster's controller: which one it gets at load, the skills its record hands it, and the
// operations that forward to it.
#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/records/LoadTable.h"
#include "Game/ai/controllers/CharacterController.h"
#include "Game/ai/monster/ControllerMonster.h"
#include "Game/characters/monster/Monster.h"
#include "Game/characters/monster/MonsterSeams.h"
#include "Game/core/ObjectLookup.h"

namespace GAME {

namespace {

constexpr const char* kStubController = "Records/Controllers/Player/CharacterControllerStub.dbr";
constexpr const char* kEditorController = "Records/Controllers/Editor/EditorController.dbr";
constexpr const char* kDefaultController = "Records/Controllers/Monster/DefaultControllerAI.dbr";
// Skill entries a monster record holds.
constexpr unsigned kMonsterSkillEntries = 17;

ObjectManager& Objects() {
    return Singleton<ObjectManager>::Get();
}

}  // namespace

void Monster::LoadController(const LoadTable& record) {
    std::string controllerName;
    if (gEngine->IsClient()) {
        controllerName = kStubController;
        SetIsControllingCharacter(false);
    } else if (gEngine->IsEditor()) {
        controllerName = kEditorController;
        SetIsControllingCharacter(true);
    } else {
        controllerName = record.GetString("controller", kDefaultController);
        GetSkillManager().SetAsControllingManager();
        SetIsControllingCharacter(true);
    }
    if (Controller* controller = Objects().CreateObjectFromFile<Controller>(controllerName))
        SetControllerId(controller->GetObjectId());

    GetSkillManager().ParentIsMonster();
    GetSkillManager().LoadSkills(record, kMonsterSkillEntries);
    const std::uint32_t defaultSkill = GetSkillManager().LoadDefaultSkills();
    if (GetMonsterController() && defaultSkill != 0)
        ReportMonsterSeam(MonsterSeam::ControllerMonsterCalls);
}

void Monster::InitSkillsInController(const LoadTable&, ControllerMonster&, std::uint32_t) {
    ReportMonsterSeam(MonsterSeam::ControllerMonsterCalls);
}

ControllerMonster* Monster::GetMonsterController() const {
    return reinterpret_cast<ControllerMonster*>(
        FindObjectOfClass(GetControllerId(), "ControllerMonster"));
}

void Monster::BrainTransplant(ControllerMonster* controller) {
    Object* object = controller;
    SetControllerId(object ? object->GetObjectId() : 0);
    if (auto* base = static_cast<Controller*>(FindObjectOfClass(GetControllerId(), "Controller")))
        base->SetParentId(GetObjectId());
}

ControllerMonster* Monster::Lobotomize() {
    ControllerMonster* old = GetMonsterController();
    if (!old)
        return nullptr;
    Controller* stub = Objects().CreateObjectFromFile<Controller>(kStubController);
    SetControllerId(stub ? stub->GetObjectId() : 0);
    return old;
}

void Monster::SetLifetime(int) {
    if (GetMonsterController())
        ReportMonsterSeam(MonsterSeam::ControllerMonsterCalls);
}

void Monster::TransferAnger(Monster& other) {
    if (GetMonsterController() && other.GetMonsterController())
        ReportMonsterSeam(MonsterSeam::ControllerMonsterCalls);
}

void Monster::ClearAnger() {
    if (GetMonsterController())
        ReportMonsterSeam(MonsterSeam::ControllerMonsterCalls);
}

void Monster::SetTreasureProxy(const std::string&) {
    if (GetMonsterController())
        ReportMonsterSeam(MonsterSeam::ControllerMonsterCalls);
}

bool Monster::RequestConversation(const Monster& other) {
    if (auto* controller = FindController<ControllerAI>(*this))
        return controller->RequestConversation(other.GetObjectId());
    gEngine->Log(2, "%s does not have a controller.", GetObjectName().c_str());
    return false;
}

void Monster::ControllerNewLeader(std::uint32_t) {
    if (GetMonsterController())
        ReportMonsterSeam(MonsterSeam::ControllerMonsterCalls);
}

void Monster::CombatExertInfluenceConfusion(int) {
    if (GetMonsterController())
        ReportMonsterSeam(MonsterSeam::ControllerMonsterCalls);
}

}  // namespace GAME
