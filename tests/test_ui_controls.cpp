// The component framework on the headless backend: ownership, the visual tree, and the rule that
// code never runs event handlers while user actions do, and only on reachable controls.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "tests/support/headless_test.h"
#include "ui/chart.h"
#include "ui/headless.h"
#include "ui/menu.h"
#include "ui/ui.h"

namespace {

// Records what the framework tells the backend.
class RecordingBackend : public ui::HeadlessBackend {
 public:
  void Changed(ui::Component& c, ui::Property what) override { changes.emplace_back(&c, what); }
  void Destroying(ui::Component& c) override { destroyed.push_back(c.Name()); }

  int ChangesOf(const ui::Component* c, ui::Property what) const {
    int n = 0;
    for (const auto& [who, p] : changes) n += (who == c && p == what) ? 1 : 0;
    return n;
  }

  std::vector<std::pair<const ui::Component*, ui::Property>> changes;
  std::vector<std::string> destroyed;
};

using UiControls = testing_support::HeadlessTest<RecordingBackend>;

TEST_F(UiControls, OwnerFindsAndDestroysWhatItOwns) {
  auto form = std::make_unique<ui::Form>(nullptr, "Form1");
  auto* group = new ui::GroupBox(form.get(), "GroupBox1", form.get());
  new ui::CheckBox(form.get(), "EpsiCheckBox1", group);
  auto* label = new ui::Label(form.get(), "Label1", group);

  EXPECT_EQ(form->FindComponent("EpsiCheckBox1"), group->Children()[0]);
  EXPECT_EQ(form->FindComponent("epsicheckbox1"), nullptr);  // exact name only
  EXPECT_EQ(form->FindComponent("EpsiCheckBox"), nullptr);
  EXPECT_EQ(ui::FindAs<ui::Edit>(*form, "EpsiCheckBox1"), nullptr);  // another kind
  EXPECT_NE(ui::FindAs<ui::CheckBox>(*form, "EpsiCheckBox1"), nullptr);

  delete label;  // leaves its owner and its parent
  EXPECT_EQ(form->FindComponent("Label1"), nullptr);
  EXPECT_EQ(form->ComponentCount(), 2);
  EXPECT_EQ(group->Children().size(), 1u);

  Backend().destroyed.clear();
  form.reset();
  // The owner first tells the backend about itself, then its components go, last made first.
  EXPECT_EQ(Backend().destroyed, (std::vector<std::string>{"Form1", "EpsiCheckBox1", "GroupBox1"}));
}

TEST_F(UiControls, ParentGoingFirstLeavesNoDanglingPointers) {
  // Parents, menus and charts deleted before what they hold; the sanitizers catch any use of
  // what is gone.
  ui::Component elsewhere(nullptr, "Elsewhere");
  auto form = std::make_unique<ui::Form>(nullptr, "Form1");
  auto* group = new ui::GroupBox(form.get(), "GroupBox1", form.get());
  auto* child = new ui::Button(form.get(), "Button1", group);
  auto* menu = new ui::MainMenu(form.get(), "MainMenu1");
  form->SetMenu(menu);
  auto* file = new ui::MenuItem(form.get(), "File1", menu, nullptr);
  auto* exit = new ui::MenuItem(form.get(), "Exitprogram1", menu, file);
  auto* chart = new ui::Chart(form.get(), "Chart1", form.get());
  auto* series = new ui::ChartSeries(form.get(), "Series1", chart, ui::ChartSeries::Kind::Line);
  auto* foreign = new ui::Label(&elsewhere, "Label1", form.get());  // another owner

  delete group;
  EXPECT_EQ(child->Parent(), nullptr);
  EXPECT_FALSE(child->Showing());  // lies on no form any more
  delete menu;
  EXPECT_EQ(form->Menu(), nullptr);
  file->SetCaption("File");  // no menu to tell any more
  delete file;
  EXPECT_EQ(exit->ParentItem(), nullptr);
  exit->Click();
  delete chart;
  series->AddXY(1, 1, "", ui::clRed);

  form.reset();
  EXPECT_EQ(foreign->Parent(), nullptr);
  EXPECT_EQ(elsewhere.FindComponent("Label1"), foreign);
}

// One control with a handler that counts, and ways to act on it from code and as the user.
struct Subject {
  std::function<void()> fromCode;
  std::function<void()> byUser;
  std::function<std::string()> state;
  bool userChangesState = true;
};
using Builder = std::function<Subject(ui::Form& form, ui::Control* parent, int* fired)>;

// A control on the parent whose changes count.
template <class C>
C* Counting(ui::Form& f, ui::Control* p, int* fired) {
  auto* c = new C(&f, "C", p);
  c->OnChange = [fired](ui::Component*) { ++*fired; };
  return c;
}
// A control whose text is set from code and typed by the user.
template <class C>
Subject TypedText(ui::Form& f, ui::Control* p, int* fired) {
  auto* c = Counting<C>(f, p, fired);
  return Subject{[c] { c->SetText("code"); }, [c] { c->UserType("user"); }, [c] { return c->Text(); }};
}

const std::vector<std::pair<const char*, Builder>>& Subjects() {
  static const std::vector<std::pair<const char*, Builder>> subjects = {
      {"button",
       [](ui::Form& f, ui::Control* p, int* fired) {
         auto* b = new ui::Button(&f, "B", p);
         b->SetModalResult(ui::mrOk);
         b->OnClick = [fired](ui::Component*) { ++*fired; };
         return Subject{[b] { b->SetCaption("x"); }, [b] { b->Click(); },
                        [b, &f] { return b->Caption() + std::to_string(f.ModalResult()); }};
       }},
      {"edit", TypedText<ui::Edit>},
      {"mask edit",
       [](ui::Form& f, ui::Control* p, int* fired) {
         auto* e = Counting<ui::MaskEdit>(f, p, fired);
         e->SetEditMask("0000;0;#");
         return Subject{[e] { e->SetText("12"); }, [e] { e->UserType("4321"); }, [e] { return e->Text(); }};
       }},
      {"combo box",
       [](ui::Form& f, ui::Control* p, int* fired) {
         auto* c = Counting<ui::ComboBox>(f, p, fired);
         c->Items().Assign(std::vector<std::string>{"1", "2", "3"});
         c->OnDropDown = [fired](ui::Component*) { ++*fired; };
         return Subject{[c] { c->SetItemIndex(1); }, [c] { c->UserPick(2); },
                        [c] { return c->Text() + "/" + std::to_string(c->ItemIndex()); }};
       }},
      {"combo box typing", TypedText<ui::ComboBox>},
      {"combo box drop-down",
       [](ui::Form& f, ui::Control* p, int* fired) {
         auto* c = new ui::ComboBox(&f, "C", p);
         c->OnDropDown = [fired](ui::Component*) { ++*fired; };
         return Subject{[c] { c->Items().Add("a"); }, [c] { c->UserDropDown(); },
                        [c] { return std::to_string(c->Items().Count()); }, false};
       }},
      {"check box",
       [](ui::Form& f, ui::Control* p, int* fired) {
         auto* c = new ui::CheckBox(&f, "K", p);
         c->OnClick = [fired](ui::Component*) { ++*fired; };
         return Subject{[c] { c->SetChecked(true); }, [c] { c->UserToggle(); },
                        [c] { return std::to_string(c->Checked()); }};
       }},
      {"radio button",
       [](ui::Form& f, ui::Control* p, int* fired) {
         auto* r = new ui::RadioButton(&f, "R", p);
         auto* other = new ui::RadioButton(&f, "R2", p);
         r->OnClick = [fired](ui::Component*) { ++*fired; };
         other->OnClick = [fired](ui::Component*) { ++*fired; };
         return Subject{[r] { r->SetChecked(true); }, [other] { other->UserClick(); },
                        [r, other] { return std::to_string(r->Checked() + 2 * other->Checked()); }};
       }},
      {"radio group",
       [](ui::Form& f, ui::Control* p, int* fired) {
         auto* g = new ui::RadioGroup(&f, "G", p);
         g->Items().Assign(std::vector<std::string>{"a", "b"});
         g->OnClick = [fired](ui::Component*) { ++*fired; };
         return Subject{[g] { g->SetItemIndex(0); }, [g] { g->UserPick(1); },
                        [g] { return std::to_string(g->ItemIndex()); }};
       }},
      {"form close",
       [](ui::Form& f, ui::Control*, int* fired) {
         f.OnClose = [fired](ui::Component*, ui::CloseAction&) { ++*fired; };
         return Subject{[&f] { f.SetCaption("code"); }, [&f] { f.UserClose(); },
                        [&f] { return f.Caption() + std::to_string(f.Visible()); }};
       }},
  };
  return subjects;
}

TEST_F(UiControls, CodeNeverRunsHandlersUserActionsDo) {
  for (const auto& [name, build] : Subjects()) {
    SCOPED_TRACE(name);
    ui::Form form(nullptr, "Form1");
    auto* group = new ui::GroupBox(&form, "GroupBox1", &form);
    form.Show();
    int fired = 0;
    Subject s = build(form, group, &fired);
    const std::string before = s.state();
    s.fromCode();
    EXPECT_NE(s.state(), before) << "the code change took no effect";
    EXPECT_EQ(fired, 0);
    const std::string afterCode = s.state();
    s.byUser();
    EXPECT_EQ(fired, 1);
    if (s.userChangesState) {
      EXPECT_NE(s.state(), afterCode) << "the user action took no effect";
    }
  }
}

TEST_F(UiControls, UnreachableControlsIgnoreTheUser) {
  struct Block {
    const char* name;
    std::function<void(ui::Form&, ui::GroupBox&)> apply;
    bool formCase;  // blocks the form itself (the only way to block a form's close)
  };
  const Block blocks[] = {
      {"form hidden", [](ui::Form& f, ui::GroupBox&) { f.Hide(); }, true},
      {"form disabled", [](ui::Form& f, ui::GroupBox&) { f.SetEnabled(false); }, true},
      {"parent hidden", [](ui::Form&, ui::GroupBox& g) { g.Hide(); }, false},
      {"parent disabled", [](ui::Form&, ui::GroupBox& g) { g.SetEnabled(false); }, false},
      {"itself hidden",
       [](ui::Form&, ui::GroupBox& g) {
         for (ui::Control* c : g.Children()) c->Hide();
       },
       false},
      {"itself disabled",
       [](ui::Form&, ui::GroupBox& g) {
         for (ui::Control* c : g.Children()) c->SetEnabled(false);
       },
       false},
  };
  for (const auto& [name, build] : Subjects()) {
    for (const Block& block : blocks) {
      if (std::string(name) == "form close" && !block.formCase) continue;
      SCOPED_TRACE(std::string(name) + ", " + block.name);
      ui::Form form(nullptr, "Form1");
      auto* group = new ui::GroupBox(&form, "GroupBox1", &form);
      form.Show();
      int fired = 0;
      Subject s = build(form, group, &fired);
      block.apply(form, *group);
      const std::string before = s.state();
      s.byUser();
      EXPECT_EQ(fired, 0);
      EXPECT_EQ(s.state(), before);
    }
  }
}

TEST_F(UiControls, CodeChangesReachTheBackend) {
  ui::Form form(nullptr, "Form1");
  auto* button = new ui::Button(&form, "Button1", &form);
  auto* memo = new ui::Memo(&form, "Memo1", &form);

  button->SetCaption("Go");
  button->SetCaption("Go");  // no change, nothing to redraw
  EXPECT_EQ(Backend().ChangesOf(button, ui::Property::Caption), 1);
  // A log's appends reach the backend as appends; any other change of its lines as a change.
  memo->Lines().Add("line");
  memo->Lines().Add("another");
  EXPECT_EQ(Backend().ChangesOf(memo, ui::Property::LinesAdded), 2);
  memo->Lines().Assign({"a", "b"});
  memo->Lines().Clear();
  EXPECT_EQ(Backend().ChangesOf(memo, ui::Property::Lines), 2);
  EXPECT_EQ(Backend().ChangesOf(memo, ui::Property::LinesAdded), 2);

  // The windows add the multi-line bit to a button's style through the style long.
  const long style = ui::GetWindowLongA(button, ui::GWL_STYLE);
  EXPECT_EQ(style, ui::WS_CHILD | ui::WS_VISIBLE | ui::WS_TABSTOP);
  EXPECT_EQ(ui::SetWindowLongA(button, ui::GWL_STYLE, style | ui::BS_MULTILINE), style);
  EXPECT_EQ(ui::GetWindowLongA(button, ui::GWL_STYLE), style | ui::BS_MULTILINE);
  EXPECT_EQ(Backend().ChangesOf(button, ui::Property::Style), 1);
}

TEST_F(UiControls, RadioButtonsExcludeTheirSiblingsOnly) {
  ui::Form form(nullptr, "Form1");
  auto* groupA = new ui::GroupBox(&form, "CH1", &form);
  auto* groupB = new ui::GroupBox(&form, "CH2", &form);
  auto* lab1 = new ui::RadioButton(&form, "LabProbeButton1", groupA);
  auto* field1 = new ui::RadioButton(&form, "FieldProbeButton1", groupA);
  auto* lab2 = new ui::RadioButton(&form, "LabProbeButton2", groupB);
  form.Show();

  lab1->SetChecked(true);
  lab2->SetChecked(true);
  field1->SetChecked(true);  // from code
  EXPECT_FALSE(lab1->Checked());
  EXPECT_TRUE(lab2->Checked());

  lab1->UserClick();  // by the user
  EXPECT_TRUE(lab1->Checked());
  EXPECT_FALSE(field1->Checked());
  EXPECT_TRUE(lab2->Checked());
}

TEST_F(UiControls, ComboBoxSelectionFollowsItsText) {
  ui::Form form(nullptr, "Form1");
  auto* combo = new ui::ComboBox(&form, "ChannelSelect", &form);
  combo->Items().Assign(std::vector<std::string>{"1", "2", "3"});
  combo->SetText("CH number");
  int changes = 0;
  combo->OnChange = [&](ui::Component*) { ++changes; };
  form.Show();
  EXPECT_EQ(combo->ItemIndex(), -1);

  struct Step {
    const char* what;
    std::function<void()> act;
    std::string text;
    int index;
    int changes;
  };
  const Step steps[] = {
      {"pick", [&] { combo->UserPick(2); }, "3", 2, 1},
      {"same pick again is a change too", [&] { combo->UserPick(2); }, "3", 2, 2},
      {"pick out of range", [&] { combo->UserPick(3); }, "3", 2, 2},
      {"type an item", [&] { combo->UserType("2"); }, "2", 1, 3},
      {"type something else", [&] { combo->UserType("12"); }, "12", -1, 4},
      {"refill keeps the text",
       [&] {
         combo->Items().Assign({"12", "13"});
       },
       "12", -1, 4},
      {"code selects", [&] { combo->SetItemIndex(1); }, "13", 1, 4},
      {"clearing the items drops the selection", [&] { combo->Items().Clear(); }, "13", -1, 4},
      {"code text matching an item selects it",
       [&] {
         combo->Items().Add("x");
         combo->SetText("x");
       },
       "x", 0, 4},
      {"index out of range clears the selection", [&] { combo->SetItemIndex(7); }, "x", -1, 4},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    step.act();
    EXPECT_EQ(combo->Text(), step.text);
    EXPECT_EQ(combo->ItemIndex(), step.index);
    EXPECT_EQ(changes, step.changes);
  }
}

TEST_F(UiControls, EditTypingRespectsReadOnlyAndLength) {
  ui::Form form(nullptr, "Form1");
  auto* edit = new ui::Edit(&form, "NameEdit", &form);
  int changes = 0;
  edit->OnChange = [&](ui::Component*) { ++changes; };
  form.Show();

  edit->SetMaxLength(4);
  edit->UserType("123456");
  EXPECT_EQ(edit->Text(), "1234");
  edit->SetReadOnly(true);
  edit->UserType("abc");
  EXPECT_EQ(edit->Text(), "1234");
  EXPECT_EQ(changes, 1);
}

TEST_F(UiControls, MaskEditKeepsWhatFitsItsPlace) {
  struct Case {
    const char* mask;
    const char* typed;
    const char* text;
  };
  const Case cases[] = {
      {"0000;0;#", "1234", "1234"},   {"0000;0;#", "12", "12"},
      {"0000;0;#", "", ""},           {"0000;0;#", "1a2 3-4", "1234"},
      {"0000;0;#", "123456", "1234"}, {"0000;0;#", "abcd", ""},
      {"00-00;1;_", "1234", "12-34"}, {"00-00;1;_", "12-34", "12-34"},
      {"00-00;0;_", "12-34", "1234"}, {"00-00;1;_", "12", "12"},
      {"99;0;_", "7", "7"},           {"LL00;0;_", "1ab2c3", "ab23"},
      {"\\00;1;_", "05", "05"},  // an escaped literal 0, then a digit
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.mask) + " <- \"" + c.typed + "\"");
    ui::Form form(nullptr, "Form1");
    auto* edit = new ui::MaskEdit(&form, "PinEdit", &form);
    edit->SetEditMask(c.mask);
    form.Show();
    edit->UserType(c.typed);
    EXPECT_EQ(edit->Text(), c.text);
    // A text set from code passes through the mask the same way.
    edit->SetText(c.typed);
    EXPECT_EQ(edit->Text(), c.text);
  }
  ui::MaskEdit pin(nullptr, "PinEdit", nullptr);
  pin.SetEditMask("0000;0;#");
  EXPECT_EQ(pin.MaskPattern(), "0000");
  EXPECT_EQ(pin.BlankChar(), '#');
  EXPECT_FALSE(pin.KeepsLiterals());
}

