// The default error report: a standard critical box captioned "Vokara" with one OK.
#pragma once

#include <QString>

#include <functional>

namespace vokara {

// Shows an error that reached an event handler; the program then carries on with the next event.
void ZglosBlad(const QString& tekst);

// Replaces the report (tests record the text instead of showing a box); an empty function restores the box.
void UstawRaportBledow(std::function<void(const QString&)> raport);

} // namespace vokara
