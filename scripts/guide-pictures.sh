#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# guide-pictures.sh OUTDIR [PROGRAM]: the pictures of the user's guide (guide/pictures.list),
# taken from the program on the virtual interface on a virtual screen (Xvfb), in French and in
# English, as OUTDIR/<lang>/pictures/NAME.png, each cropped to its window. Every picture starts
# the program afresh with a settings file of its own; the two languages run side by side.
# PROGRAM defaults to build/app/qvt2_oscillo. Needs Xvfb, xdotool and ImageMagick's import
# (scripts/deps.sh installs them).
set -euo pipefail

die() { echo "guide-pictures.sh: $*" >&2; exit 1; }

[ $# -ge 1 ] && [ $# -le 2 ] || die "usage: guide-pictures.sh OUTDIR [PROGRAM]"
root=$(cd "$(dirname "$0")/.." && pwd)
out=$1
program=${2:-$root/build/app/qvt2_oscillo}
[ -x "$program" ] || die "no program at $program (build it first)"
list=$root/guide/pictures.list
[ -r "$list" ] || die "no list of pictures at $list"

need() { command -v "$1" >/dev/null 2>&1 || die "$1 is missing (Debian package $2; scripts/deps.sh installs it)"; }
need Xvfb xvfb
need xdotool xdotool
need import imagemagick
need convert imagemagick
need iconv libc-bin

mapfile -t pictures < <(grep -E '^[a-z0-9-]+$' "$list")
[ ${#pictures[@]} -gt 0 ] || die "no picture named in $list"

work=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

# A virtual screen of its own (the server picks a free display number); prints its number.
start_screen() {
  local fd_file=$1
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fd_file" >/dev/null 2>&1 &
  for _ in $(seq 100); do
    [ -s "$fd_file" ] && return 0
    sleep 0.05
  done
  die "Xvfb did not start"
}

# Sections and keys, a later value of a key replacing an earlier one.
merge_settings() {
  awk '/^\[/ { sec = $0; if (!(sec in seen)) { seen[sec] = 1; order[++ns] = sec }; next }
       { eq = index($0, "="); k = substr($0, 1, eq - 1)
         if (!((sec, k) in val)) keys[sec] = keys[sec] SUBSEP k
         val[sec, k] = substr($0, eq + 1) }
       END { for (i = 1; i <= ns; i++) { s = order[i]; print s
               n = split(substr(keys[s], 2), ks, SUBSEP)
               for (j = 1; j <= n; j++) print ks[j] "=" val[s, ks[j]] } }'
}

# The settings of each picture, as the program writes them ([section] key=value), UTF-8 here,
# written in the program's code page.
settings_for() {
  local common='[Voie0]
Active=1
Calibre=6
[Voie1]
Active=1
Calibre=6
[Voie2]
Active=0
[Voie3]
Active=0
[Synchro]
Mode=2
Sens=1
Seuil=0
[Temps]
Duree=10
[GBF]
Signal=2
Frequence=440
Amplitude=100
Actif=1'
  case $1 in
  generator)
    printf '%s\n' "$common" '[Synchro]' 'Mode=1' \
      '[GBF]' 'Signal=3' 'Expression=sin(2*pi*t)+0.3*sin(6*pi*t)' 'Frequence=200' ;;
  measurements)
    printf '%s\n' "$common" '[Mesures]' 'Affiche=1' ;;
  point-by-point) # Y1 against the virtual interface's slow triangle on Y3
    printf '%s\n' "$common" '[Affichage]' 'Abscisse=3' '[Voie0]' 'Active=0' \
      '[Voie3]' 'Active=1' 'Calibre=6' ;;
  modelling)
    printf '%s\n' "$common" '[Voie1]' 'Active=0' '[Synchro]' 'Mode=1' 'Seuil=0.2' \
      '[GBF]' 'Signal=3' 'Expression=2*(1-exp(-8*t))' 'Frequence=40' \
      '[Modelisation]' 'Affiche=1' 'Modele=charge' ;;
  calculations-dialog)
    printf '%s\n' "$common" '[Calculs]' 'Constantes=1' \
      'Constante1=v=1;type=constante;nom=R;unite=ohm;valeur=100' 'Nombre=1' \
      'Grandeur1=v=1;type=formule;nom=P;unite=W;expr=V0*V1/R' ;;
  *)
    printf '%s\n' "$common" ;;
  esac
}

window_of() { # the program's first visible window other than $2
  local pid=$1 other=${2:-} w
  for _ in $(seq 200); do
    for w in $(xdotool search --onlyvisible --pid "$pid" 2>/dev/null); do
      [ "$w" != "$other" ] && { echo "$w"; return 0; }
    done
    sleep 0.05
  done
  return 1
}

