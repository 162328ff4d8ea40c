#include "Game/characters/npc/NpcSkillReallocator.h"

#include "Engine/object/MinimapGameNugget.h"
#include "Game/core/GameEngine.h"
#include "Game/quests/dialog/MerchantDialogPak.h"

namespace GAME {

RTTI_IMPLEMENT(NpcSkillReallocator, Npc)

NpcSkillReallocator::NpcSkillReallocator() {
    SetDialogType(DialogType_SkillReallocator);
}

void NpcSkillReallocator::Load(const LoadTable& table) {
    Npc::Load(table);
    AttachPunctuation(kMark);
}

void NpcSkillReallocator::Dialog_ReplaceStatic(const std::string& dialogFile,
                                               NpcDialogUpdateAction*, bool) {
    DestroyDialogPak();
    if (MerchantDialogPak* pack = MerchantDialogPak::Spawn(dialogFile))
        ReplaceDialogPak(pack);
}

void NpcSkillReallocator::OnPlayerInteract(std::uint32_t playerId, bool, bool) {
    if (!IsMainPlayer(playerId))
        return;
    if (gGameEngine->DisplaySkillReallocationWindow(GetObjectId()))
        Dialog_Hello();
}

void NpcSkillReallocator::SpeakMode(int mode) {
    auto* pack = dynamic_cast<MerchantDialogPak*>(GetDialogPak());
    if (!pack)
        return;
    pack->SetMode(mode);
    pack->Speak(nullptr);
}

void NpcSkillReallocator::Dialog_Hello() {
    SpeakMode(MerchantDialogPak::Short);
}

void NpcSkillReallocator::Dialog_Goodbye() {
    SpeakMode(MerchantDialogPak::Goodbye);
}

void NpcSkillReallocator::AppendDetailMapData(std::vector<MinimapGameNugget>& nuggets) const {
    MinimapGameNugget nugget;
    nugget.kind = 10;
    nugget.label = GetGameDescription(false);
    nugget.position = GetPosition();
    nugget.vector = GetCoords().coords.zAxis;
    nuggets.push_back(nugget);
}

}  // namespace GAME
