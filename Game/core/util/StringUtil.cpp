#include "Game/core/util/StringUtil.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace GAME {

namespace {

char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Case and slash folded for comparison.
char Fold(char c) {
    return c == '/' ? '\\' : Lower(c);
}

constexpr int kMaxTextPasses = 50;

}  // namespace

void NormalizePath(std::string& path) {
    for (char& c : path)
        c = Fold(c);
}

void ToBackslashes(std::string& path) {
    for (char& c : path)
        if (c == '/')
            c = '\\';
}

void ToForwardSlashes(std::string& path) {
    for (char& c : path)
        if (c == '\\')
            c = '/';
}

void AppendLowerCase(std::string& target, const std::string& source) {
    target.reserve(target.size() + source.size());
    for (char c : source)
        target.push_back(Lower(c));
}

std::string ToLowerString(const std::string& source) {
    std::string lower;
    AppendLowerCase(lower, source);
    return lower;
}

std::string MakeNormalizedPath(const std::string& path) {
    std::string copy = path;
    NormalizePath(copy);
    return copy;
}

std::string RemoveSlashes(const std::string& path) {
    std::string out;
    out.reserve(path.size());
    for (char c : path)
        if (c != '/' && c != '\\')
            out.push_back(c);
    return out;
}

bool PathEqualsNoCase(const char* a, const char* b) {
    if (!a || !b)
        return false;
    for (; *a && *b; ++a, ++b)
        if (Fold(*a) != Fold(*b))
            return false;
    return *a == *b;
}

bool PathEqualsNoCaseStr(const std::string& a, const std::string& b) {
    if (a.size() != b.size())
        return false;
    // Record names share long prefixes; they differ near the end.
    for (std::size_t i = a.size(); i-- > 0;)
        if (Fold(a[i]) != Fold(b[i]))
            return false;
    return true;
}

std::string GetFileName(const std::string& path, bool stripExtension) {
    std::string name = path;
    if (const auto slash = name.rfind('/'); slash != std::string::npos)
        name.erase(0, slash + 1);
    if (const auto backslash = name.rfind('\\'); backslash != std::string::npos)
        name.erase(0, backslash + 1);
    if (stripExtension)
        if (const auto dot = name.rfind('.'); dot != std::string::npos)
            name.erase(dot);
    return name;
}

void RemoveLineBreakCodes(std::wstring& text) {
    std::erase(text, L'\n');
    std::size_t pos = 0;
    for (int pass = 0; pass < kMaxTextPasses; ++pass) {
        bool removed = false;
        while ((pos = text.find(L'^', pos)) != std::wstring::npos) {
            if (pos + 1 < text.size() && (text[pos + 1] == L'n' || text[pos + 1] == L'N')) {
                text.erase(pos, 2);
                removed = true;
                break;
            }
            pos += 2;  // another code: stepped over whole
        }
        if (!removed)
            return;
    }
}

void TrimLeadingSpacesAndBraces(std::wstring& text) {
    std::size_t start = 0;
    for (int erased = 0; start < text.size() && erased < kMaxTextPasses;) {
        if (text[start] == L'{' || text[start] == L'}') {
            ++start;
        } else if (text[start] == L' ') {
            text.erase(start, 1);
            ++erased;
        } else {
            break;
        }
    }
}

void TrimSpacesAndBraces(std::wstring& text) {
    TrimLeadingSpacesAndBraces(text);
    std::size_t end = text.size();
    for (int erased = 0; end > 0 && erased < kMaxTextPasses;) {
        const wchar_t c = text[end - 1];
        if (c == L'{' || c == L'}') {
            --end;
        } else if (c == L' ') {
            text.erase(end - 1, 1);
            --end;
            ++erased;
        } else {
            break;
        }
    }
}

bool StringListsIntersect(const std::vector<std::string>& a, const std::vector<std::string>& b) {
    for (const auto& x : a)
        for (const auto& y : b)
            if (x == y)
                return true;
    return false;
}

std::string IntToString(int value) {
    return std::to_string(value);
}

std::string FloatToString(float value, int digits) {
    if (digits < 1)
        digits = 1;
    if (digits > 17)
        digits = 17;
    const double v = value;
    if (!std::isfinite(v)) {
        char text[32];
        std::snprintf(text, sizeof text, "%g", v);
        return text;
    }
    // Digits and decimal exponent as %e gives them, then laid out the way _gcvt does.
    char sci[64];
    std::snprintf(sci, sizeof sci, "%.*e", digits - 1, v);
    const char* e = std::strchr(sci, 'e');
    const int exponent = std::atoi(e + 1);
    std::string mantissa(static_cast<const char*>(sci), e);
    const bool negative = mantissa[0] == '-';
    std::string digitsOnly;
    for (char c : mantissa)
        if (c >= '0' && c <= '9')
            digitsOnly.push_back(c);
    while (digitsOnly.size() > 1 && digitsOnly.back() == '0')
        digitsOnly.pop_back();

    std::string out = negative ? "-" : "";
    if (exponent < -4 || exponent >= digits) {
        out += digitsOnly[0];
        out += '.';
        out += digitsOnly.substr(1);
        char exp[16];
        std::snprintf(exp, sizeof exp, "e%c%03d", exponent < 0 ? '-' : '+', std::abs(exponent));
        out += exp;
    } else if (exponent < 0) {
        out += "0.";
        out.append(static_cast<std::size_t>(-exponent - 1), '0');
        out += digitsOnly;
    } else {
        const std::size_t whole = static_cast<std::size_t>(exponent) + 1;
        if (digitsOnly.size() <= whole) {
            out += digitsOnly;
            out.append(whole - digitsOnly.size(), '0');
            out += '.';
        } else {
            out += digitsOnly.substr(0, whole);
            out += '.';
            out += digitsOnly.substr(whole);
        }
    }
    return out;
}

}  // namespace GAME
