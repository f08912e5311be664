#pragma once
// Helpers of the window tests: a headless window system with a manual clock, a dialog that
// records what reaches it, and a probe control (control_test_support.h).
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "control_test_support.h"
#include "tessel/core/backend/headless_backend.h"
#include "tessel/core/backend/window_system.h"
#include "tessel/core/mdialog.h"

namespace window_test {

// Each test gets a fresh window system on a headless back end.
class HeadlessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WindowSystem::Get().Reset();
    auto b = std::make_unique<HeadlessBackend>();
    backend = b.get();
    WindowSystem::Get().SetBackend(std::move(b));
  }
  void TearDown() override { WindowSystem::Get().Reset(); }

  // Dispatches everything due now.
  int Pump() { return WindowSystem::Get().PumpPending(); }
  // Moves the manual clock in steps, dispatching what falls due after each step.
  void Advance(int ms, int step = 10) {
    for (int t = 0; t < ms; t += step) {
      backend->AdvanceClock(std::min(step, ms - t));
      Pump();
    }
  }

  HeadlessBackend* backend = nullptr;
};

struct Note {
  unsigned id;
  unsigned code;
};

// A dialog that records its notifications, InitUI and UISize calls.
class RecordingDialog : public MDialog {
 public:
  void InitUI(const MRect& client) override {
    ++init_calls;
    if (on_init) on_init(*this);
  }
  void UISize(const MRect& client) override {
    ++size_calls;
    last_size = client;
  }
  LRESULT OnMessage(unsigned id, unsigned code, WPARAM wParam, LPARAM lParam) override {
    notes.push_back({id, code});
    if (on_message) on_message(*this, id, code);
    return 0;
  }
  LRESULT OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_CHAR) chars.push_back(static_cast<wchar_t>(wParam));
    if (message >= WM_USER + 1 && message < WM_USER + 60) user_messages.push_back(message);
    return MDialog::OnWindowMessage(message, wParam, lParam);
  }
  // A probe control owned by the dialog.
  control_test::Probe* AddProbe(unsigned id, const MRect& rect, std::vector<std::string>* log = nullptr) {
    auto* p = new control_test::Probe(this, id, rect, log);
    paint_manager.AddControl(p);
    return p;
  }

  int init_calls = 0;
  int size_calls = 0;
  MRect last_size;
  std::vector<Note> notes;
  std::wstring chars;
  std::vector<UINT> user_messages;
  std::function<void(RecordingDialog&)> on_init;
  std::function<void(RecordingDialog&, unsigned id, unsigned code)> on_message;
};

}  // namespace window_test
