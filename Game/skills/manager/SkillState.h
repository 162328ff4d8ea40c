#pragma once
// The two small replicated records of every skill: its level with its enabled flag, and its
// active state. They travel in the state commands and go into the character's saves.
//
// Forms:
//   stream  "skillLevel" (unsigned), "skillEnabled" (bool)
//           "skillSubLevel" (unsigned), "skillActive" (bool), "skillTransition" (bool)
//   binary  32-bit words, a bool as 0 or 1: 8 and 12 bytes
//   image   the 8-byte packet image: a 32-bit word, then one byte per bool, the rest zero; a
//           reader ignores the padding and takes any non-zero byte as true
#include <array>
#include <cstdint>

namespace GAME {

class IOStream;
class BinaryWriter;
class BinaryReader;

using SkillStateImage = std::array<std::uint8_t, 8>;

class SkillState {
public:
    SkillState() = default;
    SkillState(std::uint32_t level_, bool enabled_) : level(level_), enabled(enabled_) {}

    void StreamProperties(IOStream& stream);
    void SaveState(BinaryWriter& writer) const;
    // False when the reader ran out; the state is then left as it was.
    bool RestoreState(BinaryReader& reader);
    SkillStateImage ToImage() const;
    static SkillState FromImage(const SkillStateImage& image);

    bool operator==(const SkillState&) const = default;

    std::uint32_t level = 0;
    bool enabled = false;
};

class SkillActiveState {
public:
    SkillActiveState() = default;
    SkillActiveState(int subLevel_, bool active_, bool transition_)
        : subLevel(subLevel_), active(active_), transition(transition_) {}

    void StreamProperties(IOStream& stream);
    void SaveState(BinaryWriter& writer) const;
    bool RestoreState(BinaryReader& reader);
    SkillStateImage ToImage() const;
    static SkillActiveState FromImage(const SkillStateImage& image);

    bool operator==(const SkillActiveState&) const = default;

    int subLevel = 0;
    bool active = false;
    bool transition = false;
};

}  // namespace GAME
