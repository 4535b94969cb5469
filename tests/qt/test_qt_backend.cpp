// The Qt backend on the offscreen platform: widgets stand for the controls, user input reaches the
// controls' handlers, code changes reach the widgets without running handlers, modal requests
// can be answered, and forms may come and go at any time.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCursor>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <memory>

#include "platform/timing.h"
#include "tests/qt/qt_helpers.h"
#include "ui/qt/chart_widget.h"
#include "ui/qt/conversions.h"
#include "ui/qt/qt_backend.h"
#include "ui/qt/widgets.h"
#include "ui/ui.h"

namespace {

using qt_test::Backend;
using qt_test::Find;
using qt_test::Flush;
using qt_test::WidgetOf;

// Acts on the first modal widget once it shows; gives up (closing whatever is modal) after 5 s
// so that a fault fails the test instead of hanging it.
void WhenModal(const std::function<void(QWidget*)>& act) {
  auto* timer = new QTimer;
  auto tries = std::make_shared<int>(0);
  QObject::connect(timer, &QTimer::timeout, [timer, tries, act] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal && modal->isVisible()) {
      timer->stop();
      timer->deleteLater();
      act(modal);
    } else if (++*tries > 1000) {
      timer->stop();
      timer->deleteLater();
      ADD_FAILURE() << "no modal window appeared";
    }
  });
  timer->start(5);
}

void Type(QWidget* w, const QString& text) {
  for (QChar ch : text) {
    QKeyEvent press(QEvent::KeyPress, ch.toUpper().unicode(), Qt::NoModifier, QString(ch));
    QApplication::sendEvent(w, &press);
  }
}

// A window with one control of each kind.
struct TestWindow {
  std::unique_ptr<ui::Form> form = std::make_unique<ui::Form>(nullptr, "TestWindow");
  ui::GroupBox* group = new ui::GroupBox(form.get(), "Group", form.get());
  ui::Button* button = new ui::Button(form.get(), "Button1", group);
  ui::Label* label = new ui::Label(form.get(), "Label1", form.get());
  ui::Edit* edit = new ui::Edit(form.get(), "Edit1", form.get());
  ui::MaskEdit* pin = new ui::MaskEdit(form.get(), "PinEdit", form.get());
  ui::Memo* memo = new ui::Memo(form.get(), "Memo1", form.get());
  ui::ComboBox* combo = new ui::ComboBox(form.get(), "Combo1", form.get());
  ui::CheckBox* check = new ui::CheckBox(form.get(), "Check1", form.get());
  ui::RadioButton* radioA = new ui::RadioButton(form.get(), "RadioA", group);
  ui::RadioButton* radioB = new ui::RadioButton(form.get(), "RadioB", group);
  ui::RadioGroup* choice = new ui::RadioGroup(form.get(), "Choice", form.get());
  ui::Label* sigma = new ui::Label(form.get(), "Sigma", form.get());
  ui::MainMenu* menu = new ui::MainMenu(form.get(), "MainMenu1");
  ui::MenuItem* file = new ui::MenuItem(form.get(), "File1", menu, nullptr);
  ui::MenuItem* save = new ui::MenuItem(form.get(), "Save1", menu, file);
  ui::MenuItem* exit = new ui::MenuItem(form.get(), "Exit1", menu, file);
  int clicks = 0, changes = 0, toggles = 0, radioClicks = 0, picks = 0, menuClicks = 0;

