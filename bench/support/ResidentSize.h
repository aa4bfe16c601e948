// Resident sizes of processes, for the benchmarks that watch memory.
#pragma once

#include <benchmark/benchmark.h>

#include <vector>

#include <sys/types.h>

// Resident size in MB of a process, from its status; -1 when it cannot be read.
double ResidentMb(pid_t pid);

// A series of sizes as counters: the first, the median, the largest and the last, which must stay level.
void CountResidentSizes(benchmark::State& state, const std::vector<double>& sizes);
