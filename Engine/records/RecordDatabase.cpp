#include "Engine/records/RecordDatabase.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <nlohmann/json.hpp>

#include "Engine/Engine.h"
#include "Engine/records/RecordData.h"
#include "Engine/records/RecordFastParse.h"

namespace GAME {

RecordDatabase::RecordDatabase() = default;
RecordDatabase::~RecordDatabase() = default;

std::string RecordDatabase::NormalizeName(std::string_view name) {
    std::string out;
    out.reserve(name.size());
    for (char c : name) {
        if (c == '\\')
            c = '/';
        // Doubled separators name the same file.
        if (c == '/' && !out.empty() && out.back() == '/')
            continue;
        // ASCII only, whatever the process locale says.
        out.push_back(c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c);
    }
    while (!out.empty() && out.front() == '/')
        out.erase(out.begin());
    return out;
}

void RecordDatabase::SetDataRoot(const std::filesystem::path& root) {
    CriticalSectionLock lock(mLock);
    mRoot = root;
    mIndexed = false;
    mFiles.clear();
    mFolders.clear();
    mCache.clear();
    mReportedMissing.clear();
}

RecordDatabase::Folder::~Folder() {
    if (mFd >= 0)
        ::close(mFd);
}

void RecordDatabase::IndexRoot() {
    mIndexed = true;
    mFiles.clear();
    mFolders.clear();
    std::error_code ec;
    if (mRoot.empty() || !std::filesystem::is_directory(mRoot, ec))
        return;
    std::unordered_map<std::string, int> folders;  // by path
    std::string lastFolder;                        // files of a folder come together
    int lastIndex = -1;
    const std::string& root = mRoot.native();
    for (auto it = std::filesystem::recursive_directory_iterator(
             mRoot, std::filesystem::directory_options::skip_permission_denied, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
        if (!it->is_regular_file(ec))
            continue;
        // The iterator's paths start with the root, so the name is a purely lexical cut: no
        // system call per file.
        const std::string& full = it->path().native();
        std::string relative;
        if (full.size() > root.size() && full.compare(0, root.size(), root) == 0) {
            std::size_t start = root.size();
            while (start < full.size() && full[start] == '/')
                ++start;
            relative.assign(full, start);
        } else {
            relative = it->path().lexically_relative(mRoot).generic_string();
        }
        IndexedFile file{full, -1, {}};
        const std::size_t slash = full.rfind('/');
        if (slash != std::string::npos && slash > 0) {
            const std::string_view folder(full.data(), slash);
            if (folder != lastFolder) {
                lastFolder.assign(folder);
                auto known = folders.find(lastFolder);
                if (known == folders.end()) {
                    int index = -1;
                    if (mFolders.size() < kMaxOpenFolders) {
                        const int fd = ::open(lastFolder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
                        if (fd >= 0) {
                            mFolders.emplace_back(fd);
                            index = static_cast<int>(mFolders.size() - 1);
                        }
                    }
                    known = folders.emplace(lastFolder, index).first;
                }
                lastIndex = known->second;
            }
            if (lastIndex >= 0) {
                file.folder = lastIndex;
                file.leaf.assign(full, slash + 1);
            }
        }
        mFiles.emplace(NormalizeName(relative), std::move(file));
    }
}

std::filesystem::path RecordDatabase::ResolveFile(std::string_view name) {
    CriticalSectionLock lock(mLock);
    if (!mIndexed)
        IndexRoot();
    auto it = mFiles.find(NormalizeName(name));
    return it == mFiles.end() ? std::filesystem::path() : std::filesystem::path(it->second.path);
}

namespace {
// The room of the first read: more than any usual record.
constexpr std::size_t kFirstRoom = 8 * 1024;

// The whole file of an open descriptor into the buffer's room, without asking its size first;
// a file that fills the room is read on into a doubled room. Reads until the end of the file:
// network and user-space file systems may stop a read short in the middle of a file. Closes
// the descriptor.
bool ReadWholeFile(int fd, std::string& buffer, std::string_view& text) {
    if (fd < 0)
        return false;
    if (buffer.size() < kFirstRoom)
        buffer.resize(kFirstRoom);
    std::size_t done = 0;
    bool ok = true;
    for (;;) {
        const ssize_t got = ::read(fd, buffer.data() + done, buffer.size() - done);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            ok = false;
            break;
        }
        if (got == 0)
            break;
        done += static_cast<std::size_t>(got);
        if (done == buffer.size())
            buffer.resize(buffer.size() * 2);
    }
    ::close(fd);
    text = std::string_view(buffer.data(), done);
    return ok;
}

}  // namespace

bool RecordDatabase::ReadFile(const IndexedFile& file, std::string_view& text) {
    const int fd = file.folder >= 0 ? ::openat(mFolders[static_cast<std::size_t>(file.folder)].Fd(),
                                               file.leaf.c_str(), O_RDONLY | O_CLOEXEC)
                                    : ::open(file.path.c_str(), O_RDONLY | O_CLOEXEC);
    return ReadWholeFile(fd, mReadBuffer, text);
}

namespace {
RecordValue ConvertValue(const nlohmann::json& j, bool& usable) {
    RecordValue v;
    usable = true;
    if (j.is_number()) {
        v.kind = RecordValue::Kind::Number;
        v.number = j.get<double>();
    } else if (j.is_string()) {
        v.kind = RecordValue::Kind::String;
        v.text = j.get<std::string>();
    } else if (j.is_boolean()) {
        v.kind = RecordValue::Kind::Bool;
        v.boolean = j.get<bool>();
    } else if (j.is_array()) {
        const bool allNumbers = std::all_of(
            j.begin(), j.end(), [](const auto& e) { return e.is_number() || e.is_boolean(); });
        const bool allStrings =
            std::all_of(j.begin(), j.end(), [](const auto& e) { return e.is_string(); });
        if (allNumbers) {
            v.kind = RecordValue::Kind::NumberList;
            for (const auto& e : j)
                v.numbers.push_back(e.is_boolean() ? (e.get<bool>() ? 1.0 : 0.0) : e.get<double>());
        } else if (allStrings) {
            v.kind = RecordValue::Kind::StringList;
            for (const auto& e : j)
                v.texts.push_back(e.get<std::string>());
        } else {
            usable = false;
        }
    } else {
        usable = false;
    }
    return v;
}
}  // namespace

std::shared_ptr<const RecordData> RecordDatabase::Parse(const std::string& name,
                                                        std::string_view text,
                                                        const std::string& origin) {
    auto data = std::make_shared<RecordData>();
    data->name = name;
    if (ParseRecordFast(text, *data))
        return data;
    data->fields.clear();
    nlohmann::json json = nlohmann::json::parse(text.begin(), text.end(), nullptr, false);
    if (json.is_discarded()) {
        gEngine->Log(1, "Record %s (%s) is not valid JSON; it is treated as missing.", name.c_str(),
                     origin.c_str());
        return nullptr;
    }
    if (!json.is_object()) {
        gEngine->Log(1, "Record %s (%s) is not a JSON object; it is treated as missing.",
                     name.c_str(), origin.c_str());
        return nullptr;
    }
    for (auto it = json.begin(); it != json.end(); ++it) {
        bool usable = false;
        RecordValue value = ConvertValue(it.value(), usable);
        if (!usable) {
            gEngine->Log(1, "Record %s: field \"%s\" has an unsupported value; it is ignored.",
                         name.c_str(), it.key().c_str());
            continue;
        }
        data->fields.emplace(it.key(), std::move(value));
    }
    return data;
}

bool RecordDatabase::Load(std::string_view name) {
    if (name.empty())
        return false;
    CriticalSectionLock lock(mLock);
    std::string key = NormalizeName(name);
    if (auto it = mCache.find(key); it != mCache.end())
        return it->second != nullptr;
    return LoadUncached(std::move(key), name) != nullptr;
}

const std::shared_ptr<const RecordData>& RecordDatabase::LoadUncached(std::string key,
                                                                      std::string_view name) {
    std::shared_ptr<const RecordData> data;
    if (!mIndexed)
        IndexRoot();
    const auto file = mFiles.find(key);
    if (file == mFiles.end()) {
        if (mReportedMissing.insert(key).second)
            gEngine->Log(1, "Record %.*s was not found.", static_cast<int>(name.size()),
                         name.data());
    } else {
        // One buffer serves every read: no allocation per record once it has grown.
        std::string_view text;
        if (!ReadFile(file->second, text)) {
            gEngine->Log(1, "Record %.*s could not be read.", static_cast<int>(name.size()),
                         name.data());
        } else {
            data = Parse(std::string(name), text, file->second.path);
        }
        if (!data)
            mReportedMissing.insert(key);
    }
    return mCache.insert_or_assign(std::move(key), std::move(data)).first->second;
}

LoadTable RecordDatabase::Get(std::string_view name) {
    CriticalSectionLock lock(mLock);
    std::string key = NormalizeName(name);
    if (auto it = mCache.find(key); it != mCache.end())
        return LoadTable(it->second);
    if (name.empty())
        return LoadTable();
    return LoadTable(LoadUncached(std::move(key), name));
}

bool RecordDatabase::AddRecordText(std::string_view name, std::string_view jsonText) {
    CriticalSectionLock lock(mLock);
    auto data = Parse(std::string(name), jsonText, "added text");
    mCache[NormalizeName(name)] = data;
    return data != nullptr;
}

}  // namespace GAME
