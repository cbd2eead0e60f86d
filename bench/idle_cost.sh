#!/usr/bin/env bash
# Idle cost of the real game: starts the built game under a private Xvfb
# from a scratch copy of its folder, sits 10 s in the main menu, 10 s in a
# paused level 1 and 10 s in play, and prints the process's CPU share (of
# one core) and resident memory for each, in megabytes (1,000,000 bytes).
#
# Usage: bench/idle_cost.sh [options]
#   --game DIR       the built game folder (default: build-bench/bin)
#   --display :N     the X display to start Xvfb on (default: a free one)
#   --runs N         whole runs to make; the median of each figure is
#                    printed last (default 1)
#   --fullscreen     plays with [video] fullscreen=1
#   --screen WxH     the size of the Xvfb it starts (default 1280x1024)
#   --seconds S      length of each measured stretch (default 10)
#   --shots DIR      saves a screenshot of each stretch there (needs import)
# SDL's own environment variables pass through, e.g. SDL_RENDER_DRIVER=opengl
# to present through SDL's OpenGL renderer whatever it runs on.
#
# Exits non-zero only when the game could not be measured (it did not
# start, died, or no window appeared); figures over their targets are
# marked, not failed, since they depend on what else the machine runs.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
game="$root/build-bench/bin"
display=""
runs=1
fullscreen=0
screen=1280x1024
seconds=10
shots=""
while [ $# -gt 0 ]; do
    case "$1" in
        --game) game="$2"; shift 2 ;;
        --display) display="$2"; shift 2 ;;
        --runs) runs="$2"; shift 2 ;;
        --fullscreen) fullscreen=1; shift ;;
        --screen) screen="$2"; shift 2 ;;
        --seconds) seconds="$2"; shift 2 ;;
        --shots) shots="$2"; shift 2 ;;
        *) echo "unknown option $1" >&2; exit 2 ;;
    esac
done

readonly cpu_target=10   # percent of one core
readonly rss_target=64   # MB

for tool in Xvfb xdotool; do
    command -v "$tool" >/dev/null || { echo "$tool is missing (scripts/install-deps.sh test)" >&2; exit 1; }
done
[ -x "$game/emberhaunt" ] || { echo "no built game in $game" >&2; exit 1; }

if [ -z "$display" ]; then
    for n in $(seq 90 140); do
        if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then display=":$n"; break; fi
    done
    [ -n "$display" ] || { echo "no free X display number" >&2; exit 1; }
fi

work="$(mktemp -d /tmp/emberhaunt-idle-XXXXXX)"
xvfb_pid=""
game_pid=""
cleanup() {
    if [ -n "$game_pid" ] && kill -0 "$game_pid" 2>/dev/null; then
        kill "$game_pid" 2>/dev/null || true
        sleep 0.5
        kill -9 "$game_pid" 2>/dev/null || true
    fi
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

export DISPLAY="$display"
if ! xdotool getdisplaygeometry >/dev/null 2>&1; then
    Xvfb "$display" -screen 0 "${screen}x24" -nolisten tcp >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 50); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done
    xdotool getdisplaygeometry >/dev/null 2>&1 || { echo "Xvfb did not start on $display" >&2; cat "$work/xvfb.log" >&2; exit 1; }
fi

hz="$(getconf CLK_TCK)"
alive() { kill -0 "$game_pid" 2>/dev/null; }
cpu_ticks() {
    # utime + stime: fields 14 and 15, counted after the ")" that ends the name.
    sed 's/.*) //' "/proc/$game_pid/stat" | awk '{print $12 + $13}'
}
rss_kib() { awk '/^VmRSS:/ {print $2}' "/proc/$game_pid/status"; }
now() { date +%s.%N; }

press() {
    xdotool keydown "$1"
    sleep 0.12
    xdotool keyup "$1"
    sleep "${2:-1.8}"
    alive || { echo "the game ended after the key $1" >&2; exit 1; }
}

# Measures one stretch: prints "cpu_percent rss_mb peak_rss_mb".
measure() {
    local t0 c0 t1 c1 peak=0 r
    t0="$(now)"; c0="$(cpu_ticks)"
    for _ in $(seq "$seconds"); do
        sleep 1
        alive || { echo "the game ended while measured" >&2; exit 1; }
        r="$(rss_kib)"; [ "$r" -gt "$peak" ] && peak="$r"
    done
    t1="$(now)"; c1="$(cpu_ticks)"; r="$(rss_kib)"
    awk -v c="$((c1 - c0))" -v hz="$hz" -v t0="$t0" -v t1="$t1" -v r="$r" -v p="$peak" \
        'BEGIN { printf "%.1f %.1f %.1f\n", 100 * c / hz / (t1 - t0), r * 1.024 / 1000, p * 1.024 / 1000 }'
}

