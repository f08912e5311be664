// Saving and loading a full per-key colour set (200 rows) through the store, beside a
// hand-written loop of the raw sqlite3 calls doing the same on a file of the same shape.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <stdlib.h>

#include <filesystem>
#include <string>
#include <vector>

#include "store/data_store.h"
#include "tessel/core/text_utf.h"

namespace {

constexpr int kKeys = 200;
constexpr int kPerKeyLightId = 128;

struct Files {
  Files() {
    std::string templ = (std::filesystem::temp_directory_path() / "bench_store_XXXXXX").string();
    root = mkdtemp(templ.data());
    data = WideFromUtf8(root) + L"/";
    std::filesystem::create_directories(root + "/db");
    store.OpenForModel(data, L"Store");
    DataStore maker;  // gives the raw loop's file the same schema
    maker.OpenForModel(data, L"Raw");
    raw_path = maker.Path();
    maker.Close();
    sqlite3_open_v2(raw_path.c_str(), &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_FULLMUTEX,
                    nullptr);
    sqlite3_exec(raw, "PRAGMA synchronous = OFF;", nullptr, nullptr, nullptr);
    for (int i = 0; i < kKeys; ++i) {
      KeyLightData k;
      k.profile = 1;
      k.light_id = kPerKeyLightId;
      k.key_code = i + 1;
      k.key_rgb = 0x00FFFFFF - i;
      set.push_back(k);
    }
  }
  ~Files() {
    sqlite3_close(raw);
    store.Close();
    std::filesystem::remove_all(root);
  }
  std::string root;
  std::wstring data;
  std::string raw_path;
  DataStore store;
  sqlite3* raw = nullptr;
  std::vector<KeyLightData> set;
};

Files& Shared() {
  static Files files;
  return files;
}

void RawSave(sqlite3* db, const std::vector<KeyLightData>& set) {
  sqlite3_stmt* st = nullptr;
  sqlite3_prepare_v2(db, "DELETE FROM t_key_light_data WHERE light_id = ?", -1, &st, nullptr);
  sqlite3_bind_int(st, 1, kPerKeyLightId);
  sqlite3_step(st);
  sqlite3_finalize(st);
  sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
  sqlite3_prepare_v2(db,
                     "INSERT INTO t_key_light_data(profile, light_id, key_code, key_rgb) "
                     "VALUES (?, ?, ?, ?);",
                     -1, &st, nullptr);
  for (const KeyLightData& k : set) {
    sqlite3_reset(st);
    sqlite3_bind_int(st, 1, k.profile);
    sqlite3_bind_int(st, 2, k.light_id);
    sqlite3_bind_int(st, 3, k.key_code);
    sqlite3_bind_int(st, 4, k.key_rgb);
    sqlite3_step(st);
  }
  sqlite3_finalize(st);
  sqlite3_exec(db, "END", nullptr, nullptr, nullptr);
}

int RawLoad(sqlite3* db, std::vector<KeyLightData>& out) {
  out.clear();
  sqlite3_stmt* st = nullptr;
  sqlite3_prepare_v2(db, "SELECT * FROM t_key_light_data WHERE light_id = ?", -1, &st, nullptr);
  sqlite3_bind_int(st, 1, kPerKeyLightId);
  while (sqlite3_step(st) == SQLITE_ROW) {
    KeyLightData k;
    k.keylight_id = sqlite3_column_int(st, 0);
    k.profile = sqlite3_column_int(st, 1);
    k.light_id = sqlite3_column_int(st, 2);
    k.key_code = sqlite3_column_int(st, 3);
    k.key_rgb = sqlite3_column_int(st, 4);
    out.push_back(k);
  }
  sqlite3_finalize(st);
  return static_cast<int>(out.size());
}

// Save = what the lighting page does: drop the old set, insert the new one in one batch.
void BM_StoreSaveKeyColours(benchmark::State& state) {
  Files& f = Shared();
  for (auto _ : state) {
    f.store.DeleteKeyLights();
    if (f.store.AddKeyLights(f.set) != kKeys) state.SkipWithError("short save");
  }
}

void BM_RawSaveKeyColours(benchmark::State& state) {
  Files& f = Shared();
  for (auto _ : state) RawSave(f.raw, f.set);
}

void BM_StoreLoadKeyColours(benchmark::State& state) {
  Files& f = Shared();
  f.store.DeleteKeyLights();
  f.store.AddKeyLights(f.set);
  std::vector<KeyLightData> out;
  for (auto _ : state) {
    if (f.store.LoadKeyLights(kPerKeyLightId, out) != kKeys) state.SkipWithError("short load");
  }
}

void BM_RawLoadKeyColours(benchmark::State& state) {
  Files& f = Shared();
  RawSave(f.raw, f.set);
  std::vector<KeyLightData> out;
  for (auto _ : state) {
    if (RawLoad(f.raw, out) != kKeys) state.SkipWithError("short load");
  }
}

#define STORE_BENCH(fn) \
  BENCHMARK(fn)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true)
STORE_BENCH(BM_StoreSaveKeyColours);
STORE_BENCH(BM_RawSaveKeyColours);
STORE_BENCH(BM_StoreLoadKeyColours);
STORE_BENCH(BM_RawLoadKeyColours);

}  // namespace

BENCHMARK_MAIN();
