// Work put off until a window has first been painted, so it never delays what the user sees first.
#pragma once

#include <functional>

class QWidget;

namespace vokara {

// Runs `co` once, right after the first time `okno` has been painted.
void PoPierwszymMalowaniu(QWidget* okno, std::function<void()> co);

} // namespace vokara
