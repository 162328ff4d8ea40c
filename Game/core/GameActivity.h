#pragma once
// A task that runs over several frames beside the game update and ends by itself.
#include <cstdint>

namespace GAME {

class GraphicsCanvas;

class GameActivity {
public:
    virtual ~GameActivity() = default;
    virtual void Update(int elapsedMs) = 0;
    virtual void Render(GraphicsCanvas& canvas) const = 0;
    virtual bool IsFinished() const = 0;
    virtual void AddStatisticText() = 0;

    std::uint32_t GetId() const { return mId; }

private:
    friend class ActivityManager;
    std::uint32_t mId = 0;
};

}  // namespace GAME
