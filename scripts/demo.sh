#!/usr/bin/env bash
# Starts the stand-in instruments on a pseudo-terminal linked as COM1, then the program beside
# them. Usage: scripts/demo.sh <build folder> [identifiers...]
set -euo pipefail
build=${1:-build/release}
shift || true
ids=("$@")
[ ${#ids[@]} -eq 0 ] && ids=(H0001AFE)

ports=$(mktemp -d "${TMPDIR:-/tmp}/qvusb-demo-XXXXXX")
cleanup() {
  [ -n "${sim_pid:-}" ] && kill "$sim_pid" 2>/dev/null && wait "$sim_pid" 2>/dev/null
  rm -rf "$ports"
}
trap cleanup EXIT

id_args=()
for id in "${ids[@]}"; do id_args+=(--id "$id"); done
"$build/tdrsim" --link COM1 --dir "$ports" --pace "${id_args[@]}" &
sim_pid=$!
for _ in $(seq 50); do [ -e "$ports/COM1" ] && break; sleep 0.1; done

echo "Stand-in instruments on COM1 (${ids[*]}). Choose COM ports > COM1, then Search for devices."
cd "$build"
QVUSB_PORTS_DIR="$ports" ./qvusb
