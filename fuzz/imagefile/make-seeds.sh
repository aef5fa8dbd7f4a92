#!/usr/bin/env bash
# Writes the fuzz seeds: tiny BMP and TGA pictures from Pillow and ImageMagick
# in the layouts the loaders accept (and a few they refuse), so that fuzzing
# starts from every header variant instead of from nothing. The found-* files
# come from long runs (tools/fuzz.sh): the few that reached the most code the
# seeds do not.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
picture="/usr/bin/python3 $here/../../tests/imagefile/make_picture.py"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Inputs that long fuzzing runs found to reach further (found-*) are kept.
mkdir -p "$here/corpus/bmp" "$here/corpus/tga"
find "$here/corpus" -type f ! -name 'found-*' -delete
bmp=$here/corpus/bmp
tga=$here/corpus/tga

$picture "$bmp/pillow24.bmp" 3 2
$picture "$bmp/pillow32.bmp" 2 2 --alpha
$picture "$work/opaque.png" 3 2
$picture "$work/alpha.png" 2 2 --alpha
convert "$work/opaque.png" -type TrueColor "$bmp/magick-v5-24.bmp"
convert "$work/alpha.png" -type TrueColorAlpha "$bmp/magick-v5-bitfields.bmp"
convert "$work/opaque.png" -type TrueColor "BMP3:$bmp/magick-v3-24.bmp"
convert "$work/opaque.png" -type Palette "BMP3:$bmp/magick-v3-palette.bmp"
$picture "$bmp/top-down.bmp" 3 2 --top-left
# Channel masks of other widths and places, alpha bit fields among them.
$picture "$bmp/masks-10bit.bmp" 2 2 --masks 0x3FF00000 0x000FFC00 0x000003FF 0 --expected "$work/10bit.rgba" >/dev/null
$picture "$bmp/masks-alpha-bitfields.bmp" 2 2 --masks 0x000003FF 0x000FFC00 0x3FF00000 0xC0000000 \
  --expected "$work/alpha.rgba" --alpha-bitfields >/dev/null

$picture "$tga/pillow24.tga" 3 2
$picture "$tga/pillow32.tga" 2 2 --alpha
$picture "$tga/pillow-top-left.tga" 2 3 --alpha --top-left
$picture "$tga/pillow-id.tga" 2 2 --id seed
$picture "$tga/pillow-rle.tga" 3 2 --rle
convert "$work/opaque.png" -type TrueColor -orient TopLeft -compress none "$tga/magick24.tga"
