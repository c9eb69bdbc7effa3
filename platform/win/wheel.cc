#include <QApplication>
#include <QWheelEvent>
#include <QWidget>
#include <algorithm>

#include "platform/win/message.h"
#include "platform/win/registry.h"
#include "platform/win/wheel_internal.h"

namespace win::internal {
namespace {

bool handing_back = false;  // set while ScrollNatively delivers a turn the filter must let pass

uint16_t KeyState(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) {
  uint16_t keys = 0;
  if (buttons & Qt::LeftButton) keys |= MK_LBUTTON;
  if (buttons & Qt::RightButton) keys |= MK_RBUTTON;
  if (buttons & Qt::MiddleButton) keys |= MK_MBUTTON;
  if (modifiers & Qt::ShiftModifier) keys |= MK_SHIFT;
  if (modifiers & Qt::ControlModifier) keys |= MK_CONTROL;
  return keys;
}

Qt::KeyboardModifiers ModifiersOf(uint16_t keys) {
  Qt::KeyboardModifiers modifiers;
  if (keys & MK_SHIFT) modifiers |= Qt::ShiftModifier;
  if (keys & MK_CONTROL) modifiers |= Qt::ControlModifier;
  return modifiers;
}

class WheelToQueue : public QObject {
 public:
  bool eventFilter(QObject* target, QEvent* event) override {
    if (event->type() != QEvent::Wheel || handing_back) return false;
    auto* widget = qobject_cast<QWidget*>(target);
    // Open drop-down lists are the toolkit's own popups: they scroll as they always do.
    if (!widget || widget->window()->windowType() == Qt::Popup) return false;
    auto* wheel = static_cast<QWheelEvent*>(event);
    int delta = std::clamp(wheel->angleDelta().y(), -32768, 32767);
    WindowRecord* record = FindByWidget(widget);
    if (delta == 0 || !record) return false;  // sideways turns and foreign widgets pass
    QPoint at = wheel->globalPosition().toPoint();
    PostMessage(record->hwnd, WM_MOUSEWHEEL,
                MakeWParam(KeyState(wheel->buttons(), wheel->modifiers()),
                           static_cast<uint16_t>(static_cast<int16_t>(delta))),
                MakeLParam(static_cast<uint16_t>(at.x()), static_cast<uint16_t>(at.y())));
    return true;  // the widget never sees it: no second delivery
  }
};

}  // namespace

void InstallWheelFilter() {
  static WheelToQueue* filter = nullptr;  // lives as long as the application
  if (filter) return;
  filter = new WheelToQueue;
  QCoreApplication::instance()->installEventFilter(filter);
}

void ScrollNatively(Hwnd hwnd, WPARAM wparam, LPARAM lparam) {
  WindowRecord* record = Find(hwnd);
  if (!record || !record->widget) return;
  QWidget* own = record->widget;
  QPoint global(static_cast<int16_t>(LoWord(static_cast<uintptr_t>(lparam))),
                static_cast<int16_t>(HiWord(static_cast<uintptr_t>(lparam))));
  // The part of the window under the pointer (a scroll area's viewport), never a child window.
  QWidget* target = own->childAt(own->mapFromGlobal(global));
  if (!target || FindByWidget(target) != record) target = own;
  auto delta = static_cast<int16_t>(HiWord(wparam));
  QWheelEvent turn(target->mapFromGlobal(QPointF(global)), QPointF(global), QPoint(),
                   QPoint(0, delta), Qt::NoButton, ModifiersOf(LoWord(wparam)), Qt::NoScrollPhase,
                   false);
  handing_back = true;
  QApplication::sendEvent(target, &turn);
  handing_back = false;
}

}  // namespace win::internal
