#pragma once
// An animation clip held by an actor: loaded by name with a speed, played on an actor, given
// back to the graphics engine when the holder goes.
#include <string>

namespace GAME {

class Actor;
class GraphicsAnim;

class OwnedAnimation {
public:
    OwnedAnimation() = default;
    ~OwnedAnimation() { Unload(); }
    OwnedAnimation(const OwnedAnimation&) = delete;
    OwnedAnimation& operator=(const OwnedAnimation&) = delete;

    // An empty name holds nothing.
    void Load(const std::string& name, float speed);
    // Plays on channel 0; false when nothing is held.
    bool PlayOnce(Actor& actor) const { return Play(actor, false); }
    bool PlayLoop(Actor& actor) const { return Play(actor, true); }
    bool Play(Actor& actor, bool loop) const;
    void PreLoad() const {}
    bool IsLoaded() const { return mAnim != nullptr; }
    GraphicsAnim* Get() const { return mAnim; }

private:
    void Unload();

    GraphicsAnim* mAnim = nullptr;
    float mSpeed = 1.0f;
};

}  // namespace GAME
