#!/usr/bin/env bash
# The playground's server as a browser meets it: it holds its port against a second server, refuses
# a request from another host name, a page framed elsewhere and an age out of range, and ends with
# status 0 on SIGTERM.
set -u
sim=$1
fail() { echo "serve: $*"; exit 1; }

# GET PATH [HOST]: prints the status code of the answer.
get() {
  exec 3<>"/dev/tcp/127.0.0.1/$port" || return 1
  printf 'GET %s HTTP/1.1\r\nHost: %s\r\nConnection: close\r\n\r\n' "$1" "${2:-127.0.0.1:$port}" >&3
  answer=$(cat <&3)
  exec 3>&-
  status=${answer:9:3}
}

for _ in 1 2 3 4 5; do
  port=$((20000 + RANDOM % 40000))
  "$sim" --serve "$port" >/dev/null 2>&1 &
  pid=$!
  for _ in $(seq 100); do
    get /state 2>/dev/null && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.02
  done
  kill -0 "$pid" 2>/dev/null && break
  wait "$pid"
done
trap 'kill "$pid" 2>/dev/null' EXIT
[ "${status:-}" = 200 ] || fail "the playground does not answer on $port"

# Were the port shared (SO_REUSEPORT), a second server, asking the same, would get it too.
second=$("$sim" --serve "$port" 2>&1)
[ $? -eq 2 ] || fail "a second server on the port did not exit with status 2"
[[ $second == *"cannot listen on 127.0.0.1:$port: Address already in use"* ]] ||
  fail "a second server said: $second"

for case in "/state?age=1e20 400" "/state?age=-5 400" "/state?age=12.5 200"; do
  get "${case% *}"
  [ "$status" = "${case#* }" ] || fail "GET ${case% *}: $status"
done
get /
[ "$status" = 200 ] || fail "GET /: $status"
[[ $answer == *$'\r\nX-Frame-Options: DENY\r\n'* ]] || fail "the page may be framed"
policy="default-src 'self'; img-src 'self' data:; base-uri 'none'; form-action 'none'; frame-ancestors 'none'"
[[ $answer == *$'\r\nContent-Security-Policy: '"$policy"$'\r\n'* ]] ||
  fail "the page is not held to its own origin and kept out of frames"
get / "evil.example:$port"
[ "$status" = 403 ] || fail "a request for evil.example got $status"

kill -TERM "$pid"
wait "$pid"
code=$?
trap - EXIT
[ "$code" -eq 0 ] || fail "SIGTERM ended the playground with status $code"
