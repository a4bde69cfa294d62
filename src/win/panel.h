#pragma once

#include <windows.h>

namespace dravlink::win {

// Class name of a plain framed panel: a child window that draws a sunken border with a raised
// bevel inside, and passes its children's colour requests and commands on to its own parent.
const char* PanelClass(HINSTANCE instance);

}  // namespace dravlink::win