shot() {
    [ -n "$shots" ] && command -v import >/dev/null || return 0
    mkdir -p "$shots"
    import -window root "$shots/$1.png" 2>/dev/null || true
}

report() {  # name cpu rss peak
    local mark=""
    # The targets are the window's; full screen is reported only.
    [ "$fullscreen" = 1 ] ||
        awk -v c="$2" -v r="$4" -v ct="$cpu_target" -v rt="$rss_target" 'BEGIN { exit !(c < ct && r < rt) }' ||
            mark="   OVER TARGET"
    printf '%-6s CPU %5.1f %% of one core   resident %5.1f MB (peak %5.1f MB)%s\n' "$1" "$2" "$3" "$4" "$mark"
}

one_run() {
    local dir="$work/game" wid="" gl sw sh
    rm -rf "$dir"
    cp -r "$game" "$dir"
    if [ "$fullscreen" = 1 ]; then
        sed -i 's/^fullscreen=.*/fullscreen=1/' "$dir/config.cfg"
    fi
    (cd "$dir" && SDL_AUDIODRIVER=dummy exec ./emberhaunt >"$work/game.out" 2>&1) &
    game_pid=$!
    for _ in $(seq 100); do
        wid="$(xdotool search --pid "$game_pid" 2>/dev/null | head -n1 || true)"
        [ -n "$wid" ] && break
        alive || break
        sleep 0.1
    done
    [ -n "$wid" ] || { echo "no game window appeared" >&2; cat "$work/game.out" >&2; exit 1; }
    if [ "$fullscreen" = 1 ]; then
        # What a window manager does for a full-screen window; bare Xvfb has
        # none, and the window would stay 640 x 480 with SDL drawing for the
        # whole screen.
        read -r sw sh <<<"$(xdotool getdisplaygeometry)"
        xdotool windowmove "$wid" 0 0 windowsize "$wid" "$sw" "$sh"
    fi
    xdotool windowfocus "$wid" 2>/dev/null || true

    sleep 2
    press Return 3           # past the title to the main menu
    shot menu
    read -r m_cpu m_rss m_peak <<<"$(measure)"

    press Return             # START GAME
    press Return             # 1 PLAYER
    press Return             # START
    press Return 6           # NOVICE: level 1, past its intro and ready message
    press Escape 1
    shot pause
    read -r p_cpu p_rss p_peak <<<"$(measure)"

    press Escape 1
    shot play
    read -r g_cpu g_rss g_peak <<<"$(measure)"

    gl="$(grep -oE '[^/]*(libGL|libEGL|_dri\.so|libLLVM|libgallium)[^/ ]*$' "/proc/$game_pid/maps" |
          sort -u | tr '\n' ' ' || true)"
    kill "$game_pid" 2>/dev/null || true
    wait "$game_pid" 2>/dev/null || true
    game_pid=""

    report menu "$m_cpu" "$m_rss" "$m_peak"
    report pause "$p_cpu" "$p_rss" "$p_peak"
    report play "$g_cpu" "$g_rss" "$g_peak"
    echo "GL libraries loaded: ${gl:-none}"
    echo "$m_cpu $m_rss $m_peak $p_cpu $p_rss $p_peak $g_cpu $g_rss $g_peak" >>"$work/figures"
}

echo "Idle cost of $game on $display, $(xdotool getdisplaygeometry | tr " " x) ($(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg))$(
    [ "$fullscreen" = 1 ] && echo ', full screen')"
for i in $(seq "$runs"); do
    [ "$runs" -gt 1 ] && echo "run $i of $runs"
    one_run
done
if [ "$runs" -gt 1 ]; then
    echo "median of $runs runs"
    for col in 1 4 7; do
        name=$(case $col in 1) echo menu ;; 4) echo pause ;; 7) echo play ;; esac)
        read -r c r p <<<"$(for k in 0 1 2; do
            cut -d' ' -f$((col + k)) "$work/figures" | sort -g | awk '{a[NR] = $1} END {
                printf "%s ", (NR % 2) ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2 }'
        done)"
        report "$name" "$c" "$r" "$p"
    done
fi
