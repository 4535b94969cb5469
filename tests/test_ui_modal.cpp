// Modal forms, message boxes, file dialogs, closing and the application object, answered by the
// headless backend's scripted responder.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/support/headless_test.h"
#include "ui/headless.h"
#include "ui/ui.h"

namespace {

// Failures of the responder are collected: some cases expect them.
class UiModal : public testing_support::HeadlessTest<> {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    Responder().OnFailure = [this](const std::string& m) { failures_.push_back(m); };
  }
  std::vector<std::string> failures_;
};

// A small dialog: an edit and an OK button that closes only on a valid text, as the windows'
// own dialogs do.
class Dialog : public ui::Form {
 public:
  explicit Dialog(ui::Component* owner) : ui::Form(owner, "Dialog1") {
    edit = new ui::Edit(this, "Edit1", this);
    ok = new ui::Button(this, "OKbutton", this);
    ok->OnClick = [this](ui::Component*) {
      if (edit->Text() == "good") {
        Close();
      } else {
        ui::MessageDlg("Bad text", ui::DialogType::Error, ui::DialogButtons::Ok);
      }
    };
    cancel = new ui::Button(this, "CancelButton", this);
    cancel->SetModalResult(ui::mrAbort);
    OnClose = [this](ui::Component*, ui::CloseAction&) { ++closes; };
  }
  ui::Edit* edit;
  ui::Button* ok;
  ui::Button* cancel;
  int closes = 0;
};

