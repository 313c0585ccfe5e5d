// An icon read from its file only when something first asks for a picture of it.
#pragma once

#include <QIcon>

// Many platforms never show a window's icon, and where one does, it asks once the window is up; reading a large
// picture in advance would only slow the start.
QIcon IkonaNaZadanie(const QString& plik);