  TestWindow() {
    form->SetCaption("Test window");
    form->SetBorderStyle(ui::BorderStyle::Single);
    form->SetClientSize(400, 300);
    form->SetMenu(menu);
    group->SetBounds(10, 10, 200, 120);
    group->SetCaption("Group");
    button->SetBounds(20, 30, 90, 25);
    button->SetCaption("Press");
    button->OnClick = [this](ui::Component*) { ++clicks; };
    radioA->SetBounds(20, 60, 80, 20);
    radioA->SetCaption("A");
    radioB->SetBounds(20, 85, 80, 20);
    radioB->SetCaption("B");
    radioA->OnClick = radioB->OnClick = [this](ui::Component*) { ++radioClicks; };
    label->SetBounds(220, 10, 50, 16);
    label->SetCaption("Label");
    edit->SetBounds(220, 30, 100, 21);
    edit->SetMaxLength(5);
    edit->OnChange = [this](ui::Component*) { ++changes; };
    pin->SetBounds(220, 55, 100, 21);
    pin->SetEditMask("0000;0;#");
    memo->SetBounds(10, 140, 200, 100);
    memo->SetReadOnly(true);
    memo->SetScrollBars(ui::Memo::ScrollBars::Vertical);
    combo->SetBounds(220, 80, 100, 21);
    combo->Items().Assign(std::vector<std::string>{"1", "2", "3"});
    combo->SetText("CH number");
    combo->OnChange = [this](ui::Component*) { ++changes; };
    check->SetBounds(220, 105, 100, 20);
    check->SetCaption("Check");
    check->OnClick = [this](ui::Component*) { ++toggles; };
    choice->SetBounds(220, 130, 150, 70);
    choice->SetCaption("Type of probe:");
    choice->Items().Assign(std::vector<std::string>{"Field", "Laboratory"});
    choice->SetItemIndex(0);
    choice->OnClick = [this](ui::Component*) { ++picks; };
    sigma->SetBounds(220, 210, 20, 16);
    sigma->SetFont(ui::Font{"Symbol", 10, false});
    sigma->SetCaption("s");
    file->SetCaption("&File");
    save->SetCaption("Save");
    exit->SetCaption("Exit");
    save->OnClick = [this](ui::Component*) { ++menuClicks; };
  }
};

class QtBackendTest : public ::testing::Test {
 protected:
  void SetUp() override { ui::App().Reset(); }
  void TearDown() override {
    Flush();
    ui::GetScreen().SetCursor(ui::Cursor::Default);
    ui::App().Reset();
  }
};

TEST_F(QtBackendTest, FormGetsNamedWidgetsAtTheLayoutPlacesWhenFirstShown) {
  TestWindow w;
  EXPECT_EQ(WidgetOf(*w.form), nullptr);
  w.choice->SetCaption("");  // given below, after the buttons were laid out
  w.form->Show();
  QWidget* top = WidgetOf(*w.form);
  ASSERT_NE(top, nullptr);
  EXPECT_TRUE(top->isVisible());
  EXPECT_TRUE(top->isWindow());
  EXPECT_EQ(top->objectName(), "TestWindow");
  EXPECT_EQ(top->windowTitle(), "Test window");

  struct Expected {
    const char* name;
    const char* qtClass;
    QRect bounds;
  };
  const Expected expected[] = {
      {"Group", "QGroupBox", {10, 10, 200, 120}},       {"Button1", "QPushButton", {20, 30, 90, 25}},
      {"Edit1", "QLineEdit", {220, 30, 100, 21}},       {"PinEdit", "QLineEdit", {220, 55, 100, 21}},
      {"Memo1", "QPlainTextEdit", {10, 140, 200, 100}}, {"Combo1", "QComboBox", {220, 80, 100, 21}},
      {"Check1", "QCheckBox", {220, 105, 100, 20}},     {"RadioA", "QRadioButton", {20, 60, 80, 20}},
      {"Choice", "QGroupBox", {220, 130, 150, 70}},
  };
  for (const Expected& e : expected) {
    SCOPED_TRACE(e.name);
    QWidget* widget = Find<QWidget>(*w.form, e.name);
    ASSERT_NE(widget, nullptr);
    EXPECT_TRUE(widget->inherits(e.qtClass));
    EXPECT_EQ(widget->geometry(), e.bounds);
  }

  // A radio group's buttons lie inside its frame, below a caption as without one, also when the
  // caption comes or goes after they were laid out.
  auto* choice = Find<ui::qt::RadioGroupWidget>(*w.form, "Choice");
  for (const char* caption : {"Type of probe:", ""}) {
    w.choice->SetCaption(caption);
    Flush();
    for (int i = 0; i < choice->Count(); ++i) {
      EXPECT_TRUE(choice->contentsRect().contains(choice->Button(i)->geometry())) << '"' << caption << "\" " << i;
    }
  }

  // Controls in a group box lie in its widget; the client area starts below the menu bar.
  auto* button = Find<QPushButton>(*w.form, "Button1");
  EXPECT_EQ(button->parentWidget(), Find<QWidget>(*w.form, "Group"));
  auto* bar = top->findChild<QMenuBar*>();
  ASSERT_NE(bar, nullptr);
  ASSERT_TRUE(bar->isVisible());
  const int menuHeight = bar->height();
  EXPECT_GT(menuHeight, 0);
  EXPECT_EQ(button->mapTo(top, QPoint(0, 0)), QPoint(30, menuHeight + 40));
  EXPECT_EQ(top->size(), QSize(400, 300 + menuHeight));
  EXPECT_EQ(top->minimumSize(), top->maximumSize());  // a single border cannot be resized

  EXPECT_EQ(button->text(), "Press");
  EXPECT_EQ(Find<QLineEdit>(*w.form, "PinEdit")->inputMask(), "9999;#");
  EXPECT_EQ(Find<QComboBox>(*w.form, "Combo1")->count(), 3);
  EXPECT_EQ(Find<QComboBox>(*w.form, "Combo1")->currentText(), "CH number");
  EXPECT_EQ(Find<QLabel>(*w.form, "Sigma")->text(), QString::fromUtf8("σ"));
  ASSERT_EQ(bar->actions().size(), 1);
  EXPECT_EQ(bar->actions()[0]->text(), "&File");
  ASSERT_NE(Backend().ActionOf(*w.save), nullptr);
  EXPECT_EQ(Backend().ActionOf(*w.save)->text(), "Save");
}

