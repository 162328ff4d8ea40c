#pragma once
// A group a level designer made of placed entities: a name (unique in the level), a type string
// that says what the game does with it ("Patrollers", "Unique Proxies"), its members' unique ids
// and groups nested in it.
#include <string>
#include <vector>

#include "Engine/object/UniqueId.h"

namespace GAME {

class InstanceGroup {
public:
    InstanceGroup(std::string name, std::string type)
        : mName(std::move(name)), mType(std::move(type)) {}

    const std::string& GetName() const { return mName; }
    const std::string& GetType() const { return mType; }
    const std::string& GetTypeString() const { return mType; }

    void AddMember(const UniqueId& id) { mMembers.push_back(id); }
    bool Contains(const UniqueId& id) const;
    // Appends the members, in level order.
    void FillIdList(std::vector<UniqueId>& out) const;
    std::size_t GetNumMembers() const { return mMembers.size(); }

    void AddChild(InstanceGroup* child) { mChildren.push_back(child); }
    std::size_t GetNumChildren() const { return mChildren.size(); }
    InstanceGroup* GetChild(std::size_t index) const {
        return index < mChildren.size() ? mChildren[index] : nullptr;
    }

private:
    std::string mName;
    std::string mType;
    std::vector<UniqueId> mMembers;
    std::vector<InstanceGroup*> mChildren;  // owned by the manager
};

}  // namespace GAME
