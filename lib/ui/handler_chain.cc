#include "lib/ui/handler_chain.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <memory>
#include <optional>

#include "lib/ui/globals.h"
#include "platform/win/template_text.h"
#include "platform/win/window.h"
#include "resources/resources.h"

namespace ui {
namespace {

struct ChainEntry {
  win::WndProc previous = nullptr;  // entry 1 only
  Callback callback;
  Filter filter = 0;
};

struct HandlerRecord {
  Callback dialog_callback;                      // element 1
  std::optional<std::vector<ChainEntry>> chain;  // element 2
};

// Shared so that a record stays valid for a handler running while its window goes away.
std::map<Hwnd, std::shared_ptr<HandlerRecord>>& Records() {
  static std::map<Hwnd, std::shared_ptr<HandlerRecord>> records;
  return records;
}

std::shared_ptr<HandlerRecord> RecordOf(Hwnd hwnd) {
  auto it = Records().find(hwnd);
  return it == Records().end() ? nullptr : it->second;
}

Callback& PendingModalCallback() {
  static Callback pending;
  return pending;
}

void StoreLastParams(WPARAM wparam, LPARAM lparam) {
  Globals().last_wparam = wparam;
  Globals().last_lparam = lparam;
}

// Walks the chain from `start` (1-based) towards entry 1.
intptr_t WalkChain(const std::shared_ptr<HandlerRecord>& record, int start, Hwnd hwnd,
                   uint32_t message, WPARAM wparam, LPARAM lparam) {
  for (int position = start; position >= 1; --position) {
    if (!record->chain || position > static_cast<int>(record->chain->size())) return 0;
    ChainEntry entry = (*record->chain)[position - 1];  // a copy: the chain may grow meanwhile
    if (entry.previous) return win::CallWindowProc(entry.previous, hwnd, message, wparam, lparam);
    if (entry.filter.Takes(message)) return entry.callback(hwnd, message, wparam, lparam);
  }
  return 0;
}

win::LRESULT SubclassProc(Hwnd hwnd, uint32_t message, WPARAM wparam, LPARAM lparam) {
  std::shared_ptr<HandlerRecord> record = RecordOf(hwnd);
  if (!record || !record->chain) return win::DefWindowProc(hwnd, message, wparam, lparam);
  StoreLastParams(wparam, lparam);
  intptr_t result =
      WalkChain(record, static_cast<int>(record->chain->size()), hwnd, message, wparam, lparam);
  if (message == win::WM_NCDESTROY) Records().erase(hwnd);
  return result;
}

win::LRESULT DialogAdapter(Hwnd hwnd, uint32_t message, WPARAM wparam, LPARAM lparam) {
  std::shared_ptr<HandlerRecord> record = RecordOf(hwnd);
  if (!record && PendingModalCallback()) {
    record = std::make_shared<HandlerRecord>();
    record->dialog_callback = std::move(PendingModalCallback());
    PendingModalCallback() = nullptr;
    Records()[hwnd] = record;
  }
  if (!record || !record->dialog_callback) return 0;  // still being created
  StoreLastParams(wparam, lparam);
  Callback callback = record->dialog_callback;
  intptr_t result = callback(hwnd, message, wparam, lparam);
  if (message == win::WM_NCDESTROY && !record->chain) Records().erase(hwnd);
  return result;
}

std::map<std::string, win::DialogTemplate>& Templates() {
  static std::map<std::string, win::DialogTemplate> templates =
      win::ParseDialogTemplates(res::DialogTemplatesText()).dialogs;
  return templates;
}

std::string Upper(const std::string& name) {
  std::string upper = name;
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return upper;
}

}  // namespace

bool Filter::Takes(uint32_t message) const {
  return all_ || std::find(messages_.begin(), messages_.end(), message) != messages_.end();
}

int SubclassWindow(Hwnd hwnd, Callback callback, const Filter& filter) {
  if (!callback || !win::IsWindow(hwnd)) return 0;
  std::shared_ptr<HandlerRecord>& record = Records()[hwnd];
  if (!record) record = std::make_shared<HandlerRecord>();
  if (!record->chain) {
    auto previous = reinterpret_cast<win::WndProc>(win::GetWindowLongPtr(hwnd, win::GWLP_WNDPROC));
    win::SetWindowLongPtr(hwnd, win::GWLP_WNDPROC, reinterpret_cast<intptr_t>(&SubclassProc));
    record->chain.emplace();
    record->chain->push_back({previous, nullptr, 0});
  }
  record->chain->push_back({nullptr, std::move(callback), filter});
  return static_cast<int>(record->chain->size()) - 1;
}

intptr_t CALLWINDOWPROC(int position, Hwnd hwnd, uint32_t message, WPARAM wparam, LPARAM lparam) {
  std::shared_ptr<HandlerRecord> record = RecordOf(hwnd);
  if (!record || !record->chain || position < 1 ||
      position > static_cast<int>(record->chain->size()) - 1) {
    return 0;
  }
  return WalkChain(record, position, hwnd, message, wparam, lparam);
}

Hwnd CreateDialogFromDescription(const win::DialogTemplate& description, Hwnd parent,
                                 Callback callback) {
  Hwnd dialog = win::CreateDialogIndirect(description, parent, &DialogAdapter, 0);
  if (!dialog) return 0;
  auto record = std::make_shared<HandlerRecord>();
  record->dialog_callback = std::move(callback);
  Records()[dialog] = record;
  DialogAdapter(dialog, win::WM_INITDIALOG, 0, 0);
  return win::IsWindow(dialog) ? dialog : 0;
}

Hwnd CREATEDIALOG(int, const std::string& template_name, Hwnd parent, Callback callback) {
  const win::DialogTemplate* description = FindDialogTemplate(template_name);
  return description ? CreateDialogFromDescription(*description, parent, std::move(callback)) : 0;
}

intptr_t DIALOGBOX(int, const std::string& template_name, Hwnd owner, Callback callback) {
  const win::DialogTemplate* description = FindDialogTemplate(template_name);
  if (!description) return -1;
  PendingModalCallback() = std::move(callback);
  intptr_t result = win::DialogBoxIndirect(*description, owner, &DialogAdapter, 0);
  PendingModalCallback() = nullptr;
  return result;
}

bool REGISTERCLASS(const std::string& class_name) {
  return win::RegisterClass(class_name, &win::DefWindowProc);
}

bool HasHandlerRecord(Hwnd hwnd) { return RecordOf(hwnd) != nullptr; }

const win::DialogTemplate* FindDialogTemplate(const std::string& name) {
  auto it = Templates().find(Upper(name));
  return it == Templates().end() ? nullptr : &it->second;
}

std::string AddDialogTemplates(std::string_view text) {
  win::TemplateSet set = win::ParseDialogTemplates(text);
  if (!set.error.empty()) return set.error;
  for (auto& [name, description] : set.dialogs) Templates()[name] = std::move(description);
  return {};
}

}  // namespace ui
