// Program-wide state in one owned object, so a test can build a fresh program.
#pragma once

#include "dane.h"
#include "losowanie.h"
#include "pamiec.h"

struct StanProgramu {
    vokara::Dane dane;     // the sets on offer
    vokara::Losowanie los; // the one generator every page draws from
    vokara::Pamiec pamiec; // every checked answer, opened once the main window shows
};
