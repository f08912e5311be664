// Input routing, notifications and redraw requests of the control tree.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>

#include "control_test_support.h"
#include "tessel/core/carea.h"
#include "tessel/core/mcontrol.h"
#include "tessel/core/mpanel.h"

using namespace control_test;

namespace {

// A top-level panel under a recording parent, attached to a recording host.
struct Tree {
  RecordingParent parent;
  RecordingHost host;
  std::vector<std::string> log;
  std::unique_ptr<MPanel> root;

  Tree() {
    root = std::make_unique<MPanel>(&parent, 100, MRect(0, 0, 400, 300));
    root->SetManager(&host);
  }
  Probe* Add(unsigned id, MRect rect, MControl* container = nullptr) {
    MControl* owner = container ? container : root.get();
    auto* p = new Probe(owner, id, rect, &log);
    owner->AddControl(p);
    return p;
  }
};

}  // namespace

TEST(ControlRouting, DoubleClickArrivesAsSecondPressWhenFlagIsZero) {
  Tree t;
  Probe* c = t.Add(5, MRect(10, 10, 60, 40));
  const MPoint p(20, 20);
  t.root->OnLButtonDown(MK_LBUTTON, p);
  t.root->OnLButtonUp(0, p);
  t.root->OnLButtonDblClk(MK_LBUTTON, p);
  t.root->OnLButtonUp(0, p);
  EXPECT_EQ(c->downs, 2);
  EXPECT_EQ(c->dblclks, 0);
  // The parent saw press, click, press, click from control 5.
  ASSERT_EQ(t.parent.notes.size(), 4u);
  for (size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(t.parent.notes[i].id, 5u);
    EXPECT_EQ(t.parent.notes[i].code, i % 2 == 0 ? 1u : 2u);
  }
}

TEST(ControlRouting, DoubleClickFlagDeliversDoubleClickAndNotifiesCode3) {
  Tree t;
  Probe* c = t.Add(5, MRect(10, 10, 60, 40));
  c->SetDblClk(1);
  c->SetNotifyDblClk(1);
  const MPoint p(20, 20);
  t.root->OnLButtonDown(MK_LBUTTON, p);
  t.root->OnLButtonUp(0, p);
  t.root->OnLButtonDblClk(MK_LBUTTON, p);
  EXPECT_EQ(c->downs, 1);
  EXPECT_EQ(c->dblclks, 1);
  ASSERT_EQ(t.parent.notes.size(), 3u);
  EXPECT_EQ(t.parent.notes[2].code, 3u);
  EXPECT_EQ(t.parent.notes[2].wparam, static_cast<WPARAM>(MK_LBUTTON));
  EXPECT_NE(t.parent.notes[2].lparam, 0);
}

TEST(ControlRouting, LaterOfTwoOverlappingChildrenGetsThePress) {
  Tree t;
  Probe* first = t.Add(5, MRect(10, 10, 100, 100));
  Probe* second = t.Add(6, MRect(50, 50, 150, 150));
  t.root->OnLButtonDown(MK_LBUTTON, MPoint(60, 60));
  EXPECT_EQ(first->downs, 0);
  EXPECT_EQ(second->downs, 1);
  EXPECT_EQ(t.root->GetActiveChild(), second);
  // Disabled, invisible or unresponsive later children are passed over.
  second->SetControlEnabled(0);
  t.root->OnLButtonDown(MK_LBUTTON, MPoint(60, 60));
  EXPECT_EQ(first->downs, 1);
  second->SetControlEnabled(1);
  second->SetRresponse(0);
  t.root->OnLButtonDown(MK_LBUTTON, MPoint(60, 60));
  EXPECT_EQ(first->downs, 2);
}

TEST(ControlRouting, PressOnNoChildTakesFocusForTheContainer) {
  Tree t;
  Probe* c = t.Add(5, MRect(10, 10, 60, 40));
  t.root->OnLButtonDown(MK_LBUTTON, MPoint(20, 20));
  EXPECT_EQ(t.host.focus, c);
  EXPECT_TRUE(c->IsFocused());
  EXPECT_TRUE(c->IsFocusControl());
  t.root->OnLButtonDown(MK_LBUTTON, MPoint(300, 200));
  EXPECT_EQ(t.host.focus, t.root.get());
  EXPECT_FALSE(c->IsFocused());
  EXPECT_EQ(t.root->GetActiveChild(), nullptr);
}