# The toolbar buttons that have a hint, found by passing the mouse along the first row and
# reading the window's title, which shows the hint of the button under the mouse. The title
# lags behind the mouse on a busy machine: the row is passed both ways and the middles of the
# two passes taken. Prints "x<TAB>hint" per button, left to right.
scan_row() { # window, y, first x, last x, step: "x<TAB>title" per change of title
  local wid=$1 y=$2 from=$3 to=$4 step=$5 x cmd=()
  for ((x = from; step > 0 ? x <= to : x >= to; x += step)); do
    cmd+=(mousemove --window "$wid" "$x" "$y" sleep 0.02 getwindowname "$wid")
  done
  xdotool "${cmd[@]}" mousemove --window "$wid" 4 400 |
    awk -v from="$from" -v step="$step" '{ x = from + (NR - 1) * step; print x "\t" $0 }'
}
hinted_buttons() {
  local wid=$1 y=$2 width=$3 idle fwd bwd
  idle=$(xdotool getwindowname "$wid")
  fwd=$(mktemp -p "$work") bwd=$(mktemp -p "$work")
  # Segments of one title other than the idle one: "middle<TAB>title", left to right.
  segments() {
    awk -F '\t' -v idle="$idle" '
      $2 != last { if (last != "" && last != idle) print int((a + b) / 2) "\t" last; a = $1; last = $2 }
      { b = $1 }
      END { if (last != idle) print int((a + b) / 2) "\t" last }' | sort -n |
      # The window's own caption shows between buttons and over those without a hint.
      awk -F '\t' '{ line[NR] = $0; title[NR] = $2; seen[$2]++ }
                   END { for (i = 1; i <= NR; i++) if (seen[title[i]] == 1) print line[i] }'
  }
  scan_row "$wid" "$y" 4 $((width - 4)) 6 | segments >"$fwd"
  scan_row "$wid" "$y" $((width - 4)) 4 -6 | sort -n | segments >"$bwd"
  if [ "$(cut -f2 "$fwd")" = "$(cut -f2 "$bwd")" ]; then
    paste "$fwd" "$bwd" | awk -F '\t' '{ print int(($1 + $3) / 2) "\t" $2 }'
  else
    cat "$fwd"
  fi
}

# Clicks the button whose hint is the `k`th of `buttons` (counted from the right when
# negative), once the mouse over it shows its hint.
click_button() {
  local wid=$1 k=$2 n=${#buttons[@]} x hint
  [ "$k" -ge 0 ] || k=$((n + k))
  x=${buttons[k]%%$'\t'*} hint=${buttons[k]#*$'\t'}
  xdotool mousemove --window "$wid" "$x" 14
  for _ in $(seq 40); do
    [ "$(xdotool getwindowname "$wid")" = "$hint" ] && { xdotool click 1 mousemove --window "$wid" 4 400; return 0; }
    sleep 0.05
  done
  return 1
}

# One picture: the program started with its settings, the actions of the picture, the capture.
shoot() {
  local lang=$1 locale=$2 name=$3 dir pid wid shot x y w h
  dir=$work/$lang/$name
  mkdir -p "$dir/xdg"
  settings_for "$name" | merge_settings | iconv -f UTF-8 -t CP1252 >"$dir/settings.qvt2"
  local args=(--simulate)
  [ "$name" = point-by-point ] && args+=(--record-points "$dir/points.txt")
  LANG=$locale LANGUAGE= LC_ALL= LC_MESSAGES= QT_QPA_PLATFORM=xcb \
    QVT2_CONFIG="$dir/settings.qvt2" XDG_CONFIG_HOME="$dir/xdg" \
    "$program" "${args[@]}" >"$dir/log" 2>&1 &
  pid=$!
  wid=$(window_of "$pid") || { cat "$dir/log" >&2; die "$lang/$name: no window"; }
  eval "$(xdotool getwindowgeometry --shell "$wid")" # X Y WIDTH HEIGHT
  w=$WIDTH h=$HEIGHT
  sleep 1.2 # a few sweeps on the screen
  shot=$wid
  case $name in
  frequencies | tools | options | calculations-dialog)
    [ -s "$work/$lang/buttons" ] || hinted_buttons "$wid" 14 "$w" >"$work/$lang/buttons"
    mapfile -t buttons <"$work/$lang/buttons"
    [ ${#buttons[@]} -ge 9 ] || die "$lang/$name: the toolbar's buttons were not found (${#buttons[@]})"
    # "Options" first; from the right: Quitter, A propos, Aide, Outils, Calculs, Modélisation,
    # Spectre.
    local k
    case $name in
    options) k=0 ;;
    frequencies) k=-7 ;;
    calculations-dialog) k=-5 ;;
    tools) k=-4 ;;
    esac
    click_button "$wid" "$k" || die "$lang/$name: the button's hint did not show"
    case $name in
    options | calculations-dialog)
      shot=$(window_of "$pid" "$wid") || die "$lang/$name: the dialog did not open"
      sleep 0.4 ;;
    tools)
      sleep 0.5
      xdotool mousemove --window "$wid" $((w * 45 / 100)) $((h * 45 / 100)) click 1 \
        mousemove --window "$wid" 4 400
      sleep 0.8 ;;
    frequencies)
      sleep 1.5 ;;
    esac
    ;;
  point-by-point)
    sleep 3 ;;
  esac
  import -window "$shot" "$out/$lang/pictures/$name.png" 2>"$dir/import.log" ||
    { cat "$dir/import.log" >&2; die "$lang/$name: capture failed"; }
  # At the width the pages show them, smoothed here: the guide window scales without smoothing.
  convert "$out/$lang/pictures/$name.png" -resize '640x>' "$out/$lang/pictures/$name.png"
  kill -TERM "$pid" 2>/dev/null || true
  for _ in $(seq 60); do kill -0 "$pid" 2>/dev/null || break; sleep 0.05; done
  kill -KILL "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
}

language() {
  local lang=$1 locale=$2 display
  # The screen and a program left by a failure go with this language's run.
  trap 'kill $(jobs -p) 2>/dev/null || true' EXIT
  mkdir -p "$work/$lang" "$out/$lang/pictures"
  start_screen "$work/$lang/display"
  display=$(cat "$work/$lang/display")
  export DISPLAY=:$display
  for name in "${pictures[@]}"; do
    shoot "$lang" "$locale" "$name"
  done
}

status=0
for pair in fr:fr_FR.UTF-8 en:en_US.UTF-8; do
  language "${pair%%:*}" "${pair#*:}" &
  pids+=($!)
done
for p in "${pids[@]}"; do wait "$p" || status=1; done
pids=()
[ $status -eq 0 ] || die "some pictures were not made"
echo "guide-pictures.sh: ${#pictures[@]} pictures in fr and en under $out"
