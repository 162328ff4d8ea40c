#pragma once
// Builds the readable description of a packet: one line per described field, "label" + value,
// indented by four blanks per indent level. With the flag set the text begins with a line naming
// the packet kind and its type id.
#include <string>

namespace GAME {

class NetPacket;
class SmartObjectId;
struct WorldVec3;
struct WorldCoords;

class NetPacketDescriber {
public:
    NetPacketDescriber(const NetPacket* packet, bool flag);

    void Heading(const char* label, int indent);
    void Describe(const char* label, bool value, int indent);
    void Describe(const char* label, int value, int indent);
    void Describe(const char* label, unsigned int value, int indent);
    void Describe(const char* label, float value, int indent);
    void Describe(const char* label, const SmartObjectId& value, int indent);
    void Describe(const char* label, const std::string& value, int indent);
    void Describe(const char* label, const char* value, int indent);
    void Describe(const char* label, const std::wstring& value, int indent);
    void Describe(const char* label, const WorldVec3& value, int indent);
    void Describe(const char* label, const WorldCoords& value, int indent);

    const std::string& GetDescription() const { return mText; }

private:
    void Line(int indent, const char* label, const std::string& value);
    std::string mText;
};

// A wide string as UTF-8 (for logs and descriptions).
std::string NarrowForLog(const std::wstring& text);

}  // namespace GAME