TEST(ControlRouting, SetVisibleUnchangedGivesNoRedrawRequest) {
  Tree t;
  Probe* c = t.Add(5, MRect(10, 10, 60, 40));
  t.parent.updates.clear();
  c->SetVisible(1);
  c->SetVisible(1, 1);
  EXPECT_TRUE(t.parent.updates.empty());
  c->SetVisible(0);
  // The panel turns its child's request into one for the whole panel.
  ASSERT_EQ(t.parent.updates.size(), 1u);
  EXPECT_EQ(t.parent.updates[0].control, t.root.get());
  EXPECT_EQ(t.parent.updates[0].rect, t.root->GetRect());
  EXPECT_EQ(c->GetUpdate(), 0);  // marked dirty by the panel
  c->SetVisible(0);
  EXPECT_EQ(t.parent.updates.size(), 1u);
  c->SetVisible(1, 0);  // changed but told not to notify
  EXPECT_EQ(t.parent.updates.size(), 1u);
  EXPECT_TRUE(c->IsVisible());
}

TEST(ControlRouting, RedrawRequestsOfAPlainControl) {
  RecordingParent parent;
  Probe c(&parent, 7, MRect(10, 10, 20, 20));
  c.SetEnabled(1);  // unchanged
  EXPECT_TRUE(parent.updates.empty());
  c.SetEnabled(0);
  ASSERT_EQ(parent.updates.size(), 1u);
  EXPECT_EQ(parent.updates[0].redraw, 1);
  c.SetRect(30, 30, 10, 10);
  ASSERT_EQ(parent.updates.size(), 2u);
  EXPECT_EQ(parent.updates[1].rect, MRect(10, 10, 40, 40));  // union of old and new
  c.UpdateAControl(0);
  EXPECT_EQ(c.IsAnimating(), 1);
  EXPECT_EQ(parent.updates.back().redraw, 0);
  c.SetControlVisible(0);
  c.UpdateControl(1);  // invisible, not forced: nothing
  EXPECT_EQ(parent.updates.size(), 3u);
  c.UpdateControl(1, 1);
  EXPECT_EQ(parent.updates.size(), 4u);
}

TEST(ControlRouting, PanelScrollBarsGetUnscrolledPoints) {
  Tree t;
  auto* inner = new MPanel(t.root.get(), 50, MRect(0, 0, 200, 100));
  t.root->AddControl(inner);
  Probe* item = t.Add(9, MRect(0, 0, 190, 400), inner);
  inner->SetVirtualHeight(300);  // 200 pixels more than the panel
  CScrollVertical* bar = inner->GetScrollVertical();
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar->GetControlID(), 1u);
  EXPECT_EQ(inner->GetScrollHorizontal()->GetControlID(), 2u);
  EXPECT_TRUE(bar->IsVisible());
  EXPECT_FALSE(inner->GetScrollHorizontal()->IsVisible());
  EXPECT_EQ(bar->GetRect(), MRect(193, 0, 200, 100));
  bar->SetScrollCurrentPos(500);  // half way: content moved up by 100

  // The item sees content coordinates.
  t.root->OnLButtonDown(MK_LBUTTON, MPoint(20, 30));
  ASSERT_FALSE(t.log.empty());
  EXPECT_EQ(t.log.back(), "c9:down@20,130");
  EXPECT_EQ(item->downs, 1);

  // A probe standing in for scroll bar id 1 sees the window point unchanged.
  auto* fake_bar = new Probe(inner, 1, MRect(180, 0, 190, 100), &t.log);
  inner->AddControl(fake_bar);
  t.root->OnLButtonDown(MK_LBUTTON, MPoint(185, 30));
  EXPECT_EQ(t.log.back(), "c1:down@185,30");
  t.root->OnMouseMove(MK_LBUTTON, MPoint(186, 31));
  EXPECT_EQ(t.log.back(), "c1:move@186,31");
}

