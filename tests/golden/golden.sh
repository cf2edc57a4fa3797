#!/bin/sh
# Golden outputs of kinetrova-cli: what the commands write for fixed inputs, kept
# as SHA-256 digests, so that a change inside the program that moves a single
# byte of a workout, tone or audio file is noticed.
#
#   golden.sh BIN DIGESTS            compare (exit 1 on any difference)
#   golden.sh BIN DIGESTS --update   write the digests anew
set -eu
BIN="$(cd "$1" && pwd)"
DIGESTS="$2"
MODE="${3:-}"
CORPUS="$(cd "$(dirname "$0")/../fuzz/corpus/workout_text" && pwd)"

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
export XDG_CONFIG_HOME="$WORK/config" XDG_DATA_HOME="$WORK/data" XDG_CACHE_HOME="$WORK/cache"
export LANG=C LC_ALL=C QT_MEDIA_BACKEND=ffmpeg
OUT="$WORK/out"
mkdir -p "$OUT"
cli() { "$BIN/kinetrova-cli" "$@"; }

# Random workouts for several parameter sets.
cli random --seed 1 -o "$OUT/random-default.txt" >/dev/null
cli random --seed 42 --minutes 45 --speed 3-7 --incline 1-6 --speed-pattern interval \
    --incline-pattern hill -o "$OUT/random-interval-hill.txt" >/dev/null
cli random --seed 7 --minutes 20 --speed-pattern fast-slow --speed-bias 80,4,60 \
    --incline-bias 20,6,30 --warmup 120,3,1 --cooldown 90,2.5,1.5 -o "$OUT/random-biased.txt" >/dev/null

# Totals and convert of the test workouts.
# From the corpus folder, so that a message naming a file reads the same in any checkout.
for f in v12-hills v12-clamped-times v12-incline-trainer-metric v11-sixty-one; do
    (cd "$CORPUS" && cli totals "$f.txt") > "$OUT/totals-$f.out" 2>&1 || true
    (cd "$CORPUS" && cli totals "$f.txt" --units km --weight 200) > "$OUT/totals-km-$f.out" 2>&1 || true
    (cd "$CORPUS" && cli convert "$f.txt" -o "$OUT/convert-$f.txt") > "$OUT/convert-$f.out" 2>&1 || true
done

# Tones, and workout audio files with and without music.
cli tone 65 45 -o "$OUT/tone-65-45.wav" >/dev/null
cli tone 120 35 --stereo --machine Bike -o "$OUT/tone-bike-stereo.wav" >/dev/null
W="$OUT/random-default.txt"
cli wav "$W" -o "$OUT/plain.wav" --cues on >/dev/null
cli wav "$W" -o "$OUT/plain-mono-beeps.wav" --mono --beeps 2 --cues off --units km >/dev/null
cli wav "$CORPUS/v12-hills.txt" -o "$WORK/music1.wav" --cues on >/dev/null
cli wav "$W" -o "$OUT/music.wav" --music "$WORK/music1.wav" --cues on >/dev/null
cli mp3 "$W" -o "$OUT/plain.mp3" --bitrate 96 --cues on >/dev/null
cli mp3 "$CORPUS/v12-hills.txt" -o "$WORK/music1.mp3" --bitrate 128 --cues off >/dev/null
cli mp3 "$W" -o "$OUT/music.mp3" --music "$WORK/music1.mp3" --cues on >/dev/null

(cd "$OUT" && sha256sum -- *) > "$WORK/digests"
if [ "$MODE" = "--update" ]; then
    cp "$WORK/digests" "$DIGESTS"
    echo "golden: $(wc -l < "$DIGESTS") digests written to $DIGESTS"
    exit 0
fi
if ! diff -u "$DIGESTS" "$WORK/digests"; then
    echo "golden: the outputs above differ from the stored digests" >&2
    exit 1
fi
echo "golden: $(wc -l < "$DIGESTS") outputs as stored"
