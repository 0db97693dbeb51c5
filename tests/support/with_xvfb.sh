#!/usr/bin/env bash
# Runs a command on a private Xvfb display and stops the server afterwards.
#   with_xvfb.sh [--screen WxH] [--window-manager] command...
# The screen is 1920x1080 (24 bit) unless --screen gives another size. --window-manager runs
# openbox on it, which frames windows, keeps the top 40 rows for a panel and obeys full-screen
# requests as a desktop does; without it windows are unframed and full screen changes nothing.
# Xvfb picks a free display number itself (-displayfd), so parallel tests never collide.
set -u
screen=1920x1080
manager=0
while [[ $# -gt 0 ]]; do
  case "$1" in
    --screen) screen="$2"; shift 2 ;;
    --window-manager) manager=1; shift ;;
    *) break ;;
  esac
done
if [[ ! "$screen" =~ ^[0-9]+x[0-9]+$ ]]; then
  echo "with_xvfb: --screen takes WIDTHxHEIGHT, not '$screen'" >&2
  exit 2
fi
fifo=$(mktemp -u)
mkfifo "$fifo"
Xvfb -displayfd 3 -screen 0 "${screen}x24" -nolisten tcp -noreset 3>"$fifo" 2>/dev/null &
xvfb=$!
read -r -t 20 display <"$fifo"
rm -f "$fifo"
if [[ -z "${display:-}" ]]; then
  echo "with_xvfb: Xvfb did not start" >&2
  kill "$xvfb" 2>/dev/null
  exit 1
fi
export DISPLAY=":$display"

manager_pid=
config=
if [[ $manager -eq 1 ]]; then
  config=$(mktemp --suffix=.xml)
  cat >"$config" <<'XML'
<?xml version="1.0" encoding="UTF-8"?>
<openbox_config xmlns="http://openbox.org/3.4/rc">
  <margins><top>40</top><bottom>0</bottom><left>0</left><right>0</right></margins>
  <focus><focusNew>yes</focusNew><followMouse>no</followMouse></focus>
  <placement><policy>Smart</policy></placement>
  <desktops><number>2</number></desktops>
</openbox_config>
XML
  openbox --sm-disable --config-file "$config" >/dev/null 2>&1 &
  manager_pid=$!
  # It announces itself before it handles requests: ready once a request to drop to one desktop
  # has been carried out.
  ready=0
  for _ in $(seq 200); do
    if xprop -root _NET_WORKAREA 2>/dev/null | grep -q '='; then
      xdotool set_num_desktops 1 2>/dev/null
      if xprop -root _NET_NUMBER_OF_DESKTOPS 2>/dev/null | grep -q '= 1$'; then
        ready=1
        break
      fi
    fi
    sleep 0.1
  done
  [[ $ready -eq 1 ]] || echo "with_xvfb: the window manager did not become ready" >&2
fi

"$@"
status=$?
if [[ -n "$manager_pid" ]]; then
  kill "$manager_pid" 2>/dev/null
  wait "$manager_pid" 2>/dev/null
  rm -f "$config"
fi
kill "$xvfb" 2>/dev/null
wait "$xvfb" 2>/dev/null
exit $status