TEST(ControlRouting, WheelScrollsAPanelWithTallContent) {
  Tree t;
  auto* inner = new MPanel(t.root.get(), 50, MRect(0, 0, 200, 100));
  t.root->AddControl(inner);
  inner->SetVirtualHeight(300);
  CScrollVertical* bar = inner->GetScrollVertical();
  t.parent.updates.clear();
  EXPECT_EQ(t.root->OnScroll(1, 1, MPoint(50, 50)), 1);
  EXPECT_EQ(bar->GetScrollCurrentPos(), 10);
  EXPECT_FALSE(t.parent.updates.empty());
  EXPECT_EQ(t.root->OnScroll(1, 0, MPoint(50, 50)), 1);
  EXPECT_EQ(bar->GetScrollCurrentPos(), 0);
  t.parent.updates.clear();
  // At the top already: consumed, nothing moves, no redraw.
  EXPECT_EQ(t.root->OnScroll(1, 0, MPoint(50, 50)), 1);
  EXPECT_EQ(bar->GetScrollCurrentPos(), 0);
  EXPECT_TRUE(t.parent.updates.empty());
  // Content that fits: the panel does not take the wheel.
  inner->SetVirtualHeight(0);
  EXPECT_EQ(t.root->OnScroll(1, 1, MPoint(50, 50)), 0);
}

TEST(ControlRouting, FocusChainTakesKeysBeforeAnyoneElse) {
  Tree t;
  Probe* a = t.Add(5, MRect(10, 10, 60, 40));
  Probe* b = t.Add(6, MRect(100, 10, 160, 40));
  b->SetHotKey('S', kModCtrl);
  t.root->OnLButtonDown(MK_LBUTTON, MPoint(20, 20));  // a takes the focus
  t.root->OnLButtonUp(0, MPoint(20, 20));
  ASSERT_TRUE(a->IsFocused());
  t.log.clear();
  EXPECT_EQ(t.root->OnKeyDown('S', 1, kModCtrl), 0);  // a does not know the key
  EXPECT_EQ(t.log, std::vector<std::string>{"c5:key83"});
  EXPECT_TRUE(b->keys.empty());
  // Without a focused child the hot key reaches b.
  t.host.SetFocusControl(nullptr);
  t.log.clear();
  EXPECT_EQ(t.root->OnKeyDown('S', 1, kModCtrl), 1);
  EXPECT_EQ(t.log.back(), "c6:key83!");
}

TEST(ControlRouting, HotKeysMatchModifiersExactly) {
  EXPECT_EQ(KeyModifiers(true, false, false), 0x11);
  EXPECT_EQ(KeyModifiers(false, true, false), 0x10);
  EXPECT_EQ(KeyModifiers(false, false, true), 0x12);
  EXPECT_EQ(KeyModifiers(false, false, false), 0);
  EXPECT_EQ(KeyModifiers(true, true, false), 0x11);
  EXPECT_EQ(KeyModifiers(true, false, true), 0x13);

  RecordingParent parent;
  Probe c(&parent, 7, MRect(0, 0, 10, 10));
  EXPECT_EQ(c.OnControlKeyDown('S', 1, 0), 0);  // no hot key
  c.SetHotKey('S', kModCtrl);
  EXPECT_EQ(c.OnControlKeyDown('S', 1, 0x11), 1);
  EXPECT_EQ(c.OnControlKeyDown('S', 1, 0), 0);
  EXPECT_EQ(c.OnControlKeyDown('S', 1, KeyModifiers(true, false, true)), 0);
  EXPECT_EQ(c.OnControlKeyDown('T', 1, 0x11), 0);
  c.SetHotKey(VK_F4, kModAlt);
  EXPECT_EQ(c.OnKeyDown(VK_F4, 1, 0x12), 1);
  c.SetControlVisible(0);
  EXPECT_EQ(c.OnKeyDown(VK_F4, 1, 0x12), 0);  // invisible controls take no keys
}

TEST(ControlRouting, NotifyKeysReportsCode14ConsumedOrNot) {
  Tree t;
  Probe* c = t.Add(5, MRect(10, 10, 60, 40));
  c->SetNotifyKeys(1);
  c->SetHotKey('A', 0);
  EXPECT_EQ(c->OnKeyDown('B', 1, kModShift), 0);
  EXPECT_EQ(c->OnKeyDown('A', 1, 0), 1);
  ASSERT_EQ(t.parent.notes.size(), 2u);
  EXPECT_EQ(t.parent.notes[0].code, 14u);
  EXPECT_EQ(t.parent.notes[0].id, 5u);
  EXPECT_EQ(t.parent.notes[0].wparam, static_cast<WPARAM>('B'));
  EXPECT_EQ(t.parent.notes[0].lparam, kModShift);
  EXPECT_EQ(t.parent.notes[1].wparam, static_cast<WPARAM>('A'));
}

