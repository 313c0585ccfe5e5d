// Choice test: states, option picking, the check and the loudspeakers.
#include "stronatestu.h"

#include "formularz.h"
#include "fwarning.h"
#include "tekst.h"

#include <QAbstractItemView>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QRegularExpression>

namespace {
const QColor KolorOpcji(44, 47, 43);
}

StronaTestu::StronaTestu(StanProgramu& stan, FormularzGlowny& ui, TFWarning& warning, Wymowa wymow, QObject* parent)
    : Cwiczenie(stan, ui, warning, std::move(wymow), parent)
{
    Powiaz(ui.CZestawSlow, ui.LKomentarz, ui.ButNastepny,
           QStringLiteral("Wybierz któryś z zestawów słów i tryb pracy"));
    connect(ui.ButNastepny, &QPushButton::clicked, this, &StronaTestu::ButNastepnyClick);
    connect(ui.ButSprawdz, &QPushButton::clicked, this, &StronaTestu::SprawdzTest);
    for (int n = 0; n <= 3; ++n) {
        auto* glosnik = static_cast<QAbstractButton*>(Glosnik(n));
        connect(glosnik, &QAbstractButton::clicked, this, [this, n] { BSluchajWyrazClick(n); });
        glosnik->setAccessibleName(n == 0 ? QStringLiteral("Odsłuchaj podane słowo")
                                          : QStringLiteral("Odsłuchaj odpowiedź %1").arg(n));
    }
    for (int n = 1; n <= 3; ++n) {
        Opcja(n)->installEventFilter(this);
        Opcja(n)->setAccessibleName(QStringLiteral("Odpowiedź %1").arg(n));
        Opcja(n)->setCursor(Qt::PointingHandCursor);
        // Tab reaches the options in reading order, between the direction and the check; Space picks one.
        Opcja(n)->setFocusPolicy(Qt::StrongFocus);
    }
    QWidget::setTabOrder(ui.RJezyk_1, ui.Lw1);
    QWidget::setTabOrder(ui.Lw1, ui.LW2);
    QWidget::setTabOrder(ui.LW2, ui.LW3);
    QWidget::setTabOrder(ui.LW3, ui.ButSprawdz);
    // Keys 1, 2, 3 and Enter work wherever the focus is in the window while this page is in front (a hidden
    // "Następny" hands the focus on to whatever comes next, the tab bar included).
    QCoreApplication::instance()->installEventFilter(this);
}

int StronaTestu::Tryb() const
{
    return IndeksTrybu(ui.RJezyk);
}

QLabel* StronaTestu::Opcja(int n) const
{
    Q_ASSERT(n >= 1 && n <= 3);
    return n == 1 ? ui.Lw1 : n == 2 ? ui.LW2 : ui.LW3;
}

QWidget* StronaTestu::Glosnik(int n) const
{
    switch (n) {
    case 0:
        return ui.BSluchajWyraz_0;
    case 1:
        return ui.BSluchajWyraz_1;
    case 2:
        return ui.BSluchajWyraz_2;
    default:
        return ui.BSluchajWyraz_3;
    }
}

void StronaTestu::UstawKolorOpcji(int n, const QColor& kolor)
{
    // The label's own style sheet holds its font and colour; only the colour changes.
    QString styl = Opcja(n)->styleSheet();
    static const QRegularExpression kolorWzor(QStringLiteral("(?<![-\\w])color\\s*:[^;]*;?"));
    styl.remove(kolorWzor);
    styl = styl.trimmed();
    if (!styl.isEmpty() && !styl.endsWith(QLatin1Char(';')))
        styl += QLatin1Char(';');
    styl += QStringLiteral(" color: %1;").arg(kolor.name());
    Opcja(n)->setStyleSheet(styl);
}

void StronaTestu::UkryjTest()
{
    for (QWidget* w : {static_cast<QWidget*>(ui.Lw1), static_cast<QWidget*>(ui.LW2), static_cast<QWidget*>(ui.LW3),
                       Glosnik(0), Glosnik(1), Glosnik(2), Glosnik(3), static_cast<QWidget*>(ui.ButSprawdz),
                       static_cast<QWidget*>(ui.ButNastepny), static_cast<QWidget*>(ui.LWyraz),
                       static_cast<QWidget*>(ui.LOznacza), static_cast<QWidget*>(ui.LDanyWyraz)})
        w->hide();
    ui.LKomentarz->setText(QStringLiteral("Wybierz któryś z zestawów słów i tryb pracy"));
    UkryjPostep();
}

void StronaTestu::PoWczytaniu()
{
    Pokaz(stan.runda.NaglowekWyraz(), ui.LWyraz);
    Pokaz(stan.runda.NaglowekOznacza(), ui.LOznacza);
    ui.RJezyk->setEnabled(true);
}

void StronaTestu::PokazTest()
{
    ui.LDanyWyraz->show();
    // A set of fewer than three entries shows only the options that exist.
    for (int n = 1; n <= 3; ++n)
        Opcja(n)->setVisible(n <= liczbaOpcji_);
    ui.ButSprawdz->show();
    ui.ButNastepny->hide();
    ui.LKomentarz->clear();
    ui.LWyraz->show();
    ui.LOznacza->show();
    Wybrana = -1;
    for (int n = 1; n <= 3; ++n) {
        UstawKolorOpcji(n, KolorOpcji);
        Opcja(n)->setAccessibleDescription(QString());
    }
    const int d = Tryb();
    Glosnik(0)->setVisible(d == 0);
    for (int n = 1; n <= 3; ++n)
        Glosnik(n)->setVisible(d != 0 && n <= liczbaOpcji_);
}

