# SPDX-License-Identifier: MIT
# Shared by the structure benchmarks (sourced, not run): the ODBC configuration of one run and
# the two 2,000 x 20 schemas they compare.

# Writes an odbcinst.ini registering the SQLite ODBC driver as "SQLite3" and an empty odbc.ini
# into folder $2, and selects them for this run. $1 is the build folder.
use_sqlite_odbc() {
  local build=$1 work=$2 driver
  driver=$(sed -n 's/^SQLITE_ODBC_DRIVER:FILEPATH=//p' "$build/CMakeCache.txt")
  if [ -z "$driver" ] || [ ! -f "$driver" ]; then
    driver=$(find /usr/lib /usr/local/lib -name 'libsqlite3odbc*.so' 2>/dev/null | head -n 1)
  fi
  [ -n "$driver" ] || { echo "the SQLite ODBC driver (libsqliteodbc) is not installed" >&2; return 1; }
  printf '[SQLite3]\nDescription=SQLite3 ODBC Driver\nDriver=%s\n' "$driver" >"$work/odbcinst.ini"
  : >"$work/odbc.ini"
  export ODBCSYSINI=$work ODBCINI=$work/odbc.ini
}

# One side's schema as SQL ($1: original or modified). Per table position i: i % 40 == 7 is a
# table of this side only; on the Modified side i % 20 == 3 renames the last field and
# i % 20 == 11 turns c05 from INTEGER into TEXT; i % 100 == 50 references the table 50
# positions before it.
structure_schema() {
  awk -v side="$1" 'BEGIN {
    split("INTEGER TEXT VARCHAR(40) REAL DATE", types, " ")
    print "BEGIN;"
    for (i = 0; i < 2000; i++) {
      name = sprintf("t%04d", i)
      if (i % 40 == 7) name = sprintf("%s_only_%04d", side, i)
      line = "CREATE TABLE " name " (id INTEGER PRIMARY KEY"
      for (c = 1; c < 19; c++) {
        type = types[(c % 5) + 1]
        if (c == 5 && side == "modified" && i % 20 == 11) type = "TEXT"
        if (c == 7 && i % 100 == 50) type = sprintf("INTEGER REFERENCES t%04d(id)", i - 50)
        line = line sprintf(", c%02d %s", c, type)
      }
      last = (side == "modified" && i % 20 == 3) ? "d19" : "c19"
      print line ", " last " TEXT);"
    }
    print "COMMIT;"
  }'
}

# Configures the build folder $1 with the benchmarks on (once) and builds target $2.
build_bench_target() {
  local build=$1 target=$2
  if [ ! -f "$build/build.ninja" ]; then
    cmake -S . -B "$build" -G Ninja -DDBSIFT_BUILD_BENCH=ON >/dev/null
  elif ! grep -q '^DBSIFT_BUILD_BENCH:BOOL=ON' "$build/CMakeCache.txt"; then
    cmake -B "$build" -DDBSIFT_BUILD_BENCH=ON >/dev/null
  fi
  cmake --build "$build" --target "$target" >/dev/null
}
