# Timing helpers the benchmarks share (sourced, not run).

# Seconds a command takes, its output discarded.
seconds() {
  local start end
  start=$(date +%s.%N)
  "$@" > /dev/null 2>&1
  end=$(date +%s.%N)
  echo "$end - $start" | bc -l
}

# The smaller of two numbers.
smaller() { echo "if ($1 < $2) $1 else $2" | bc -l; }

# Peak resident memory of a command in KiB, its output discarded.
peak_kib() {
  local file kib
  file=$(mktemp)
  /usr/bin/time -f '%M' -o "$file" "$@" > /dev/null 2>&1
  kib=$(tail -1 "$file")
  rm -f "$file"
  echo "$kib"
}
