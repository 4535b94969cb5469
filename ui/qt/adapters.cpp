// The adapters of the control kinds and their registration.
#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QRadioButton>
#include <algorithm>

#include "ui/chart.h"
#include "ui/qt/adapter.h"
#include "ui/qt/chart_widget.h"
#include "ui/qt/conversions.h"
#include "ui/qt/widgets.h"

namespace ui::qt {

QString DisplayCaption(const Control& c) {
  const QString text = ToQt(c.Caption());
  return IsSymbolFont(c.GetFont()) ? SymbolToGreek(text) : text;
}

// ---------------------------------------------------------------------------------------------
// What every kind shares

void ControlAdapter::Sync(Control& c, QWidget* w, Property what) const {
  // Setting a widget from the control is no user action: no signal may come back.
  const QSignalBlocker block(w);
  if (SyncOwn(c, w, what)) return;
  switch (what) {
    case Property::Visible:
      w->setVisible(c.Visible());
      break;
    case Property::Enabled:
      w->setEnabled(c.Enabled());
      break;
    case Property::Hint:
      w->setToolTip(ToQt(c.Hint()));
      break;
    case Property::Bounds: {
      const QRect r = Geometry(c, w);
      if (w->geometry() != r) w->setGeometry(r);
      break;
    }
    case Property::Font: {
      const QFont font = ToQFont(c.GetFont());
      if (w->font() != font) w->setFont(font);
      Sync(c, w, Property::Caption);  // the Greek letters depend on the font
      Sync(c, w, Property::Bounds);
      break;
    }
    default:
      break;
  }
}

void ControlAdapter::SyncAll(Control& c, QWidget* w) const {
  for (Property p :
       {Property::Font, Property::Style, Property::Other, Property::Items, Property::ItemIndex, Property::Caption,
        Property::Checked, Property::ReadOnly, Property::MaxLength, Property::Hint, Property::Picture, Property::Lines,
        Property::Chart, Property::Bounds, Property::Enabled, Property::Visible}) {
    Sync(c, w, p);
  }
}

QRect ControlAdapter::Geometry(Control& c, QWidget* /*w*/) const {
  const Rect& b = c.Bounds();
  return QRect(b.left, b.top, std::max(b.width, 0), std::max(b.height, 0));
}

namespace {

// ---------------------------------------------------------------------------------------------
// Buttons and boxes

class ButtonAdapter : public Adapter<Button, CaptionButton> {
  void Hook(Button& c, CaptionButton* w, UserInput& input) const override {
    QObject::connect(w, &QPushButton::clicked, w, [&input, b = &c, w] { input.Act(b, w, [b] { b->Click(); }); });
  }
  bool Step(Button& c, CaptionButton* w, Property what) const override {
    if (what == Property::Caption) {
      w->SetCaption(DisplayCaption(c));
    } else if (what == Property::Style) {
      w->SetWrap((c.WindowStyle() & BS_MULTILINE) != 0);
    } else {
      return false;
    }
    return true;
  }
};

// Check boxes and radio buttons: a caption, a check mark, and a click that the control acts on.
template <typename C, typename W, void (C::*UserAction)()>
class CheckableAdapter : public Adapter<C, W> {
  void Hook(C& c, W* w, UserInput& input) const override {
    QObject::connect(w, &W::clicked, w, [&input, b = &c, w] { input.Act(b, w, [b] { (b->*UserAction)(); }); });
  }
  bool Step(C& c, W* w, Property what) const override {
    if (what == Property::Caption) {
      w->setText(DisplayCaption(c));
    } else if (what == Property::Checked) {
      w->setChecked(c.Checked());
    } else {
      return false;
    }
    return true;
  }
};
using CheckAdapter = CheckableAdapter<CheckBox, QCheckBox, &CheckBox::UserToggle>;
using RadioAdapter = CheckableAdapter<RadioButton, QRadioButton, &RadioButton::UserClick>;

class RadioGroupAdapter : public Adapter<RadioGroup, RadioGroupWidget> {
  void Hook(RadioGroup& c, RadioGroupWidget* w, UserInput& input) const override {
    w->onPick = [&input, g = &c, w](int index) { input.Act(g, w, [g, index] { g->UserPick(index); }); };
  }
  bool Step(RadioGroup& c, RadioGroupWidget* w, Property what) const override {
    if (what == Property::Caption) {
      w->setTitle(DisplayCaption(c));
    } else if (what == Property::Items || what == Property::ItemIndex) {
      if (what == Property::Items) {
        QStringList items;
        for (const std::string& s : c.Items()) items << ToQt(s);
        w->SetItems(items);
      }
      w->SetItemIndex(c.ItemIndex());
    } else {
      return false;
    }
    return true;
  }
};

class GroupAdapter : public Adapter<GroupBox, QGroupBox> {
  bool Step(GroupBox& c, QGroupBox* w, Property what) const override {
    if (what != Property::Caption) return false;
    w->setTitle(DisplayCaption(c));
    return true;
  }
};

// ---------------------------------------------------------------------------------------------
// Texts

class LabelAdapter : public Adapter<Label, QLabel> {
  QLabel* Make(Label& /*c*/, QWidget* parent) const override {
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
  }
  bool Step(Label& c, QLabel* w, Property what) const override {
    if (what == Property::Caption) {
      const QString text = DisplayCaption(c);
      if (w->text() != text) w->setText(text);
      Sync(c, w, Property::Bounds);
    } else if (what == Property::Other) {
      w->setWordWrap(c.WordWrap());
    } else {
      return false;
    }
    return true;
  }
  QRect Geometry(Control& c, QWidget* w) const override {
    QRect r = ControlAdapter::Geometry(c, w);
    if (static_cast<Label&>(c).WordWrap()) return r;
    // A label grows with its text instead of cutting it.
    const QFontMetrics fm(w->font());
    r.setWidth(std::max(r.width(), fm.horizontalAdvance(static_cast<QLabel*>(w)->text()) + 2));
    r.setHeight(std::max(r.height(), fm.height()));
    return r;
  }
};

// An edit's text as shown, and what the user typed as the edit keeps it.
QString EditText(const Edit& e) { return e.ByteText() ? BytesToQt(e.Text()) : DisplayCaption(e); }
std::string TypedText(const Edit& e, const QString& typed) { return e.ByteText() ? BytesFromQt(typed) : FromQt(typed); }

// The limit refuses the user's keys only; a longer text set from code is shown whole.
void SyncMaxLength(const Edit& edit, QLineEdit* line) {
  const int limit = edit.MaxLength();
  const int length = static_cast<int>(EditText(edit).size());
  const int qtLimit = limit > 0 ? std::max(limit, length) : 32767;
  if (line->maxLength() != qtLimit) line->setMaxLength(qtLimit);
}

// Edits and mask edits.
class EditAdapter : public Adapter<Edit, QLineEdit> {
  void Hook(Edit& c, QLineEdit* w, UserInput& input) const override {
    QObject::connect(w, &QLineEdit::textEdited, w, [&input, e = &c, w](const QString& text) {
      input.Act(e, w, [e, text] { e->UserType(TypedText(*e, text)); });
    });
  }
  bool Step(Edit& c, QLineEdit* w, Property what) const override {
    switch (what) {
      case Property::Caption: {
        SyncMaxLength(c, w);
        // Keeps the cursor where the user left it.
        const QString text = EditText(c);
        if (w->text() == text) break;
        const int cursor = w->cursorPosition();
        w->setText(text);
        w->setCursorPosition(std::min(cursor, static_cast<int>(w->text().size())));
        break;
      }
      case Property::ReadOnly:
        w->setReadOnly(c.ReadOnly());
        break;
      case Property::MaxLength:
        SyncMaxLength(c, w);
        break;
      case Property::Other:
        if (auto* mask = dynamic_cast<MaskEdit*>(&c)) {
          const QString qtMask = ToQtInputMask(mask->MaskPattern(), mask->BlankChar());
          if (w->inputMask() != qtMask) w->setInputMask(qtMask);
        }
        // The mask or the 8-bit setting may show the text differently.
        Step(c, w, Property::Caption);
        break;
      default:
        return false;
    }
    return true;
  }
};

// The program log: it grows by appends, which add the new lines only.
class MemoAdapter : public Adapter<Memo, LogView> {
  bool Step(Memo& c, LogView* w, Property what) const override {
    switch (what) {
      case Property::Lines:
        w->ShowLines(c.Lines().Items());
        break;
      case Property::LinesAdded:
        w->AddLines(c.Lines().Items());
        break;
      case Property::ReadOnly:
        w->setReadOnly(c.ReadOnly());
        break;
      case Property::Other: {
        const Memo::ScrollBars bars = c.Scrolls();
        const bool vertical = bars == Memo::ScrollBars::Vertical || bars == Memo::ScrollBars::Both;
        const bool horizontal = bars == Memo::ScrollBars::Horizontal || bars == Memo::ScrollBars::Both;
        w->setVerticalScrollBarPolicy(vertical ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAsNeeded);
        w->setHorizontalScrollBarPolicy(horizontal ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
        w->setLineWrapMode(horizontal ? QPlainTextEdit::NoWrap : QPlainTextEdit::WidgetWidth);
        break;
      }
      default:
        return false;
    }
    return true;
  }
};

class ComboAdapter : public Adapter<ComboBox, ComboWidget> {
  void Hook(ComboBox& c, ComboWidget* w, UserInput& input) const override {
    ComboBox* combo = &c;
    QObject::connect(w, &QComboBox::activated, w, [&input, combo, w](int index) {
      input.Act(combo, w, [combo, index] { combo->UserPick(index); });
    });
    // Only the user's typing: a pick or a text set from code does not edit the line.
    QObject::connect(w->lineEdit(), &QLineEdit::textEdited, w, [&input, combo, w](const QString& text) {
      input.Act(combo, w, [combo, text] { combo->UserType(FromQt(text)); });
    });
    w->onDropDown = [&input, combo, w] { input.Act(combo, w, [combo] { combo->UserDropDown(); }); };
  }
  bool Step(ComboBox& c, ComboWidget* w, Property what) const override {
    if (what != Property::Caption && what != Property::Items && what != Property::ItemIndex) return false;
    const QSignalBlocker block(w);
    if (what == Property::Items) {
      QStringList list;
      for (const std::string& s : c.Items()) list << ToQt(s);
      bool same = w->count() == list.size();
      for (int i = 0; same && i < w->count(); ++i) same = w->itemText(i) == list[i];
      if (!same) {
        w->clear();
        w->addItems(list);
      }
    }
    QLineEdit* edit = w->lineEdit();
    const int cursor = edit->cursorPosition();
    const QString before = edit->text();
    const int index = c.ItemIndex() < w->count() ? c.ItemIndex() : -1;
    if (w->currentIndex() != index) w->setCurrentIndex(index);
    const QString text = ToQt(c.Text());
    if (edit->text() != text) edit->setText(text);
    if (edit->text() == before) edit->setCursorPosition(std::min(cursor, static_cast<int>(text.size())));
    return true;
  }
};

// ---------------------------------------------------------------------------------------------
// Pictures

class ShapeAdapter : public Adapter<Shape, QFrame> {
  QFrame* Make(Shape& /*c*/, QWidget* parent) const override {
    auto* frame = new QFrame(parent);
    frame->setFrameStyle(QFrame::Box | QFrame::Plain);
    return frame;
  }
  bool Step(Shape&, QFrame*, Property) const override { return false; }
};

class ImageAdapter : public Adapter<Image, QLabel> {
  QLabel* Make(Image& /*c*/, QWidget* parent) const override {
    auto* label = new QLabel(parent);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
  }
  bool Step(Image& c, QLabel* w, Property what) const override {
    if (what == Property::Enabled) return true;  // a disabled picture would be drawn greyed
    if (what != Property::Picture) return false;
    const Picture& picture = c.GetPicture();
    const size_t needed = static_cast<size_t>(std::max(picture.width, 0)) * std::max(picture.height, 0) * 3;
    if (picture.Empty() || picture.rgb.size() < needed) {
      w->clear();
    } else {
      const QImage image(picture.rgb.data(), picture.width, picture.height, qsizetype{picture.width} * 3,
                         QImage::Format_RGB888);
      w->setPixmap(QPixmap::fromImage(image.copy()));
    }
    return true;
  }
};

class ChartAdapter : public Adapter<Chart, ChartWidget> {
  ChartWidget* Make(Chart& c, QWidget* parent) const override { return new ChartWidget(&c, parent); }
  void Release(QWidget* w) const override { static_cast<ChartWidget*>(w)->Detach(); }
  bool Step(Chart& /*c*/, ChartWidget* w, Property what) const override {
    if (what != Property::Chart) return false;
    w->update();
    return true;
  }
};

// Anything else: a plain widget that only takes its place.
class PlainAdapter : public Adapter<Control, QWidget> {
  bool Step(Control&, QWidget*, Property) const override { return false; }
};

}  // namespace

const std::vector<const ControlAdapter*>& ControlAdapters() {
  static const ButtonAdapter button;
  static const EditAdapter edit;
  static const MemoAdapter memo;
  static const ComboAdapter combo;
  static const CheckAdapter check;
  static const RadioAdapter radio;
  static const RadioGroupAdapter radioGroup;
  static const GroupAdapter group;
  static const LabelAdapter label;
  static const ShapeAdapter shape;
  static const ImageAdapter image;
  static const ChartAdapter chart;
  static const PlainAdapter plain;
  static const std::vector<const ControlAdapter*> all = {&button, &edit,  &memo,  &combo, &check, &radio, &radioGroup,
                                                         &group,  &label, &shape, &image, &chart, &plain};
  return all;
}

const ControlAdapter& AdapterFor(const Control& c) {
  const std::vector<const ControlAdapter*>& all = ControlAdapters();
  for (const ControlAdapter* adapter : all) {
    if (adapter->Fits(c)) return *adapter;
  }
  return *all.back();
}

}  // namespace ui::qt
