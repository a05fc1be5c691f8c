// StrBuffer against std::u16string doing the same work, measured in one run;
// prints the CPU time ratio of each pair at the end (below 1: StrBuffer
// faster). CPU time, because the build machine is shared.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

#include "str/strbuffer/StrBuffer.h"

namespace {

using s::str::strbuffer::StrBuffer;

constexpr std::uint32_t kUnits = 100000;
constexpr char16_t kChunk[] = u"sixteen units!!!";
constexpr std::uint32_t kChunkUnits = 16;

char16_t unitAt(std::uint32_t i) {
  return static_cast<char16_t>(u'a' + i % 26);
}

// ---- appending one unit at a time to a fresh string

void StrBuffer_AppendChar(benchmark::State& state) {
  for (auto _ : state) {
    StrBuffer* s = StrBuffer::create();
    for (std::uint32_t i = 0; i < kUnits; ++i) s->appendChar(unitAt(i));
    benchmark::DoNotOptimize(s->getBuffer());
    s->release();
  }
  state.SetItemsProcessed(state.iterations() * kUnits);
}

void U16String_AppendChar(benchmark::State& state) {
  for (auto _ : state) {
    std::u16string s;
    for (std::uint32_t i = 0; i < kUnits; ++i) s.push_back(unitAt(i));
    benchmark::DoNotOptimize(s.data());
  }
  state.SetItemsProcessed(state.iterations() * kUnits);
}

// ---- appending 16-unit texts to a reused string

void StrBuffer_AppendText(benchmark::State& state) {
  StrBuffer* s = StrBuffer::create();
  for (auto _ : state) {
    s->clear();
    for (std::uint32_t i = 0; i < kUnits / kChunkUnits; ++i) s->append(kChunk, kChunkUnits);
    benchmark::DoNotOptimize(s->getBuffer());
  }
  s->release();
  state.SetItemsProcessed(state.iterations() * kUnits);
}

void U16String_AppendText(benchmark::State& state) {
  std::u16string s;
  for (auto _ : state) {
    s.clear();
    for (std::uint32_t i = 0; i < kUnits / kChunkUnits; ++i) s.append(kChunk, kChunkUnits);
    benchmark::DoNotOptimize(s.data());
  }
  state.SetItemsProcessed(state.iterations() * kUnits);
}

// ---- searching a long text whose match sits at the end

std::u16string haystack() {
  std::u16string text;
  for (std::uint32_t i = 0; i < kUnits; ++i) text.push_back(unitAt(i % 7));  // 'a'..'g' only
  text += u"Zneedle";
  return text;
}

void StrBuffer_IndexOf(benchmark::State& state) {
  const std::u16string text = haystack();
  StrBuffer* s = StrBuffer::fromText(text.c_str());
  for (auto _ : state) {
    std::uint32_t at = 0;
    benchmark::DoNotOptimize(s->indexOf(u'Z', at));
    benchmark::DoNotOptimize(at);
  }
  s->release();
  state.SetItemsProcessed(state.iterations() * kUnits);
}

void U16String_IndexOf(benchmark::State& state) {
  const std::u16string text = haystack();
  for (auto _ : state) benchmark::DoNotOptimize(text.find(u'Z'));
  state.SetItemsProcessed(state.iterations() * kUnits);
}

void StrBuffer_IndexOfText(benchmark::State& state) {
  const std::u16string text = haystack();
  StrBuffer* s = StrBuffer::fromText(text.c_str());
  for (auto _ : state) {
    std::uint32_t at = 0;
    benchmark::DoNotOptimize(s->indexOfText(u"needle", at));
    benchmark::DoNotOptimize(at);
  }
  s->release();
  state.SetItemsProcessed(state.iterations() * kUnits);
}

void U16String_IndexOfText(benchmark::State& state) {
  const std::u16string text = haystack();
  for (auto _ : state) benchmark::DoNotOptimize(text.find(u"needle"));
  state.SetItemsProcessed(state.iterations() * kUnits);
}

BENCHMARK(StrBuffer_AppendChar);
BENCHMARK(U16String_AppendChar);
BENCHMARK(StrBuffer_AppendText);
BENCHMARK(U16String_AppendText);
BENCHMARK(StrBuffer_IndexOf);
BENCHMARK(U16String_IndexOf);
BENCHMARK(StrBuffer_IndexOfText);
BENCHMARK(U16String_IndexOfText);

// Shows the usual console output and keeps each benchmark's time per
// iteration for the ratios.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.run_type == Run::RT_Iteration && run.iterations > 0) {
        times_[run.benchmark_name()] = run.GetAdjustedCPUTime();
      }
    }
  }

  void printRatios() const {
    std::printf("\nStrBuffer CPU time / std::u16string CPU time (below 1: StrBuffer faster)\n");
    for (const auto& [name, time] : times_) {
      if (name.rfind("StrBuffer_", 0) != 0) continue;
      const std::string operation = name.substr(10);
      const auto other = times_.find("U16String_" + operation);
      if (other == times_.end() || other->second <= 0) continue;
      std::printf("  %-12s %6.2f\n", operation.c_str(), time / other->second);
    }
  }

 private:
  std::map<std::string, double> times_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.printRatios();
  benchmark::Shutdown();
  return 0;
}
