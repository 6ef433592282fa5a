#!/usr/bin/env bash
# Starts the real program in a window on a virtual X display, loads the sample texts, finds the
# differences between their lines and saves a PNG of the window. Fails when the program does not
# come up, dies on the way, or draws no difference in red.
#
# usage: tools/screenshot.sh [BUILD_DIR] [OUT.png]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
out=$(realpath -m "${2:-$root/docs/window.png}")
for tool in xvfb-run xdotool python3; do
    command -v "$tool" >/dev/null || { echo "$tool is missing: run tools/install-dependencies.sh" >&2; exit 2; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/fb" "$work/config"

cat >"$work/tour.sh" <<'TOUR'
#!/usr/bin/env bash
set -euo pipefail
build=$1 work=$2
# Its own settings, so that no user's choice and no earlier run changes what shows.
XDG_CONFIG_HOME=$work/config QT_QPA_PLATFORM=xcb "$build/app/tarnwick" &
program=$!
window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Tarnwick$' | head -n 1)
eval "$(xdotool getwindowgeometry --shell "$window")" # X, Y, WIDTH, HEIGHT
click() { # a point of the window's client area, in pixels
    xdotool mousemove --sync $((X + $1)) $((Y + $2)) click 1
    sleep 0.5
}
answer() { # the key that closes the message box now on top
    sleep 0.7
    xdotool key "$1"
    sleep 0.5
}
click 400 418      # Load Sample/Example Files
answer Escape      # no, do not open the folder
click 128 452      # Find Differences (Lines)
answer Return      # Done.
kill -0 "$program" # still alive
sleep 0.5
cp "$work/fb/Xvfb_screen0" "$work/screen.xwd" # the screen as Xvfb keeps it, in XWD form
echo "$X $Y $WIDTH $HEIGHT" >"$work/geometry"
kill "$program"
TOUR
chmod +x "$work/tour.sh"

xvfb-run -a -s "-screen 0 900x700x24 -fbdir $work/fb" "$work/tour.sh" "$build" "$work" || true
[ -s "$work/geometry" ] || { echo "the program did not come up or did not survive the tour" >&2; exit 1; }
read -r x y width height <"$work/geometry"
mkdir -p "$(dirname "$out")"
red=$(python3 "$root/tools/xwd_to_png.py" "$work/screen.xwd" "$out" "$x" "$y" "$width" "$height")
echo "Saved $out (${width}x${height}, $red red pixels)"
[ "$red" -gt 0 ] || { echo "no difference is drawn in red" >&2; exit 1; }
