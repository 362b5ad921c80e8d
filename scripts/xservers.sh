# Sourced: start_xservers N FILE starts N Xvfb servers on free display numbers,
# stops them when the shell exits, and writes into FILE the ctest resources naming
# them (resource "xserver", one slot each, its id the display number);
# XSERVER_DISPLAYS lists the display numbers.
# tests/support/main.cpp points a test at the server ctest gave it.
start_xservers() {
  local count=$1 file=$2 i out display ids=()
  XSERVER_PIDS=()
  XSERVER_DISPLAYS=()
  trap 'kill "${XSERVER_PIDS[@]}" 2>/dev/null || true' EXIT
  for ((i = 0; i < count; i++)); do
    out=$(mktemp)
    Xvfb -displayfd 1 -screen 0 3840x2160x24 -nolisten tcp -noreset >"$out" 2>/dev/null &
    XSERVER_PIDS+=($!)
    for _ in $(seq 200); do [ -s "$out" ] && break; sleep 0.05; done
    display=$(tr -dc 0-9 <"$out")
    rm -f "$out"
    [ -n "$display" ] || { echo "Xvfb did not start" >&2; return 1; }
    ids+=("{\"id\": \"$display\", \"slots\": 1}")
    XSERVER_DISPLAYS+=("$display")
  done
  local joined
  joined=$(IFS=,; echo "${ids[*]}")
  printf '{"version": {"major": 1, "minor": 0}, "local": [{"xserver": [%s]}]}\n' "$joined" >"$file"
  # Anything run without ctest's resources (a test's discovery, a script)
  # gets the first server.
  export DISPLAY=":${XSERVER_DISPLAYS[0]}"
}
