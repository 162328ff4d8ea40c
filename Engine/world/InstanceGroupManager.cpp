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

bool InstanceGroup::Contains(const UniqueId& id) const {
    for (const UniqueId& member : mMembers)
        if (member == id)
            return true;
    return false;
}

void InstanceGroup::FillIdList(std::vector<UniqueId>& out) const {
    out.insert(out.end(), mMembers.begin(), mMembers.end());
}

InstanceGroup* InstanceGroupManager::AddGroup(const std::string& name, const std::string& type,
                                              InstanceGroup* parent) {
    CriticalSectionLock lock(mGroupLock);
    if (GetGroup(name))
        return nullptr;
    mGroups.push_back(std::make_unique<InstanceGroup>(name, type));
    InstanceGroup* group = mGroups.back().get();
    if (parent)
        parent->AddChild(group);
    return group;
}

void InstanceGroupManager::ClearGroups() {
    CriticalSectionLock lock(mGroupLock);
    mGroups.clear();
}

InstanceGroup* InstanceGroupManager::GetGroup(const std::string& name) const {
    CriticalSectionLock lock(mGroupLock);
    for (const auto& group : mGroups)
        if (group->GetName() == name)
            return group.get();
    return nullptr;
}

void InstanceGroupManager::GetGroupsThatContain(const UniqueId& id,
                                                std::vector<std::string>& out) const {
    CriticalSectionLock lock(mGroupLock);
    if (id.IsNull())
        return;
    for (const auto& group : mGroups)
        if (group->Contains(id))
            out.push_back(group->GetName());
}

}  // namespace GAME
