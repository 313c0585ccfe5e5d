// The two network base addresses: compiled-in defaults that the environment can replace.
#pragma once

#include <QString>

namespace vokara {

// Scheme, host and optional port of the online dictionary, without a trailing slash (VOKARA_DICTIONARY_URL).
QString AdresSlownika();
// The same for the program's home site (VOKARA_HOME_URL).
QString AdresDomowy();

// Whether an address points anywhere: the built-in defaults lie under the reserved `.invalid` domain, which no
// name server ever answers, so such an address (or none at all) means that nothing was set up.
bool AdresUstawiony(const QString& adres);

} // namespace vokara
