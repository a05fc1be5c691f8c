// Taking an object from its class pool and giving it back, against building
// and deleting the same object with new and delete. Prints the ratio of the
// two per-operation times at the end of the run (above 1: the pool is faster).

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "base/IObject.h"
#include "thread/Pooled.h"

namespace {

// A typical small framework object: a vtable, a few fields and a buffer.
class Sample : public s::base::IObject, public s::thread::IPoolable {
  VONQ_POOLED(Sample, s::thread::kPoolCap)
 public:
  void reset() override {
    length = 0;
    flags = 0;
  }
  const char16_t* getClassName() const override { return u"s_bench_Sample"; }
  std::uint32_t length = 0;
  std::uint32_t flags = 0;
  char16_t units[24] = {};
};

void BM_PoolTakeGiveBack(benchmark::State& state) {
  Sample::create()->release();  // warm the pool: one object kept
  for (auto _ : state) {
    Sample* s = Sample::create();
    benchmark::DoNotOptimize(s);
    s->length = 1;
    s->release();
  }
}
BENCHMARK(BM_PoolTakeGiveBack);

void BM_NewDelete(benchmark::State& state) {
  for (auto _ : state) {
    s::base::IObject* s = new Sample();
    benchmark::DoNotOptimize(s);
    static_cast<Sample*>(s)->length = 1;
    delete s;
  }
}
BENCHMARK(BM_NewDelete);

// Eight objects in flight at once, as a list of strings would hold them.
void BM_PoolBatchOfEight(benchmark::State& state) {
  Sample* batch[8];
  for (auto _ : state) {
    for (Sample*& s : batch) s = Sample::create();
    benchmark::DoNotOptimize(batch);
    for (Sample* s : batch) s->release();
  }
}
BENCHMARK(BM_PoolBatchOfEight);

void BM_NewDeleteBatchOfEight(benchmark::State& state) {
  Sample* batch[8];
  for (auto _ : state) {
    for (Sample*& s : batch) s = new Sample();
    benchmark::DoNotOptimize(batch);
    for (Sample* s : batch) delete s;
  }
}
BENCHMARK(BM_NewDeleteBatchOfEight);

// Prints the usual table and keeps each benchmark's time per iteration.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.run_type == Run::RT_Iteration) {
        times[run.benchmark_name()] = {run.GetAdjustedCPUTime(), run.GetAdjustedRealTime()};
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }
  // CPU time first: on a shared machine it is the steadier of the two.
  std::map<std::string, std::pair<double, double>> times;
};

void printRatio(const RatioReporter& reporter, const char* pooled, const char* plain) {
  const auto p = reporter.times.find(pooled);
  const auto n = reporter.times.find(plain);
  if (p == reporter.times.end() || n == reporter.times.end()) return;
  const auto [pooledCpu, pooledReal] = p->second;
  const auto [plainCpu, plainReal] = n->second;
  if (pooledCpu <= 0 || pooledReal <= 0) return;
  std::printf(
      "%s / %s: %.2fx the speed by CPU time (%.1f ns against %.1f ns), %.2fx by real time\n",
      pooled, plain, plainCpu / pooledCpu, pooledCpu, plainCpu, plainReal / pooledReal);
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  printRatio(reporter, "BM_PoolTakeGiveBack", "BM_NewDelete");
  printRatio(reporter, "BM_PoolBatchOfEight", "BM_NewDeleteBatchOfEight");
  benchmark::Shutdown();
  return 0;
}