TEST_F(QtBackendTest, ClickOnTheRealButtonOrMenuRunsTheHandler) {
  TestWindow w;
  w.button->OnClick = [&](ui::Component*) {
    ++w.clicks;
    w.label->SetCaption("Clicked");
  };
  w.form->Show();
  Find<QPushButton>(*w.form, "Button1")->click();
  EXPECT_EQ(w.clicks, 1);
  EXPECT_EQ(Find<QLabel>(*w.form, "Label1")->text(), "Clicked");

  Backend().ActionOf(*w.save)->trigger();
  EXPECT_EQ(w.menuClicks, 1);

  // A control the framework disables cannot be clicked.
  w.button->SetEnabled(false);
  Find<QPushButton>(*w.form, "Button1")->click();
  EXPECT_EQ(w.clicks, 1);
}

TEST_F(QtBackendTest, ChangesFromCodeReachTheWidgetsWithoutRunningHandlers) {
  TestWindow w;
  w.form->Show();
  w.edit->SetText("12.5");
  w.check->SetChecked(true);
  w.radioA->SetChecked(true);
  w.radioB->SetChecked(true);
  w.combo->Items().Assign(std::vector<std::string>{"COM1", "COM2"});
  w.combo->SetItemIndex(1);
  w.choice->SetItemIndex(1);
  w.button->SetCaption("Again");
  w.button->SetHint("Does it again");
  w.label->SetVisible(false);
  w.edit->SetReadOnly(true);
  w.pin->SetText("12x34");
  w.form->SetCaption("Renamed");
  w.save->SetChecked(true);
  w.exit->SetVisible(false);
  w.file->SetCaption("F&ile");

  EXPECT_EQ(Find<QLineEdit>(*w.form, "Edit1")->text(), "12.5");
  EXPECT_TRUE(Find<QLineEdit>(*w.form, "Edit1")->isReadOnly());
  EXPECT_EQ(Find<QLineEdit>(*w.form, "PinEdit")->text(), "1234");
  EXPECT_TRUE(Find<QCheckBox>(*w.form, "Check1")->isChecked());
  EXPECT_FALSE(Find<QRadioButton>(*w.form, "RadioA")->isChecked());
  EXPECT_TRUE(Find<QRadioButton>(*w.form, "RadioB")->isChecked());
  auto* combo = Find<QComboBox>(*w.form, "Combo1");
  EXPECT_EQ(combo->count(), 2);
  EXPECT_EQ(combo->currentIndex(), 1);
  EXPECT_EQ(combo->currentText(), "COM2");
  auto* choice = Find<ui::qt::RadioGroupWidget>(*w.form, "Choice");
  ASSERT_EQ(choice->Count(), 2);
  EXPECT_FALSE(choice->Button(0)->isChecked());
  EXPECT_TRUE(choice->Button(1)->isChecked());
  EXPECT_EQ(Find<QPushButton>(*w.form, "Button1")->text(), "Again");
  EXPECT_EQ(Find<QPushButton>(*w.form, "Button1")->toolTip(), "Does it again");
  EXPECT_FALSE(Find<QLabel>(*w.form, "Label1")->isVisible());
  EXPECT_EQ(WidgetOf(*w.form)->windowTitle(), "Renamed");
  QAction* save = Backend().ActionOf(*w.save);
  EXPECT_TRUE(save->isCheckable());
  EXPECT_TRUE(save->isChecked());
  EXPECT_FALSE(Backend().ActionOf(*w.exit)->isVisible());
  EXPECT_EQ(Backend().ActionOf(*w.file)->text(), "F&ile");

  EXPECT_EQ(w.clicks + w.changes + w.toggles + w.radioClicks + w.picks + w.menuClicks, 0);

  // Setting from code leaves the text alone while the user's own text stays as typed.
  w.combo->SetText("free text");
  EXPECT_EQ(combo->currentText(), "free text");
  EXPECT_EQ(w.changes, 0);
}

