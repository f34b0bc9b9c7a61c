#!/usr/bin/env bash
# Playback costs of the real program, measured on a private sound server (scripts/with-test-audio)
# with the window shown on a virtual X display (Xvfb; offscreen when there is none):
#
# - CPU: the whole process's user and system time over 20 s while it plays a long MP3 (through
#   libvbmp3.so) and a long FLAC (through GStreamer), as a percentage of one core, next to
#   gst-launch-1.0 playing the same file to the same sink in the same run, with the ratio.
#   Fails above 3 %.
# - Gap: the silence between the end of one track and the sound of the next, read off the sink's
#   monitor, for MP3 -> MP3, FLAC -> FLAC and MP3 -> FLAC (a change of backend). Fails above
#   150 ms.
#
#   bench/playback.sh [BUILD_DIR]     (default: build; quomm3u and libvbmp3.so must be built there)
#   SECONDS_MEASURED=20               length of each CPU measurement
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-build}" && pwd)
program="$build/bin/quomm3u"
[[ -x $program && -f $build/bin/libvbmp3.so ]] || {
  echo "missing $program or libvbmp3.so: build the targets quomm3u and vbmp3" >&2
  exit 2
}
if [[ -z ${QUOMM3U_BENCH_AUDIO:-} ]]; then
  # Never play into the user's own sound server.
  QUOMM3U_BENCH_AUDIO=1 exec "$here/scripts/with-test-audio" "$0" "$build"
fi

