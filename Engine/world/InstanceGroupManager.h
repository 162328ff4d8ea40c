#pragma once
// Named groups of object classes ("Monsters And Weapons" holds monsters and weapons), and the
// level's instance groups of placed entities. A class is named rather than referenced, so a group
// can name a class before its library registers it.
//
// The level loader thread adds groups while the game thread may ask about them: askers hold
// LockGroupList around a query and the pointers it gives them.
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "Engine/sys/CriticalSection.h"
#include "Engine/world/InstanceGroup.h"

namespace GAME {

class Object;
class RTTI_ClassInfo;

class InstanceGroupManager {
public:
    static InstanceGroupManager* Get();
    static void Destroy();

    void AddGroupAffiliation(const std::string& group, const RTTI_ClassInfo& classInfo);
    void AddGroupAffiliation(const std::string& group, const char* className);
    // True when the object's class is, or derives from, a class of the group.
    bool IsInGroup(const Object& object, const std::string& group) const;
    const std::vector<std::pair<std::string, std::string>>& GetAffiliations() const {
        return mAffiliations;
    }

    // Instance groups, in level order (a child after its parent). A taken name is refused
    // (null).
    InstanceGroup* AddGroup(const std::string& name, const std::string& type,
                            InstanceGroup* parent = nullptr);
    void ClearGroups();
    std::size_t GetNumGroups() const { return mGroups.size(); }
    InstanceGroup* GetGroup(std::size_t index) const {
        return index < mGroups.size() ? mGroups[index].get() : nullptr;
    }
    InstanceGroup* GetGroup(const std::string& name) const;
    // Appends the names of the groups that hold the id, in level order.
    void GetGroupsThatContain(const UniqueId& id, std::vector<std::string>& out) const;
    void LockGroupList() { mGroupLock.Enter(); }
    void UnlockGroupList() { mGroupLock.Exit(); }

private:
    std::vector<std::pair<std::string, std::string>> mAffiliations;  // group, class name
    std::vector<std::unique_ptr<InstanceGroup>> mGroups;
    mutable CriticalSection mGroupLock;
};

// Holds the group list for a scope.
class GroupListLock {
public:
    GroupListLock() : mGroups(*InstanceGroupManager::Get()) { mGroups.LockGroupList(); }
    ~GroupListLock() { mGroups.UnlockGroupList(); }
    GroupListLock(const GroupListLock&) = delete;
    GroupListLock& operator=(const GroupListLock&) = delete;

private:
    InstanceGroupManager& mGroups;
};

}  // namespace GAME
