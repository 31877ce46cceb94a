#!/usr/bin/env bash
# Compares evc with the ffmpeg command line on the same audio jobs: wall time (median of RUNS runs)
# and peak memory, for every output type and for a 30 s cut late in the source.
#
#   bench/encoder/run.sh [BUILD_DIR]
# Environment: RUNS (default 5), SOURCE_SECONDS (default 600), WORK (default a temporary folder).
set -euo pipefail

. "$(dirname "$0")/setup.sh"
src="$work/source-${source_seconds}s.mp4"

if [[ ! -s $src ]]; then
    echo "Making a ${source_seconds} s 1280x720 H.264 + AAC source in $work ..." >&2
    ffmpeg -v error -y -f lavfi -i "testsrc=size=1280x720:rate=25:duration=$source_seconds" \
        -f lavfi -i "sine=frequency=440:sample_rate=48000:duration=$source_seconds" \
        -c:v libx264 -preset ultrafast -crf 30 -g 250 -c:a aac -b:a 128k -ac 2 "$src"
fi

# Prints "wall_seconds user_seconds peak_kB" of one run of the given command.
measure() {
    /usr/bin/time -f "%e %U %M" "$@" 2>&1 >/dev/null | tail -n 1
}

median() { printf '%s\n' "$@" | sort -g | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

# Median wall time, median user CPU time and largest peak memory over $runs runs of the command.
bench() {
    local walls=() users=() peak=0 w u m
    for ((i = 0; i < runs; i++)); do
        read -r w u m < <(measure "$@")
        walls+=("$w"); users+=("$u")
        ((m > peak)) && peak=$m
    done
    echo "$(median "${walls[@]}") $(median "${users[@]}") $peak"
}

wall() { echo "${1%% *}"; }
user() { local rest=${1#* }; echo "${rest%% *}"; }
peak_mb() { awk -v k="${1##* }" 'BEGIN{printf "%.1f", k/1024}'; }

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "n/a" }'; }

printf '| Type | evc wall s | ffmpeg wall s | wall ratio | evc CPU s | ffmpeg CPU s | CPU ratio | evc peak MB | ffmpeg peak MB |\n'
printf '|---|---|---|---|---|---|---|---|---|\n'
declare -A codec=([amr]=amr_nb [aac]=aac [mp3]=mp3 [ac3]=ac3 [m4a]=aac [ogg]=vorbis [wav]=pcm_s16le)
declare -A ffcodec=([aac]=aac [mp3]=libmp3lame [ac3]=ac3 [m4a]=aac [ogg]=libvorbis [wav]=pcm_s16le)
for ext in amr aac mp3 ac3 m4a ogg wav; do
    if [[ $ext == amr ]]; then
        ours=$(bench "$evc" -y -i "$src" -acodec amr_nb -s 176x144 -b 128 -ab 64 -vol 100 -ac 1 -ar 8000 "$work/evc.amr")
        theirs="0 0 0" # this ffmpeg has no AMR-NB encoder
    else
        ours=$(bench "$evc" -y -i "$src" -acodec "${codec[$ext]}" -vn -ab 128 -vol 100 -ac 2 -ar 44100 "$work/evc.$ext")
        theirs=$(bench ffmpeg -nostdin -v error -y -i "$src" -vn -acodec "${ffcodec[$ext]}" -b:a 128k -ac 2 -ar 44100 \
            "$work/ffmpeg.$ext")
    fi
    printf '| %s | %s | %s | %s | %s | %s | %s | %s | %s |\n' "$ext" "$(wall "$ours")" "$(wall "$theirs")" \
        "$(ratio "$(wall "$ours")" "$(wall "$theirs")")" "$(user "$ours")" "$(user "$theirs")" \
        "$(ratio "$(user "$ours")" "$(user "$theirs")")" "$(peak_mb "$ours")" "$(peak_mb "$theirs")"
done

if ((source_seconds > 570)); then
    # The late cut, with our templates' argument order for the command line (-ss after -i).
    for ext in mp3 wav; do
        ours=$(bench "$evc" -y -i "$src" -acodec "${codec[$ext]}" -vn -ab 128 -vol 100 -ac 2 -ar 44100 \
            -ss 00:09:00 -t 30 "$work/cut.$ext")
        theirs=$(bench ffmpeg -nostdin -v error -y -i "$src" -ss 00:09:00 -t 30 -vn -acodec "${ffcodec[$ext]}" \
            -b:a 128k -ac 2 -ar 44100 "$work/ffmpeg-cut.$ext")
        printf '\n30 s cut at 9:00 (%s): evc %s s wall / %s s CPU, ffmpeg -i SRC -ss 00:09:00 -t 30 %s s wall / %s s CPU:' \
            "$ext" "$(wall "$ours")" "$(user "$ours")" "$(wall "$theirs")" "$(user "$theirs")"
        printf ' evc %sx faster (wall), %sx (CPU); evc peak %s MB\n' "$(ratio "$(wall "$theirs")" "$(wall "$ours")")" \
            "$(ratio "$(user "$theirs")" "$(user "$ours")")" "$(peak_mb "$ours")"
    done
fi
