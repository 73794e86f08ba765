# Timing helpers the benchmarks share (sourced, not run).

# Seconds a command takes, its output discarded. Dirty pages are flushed first, so that one run's
# writes are not paid for by the next.
seconds() {
  local start end
  sync
  start=$(date +%s.%N)
  "$@" > /dev/null 2>&1
  end=$(date +%s.%N)
  echo "$end - $start" | bc -l
}

# The smaller of two numbers.
smaller() { echo "if ($1 < $2) $1 else $2" | bc -l; }

# best_times RUN...: runs each RUN (a shell function) three times, in turn, so that all of them see
# the same warm cache, and prints the best time of each, one a line, in the order given. A function
# named after_RUN, when there is one, runs after each RUN, untimed (to remove what RUN wrote).
best_times() {
  local -a best=()
  local round run t i
  for ((i = 0; i < $#; i++)); do best[i]=999999; done
  for round in 1 2 3; do
    i=0
    for run in "$@"; do
      t=$(seconds "$run")
      best[i]=$(smaller "$t" "${best[i]}")
      if declare -F "after_$run" > /dev/null; then "after_$run"; fi
      i=$((i + 1))
    done
  done
  printf '%s\n' "${best[@]}"
}

# Peak resident memory of a command in KiB, its output discarded.
peak_kib() {
  local file kib
  file=$(mktemp)
  /usr/bin/time -f '%M' -o "$file" "$@" > /dev/null 2>&1
  kib=$(tail -1 "$file")
  rm -f "$file"
  echo "$kib"
}
