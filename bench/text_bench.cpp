// Times the unit-walking searches and the marker extraction over a 1 MiB page of mixed ASCII and
// code-page-936 text. Each operation stands beside a std::string_view::find loop that finds the
// same occurrences byte-wise, ignoring character units, as the baseline.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "resolver/markers.h"
#include "textkit/text.h"

namespace quorvel {
namespace {

constexpr std::size_t kPageSize = 1 << 20;
constexpr std::string_view kStartMarker = "\"sign\":\"";
constexpr std::string_view kEndMarker = "\",\"";

// A page of markup-like ASCII runs and two-byte characters, some of them with an ASCII second
// byte, from a fixed linear congruential sequence. It holds no double quote, so the one value
// near its end is the only place the markers meet.
std::string MakePage() {
  std::uint32_t state = 20170515;
  const auto next = [&state](std::uint32_t range) {
    state = state * 1664525u + 1013904223u;
    return (state >> 8) % range;
  };
  constexpr std::string_view ascii = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJ0123456789 <>=/,.-_:;";
  const std::string tail =
      std::string(kStartMarker) + "5f1a9c" + std::string(kEndMarker) + "timestamp\":1494806400}";
  std::string page;
  page.reserve(kPageSize);
  while (page.size() + tail.size() + 2 < kPageSize) {
    if (next(3) == 0) {
      for (std::uint32_t n = 1 + next(8); n > 0; --n) {
        if (next(5) == 0) {  // A character whose second byte is ASCII (0x40 to 0x7E).
          page.push_back(static_cast<char>(0x81 + next(0x20)));
          page.push_back(static_cast<char>(0x40 + next(0x3F)));
        } else {
          page.push_back(static_cast<char>(0xB0 + next(0x28)));
          page.push_back(static_cast<char>(0xA1 + next(0x5E)));
        }
      }
    } else {
      for (std::uint32_t n = 1 + next(16); n > 0; --n) page.push_back(ascii[next(ascii.size())]);
    }
  }
  page.append(tail);
  return page;
}

const Text& Page() {
  static const Text page(MakePage());
  return page;
}

std::size_t CountAll(std::string_view hay, std::string_view needle) {
  std::size_t found = 0;
  for (std::size_t p = hay.find(needle); p != std::string_view::npos;
       p = hay.find(needle, p + needle.size())) {
    ++found;
  }
  return found;
}

void SetBytes(benchmark::State& state) {
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(Page().size()));
}

// ---- Baselines -------------------------------------------------------------------------------

void BM_Baseline_FindMarker(benchmark::State& state) {
  const std::string_view page = Page().view();
  for (auto _ : state) benchmark::DoNotOptimize(page.find(kStartMarker));
  SetBytes(state);
}
BENCHMARK(BM_Baseline_FindMarker);

void BM_Baseline_FindBetween(benchmark::State& state) {
  const std::string_view page = Page().view();
  for (auto _ : state) {
    const std::size_t start = page.find(kStartMarker) + kStartMarker.size();
    benchmark::DoNotOptimize(page.substr(start, page.find(kEndMarker, start) - start));
  }
  SetBytes(state);
}
BENCHMARK(BM_Baseline_FindBetween);

void BM_Baseline_FindAllSlashes(benchmark::State& state) {
  const std::string_view page = Page().view();
  for (auto _ : state) benchmark::DoNotOptimize(CountAll(page, "/"));
  SetBytes(state);
}
BENCHMARK(BM_Baseline_FindAllSlashes);

void BM_Baseline_FindAllCommas(benchmark::State& state) {
  const std::string_view page = Page().view();
  for (auto _ : state) benchmark::DoNotOptimize(CountAll(page, ","));
  SetBytes(state);
}
BENCHMARK(BM_Baseline_FindAllCommas);

// ---- Primitives ------------------------------------------------------------------------------

void BM_FindText(benchmark::State& state) {
  const Text marker(kStartMarker);
  const bool ignoreCase = state.range(0) != 0;
  for (auto _ : state) benchmark::DoNotOptimize(FindText(Page(), marker, 1, ignoreCase));
  SetBytes(state);
}
BENCHMARK(BM_FindText)->ArgName("ignoreCase")->Arg(0)->Arg(1);

void BM_TextBetween(benchmark::State& state) {
  const Text start(kStartMarker);
  const Text end(kEndMarker);
  for (auto _ : state) benchmark::DoNotOptimize(TextBetween(Page(), start, end));
  SetBytes(state);
}
BENCHMARK(BM_TextBetween);

void BM_ReplaceText(benchmark::State& state) {
  const Text slash("/");
  const bool caseSensitive = state.range(0) != 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(ReplaceText(Page(), slash, Text(), 1, std::nullopt, caseSensitive));
  }
  SetBytes(state);
}
BENCHMARK(BM_ReplaceText)->ArgName("caseSensitive")->Arg(1)->Arg(0);

void BM_SplitText(benchmark::State& state) {
  const Text comma(",");
  for (auto _ : state) benchmark::DoNotOptimize(SplitText(Page(), comma));
  SetBytes(state);
}
BENCHMARK(BM_SplitText);

}  // namespace
}  // namespace quorvel

BENCHMARK_MAIN();
