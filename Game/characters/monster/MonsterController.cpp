// The monster's controller: which one it gets at load, the skills its record hands it, and the
// operations that forward to it.
#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/records/LoadTable.h"
#include "Engine/world/Math.h"
#include "Game/ai/controllers/CharacterController.h"
#include "Game/ai/monster/ControllerMonster.h"
#include "Game/characters/monster/Monster.h"

namespace GAME {

namespace {

constexpr const char* kStubController = "Records/Controllers/Player/CharacterControllerStub.dbr";
constexpr const char* kEditorController = "Records/Controllers/Editor/EditorController.dbr";
constexpr const char* kDefaultController = "Records/Controllers/Monster/DefaultControllerAI.dbr";
// Skill entries a monster record holds.
constexpr unsigned kMonsterSkillEntries = 17;

int SecondsToMs(float seconds) {
    return static_cast<int>(seconds * 1000.0f);
}

// The keys of one special attack block of the record.
struct SpecialAttackKeys {
    const char* skill;
    const char* timeout;
    const char* delay;
    const char* chance;
    const char* range;
};
constexpr SpecialAttackKeys kSpecialAttacks[ControllerMonster::kSpecialAttackCount] = {
    {"specialAttackSkillName", "specialAttackTimeout", "specialAttackDelay", "specialAttackChance",
     "specialAttackRange"},
    {"specialAttack2SkillName", "specialAttack2Timeout", "specialAttack2Delay",
     "specialAttack2Chance", "specialAttack2Range"},
    {"specialAttack3SkillName", "specialAttack3Timeout", "specialAttack3Delay",
     "specialAttack3Chance", "specialAttack3Range"},
    {"specialAttack4SkillName", "specialAttack4Timeout", "specialAttack4Delay",
     "specialAttack4Chance", "specialAttack4Range"},
    {"specialAttack5SkillName", "specialAttack5Timeout", "specialAttack5Delay",
     "specialAttack5Chance", "specialAttack5Range"},
};

using SkillSetter = void (ControllerMonster::*)(std::uint32_t);
struct SkillKey {
    const char* key;
    SkillSetter set;
};
constexpr SkillKey kBuffSkills[] = {
    {"buffSelfSkillName", &ControllerMonster::SetBuffSelfSkill},
    {"buffSelf2SkillName", &ControllerMonster::SetBuffSelf2Skill},
    {"buffSelf3SkillName", &ControllerMonster::SetBuffSelf3Skill},
    {"buffOtherSkillName", &ControllerMonster::SetBuffOtherSkill},
    {"buffOther2SkillName", &ControllerMonster::SetBuffOther2Skill},
    {"buffOther3SkillName", &ControllerMonster::SetBuffOther3Skill},
};

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
    if (ControllerMonster* controller = GetMonsterController())
        InitSkillsInController(record, *controller, defaultSkill);
}

void Monster::InitSkillsInController(const LoadTable& record, ControllerMonster& controller,
                                     std::uint32_t defaultSkillId) {
    controller.SetDefaultAttackSkill(defaultSkillId);
    // A skill counts only when the monster has it; an unknown name is passed over silently.
    auto skillOf = [&](const char* key) -> std::uint32_t {
        const std::string name = record.GetString(key);
        return name.empty() ? 0 : GetSkillManager().FindSkillId(name);
    };
    if (const std::uint32_t id = skillOf("attackSkillName"))
        controller.SetNormalAttackSkill(id);
    for (std::size_t i = 0; i < ControllerMonster::kSpecialAttackCount; ++i) {
        const SpecialAttackKeys& keys = kSpecialAttacks[i];
        if (const std::uint32_t id = skillOf(keys.skill))
            controller.SetSpecialAttack(
                i, id, SecondsToMs(record.GetFloat(keys.timeout, 0.0f)),
                SecondsToMs(record.GetFloat(keys.delay, 0.0f)),
                SaturatedInt(record.GetFloat(keys.chance, 0.0f)),
                ControllerMonster::GetSkillRangeFromString(record.GetString(keys.range)));
    }
    for (const SkillKey& buff : kBuffSkills)
        if (const std::uint32_t id = skillOf(buff.key))
            (controller.*buff.set)(id);
    if (const std::uint32_t id = skillOf("healSkillName"))
        controller.SetHealSkill(id, SecondsToMs(record.GetFloat("healSkillDelay", 3.0f)));
    if (const std::uint32_t id = skillOf("berserkSkillName"))
        controller.SetBerserkSkill(id);
    if (const std::uint32_t id = skillOf("dyingSkillName"))
        controller.SetDyingSkill(id);
    if (const std::uint32_t id = skillOf("initialSkillName"))
        controller.SetInitialSkill(id);
    controller.SetSkillRanges(
        record.GetFloat("shortRangeMin", 0.0f), record.GetFloat("shortRangeMax", 4.0f),
        record.GetFloat("mediumRangeMin", 4.0f), record.GetFloat("mediumRangeMax", 8.0f),
        record.GetFloat("longRangeMin", 8.0f), record.GetFloat("longRangeMax", 16.0f));
    if (const std::uint32_t id = skillOf("chainInitialSkill"))
        controller.SetChainInitialSkill(id);
    if (const std::uint32_t id = skillOf("chainNextSkill"))
        controller.SetChainNextSkill(id);
    if (record.HasKey("chainBehavior")) {
        const std::string behavior = record.GetString("chainBehavior");
        controller.SetChainBehavior(behavior == "UseOnLeader" ? 1
                                    : behavior == "UseOnSelf" ? 2
                                                              : 0);
    }
}

ControllerMonster* Monster::GetMonsterController() const {
    return FindController<ControllerMonster>(*this);
}

void Monster::BrainTransplant(ControllerMonster* controller) {
    // The controller it replaces (the stub of a lobotomy) would have no owner left.
    const std::uint32_t replaced = GetControllerId();
    if (Object* old = replaced != 0 && (!controller || controller->GetObjectId() != replaced)
                          ? Objects().GetObject(replaced)
                          : nullptr)
        Objects().DestroyObjectEx(old, "Game/Monster", __LINE__);
    SetControllerId(controller ? controller->GetObjectId() : 0);
    if (controller)
        controller->SetParentId(GetObjectId());
}

ControllerMonster* Monster::Lobotomize() {
    ControllerMonster* old = GetMonsterController();
    if (!old)
        return nullptr;
    Controller* stub = Objects().CreateObjectFromFile<Controller>(kStubController);
    SetControllerId(stub ? stub->GetObjectId() : 0);
    return old;
}

void Monster::SetLifetime(int ms) {
    if (ControllerMonster* controller = GetMonsterController())
        controller->SetLifetime(ms);
}

void Monster::TransferAnger(Monster& other) {
    ControllerMonster* mine = GetMonsterController();
    ControllerMonster* theirs = other.GetMonsterController();
    if (mine && theirs)
        mine->TransferAnger(*theirs);
}

void Monster::ClearAnger() {
    if (ControllerMonster* controller = GetMonsterController())
        controller->ClearAnger();
}

void Monster::SetTreasureProxy(const std::string& name) {
    if (ControllerMonster* controller = GetMonsterController())
        controller->SetTreasureProxy(name);
}

bool Monster::RequestConversation(const Monster& other) {
    if (auto* controller = FindController<ControllerAI>(*this))
        return controller->RequestConversation(other.GetObjectId());
    gEngine->Log(2, "%s does not have a controller.", GetObjectName().c_str());
    return false;
}

void Monster::ControllerNewLeader(std::uint32_t leaderId) {
    if (ControllerMonster* controller = GetMonsterController())
        controller->NewLeader(leaderId);
}

void Monster::CombatExertInfluenceConfusion(int amount) {
    if (ControllerMonster* controller = GetMonsterController())
        controller->Confuse(amount);
}

}  // namespace GAME
