#include "platform/win/widgets.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QValidator>

#include "platform/win/gdi_internal.h"
#include "platform/win/text_codec.h"
#include "platform/win/window.h"

namespace win::internal {
namespace {

// Tells the owner of a control what happened, as the classic controls do.
void Notify(Hwnd control, uint16_t code) {
  WindowRecord* record = Find(control);
  if (!record || record->destroying || !record->parent) return;
  SendMessage(record->parent, WM_COMMAND, MakeWParam(static_cast<uint16_t>(record->id), code),
              control);
}

// The close box asks the window, which may refuse.
void AskToClose(const QWidget* widget, QCloseEvent* event) {
  event->ignore();
  if (WindowRecord* record = FindByWidget(widget)) {
    SendMessage(record->hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
  }
}

class FrameWidget : public QMainWindow {
 protected:
  void closeEvent(QCloseEvent* event) override { AskToClose(this, event); }
  void resizeEvent(QResizeEvent* event) override {
    QMainWindow::resizeEvent(event);
    if (WindowRecord* record = FindByWidget(this)) {
      QSize client = centralWidget() ? centralWidget()->size() : size();
      SendMessage(record->hwnd, WM_SIZE, 0,
                  static_cast<LPARAM>(client.width() | (client.height() << 16)));
    }
  }
  void moveEvent(QMoveEvent* event) override {
    QMainWindow::moveEvent(event);
    if (WindowRecord* record = FindByWidget(this)) {
      SendMessage(record->hwnd, WM_MOVE, 0, static_cast<LPARAM>(x() | (y() << 16)));
    }
  }
};

class DialogPage : public QWidget {
 public:
  using QWidget::QWidget;

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    WindowRecord* record = FindByWidget(this);
    if (event->key() == Qt::Key_Escape && record) {
      // Escape is the Cancel command; lParam names the dialog's control 2 when it has one.
      SendMessage(record->hwnd, WM_COMMAND, MakeWParam(IDCANCEL, BN_CLICKED),
                  GetDlgItem(record->hwnd, IDCANCEL));
      return;
    }
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && record) {
      // Enter presses the focused push button, else the OK button when the dialog shows one,
      // as the classic dialog manager does with its default button.
      auto* focused = qobject_cast<QPushButton*>(focusWidget());
      if (focused && isAncestorOf(focused)) {
        focused->click();
        return;
      }
      Hwnd ok = GetDlgItem(record->hwnd, IDOK);
      if (ok && IsWindowVisible(ok) && IsWindowEnabled(ok)) {
        SendMessage(record->hwnd, WM_COMMAND, MakeWParam(IDOK, BN_CLICKED), ok);
        return;
      }
    }
    QWidget::keyPressEvent(event);
  }
  void closeEvent(QCloseEvent* event) override { AskToClose(this, event); }
};

class DialogSubWindow : public QMdiSubWindow {
 protected:
  void closeEvent(QCloseEvent* event) override { AskToClose(widget(), event); }
};

class UpperCaseValidator : public QValidator {
 public:
  using QValidator::QValidator;
  State validate(QString& input, int&) const override {
    input = input.toUpper();
    return Acceptable;
  }
};

// An owner-drawn button paints through WM_PAINT, so subclass callbacks can draw into it.
class OwnerDrawButton : public QPushButton {
 public:
  using QPushButton::QPushButton;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    if (WindowRecord* record = FindByWidget(this)) {
      PaintScope scope(record->hwnd, &painter);
      SendMessage(record->hwnd, WM_PAINT, 0, 0);
    }
  }
};

QWidget* MakeEdit(const WindowRecord& record, const QString& text, QWidget* parent) {
  Hwnd hwnd = record.hwnd;
  uint32_t style = record.style;
  if (style & ES_MULTILINE) {
    auto* edit = new QPlainTextEdit(text, parent);
    edit->setReadOnly(style & ES_READONLY);
    edit->setLineWrapMode((style & (WS_HSCROLL | ES_AUTOHSCROLL)) ? QPlainTextEdit::NoWrap
                                                                  : QPlainTextEdit::WidgetWidth);
    edit->setVerticalScrollBarPolicy((style & WS_VSCROLL) ? Qt::ScrollBarAlwaysOn
                                                          : Qt::ScrollBarAlwaysOff);
    edit->setHorizontalScrollBarPolicy((style & WS_HSCROLL) ? Qt::ScrollBarAlwaysOn
                                                            : Qt::ScrollBarAlwaysOff);
    QObject::connect(edit, &QPlainTextEdit::textChanged, [hwnd] { Notify(hwnd, EN_CHANGE); });
    return edit;
  }
  auto* edit = new QLineEdit(text, parent);
  edit->setReadOnly(style & ES_READONLY);
  if (style & ES_PASSWORD) edit->setEchoMode(QLineEdit::Password);
  if (style & ES_UPPERCASE) edit->setValidator(new UpperCaseValidator(edit));
  if (style & ES_RIGHT) edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  if (style & ES_CENTER) edit->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
  edit->setFrame(style & WS_BORDER);
  QObject::connect(edit, &QLineEdit::textChanged, [hwnd] { Notify(hwnd, EN_CHANGE); });
  return edit;
}

