#!/usr/bin/env bash
# The main command: installs what is missing, builds the provider, zelmo and the stand-in service,
# serves the sample planning model on a free loopback port, registers the provider in a registry
# inside the build folder, browses the model's metadata and prints the answers to the sample
# statements. Needs no terminal.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

bash scripts/install-deps.sh

build=${DEMO_BUILD_DIR:-build-demo}
case "$build" in /*) ;; *) build="$root/$build" ;; esac
jobs=${JOBS:-$(nproc)}
echo "Building in $build ..."
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DZELMO_SANITIZE=OFF -DZELMO_TESTS=OFF \
    -DZELMO_BENCHMARKS=OFF -DZELMO_FUZZ=OFF >/dev/null
cmake --build "$build" -j "$jobs" --target ZelmoProvider zelmo zelmo-standin >/dev/null
bin="$build/bin"

# The registry lives in the build folder, so the demo leaves the user's own registry alone.
export COMRT_REGISTRY_ROOT="$build/demo-registry"
mkdir -p "$COMRT_REGISTRY_ROOT"

work=$(mktemp -d)
service_pid=""
cleanup() {
    if [ -n "$service_pid" ]; then
        kill "$service_pid" 2>/dev/null || true
        wait "$service_pid" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

"$bin/zelmo-standin" examples/planning_model.json --port 0 >"$work/standin.out" \
    2>"$work/standin.err" &
service_pid=$!
address=""
for _ in $(seq 100); do
    address=$(sed -n 's/^Listening on //p' "$work/standin.out" | head -n 1)
    [ -n "$address" ] && break
    if ! kill -0 "$service_pid" 2>/dev/null; then
        echo "The stand-in service did not start:" >&2
        cat "$work/standin.err" >&2
        exit 1
    fi
    sleep 0.1
done
if [ -z "$address" ]; then
    echo "The stand-in service did not report its address." >&2
    exit 1
fi
echo "Stand-in service with examples/planning_model.json on $address"

# The provider reads the service address from config.txt beside itself.
echo "$address" >"$bin/config.txt"
"$bin/zelmo" register "$bin/ZelmoProvider.so"

browse() {
    local shown=""
    for arg in "$@"; do
        case $arg in
            *" "*) shown+=" \"$arg\"" ;;
            *) shown+=" $arg" ;;
        esac
    done
    echo
    echo "== zelmo$shown"
    echo
    "$bin/zelmo" "$@" --user demo@example.com --password demo
}

browse cubes
browse hierarchies Planning
browse levels Planning Product
browse members Planning Product "Level 2"

run_sample() {
    local name=$1
    shift
    local statement
    statement=$(cat "examples/queries/$name.mdx")
    echo
    echo "== $name${*:+ ($*)}"
    echo "$statement"
    echo
    "$bin/zelmo" query --user demo@example.com --password demo "$@" "$statement"
}

for name in sales_by_quarter plan_vs_actual bikes_by_region version_totals drill_through; do
    run_sample "$name"
done
run_sample sales_by_quarter --display alias
