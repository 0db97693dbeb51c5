#!/usr/bin/env bash
# Runs a command on a private Xvfb display (1920x1080, 24 bit) and stops the server afterwards.
# Xvfb picks a free display number itself (-displayfd), so parallel tests never collide.
set -u
fifo=$(mktemp -u)
mkfifo "$fifo"
Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp -noreset 3>"$fifo" 2>/dev/null &
xvfb=$!
read -r -t 20 display <"$fifo"
rm -f "$fifo"
if [[ -z "${display:-}" ]]; then
  echo "with_xvfb: Xvfb did not start" >&2
  kill "$xvfb" 2>/dev/null
  exit 1
fi
export DISPLAY=":$display"
"$@"
status=$?
kill "$xvfb" 2>/dev/null
wait "$xvfb" 2>/dev/null
exit $status
