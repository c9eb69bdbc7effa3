// Window procedures of the built-in control classes: they answer the control messages from
// the state of their Qt widget and leave everything else to DefWindowProc.

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <algorithm>
#include <optional>

#include "platform/win/gdi.h"
#include "platform/win/registry.h"
#include "platform/win/text_codec.h"
#include "platform/win/window.h"

namespace win::internal {
namespace {

template <typename W>
W* WidgetAs(Hwnd hwnd) {
  WindowRecord* r = Find(hwnd);
  return r ? qobject_cast<W*>(r->widget.data()) : nullptr;
}

QString TextArg(LPARAM lparam) {
  return lparam ? FromAnsi(reinterpret_cast<const char*>(lparam)) : QString();
}

LRESULT LineEditMessage(QLineEdit* edit, uint32_t msg, WPARAM wparam, LPARAM lparam) {
  switch (msg) {
    case EM_GETSEL: {
      int start = edit->hasSelectedText() ? edit->selectionStart() : edit->cursorPosition();
      int end = edit->hasSelectedText() ? edit->selectionEnd() : start;
      if (wparam) *reinterpret_cast<uint32_t*>(wparam) = static_cast<uint32_t>(start);
      if (lparam) *reinterpret_cast<uint32_t*>(lparam) = static_cast<uint32_t>(end);
      return static_cast<LRESULT>(start | (end << 16));
    }
    case EM_SETSEL: {
      int from = static_cast<int>(static_cast<intptr_t>(wparam));
      int to = static_cast<int>(lparam);
      if (from < 0) {
        edit->deselect();
        return 0;
      }
      if (to < 0 || to > edit->text().size()) to = static_cast<int>(edit->text().size());
      edit->setSelection(from, to - from);
      return 0;
    }
    case EM_GETMODIFY:
      return edit->isModified() ? 1 : 0;
    case EM_SETMODIFY:
      edit->setModified(wparam != 0);
      return 0;
    case EM_REPLACESEL:
      edit->insert(TextArg(lparam));
      return 0;
    case EM_CANUNDO:
      return edit->isUndoAvailable() ? 1 : 0;
    case EM_UNDO:
    case WM_UNDO:
      edit->undo();
      return 1;
    case WM_CUT:
      edit->cut();
      return 0;
    case WM_COPY:
      edit->copy();
      return 0;
    case WM_PASTE:
      edit->paste();
      return 0;
    case EM_SETREADONLY:
      edit->setReadOnly(wparam != 0);
      return 1;
    default:
      return -1;
  }
}

LRESULT TextEditMessage(QPlainTextEdit* edit, uint32_t msg, WPARAM wparam, LPARAM lparam) {
  QTextCursor cursor = edit->textCursor();
  switch (msg) {
    case EM_GETSEL: {
      int start = cursor.selectionStart();
      int end = cursor.selectionEnd();
      if (wparam) *reinterpret_cast<uint32_t*>(wparam) = static_cast<uint32_t>(start);
      if (lparam) *reinterpret_cast<uint32_t*>(lparam) = static_cast<uint32_t>(end);
      return static_cast<LRESULT>(start | (end << 16));
    }
    case EM_SETSEL: {
      int from = static_cast<int>(static_cast<intptr_t>(wparam));
      int length = static_cast<int>(edit->document()->characterCount()) - 1;
      int to = static_cast<int>(lparam);
      if (from < 0) {
        cursor.clearSelection();
      } else {
        if (to < 0 || to > length) to = length;
        cursor.setPosition(std::min(from, length));
        cursor.setPosition(to, QTextCursor::KeepAnchor);
      }
      edit->setTextCursor(cursor);
      return 0;
    }
    case EM_LINESCROLL:
      edit->verticalScrollBar()->setValue(edit->verticalScrollBar()->value() +
                                          static_cast<int>(lparam));
      return 1;
    case EM_GETMODIFY:
      return edit->document()->isModified() ? 1 : 0;
    case EM_SETMODIFY:
      edit->document()->setModified(wparam != 0);
      return 0;
    case EM_REPLACESEL:
      edit->insertPlainText(TextArg(lparam).replace("\r\n", "\n"));
      return 0;
    case EM_CANUNDO:
      return edit->document()->isUndoAvailable() ? 1 : 0;
    case EM_UNDO:
    case WM_UNDO:
      edit->undo();
      return 1;
    case WM_CUT:
      edit->cut();
      return 0;
    case WM_COPY:
      edit->copy();
      return 0;
    case WM_PASTE:
      edit->paste();
      return 0;
    case EM_SETREADONLY:
      edit->setReadOnly(wparam != 0);
      return 1;
    default:
      return -1;
  }
}

}  // namespace

LRESULT EditProc(Hwnd hwnd, uint32_t msg, WPARAM wparam, LPARAM lparam) {
  LRESULT result = -1;
  if (auto* line = WidgetAs<QLineEdit>(hwnd)) {
    result = LineEditMessage(line, msg, wparam, lparam);
  } else if (auto* text = WidgetAs<QPlainTextEdit>(hwnd)) {
    result = TextEditMessage(text, msg, wparam, lparam);
  }
  return result == -1 ? DefWindowProc(hwnd, msg, wparam, lparam) : result;
}

LRESULT ButtonProc(Hwnd hwnd, uint32_t msg, WPARAM wparam, LPARAM lparam) {
  WindowRecord* r = Find(hwnd);
  switch (msg) {
    case BM_GETCHECK:
      if (auto* box = WidgetAs<QCheckBox>(hwnd)) return box->isChecked() ? 1 : 0;
      return 0;
    case BM_SETCHECK:
      if (auto* box = WidgetAs<QCheckBox>(hwnd)) box->setChecked(wparam != 0);
      return 0;
    case BM_CLICK:
      if (auto* button = WidgetAs<QAbstractButton>(hwnd)) button->click();
      return 0;
    case WM_PAINT:
      // An owner-drawn button asks its owner to draw it; undrawn it stays blank.
      if (r && r->kind == WidgetKind::kOwnerDrawButton) {
        DrawItem item{hwnd, r->id, BeginPaint(hwnd), GetClientRect(hwnd),
                      WidgetAs<QAbstractButton>(hwnd)->isDown()};
        SendMessage(r->parent, WM_DRAWITEM, static_cast<WPARAM>(r->id),
                    reinterpret_cast<LPARAM>(&item));
        EndPaint(hwnd);
      }
      return 0;
    default:
      return DefWindowProc(hwnd, msg, wparam, lparam);
  }
}

namespace {

// The item-list messages list boxes and combo boxes share, under their own numbers.
struct ListMessages {
  uint32_t add, reset, set_current, get_current, count;
};
constexpr ListMessages kListBoxMessages{LB_ADDSTRING, LB_RESETCONTENT, LB_SETCURSEL, LB_GETCURSEL,
                                        LB_GETCOUNT};
constexpr ListMessages kComboBoxMessages{CB_ADDSTRING, CB_RESETCONTENT, CB_SETCURSEL, CB_GETCURSEL,
                                         CB_GETCOUNT};

// Answers one of the shared item-list messages; nullopt for any other message.
template <typename Widget>
std::optional<LRESULT> ListMessage(Widget* widget, const ListMessages& ids,
                                   int (Widget::*current)() const, void (Widget::*set_current)(int),
                                   uint32_t msg, WPARAM wparam, LPARAM lparam) {
  if (msg == ids.add) {
    widget->addItem(TextArg(lparam));
    return widget->count() - 1;
  }
  if (msg == ids.reset) {
    widget->clear();
    return 0;
  }
  if (msg == ids.set_current) {
    (widget->*set_current)(static_cast<int>(static_cast<intptr_t>(wparam)));
    return (widget->*current)();
  }
  if (msg == ids.get_current) return (widget->*current)();
  if (msg == ids.count) return widget->count();
  return std::nullopt;
}

}  // namespace

LRESULT ListBoxProc(Hwnd hwnd, uint32_t msg, WPARAM wparam, LPARAM lparam) {
  auto* list = WidgetAs<QListWidget>(hwnd);
  if (!list) return DefWindowProc(hwnd, msg, wparam, lparam);
  if (auto answer = ListMessage(list, kListBoxMessages, &QListWidget::currentRow,
                                &QListWidget::setCurrentRow, msg, wparam, lparam)) {
    return *answer;
  }
  return DefWindowProc(hwnd, msg, wparam, lparam);
}

LRESULT ComboBoxProc(Hwnd hwnd, uint32_t msg, WPARAM wparam, LPARAM lparam) {
  auto* combo = WidgetAs<QComboBox>(hwnd);
  if (!combo) return DefWindowProc(hwnd, msg, wparam, lparam);
  if (auto answer = ListMessage(combo, kComboBoxMessages, &QComboBox::currentIndex,
                                &QComboBox::setCurrentIndex, msg, wparam, lparam)) {
    return *answer;
  }
  if (msg == WM_KEYDOWN) {
    // The arrow keys step through the list, as they do when the list is closed.
    if ((wparam == VK_UP || wparam == VK_DOWN) && combo->count() > 0) {
      int step = wparam == VK_UP ? -1 : 1;
      combo->setCurrentIndex(std::clamp(combo->currentIndex() + step, 0, combo->count() - 1));
    }
    return 0;
  }
  return DefWindowProc(hwnd, msg, wparam, lparam);
}

}  // namespace win::internal
