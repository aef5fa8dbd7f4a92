#!/usr/bin/env bash
# Composes the desktop icon from the game's own pictures, a patch of the field
# with a snake heading for an orange, and writes it at 48, 64, 128 and 256 px
# into assets/icons/, and the Windows program's icon, vellorin.ico, at 16, 32, 48
# and 256 px. Needs ImageMagick (tools/install-deps.sh test).
# Usage: tools/assets/make-icons.sh [assets folder]
set -euo pipefail
assets=${1:-$(cd "$(dirname "$0")/../.." && pwd)/assets}
mkdir -p "$assets/icons"

# The sprites mark their transparent pixels with magenta; they are doubled
# with the point filter so the pixel art stays sharp.
sprite() { echo "( $assets/$1 -transparent magenta -filter point -resize 200% )"; }
# No time stamps in the files, so the same icons come out every time.
plain=(-strip -define png:exclude-chunks=date,time)

# shellcheck disable=SC2046 # each sprite expands to an ImageMagick sub-list
convert "$assets/gameBackground.bmp" -crop 64x64+96+96 +repage \
  $(sprite snakeBit.bmp) -geometry +2+40 -composite \
  $(sprite snakeBit.bmp) -geometry +22+40 -composite \
  $(sprite snakeHead.bmp) -geometry +42+40 -composite \
  \( "$assets/food3.bmp" -transparent magenta \) -geometry +30+6 -composite \
  "${plain[@]}" "$assets/icons/vellorin-64.png"
for size in 128 256; do
  convert "$assets/icons/vellorin-64.png" -filter point -resize "${size}x${size}" "${plain[@]}" "$assets/icons/vellorin-$size.png"
done
convert "$assets/icons/vellorin-64.png" -resize 48x48 "${plain[@]}" "$assets/icons/vellorin-48.png"
# Windows shows 16 and 32 px in lists and title bars, 48 and 256 px in folders.
convert "$assets/icons/vellorin-64.png" \( -clone 0 -resize 16x16 \) \( -clone 0 -resize 32x32 \) \
  "$assets/icons/vellorin-48.png" "$assets/icons/vellorin-256.png" -delete 0 "${plain[@]}" "$assets/icons/vellorin.ico"
