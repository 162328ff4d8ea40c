# The standard headers nearly every source includes, parsed once per target instead of once per
# source (they were about a third of each compile).
set(GAME_PCH_HEADERS <algorithm> <array> <cmath> <cstddef> <cstdint> <cstdio> <cstring> <functional>
    <limits> <map> <memory> <string> <string_view> <unordered_map> <utility> <vector>)
