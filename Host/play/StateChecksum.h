#pragma once
// A hash over every character's replicated state on this machine: position, vitals, life state,
// level, experience, skills and damage over time. Characters are taken in object-id order, so
// machines that replicate the same characters under the same ids agree.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace GAME {

class Character;

class StateChecksum {
public:
    // FNV-1a, 64 bits: the same bytes give the same value on every machine.
    void AddBytes(const void* data, std::size_t size);
    void AddWord(std::uint32_t value) { AddBytes(&value, sizeof value); }
    void AddFloat(float value);
    void AddText(const std::string& text);
    void AddCharacter(Character& character);
    std::uint64_t GetValue() const { return mValue; }

private:
    std::uint64_t mValue = 14695981039346656037ull;
};

// The checksum over the characters of the current machine.
std::uint64_t ComputeWorldChecksum();
// One line per character of the current machine, in id order: the frame, then each hashed field
// as name=value, for finding where two machines' checksums part.
void DumpWorldState(std::FILE* out, int frame);
// Sixteen hexadecimal digits.
std::string FormatChecksum(std::uint64_t value);

}  // namespace GAME
