// Creation by class name, class names and placement of parts.
#include <gtest/gtest.h>

#include <memory>

#include "control_test_support.h"
#include "tessel/core/carea.h"
#include "tessel/core/control_factory.h"
#include "tessel/core/mcontrol_font.h"
#include "tessel/core/mpanel.h"

using namespace control_test;

namespace {

// Stands in for a control class of a later library part.
class FakePicker : public MControlFont {
 public:
  FakePicker(MObject* parent, unsigned id, const MRect& rect, const std::wstring& title,
             int visible, int enabled)
      : MControlFont(parent, id, rect, title, visible, enabled, 1) {}
  void DrawControl(cairo_t*, const MRect&) override {}
  void InitControl(ControlHost* manager) override {
    ++init_calls;
    MControlFont::InitControl(manager);
  }
  int init_calls = 0;
};

MControl* CreateFakePicker(MObject* parent, unsigned id, const MRect& rect,
                           const std::wstring& text, int visible, int enabled) {
  return new FakePicker(parent, id, rect, text, visible, enabled);
}

class FakeRadio : public Probe {
 public:
  using Probe::Probe;
  const wchar_t* GetClassNameW() const override { return L"RadioButton"; }
};

}  // namespace

TEST(ControlFactory, RefusesEmptyAndUnknownNames) {
  RecordingParent parent;
  RecordingHost host;
  MPanel panel(&parent, 1, MRect(0, 0, 100, 100));
  panel.SetManager(&host);
  const size_t before = panel.GetControls().size();
  EXPECT_EQ(panel.CreateControl(L"", 5, MRect()), nullptr);
  EXPECT_EQ(panel.CreateControl(L"NoSuchControl", 5, MRect()), nullptr);
  EXPECT_EQ(panel.CreateControl(L"carea", 5, MRect()), nullptr);  // names are case-sensitive
  EXPECT_EQ(panel.CreateControl(L"MPanel", 5, MRect()), nullptr);  // not in the class table
  EXPECT_EQ(panel.CreateArea(L"", 5, MRect()), nullptr);
  EXPECT_EQ(panel.GetControls().size(), before);
  EXPECT_TRUE(panel.GetAreas().empty());
  EXPECT_EQ(ControlFactory::Create(ControlFactory::kTopLevel, L"", &parent, 1, MRect(), L"", 1, 1),
            nullptr);
  EXPECT_FALSE(ControlFactory::Register(L"NoSuchControl", &CreateFakePicker));
  EXPECT_FALSE(ControlFactory::Register(L"CArea", &CreateFakePicker));
}

TEST(ControlFactory, TableNamesNotYetRegisteredCreateNothing) {
  RecordingParent parent;
  MPanel panel(&parent, 1, MRect(0, 0, 100, 100));
  int checked = 0;
  for (const std::wstring& name : ControlFactory::TableNames()) {
    if (ControlFactory::IsRegistered(name)) continue;
    ++checked;
    EXPECT_EQ(panel.CreateControl(name, 5, MRect()), nullptr);
    EXPECT_EQ(ControlFactory::Create(ControlFactory::kTopLevel, name, &parent, 5, MRect(), L"", 1, 1),
              nullptr);
  }
  EXPECT_EQ(ControlFactory::TableNames().size(), 42u);
  SUCCEED() << checked << " classes not registered yet";
}

TEST(ControlFactory, CAreaWorksInEitherList) {
  RecordingParent parent;
  RecordingHost host;
  MPanel panel(&parent, 1, MRect(0, 0, 100, 100));
  panel.SetManager(&host);
  MControl* a = panel.CreateArea(L"CArea", 10, MRect(0, 0, 50, 50), L"ignored", 1, 1);
  ASSERT_NE(a, nullptr);
  MControl* c = panel.CreateControl(L"CArea", 11, MRect(0, 0, 50, 50), L"", 0, 1);
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(panel.GetAreas(), std::vector<MControl*>{a});
  EXPECT_EQ(panel.GetControls().back(), c);
  EXPECT_EQ(a->GetManager(), &host);
  EXPECT_EQ(a->GetParantObject(), &panel);
  EXPECT_FALSE(c->IsVisible());
  EXPECT_STREQ(a->GetClassNameW(), L"FSControl");
  auto* area = dynamic_cast<CArea*>(a);
  ASSERT_NE(area, nullptr);
  EXPECT_EQ(area->GetOrientation(), 1);
  EXPECT_EQ(area->GetStartAlpha(), 80);
  EXPECT_EQ(area->GetEndAlpha(), 80);
  EXPECT_EQ(area->GetFillColor(), 0xFFFFFFu);
  EXPECT_EQ(area->GetFrame(), 0);
  EXPECT_EQ(area->GetFrameColor(), 0xFF050505u);
  // Top level knows "CArea" too.
  std::unique_ptr<MControl> top(
      ControlFactory::Create(ControlFactory::kTopLevel, L"CArea", &parent, 3, MRect(), L"", 1, 1));
  EXPECT_NE(top, nullptr);
}