measured=${SECONDS_MEASURED:-20}
cpu_limit=3
gap_limit_ms=150
work=$(mktemp -d /tmp/quomm3u-bench-playback.XXXXXX)
xvfb_pid=
cleanup() {
  [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null
  rm -rf -- "$work"
}
trap cleanup EXIT

platform=offscreen
if [[ -z ${DISPLAY:-} ]] && command -v Xvfb >/dev/null; then
  for n in $(seq 90 120); do
    [[ -e /tmp/.X11-unix/X$n || -e /tmp/.X$n-lock ]] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    export DISPLAY=":$n"
    break
  done
  for _ in $(seq 50); do
    [[ -e /tmp/.X11-unix/X${DISPLAY#:} ]] && break
    sleep 0.1
  done
fi
[[ -n ${DISPLAY:-} ]] && platform=xcb
echo "window on: $platform${DISPLAY:+ ($DISPLAY)}"

# tone FILE SECONDS FREQUENCY ENCODER...: a stereo sine at 44.1 kHz, loud and without fades.
tone() {
  local file=$1 seconds=$2 freq=$3
  shift 3
  gst-launch-1.0 -q audiotestsrc wave=sine volume=0.5 freq="$freq" num-buffers=$((seconds * 10)) \
    samplesperbuffer=4410 ! audio/x-raw,rate=44100,channels=2 ! audioconvert ! "$@" ! \
    filesink location="$file"
}

mkdir -p "$work/music" "$work/data/quomm3u"
long=$((measured + 10))
tone "$work/music/long.mp3" "$long" 440 lamemp3enc target=bitrate bitrate=192
tone "$work/music/long.flac" "$long" 440 flacenc
tone "$work/music/a.mp3" 2 440 lamemp3enc target=bitrate bitrate=192
tone "$work/music/b.mp3" 2 880 lamemp3enc target=bitrate bitrate=192
tone "$work/music/a.flac" 2 440 flacenc
tone "$work/music/b.flac" 2 880 flacenc

ticks=$(getconf CLK_TCK)
# cpu_ticks PID: user plus system time of the process so far, in clock ticks.
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }

# run_program ALBUM_TRACKS...: starts the program on a fresh ini file that restores an album of
# the given tracks and plays it at once without repeating; sets $pid.
run_program() {
  local album="$work/music/album.m3u"
  printf '%s\n' "$@" >"$album"
  # The ini file is UTF-16LE with CR LF, as the program writes it.
  printf '%s\r\n' "OutputDeviceName=Default DirectSound Device" "Volume=10000" "RepeatMode=0" \
    "PlayWhenExecute=True" "FileList0=$album" "ActiveFileName=$album" \
    "ActiveMusicName=$work/music/$1" "PlayPosition=0" |
    iconv -f UTF-8 -t UTF-16LE >"$work/data/quomm3u/quomm3u.ini"
  XDG_DATA_HOME="$work/data" QT_QPA_PLATFORM=$platform "$program" >"$work/program.log" 2>&1 &
  pid=$!
}

stop_program() {
  kill -TERM "$1" 2>/dev/null || true
  wait "$1" 2>/dev/null || true
}

# measure_cpu PID: percentage of one core over $measured seconds, after 3 s of settling.
measure_cpu() {
  sleep 3
  local before after
  before=$(cpu_ticks "$1")
  sleep "$measured"
  after=$(cpu_ticks "$1")
  awk -v t=$((after - before)) -v hz="$ticks" -v s="$measured" 'BEGIN { printf "%.2f", 100 * t / hz / s }'
}

failed=0
echo
echo "CPU while playing (% of one core over ${measured} s)"
printf '  %-6s %10s %14s %8s\n' file quomm3u gst-launch ratio
for kind in mp3 flac; do
  run_program "long.$kind"
  ours=$(measure_cpu "$pid")
  stop_program "$pid"
  gst-launch-1.0 -q playbin uri="file://$work/music/long.$kind" \
    audio-sink="pulsesink" video-sink=fakesink >/dev/null 2>&1 &
  peer_pid=$!
  peer=$(measure_cpu "$peer_pid")
  stop_program "$peer_pid"
  ratio=$(awk -v a="$ours" -v b="$peer" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "-" }')
  printf '  %-6s %9s%% %13s%% %8s\n' "$kind" "$ours" "$peer" "$ratio"
  awk -v a="$ours" -v l="$cpu_limit" 'BEGIN { exit !(a > l) }' && {
    echo "  FAIL: above $cpu_limit %"
    failed=1
  }
done

# Reads 16-bit mono samples at 44.1 kHz from stdin and prints, in milliseconds, the longest
# silence between the first and the last sound and the time from the first to the last sound
# (1 ms windows; a window is silent when its peak stays under a tenth of the tone's).
gap_of_recording() {
  python3 -c '
import sys, array
data = array.array("h"); data.frombytes(sys.stdin.buffer.read())
window = 44
peaks = [max(abs(s) for s in data[i:i + window]) for i in range(0, len(data) - window, window)]
loud = [p > 1600 for p in peaks]
if True not in loud: print("nosound 0"); sys.exit()
first = loud.index(True); last = len(loud) - 1 - loud[::-1].index(True)
longest = run = 0
for l in loud[first:last + 1]:
    run = 0 if l else run + 1
    longest = max(longest, run)
ms = lambda windows: windows * window * 1000 // 44100
print(ms(longest), ms(last - first + 1))
'
}

echo
echo "Silence between two tracks of 2 s (ms, on the sink monitor)"
for pair in "a.mp3 b.mp3" "a.flac b.flac" "a.mp3 b.flac"; do
  read -r first second <<<"$pair"
  parec -d "$(pactl get-default-sink).monitor" --raw --format=s16le --rate=44100 --channels=1 \
    --latency-msec=10 >"$work/monitor.raw" &
  rec_pid=$!
  sleep 0.5
  run_program "$first" "$second"
  # Both tracks, the start-up and a margin.
  sleep 8
  stop_program "$pid"
  kill "$rec_pid" 2>/dev/null || true
  wait "$rec_pid" 2>/dev/null || true
  read -r gap heard < <(gap_of_recording <"$work/monitor.raw")
  printf '  %-16s %6s   (sound over %s ms)\n' "$first -> $second" "$gap" "$heard"
  if [[ $gap == nosound ]] || ((heard < 3500)); then
    echo "  FAIL: the two tracks were not both heard"
    failed=1
  elif ((gap > gap_limit_ms)); then
    echo "  FAIL: more than $gap_limit_ms ms"
    failed=1
  fi
done
exit $failed
