#pragma once
// Display texts by tag, read from the text files of the data root ("Text/*.txt", one
// `tag=text` per line, UTF-8). Formatting is printf-style over typed arguments, so a text whose
// conversions do not match the arguments formats what it can and never reads a wrong type.
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <unordered_map>
#include <variant>
#include <vector>

namespace GAME {

class LocalizationManager {
public:
    using Arg = std::variant<double, long long, std::string, std::wstring>;

    // The manager of the current machine.
    static LocalizationManager& Instance();

    // Reads every text file of a folder; later files override earlier tags.
    int LoadFolder(const std::filesystem::path& folder);
    bool LoadFile(const std::filesystem::path& file);
    void SetText(const std::string& tag, const std::wstring& text);
    void Clear();

    bool HasTag(std::string_view tag) const;
    // The text of a tag, or the tag itself when unknown.
    std::wstring GetText(std::string_view tag) const;

    // The text of a tag with printf-style conversions filled from the arguments.
    template <class... Args>
    std::wstring Format(std::string_view tag, const Args&... args) const {
        std::vector<Arg> list;
        list.reserve(sizeof...(Args));
        (list.push_back(ToArg(args)), ...);
        return FormatText(GetText(tag), list, tag);
    }
    std::wstring FormatArgs(std::string_view tag, const std::vector<Arg>& args) const {
        return FormatText(GetText(tag), args, tag);
    }
    // Widths above 64 and precisions above 32 are bounded to those (logged with the tag); the
    // result is never cut short.
    static std::wstring FormatText(const std::wstring& format, const std::vector<Arg>& args,
                                   std::string_view tag = {});

    bool HasDialogForLanguage() const { return mHasDialogForLanguage; }
    void SetHasDialogForLanguage(bool value) { mHasDialogForLanguage = value; }

    static std::wstring ToWChar(std::string_view utf8);
    static std::string ToChar(std::wstring_view text);

private:
    template <class T>
    static Arg ToArg(const T& value) {
        if constexpr (std::is_floating_point_v<T>)
            return static_cast<double>(value);
        else if constexpr (std::is_integral_v<T>)
            return static_cast<long long>(value);
        else if constexpr (std::is_convertible_v<T, std::wstring_view>)
            return std::wstring(std::wstring_view(value));
        else
            return std::string(std::string_view(value));
    }

    std::unordered_map<std::string, std::wstring> mTexts;
    bool mHasDialogForLanguage = true;
};

}  // namespace GAME
