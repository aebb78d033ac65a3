# Shared by the command-line benchmarks: one run timed, and the medians of
# alternating runs printed with their ratio. Sourced, not run.

elapsed() { # prints nanoseconds for one run of the commands given as one shell text
    local start end
    start=$(date +%s%N)
    eval "$1" >/dev/null
    end=$(date +%s%N)
    echo $((end - start))
}

# Usage: report LABEL BASELINE_NAME TOOL_TIMES BASELINE_TIMES [TARGET] (each a space-separated list of nanoseconds)
# prints "LABEL: median ± half the interquartile range ms (ratio x BASELINE_NAME, its median ms)"; with a
# TARGET ratio, says it beside and fails when the ratio is above it.
report() {
    /usr/bin/python3 - "$@" <<'PY'
import statistics, sys
label, baseline_name, tool, base = sys.argv[1:5]
target = float(sys.argv[5]) if len(sys.argv) > 5 else None
def load(times):
    return [int(t) / 1e6 for t in times.split()]
def spread(values):
    if len(values) < 2:
        return 0
    q = statistics.quantiles(values, n=4)
    return (q[2] - q[0]) / 2
tool, base = load(tool), load(base)
t, b = statistics.median(tool), statistics.median(base)
goal = "" if target is None else f"; target at most {target:.1f} x" + (", missed" if t / b > target else "")
print(f"{label}: {t:.2f} ± {spread(tool):.2f} ms ({t / b:.2f} x {baseline_name}, {b:.2f} ms{goal})")
sys.exit(1 if target is not None and t / b > target else 0)
PY
}
