#include "Engine/text/LocalizationManager.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "Engine/Engine.h"
#include "Engine/sys/Machine.h"

namespace GAME {

LocalizationManager& LocalizationManager::Instance() {
    return Singleton<LocalizationManager>::Get();
}

std::wstring LocalizationManager::ToWChar(std::string_view s) {
    std::wstring out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        int extra = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
        if (extra < 0 || i + extra >= s.size() + (extra == 0 ? 1 : 0)) {
            out.push_back(L'?');  // malformed byte
            ++i;
            continue;
        }
        std::uint32_t code = extra == 0 ? c : c & (0x3F >> extra);
        bool ok = true;
        for (int k = 1; k <= extra; ++k) {
            const auto d = static_cast<unsigned char>(s[i + k]);
            if ((d & 0xC0) != 0x80) {
                ok = false;
                break;
            }
            code = (code << 6) | (d & 0x3F);
        }
        if (!ok) {
            out.push_back(L'?');
            ++i;
            continue;
        }
        out.push_back(static_cast<wchar_t>(code));
        i += extra + 1;
    }
    return out;
}

std::string LocalizationManager::ToChar(std::wstring_view text) {
    std::string out;
    out.reserve(text.size());
    for (wchar_t wc : text) {
        auto c = static_cast<std::uint32_t>(wc);
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (c >> 12)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else if (c > 0x10FFFF) {
            out.push_back('?');
        } else {
            out.push_back(static_cast<char>(0xF0 | ((c >> 18) & 0x07)));
            out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

bool LocalizationManager::LoadFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        gEngine->Log(1, "LocalizationManager: cannot read %s.", file.string().c_str());
        return false;
    }
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (number == 1 && line.rfind("\xEF\xBB\xBF", 0) == 0)
            line.erase(0, 3);
        if (line.empty() || line[0] == '#' || line.rfind("//", 0) == 0)
            continue;
        const auto eq = line.find('=');
        if (eq == std::string::npos || eq == 0) {
            gEngine->Log(1, "LocalizationManager: %s line %d has no tag=text; ignored.",
                         file.string().c_str(), number);
            continue;
        }
        std::wstring text = ToWChar(std::string_view(line).substr(eq + 1));
        // "\n" in a text file stands for a line break.
        for (std::size_t p = 0; (p = text.find(L"\\n", p)) != std::wstring::npos;)
            text.replace(p, 2, L"\n");
        mTexts[line.substr(0, eq)] = std::move(text);
    }
    return true;
}

int LocalizationManager::LoadFolder(const std::filesystem::path& folder) {
    std::error_code ec;
    if (!std::filesystem::is_directory(folder, ec))
        return 0;
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec))
        if (entry.is_regular_file(ec) && entry.path().extension() == ".txt")
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    int loaded = 0;
    for (const auto& file : files)
        loaded += LoadFile(file) ? 1 : 0;
    return loaded;
}

void LocalizationManager::SetText(const std::string& tag, const std::wstring& text) {
    mTexts[tag] = text;
}

void LocalizationManager::Clear() {
    mTexts.clear();
}

bool LocalizationManager::HasTag(std::string_view tag) const {
    return mTexts.contains(std::string(tag));
}

std::wstring LocalizationManager::GetText(std::string_view tag) const {
    auto it = mTexts.find(std::string(tag));
    return it == mTexts.end() ? ToWChar(tag) : it->second;
}

