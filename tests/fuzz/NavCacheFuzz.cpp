// Feeds damaged navigation caches, ground meshes and level files to the host's level loading.
// The first byte chooses the form: 0, the rest is a whole cache file (its key taken from its own
// bytes, so inputs get past the key); 1, edits (offset, value) to a cache this program wrote;
// 2, the rest is a ground OBJ; 3, the rest is a level file; 4, edits as in 1 and the checksum
// written anew, as someone who writes the cache folder would forge it. Whatever is read must
// either be refused or reach Detour and Recast only as this program would have made it.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "Engine/Engine.h"
#include "Engine/records/RecordDatabase.h"
#include "Engine/world/GroundMesh.h"
#include "Engine/world/World.h"
#include "Engine/world/nav/NavMesh.h"

using namespace GAME;

namespace {

std::filesystem::path gRoot;
std::uint64_t gKey = 0x1234;
std::vector<std::uint8_t> gValidCache;

constexpr const char* kFlatGround = "v -8 0 -8\nv -8 0 8\nv 8 0 8\nv 8 0 -8\nf 1 2 3 4\n";

void WriteFile(const std::filesystem::path& path, const std::uint8_t* data, std::size_t size) {
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

// The checksum (bytes 16 to 23) of everything after the header (from byte 24), as the writer
// computes it.
void ForgeChecksum(std::vector<std::uint8_t>& cache) {
    constexpr std::size_t kSumAt = 16, kBodyAt = 24;
    if (cache.size() < kBodyAt)
        return;
    NavInputHash hash;
    hash.Add(cache.data() + kBodyAt, cache.size() - kBodyAt);
    const std::uint64_t sum = hash.Get();
    for (std::size_t i = 0; i < 8; ++i)
        cache[kSumAt + i] = static_cast<std::uint8_t>(sum >> (8 * i));
}

void ReadCache(const std::filesystem::path& path, std::uint64_t key) {
    std::vector<NavMeshData> entries;
    std::string error;
    if (!ReadNavCache(path, key, entries, error))
        return;
    for (const NavMeshData& data : entries) {
        NavMesh mesh;
        mesh.Init(data, error);
    }
}

void Ground(const std::uint8_t* data, std::size_t size) {
    const std::filesystem::path obj = gRoot / "Fuzz.obj";
    WriteFile(obj, data, size);
    GroundMesh ground;
    std::string error;
    const GroundBounds bounds{Vec3(-10, -10, -10), Vec3(10, 10, 10)};
    if (!ground.LoadObj(obj, error, &bounds))
        return;
    NavMeshData built;
    if (BuildNavMeshData(ground, GetPathingAgent(0), built, error)) {
        NavMesh mesh;
        mesh.Init(built, error);
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    gEngine->SetLogSink([](int, const char*, const std::string&) {});
    gRoot = std::filesystem::temp_directory_path() / ("nav_fuzz_" + std::to_string(::getpid()));
    std::filesystem::create_directories(gRoot / "Levels");
    std::ofstream(gRoot / "Levels/Ground.obj") << kFlatGround;
    Singleton<RecordDatabase>::Get().SetDataRoot(gRoot.string());
    // A cache as this program writes it, for the edits to start from.
    GroundMesh ground;
    std::string error;
    if (!ground.LoadObj(gRoot / "Levels/Ground.obj", error))
        std::abort();
    std::vector<NavMeshData> entries(1);
    if (!BuildNavMeshData(ground, GetPathingAgent(0), entries[0], error) ||
        !WriteNavCache(gRoot / "Valid.navcache", gKey, entries))
        std::abort();
    std::ifstream in(gRoot / "Valid.navcache", std::ios::binary);
    gValidCache.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const std::uint8_t form = data[0] % 5;
    ++data;
    --size;
    const std::filesystem::path cache = gRoot / "Fuzz.navcache";
    if (form == 0) {
        std::uint64_t key = 0;
        if (size >= 16)
            std::memcpy(&key, data + 8, sizeof key);
        WriteFile(cache, data, size);
        ReadCache(cache, key);
    } else if (form == 1 || form == 4) {
        std::vector<std::uint8_t> edited = gValidCache;
        for (std::size_t at = 0; at + 3 <= size; at += 3)
            edited[(data[at] | (data[at + 1] << 8)) % edited.size()] = data[at + 2];
        if (form == 4)
            ForgeChecksum(edited);
        WriteFile(cache, edited.data(), edited.size());
        ReadCache(cache, gKey);
    } else if (form == 2) {
        Ground(data, size);
    } else {
        WriteFile(gRoot / "Levels/Fuzz.level", data, size);
        World::Get().LoadLevel("Levels/Fuzz.level");
        World::Get().UnloadLevel();
    }
    return 0;
}
