#include "platform/win/message_box.h"

#include <QMessageBox>
#include <deque>
#include <string>

#include "platform/win/log.h"
#include "platform/win/message.h"
#include "platform/win/registry.h"
#include "platform/win/text_codec.h"
#include "platform/win/window.h"

namespace win {
namespace {

std::deque<int>& ScriptedAnswers() {
  static std::deque<int> answers;
  return answers;
}

std::vector<int> ButtonsOf(uint32_t type) {
  switch (type & 0xF) {
    case MB_OKCANCEL:
      return {IDOK, IDCANCEL};
    case MB_ABORTRETRYIGNORE:
      return {IDABORT, IDRETRY, IDIGNORE};
    case MB_YESNOCANCEL:
      return {IDYES, IDNO, IDCANCEL};
    case MB_YESNO:
      return {IDYES, IDNO};
    case MB_RETRYCANCEL:
      return {IDRETRY, IDCANCEL};
    default:
      return {IDOK};
  }
}

int DefaultButton(uint32_t type) {
  std::vector<int> buttons = ButtonsOf(type);
  size_t index = (type & MB_DEFBUTTON3) ? 2 : (type & MB_DEFBUTTON2) ? 1 : 0;
  return buttons[index < buttons.size() ? index : 0];
}

QMessageBox::StandardButton QtButton(int id) {
  switch (id) {
    case IDCANCEL:
      return QMessageBox::Cancel;
    case IDABORT:
      return QMessageBox::Abort;
    case IDRETRY:
      return QMessageBox::Retry;
    case IDIGNORE:
      return QMessageBox::Ignore;
    case IDYES:
      return QMessageBox::Yes;
    case IDNO:
      return QMessageBox::No;
    default:
      return QMessageBox::Ok;
  }
}

QMessageBox::Icon QtIcon(uint32_t type) {
  switch (type & 0xF0) {
    case MB_ICONHAND:
      return QMessageBox::Critical;
    case MB_ICONQUESTION:
      return QMessageBox::Question;
    case MB_ICONEXCLAMATION:
      return QMessageBox::Warning;
    case MB_ICONASTERISK:
      return QMessageBox::Information;
    default:
      return QMessageBox::NoIcon;
  }
}

int ShowOnScreen(Hwnd owner, std::string_view text, std::string_view caption, uint32_t type) {
  internal::WindowRecord* record = internal::Find(owner);
  QMessageBox box(QtIcon(type), FromAnsi(caption), FromAnsi(text), QMessageBox::NoButton,
                  record ? record->outer.data() : nullptr);
  std::vector<int> buttons = ButtonsOf(type);
  for (int id : buttons) box.addButton(QtButton(id));
  box.setDefaultButton(QtButton(DefaultButton(type)));
  NestedLoopScope nested;
  int chosen = box.exec();
  for (int id : buttons) {
    if (QtButton(id) == chosen) return id;
  }
  return buttons.size() == 1 ? IDOK : IDCANCEL;  // closed with Escape or the close box
}

}  // namespace

int MessageBox(Hwnd owner, std::string_view text, std::string_view caption, uint32_t type) {
  EnsureApplication();
  std::string shown_caption(caption.empty() ? std::string_view("Error") : caption);
  if (!IsHeadless()) return ShowOnScreen(owner, text, shown_caption, type);
  Log("message box [" + shown_caption + "] " + std::string(text));
  {
    NestedLoopScope nested;
    DispatchPending();
  }
  if (ScriptedAnswers().empty()) return DefaultButton(type);
  int answer = ScriptedAnswers().front();
  ScriptedAnswers().pop_front();
  return answer;
}

void ScriptMessageBoxAnswers(std::vector<int> answers) {
  ScriptedAnswers().assign(answers.begin(), answers.end());
}

}  // namespace win