void StronaTestu::WypelnijTest()
{
    const int d = Tryb();
    const auto opcje = stan.runda.UlozOpcje(d);
    Pokaz(opcje.Dany, ui.LDanyWyraz);
    liczbaOpcji_ = int(opcje.Indeksy.size());
    for (int n = 1; n <= 3; ++n) {
        if (n <= liczbaOpcji_) {
            const auto& wyraz = stan.runda.Wyrazy()[std::size_t(opcje.Indeksy[std::size_t(n - 1)])];
            opcje_[std::size_t(n - 1)] = d == 0 ? wyraz.Polski : wyraz.Angielski;
        } else {
            opcje_[std::size_t(n - 1)].clear();
        }
        Pokaz(opcje_[std::size_t(n - 1)], Opcja(n));
        // A listener hears the word itself, not only the option's number.
        Opcja(n)->setAccessibleName(QStringLiteral("Odpowiedź %1: %2").arg(n).arg(Opcja(n)->text()));
    }
}

void StronaTestu::NastepnyTest()
{
    // The search starts after the first entry every time, so a wrong answer is asked again at once.
    if (stan.runda.NastepnyOdPoczatku() >= 0) {
        stan.runda.LosujInne();
        WypelnijTest();
        PokazTest();
    } else {
        KoniecRundy();
    }
}

void StronaTestu::ButNastepnyClick()
{
    NastepnyTest();
    ui.RJezyk->setEnabled(false); // the direction stays locked until a set is picked again
}

void StronaTestu::WybierzOpcje(int n)
{
    if (n < 1 || n > liczbaOpcji_ || !Opcja(n)->isVisible())
        return;
    for (int k = 1; k <= 3; ++k) {
        UstawKolorOpcji(k, KolorOpcji);
        Opcja(k)->setAccessibleDescription(QString());
    }
    UstawKolorOpcji(n, stan.KolorWyboru);
    Opcja(n)->setAccessibleDescription(QStringLiteral("wybrana"));
    Wybrana = n;
}

void StronaTestu::SprawdzTest()
{
    if (!JestBiezacy())
        return;
    if (Wybrana < 1 || Wybrana > liczbaOpcji_) {
        warning.Komunikat(vokara::komunikat::Informacja, vokara::komunikat::IkonaInformacji,
                          QStringLiteral("Wybierz jedną z odpowiedzi"));
        return;
    }
    const int d = Tryb();
    if (opcje_[std::size_t(Wybrana - 1)] != stan.runda.PoprawnaOdpowiedz(d)) {
        Pokaz(stan.runda.Nagana(d), ui.LKomentarz);
    } else {
        stan.runda.BiezacyWyraz().Zaliczony = true;
        Pokaz(stan.runda.Pochwala(), ui.LKomentarz);
    }
    ui.ButSprawdz->hide();
    ui.ButNastepny->show();
    Odpowiedziano(d);
}

void StronaTestu::BSluchajWyrazClick(int n)
{
    const int d = Tryb();
    if (n == 0) {
        if (d == 0 && JestBiezacy())
            wymow(Biezacy().Angielski);
    } else if (d == 1 && n <= liczbaOpcji_ && JestBiezacy()) {
        wymow(opcje_[std::size_t(n - 1)]);
    }
}

bool StronaTestu::eventFilter(QObject* obiekt, QEvent* zdarzenie)
{
    // Every event of the program passes here (the filter is application-wide): all but keys and releases leave at
    // once, before any look at the object.
    const auto typ = zdarzenie->type();
    if (typ != QEvent::KeyPress && typ != QEvent::MouseButtonRelease)
        return false;
    if (typ == QEvent::MouseButtonRelease) {
        auto* mysz = static_cast<QMouseEvent*>(zdarzenie);
        for (int n = 1; n <= 3; ++n) {
            // A click: the left button released over the option it was pressed on.
            if (obiekt == Opcja(n) && mysz->button() == Qt::LeftButton &&
                Opcja(n)->rect().contains(mysz->position().toPoint())) {
                WybierzOpcje(n);
                return true;
            }
        }
    }
    auto* cel = qobject_cast<QWidget*>(obiekt);
    if (zdarzenie->type() == QEvent::KeyPress && cel && cel->window() == ui.STestWyboru->window() &&
        ui.PStrony->currentWidget() == ui.STestWyboru) {
        auto* klawisz = static_cast<QKeyEvent*>(zdarzenie);
        // Alt+L plays the given English word, as in the answer fields of the other pages.
        if (klawisz->key() == Qt::Key_L && (klawisz->modifiers() & ~Qt::KeypadModifier) == Qt::AltModifier) {
            BSluchajWyrazClick(0);
            return true;
        }
        if (klawisz->modifiers() & ~Qt::KeypadModifier)
            return false;
        // An open picker list keeps its own keys.
        if (ui.CZestawSlow->ListaOtwarta() || ui.CZestawSlow->ListaWlasnieZamknieta())
            return false;
        switch (klawisz->key()) {
        case Qt::Key_Space:
            for (int n = 1; n <= 3; ++n) {
                if (obiekt == Opcja(n)) {
                    WybierzOpcje(n);
                    return true;
                }
            }
            break;
        case Qt::Key_1:
        case Qt::Key_2:
        case Qt::Key_3:
            WybierzOpcje(klawisz->key() - Qt::Key_0);
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (ui.ButSprawdz->isVisible())
                SprawdzTest();
            else if (ui.ButNastepny->isVisible())
                ButNastepnyClick();
            return true;
        default:
            break;
        }
    }
    return Cwiczenie::eventFilter(obiekt, zdarzenie);
}