TEST(ControlRouting, SyntheticEventStreamThroughATree) {
  // root panel -> inner panel -> two buttons; an area in the inner panel; a third button
  // directly under the root. Notifications arrive at the parent with the acting id.
  Tree t;
  auto* inner = new MPanel(t.root.get(), 50, MRect(100, 100, 300, 200));
  t.root->AddControl(inner);
  auto* area = inner->CreateArea(L"CArea", 60, MRect(100, 100, 300, 200));
  ASSERT_NE(area, nullptr);
  Probe* b1 = t.Add(11, MRect(110, 110, 150, 140), inner);
  Probe* b2 = t.Add(12, MRect(160, 110, 200, 140), inner);
  Probe* b3 = t.Add(13, MRect(10, 10, 50, 40));
  b1->SetTooltip(L"first");

  struct Event {
    char kind;
    MPoint p;
  } stream[] = {{'m', {120, 120}}, {'d', {120, 120}}, {'m', {170, 120}}, {'u', {170, 120}},
                {'m', {170, 120}}, {'d', {170, 120}}, {'u', {170, 120}}, {'m', {20, 20}},
                {'d', {20, 20}},   {'u', {20, 20}},   {'r', {120, 120}}};
  for (const Event& e : stream) {
    switch (e.kind) {
      case 'm': t.root->OnMouseMove(0, e.p); break;
      case 'd': t.root->OnLButtonDown(MK_LBUTTON, e.p); break;
      case 'u': t.root->OnLButtonUp(0, e.p); break;
      case 'r': t.root->OnRButtonDown(MK_RBUTTON, e.p); break;
    }
  }
  // The press on b1 holds the active child while the pointer moves over b2 (pressed
  // inside), so b1 also gets the release; then b2 is pressed and released; then b3.
  std::vector<std::pair<unsigned, unsigned>> got;
  for (const auto& n : t.parent.notes) got.emplace_back(n.id, n.code);
  std::vector<std::pair<unsigned, unsigned>> want = {{11, 1}, {11, 2}, {12, 1}, {12, 2},
                                                     {13, 1}, {13, 2}};
  EXPECT_EQ(got, want);
  EXPECT_EQ(t.log.back(), "c11:rdown@120,120");
  EXPECT_EQ(b1->downs, 1);
  EXPECT_EQ(b2->downs, 1);
  EXPECT_EQ(b3->downs, 1);
  // The first move over b1 put its tooltip up with b1 as its owner.
  EXPECT_EQ(t.host.tooltip, L"first");
  EXPECT_EQ(t.host.tooltip_owner, 11u);
  // Depth-first search by id, control lists before area lists.
  EXPECT_EQ(t.root->GetControl(12), b2);
  EXPECT_EQ(t.root->GetControl(60), area);
  EXPECT_EQ(t.root->GetControl(999), nullptr);
  // Everyone in the tree got the recording host.
  EXPECT_EQ(b2->GetManager(), &t.host);
  EXPECT_EQ(area->GetManager(), &t.host);
}

TEST(ControlRouting, MoveKeepsTheActiveChildWhilePressedInside) {
  Tree t;
  Probe* a = t.Add(5, MRect(10, 10, 60, 40));
  t.root->OnMouseMove(0, MPoint(20, 20));
  EXPECT_EQ(t.root->GetActiveChild(), a);
  t.root->OnMouseMove(0, MPoint(200, 200));  // left a, nothing pressed
  EXPECT_EQ(t.root->GetActiveChild(), nullptr);
  t.root->OnLButtonDown(MK_LBUTTON, MPoint(20, 20));
  t.log.clear();
  t.root->OnMouseMove(MK_LBUTTON, MPoint(200, 200));  // dragged outside: still a
  EXPECT_EQ(t.log, std::vector<std::string>{"c5:move@200,200"});
  t.root->OnLButtonUp(0, MPoint(200, 200));
  EXPECT_FALSE(t.root->IsPressedInside());
}

