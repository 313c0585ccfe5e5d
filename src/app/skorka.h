// The window skin: a style sheet in the help folder beside the program.
#pragma once

#include <QString>

namespace vokara {

// Applies <program folder>/pomoc/<name>.qss to the whole program; a missing skin leaves the default look, silently.
void AktywujSkorke(const QString& nazwa);

} // namespace vokara