TEST(ControlFactory, PanelOnlyClassesAreRefusedAtTopLevel) {
  const bool was_registered = ControlFactory::IsRegistered(L"KeyFuncControl");
  if (!was_registered) {
    ASSERT_TRUE(ControlFactory::Register(L"KeyFuncControl", &CreateFakePicker));
  }
  RecordingParent parent;
  RecordingHost host;

  EXPECT_EQ(ControlFactory::AllowedScopes(L"KeyFuncControl"), unsigned{ControlFactory::kPanel});
  EXPECT_EQ(ControlFactory::Create(ControlFactory::kTopLevel, L"KeyFuncControl", &parent, 5,
                                   MRect(), L"", 1, 1),
            nullptr);

  MPanel layout(&parent, 1, MRect(0, 0, 300, 200));
  layout.SetManager(&host);
  MControl* picker = layout.CreateControl(L"KeyFuncControl", 5, MRect(10, 10, 100, 100), L"t");
  ASSERT_NE(picker, nullptr);
  EXPECT_EQ(picker->GetManager(), &host);
  EXPECT_EQ(layout.GetControl(5), picker);
  EXPECT_EQ(layout.GetControls().back(), picker);
  if (auto* fake = dynamic_cast<FakePicker*>(picker)) {
    EXPECT_GE(fake->init_calls, 1);
    EXPECT_EQ(fake->GetTitle(), L"t");
  }
  // The eight-argument form with another kind creates an unlisted, unowned control.
  MControl* loose = layout.CreateControl(7, &parent, L"KeyFuncControl", 6, MRect(), L"", 1, 1);
  ASSERT_NE(loose, nullptr);
  EXPECT_EQ(layout.GetControl(6), nullptr);
  EXPECT_EQ(loose->GetParantObject(), &parent);
  delete loose;

  // Top-level-only names are refused inside a panel.
  EXPECT_EQ(ControlFactory::AllowedScopes(L"BatteryCtrl"), unsigned{ControlFactory::kTopLevel});
  EXPECT_EQ(layout.CreateControl(L"BatteryCtrl", 8, MRect()), nullptr);
  EXPECT_EQ(ControlFactory::AllowedScopes(L"MButton"),
            unsigned{ControlFactory::kTopLevel | ControlFactory::kPanel});

  if (!was_registered) {
    EXPECT_TRUE(ControlFactory::Unregister(L"KeyFuncControl"));
  }
}

TEST(ControlFactory, ClassNames) {
  RecordingParent parent;
  MObject plain;
  EXPECT_EQ(plain.GetClassNameW(), nullptr);
  EXPECT_EQ(plain.IsClass(L"FSControl"), 0);
  EXPECT_EQ(plain.GetObjectClass(), nullptr);
  EXPECT_EQ(plain.BaseObjectClassName(), nullptr);
  EXPECT_EQ(plain.OnBaseMessage(1, 2, 3, 4), 0);
  EXPECT_EQ(plain.OnControlUpdate(MRect(), 1, nullptr), 0);

  Probe button(&parent, 1, MRect());
  EXPECT_STREQ(button.GetClassNameW(), L"FSControl");
  EXPECT_EQ(button.IsClass(L"FSControl"), 1);
  EXPECT_EQ(button.IsClass(L"fscontrol"), 0);
  EXPECT_EQ(button.IsClass(L"FSControl2"), 0);
  EXPECT_EQ(button.IsClass(L"FSContro"), 0);
  EXPECT_EQ(button.IsClass(nullptr), 0);
  FakeRadio r1(&parent, 2, MRect()), r2(&parent, 3, MRect());
  EXPECT_STREQ(r1.GetClassNameW(), L"RadioButton");
  EXPECT_EQ(r2.IsClass(L"RadioButton"), 1);
  MPanel panel(&parent, 4, MRect());
  EXPECT_STREQ(panel.GetClassNameW(), L"FSControl");
}

