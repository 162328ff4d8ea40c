# The standard headers nearly every source includes, parsed once per target instead of once per
# source (they were about a third of each compile).
set(GAME_PCH_HEADERS <algorithm> <array> <cmath> <cstddef> <cstdint> <cstdio> <cstring> <functional>
    <limits> <map> <memory> <string> <string_view> <unordered_map> <utility> <vector>)

# Sources compiled on their own, outside the unity batches: clang's instrumented builds take
# minutes on the batch kernels when they share a batch with the boss controllers.
get_filename_component(GAME_SOLO_SOURCES ${CMAKE_CURRENT_LIST_DIR}/../Game/ai/anger/AngerBatchLanes.cpp
                       ABSOLUTE)
set_source_files_properties(${GAME_SOLO_SOURCES} PROPERTIES SKIP_UNITY_BUILD_INCLUSION ON)
