#pragma once
// The level editor's object filter: objects listed by category so the editor can show or hide
// them. Headless, it only keeps the list.
#include <cstdint>
#include <map>

namespace GAME {

class EditorFilter {
public:
    static EditorFilter& Get();

    void AddFilterObject(std::uint32_t objectId, int category) { mObjects[objectId] = category; }
    void RemoveFilterObject(std::uint32_t objectId) { mObjects.erase(objectId); }
    // -1 when the object is not listed.
    int GetCategory(std::uint32_t objectId) const {
        auto it = mObjects.find(objectId);
        return it == mObjects.end() ? -1 : it->second;
    }

private:
    std::map<std::uint32_t, int> mObjects;
};

}  // namespace GAME
