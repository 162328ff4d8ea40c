#include "Engine/net/fields/NetPacketDescriber.h"

#include "Engine/text/LocalizationManager.h"

#include <cstdio>

#include "Engine/net/NetPacket.h"
#include "Engine/net/NetPacketRegistry.h"
#include "Engine/net/SmartObjectId.h"
#include "Engine/world/Region.h"

namespace GAME {

namespace {

std::string Format(const char* format, double a, double b, double c) {
    char text[128];
    std::snprintf(text, sizeof text, format, a, b, c);
    return text;
}

std::string RegionText(const Region* region) {
    return region ? " in " + region->GetName() : std::string();
}

}  // namespace

std::string NarrowForLog(const std::wstring& text) {
    return LocalizationManager::ToChar(text);
}

NetPacketDescriber::NetPacketDescriber(const NetPacket* packet, bool flag) {
    if (!flag || !packet)
        return;
    const PACKET_TYPE type = packet->GetType();
    const NetPacketKind* kind = NetPacketRegistry::Global().Find(type);
    const char* name = kind ? kind->name.c_str() : GetGamePacketKindName(type);
    char text[160];
    std::snprintf(text, sizeof text, "%s (type %u)\n", name ? name : "Packet",
                  static_cast<unsigned>(type));
    mText = text;
}

void NetPacketDescriber::Line(int indent, const char* label, const std::string& value) {
    if (indent > 0)
        mText.append(static_cast<std::size_t>(indent) * 4, ' ');
    mText += label ? label : "";
    mText += value;
    mText += '\n';
}

void NetPacketDescriber::Heading(const char* label, int indent) {
    Line(indent, label, {});
}

void NetPacketDescriber::Describe(const char* label, bool value, int indent) {
    Line(indent, label, value ? "true" : "false");
}

void NetPacketDescriber::Describe(const char* label, int value, int indent) {
    Line(indent, label, std::to_string(value));
}

void NetPacketDescriber::Describe(const char* label, unsigned int value, int indent) {
    Line(indent, label, std::to_string(value));
}

void NetPacketDescriber::Describe(const char* label, float value, int indent) {
    char text[64];
    std::snprintf(text, sizeof text, "%g", static_cast<double>(value));
    Line(indent, label, text);
}

void NetPacketDescriber::Describe(const char* label, const SmartObjectId& value, int indent) {
    Line(indent, label, std::to_string(value.GetId()));
}

void NetPacketDescriber::Describe(const char* label, const std::string& value, int indent) {
    Line(indent, label, value);
}

void NetPacketDescriber::Describe(const char* label, const char* value, int indent) {
    Line(indent, label, value ? value : "");
}

void NetPacketDescriber::Describe(const char* label, const std::wstring& value, int indent) {
    Line(indent, label, NarrowForLog(value));
}

void NetPacketDescriber::Describe(const char* label, const WorldVec3& value, int indent) {
    Line(indent, label,
         Format("(%g, %g, %g)", value.local.x, value.local.y, value.local.z) +
             RegionText(value.region));
}

void NetPacketDescriber::Describe(const char* label, const WorldCoords& value, int indent) {
    const Vec3& o = value.coords.origin;
    const Vec3& z = value.coords.zAxis;
    Line(indent, label,
         Format("(%g, %g, %g)", o.x, o.y, o.z) + Format(" facing (%g, %g, %g)", z.x, z.y, z.z) +
             RegionText(value.region));
}

}  // namespace GAME
