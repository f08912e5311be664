#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "app/task_codes.h"
#include "app/thread_basic.h"
#include "app/worker_task_queue.h"

namespace {

struct CountingDialog : WaitDialogHandle {
  int ended = 0;
  void DoOK() override { ++ended; }
};

class CountingThread : public CThreadBasic {
 public:
  std::atomic<int> cycles{0};
  std::atomic<bool> block{false};

 protected:
  void Run() override {
    ++cycles;
    while (block.load()) std::this_thread::yield();
  }
};

}  // namespace

TEST(WorkerTaskQueue, QueueIfIdleAndWaitDialog) {
  WorkerTaskQueue queue;
  EXPECT_FALSE(queue.Front());
  EXPECT_TRUE(queue.AppendIfIdle(TASK_SEND_LIGHT));
  // Three more brightness changes while the first send runs leave one code 9.
  for (int i = 0; i < 3; ++i) EXPECT_FALSE(queue.AppendIfIdle(TASK_SEND_LIGHT));
  EXPECT_EQ(queue.Size(), 1u);
  EXPECT_EQ(queue.Front(), TASK_SEND_LIGHT);

  CountingDialog dialog;
  queue.SetWaitDialog(&dialog);
  queue.EndWaitDialog();
  queue.EndWaitDialog();  // already ended: nothing more happens
  EXPECT_EQ(dialog.ended, 1);
  queue.PopFront();
  EXPECT_TRUE(queue.Empty());
  queue.PopFront();  // popping an empty queue is harmless
}

TEST(WorkerTaskQueue, TaskClasses) {
  for (int code : {1, 2, 3, 14, 15, 16, 17, 18, 19}) EXPECT_TRUE(TaskRunsWithoutDevice(code)) << code;
  for (int code : {5, 6, 7, 8, 9, 10, 12}) EXPECT_TRUE(TaskNeedsDevice(code)) << code;
  for (int code : {0, 4, 11, 13, 20, -1}) {
    EXPECT_FALSE(TaskRunsWithoutDevice(code)) << code;
    EXPECT_FALSE(TaskNeedsDevice(code)) << code;
  }
}

TEST(WorkerTaskQueue, TwoThreadsLoseNoCode) {
  WorkerTaskQueue queue;
  constexpr int kCount = 20000;
  std::thread producer([&] {
    for (int i = 0; i < kCount; ++i) queue.Append(i);
  });
  int taken = 0, expected = 0;
  while (taken < kCount) {
    if (auto code = queue.Front()) {
      ASSERT_EQ(*code, expected++);
      queue.PopFront();
      ++taken;
    }
  }
  producer.join();
  EXPECT_TRUE(queue.Empty());
}

TEST(ThreadBasic, StartsOnceAndStopsPromptly) {
  CountingThread thread;
  ASSERT_TRUE(thread.Start());
  EXPECT_FALSE(thread.Start());
  EXPECT_EQ(thread.Interval(), 16);
  while (thread.cycles.load() == 0) std::this_thread::yield();
  EXPECT_TRUE(thread.Stop());
  EXPECT_FALSE(thread.IsRunning());
  // It can be started again after stopping.
  ASSERT_TRUE(thread.Start());
  EXPECT_TRUE(thread.Stop());
}

TEST(ThreadBasic, StopGivesUpOnAThreadStuckInItsCycle) {
  CountingThread thread;
  thread.block = true;
  ASSERT_TRUE(thread.Start());
  while (thread.cycles.load() == 0) std::this_thread::yield();
  EXPECT_FALSE(thread.Stop(std::chrono::milliseconds(1)));
  thread.block = false;  // the destructor then waits for the cycle to end
}
