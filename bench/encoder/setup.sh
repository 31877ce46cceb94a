# Sourced by the encoder benchmarks: the build folder, evc, RUNS, SOURCE_SECONDS and WORK, and
# the checks that evc is built and ffmpeg is there.
build_dir=${1:-"$(dirname "$0")/../../build"}
evc="$build_dir/Kelvane/evc"
runs=${RUNS:-5}
source_seconds=${SOURCE_SECONDS:-600}
work=${WORK:-$(mktemp -d)}

[[ -x $evc ]] || { echo "evc not found at $evc (build first)" >&2; exit 1; }
command -v ffmpeg >/dev/null || { echo "ffmpeg is needed" >&2; exit 1; }