TEST(ControlFactory, MControlDefaults) {
  RecordingParent parent;
  Probe c(&parent, 9, MRect(10, 20, 30, 40));
  EXPECT_EQ(c.GetControlID(), 9u);
  EXPECT_EQ(c.GetParantObject(), &parent);
  EXPECT_EQ(c.GetManager(), nullptr);
  EXPECT_EQ(c.GetDblClk(), 0);
  EXPECT_EQ(c.IsTabStop(), 0);
  EXPECT_EQ(c.IsDragDrop(), 0);
  EXPECT_EQ(c.GetRresponse(), 1);
  EXPECT_EQ(c.IsPointerOutside(), 1);
  EXPECT_EQ(c.GetUpdate(), 0);
  EXPECT_EQ(c.PtInRect(MPoint(10, 20)), 1);
  EXPECT_EQ(c.PtInRect(MPoint(30, 40)), 0);
  c.SetControlVisible(0);
  EXPECT_EQ(c.PtInRect(MPoint(10, 20)), 0);
  EXPECT_EQ(c.OnCheckMouseResponse(0, MPoint()), 1);
  EXPECT_EQ(c.IsDraw(MPoint()), 0);
  EXPECT_EQ(c.GetDropBitmap(), nullptr);
  EXPECT_EQ(c.OnControlSetCursor(0, MPoint(15, 25)), 0);  // no cursor set
  // Operations that need a window do nothing without one.
  c.SetTooltip(L"tip", MRect());
  c.ClearTooltip();
  c.AddMTimer();
  c.InvalidateRect(MRect(), 1);
  EXPECT_EQ(c.IsFocusControl(), 0);
  EXPECT_EQ(c.SendMessageW(2, 0, 0), 0);

  MPanel panel(&parent, 4, MRect());
  EXPECT_EQ(panel.GetEnableScroll(), 1);
  EXPECT_EQ(panel.GetVirtualHeight(), 0);
  EXPECT_EQ(panel.GetScrollVertical()->GetScrollMaxRange(), 1000);
  EXPECT_EQ(panel.GetScrollVertical()->GetScrollStep(), 10);
  EXPECT_EQ(panel.IsInitialised(), 0);
  RecordingHost host;
  panel.SetManager(&host);
  EXPECT_EQ(panel.IsInitialised(), 1);
  EXPECT_EQ(panel.GetScrollVertical()->GetManager(), &host);
  EXPECT_EQ(panel.GetScrollHorizontal()->GetManager(), &host);
}

TEST(ControlFactory, MControlFontDefaults) {
  RecordingParent parent;
  FakePicker f(&parent, 1, MRect(0, 0, 10, 10), L"title", 1, 1);
  EXPECT_EQ(f.GetTitle(), L"title");
  EXPECT_EQ(f.GetControlTitle(), L"title");
  EXPECT_EQ(f.GetTextColor(), 0xFFFFFFFFu);
  EXPECT_EQ(f.GetAlignment(), 0);
  EXPECT_EQ(f.GetVAlignment(), 4);
  EXPECT_EQ(f.GetFontStyle(), 0);
  EXPECT_EQ(f.GetTextRenderingHint(), 5);
  EXPECT_EQ(f.GetImageCount(), 4);
  EXPECT_EQ(f.GetFontWidth(), 14);
  EXPECT_EQ(f.GetTextFont(), L"SourceHanSansCN-Regular");
  f.SetTitle(L"new");
  ASSERT_EQ(parent.updates.size(), 1u);
  EXPECT_EQ(parent.updates[0].redraw, 1);
  EXPECT_EQ(f.SetImage(L"missing.png", 3), 0);  // no window: nothing loads
  EXPECT_EQ(f.GetImagePath(), L"missing.png");
  EXPECT_EQ(f.GetImageCount(), 3);
  EXPECT_EQ(f.GetImage(), nullptr);
  f.SetFont(L"Open Sans Semibold", 12, 1);
  EXPECT_EQ(f.GetGDIFont().face, L"Open Sans Semibold");
  EXPECT_EQ(f.GetGDIFont().size, 12);
  EXPECT_EQ(f.GetGDIFont().style, 1);
}

TEST(ControlFactory, PositionItem) {
  EXPECT_EQ(PositionItem2Value({0, 0, 5.0f}, 10, 110), 15);
  EXPECT_EQ(PositionItem2Value({0, 1, 5.0f}, 10, 110), 105);
  EXPECT_EQ(PositionItem2Value({1, 0, 5.0f}, 10, 110), 65);
  EXPECT_EQ(PositionItem2Value({1, 1, 5.0f}, 10, 110), 55);
  EXPECT_EQ(PositionItem2Value({2, 0, 25.0f}, 10, 110), 35);
  EXPECT_EQ(PositionItem2Value({2, 0, 150.0f}, 10, 110), 110);  // not past b
  EXPECT_EQ(PositionItem2Value({3, 0, 5.0f}, 10, 110), 0);
  EXPECT_EQ(PositionItem2Value({-1, 0, 5.0f}, 10, 110), 0);
}
