#!/usr/bin/env bash
# Runs a command against a private JACK server (dummy driver, no sound card, no realtime
# scheduling unless asked for) and stops the server afterwards. The server's name is unique, so parallel tests and
# any JACK server already running never meet; the command finds it through JACK_DEFAULT_SERVER.
# JACK_PERIOD sets the frames per period at 48 kHz (256 by default; 64 for latency figures).
# JACK_REALTIME=1 asks for realtime scheduling where the machine grants it: without it, a busy
# machine makes the server miss cycles, and MIDI events of a missed cycle are lost.
set -u
name="cadenzio-test-$$-$RANDOM"
log=$(mktemp)
export JACK_NO_AUDIO_RESERVATION=1
export JACK_NO_START_SERVER=1
scheduling=--no-realtime
if [[ "${JACK_REALTIME:-0}" == 1 ]] && chrt -f 10 true 2>/dev/null; then scheduling=--realtime; fi
jackd "$scheduling" --name "$name" -d dummy -r 48000 -p "${JACK_PERIOD:-256}" >"$log" 2>&1 &
jack=$!
stop() {
  kill "$jack" 2>/dev/null
  wait "$jack" 2>/dev/null
  rm -f "$log"
}
trap stop EXIT
trap 'exit 130' INT TERM

# jack_wait asks the server until it answers; the server's own log says why when it never does.
if ! jack_wait --server "$name" --wait --timeout 20 >/dev/null 2>&1; then
  echo "with_jack: jackd did not start:" >&2
  cat "$log" >&2
  exit 1
fi
export JACK_DEFAULT_SERVER="$name"
"$@"