TEST(ControlRouting, HoverTrackingAndCursor) {
  Tree t;
  Probe* a = t.Add(5, MRect(10, 10, 60, 40));
  a->SetHoverTracking(1);
  a->SetCursorEx(kCursorHand);
  EXPECT_EQ(a->IsPointerOutside(), 1);
  t.root->OnMouseMove(0, MPoint(20, 20));
  EXPECT_EQ(a->IsPointerOutside(), 0);
  ASSERT_FALSE(t.host.cursors.empty());
  EXPECT_EQ(t.host.cursors.back(), CursorKind::kHand);
  t.root->OnMouseMove(0, MPoint(200, 200));
  EXPECT_EQ(a->IsPointerOutside(), 1);
  a->SetCursorEx(L"nonsense");
  EXPECT_EQ(a->GetCursorKind(), CursorKind::kHand);
}

TEST(ControlRouting, TimerTicksReachVisibleRunningChildren) {
  Tree t;
  Probe* a = t.Add(5, MRect(10, 10, 60, 40));
  Probe* b = t.Add(6, MRect(10, 10, 60, 40));
  Probe* c = t.Add(7, MRect(10, 10, 60, 40));
  a->SetRunTimer(1);
  b->SetRunTimer(0);
  c->SetRunTimer(1);
  c->SetControlVisible(0);
  EXPECT_EQ(t.root->OnTimer(), 1);
  EXPECT_EQ(a->ticks, 1);
  EXPECT_EQ(b->ticks, 0);
  EXPECT_EQ(c->ticks, 0);
  a->AddMTimer();
  ASSERT_EQ(t.host.fast_timer.size(), 1u);
  EXPECT_EQ(t.host.fast_timer[0], a);
}

TEST(ControlRouting, IsParentVisibleWalksUpTheParents) {
  class FakeDialog : public MObject {
   public:
    const wchar_t* GetClassNameW() const override { return L"MDialog"; }
  } dialog;
  MPanel top(&dialog, 1, MRect(0, 0, 100, 100));
  auto* mid = new MPanel(&top, 2, MRect(0, 0, 100, 100));
  top.AddControl(mid);
  auto* leaf = new Probe(mid, 3, MRect(0, 0, 10, 10));
  mid->AddControl(leaf);
  EXPECT_EQ(leaf->IsParentVisible(), 1);
  mid->SetControlVisible(0);
  EXPECT_EQ(leaf->IsParentVisible(), 0);
  mid->SetControlVisible(1);
  top.SetParent(nullptr);
  EXPECT_EQ(leaf->IsParentVisible(), 0);  // the chain ends without a dialog
}

TEST(ControlRouting, PanelPassesEnabledStateToChildren) {
  Tree t;
  Probe* a = t.Add(5, MRect(10, 10, 60, 40));
  Probe* b = t.Add(6, MRect(100, 10, 160, 40));
  b->SetControlEnabled(0);
  t.parent.updates.clear();
  t.root->SetEnabled(0);
  EXPECT_FALSE(a->IsEnabled());
  EXPECT_FALSE(b->IsEnabled());
  EXPECT_FALSE(t.parent.updates.empty());
  t.root->SetEnabled(1);
  EXPECT_TRUE(a->IsEnabled());
  EXPECT_TRUE(b->IsEnabled());
}

TEST(ControlRouting, WindowMessagesStopAtTheFirstTaker) {
  struct Taker : Probe {
    using Probe::Probe;
    LRESULT OnWindowMessage(UINT m, WPARAM, LPARAM) override {
      ++seen;
      return m == WM_COMMAND ? answer : 0;
    }
    int seen = 0;
    LRESULT answer = 0;
  };
  Tree t;
  auto* x = new Taker(t.root.get(), 5, MRect());
  auto* y = new Taker(t.root.get(), 6, MRect());
  auto* z = new Taker(t.root.get(), 7, MRect());
  t.root->AddControl(x);
  t.root->AddControl(y);
  t.root->AddControl(z);
  y->answer = 7;
  EXPECT_EQ(t.root->OnWindowMessage(WM_COMMAND, 0, 0), 7);
  EXPECT_EQ(x->seen, 1);
  EXPECT_EQ(y->seen, 1);
  EXPECT_EQ(z->seen, 0);
}