TEST_F(QtBackendTest, UserInputReachesTheControlsAndTheWidgetsFollowTheirState) {
  TestWindow w;
  w.form->Show();

  auto* edit = Find<QLineEdit>(*w.form, "Edit1");
  Type(edit, "abcdefg");  // the limit of five cuts the rest
  EXPECT_EQ(w.edit->Text(), "abcde");
  EXPECT_EQ(edit->text(), "abcde");
  EXPECT_EQ(w.changes, 5);

  auto* pin = Find<QLineEdit>(*w.form, "PinEdit");
  pin->setCursorPosition(0);
  Type(pin, "12a3");
  EXPECT_EQ(w.pin->Text(), "123");

  auto* combo = Find<ui::qt::ComboWidget>(*w.form, "Combo1");
  w.changes = 0;
  emit combo->activated(1);
  EXPECT_EQ(w.combo->ItemIndex(), 1);
  EXPECT_EQ(w.combo->Text(), "2");
  EXPECT_EQ(combo->currentIndex(), 1);
  EXPECT_EQ(w.changes, 1);
  combo->lineEdit()->selectAll();
  Type(combo->lineEdit(), "3");
  EXPECT_EQ(w.combo->Text(), "3");
  EXPECT_EQ(w.combo->ItemIndex(), 2);
  EXPECT_EQ(w.changes, 2);

  // Opening the list runs the drop-down handler first, which may refill the list.
  w.combo->OnDropDown = [&](ui::Component*) { w.combo->Items().Add("4"); };
  combo->showPopup();
  EXPECT_EQ(combo->count(), 4);
  combo->hidePopup();

  auto* check = Find<QCheckBox>(*w.form, "Check1");
  check->click();
  EXPECT_TRUE(w.check->Checked());
  EXPECT_EQ(w.toggles, 1);

  auto* radioA = Find<QRadioButton>(*w.form, "RadioA");
  auto* radioB = Find<QRadioButton>(*w.form, "RadioB");
  radioA->click();
  radioB->click();
  EXPECT_TRUE(w.radioB->Checked());
  EXPECT_FALSE(w.radioA->Checked());
  EXPECT_FALSE(radioA->isChecked());
  // Clicking the checked one again keeps it checked, as the control says.
  radioB->click();
  EXPECT_TRUE(radioB->isChecked());
  EXPECT_EQ(w.radioClicks, 3);

  auto* choice = Find<ui::qt::RadioGroupWidget>(*w.form, "Choice");
  choice->Button(1)->click();
  EXPECT_EQ(w.choice->ItemIndex(), 1);
  EXPECT_FALSE(choice->Button(0)->isChecked());
  EXPECT_EQ(w.picks, 1);

  // A handler that puts the state back is what the widget shows.
  w.check->OnClick = [&](ui::Component*) { w.check->SetChecked(true); };
  check->click();
  EXPECT_TRUE(check->isChecked());
}

TEST_F(QtBackendTest, EightBitEditsShowAndKeepOneCharacterPerByte) {
  TestWindow w;
  w.form->Show();
  auto* edit = Find<QLineEdit>(*w.form, "Edit1");
  w.edit->SetByteText(true);
  w.edit->SetText("M\xF6");  // not UTF-8
  EXPECT_EQ(edit->text(), QString::fromUtf8("M\u00F6"));
  edit->end(false);
  Type(edit, QString::fromUtf8("\u00E4\u20AC"));  // a character beyond 8 bits is kept as '?'
  EXPECT_EQ(w.edit->Text(), "M\xF6\xE4?");
  // The limit of five counts bytes.
  Type(edit, "xyz");
  EXPECT_EQ(w.edit->Text(), "M\xF6\xE4?x");
}

