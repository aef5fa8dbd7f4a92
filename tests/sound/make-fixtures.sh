#!/usr/bin/env bash
# Makes the short MP3 files the sound tests play. They are committed; run this
# only to change them (needs sox and lame: tools/install-deps.sh assets).
set -euo pipefail
cd "$(dirname "$0")"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

tone() { # file, seconds, frequency
  sox -n -r 22050 -c 1 -b 16 "$1" synth "$2" sine "$3" vol 0.5
}

# 0.4 s at 440 Hz, then 2.6 s at 1320 Hz: the pitch tells where the music is.
tone "$work/low.wav" 0.4 440
tone "$work/high.wav" 2.6 1320
sox "$work/low.wav" "$work/high.wav" "$work/twoTones.wav"
# 0.5 s at 660 Hz, a whole number of periods, so that it loops without a seam.
tone "$work/tone.wav" 0.5 660

# Variable bit rate makes the encoder write its delay and padding into the
# file, so the decoder gives back exactly the samples encoded.
for name in twoTones tone; do
  lame --quiet -m m -V 8 "$work/$name.wav" "$name.mp3"
done
