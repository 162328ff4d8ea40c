#include "Engine/text/Name.h"

#include <mutex>
#include <unordered_set>

namespace GAME {

namespace {
// Looked up by view, so finding a name (as a packet reader does) allocates nothing.
struct TextHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const noexcept {
        return std::hash<std::string_view>()(text);
    }
};
// Names are process-wide: they are immutable texts, shared by every machine.
struct NameTable {
    std::mutex mutex;
    std::unordered_set<std::string, TextHash, std::equal_to<>> names;
};
NameTable& Table() {
    static NameTable* table = new NameTable();  // never destroyed: names outlive static objects
    return *table;
}
const std::string& EmptyString() {
    static const std::string empty;
    return empty;
}
}  // namespace

Name Name::Create(std::string_view text) {
    if (text.empty())
        return Name();
    NameTable& table = Table();
    std::lock_guard lock(table.mutex);
    // Found first: emplace would build the text's node before looking.
    auto it = table.names.find(text);
    if (it == table.names.end())
        it = table.names.emplace(text).first;
    return Name(&*it);
}

Name Name::Find(std::string_view text) {
    NameTable& table = Table();
    std::lock_guard lock(table.mutex);
    auto it = table.names.find(text);
    return it == table.names.end() ? Name() : Name(&*it);
}

const std::string& Name::str() const {
    return mEntry ? *mEntry : EmptyString();
}

}  // namespace GAME
