#!/usr/bin/env bash
# Starts the real program in a window on a virtual X display, twice:
#  1. loads the sample texts with the sample button, finds the differences between their lines
#     and saves a PNG of the window to OUT.png;
#  2. starts it as `tarnwick --lines Samples/sample1.txt Samples/sample2.txt` from the program's
#     folder and saves that window to OUT-lines.png beside the first when OUT is not in docs/;
#  3. starts it with two files of one line of 2 MB each, words apart, compares their words,
#     moves to the end of the first and saves that window to OUT-long-line.png likewise;
#  4. compares two texts of which some lines differ only invisibly, rests the pointer on one of
#     them and saves the window with its tooltip and the strips beside the scroll bars to
#     OUT-lookalike.png (docs/lookalike.png when OUT is in docs/).
# Fails when the program does not come up, dies on the way, or draws no difference in red.
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
mkdir -p "$work/fb" "$work/config" "$work/bin"
printf '#!/bin/sh\nexit 0\n' >"$work/bin/xdg-open"
chmod +x "$work/bin/xdg-open"

cat >"$work/tour.sh" <<'TOUR'
#!/usr/bin/env bash
set -euo pipefail
build=$1 work=$2
# Its own settings, so that no user's choice and no earlier run changes what shows. One start in a
# hundred shows the maker's site: a browser that does nothing keeps that from opening a real one
# or, where none is found, from putting up an extra box.
export XDG_CONFIG_HOME=$work/config QT_QPA_PLATFORM=xcb PATH=$work/bin:$PATH
windows() { # the visible windows titled Tarnwick, with or without the files' names before it
    xdotool search --onlyvisible --name '(^| )Tarnwick$' 2>/dev/null || true
}
wait_for_windows() { # until exactly $1 of them show
    for _ in $(seq 100); do
        [ "$(windows | wc -l)" -eq "$1" ] && return
        sleep 0.2
    done
    echo "expected $1 Tarnwick windows, found $(windows | wc -l):" >&2
    for w in $(windows); do xdotool getwindowgeometry "$w" >&2; done
    return 1
}
dismiss() { # the "Done." box that shows with the window: Return, until it has gone
    for _ in $(seq 10); do
        sleep 0.5
        xdotool key Return
        [ "$(windows | wc -l)" -eq 1 ] && return
    done
    wait_for_windows 1
}
shoot() { # the screen as Xvfb keeps it, in XWD form, and where the window lies on it
    sleep 0.5
    cp "$work/fb/Xvfb_screen0" "$work/$1.xwd"
    echo "$X $Y $WIDTH $HEIGHT" >"$work/$1.geometry"
}

"$build/app/tarnwick" &
program=$!
window=$(timeout 20 xdotool search --sync --onlyvisible --name '(^| )Tarnwick$' | head -n 1)
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
shoot buttons
kill "$program"
wait "$program" 2>/dev/null || true
wait_for_windows 0

# Two files named on the command line, relative to the current folder, compared at once.
xdotool mousemove 5 5 # away from the panes, whose tooltips would count as windows
(cd "$build/app" && exec ./tarnwick --lines Samples/sample1.txt Samples/sample2.txt) &
program=$!
wait_for_windows 2 # the window and its "Done." box
dismiss
eval "$(xdotool getwindowgeometry --shell "$(windows)")"
kill -0 "$program"
shoot command-line
kill "$program"
wait "$program" 2>/dev/null || true
wait_for_windows 0