TEST_F(QtBackendTest, ModalFormRunsUntilAButtonGivesItsResult) {
  ui::Form dialog(nullptr, "Dialog");
  dialog.SetClientSize(200, 100);
  dialog.SetBorderIcons(ui::BorderIcons{false, false, false});
  auto* text = new ui::Edit(&dialog, "Edit1", &dialog);
  text->SetBounds(10, 10, 100, 21);
  text->SetText("00.0");
  auto* ok = new ui::Button(&dialog, "OKbutton", &dialog);
  ok->SetBounds(10, 50, 75, 25);
  ok->SetCaption("OK");
  // Closes only on an accepted text, as a validating dialog does.
  ok->OnClick = [&](ui::Component*) {
    if (text->Text() != "00.0") dialog.SetModalResult(ui::mrOk);
  };
  int rounds = 0;
  WhenModal([&](QWidget* modal) {
    ++rounds;
    EXPECT_EQ(modal->objectName(), "Dialog");
    EXPECT_FALSE(modal->windowFlags().testFlag(Qt::WindowCloseButtonHint));
    auto* button = modal->findChild<QPushButton*>("OKbutton");
    button->click();  // refused: the dialog stays
    EXPECT_TRUE(modal->isVisible());
    auto* edit = modal->findChild<QLineEdit*>("Edit1");
    edit->selectAll();
    Type(edit, "21.5");
    button->click();
  });
  EXPECT_EQ(dialog.ShowModal(), ui::mrOk);
  EXPECT_EQ(rounds, 1);
  EXPECT_EQ(text->Text(), "21.5");
  EXPECT_FALSE(WidgetOf(dialog)->isVisible());

  // Shown again, it is closed from its frame this time.
  WhenModal([](QWidget* modal) { modal->close(); });
  EXPECT_EQ(dialog.ShowModal(), ui::mrCancel);
  EXPECT_FALSE(WidgetOf(dialog)->isVisible());
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(QtBackendTest, MessageBoxesShowTheRequestAndReturnTheAnswer) {
  struct Case {
    ui::DialogType type;
    ui::DialogButtons buttons;
    QMessageBox::Icon icon;
    QMessageBox::StandardButton press;  // NoButton: the box is closed with Escape
    int expected;
    const char* caption;
  };
  const Case cases[] = {
      {ui::DialogType::Information, ui::DialogButtons::OkCancel, QMessageBox::Information, QMessageBox::Cancel,
       ui::mrCancel, "Information"},
      {ui::DialogType::Information, ui::DialogButtons::OkCancel, QMessageBox::Information, QMessageBox::Ok, ui::mrOk,
       "Information"},
      {ui::DialogType::Confirmation, ui::DialogButtons::YesNo, QMessageBox::Question, QMessageBox::Yes, ui::mrYes,
       "Confirmation"},
      {ui::DialogType::Confirmation, ui::DialogButtons::YesNo, QMessageBox::Question, QMessageBox::No, ui::mrNo,
       "Confirmation"},
      {ui::DialogType::Warning, ui::DialogButtons::Ok, QMessageBox::Warning, QMessageBox::Ok, ui::mrOk, "Warning"},
      {ui::DialogType::Error, ui::DialogButtons::OkCancel, QMessageBox::Critical, QMessageBox::NoButton, ui::mrCancel,
       "Error"},
      {ui::DialogType::Custom, ui::DialogButtons::Ok, QMessageBox::NoIcon, QMessageBox::Ok, ui::mrOk, "Program title"},
  };
  ui::App().SetTitle("Program title");
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.press));
    QString caption, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    WhenModal([&](QWidget* modal) {
      auto* box = qobject_cast<QMessageBox*>(modal);
      ASSERT_NE(box, nullptr);
      caption = box->windowTitle();
      text = box->text();
      icon = box->icon();
      if (c.press == QMessageBox::NoButton) {
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(box, &escape);
      } else {
        box->button(c.press)->click();
      }
    });
    EXPECT_EQ(ui::MessageDlg("Error\nwhile connecting", c.type, c.buttons), c.expected);
    EXPECT_EQ(text, "Error\nwhile connecting");
    EXPECT_EQ(icon, c.icon);
    EXPECT_EQ(caption, c.caption);
  }
}