TEST_F(UiModal, ModalFormEndsByButtonOrClose) {
  struct Case {
    const char* what;
    std::function<void(Dialog&)> drive;
    int result;
    int closes;
    int failures;
  };
  const Case cases[] = {
      {"button with a modal result", [](Dialog& d) { d.cancel->Click(); }, ui::mrAbort, 0, 0},
      {"close", [](Dialog& d) { d.UserClose(); }, ui::mrCancel, 1, 0},
      {"valid text, then OK",
       [](Dialog& d) {
         d.edit->UserType("good");
         d.ok->Click();
       },
       ui::mrCancel, 1, 0},
      {"left open is a failure", [](Dialog&) {}, ui::mrCancel, 0, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    failures_.clear();
    Dialog dialog(nullptr);
    bool wasShownModal = false;
    Responder().AnswerForm("Dialog1", [&](ui::Form& f) {
      wasShownModal = f.Showing() && f.Modal();
      c.drive(static_cast<Dialog&>(f));
    });
    EXPECT_EQ(dialog.ShowModal(), c.result);
    EXPECT_TRUE(wasShownModal);
    EXPECT_FALSE(dialog.Visible());
    EXPECT_FALSE(dialog.Modal());
    EXPECT_EQ(dialog.closes, c.closes);
    ASSERT_EQ(failures_.size(), static_cast<size_t>(c.failures));
    if (c.failures) {
      EXPECT_NE(failures_[0].find("Dialog1 was left open"), std::string::npos);
    }
    EXPECT_TRUE(Responder().AllAnswered());
  }
}

TEST_F(UiModal, HandlersMayDeleteTheFormTheyRunIn) {
  // A button with a modal result, a close handler and a plain button each delete their form in
  // the middle of a modal run; the run ends as a cancel and nothing touches the form afterwards
  // (the sanitizers catch any use of what is gone).
  struct Case {
    const char* what;
    std::function<void(Dialog&, std::function<void()> deleteIt)> arm;
    std::function<void(Dialog&)> drive;
  };
  const Case cases[] = {
      {"button with a modal result",
       [](Dialog& d, const std::function<void()>& del) { d.cancel->OnClick = [del](ui::Component*) { del(); }; },
       [](Dialog& d) { d.cancel->Click(); }},
      {"close handler",
       [](Dialog& d, const std::function<void()>& del) {
         d.OnClose = [del](ui::Component*, ui::CloseAction&) { del(); };
       },
       [](Dialog& d) { d.UserClose(); }},
      {"plain button",
       [](Dialog& d, const std::function<void()>& del) { d.ok->OnClick = [del](ui::Component*) { del(); }; },
       [](Dialog& d) { d.ok->Click(); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    failures_.clear();
    auto* dialog = new Dialog(nullptr);
    c.arm(*dialog, [&dialog] {
      delete dialog;
      dialog = nullptr;
    });
    Responder().AnswerForm("Dialog1", [&](ui::Form& f) { c.drive(static_cast<Dialog&>(f)); });
    ui::Form* shown = dialog;
    EXPECT_EQ(shown->ShowModal(), ui::mrCancel);
    EXPECT_EQ(dialog, nullptr);
    EXPECT_TRUE(failures_.empty());
  }

  // Outside a modal run, a close handler that deletes a shown main form leaves nothing behind.
  auto* main = new ui::Form(nullptr, "Module1");
  ui::App().SetMainForm(main);
  main->Show();
  main->OnClose = [&main](ui::Component*, ui::CloseAction&) {
    delete main;
    main = nullptr;
  };
  main->UserClose();
  EXPECT_EQ(main, nullptr);
  EXPECT_EQ(ui::App().MainForm(), nullptr);
}

TEST_F(UiModal, BoxOverAModalFormIsAnsweredInOrder) {
  Dialog dialog(nullptr);
  Responder().AnswerForm("Dialog1", [](ui::Form& f) {
    auto& d = static_cast<Dialog&>(f);
    d.ok->Click();  // empty text: the error box, answered below, and the dialog stays
    EXPECT_TRUE(d.Visible());
    d.edit->UserType("good");
    d.ok->Click();
  });
  Responder().AnswerMessage("Bad text", ui::mrOk, ui::DialogType::Error);
  dialog.ShowModal();
  EXPECT_TRUE(failures_.empty());
  EXPECT_EQ(Responder().Shown(), (std::vector<std::string>{"Dialog1", "Bad text"}));
}

TEST_F(UiModal, MessageBoxesNeedTheScriptedAnswer) {
  ui::App().SetTitle("QV");
  struct Case {
    const char* what;
    std::function<void()> script;
    std::function<int()> show;
    int result;
    const char* caption;
    const char* failure;  // part of the reported failure, or null
  };
  auto warn = [] { return ui::MessageDlg("Check", ui::DialogType::Warning, ui::DialogButtons::Ok); };
  const Case cases[] = {
      {"answered", [&] { Responder().AnswerMessage("Check", ui::mrOk, ui::DialogType::Warning); }, warn, ui::mrOk,
       "Warning", nullptr},
      {"confirmation", [&] { Responder().AnswerMessage("Apply?", ui::mrCancel); },
       [] { return ui::MessageDlg("Apply?", ui::DialogType::Confirmation, ui::DialogButtons::OkCancel); }, ui::mrCancel,
       "Confirmation", nullptr},
      {"plain box has the title", [&] { Responder().AnswerMessage("Done", ui::mrOk, ui::DialogType::Custom); },
       [] {
         ui::ShowMessage("Done");
         return ui::mrOk;
       },
       ui::mrOk, "QV", nullptr},
      {"unanswered", [] {}, warn, ui::mrCancel, "Warning", "\"Check\""},
      {"other text", [&] { Responder().AnswerMessage("Other", ui::mrOk); }, warn, ui::mrCancel, "Warning", "\"Other\""},
      {"other type", [&] { Responder().AnswerMessage("Check", ui::mrOk, ui::DialogType::Error); }, warn, ui::mrCancel,
       "Warning", "error message box"},
      {"a form was expected", [&] { Responder().AnswerForm("Dialog1", nullptr); }, warn, ui::mrCancel, "Warning",
       "Dialog1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    failures_.clear();
    c.script();
    EXPECT_EQ(c.show(), c.result);
    EXPECT_EQ(Responder().Messages().back().caption, c.caption);
    if (c.failure) {
      ASSERT_EQ(failures_.size(), 1u);
      EXPECT_NE(failures_[0].find(c.failure), std::string::npos) << failures_[0];
    } else {
      EXPECT_TRUE(failures_.empty());
    }
    EXPECT_TRUE(Responder().AllAnswered());
  }
}

TEST(UiModalDeathTest, UnansweredRequestEndsTheRunInsteadOfHanging) {
  EXPECT_DEATH(
      {
        ui::HeadlessBackend backend;
        ui::SetBackend(&backend);
        ui::MessageDlg("Nobody answers", ui::DialogType::Information, ui::DialogButtons::Ok);
      },
      "Nobody answers");
}

TEST_F(UiModal, FileDialogTakesTheChosenName) {
  struct Case {
    const char* what;
    ui::FileDialogKind answeredAs;
    std::optional<std::string> chosen;
    const char* defaultExt;
    bool ok;
    const char* fileName;
    int failures;
  };
  const Case cases[] = {
      {"chosen", ui::FileDialogKind::Save, "/tmp/a.csv", "txt", true, "/tmp/a.csv", 0},
      {"extension added", ui::FileDialogKind::Save, "/tmp/a", "txt", true, "/tmp/a.txt", 0},
      {"dot in a folder only", ui::FileDialogKind::Save, "/tmp/x.d/a", ".txt", true, "/tmp/x.d/a.txt", 0},
      {"no default extension", ui::FileDialogKind::Save, "/tmp/a", "", true, "/tmp/a", 0},
      {"cancelled", ui::FileDialogKind::Save, std::nullopt, "txt", false, "start", 0},
      {"open dialog expected", ui::FileDialogKind::Open, "/tmp/a", "", false, "start", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    failures_.clear();
    ui::SaveDialog dialog(nullptr, "SaveDialog1");
    dialog.SetFileName("start");
    dialog.SetDefaultExt(c.defaultExt);
    Responder().AnswerFile(c.answeredAs, c.chosen);
    EXPECT_EQ(dialog.Execute(), c.ok);
    EXPECT_EQ(dialog.FileName(), c.fileName);
    EXPECT_EQ(failures_.size(), static_cast<size_t>(c.failures));
  }
}

TEST_F(UiModal, ClosingTheMainFormEndsTheApplication) {
  ui::Form main(nullptr, "Module1");
  ui::Form other(nullptr, "Module2");
  ui::App().SetMainForm(&main);
  main.Show();
  other.Show();

  other.UserClose();
  EXPECT_FALSE(other.Visible());
  EXPECT_FALSE(ui::App().Terminated());

  main.OnClose = [](ui::Component*, ui::CloseAction& action) { action = ui::CloseAction::None; };
  main.UserClose();  // refused by its handler
  EXPECT_TRUE(main.Visible());
  EXPECT_FALSE(ui::App().Terminated());

  main.OnClose = nullptr;
  main.UserClose();
  EXPECT_TRUE(ui::App().Terminated());

  {
    ui::Form gone(nullptr, "Gone");
    ui::App().SetMainForm(&gone);
  }
  EXPECT_EQ(ui::App().MainForm(), nullptr);  // no dangling main form
}

TEST_F(UiModal, HelpCommandReportsEveryFailureAsFrameworkException) {
  EXPECT_THROW(ui::App().HelpCommand(ui::HELP_FINDER, 0), ui::Exception);  // no viewer

  std::string file;
  int command = 0;
  ui::App().SetHelpFile("RIZOD.HLP");
  ui::App().SetHelpViewer([&](const std::string& f, int c, long) {
    file = f;
    command = c;
  });
  EXPECT_TRUE(ui::App().HelpCommand(ui::HELP_FINDER, 0));
  EXPECT_EQ(file, "RIZOD.HLP");
  EXPECT_EQ(command, ui::HELP_FINDER);

  ui::App().SetHelpViewer([](const std::string&, int, long) { throw std::runtime_error("not found"); });
  try {
    ui::App().HelpCommand(ui::HELP_FINDER, 0);
    ADD_FAILURE() << "no exception";
  } catch (const ui::Exception& e) {
    EXPECT_STREQ(e.what(), "not found");
  }
}

TEST_F(UiModal, HourGlassPutsTheCursorBack) {
  {
    ui::HourGlass outer;
    ui::HourGlass inner;
  }
  EXPECT_EQ(ui::GetScreen().GetCursor(), ui::Cursor::Default);
  EXPECT_EQ(Backend().CursorChanges(), (std::vector<ui::Cursor>{ui::Cursor::HourGlass, ui::Cursor::HourGlass,
                                                                ui::Cursor::HourGlass, ui::Cursor::Default}));
}

}  // namespace
