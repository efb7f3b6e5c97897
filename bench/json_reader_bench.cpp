// Parse-only speed and tree memory of the study's JSON reader beside RapidJSON's and
// simdjson's DOM, on the payload files given as arguments (default: the extended sample
// answer). Each parser runs in its natural way: the document and simdjson's parser are kept
// from parse to parse (as the study keeps its document), RapidJSON's document is made anew. Prints one table: the median MB/s of the repetitions (run them in
// random order with --benchmark_enable_random_interleaving), the ratios to RapidJSON and
// simdjson from the same run, and the heap bytes per input byte that each tree keeps after a
// first parse and takes at the peak of it. The parsed text is the caller's and not counted.
//   json_reader_bench [benchmark flags] [payload.json...]
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <rapidjson/document.h>
#include <simdjson.h>

#include "heap_count.h"
#include "median_reporter.h"
#include "json/json_document.h"
#include "text/format.h"

namespace {

struct Payload {
  std::string name;  // the file name, for the table
  std::string text;
  simdjson::padded_string padded;  // simdjson reads past the end: the caller pads
};

enum ParserId { kDocument, kRapidJson, kSimdjson, kParserCount };
constexpr const char* kParserNames[kParserCount] = {"ordinel document", "RapidJSON DOM", "simdjson DOM"};

// RapidJSON's malloc-based allocator with its blocks counted.
struct CountingMalloc {
  [[maybe_unused]] static const bool kNeedFree = true;  // part of RapidJSON's allocator concept
  void* Malloc(size_t size) {
    if (size == 0) return nullptr;
    void* block = std::malloc(size);
    bench::CountTaken(block);
    return block;
  }
  void* Realloc(void* original, size_t, size_t size) {
    if (size == 0) {
      Free(original);
      return nullptr;
    }
    bench::CountGivenBack(original);  // realloc may copy: then both blocks exist for a moment,
    void* block = std::realloc(original, size);
    bench::CountTaken(block);  // which this order does not count; growth is rare
    return block;
  }
  static void Free(void* block) {
    bench::CountGivenBack(block);
    std::free(block);
  }
};
using CountedRapidDocument =
    rapidjson::GenericDocument<rapidjson::UTF8<>, rapidjson::MemoryPoolAllocator<CountingMalloc>,
                               CountingMalloc>;

// Parses once with `parser`; false when it refuses the payload.
bool ParseOnce(ParserId parser, const Payload& payload) {
  switch (parser) {
    case kDocument: {
      json::Document document;
      return document.Parse(payload.text) == json::ParseResult::kParsed;
    }
    case kRapidJson: {
      CountedRapidDocument document;
      document.Parse(payload.text.data(), payload.text.size());
      return !document.HasParseError();
    }
    default: {
      simdjson::dom::parser simd;
      return simd.parse(payload.padded).error() == simdjson::SUCCESS;
    }
  }
}

struct Memory {
  double kept = 0;  // heap bytes per input byte while the tree lives
  double peak = 0;  // the most during the parse
};

// A first parse into a fresh tree, measured while the tree lives and after.
template <typename Parse>
Memory MeasureFirstParse(const Payload& payload, Parse parse) {
  bench::HeapWindow window;
  long long kept = 0;
  parse(&kept, window);
  const double bytes = static_cast<double>(payload.text.size());
  return {static_cast<double>(kept) / bytes, static_cast<double>(window.Peak()) / bytes};
}

Memory MeasureMemory(ParserId parser, const Payload& payload) {
  switch (parser) {
    case kDocument:
      return MeasureFirstParse(payload, [&](long long* kept, const bench::HeapWindow& window) {
        json::Document document;
        document.Parse(payload.text);
        *kept = window.Live();
      });
    case kRapidJson:
      return MeasureFirstParse(payload, [&](long long* kept, const bench::HeapWindow& window) {
        CountedRapidDocument document;
        document.Parse(payload.text.data(), payload.text.size());
        *kept = window.Live();
      });
    default:
      return MeasureFirstParse(payload, [&](long long* kept, const bench::HeapWindow& window) {
        simdjson::dom::parser simd;
        simdjson::dom::element root;
        if (simd.parse(payload.padded).get(root) == simdjson::SUCCESS) *kept = window.Live();
      });
  }
}

void RunParses(benchmark::State& state, ParserId parser, const Payload& payload) {
  switch (parser) {
    case kDocument: {
      json::Document document;  // kept, as the study keeps it between refreshes
      for (auto _ : state) {
        benchmark::DoNotOptimize(document.Parse(payload.text));
        benchmark::DoNotOptimize(document.Root());
      }
      break;
    }
    case kRapidJson:
      for (auto _ : state) {
        rapidjson::Document document;
        document.Parse(payload.text.data(), payload.text.size());
        benchmark::DoNotOptimize(document.HasParseError());
      }
      break;
    default: {
      simdjson::dom::parser simd;
      for (auto _ : state) {
        simdjson::dom::element root;
        benchmark::DoNotOptimize(simd.parse(payload.padded).get(root));
      }
      break;
    }
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(payload.text.size()));
}

// One table row per payload and parser.
struct Row {
  const Payload* payload;
  ParserId parser;
  Memory memory;
  double megabytesPerSecond = 0;  // 0 until the benchmark reports
};

std::string BenchmarkName(const Payload& payload, ParserId parser) {
  return "parse/" + payload.name + "/" + std::to_string(static_cast<int>(parser));
}

// Keeps the median (or the only) MB/s of each benchmark and prints the table at the end.
class TableReporter : public bench::MedianReporter {
 public:
  explicit TableReporter(std::vector<Row>* rows) : rows_(*rows) {}

