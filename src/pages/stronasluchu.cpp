// Dictation: each new question plays its word; the word or its meaning counts, compared without regard to case.
#include "stronasluchu.h"

#include "fwarning.h"
#include "tekst.h"
#include "ui_stronasluchu.h"

StronaSluchu::StronaSluchu(Uslugi uslugi, QWidget* parent)
    : Cwiczenie(std::move(uslugi), parent), ui(std::make_unique<Ui::TStronaSluchu>())
{
    setObjectName(QStringLiteral("StronaSluchu"));
    ui->setupUi(this);
    Powiaz(Id, ui->CZestawSlow3, ui->LKomentarz3, ui->ButNastepny3, QStringLiteral("Wybierz któryś z zestawów słów"));
    ui->LWybierzZestaw3->setBuddy(ui->CZestawSlow3);
    ui->LOznacza3->setBuddy(ui->EWpis3);
    connect(ui->ButNastepny3, &QPushButton::clicked, this, &StronaSluchu::NastepnySluch);
    connect(ui->ButSprawdz3, &QPushButton::clicked, this, &StronaSluchu::SprawdzSluch);
    connect(ui->BSluchajSlowo, &QAbstractButton::clicked, this, &StronaSluchu::BSluchajSlowoClick);
    ui->BSluchajSlowo->setAccessibleName(QStringLiteral("Odsłuchaj słowo ponownie"));
    ui->EWpis3->installEventFilter(this);
    PowiazUznanie(ui->ButUznaj3);
    QWidget::setTabOrder(ui->CZestawSlow3, ui->BSluchajSlowo);
    QWidget::setTabOrder(ui->BSluchajSlowo, ui->EWpis3);
    QWidget::setTabOrder(ui->ButNastepny3, ui->ButUznaj3);
}

StronaSluchu::~StronaSluchu() = default;

void StronaSluchu::Resetuj()
{
    UkryjSluch();
    ResetujWybor();
}

void StronaSluchu::UkryjSluch()
{
    for (QWidget* w : std::initializer_list<QWidget*>{ui->BSluchajSlowo, ui->ButSprawdz3, ui->ButNastepny3, ui->LWyraz3,
                                                      ui->LOznacza3, ui->EWpis3, ui->ButUznaj3})
        w->hide();
    UkryjWymowe(ui->LIpa3);
    ui->LKomentarz3->setText(QStringLiteral("Wybierz któryś z zestawów słów"));
    UkryjPostep();
}

bool StronaSluchu::Wczytaj(int i)
{
    if (!Cwiczenie::Wczytaj(i))
        return false;
    // Recordings exist for single words only, so phrases count as answered from the start.
    runda_.PomijajFrazy();
    pominiete_ = runda_.Zaliczone();
    return true;
}

void StronaSluchu::PokazSluch()
{
    PokazUznanie(false);
    UkryjWymowe(ui->LIpa3); // it would give the word away
    ui->ButSprawdz3->show();
    ui->ButNastepny3->hide();
    ui->LKomentarz3->clear();
    ui->LWyraz3->show();
    ui->LOznacza3->show();
    ui->EWpis3->clear();
    ui->EWpis3->show();
    ui->BSluchajSlowo->show();
    ui->EWpis3->setFocus();
}

void StronaSluchu::NastepnySluch()
{
    if (runda_.NastepnyWyraz() >= 0) {
        PokazSluch();
        Wymow(Biezacy().Angielski);
    } else {
        KoniecRundy();
    }
}

void StronaSluchu::SprawdzSluch()
{
    if (!JestBiezacy())
        return;
    if (ui->EWpis3->text().isEmpty()) {
        Komunikat(vokara::komunikat::Informacja, vokara::komunikat::IkonaInformacji,
                  QStringLiteral("Wpisz, proszę, odpowiedź"));
        return;
    }
    const vokara::Werdykt werdykt = runda_.SprawdzSluch(vokara::DoCp1250(ui->EWpis3->text()));
    Pokaz(werdykt.Komentarz, ui->LKomentarz3);
    PokazUznanie(!werdykt.Dobrze);
    // Once checked, the word heard is shown with its pronunciation in writing.
    PokazWymowe(ui->LIpa3, Biezacy().Angielski, true);
    ui->ButSprawdz3->hide();
    ui->ButNastepny3->show();
    Odpowiedziano(vokara::AngielskiPolski);
}

void StronaSluchu::BSluchajSlowoClick()
{
    if (JestBiezacy())
        Wymow(Biezacy().Angielski);
}

bool StronaSluchu::KlawiszWpisu(QLineEdit* pole, int klawisz, Qt::KeyboardModifiers modyfikatory)
{
    const bool enter = klawisz == Qt::Key_Return || klawisz == Qt::Key_Enter;
    if (pole != ui->EWpis3)
        return false;
    if (enter) {
        if (ui->ButSprawdz3->isVisible())
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
