#include "Game/items/inventory/PotionStack.h"

#include "Engine/object/ObjectManager.h"
#include "Engine/sys/Machine.h"
#include "Game/items/oneshot/OneShot.h"

namespace GAME {

namespace {
OneShot_Potion* FindPotion(std::uint32_t id) {
    return Singleton<ObjectManager>::Get().GetObject<OneShot_Potion>(id);
}
}  // namespace

void PotionStack::ShowCount() const {
    if (OneShot_Potion* potion = FindPotion(mVisible))
        potion->SetStackCount(GetNumberInStack());
}

void PotionStack::PushStack(std::uint32_t id) {
    mHidden.push_back(id);
    ShowCount();
}

std::uint32_t PotionStack::PopStack() {
    if (mHidden.empty())
        return 0;
    const std::uint32_t id = mHidden.back();
    mHidden.pop_back();
    ShowCount();
    return id;
}

bool PotionStack::IsStackFull() const {
    const OneShot_Potion* potion = FindPotion(mVisible);
    return !potion || potion->IsStackFull();
}

void PotionStack::GetPotions(std::uint32_t& visible, std::vector<std::uint32_t>& ids) const {
    visible = mVisible;
    ids.insert(ids.end(), mHidden.begin(), mHidden.end());
}

}  // namespace GAME