QWidget* MakeControl(const WindowRecord& record, const QString& text, QWidget* parent) {
  Hwnd hwnd = record.hwnd;
  switch (record.kind) {
    case WidgetKind::kEdit:
      return MakeEdit(record, text, parent);
    case WidgetKind::kPushButton:
    case WidgetKind::kOwnerDrawButton: {
      QPushButton* button = record.kind == WidgetKind::kOwnerDrawButton
                                ? new OwnerDrawButton(text, parent)
                                : new QPushButton(text, parent);
      QObject::connect(button, &QPushButton::clicked, [hwnd] { Notify(hwnd, BN_CLICKED); });
      return button;
    }
    case WidgetKind::kCheckBox: {
      auto* box = new QCheckBox(text, parent);
      QObject::connect(box, &QCheckBox::clicked, [hwnd] { Notify(hwnd, BN_CLICKED); });
      return box;
    }
    case WidgetKind::kListBox: {
      auto* list = new QListWidget(parent);
      if (record.style & LBS_NOTIFY) {
        QObject::connect(list, &QListWidget::currentRowChanged,
                         [hwnd] { Notify(hwnd, LBN_SELCHANGE); });
      }
      return list;
    }
    case WidgetKind::kComboBox: {
      auto* combo = new QComboBox(parent);
      QObject::connect(combo, &QComboBox::currentIndexChanged,
                       [hwnd] { Notify(hwnd, CBN_SELCHANGE); });
      return combo;
    }
    case WidgetKind::kStatic:
      return new QLabel(text, parent);
    case WidgetKind::kMdiClient: {
      auto* area = new QMdiArea(parent);
      area->setBackground(QColor(171, 171, 171));
      return area;
    }
    default: {
      auto* plain = new QWidget(parent);
      plain->setWindowTitle(text);
      return plain;
    }
  }
}

void MakeDialog(WindowRecord& record, const QString& text, QWidget* parent) {
  auto* page = new DialogPage;
  page->setWindowTitle(text);
  record.widget = page;
  if (auto* area = qobject_cast<QMdiArea*>(parent)) {
    auto* sub = new DialogSubWindow;
    sub->setWidget(page);
    sub->setAttribute(Qt::WA_DeleteOnClose, false);
    sub->setWindowTitle(text);
    area->addSubWindow(sub);
    record.outer = sub;
  } else {
    page->setParent(parent, parent ? Qt::Widget : Qt::Window);
    record.outer = page;
  }
}

}  // namespace

WidgetKind KindOfClass(const std::string& class_name, uint32_t style, bool top_level) {
  QString name = QString::fromStdString(class_name).toLower();
  if (name == "edit") return WidgetKind::kEdit;
  if (name == "button") {
    switch (style & BS_TYPEMASK) {
      case BS_CHECKBOX:
      case BS_AUTOCHECKBOX:
        return WidgetKind::kCheckBox;
      case BS_OWNERDRAW:
        return WidgetKind::kOwnerDrawButton;
      default:
        return WidgetKind::kPushButton;
    }
  }
  if (name == "listbox") return WidgetKind::kListBox;
  if (name == "combobox") return WidgetKind::kComboBox;
  if (name == "static") return WidgetKind::kStatic;
  if (name == "mdiclient") return WidgetKind::kMdiClient;
  if (name == "#32770") return WidgetKind::kDialog;
  return top_level ? WidgetKind::kFrame : WidgetKind::kGeneric;
}

void MakeWidget(WindowRecord& record, std::string_view text, QWidget* parent_widget) {
  QString display = FromAnsi(text);
  if (record.kind == WidgetKind::kDialog) {
    MakeDialog(record, display, parent_widget);
  } else if (record.kind == WidgetKind::kFrame) {
    auto* frame = new FrameWidget;
    frame->setWindowTitle(display);
    frame->setCentralWidget(new QWidget);
    record.widget = frame;
    record.outer = frame;
  } else {
    record.widget = MakeControl(record, display, parent_widget);
    record.outer = record.widget;
  }
  record.widget->setProperty("zvHwnd", QVariant::fromValue<qlonglong>(record.hwnd));
  if (record.outer != record.widget) {
    record.outer->setProperty("zvHwnd", QVariant::fromValue<qlonglong>(record.hwnd));
  }
  record.outer->setEnabled(!(record.style & WS_DISABLED));
}

QWidget* ClientWidget(const WindowRecord& record) {
  if (auto* frame = qobject_cast<QMainWindow*>(record.widget.data())) {
    return frame->centralWidget();
  }
  return record.widget;
}

std::string WidgetText(const WindowRecord& record) {
  QWidget* w = record.widget;
  if (!w) return {};
  if (auto* line = qobject_cast<QLineEdit*>(w)) return ToAnsi(line->text());
  if (auto* text = qobject_cast<QPlainTextEdit*>(w)) {
    // The classic edit control keeps line breaks as CR LF.
    return ToAnsi(text->toPlainText().replace("\n", "\r\n"));
  }
  if (auto* button = qobject_cast<QAbstractButton*>(w)) return ToAnsi(button->text());
  if (auto* label = qobject_cast<QLabel*>(w)) return ToAnsi(label->text());
  if (auto* combo = qobject_cast<QComboBox*>(w)) return ToAnsi(combo->currentText());
  return ToAnsi(w->windowTitle());
}

void SetWidgetText(const WindowRecord& record, std::string_view bytes) {
  QWidget* w = record.widget;
  if (!w) return;
  QString text = FromAnsi(bytes);
  if (auto* line = qobject_cast<QLineEdit*>(w)) {
    line->setText(text);
    line->setCursorPosition(0);  // a new text shows from its first character, as on Windows
  } else if (auto* edit = qobject_cast<QPlainTextEdit*>(w)) {
    edit->setPlainText(text.replace("\r\n", "\n"));
  } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
    button->setText(text);
  } else if (auto* label = qobject_cast<QLabel*>(w)) {
    label->setText(text);
  } else {
    w->setWindowTitle(text);
    if (record.outer && record.outer != w) record.outer->setWindowTitle(text);
  }
}

}  // namespace win::internal