TEST_F(QtBackendTest, FileDialogsReturnTheChosenPathOrNothing) {
  const std::string dir = std::filesystem::temp_directory_path().string();
  ui::SaveDialog save(nullptr, "SaveDialog1");
  save.SetInitialDir(dir);
  save.SetFilter("*.txt");
  save.SetDefaultExt("txt");
  WhenModal([&](QWidget* modal) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->nameFilters().contains("Text files (*.txt)"));
    EXPECT_TRUE(dialog->testOption(QFileDialog::DontConfirmOverwrite));  // it would ask about the wrong file
    dialog->selectFile(QString::fromStdString(dir + "/qvusb-qt-test-result"));
    static_cast<QDialog*>(dialog)->accept();  // QFileDialog's own is protected
  });
  ASSERT_TRUE(save.Execute());
  EXPECT_EQ(std::filesystem::path(save.FileName()).filename(), "qvusb-qt-test-result.txt");

  WhenModal([](QWidget* modal) { qobject_cast<QDialog*>(modal)->reject(); });
  EXPECT_FALSE(save.Execute());
}

TEST_F(QtBackendTest, MemoAppendsNewLinesAndKeepsTheLastOneInView) {
  TestWindow w;
  w.form->Show();
  auto* memo = Find<QPlainTextEdit>(*w.form, "Memo1");
  QStringList expected;
  for (int i = 0; i < 200; ++i) {
    w.memo->Lines().Add("Line " + std::to_string(i));
    expected << QString("Line %1").arg(i);
  }
  QCoreApplication::processEvents();
  EXPECT_EQ(memo->toPlainText(), expected.join('\n'));
  EXPECT_EQ(memo->blockCount(), 200);
  EXPECT_GT(memo->verticalScrollBar()->maximum(), 0);
  EXPECT_EQ(memo->verticalScrollBar()->value(), memo->verticalScrollBar()->maximum());

  // An append adds its line and leaves the lines shown before alone.
  memo->document()->firstBlock().setUserState(42);
  w.memo->Lines().Add("Line 200");
  EXPECT_EQ(memo->document()->firstBlock().userState(), 42);

  // Anything but an append shows the lines anew.
  w.memo->Lines().Assign({"First", "Line 1"});
  EXPECT_EQ(memo->toPlainText(), "First\nLine 1");
  w.memo->Lines().Clear();
  EXPECT_EQ(memo->toPlainText(), "");
  w.memo->Lines().Add("");
  w.memo->Lines().Add("after an empty line");
  EXPECT_EQ(memo->toPlainText(), "\nafter an empty line");
}

bool HasPixel(const QImage& image, const std::function<bool(QColor)>& wanted) {
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (wanted(image.pixelColor(x, y))) return true;
    }
  }
  return false;
}

TEST_F(QtBackendTest, ChartDrawsTheRedTraceAndYellowMarkers) {
  ui::Form window(nullptr, "Graph1");
  window.SetClientSize(700, 520);
  auto* chart = new ui::Chart(&window, "Chart1", &window);
  chart->SetBounds(0, 0, 700, 520);
  chart->SetGradient(true);
  chart->SetGradientColors(0xFFFFFF, 0x9FB4C7);
  chart->Title().Add("");
  chart->SetTitleLeftAligned(true);
  chart->BottomAxis().automatic = false;
  chart->BottomAxis().maximum = 10;
  chart->BottomAxis().increment = 1;
  chart->BottomAxis().title = "TIME (ns)";
  chart->LeftAxis().inverted = true;
  chart->LeftAxis().labels = false;
  chart->LeftAxis().title = "AMPLITUDE";
  auto* trace = new ui::ChartSeries(&window, "Series1", chart, ui::ChartSeries::Kind::Line);
  trace->SetStairs(true);
  auto* markers = new ui::ChartSeries(&window, "Series2", chart, ui::ChartSeries::Kind::Point);
  markers->SetSeriesColor(ui::clYellow);
  markers->SetPointer(ui::ChartSeries::PointerStyle::TriangleDown);
  window.Show();
  for (int i = 0; i < 1024; ++i) trace->AddXY(0.01 * i, 1000 + (i % 100) * 10, " ", ui::clRed);
  markers->AddXY(2, 1200, " ", ui::clYellow);
  markers->AddXY(3, 1500, " ", ui::clYellow);
  chart->Title().Add("Moisture: 21.3%      Dielectric constant: 12.1");

  QWidget* widget = WidgetOf(*chart);
  ASSERT_NE(widget, nullptr);
  QImage image(widget->size(), QImage::Format_RGB32);
  widget->render(&image);
  EXPECT_TRUE(HasPixel(image, [](QColor c) { return c == QColor(255, 0, 0); }));
  EXPECT_TRUE(HasPixel(image, [](QColor c) { return c == QColor(255, 255, 0); }));

  // Charts without points, or with one, draw their background and axes and no trace (nothing
  // divides by a range of nothing).
  trace->Clear();
  markers->Clear();
  image.fill(Qt::black);
  widget->render(&image);
  EXPECT_FALSE(HasPixel(image, [](QColor c) { return c == QColor(255, 0, 0); }));
  EXPECT_TRUE(HasPixel(image, [](QColor c) { return c == QColor(255, 255, 255); }));  // the gradient's top
  ui::Chart lone(nullptr, "Lone", nullptr);
  lone.SetBounds(0, 0, 50, 30);
  ui::ChartSeries one(nullptr, "One", &lone, ui::ChartSeries::Kind::Line);
  one.AddXY(1, 1, "", ui::clRed);
  QImage small(50, 30, QImage::Format_RGB32);
  small.fill(Qt::black);
  {
    QPainter painter(&small);
    ui::qt::PaintChart(painter, lone, small.rect());
  }
  EXPECT_NE(small.pixelColor(25, 15), QColor(Qt::black));  // painted, not left as it was
}

