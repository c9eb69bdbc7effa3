#include "frame/toolbar/mtoolbar.h"

namespace frame {

ui::WindowObject* NewFrameToolbar(ui::WindowObject*) { return nullptr; }

std::string GET_NEGOCIO() { return {}; }

}  // namespace frame
