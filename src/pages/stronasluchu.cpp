// Dictation: each new question plays its word; the word or its meaning counts, compared without regard to case.
#include "stronasluchu.h"

#include "formularz.h"
#include "fwarning.h"
#include "kodowanie.h"
#include "tekst.h"

namespace {
const std::string& AngielskieSlowo()
{
    static const std::string tekst = *vokara::DoCp1250(QStringLiteral(". Angielskie słowo, to: "));
    return tekst;
}
} // namespace

StronaSluchu::StronaSluchu(StanProgramu& stan, FormularzGlowny& ui, TFWarning& warning, Wymowa wymow,
                           std::function<void(const QString&)> wymowDowolne, QObject* parent)
    : Cwiczenie(stan, ui, warning, std::move(wymow), parent), wymowDowolne_(std::move(wymowDowolne))
{
    Powiaz(ui.CZestawSlow3, ui.LKomentarz3, ui.ButNastepny3, QStringLiteral("Wybierz któryś z zestawów słów"));
    connect(ui.ButNastepny3, &QPushButton::clicked, this, &StronaSluchu::NastepnySluch);
    connect(ui.ButSprawdz3, &QPushButton::clicked, this, &StronaSluchu::SprawdzSluch);
    connect(ui.BSluchajSlowo, &QAbstractButton::clicked, this, &StronaSluchu::BSluchajSlowoClick);
    connect(ui.BNastepny4, &QPushButton::clicked, this, &StronaSluchu::OdsluchajDowolne);
    ui.BSluchajSlowo->setAccessibleName(QStringLiteral("Odsłuchaj słowo ponownie"));
    ui.EWpis3->installEventFilter(this);
    ui.EWpis4->installEventFilter(this);
}

void StronaSluchu::UkryjSluch()
{
    for (QWidget* w : std::initializer_list<QWidget*>{ui.BSluchajSlowo, ui.ButSprawdz3, ui.ButNastepny3, ui.LWyraz3,
                                                      ui.LOznacza3, ui.EWpis3})
        w->hide();
    ui.LKomentarz3->setText(QStringLiteral("Wybierz któryś z zestawów słów"));
    UkryjPostep();
}

bool StronaSluchu::Wczytaj(int i)
{
    if (!Cwiczenie::Wczytaj(i))
        return false;
    // Recordings exist for single words only, so phrases count as answered from the start.
    stan.runda.PomijajFrazy();
    pominiete_ = stan.runda.Zaliczone();
    return true;
}

void StronaSluchu::PokazSluch()
{
    ui.ButSprawdz3->show();
    ui.ButNastepny3->hide();
    ui.LKomentarz3->clear();
    ui.LWyraz3->show();
    ui.LOznacza3->show();
    ui.EWpis3->clear();
    ui.EWpis3->show();
    ui.BSluchajSlowo->show();
    ui.EWpis3->setFocus();
}

void StronaSluchu::NastepnySluch()
{
    if (stan.runda.NastepnyWyraz() >= 0) {
        PokazSluch();
        wymow(Biezacy().Angielski);
    } else {
        KoniecRundy();
    }
}

void StronaSluchu::SprawdzSluch()
{
    if (!JestBiezacy())
        return;
    if (ui.EWpis3->text().isEmpty()) {
        warning.Komunikat(vokara::komunikat::Informacja, vokara::komunikat::IkonaInformacji,
                          QStringLiteral("Wpisz proszę odpowiedź"));
        return;
    }
    const auto wpisane = vokara::DoCp1250(ui.EWpis3->text());
    const std::string t = wpisane ? vokara::MaleLiteryPolskie(*wpisane) : std::string();
    const std::string e = vokara::MaleLiteryPolskie(Biezacy().Angielski);
    const std::string p = vokara::MaleLiteryPolskie(Biezacy().Polski);
    if (!wpisane || (t != e && t != p)) {
        Pokaz(stan.runda.Nagana(vokara::PolskiAngielski) + " [" + Biezacy().Polski + "]", ui.LKomentarz3);
    } else {
        stan.runda.BiezacyWyraz().Zaliczony = true;
        if (t == p)
            Pokaz(stan.runda.Pochwala() + AngielskieSlowo() + Biezacy().Angielski, ui.LKomentarz3);
        else
            Pokaz(stan.runda.Pochwala(), ui.LKomentarz3);
    }
    ui.ButSprawdz3->hide();
    ui.ButNastepny3->show();
    Odpowiedziano(vokara::AngielskiPolski);
}

void StronaSluchu::BSluchajSlowoClick()
{
    if (JestBiezacy())
        wymow(Biezacy().Angielski);
}

void StronaSluchu::OdsluchajDowolne()
{
    if (!ui.EWpis4->text().isEmpty()) {
        wymowDowolne_(ui.EWpis4->text());
        return;
    }
    warning.Komunikat(vokara::komunikat::Informacja, vokara::komunikat::IkonaInformacji,
                      QStringLiteral("Wpisz proszę słowo, którego brzmienie chcesz odsłuchać"));
    ui.EWpis4->setFocus();
}

bool StronaSluchu::KlawiszWpisu(QLineEdit* pole, int klawisz, Qt::KeyboardModifiers modyfikatory)
{
    const bool enter = klawisz == Qt::Key_Return || klawisz == Qt::Key_Enter;
    if (pole == ui.EWpis4) {
        if (enter)
            OdsluchajDowolne();
        return enter;
    }
    if (pole != ui.EWpis3)
        return false;
    if (enter) {
        if (ui.ButSprawdz3->isVisible())
            SprawdzSluch();
        else
            NastepnySluch();
        return true;
    }
    if (klawisz == Qt::Key_L && modyfikatory == Qt::AltModifier) {
        BSluchajSlowoClick();
        return true;
    }
    return false;
}
