#include "Engine/world/InstanceGroupManager.h"

#include "Engine/object/Object.h"
#include "Engine/sys/Machine.h"

namespace GAME {

InstanceGroupManager* InstanceGroupManager::Get() {
    return &Machine::Current().Get<InstanceGroupManager>();
}

void InstanceGroupManager::Destroy() {
    Machine::Current().Reset<InstanceGroupManager>();
}

void InstanceGroupManager::AddGroupAffiliation(const std::string& group,
                                               const RTTI_ClassInfo& classInfo) {
    mAffiliations.emplace_back(group, classInfo.GetClassName());
}

void InstanceGroupManager::AddGroupAffiliation(const std::string& group, const char* className) {
    mAffiliations.emplace_back(group, className ? className : "");
}

bool InstanceGroupManager::IsInGroup(const Object& object, const std::string& group) const {
    for (const auto& [name, className] : mAffiliations) {
        if (name != group)
            continue;
        for (const RTTI_ClassInfo* info = &object.GetClassInfo(); info; info = info->GetParent())
            if (className == info->GetClassName())
                return true;
    }
    return false;
}

}  // namespace GAME