namespace {

// What a game text can use; wider asks would make one call build a text of gigabytes.
constexpr int kMaxFieldWidth = 64;
constexpr int kMaxPrecision = 32;
constexpr int kNoValue = -1;
constexpr int kMaxArguments = 64;

// One conversion's flags, width and precision, bounded.
struct Conversion {
    std::string flags;
    int width = kNoValue;
    int precision = kNoValue;
    bool bounded = false;  // the text asked for more than the bounds
};

// Reads digits at q; the value stops growing past `limit` (the caller bounds it).
int ReadCount(const std::wstring& format, std::size_t& q, int limit) {
    int value = 0;
    while (q < format.size() && format[q] >= L'0' && format[q] <= L'9') {
        if (value <= limit)
            value = value * 10 + static_cast<int>(format[q] - L'0');
        ++q;
    }
    return value;
}

void ReadConversion(const std::wstring& format, std::size_t& q, Conversion& conv) {
    while (q < format.size() &&
           std::wstring_view(L"-+ #0").find(format[q]) != std::wstring_view::npos) {
        if (conv.flags.find(static_cast<char>(format[q])) == std::string::npos)
            conv.flags.push_back(static_cast<char>(format[q]));
        ++q;
    }
    if (q < format.size() && format[q] >= L'1' && format[q] <= L'9') {
        conv.width = ReadCount(format, q, kMaxFieldWidth);
        if (conv.width > kMaxFieldWidth) {
            conv.width = kMaxFieldWidth;
            conv.bounded = true;
        }
    }
    if (q < format.size() && format[q] == L'.') {
        ++q;
        conv.precision = ReadCount(format, q, kMaxPrecision);
        if (conv.precision > kMaxPrecision) {
            conv.precision = kMaxPrecision;
            conv.bounded = true;
        }
    }
}

// Runs snprintf over the whole result, however long it is (the bounds keep it short).
template <class Value>
std::wstring PrintNumber(const std::string& format, Value value) {
    char buffer[512];
    const int length = std::snprintf(buffer, sizeof buffer, format.c_str(), value);
    if (length < 0)
        return L"";
    if (static_cast<std::size_t>(length) < sizeof buffer)
        return LocalizationManager::ToWChar(
            std::string_view(buffer, static_cast<std::size_t>(length)));
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    std::snprintf(text.data(), text.size(), format.c_str(), value);
    text.pop_back();
    return LocalizationManager::ToWChar(text);
}

std::wstring NumberText(const Conversion& conv, char conversion,
                        const LocalizationManager::Arg& arg) {
    double d = 0;
    long long i = 0;
    if (const auto* pd = std::get_if<double>(&arg)) {
        d = *pd;
        i = static_cast<long long>(d >= -9.2e18 && d <= 9.2e18 ? d : 0);
    } else if (const auto* pi = std::get_if<long long>(&arg)) {
        i = *pi;
        d = static_cast<double>(i);
    } else {
        return L"";
    }
    std::string format = "%" + conv.flags;
    if (conv.width != kNoValue)
        format += std::to_string(conv.width);
    if (conv.precision != kNoValue) {
        format += '.';
        format += std::to_string(conv.precision);
    }
    switch (conversion) {
        case 'd':
        case 'i':
            return PrintNumber(format + "lld", i);
        case 'u':
            return PrintNumber(format + "llu", static_cast<unsigned long long>(i));
        case 'x':
        case 'X':
            return PrintNumber(format + "ll" + conversion, static_cast<unsigned long long>(i));
        case 'c':
            return std::wstring(1, static_cast<wchar_t>(i));
        default:
            return PrintNumber(format + conversion, d);
    }
}
}  // namespace

std::wstring LocalizationManager::FormatText(const std::wstring& format,
                                             const std::vector<Arg>& args, std::string_view tag) {
    std::wstring out;
    std::size_t next = 0;
    bool bounded = false;
    for (std::size_t p = 0; p < format.size(); ++p) {
        if (format[p] != L'%') {
            out.push_back(format[p]);
            continue;
        }
        if (p + 1 < format.size() && format[p + 1] == L'%') {
            out.push_back(L'%');
            ++p;
            continue;
        }
        // flags, width, precision (kept, bounded), length modifiers (dropped), conversion
        std::size_t q = p + 1;
        // A POSIX argument number ("%2$s") lets a language put the words in its own order.
        std::size_t position = 0;
        {
            std::size_t r = q;
            const int number = ReadCount(format, r, kMaxArguments);
            if (r > q && r < format.size() && format[r] == L'$' && number > 0) {
                position = static_cast<std::size_t>(std::min(number, kMaxArguments + 1));
                q = r + 1;
            }
        }
        Conversion conv;
        ReadConversion(format, q, conv);
        while (q < format.size() &&
               std::wstring_view(L"hlLqjzt").find(format[q]) != std::wstring_view::npos)
            ++q;
        if (q >= format.size()) {
            out.append(format, p, std::wstring::npos);
            break;
        }
        const wchar_t conversion = format[q];
        p = q;
        if (std::wstring_view(L"diuxXcfFeEgGaAsS").find(conversion) == std::wstring_view::npos) {
            out.push_back(L'%');
            out.push_back(conversion);
            continue;
        }
        bounded = bounded || conv.bounded;
        const std::size_t index = position > 0 ? position - 1 : next++;
        if (index >= args.size())
            continue;  // a missing argument formats as nothing
        const Arg& arg = args[index];
        if (conversion == L's' || conversion == L'S') {
            std::wstring text;
            if (const auto* s = std::get_if<std::string>(&arg))
                text = ToWChar(*s);
            else if (const auto* w = std::get_if<std::wstring>(&arg))
                text = *w;
            else
                text = NumberText(Conversion{}, 'g', arg);
            // As printf: the precision is the most characters shown, the width pads.
            if (conv.precision != kNoValue &&
                text.size() > static_cast<std::size_t>(conv.precision))
                text.resize(static_cast<std::size_t>(conv.precision));
            if (conv.width != kNoValue && text.size() < static_cast<std::size_t>(conv.width)) {
                const std::size_t pad = static_cast<std::size_t>(conv.width) - text.size();
                if (conv.flags.find('-') != std::string::npos)
                    text.append(pad, L' ');
                else
                    text.insert(0, pad, L' ');
            }
            out += text;
        } else {
            out += NumberText(conv, static_cast<char>(conversion), arg);
        }
    }
    if (bounded)
        gEngine->Log(1,
                     "LocalizationManager: text %.*s asks for a width over %d or a precision over "
                     "%d; formatted with those bounds.",
                     static_cast<int>(tag.size()), tag.data(), kMaxFieldWidth, kMaxPrecision);
    return out;
}

}  // namespace GAME