TEST_F(QtBackendTest, FormsMayGoAtAnyTimeAndComeBackAfterHiding) {
  // A handler deletes the form whose button is being clicked, and another shown form.
  auto* first = new TestWindow;
  auto* other = new TestWindow;
  first->form->Show();
  other->form->Show();
  first->button->OnClick = [&](ui::Component*) {
    delete other;
    delete first;
  };
  Find<QPushButton>(*first->form, "Button1")->click();
  Flush();

  // A form deleted while shown takes its window along.
  {
    TestWindow w;
    w.form->Show();
    QPointer<QWidget> top = WidgetOf(*w.form);
    w.form.reset();
    EXPECT_TRUE(top.isNull());
  }

  TestWindow w;
  w.form->Show();
  QWidget* top = WidgetOf(*w.form);
  w.form->Hide();
  EXPECT_FALSE(top->isVisible());
  w.edit->SetText("while hidden");
  w.form->Show();
  EXPECT_EQ(WidgetOf(*w.form), top);
  EXPECT_TRUE(top->isVisible());
  EXPECT_EQ(Find<QLineEdit>(*w.form, "Edit1")->text(), "while hidden");

  // A control made after the window was made gets its widget too.
  auto* late = new ui::Button(w.form.get(), "Late", w.form.get());
  late->SetBounds(300, 250, 80, 25);
  late->SetCaption("Late");
  Flush();
  auto* lateButton = Find<QPushButton>(*w.form, "Late");
  ASSERT_NE(lateButton, nullptr);
  EXPECT_EQ(lateButton->geometry(), QRect(300, 250, 80, 25));
  delete late;
  EXPECT_EQ(Find<QPushButton>(*w.form, "Late"), nullptr);

  // A menu deleted from under its form takes the menu bar along.
  ASSERT_NE(WidgetOf(*w.form)->findChild<QMenuBar*>(), nullptr);
  delete w.menu;
  Flush();
  EXPECT_EQ(WidgetOf(*w.form)->findChild<QMenuBar*>(), nullptr);
  EXPECT_EQ(Backend().ActionOf(*w.save), nullptr);

  // Closing from the frame hides the form through the framework.
  int closes = 0;
  w.form->OnClose = [&](ui::Component*, ui::CloseAction&) { ++closes; };
  top->close();
  EXPECT_EQ(closes, 1);
  EXPECT_FALSE(w.form->Visible());
  EXPECT_FALSE(top->isVisible());
}