TEST(ControlRouting, ChildRemovedDuringItsOwnNotificationDoesNotCrash) {
  Tree t;
  Probe* doomed = t.Add(5, MRect(10, 10, 60, 40));
  t.Add(6, MRect(100, 10, 160, 40));
  t.parent.on_message = [&](unsigned id, unsigned code) {
    if (id == 5 && code == 2) {
      EXPECT_TRUE(t.root->RemoveControl(t.root->GetControl(5)));
    }
  };
  t.root->OnLButtonDown(MK_LBUTTON, MPoint(20, 20));
  EXPECT_EQ(t.host.focus, doomed);
  t.root->OnLButtonUp(0, MPoint(20, 20));  // removed inside its own click notification
  EXPECT_EQ(t.root->GetControl(5), nullptr);
  EXPECT_EQ(t.root->GetActiveChild(), nullptr);
  EXPECT_EQ(t.host.focus, nullptr);  // the focus was taken away first
  EXPECT_EQ(ControlDispatchScope::PendingCount(), 0u);  // destroyed once routing unwound
  // Further events find no dangling pointer.
  t.root->OnMouseMove(0, MPoint(20, 20));
  t.root->OnLButtonDown(MK_LBUTTON, MPoint(20, 20));
  t.root->OnLButtonUp(0, MPoint(20, 20));
  EXPECT_EQ(t.root->GetControls().size(), 3u);  // two scroll bars and control 6
}

TEST(ControlRouting, WholeSubtreeRemovedFromInsideANotification) {
  Tree t;
  auto* inner = new MPanel(t.root.get(), 50, MRect(0, 0, 200, 100));
  t.root->AddControl(inner);
  t.Add(11, MRect(10, 10, 60, 40), inner);
  t.Add(12, MRect(70, 10, 120, 40), inner);
  t.parent.on_message = [&](unsigned id, unsigned code) {
    if (id == 11 && code == 1) t.root->RemoveAllControl();
  };
  t.root->OnLButtonDown(MK_LBUTTON, MPoint(20, 20));
  EXPECT_TRUE(t.root->GetControls().empty());
  EXPECT_EQ(t.root->GetControl(11), nullptr);
  t.root->OnLButtonUp(0, MPoint(20, 20));
  t.root->OnKeyDown('A', 1, 0);
  t.root->OnTimer();
  EXPECT_EQ(ControlDispatchScope::PendingCount(), 0u);
  // The host was told about every control that left, scroll bars included.
  EXPECT_GE(t.host.destroyed.size(), 5u);
}

TEST(ControlRouting, RemoveControlRefusesStrangers) {
  Tree t;
  Probe* a = t.Add(5, MRect(10, 10, 60, 40));
  MPanel other(nullptr, 9, MRect());
  EXPECT_FALSE(other.RemoveControl(a));
  EXPECT_FALSE(t.root->RemoveControl(nullptr));
  EXPECT_TRUE(t.root->RemoveControl(a));
  EXPECT_EQ(t.root->GetControl(5), nullptr);
}

TEST(ControlRouting, TimerThreadWalksWhileTheUiThreadRebuildsTheList) {
  // Fast-timer ticks run on their own thread and walk the lists while the window's thread
  // adds and removes children; removed children live until no walk can still reach them.
  Tree t;
  std::atomic<bool> stop{false};
  std::atomic<int> ticks{0};
  std::thread timer([&] {
    while (!stop.load()) {
      t.root->OnTimer();
      ticks.fetch_add(1);
    }
  });
  for (int round = 0; round < 300; ++round) {
    Probe* p = t.Add(10 + round % 5, MRect(0, 0, 10, 10));
    p->SetRunTimer(1);
    if (round % 3 == 0) t.root->RemoveAllControl();
    else t.root->RemoveControl(p);
  }
  while (ticks.load() < 50) std::this_thread::yield();
  stop = true;
  timer.join();
  ControlDispatchScope::FlushDeferred();
  EXPECT_EQ(ControlDispatchScope::PendingCount(), 0u);
  EXPECT_TRUE(t.root->GetControls().size() <= 2u);
}

TEST(ControlRouting, DeletingAListedControlUnlinksIt) {
  Tree t;
  Probe* a = t.Add(5, MRect(10, 10, 60, 40));
  t.root->OnMouseMove(0, MPoint(20, 20));
  ASSERT_EQ(t.root->GetActiveChild(), a);
  delete a;
  EXPECT_EQ(t.root->GetActiveChild(), nullptr);
  EXPECT_EQ(t.root->GetControl(5), nullptr);
  t.root->OnLButtonDown(MK_LBUTTON, MPoint(20, 20));
}
