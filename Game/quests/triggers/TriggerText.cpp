#include "Game/quests/triggers/TriggerText.h"

namespace GAME {

namespace {

char Fold(char c) {
    if (c == '\\')
        return '/';
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

bool RecordNamesEqual(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Fold(a[i]) != Fold(b[i]))
            return false;
    return true;
}

std::string RecordNameKey(std::string_view name) {
    std::string key;
    RecordNameKey(name, key);
    return key;
}

void RecordNameKey(std::string_view name, std::string& key) {
    key.assign(name);
    for (char& c : key)
        c = Fold(c);
}

std::string ShowRecordName(std::string_view name) {
    if (name.empty())
        return "[empty]";
    const std::size_t slash = name.find_last_of("/\\");
    std::string_view leaf = slash == std::string_view::npos ? name : name.substr(slash + 1);
    if (const std::size_t dot = leaf.rfind('.'); dot != std::string_view::npos)
        leaf = leaf.substr(0, dot);
    return std::string(leaf);
}

std::string Highlight(std::string_view text) {
    return "{B" + std::string(text) + "}";
}

std::string HighlightToken(std::string_view token) {
    return "{R" + std::string(token) + "}";
}

const char* NegatedPrefix(bool negated) {
    return negated ? "{BNot }" : "";
}

}  // namespace GAME
