#!/usr/bin/env bash
# Runs a command against a private JACK server (dummy driver, no sound card, no realtime
# scheduling unless asked for) and stops the server afterwards. The server's name is unique, so
# parallel tests and any JACK server already running never meet; the command finds it through
# JACK_DEFAULT_SERVER.
# JACK_PERIOD sets the frames per period at 48 kHz (256 by default; 64 for latency figures).
# The server runs synchronously with a generous client timeout: on a busy machine a client that
# has not finished its cycle in time is otherwise skipped for it, and that cycle's MIDI events are
# lost. JACK_REALTIME=1 also asks for realtime scheduling where the machine grants it.
set -u
name="cadenzio-test-$$-$RANDOM"
log=$(mktemp)
export JACK_NO_AUDIO_RESERVATION=1
export JACK_NO_START_SERVER=1
scheduling=--no-realtime
if [[ "${JACK_REALTIME:-0}" == 1 ]] && chrt -f 10 true 2>/dev/null; then scheduling=--realtime; fi
jack=
stop() {
  [[ -n "$jack" ]] && kill "$jack" 2>/dev/null && wait "$jack" 2>/dev/null
  rm -f "$log"
}
trap stop EXIT
trap 'exit 130' INT TERM

# Starts the server; jack_wait asks it until it answers.
start() {
  jackd --sync "$scheduling" --timeout 10000 --name "$name" -d dummy -r 48000 \
    -p "${JACK_PERIOD:-256}" >"$log" 2>&1 &
  jack=$!
  jack_wait --server "$name" --wait --timeout 20 >/dev/null 2>&1
}

# JACK keeps a table of eight servers shared by every user of the machine. A server killed outright
# keeps its entry, which is given back only to a server of the same name: such entries of these
# test servers, whose script has ended, are given back by starting and stopping a server of that
# name.
reclaim_dead_servers() {
  local entry stale owner server
  for entry in /dev/shm/jack_cadenzio-test-*_0_0; do
    [[ -e "$entry" ]] || continue
    stale=${entry#/dev/shm/jack_}
    stale=${stale%_0_0}
    owner=${stale#cadenzio-test-}
    owner=${owner%%-*}
    kill -0 "$owner" 2>/dev/null && continue
    jackd --no-realtime --name "$stale" -d dummy -r 48000 -p 256 >/dev/null 2>&1 &
    server=$!
    jack_wait --server "$stale" --wait --timeout 5 >/dev/null 2>&1
    kill "$server" 2>/dev/null
    wait "$server" 2>/dev/null
  done
}

if ! start; then
  started=false
  if grep -q "Too many servers" "$log"; then
    kill "$jack" 2>/dev/null
    wait "$jack" 2>/dev/null
    reclaim_dead_servers
    start && started=true
  fi
  if ! $started; then
    # The server's own log says why it never answered.
    echo "with_jack: jackd did not start:" >&2
    cat "$log" >&2
    exit 1
  fi
fi
export JACK_DEFAULT_SERVER="$name"
"$@"
