# Sourced by the scripts that run the program without a monitor: starts a
# virtual X display of a given size and stops it (callers stop it on exit).

# start_virtual_display WIDTHxHEIGHT: sets DISPLAY to a fresh Xvfb screen.
start_virtual_display() {
  local n=$((300 + RANDOM % 300))
  while [ -e "/tmp/.X${n}-lock" ] || [ -e "/tmp/.X11-unix/X${n}" ]; do n=$((n + 1)); done
  export DISPLAY=":$n"
  Xvfb "$DISPLAY" -screen 0 "${1}x24" -nolisten tcp >/dev/null 2>&1 &
  virtual_display_pid=$!
  for _ in $(seq 100); do
    xdpyinfo >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  echo "The virtual display did not start." >&2
  return 1
}

stop_virtual_display() {
  if [ -n "${virtual_display_pid:-}" ]; then
    kill "$virtual_display_pid" 2>/dev/null || true
    wait "$virtual_display_pid" 2>/dev/null || true
    virtual_display_pid=""
  fi
}
