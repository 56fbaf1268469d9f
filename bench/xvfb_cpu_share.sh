#!/usr/bin/env bash
# The desktop program's share of one core while standing and while driving,
# on a data folder under Xvfb. Run on demand, not by the tests:
#   bench/xvfb_cpu_share.sh [PROGRAM [DATA_FOLDER [SECONDS]]]
# It starts a run of the down line with the default train (clicks at the
# places the title window takes on a 1280 x 1024 screen), samples the
# program's CPU time (user + system, from /proc) for SECONDS standing with
# the brake at emergency, then SECONDS driving with the speed held at the
# filming speed (Shift+F1: the video advances 30 frames a second). Needs
# xvfb-run and xdotool. Other processes on the machine disturb the figures:
# take several and report their spread.
set -euo pipefail
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s '-screen 0 1280x1024x24' "$0" "$@"
fi
program=$(realpath "${1:-build/cabdrive}")
data=$(realpath "${2:-build/demo}")
seconds=${3:-20}

"$program" "$data" > /dev/null 2>&1 &
pid=$!
trap 'kill $pid 2> /dev/null || true' EXIT
sleep 4
xdotool mousemove 400 300 click 1; sleep 1      # the opening movie: to the title
xdotool mousemove 640 512 click 1; sleep 2      # the title: to the menu
xdotool mousemove 330 370 click 1; sleep 0.5    # the down line
xdotool mousemove 830 720 click 1; sleep 8      # the train: the run loads and starts

ticks() { awk '{print $14 + $15}' "/proc/$pid/stat"; }
share() {
  local before after start end
  before=$(ticks); start=$(date +%s.%N)
  sleep "$seconds"
  after=$(ticks); end=$(date +%s.%N)
  # clock ticks of 1/100 s, per second of wall time: percent of one core
  awk -v t="$((after - before))" -v s="$start" -v e="$end" -v what="$1" \
    'BEGIN { printf "%s: %.1f %% of a core\n", what, t / (e - s) }'
}
share standing
xdotool key 5; sleep 0.3; xdotool key shift+F1; sleep 3
share "driving at 30 frames a second"
