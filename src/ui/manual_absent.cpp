#include "ui/manual_source.h"

// Linked only while the program is built without its manual page.
std::unique_ptr<IndexedImage> loadManualPage(HWND) { return nullptr; }
