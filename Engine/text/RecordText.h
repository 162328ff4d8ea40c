#pragma once
// A text an object copies from its record and keeps for its life (an effect's record name, a
// behaviour's word). Interned as a Name: every object loaded from one record holds the same
// copy, eight bytes each, and reads it as a std::string.
#include <string>
#include <string_view>

#include "Engine/text/Name.h"

namespace GAME {

class RecordText {
public:
    RecordText() = default;
    explicit RecordText(std::string_view text) : mName(Name::Create(text)) {}
    RecordText& operator=(std::string_view text) {
        mName = Name::Create(text);
        return *this;
    }

    const std::string& str() const { return mName.str(); }
    operator const std::string&() const { return mName.str(); }
    const char* c_str() const { return mName.c_str(); }
    bool empty() const { return mName.IsEmpty(); }

    friend bool operator==(const RecordText& text, std::string_view other) {
        return text.str() == other;
    }

private:
    Name mName;
};

}  // namespace GAME