# One line of 2 MB a file: the window lays out only what it shows.
python3 - "$work" <<'LONG'
import random, sys
rng = random.Random(1)
words = ["".join(rng.choice("abcdefghij") for _ in range(rng.randint(1, 8))) for _ in range(500)]
line = [rng.choice(words) for _ in range(350000)]
changed = [w if rng.random() > 0.1 else w.upper() for w in line]
open(sys.argv[1] + "/long1.txt", "w").write(" ".join(line) + "\n")
open(sys.argv[1] + "/long2.txt", "w").write(" ".join(changed) + "\n")
LONG
xdotool mousemove 5 5
"$build/app/tarnwick" --words "$work/long1.txt" "$work/long2.txt" &
program=$!
wait_for_windows 2 # the window and its "Done." box
dismiss
eval "$(xdotool getwindowgeometry --shell "$(windows)")"
xdotool mousemove --sync $((X + 120)) $((Y + 150)) click 1
xdotool key ctrl+End
kill -0 "$program"
shoot long-line
kill "$program"
wait "$program" 2>/dev/null || true
wait_for_windows 0

# Lines that only look different: a trailing blank, a Cyrillic letter, a non-breaking space.
python3 - "$work" <<'LOOKALIKE'
import sys
lines = [f"Berth {n}: all moorings checked." for n in range(1, 301)]
changed = list(lines)
changed[2] = lines[2] + " "
changed[150] = lines[150].replace("a", "\u0430", 1)
changed[260] = lines[260].replace(" ", "\u00a0", 1)
changed[40] = "Berth 41: two moorings need new bolts."
open(sys.argv[1] + "/harbour1.txt", "w", encoding="utf-8").write("\n".join(lines) + "\n")
open(sys.argv[1] + "/harbour2.txt", "w", encoding="utf-8").write("\n".join(changed) + "\n")
LOOKALIKE
xdotool mousemove 5 5
"$build/app/tarnwick" --lines "$work/harbour1.txt" "$work/harbour2.txt" &
program=$!
wait_for_windows 2
dismiss
eval "$(xdotool getwindowgeometry --shell "$(windows)")"
xdotool mousemove --sync $((X + 400)) $((Y + 250)) click 1 # the window takes the focus
xdotool mousemove --sync $((X + 345)) $((Y + 100))         # the third line of the second text
sleep 2.5                                                  # until its tooltip shows
kill -0 "$program"
shoot lookalike
kill "$program"
TOUR
chmod +x "$work/tour.sh"

tour() {
    rm -f "$work"/*.geometry
    xvfb-run -a -s "-screen 0 1280x800x24 -noreset -fbdir $work/fb" "$work/tour.sh" "$build" "$work" || true
}
tour
# A virtual display that dies under it (seen on busy machines) gets one more go; a program that
# does not come up, or draws no red, fails both.
for shot in buttons command-line long-line lookalike; do
    if [ ! -s "$work/$shot.geometry" ]; then
        echo "the $shot tour did not finish; once more on a new display" >&2
        tour
        break
    fi
done

# Crops one shot to the window and checks that it shows red.
save() {
    local shot=$1 png=$2 x y width height red
    [ -s "$work/$shot.geometry" ] || { echo "the program did not come up or did not survive the $shot tour" >&2; exit 1; }
    read -r x y width height <"$work/$shot.geometry"
    mkdir -p "$(dirname "$png")"
    red=$(python3 "$root/tools/xwd_to_png.py" "$work/$shot.xwd" "$png" "$x" "$y" "$width" "$height")
    echo "Saved $png (${width}x${height}, $red red pixels)"
    [ "$red" -gt 0 ] || { echo "no difference is drawn in red ($shot)" >&2; exit 1; }
}
save buttons "$out"
second=${out%.png}-lines.png
third=${out%.png}-long-line.png
fourth=${out%.png}-lookalike.png
if [[ $out == "$root/docs/"* ]]; then
    second=$work/lines.png third=$work/long-line.png fourth=$root/docs/lookalike.png
fi
save command-line "$second"
save long-line "$third"
# The tooltip may reach past the window's edge: the shot takes in a margin below and beside it.
read -r x y width height <"$work/lookalike.geometry"
echo "$x $y $((width + 320)) $((height + 40))" >"$work/lookalike.geometry"
save lookalike "$fourth"
