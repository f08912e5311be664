// Two threads, as the user interface and the worker, hammer different operations at
// once: no write is lost and no operation sees another one half done.
#include <atomic>
#include <set>
#include <thread>

#include "store_test_util.h"

using namespace store_test;

TEST_F(StoreTest, UiAndWorkerThreadsLoseNoWriteAndNeverInterleave) {
  ASSERT_TRUE(Open());
  for (int i = 0; i < 3; ++i) ASSERT_GT(store_.AddProfile(ProfileData{}), 0);
  ASSERT_TRUE(store_.SetActiveProfile(1));
  constexpr int kRounds = 150;
  constexpr int kBatch = 20;
  std::atomic<int> torn_active{0}, torn_batches{0}, failed_writes{0};
  std::vector<int> macro_ids;

  std::thread ui([&] {
    for (int i = 0; i < kRounds; ++i) {
      const int id = store_.AddMacro(L"macro " + std::to_wstring(i));
      if (id <= 0) ++failed_writes;
      macro_ids.push_back(id);
      // Clears every profile, then sets one: another thread must never see the gap.
      if (!store_.SetActiveProfile(1 + i % 3)) ++failed_writes;
      std::vector<KeyLightData> set(kBatch);
      for (int k = 0; k < kBatch; ++k) {
        set[k].profile = 1;
        set[k].light_id = 128;
        set[k].key_code = k + 1;
        set[k].key_rgb = i;
      }
      if (store_.AddKeyLights(set) != kBatch) ++failed_writes;
      if (store_.GetActiveProfile() == 0) ++torn_active;
    }
  });
  std::thread worker([&] {
    std::vector<KeyLightData> seen;
    for (int i = 0; i < kRounds; ++i) {
      KeyMacroData k;
      k.profile = 2;
      k.key_code = i + 1;
      k.macro_type = 2;
      k.macro_value = i + 1;
      if (store_.SaveKeyAssignment(k) <= 0) ++failed_writes;
      MacroRecordData r;
      r.macro_id = 1000;
      r.record_index = i;
      r.type = 4;
      if (store_.AddMacroRecord(r) <= 0) ++failed_writes;
      if (store_.GetActiveProfile() == 0) ++torn_active;
      // A batch holds the lock through its transaction: never a partial set.
      if (store_.LoadKeyLights(128, seen) % kBatch != 0) ++torn_batches;
      store_.DeleteMacroAssignments(5000 + i);  // the lock-free one, matching nothing
    }
  });
  ui.join();
  worker.join();

  EXPECT_EQ(failed_writes.load(), 0);
  EXPECT_EQ(torn_active.load(), 0);
  EXPECT_EQ(torn_batches.load(), 0);
  EXPECT_EQ(std::set<int>(macro_ids.begin(), macro_ids.end()).size(), size_t(kRounds));
  std::vector<MacroData> macros;
  EXPECT_EQ(store_.LoadMacros(macros), kRounds);
  std::vector<KeyMacroData> keys;
  EXPECT_EQ(store_.LoadProfileAssignments(2, keys), kRounds);
  std::vector<MacroRecordData> records;
  ASSERT_EQ(store_.LoadMacroRecords(1000, records), kRounds);
  for (int i = 0; i < kRounds; ++i) EXPECT_EQ(records[i].record_index, i);
  std::vector<KeyLightData> lights;
  EXPECT_EQ(store_.LoadKeyLights(128, lights), kRounds * kBatch);
  store_.Close();
  EXPECT_EQ(RawQuery(FileOf(L"K100"), "PRAGMA integrity_check"), std::vector<std::string>{"ok"});
}

TEST_F(StoreTest, CloseWhileAnotherThreadWorksIsSafe) {
  ASSERT_TRUE(Open());
  std::atomic<bool> stop{false};
  std::thread worker([&] {
    while (!stop) {
      store_.AddMacro(L"m");
      store_.DeleteProfileAssignments(1);  // lock-free
      std::vector<MacroData> list;
      store_.LoadMacros(list);
    }
  });
  for (int i = 0; i < 30; ++i) {
    store_.Close();
    EXPECT_TRUE(Open());
  }
  stop = true;
  worker.join();
  EXPECT_EQ(RawQuery(FileOf(L"K100"), "PRAGMA integrity_check"), std::vector<std::string>{"ok"});
}
