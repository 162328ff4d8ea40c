#pragma once
// Named groups of object classes ("Monsters And Weapons" holds monsters and weapons). A class is
// named rather than referenced, so a group can name a class before its library registers it.
#include <string>
#include <utility>
#include <vector>

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

private:
    std::vector<std::pair<std::string, std::string>> mAffiliations;  // group, class name
};

}  // namespace GAME