  void Keep(const Run& run) override {
    const auto rate = run.counters.find("bytes_per_second");
    if (rate == run.counters.end()) return;
    for (Row& row : rows_) {
      if (run.run_name.function_name == BenchmarkName(*row.payload, row.parser)) {
        row.megabytesPerSecond = rate->second.value / 1e6;
      }
    }
  }

  void Finalize() override { PrintTable(); }

 private:
  double Rate(const Payload* payload, ParserId parser) const {
    for (const Row& row : rows_) {
      if (row.payload == payload && row.parser == parser) return row.megabytesPerSecond;
    }
    return 0;
  }

  static std::string Ratio(double a, double b) { return b > 0 && a > 0 ? text::Format("%.2fx", a / b) : "-"; }

  void PrintTable() const {
    std::string out = text::Format("%-30s %-20s %9s %9s %9s %8s %8s\n", "payload", "parser", "MB/s",
                                   "vs Rapid", "vs simd", "kept/B", "peak/B");
    const Payload* last = nullptr;
    for (const Row& row : rows_) {
      const double rate = row.megabytesPerSecond;
      const std::string memoryKept =
          bench::HeapCountingAvailable() ? text::Format("%.2f", row.memory.kept) : "n/a";
      const std::string memoryPeak =
          bench::HeapCountingAvailable() ? text::Format("%.2f", row.memory.peak) : "n/a";
      const std::string payloadText = row.payload == last ? ""
                                                          : text::Format("%s (%zu KB)", row.payload->name,
                                                                         row.payload->text.size() / 1000);
      out += text::Format("%-30s %-20s %9.1f %9s %9s %8s %8s\n", payloadText, kParserNames[row.parser], rate,
                          Ratio(rate, Rate(row.payload, kRapidJson)),
                          Ratio(rate, Rate(row.payload, kSimdjson)), memoryKept, memoryPeak);
      last = row.payload;
    }
    GetOutputStream() << out << std::flush;
  }

  std::vector<Row>& rows_;
};

bool ReadPayload(const std::string& path, Payload* payload) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream bytes;
  bytes << in.rdbuf();
  payload->name = std::filesystem::path(path).filename().string();
  payload->text = bytes.str();
  payload->padded = simdjson::padded_string(payload->text);
  return !payload->text.empty();
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  std::vector<std::string> paths(argv + 1, argv + argc);
  for (const std::string& path : paths) {
    if (path.rfind("--", 0) == 0) {
      std::fprintf(stderr, "json_reader_bench: unknown option %s\n", path.c_str());
      return 2;
    }
  }
  if (paths.empty()) paths.push_back(std::string(ORDINEL_DATA) + "/answers/extended.json");

  std::vector<std::unique_ptr<Payload>> payloads;
  for (const std::string& path : paths) {
    auto payload = std::make_unique<Payload>();
    if (!ReadPayload(path, payload.get())) {
      std::fprintf(stderr, "json_reader_bench: cannot read %s\n", path.c_str());
      return 1;
    }
    payloads.push_back(std::move(payload));
  }

  std::vector<Row> rows;
  for (const auto& payload : payloads) {
    for (int p = 0; p < kParserCount; ++p) {
      const auto parser = static_cast<ParserId>(p);
      if (!ParseOnce(parser, *payload)) {
        std::fprintf(stderr, "json_reader_bench: %s refuses %s\n", kParserNames[p], payload->name.c_str());
        return 1;
      }
      rows.push_back({payload.get(), parser, MeasureMemory(parser, *payload)});
      const Payload& bytes = *payload;
      benchmark::RegisterBenchmark(
          BenchmarkName(bytes, parser).c_str(),
          [parser, &bytes](benchmark::State& state) { RunParses(state, parser, bytes); });
    }
  }
  TableReporter reporter(&rows);
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
