#!/usr/bin/env bash
# Installs what the build and the tests need, builds, checks the formatting and the
# generated station catalogue, and runs every test twice: in a normal build and in a build
# with AddressSanitizer and UndefinedBehaviorSanitizer. Fails when anything fails.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs="$(nproc)"

if [ -n "${NIMBALO_APT_UPDATED:-}" ]; then
  scripts/install-deps.sh --no-update
else
  scripts/install-deps.sh
fi

echo "== formatting"
git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

echo "== station catalogue"
python3 tools/make_catalogue.py --check

echo "== build"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DNIMBALO_WERROR=ON -DNIMBALO_BUILD_GUI=ON -DNIMBALO_BUILD_TESTS=ON
cmake --build build -j"$jobs"

echo "== sanitizer build"
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DNIMBALO_SANITIZE=ON -DNIMBALO_WERROR=ON -DNIMBALO_BUILD_GUI=ON \
  -DNIMBALO_BUILD_BENCH=OFF
cmake --build build-asan -j"$jobs"

echo "== tests under AddressSanitizer and UndefinedBehaviorSanitizer"
(cd build-asan && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 ctest --output-on-failure -j"$jobs")

echo "== tests"
(cd build && ctest --output-on-failure -j"$jobs")
