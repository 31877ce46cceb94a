#!/usr/bin/env bash
# What two encoder options cost on a 10-minute source: loudness normalisation of an MP3 against
# the same conversion without it, and keeping the original AAC sound in an M4A against encoding
# it again. Median wall and CPU seconds of RUNS runs each, and their ratios.
#
#   bench/encoder/options.sh [BUILD_DIR]
# Environment: RUNS (default 5), SOURCE_SECONDS (default 600), WORK (default a temporary folder).
set -euo pipefail

. "$(dirname "$0")/setup.sh"
src="$work/options-source-${source_seconds}s.mp4"

if [[ ! -s $src ]]; then
    echo "Making a ${source_seconds} s H.264 + AAC stereo source in $work ..." >&2
    ffmpeg -v error -y -f lavfi -i "testsrc=size=320x240:rate=25:duration=$source_seconds" \
        -f lavfi -i "sine=frequency=440:sample_rate=44100:duration=$source_seconds" \
        -c:v libx264 -preset ultrafast -crf 35 -c:a aac -b:a 128k -ac 2 "$src"
fi

# Median "wall user" seconds over $runs runs of the command.
bench() {
    local walls=() users=() w u
    for ((i = 0; i < runs; i++)); do
        read -r w u < <(/usr/bin/time -f "%e %U" "$@" 2>&1 >/dev/null | tail -n 1)
        walls+=("$w"); users+=("$u")
    done
    local median='sort -g | awk "{a[NR]=\$1} END {print a[int((NR+1)/2)]}"'
    echo "$(printf '%s\n' "${walls[@]}" | eval "$median") $(printf '%s\n' "${users[@]}" | eval "$median")"
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.3f", a / b; else print "n/a" }'; }
row() {
    local name=$1 with=$2 without=$3
    printf '| %s | %s | %s | %s | %s | %s | %s |\n' "$name" "${with% *}" "${without% *}" \
        "$(ratio "${with% *}" "${without% *}")" "${with#* }" "${without#* }" "$(ratio "${with#* }" "${without#* }")"
}

common=(-y -i "$src" -vn -ab 128 -vol 100 -ac 2 -ar 44100)
printf '| job | with wall s | without wall s | wall ratio | with CPU s | without CPU s | CPU ratio |\n|---|---|---|---|---|---|---|\n'
row "mp3, -loudness -16 against none" \
    "$(bench "$evc" -acodec mp3 "${common[@]}" -loudness -16 "$work/loud.mp3")" \
    "$(bench "$evc" -acodec mp3 "${common[@]}" "$work/plain.mp3")"
row "m4a from AAC, -keeporiginal against encoding again" \
    "$(bench "$evc" -acodec aac "${common[@]}" -keeporiginal "$work/kept.m4a")" \
    "$(bench "$evc" -acodec aac "${common[@]}" "$work/encoded.m4a")"
