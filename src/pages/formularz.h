// The main window's form with its four exercise pages, one name for every control. The window and the welcome
// page are made with the window; an exercise page's controls only when the page is first wanted, so until then
// their pointers here are null.
#pragma once

#include "ui_fglowny.h"
#include "ui_stronaodsluchu.h"
#include "ui_stronasluchu.h"
#include "ui_stronatestu.h"
#include "ui_stronawpisu.h"

struct FormularzGlowny : Ui::TFGlowny, Ui::TStronaTestu, Ui::TStronaWpisu, Ui::TStronaSluchu, Ui::TStronaOdsluchu {};
