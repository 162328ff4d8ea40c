#include "Game/skills/manager/SkillState.h"

#include "Engine/streams/BinaryStream.h"
#include "Engine/streams/IOStream.h"

namespace GAME {

namespace {

void PutWord(SkillStateImage& image, std::uint32_t word) {
    for (std::size_t i = 0; i < 4; ++i)
        image[i] = static_cast<std::uint8_t>(word >> (8 * i));
}

std::uint32_t GetWord(const SkillStateImage& image) {
    std::uint32_t word = 0;
    for (std::size_t i = 0; i < 4; ++i)
        word |= static_cast<std::uint32_t>(image[i]) << (8 * i);
    return word;
}

// Reads the words into locals first, so a short read changes nothing.
bool ReadWords(BinaryReader& reader, std::uint32_t* words, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i)
        if (!reader.ReadUInt32(words[i]))
            return false;
    return true;
}

}  // namespace

void SkillState::StreamProperties(IOStream& stream) {
    stream.StreamUInt("skillLevel", level);
    stream.StreamBool("skillEnabled", enabled);
}

void SkillState::SaveState(BinaryWriter& writer) const {
    writer.WriteUInt32(level);
    writer.WriteBool(enabled);
}

bool SkillState::RestoreState(BinaryReader& reader) {
    std::uint32_t words[2];
    if (!ReadWords(reader, words, 2))
        return false;
    level = words[0];
    enabled = words[1] != 0;
    return true;
}

SkillStateImage SkillState::ToImage() const {
    SkillStateImage image{};
    PutWord(image, level);
    image[4] = enabled ? 1 : 0;
    return image;
}

SkillState SkillState::FromImage(const SkillStateImage& image) {
    return SkillState(GetWord(image), image[4] != 0);
}

void SkillActiveState::StreamProperties(IOStream& stream) {
    // The sub-level is kept as the stream's unsigned kind.
    auto word = static_cast<std::uint32_t>(subLevel);
    stream.StreamUInt("skillSubLevel", word);
    subLevel = static_cast<int>(word);
    stream.StreamBool("skillActive", active);
    stream.StreamBool("skillTransition", transition);
}

void SkillActiveState::SaveState(BinaryWriter& writer) const {
    writer.WriteUInt32(static_cast<std::uint32_t>(subLevel));
    writer.WriteBool(active);
    writer.WriteBool(transition);
}

bool SkillActiveState::RestoreState(BinaryReader& reader) {
    std::uint32_t words[3];
    if (!ReadWords(reader, words, 3))
        return false;
    subLevel = static_cast<int>(words[0]);
    active = words[1] != 0;
    transition = words[2] != 0;
    return true;
}

SkillStateImage SkillActiveState::ToImage() const {
    SkillStateImage image{};
    PutWord(image, static_cast<std::uint32_t>(subLevel));
    image[4] = active ? 1 : 0;
    image[5] = transition ? 1 : 0;
    return image;
}

SkillActiveState SkillActiveState::FromImage(const SkillStateImage& image) {
    return SkillActiveState(static_cast<int>(GetWord(image)), image[4] != 0, image[5] != 0);
}

}  // namespace GAME
