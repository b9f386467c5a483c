# Shared by the packaging checks (sourced): skips with exit 77 when a tool
# is missing, makes the scratch folder $work, counts failures.
require_tools() {
  local tool
  for tool in "$@"; do
    if ! command -v "$tool" >/dev/null; then
      echo "SKIP: $tool is not installed (scripts/bootstrap installs it)"
      exit 77
    fi
  done
}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
# Ends the check: exit 1 after any failure.
finish() {
  if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
  fi
  echo "$1"
}
