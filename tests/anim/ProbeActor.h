#pragma once
// An actor that writes down every animation event it is called back with, and the frame of
// the test it came in.
#include <functional>
#include <string>
#include <vector>

#include "Engine/object/Object.h"

namespace GAME::test {

class ProbeActor : public Actor {
    RTTI_DECLARE(ProbeActor)
public:
    struct Heard {
        int frame;
        int channel;
        std::string event;
        bool operator==(const Heard&) const = default;
    };
    void AnimationCallback(int channel, const Name& event) override {
        Actor::AnimationCallback(channel, event);
        heard.push_back({frame, channel, event.str()});
        if (onEvent)
            onEvent(event.str());
    }

    int frame = 0;
    std::vector<Heard> heard;
    std::function<void(const std::string&)> onEvent;
};

}  // namespace GAME::test
