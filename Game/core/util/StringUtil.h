#pragma once
// String and path helpers. Record names are written with either slash and in any case; these
// helpers bring them to one form or compare them as the same.
#include <string>
#include <vector>

namespace GAME {

// In place: '/' becomes '\', every other character is lower-cased.
void NormalizePath(std::string& path);
void ToBackslashes(std::string& path);
void ToForwardSlashes(std::string& path);
void AppendLowerCase(std::string& target, const std::string& source);
std::string ToLowerString(const std::string& source);
// A lower-cased copy with '\' separators.
std::string MakeNormalizedPath(const std::string& path);
std::string RemoveSlashes(const std::string& path);
// Equal ignoring case, '/' and '\' counting as the same; false when either is null.
bool PathEqualsNoCase(const char* a, const char* b);
bool PathEqualsNoCaseStr(const std::string& a, const std::string& b);
// The part after the last '/' and the last '\'; without the last '.' and what follows when
// `stripExtension` is set.
std::string GetFileName(const std::string& path, bool stripExtension = false);

// Removes the line-break codes "^n" and "^N" (other "^" codes are stepped over) and newline
// characters. At most 50 codes go; those beyond stay.
void RemoveLineBreakCodes(std::wstring& text);
// Erases blanks at both ends (at most 50 at each), stepping over '{' and '}' on the way in.
void TrimSpacesAndBraces(std::wstring& text);
// The same at the front only.
void TrimLeadingSpacesAndBraces(std::wstring& text);

// True when some string of the first list equals some string of the second.
bool StringListsIntersect(const std::vector<std::string>& a, const std::vector<std::string>& b);

std::string IntToString(int value);
// Like the C runtime's _gcvt: `digits` significant digits, trailing zeros dropped, a whole
// number keeps its point ("5."), exponents have at least three digits ("1.e+010").
std::string FloatToString(float value, int digits);
inline std::string FloatToString6(float value) {
    return FloatToString(value, 6);
}

}  // namespace GAME
