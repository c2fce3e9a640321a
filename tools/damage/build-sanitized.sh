#!/bin/sh
# Builds the data tool with AddressSanitizer and UndefinedBehaviorSanitizer in
# its own build directory (default build-san) for the damaged-data campaign:
#   tools/damage/build-sanitized.sh && \
#   tools/damage/campaign.py --tool build-san/tools/pelmark-data/pelmark-data --inputs 1000
set -e
cd "$(dirname "$0")/../.."
dir=${1:-build-san}
flags="-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined"
launcher=
command -v ccache >/dev/null && launcher=-DCMAKE_CXX_COMPILER_LAUNCHER=ccache
cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPELMARK_SANITIZE_ENGINE=OFF \
  "-DCMAKE_CXX_FLAGS=$flags" "-DCMAKE_EXE_LINKER_FLAGS=-fsanitize=address,undefined" $launcher
cmake --build "$dir" -j2 --target pelmark-data