TEST_F(QtBackendTest, ModalFormDeletedByItsOwnButtonEndsItsRun) {
  auto* dialog = new ui::Form(nullptr, "Dialog");
  dialog->SetClientSize(200, 100);
  auto* ok = new ui::Button(dialog, "OKbutton", dialog);
  ok->SetBounds(10, 50, 75, 25);
  ok->SetModalResult(ui::mrOk);
  ok->OnClick = [&dialog](ui::Component*) {
    delete dialog;
    dialog = nullptr;
  };
  WhenModal([](QWidget* modal) { modal->findChild<QPushButton*>("OKbutton")->click(); });
  ui::Form* shown = dialog;
  EXPECT_EQ(shown->ShowModal(), ui::mrCancel);
  EXPECT_EQ(dialog, nullptr);
  Flush();
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(QtBackendTest, MultiLineButtonsWrapTheirCaption) {
  ui::Form form(nullptr, "Wrap");
  form.SetClientSize(200, 100);
  auto* button = new ui::Button(&form, "MeasTemp", &form);
  button->SetBounds(10, 10, 90, 40);
  button->SetCaption("Measure probe temperature");
  form.Show();
  auto* widget = Find<QPushButton>(form, "MeasTemp");
  EXPECT_FALSE(widget->text().contains('\n'));
  ui::SetWindowLongA(button, ui::GWL_STYLE, ui::GetWindowLongA(button, ui::GWL_STYLE) | ui::BS_MULTILINE);
  EXPECT_TRUE(widget->text().contains('\n'));
  for (const QString& line : widget->text().split('\n')) {
    if (line.contains(' ')) {
      EXPECT_LE(widget->fontMetrics().horizontalAdvance(line), 90);
    }
  }
}

TEST_F(QtBackendTest, HourglassAndDefaultCursorPair) {
  ui::GetScreen().SetCursor(ui::Cursor::HourGlass);
  ui::GetScreen().SetCursor(ui::Cursor::HourGlass);
  ASSERT_NE(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
  ui::GetScreen().SetCursor(ui::Cursor::Default);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(QtBackendTest, RunEndsOnTerminateEvenWhenAskedBeforehand) {
  Backend().Terminate();
  Backend().Run();  // returns at once

  // Ending the run does not close the windows: that is the forms' own business.
  TestWindow w;
  int closes = 0;
  w.form->OnClose = [&](ui::Component*, ui::CloseAction&) { ++closes; };
  w.form->Show();
  QTimer::singleShot(10, [] { ui::App().Terminate(); });
  Backend().Run();
  EXPECT_EQ(closes, 0);
  EXPECT_TRUE(WidgetOf(*w.form)->isVisible());
}

TEST_F(QtBackendTest, HelpGoesIntoOneWindow) {
  Backend().ShowHelp("Help one", "first text");
  QWidget* window = Backend().HelpWindow();
  ASSERT_NE(window, nullptr);
  Backend().ShowHelp("Help two", "second text");
  EXPECT_EQ(Backend().HelpWindow(), window);
  EXPECT_EQ(window->windowTitle(), "Help two");
  EXPECT_EQ(window->findChild<QPlainTextEdit*>()->toPlainText(), "second text");
  window->hide();
}

TEST(QtConversions, MasksGreekFiltersAndWrapping) {
  struct MaskCase {
    std::string pattern;
    char blank;
    QString expected;
  };
  const MaskCase masks[] = {
      {"0000", '#', "9999;#"},     {"00.0", '_', "99.9;_"}, {"9L-la", ' ', "0A-an; "},
      {"A\\0#", '_', "N\\0\\#;_"}, {"", '_', ""},
  };
  for (const MaskCase& m : masks) {
    EXPECT_EQ(ui::qt::ToQtInputMask(m.pattern, m.blank), m.expected) << m.pattern;
  }
  EXPECT_EQ(ui::qt::SymbolToGreek("eqsT"), QString::fromUtf8("εθσΤ"));
  EXPECT_EQ(ui::qt::ToQtNameFilter("*.txt"), "Text files (*.txt);;All files (*)");
  EXPECT_EQ(ui::qt::ToQtNameFilter("*.cfg"), "CFG files (*.cfg);;All files (*)");
  EXPECT_EQ(ui::qt::ToQtNameFilter(""), "All files (*)");

  const QFontMetrics fm(ui::qt::ToQFont(ui::Font{}));
  EXPECT_EQ(ui::qt::WrapCaption("Read", fm, 10), "Read");
  EXPECT_EQ(ui::qt::WrapCaption("Read configuration", fm, 1000), "Read configuration");
  EXPECT_EQ(ui::qt::WrapCaption("Read configuration", fm, 10), "Read\nconfiguration");
}

}  // namespace
