#!/usr/bin/env bash
# Names the tests of a ctest run (its --output-log file) that failed and then passed when run
# again (ctest --repeat until-pass:N): flaky tests, which the rerun would otherwise hide.
# Usage: tools/rerun-report.sh ctest-output.log   (prints nothing when no test needed a rerun)
set -euo pipefail
log=${1:?usage: rerun-report.sh ctest-output.log}
[ -r "$log" ] || { echo "rerun-report: cannot read $log" >&2; exit 2; }

# A result line: "12/345 Test #7: Suite.Name ......***Failed  1.2 sec", or the same without the
# count for a run after the first. Each test's results in order: F (did not pass) or P.
flaky=$(awk '
    match($0, /Test +#[0-9]+: /) {
        rest = substr($0, RSTART + RLENGTH)
        name = rest
        sub(/ \.+.*$/, "", name)
        sub(/ +(\*\*\*)?[A-Z][a-zA-Z ]*[0-9.]+ sec.*$/, "", name)
        if (name == "" || rest !~ /[0-9.]+ sec/) next
        result = (rest ~ /\*\*\*|Not Run/) ? "F" : (rest ~ /Passed/ ? "P" : "F")
        seen[name] = seen[name] result
    }
    END { for (name in seen) if (seen[name] ~ /^F+P$/) print name }
' "$log" | sort)
[ -z "$flaky" ] && exit 0
echo "Tests that passed only when run again ($(wc -l <<<"$flaky")): a flaky test hides faults, look into them:"
sed 's/^/  /' <<<"$flaky"