TEST_F(UiControls, MenuItemsClickOnlyWhenReachable) {
  ui::Form form(nullptr, "Form1");
  auto* menu = new ui::MainMenu(&form, "MainMenu1");
  form.SetMenu(menu);
  auto* file = new ui::MenuItem(&form, "File1", menu, nullptr);
  auto* exit = new ui::MenuItem(&form, "Exitprogram1", menu, file);
  auto* ports = new ui::MenuItem(&form, "Ports1", menu, nullptr);
  auto* com1 = new ui::MenuItem(&form, "COM11", menu, ports);
  int clicks = 0;
  for (ui::MenuItem* item : {file, exit, ports, com1}) {
    item->OnClick = [&](ui::Component*) { ++clicks; };
  }
  ASSERT_EQ(menu->Items(), (std::vector<ui::MenuItem*>{file, ports}));
  ASSERT_EQ(ports->Items(), (std::vector<ui::MenuItem*>{com1}));

  struct Case {
    const char* what;
    std::function<void()> block;
    ui::MenuItem* clicked;
    int clicks;
  };
  const Case cases[] = {
      {"reachable", [] {}, exit, 1},
      {"holds a sub-menu", [] {}, file, 0},
      {"parent hidden", [&] { ports->SetVisible(false); }, com1, 0},
      {"itself hidden", [&] { com1->SetVisible(false); }, com1, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    for (ui::MenuItem* item : {file, exit, ports, com1}) item->SetVisible(true);
    clicks = 0;
    c.block();
    c.clicked->Click();
    EXPECT_EQ(clicks, c.clicks);
  }

  const size_t before = Backend().changes.size();
  com1->SetCaption("COM1");
  ASSERT_EQ(Backend().changes.size(), before + 1);
  EXPECT_EQ(Backend().changes.back().first, com1);
  delete com1;
  EXPECT_TRUE(ports->Items().empty());
  EXPECT_EQ(Backend().changes.back(), std::make_pair<const ui::Component*>(menu, ui::Property::Menu));
}

TEST_F(UiControls, ChartSeriesKeepPointsInOrder) {
  ui::Form form(nullptr, "Graph1");
  auto* chart = new ui::Chart(&form, "Chart1", &form);
  auto* sorted = new ui::ChartSeries(&form, "Series1", chart, ui::ChartSeries::Kind::Line);
  auto* unsorted = new ui::ChartSeries(&form, "Series2", chart, ui::ChartSeries::Kind::Point);
  unsorted->SetXSorted(false);
  ASSERT_EQ(chart->Series().size(), 2u);

  const std::pair<double, const char*> added[] = {{3, "a"}, {1, "b"}, {2, "c"}, {2, "d"}, {0, "e"}};
  for (const auto& [x, label] : added) {
    sorted->AddXY(x, 10 * x, label, ui::clRed);
    unsorted->AddXY(x, 10 * x, label, ui::clYellow);
  }
  auto labels = [](const ui::ChartSeries* s) {
    std::string out;
    for (const ui::ChartPoint& p : s->Points()) out += p.label;
    return out;
  };
  EXPECT_EQ(labels(sorted), "ebcda");  // equal x values keep the order they came in
  EXPECT_EQ(labels(unsorted), "abcde");
  EXPECT_EQ(Backend().ChangesOf(chart, ui::Property::Chart), 10);

  sorted->Clear();
  chart->Title().Add("");
  EXPECT_TRUE(sorted->Points().empty());
  EXPECT_EQ(Backend().ChangesOf(chart, ui::Property::Chart), 12);

  delete unsorted;
  EXPECT_EQ(chart->Series(), (std::vector<ui::ChartSeries*>{sorted}));
}

}  // namespace

namespace {

TEST(UiThreadDeathTest, ChangingOrDestroyingAControlOnAnotherThreadStops) {
#ifdef NDEBUG
  GTEST_SKIP() << "checked in debug builds";
#endif
  testing::FLAGS_gtest_death_test_style = "threadsafe";
  ui::HeadlessBackend backend;
  ui::SetBackend(&backend);
  auto form = std::make_unique<ui::Form>(nullptr, "Form1");
  auto* label = new ui::Label(form.get(), "Label1", form.get());
  EXPECT_DEATH(std::thread([label] { label->SetCaption("elsewhere"); }).join(),
               "a change of component \"Label1\" on a thread other than the user-interface thread");
  EXPECT_DEATH(std::thread([label] { delete label; }).join(), "destruction of component \"Label1\"");
  ui::SetBackend(nullptr);
}

}  // namespace
