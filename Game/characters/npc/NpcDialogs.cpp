// The NPC's dialog packs and the marks over its head.
#include "Engine/Engine.h"
#include "Engine/media/graphics/EffectEntity.h"
#include "Engine/object/ObjectManager.h"
#include "Game/characters/npc/Npc.h"
#include "Game/characters/npc/NpcQuestActions.h"
#include "Game/core/GameEngine.h"
#include "Game/core/GameUIInterface.h"
#include "Game/core/util/ServerObjectIds.h"
#include "Game/quests/dialog/Dialog.h"
#include "Game/quests/dialog/NpcDialogPak.h"
#include "Game/world/props/Decoration.h"

namespace GAME {

void Npc::Dialog_ReplaceStatic(const std::string& dialogFile, NpcDialogUpdateAction* updateAction,
                               bool noPrimaryDialog) {
    if (IsBoatMaster())
        return;
    SetPlayerNpcDialog(updateAction);
    NpcDialogPak* pack = dialogFile.empty() ? nullptr : NpcDialogPak::Spawn(dialogFile);
    ReplaceDialogPak(pack);
    if (pack) {
        if (mDialogType == DialogType_Default || !mIlluminateAction || noPrimaryDialog)
            AttachPunctuation(mDialogType == DialogType_Default ? kQuestion01 : kExclamation03);
        if (noPrimaryDialog)
            if (Dialog* primary = pack->GetPrimaryDialog())
                primary->SetHasBeenPlayed(true);
    } else {
        DetachPunctuation();
    }
    mDialogUpdateAction = updateAction;
}

void Npc::ReplaceDialogPak(NpcDialogPak* pack) {
    mDialogStateChanged = true;
    DestroyDialogPak();
    mDialogPak = pack;
}

void Npc::DestroyDialogPak() {
    NpcDialogPak* pack = std::exchange(mDialogPak, nullptr);
    if (!pack)
        return;
    // The NPC alone owns its pack: the interface that shows it lets go of it first.
    GameUIInterface* ui = gGameEngine ? gGameEngine->GetUI() : nullptr;
    if (ui && ui->IsDialogPakShown(pack))
        ui->CloseDialogPak();
    NpcDialogPak::Destroy(pack);
}

void Npc::Dialog_Push(NpcDialogPak* pack) {
    if (pack)
        mDialogStack.insert(mDialogStack.begin(), std::unique_ptr<NpcDialogPak>(pack));
}

void Npc::Dialog_Push(const std::string& record) {
    Dialog_Push(NpcDialogPak::Spawn(record));
}

void Npc::Dialog_Append(NpcDialogPak* pack) {
    if (pack)
        mDialogStack.emplace_back(pack);
}

void Npc::Dialog_Append(const std::string& record) {
    Dialog_Append(NpcDialogPak::Spawn(record));
}

NpcDialogPak* Npc::Dialog_Pop() {
    if (mDialogStack.empty())
        return nullptr;
    NpcDialogPak* front = mDialogStack.front().release();
    mDialogStack.erase(mDialogStack.begin());
    return front;
}

void Npc::Dialog_Illuminate(NpcIlluminateAction* action) {
    SetPlayerNpcIllumination(action);
    if (action && action->IsDeluminate()) {
        Dialog_Deluminate();
        return;
    }
    mDialogStateChanged = true;
    mIlluminateAction = action;
    DetachPunctuation();
    switch (action ? action->GetIlluminationType() : 0) {
        case 1:
            AttachPunctuation(kExclamation02);
            break;
        case 2:
            AttachPunctuation(kQuestion01);
            break;
        case 3:
            AttachIllumination(mIlluminationName);
            break;
        default:
            break;
    }
}

void Npc::Dialog_Deluminate() {
    mDialogStateChanged = true;
    switch (mDialogType) {
        case DialogType_Exclamation:
            AttachPunctuation(kExclamation03);
            break;
        case DialogType_Question:
        case DialogType_Default:
            AttachPunctuation(kQuestion03);
            break;
        case DialogType_Illumination:
            DetachIllumination();
            break;
        default:
            break;
    }
    if (NpcIlluminateAction* action = std::exchange(mIlluminateAction, nullptr))
        action->SetDeluminate();
}

void Npc::AttachPunctuation(const std::string& record) {
    if (record.empty() || record == mPunctuationName)
        return;
    DetachPunctuation();
    mPunctuationName = record;
    auto* mark = Objects().CreateObjectFromFile<Decoration>(
        record, CreateServerObjectId(ServerIdBand::Presentation));
    if (!mark)
        return;
    mPunctuationId = mark->GetObjectId();
    Attach(mark, Coords::FromOrigin(Vec3(0.0f, 3.0f, 0.0f)), "Head");
}

void Npc::DetachPunctuation() {
    if (auto* mark = Objects().GetObject<Decoration>(mPunctuationId)) {
        Detach(mark);
        Objects().DestroyObjectEx(mark, "Game/Npc", __LINE__);
    }
    mPunctuationId = 0;
    mPunctuationName.clear();
}

void Npc::AttachIllumination(const std::string& record) {
    if (mIlluminationId != 0)
        return;
    auto* effect = Objects().CreateObjectFromFile<EffectEntity>(
        record, CreateServerObjectId(ServerIdBand::Presentation));
    if (!effect)
        return;
    mIlluminationId = effect->GetObjectId();
    Attach(effect, Coords::Identity(), nullptr);
    effect->StartEmitting();
}

void Npc::DetachIllumination() {
    if (auto* effect = Objects().GetObject<EffectEntity>(mIlluminationId)) {
        effect->StopEmitting();
        Detach(effect);
        Objects().DestroyObjectEx(effect, "Game/Npc", __LINE__);
    }
    mIlluminationId = 0;
}

}  // namespace GAME
