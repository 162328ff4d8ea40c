#pragma once
// The clips the animation tests play, added to the current machine's clip library.
#include <gtest/gtest.h>

#include "Engine/anim/AnimationLibrary.h"
#include "Engine/sys/Machine.h"

namespace GAME::test {

inline constexpr const char* kAnimationTestClips = R"({"clips": {
  "AnimTest/Idle.anm": {"length": 1000, "frameRate": 10},
  "AnimTest/Idle2.anm": {"length": 1000, "frameRate": 10},
  "AnimTest/Trans.anm": {"length": 500, "frameRate": 10},
  "AnimTest/Stun.anm": {"length": 800, "frameRate": 10},
  "AnimTest/Die.anm": {"length": 1500, "frameRate": 20, "speed": 2.0},
  "AnimTest/Buff.anm": {"length": 600, "frameRate": 10},
  "AnimTest/Cast.anm": {"length": 600, "frameRate": 10},
  "AnimTest/Swing.anm": {"length": 1000, "frameRate": 30, "events": [{"name": "Hit", "time": 400}]},
  "AnimTest/Kick.anm": {"length": 700, "frameRate": 10},
  "AnimTest/Spin.anm": {"length": 700, "frameRate": 10},
  "AnimTest/Walk.anm": {"length": 1000, "frameRate": 10},
  "AnimTest/Turn.anm": {"length": 400, "frameRate": 10},
  "AnimTest/Run.anm": {"length": 700, "frameRate": 10},
  "AnimTest/Spear.anm": {"length": 700, "frameRate": 10}
}})";

inline void AddAnimationTestClips() {
    ASSERT_TRUE(Singleton<AnimationLibrary>::Get().AddTableText("animation test clips",
                                                                kAnimationTestClips));
}

}  // namespace GAME::test
