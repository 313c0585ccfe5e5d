// Typing exercise: the round walks on from where it stands; answers are compared byte for byte, blanks around them
// left out.
#include "stronawpisu.h"

#include "fwarning.h"
#include "tekst.h"
#include "ui_stronawpisu.h"

StronaWpisu::StronaWpisu(Uslugi uslugi, QWidget* parent)
    : Cwiczenie(std::move(uslugi), parent), ui(std::make_unique<Ui::TStronaWpisu>())
{
    setObjectName(QStringLiteral("StronaWpisu"));
    ui->setupUi(this);
    Powiaz(Id, ui->CZestawSlow2, ui->LKomentarz2, ui->ButNastepny2,
           QStringLiteral("Wybierz któryś z zestawów słów i tryb pracy"));
    // A listener hears a field or picker named by the label above it.
    ui->LWybierzZestaw2->setBuddy(ui->CZestawSlow2);
    ui->LOznacza2->setBuddy(ui->EWpis2);
    connect(ui->ButNastepny2, &QPushButton::clicked, this, &StronaWpisu::ButNastepny2Click);
    connect(ui->ButSprawdz2, &QPushButton::clicked, this, &StronaWpisu::SprawdzWpis);
    connect(ui->BSluchajWyrazWpis, &QAbstractButton::clicked, this, &StronaWpisu::BSluchajWyrazWpisClick);
    ui->BSluchajWyrazWpis->setAccessibleName(QStringLiteral("Odsłuchaj podane słowo"));
    ui->EWpis2->installEventFilter(this);
    PowiazUznanie(ui->ButUznaj2);
    // The loudspeaker comes just before the field, "Uznaj odpowiedź" after the buttons.
    QWidget::setTabOrder(ui->RJezyk2_1, ui->BSluchajWyrazWpis);
    QWidget::setTabOrder(ui->BSluchajWyrazWpis, ui->EWpis2);
    QWidget::setTabOrder(ui->ButNastepny2, ui->ButUznaj2);
}

StronaWpisu::~StronaWpisu() = default;

void StronaWpisu::Resetuj()
{
    UkryjWpis();
    ResetujWybor();
    UstawTryb(ui->RJezyk2, 0);
    ui->RJezyk2->setEnabled(true);
}

int StronaWpisu::Tryb() const
{
    return IndeksTrybu(ui->RJezyk2);
}

void StronaWpisu::UkryjWpis()
{
    for (QWidget* w :
         std::initializer_list<QWidget*>{ui->BSluchajWyrazWpis, ui->ButSprawdz2, ui->ButNastepny2, ui->LWyraz2,
                                         ui->LOznacza2, ui->LDanyWyraz2, ui->EWpis2, ui->ButUznaj2})
        w->hide();
    UkryjWymowe(ui->LIpa2);
    ui->LKomentarz2->setText(QStringLiteral("Wybierz któryś z zestawów słów i tryb pracy"));
    UkryjPostep();
}

void StronaWpisu::PoWczytaniu()
{
    Pokaz(runda_.NaglowekWyraz(), ui->LWyraz2);
    Pokaz(runda_.NaglowekOznacza(), ui->LOznacza2);
    ui->LOznacza2->adjustSize(); // this caption is sized to its text
    ui->RJezyk2->setEnabled(true);
}

void StronaWpisu::PokazWpis()
{
    PokazUznanie(false);
    ui->LDanyWyraz2->show();
    ui->ButSprawdz2->show();
    ui->ButNastepny2->hide();
    ui->LKomentarz2->clear();
    ui->LWyraz2->show();
    ui->LOznacza2->show();
    ui->EWpis2->clear();
    ui->EWpis2->show();
    ui->BSluchajWyrazWpis->setVisible(Tryb() == 0);
    ui->EWpis2->setFocus();
}

void StronaWpisu::NastepnyWpis()
{
    // Unlike the choice test the search goes on after the current position, so a wrong entry comes back last.
    if (runda_.NastepnyWyraz() >= 0) {
        Pokaz(Tryb() == 1 ? Biezacy().Polski : Biezacy().Angielski, ui->LDanyWyraz2);
        // The English word given: its pronunciation in writing under it.
        if (Tryb() == 0)
            PokazWymowe(ui->LIpa2, Biezacy().Angielski);
        else
            UkryjWymowe(ui->LIpa2);
        PokazWpis();
    } else {
        KoniecRundy();
    }
}

void StronaWpisu::ButNastepny2Click()
{
    NastepnyWpis();
    ui->RJezyk2->setEnabled(false);
}

void StronaWpisu::SprawdzWpis()
{
    if (!JestBiezacy())
        return;
    // Blanks around the answer are not part of it (a trailing one is invisible in the reproach); case still counts.
    const QString tekst = ui->EWpis2->text().trimmed();
    if (tekst.isEmpty()) {
        Komunikat(vokara::komunikat::Informacja, vokara::komunikat::IkonaInformacji,
                  QStringLiteral("Wpisz, proszę, odpowiedź"));
        return;
    }
    const int d = Tryb();
    const vokara::Werdykt werdykt = runda_.SprawdzWpis(vokara::DoCp1250(tekst), d);
    Pokaz(werdykt.Komentarz, ui->LKomentarz2);
    PokazUznanie(!werdykt.Dobrze);
    ui->ButSprawdz2->hide();
    ui->ButNastepny2->show();
    Odpowiedziano(d);
}

void StronaWpisu::BSluchajWyrazWpisClick()
{
    if (Tryb() == 0 && JestBiezacy())
        Wymow(Biezacy().Angielski);
}

bool StronaWpisu::KlawiszWpisu(QLineEdit* pole, int klawisz, Qt::KeyboardModifiers modyfikatory)
{
    if (pole != ui->EWpis2)
        return false;
    if (klawisz == Qt::Key_Return || klawisz == Qt::Key_Enter) {
        if (ui->ButSprawdz2->isVisible())
            SprawdzWpis();
        else
            NastepnyWpis();
        return true; // swallowed, so the field neither beeps nor passes it on
    }
    if (klawisz == Qt::Key_L && modyfikatory == Qt::AltModifier && Tryb() == 0) {
        if (JestBiezacy())
            Wymow(Biezacy().Angielski);
        return true;
    }
    return false;
}
