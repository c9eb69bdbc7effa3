#pragma once
// The toolbar dialog: a strip made from a template inside the frame window itself (not in its
// MDI client), across the top of the frame's client area and as high as the template. The
// frame lays its MDI client out below it.

#include <string>

#include "lib/ui/wdialog.h"

namespace ui {

class WTOOLBARDIALOG : public WDIALOG {
 public:
  ~WTOOLBARDIALOG() override;
  // Makes the strip from the named template of the resources with `frame` as parent; when the
  // frame is the application's MDI frame, it becomes the frame's toolbar and the MDI client
  // moves below it. Returns this, or null when no window was made.
  WTOOLBARDIALOG* Init(WindowObject* frame, const std::string& template_name);
  // The strip's height in pixels (its client area's); 0 without a window.
  int Height() const;
  // Stretches the strip across `width` pixels at the top of the parent's client area.
  void FitWidth(int width);

 protected:
  bool IsMdiChild() const override { return false; }
  Result OnNCDESTROY(WPARAM wparam, LPARAM lparam) override;

 private:
  void LeaveFrame();
};

}  // namespace ui
