#include "Host/PrintableText.h"

#include <cstdio>

#include "Engine/text/LocalizationManager.h"

namespace GAME {

std::string PrintableText(const std::wstring& text) {
    std::string out;
    out.reserve(text.size());
    std::size_t plainFrom = 0;
    const auto flushPlain = [&](std::size_t end) {
        if (end > plainFrom)
            out += LocalizationManager::ToChar(
                std::wstring_view(text).substr(plainFrom, end - plainFrom));
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<std::uint32_t>(text[i]);
        const bool control = c < 0x20 || c == 0x7F || (c >= 0x80 && c <= 0x9F);
        if (!control && c != '\\')
            continue;
        flushPlain(i);
        plainFrom = i + 1;
        char escape[8];
        switch (c) {
            case '\\':
                out += "\\\\";
                continue;
            case '\n':
                out += "\\n";
                continue;
            case '\t':
                out += "\\t";
                continue;
            case '\r':
                out += "\\r";
                continue;
            default:
                std::snprintf(escape, sizeof escape, c < 0x80 ? "\\x%02X" : "\\u%04X", unsigned(c));
                out += escape;
        }
    }
    flushPlain(text.size());
    return out;
}

}  // namespace GAME
