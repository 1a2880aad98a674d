#!/usr/bin/env bash
# A run that SIGTERM ends removes its temporary device root and exits by that signal. The run is
# held at a snapshot into a FIFO that nothing reads, after the root is made.
set -u
sim=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/tmp"
mkfifo "$work/held.svg"
printf 'launch\nopen\nsnapshot %s\n' "$work/held.svg" | TMPDIR="$work/tmp" "$sim" --quiet - &
pid=$!
for _ in $(seq 100); do
  [ -n "$(ls -A "$work/tmp")" ] && break
  sleep 0.05
done
[ -n "$(ls -A "$work/tmp")" ] || { echo "no temporary device root appeared"; exit 1; }
sleep 0.2
kill -TERM "$pid"
wait "$pid"
status=$?
[ "$status" -eq 143 ] || { echo "expected the exit status of SIGTERM (143), got $status"; exit 1; }
left=$(ls -A "$work/tmp")
[ -z "$left" ] || { echo "the temporary device root was left behind: $left"; exit 1; }
