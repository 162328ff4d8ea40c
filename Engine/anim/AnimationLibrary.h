#pragma once
// The animation clips and skeletons of one machine, read once from the clip tables under the
// data root (Animations/*.json, in file-name order) on first use. Clip names match like record
// names (case-insensitive, either slash). The default clip always exists.
//
// A table: {"skeletons": {"<name>": {"bones": [{"name", "parent", "offset": [x, y, z]}],
//                                    "attachPoints": [{"name", "bone", "offset"}]}},
//           "clips": {"<clip name>": {"length": ms, "frameRate": n, "speed": f,
//                                     "skeleton": "<name>", "events": [{"name", "time": ms}],
//                                     "boneMotion": [{"bone", "displacement": [x, y, z]}],
//                                     "ragDoll": {"effect", "direction", "push",
//                                                 "elevation"}}}}
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace GAME {

class GraphicsAnim;
class Skeleton;

class AnimationLibrary {
public:
    AnimationLibrary();
    ~AnimationLibrary();

    // The clip of that name, or null.
    GraphicsAnim* FindClip(std::string_view name);
    const Skeleton* FindSkeleton(std::string_view name);
    // The skeleton of actors whose animations name none ("Default").
    const Skeleton* GetDefaultSkeleton();

    // Adds the skeletons and clips of one table given as text (origin names it in logs); an
    // entry already known keeps its first definition. False when the text is not a table.
    bool AddTableText(std::string_view origin, std::string_view jsonText);

    std::size_t GetClipCount();

private:
    void EnsureLoaded();
    void AddDefaults();

    bool mLoaded = false;
    std::vector<std::unique_ptr<Skeleton>> mSkeletons;
    std::vector<std::unique_ptr<GraphicsAnim>> mClips;
    std::unordered_map<std::string, GraphicsAnim*> mClipsByName;
};

}  // namespace GAME
