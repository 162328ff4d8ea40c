#!/usr/bin/env bash
# The tests that run threads, under ThreadSanitizer: the level loads on its own thread while the
# game thread asks about what it fills, and quest state is saved on its own thread while the
# quests go on stepping. Only those two test programs are built, to keep CI short.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs="${JOBS:-$(nproc)}"
cmake --preset tsan >/dev/null
cmake --build --preset tsan -j"$jobs" --target loader_tests quests_tests
TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" \
    ctest --test-dir build/tsan -R "LevelLoaderThread|QuestRepositoryTest.(QuestStateSurvives|SavesInTheBackground)" --output-on-failure
