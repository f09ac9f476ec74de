#!/usr/bin/env bash
# Sourced by the tests that drive a real window. wait_for WHAT COMMAND...: runs COMMAND every 50 ms until it succeeds,
# for WAIT_SECONDS at most (10 by default); then the test fails, saying what it waited for.
wait_for() {
  local what=$1
  shift
  for _ in $(seq $((${WAIT_SECONDS:-10} * 20))); do
    if "$@"; then return 0; fi
    sleep 0.05
  done
  echo "FAIL: timed out waiting for $what" >&2
  exit 1
}
