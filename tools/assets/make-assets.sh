#!/usr/bin/env bash
# Regenerates every file in assets/: builds and runs the picture generator,
# then composes and renders the music. The results are the same every time.
# Needs the build tools and sox and lame (tools/install-deps.sh assets).
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$(pwd)
build=${BUILD_DIR:-$root/build-assets}

"$root/tools/install-deps.sh" game test assets
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target make_pictures -j"${JOBS:-2}"

# The generator writes its log.txt into its working directory, not into assets/.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$work" && "$build/tools/assets/make_pictures" "$root/assets")
"$root/tools/assets/make-icons.sh" "$root/assets"
python3 "$root/tools/assets/make-music.py" "$root/assets"
