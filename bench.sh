#!/usr/bin/env bash
# Builds the benchmark (release) and runs it: the windows' statements timed in
# the program and in the bare sqlite3 shell, side by side, on
# bench-data/large.db (memberpos-initdb --large) and bench-data/million.db
# (that file grown to 1,000,000 members). Both files are kept and reused while
# they are of the current schema and made by the same generators.
# Arguments go to memberpos-bench: --rounds N, --only large|million|startup, --show-sql.
set -euo pipefail
cd "$(dirname "$0")"

scripts/ensure-packages.sh cmake g++ make qt6-base-dev libqt6sql6-sqlite libgl-dev fonts-wqy-microhei \
  qt6-translations-l10n libsqlite3-dev sqlite3 xvfb xdotool x11-utils time

cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DMEMBERPOS_BENCH=ON -DMEMBERPOS_TESTS=OFF >/dev/null
cmake --build build-bench -j1 --target memberpos-bench memberpos memberpos-initdb

data=bench-data
mkdir -p "$data"
# The schema version the program reads and writes (PRAGMA user_version).
schema=$(sed -n 's/.*constexpr int Latest = \([0-9][0-9]*\);.*/\1/p' src/data/SchemaSteps.h)
large_stamp=$(cat src/data/schema*.sql src/data/SchemaSteps.cpp src/data/DatabaseInitializer.cpp |
  sha1sum | cut -d' ' -f1)
million_stamp=$(printf '%s\n' "$large_stamp" | cat - bench/grow-million.sql | sha1sum | cut -d' ' -f1)

# usable FILE STAMP: the file is there, of the current schema, from the same generators.
usable() {
  [ -f "$1" ] && [ -f "$1.stamp" ] && [ "$(cat "$1.stamp")" = "$2" ] &&
    [ "$(sqlite3 "$1" 'PRAGMA user_version')" = "$schema" ]
}

if ! usable "$data/large.db" "$large_stamp"; then
  echo "bench-data/large.db: being made (about half a minute)"
  rm -f "$data"/large.db* "$data"/million.db*
  ./build-bench/memberpos-initdb --large "$data/large.db.new"
  mv "$data/large.db.new" "$data/large.db"
  echo "$large_stamp" > "$data/large.db.stamp"
fi
if ! usable "$data/million.db" "$million_stamp"; then
  echo "bench-data/million.db: being made from large.db (about a minute)"
  rm -f "$data"/million.db*
  sqlite3 "$data/large.db" "VACUUM INTO '$data/million.db.new'"
  sqlite3 "$data/million.db.new" < bench/grow-million.sql > /dev/null
  mv "$data/million.db.new" "$data/million.db"
  echo "$million_stamp" > "$data/million.db.stamp"
fi

exec ./build-bench/bench/memberpos-bench --data "$data" --program build-bench/memberpos "$@"
