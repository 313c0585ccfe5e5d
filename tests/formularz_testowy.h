// The controls of the main window's forms by their names, found by object name (every page made first), so a test
// reaches any control as `ui.ButSprawdz` whichever page's form holds it. Over a single page, the controls of the
// other forms are null.
#pragma once

#include "fglowny.h"
#include "runda.h"
#include "wyborzestawu.h"

#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolButton>
#include <QWidget>

namespace testy {

template <typename T> T* Kontrolka(QWidget& okno, const char* nazwa)
{
    if (auto* glowne = qobject_cast<TFGlowny*>(&okno))
        glowne->ZbudujStrony();
    if (okno.objectName() == QLatin1String(nazwa))
        return qobject_cast<T*>(&okno);
    return okno.findChild<T*>(QString::fromLatin1(nazwa));
}

struct Formularz {
    explicit Formularz(QWidget& okno);

    QTabWidget* PStrony;
    QWidget* SPowitanie;
    QLabel* LPowitanie;
    QPushButton* ButMojeZestawy;
    QPushButton* ButPostepy;
    QPushButton* ButAktualizacja;
    QWidget* STestWyboru;
    QLabel* SWybierzZestaw;
    QLabel* LWyraz;
    QLabel* LOznacza;
    QLabel* Lw1;
    QLabel* LW2;
    QLabel* LW3;
    QLabel* LDanyWyraz;
    QLabel* LIpa;
    QToolButton* BSluchajWyraz_0;
    QToolButton* BSluchajWyraz_1;
    QToolButton* BSluchajWyraz_2;
    QToolButton* BSluchajWyraz_3;
    QLabel* LKomentarz;
    QFrame* sBevel1;
    QLabel* LNaglowek_1;
    TWyborZestawu* CZestawSlow;
    QGroupBox* RJezyk;
    QRadioButton* RJezyk_0;
    QRadioButton* RJezyk_1;
    QPushButton* ButSprawdz;
    QPushButton* ButNastepny;
    QWidget* sWpisSlowa;
    QLabel* LWybierzZestaw2;
    QLabel* LKomentarz2;
    QLabel* LWyraz2;
    QLabel* LDanyWyraz2;
    QLabel* LIpa2;
    QLabel* LOznacza2;
    QToolButton* BSluchajWyrazWpis;
    QFrame* sBevel2;
    QLabel* LNaglowek_2;
    QLineEdit* EWpis2;
    TWyborZestawu* CZestawSlow2;
    QPushButton* ButNastepny2;
    QPushButton* ButUznaj2;
    QPushButton* ButSprawdz2;
    QGroupBox* RJezyk2;
    QRadioButton* RJezyk2_0;
    QRadioButton* RJezyk2_1;
    QWidget* sSluchanie;
    QLabel* LNaglowek3;
    QLabel* LWybierzZestaw3;
    QLabel* LKomentarz3;
    QToolButton* BSluchajSlowo;
    QLabel* LWyraz3;
    QLabel* LIpa3;
    QLabel* LOznacza3;
    TWyborZestawu* CZestawSlow3;
    QLineEdit* EWpis3;
    QPushButton* ButSprawdz3;
    QPushButton* ButNastepny3;
    QPushButton* ButUznaj3;
    QWidget* sSluchanieSlowa;
    QLabel* LNaglowek4;
    QLabel* LTekst;
    QLineEdit* EWpis4;
    QPushButton* BNastepny4;
};

inline Formularz::Formularz(QWidget& okno)
    : PStrony(Kontrolka<QTabWidget>(okno, "PStrony")), SPowitanie(Kontrolka<QWidget>(okno, "SPowitanie")),
      LPowitanie(Kontrolka<QLabel>(okno, "LPowitanie")), ButMojeZestawy(Kontrolka<QPushButton>(okno, "ButMojeZestawy")),
      ButPostepy(Kontrolka<QPushButton>(okno, "ButPostepy")),
      ButAktualizacja(Kontrolka<QPushButton>(okno, "ButAktualizacja")),
      STestWyboru(Kontrolka<QWidget>(okno, "STestWyboru")), SWybierzZestaw(Kontrolka<QLabel>(okno, "SWybierzZestaw")),
      LWyraz(Kontrolka<QLabel>(okno, "LWyraz")), LOznacza(Kontrolka<QLabel>(okno, "LOznacza")),
      Lw1(Kontrolka<QLabel>(okno, "Lw1")), LW2(Kontrolka<QLabel>(okno, "LW2")), LW3(Kontrolka<QLabel>(okno, "LW3")),
      LDanyWyraz(Kontrolka<QLabel>(okno, "LDanyWyraz")), LIpa(Kontrolka<QLabel>(okno, "LIpa")),
      BSluchajWyraz_0(Kontrolka<QToolButton>(okno, "BSluchajWyraz_0")),
      BSluchajWyraz_1(Kontrolka<QToolButton>(okno, "BSluchajWyraz_1")),
      BSluchajWyraz_2(Kontrolka<QToolButton>(okno, "BSluchajWyraz_2")),
      BSluchajWyraz_3(Kontrolka<QToolButton>(okno, "BSluchajWyraz_3")),
      LKomentarz(Kontrolka<QLabel>(okno, "LKomentarz")), sBevel1(Kontrolka<QFrame>(okno, "sBevel1")),
      LNaglowek_1(Kontrolka<QLabel>(okno, "LNaglowek_1")), CZestawSlow(Kontrolka<TWyborZestawu>(okno, "CZestawSlow")),
      RJezyk(Kontrolka<QGroupBox>(okno, "RJezyk")), RJezyk_0(Kontrolka<QRadioButton>(okno, "RJezyk_0")),
      RJezyk_1(Kontrolka<QRadioButton>(okno, "RJezyk_1")), ButSprawdz(Kontrolka<QPushButton>(okno, "ButSprawdz")),
      ButNastepny(Kontrolka<QPushButton>(okno, "ButNastepny")), sWpisSlowa(Kontrolka<QWidget>(okno, "sWpisSlowa")),
      LWybierzZestaw2(Kontrolka<QLabel>(okno, "LWybierzZestaw2")), LKomentarz2(Kontrolka<QLabel>(okno, "LKomentarz2")),
      LWyraz2(Kontrolka<QLabel>(okno, "LWyraz2")), LDanyWyraz2(Kontrolka<QLabel>(okno, "LDanyWyraz2")),
      LIpa2(Kontrolka<QLabel>(okno, "LIpa2")), LOznacza2(Kontrolka<QLabel>(okno, "LOznacza2")),
      BSluchajWyrazWpis(Kontrolka<QToolButton>(okno, "BSluchajWyrazWpis")), sBevel2(Kontrolka<QFrame>(okno, "sBevel2")),
      LNaglowek_2(Kontrolka<QLabel>(okno, "LNaglowek_2")), EWpis2(Kontrolka<QLineEdit>(okno, "EWpis2")),
      CZestawSlow2(Kontrolka<TWyborZestawu>(okno, "CZestawSlow2")),
      ButNastepny2(Kontrolka<QPushButton>(okno, "ButNastepny2")), ButUznaj2(Kontrolka<QPushButton>(okno, "ButUznaj2")),
      ButSprawdz2(Kontrolka<QPushButton>(okno, "ButSprawdz2")), RJezyk2(Kontrolka<QGroupBox>(okno, "RJezyk2")),
      RJezyk2_0(Kontrolka<QRadioButton>(okno, "RJezyk2_0")), RJezyk2_1(Kontrolka<QRadioButton>(okno, "RJezyk2_1")),
      sSluchanie(Kontrolka<QWidget>(okno, "sSluchanie")), LNaglowek3(Kontrolka<QLabel>(okno, "LNaglowek3")),
      LWybierzZestaw3(Kontrolka<QLabel>(okno, "LWybierzZestaw3")), LKomentarz3(Kontrolka<QLabel>(okno, "LKomentarz3")),
      BSluchajSlowo(Kontrolka<QToolButton>(okno, "BSluchajSlowo")), LWyraz3(Kontrolka<QLabel>(okno, "LWyraz3")),
      LIpa3(Kontrolka<QLabel>(okno, "LIpa3")), LOznacza3(Kontrolka<QLabel>(okno, "LOznacza3")),
      CZestawSlow3(Kontrolka<TWyborZestawu>(okno, "CZestawSlow3")), EWpis3(Kontrolka<QLineEdit>(okno, "EWpis3")),
      ButSprawdz3(Kontrolka<QPushButton>(okno, "ButSprawdz3")),
      ButNastepny3(Kontrolka<QPushButton>(okno, "ButNastepny3")), ButUznaj3(Kontrolka<QPushButton>(okno, "ButUznaj3")),
      sSluchanieSlowa(Kontrolka<QWidget>(okno, "sSluchanieSlowa")), LNaglowek4(Kontrolka<QLabel>(okno, "LNaglowek4")),
      LTekst(Kontrolka<QLabel>(okno, "LTekst")), EWpis4(Kontrolka<QLineEdit>(okno, "EWpis4")),
      BNastepny4(Kontrolka<QPushButton>(okno, "BNastepny4"))
{
}

} // namespace testy
