// Flashcards: the round walks on as on the typing page; the learner shows the answer and grades their own recall, and
// each grade button tells when the memory would bring the entry back.
#include "stronafiszek.h"

#include "harmonogram.h"
#include "ui_stronafiszek.h"
#include "wyborzestawu.h"

#include <QApplication>
#include <QShortcut>

#include <functional>

namespace {
// The grades as their buttons name them, "Nie pamiętam" (1) first.
const char* const NazwyOcen[4] = {"Nie pamiętam", "Trudne", "Dobrze", "Łatwe"};
} // namespace

StronaFiszek::StronaFiszek(Uslugi uslugi, QWidget* parent)
    : Cwiczenie(std::move(uslugi), parent), ui(std::make_unique<Ui::TStronaFiszek>())
{
    setObjectName(QStringLiteral("StronaFiszek"));
    ui->setupUi(this);
    Powiaz(Id, ui->CZestawSlow5, ui->LKomentarz5, ui->ButNastepny5,
           QStringLiteral("Wybierz któryś z zestawów słów i tryb pracy"));
    ui->LWybierzZestaw5->setBuddy(ui->CZestawSlow5);
    connect(ui->ButNastepny5, &QPushButton::clicked, this, &StronaFiszek::ButNastepny5Click);
    connect(ui->ButPokaz5, &QPushButton::clicked, this, &StronaFiszek::PokazOdpowiedz);
    for (int ocena = 1; ocena <= 4; ++ocena) {
        connect(Przycisk(ocena), &QPushButton::clicked, this, [this, ocena] { Ocen(ocena); });
        Przycisk(ocena)->setAccessibleName(QString::fromUtf8(NazwyOcen[ocena - 1]));
    }
    connect(ui->BSluchajWyraz5, &QAbstractButton::clicked, this, &StronaFiszek::BSluchajClick);
    connect(ui->BSluchajOdpowiedz5, &QAbstractButton::clicked, this, &StronaFiszek::BSluchajClick);
    ui->BSluchajWyraz5->setAccessibleName(QStringLiteral("Odsłuchaj podane słowo"));
    ui->BSluchajOdpowiedz5->setAccessibleName(QStringLiteral("Odsłuchaj odpowiedź"));
    // Space shows the answer and 1-4 grade it wherever the focus is in the window while this page is in front, as
    // the choice test's keys do; each is on only while it can act, so at other times Space presses the focused
    // control as ever. An open picker list keeps its keys. Alt+L plays the English word whenever it is shown.
    const auto skrot = [this](QKeySequence klawisze, std::function<void()> co) {
        auto* s = new QShortcut(klawisze, this);
        s->setContext(Qt::WindowShortcut);
        connect(s, &QShortcut::activated, this, [this, co = std::move(co)] {
            // The key that has just closed the picker's list is the list's, not the page's.
            if (!ui->CZestawSlow5->ListaOtwarta() && !ui->CZestawSlow5->ListaWlasnieZamknieta())
                co();
        });
        return s;
    };
    spacja_ = skrot(QKeySequence(Qt::Key_Space), [this] {
        // A loudspeaker reached by Tab keeps its Space.
        if (QApplication::focusWidget() == ui->BSluchajWyraz5)
            BSluchajClick();
        else
            PokazOdpowiedz();
    });
    for (int ocena = 1; ocena <= 4; ++ocena)
        cyfry_[std::size_t(ocena - 1)] = skrot(QKeySequence(Qt::Key_0 + ocena), [this, ocena] { Ocen(ocena); });
    skrot(QKeySequence(Qt::ALT | Qt::Key_L), [this] { BSluchajClick(); });
    UstawKlawisze();
}

StronaFiszek::~StronaFiszek() = default;

QPushButton* StronaFiszek::Przycisk(int ocena) const
{
    Q_ASSERT(ocena >= 1 && ocena <= 4);
    switch (ocena) {
    case 1:
        return ui->ButNiePamietam;
    case 2:
        return ui->ButTrudne;
    case 3:
        return ui->ButDobrze;
    default:
        return ui->ButLatwe;
    }
}

void StronaFiszek::Resetuj()
{
    UkryjFiszke();
    ResetujWybor();
    UstawTryb(ui->RJezyk5, 0);
    ui->RJezyk5->setEnabled(true);
}

int StronaFiszek::Tryb() const
{
    return IndeksTrybu(ui->RJezyk5);
}

void StronaFiszek::UkryjFiszke()
{
    for (QWidget* w :
         std::initializer_list<QWidget*>{ui->BSluchajWyraz5, ui->BSluchajOdpowiedz5, ui->ButNastepny5, ui->ButPokaz5,
                                         ui->LWyraz5, ui->LDanyWyraz5, ui->LOznacza5, ui->LOdpowiedz5})
        w->hide();
    for (int ocena = 1; ocena <= 4; ++ocena)
        Przycisk(ocena)->hide();
    ui->LKomentarz5->setText(QStringLiteral("Wybierz któryś z zestawów słów i tryb pracy"));
    UkryjPostep();
    etap_ = Etap::Brak;
    UstawKlawisze();
}

void StronaFiszek::PoWczytaniu()
{
    Podpisz();
    ui->RJezyk5->setEnabled(true);
}

void StronaFiszek::Podpisz()
{
    const bool polski = Tryb() == vokara::PolskiAngielski;
    Pokaz(polski ? runda_.NaglowekOznacza() : runda_.NaglowekWyraz(), ui->LWyraz5);
    Pokaz(polski ? runda_.NaglowekWyraz() : runda_.NaglowekOznacza(), ui->LOznacza5);
    // These captions are sized to their texts.
    ui->LWyraz5->adjustSize();
    ui->LOznacza5->adjustSize();
}

void StronaFiszek::ButNastepny5Click()
{
    NastepnaFiszka();
    ui->RJezyk5->setEnabled(false); // the direction stays locked until a set is picked again
}

void StronaFiszek::NastepnaFiszka()
{
    // As on the typing page the search goes on after the current card, so one graded "Nie pamiętam" comes back
    // after the others.
    if (runda_.NastepnyWyraz() < 0) {
        UkryjFiszke();
        KoniecRundy();
        if (!ui->ButNastepny5->isHidden())
            ui->ButNastepny5->setFocus();
        return;
    }
    const int d = Tryb();
    const auto& wyraz = Biezacy();
    Podpisz();
    Pokaz(d == vokara::PolskiAngielski ? wyraz.Polski : wyraz.Angielski, ui->LDanyWyraz5);
    Pokaz(d == vokara::PolskiAngielski ? wyraz.Angielski : wyraz.Polski, ui->LOdpowiedz5);
    for (QWidget* w : std::initializer_list<QWidget*>{ui->LOznacza5, ui->LOdpowiedz5, ui->BSluchajOdpowiedz5})
        w->hide();
    ui->LWyraz5->show();
    ui->LDanyWyraz5->show();
    ui->BSluchajWyraz5->setVisible(d == vokara::AngielskiPolski);
    ui->LKomentarz5->clear();
    // A listener on "Pokaż odpowiedź" hears the word the card gives.
    ui->ButPokaz5->setAccessibleDescription(ui->LDanyWyraz5->text());
    ui->ButPokaz5->show();
    ui->ButPokaz5->setFocus();
    for (int ocena = 1; ocena <= 4; ++ocena)
        Przycisk(ocena)->hide();
    ui->ButNastepny5->hide();
    etap_ = Etap::Pytanie;
    UstawKlawisze();
}

void StronaFiszek::PokazOdpowiedz()
{
    if (etap_ != Etap::Pytanie || !JestBiezacy())
        return;
    UstawOceny();
    ui->LOznacza5->show();
    ui->LOdpowiedz5->show();
    ui->BSluchajOdpowiedz5->setVisible(Tryb() == vokara::PolskiAngielski);
    for (int ocena = 1; ocena <= 4; ++ocena)
        Przycisk(ocena)->show();
    // Enter (or Space) on the focused button then grades "Dobrze", the usual grade of a recalled word.
    ui->ButDobrze->setFocus();
    ui->ButPokaz5->hide();
    etap_ = Etap::Odpowiedz;
    UstawKlawisze();
    Oglos(ui->LOdpowiedz5);
}

void StronaFiszek::UstawOceny()
{
    // Asked as the answer shows, so the times are the memory's for the moment the learner grades.
    std::array<std::int64_t, 4> odstepy{};
    const bool znane = bool(uslugi_.Odstepy);
    if (znane)
        odstepy = uslugi_.Odstepy(Biezacy());
    for (int ocena = 1; ocena <= 4; ++ocena) {
        QPushButton* p = Przycisk(ocena);
        const QString nazwa = QString::fromUtf8(NazwyOcen[ocena - 1]);
        const QString kiedy =
            znane ? QString::fromStdString(vokara::OpisOdstepu(odstepy[std::size_t(ocena - 1)])) : QString();
        p->setText(kiedy.isEmpty() ? nazwa : nazwa + QLatin1Char('\n') + kiedy);
        p->setAccessibleDescription(kiedy);
        p->setToolTip(kiedy.isEmpty() ? QStringLiteral("Klawisz %1").arg(ocena)
                                      : QStringLiteral("Klawisz %1: wróci %2").arg(ocena).arg(kiedy));
    }
}

void StronaFiszek::Ocen(int ocena)
{
    if (etap_ != Etap::Odpowiedz || !JestBiezacy() || ocena < vokara::OcenaNie || ocena > vokara::OcenaLatwe)
        return;
    // "Nie pamiętam" leaves the card unanswered: the round brings it back, and it counts as a mistake.
    runda_.BiezacyWyraz().Zaliczony = ocena != vokara::OcenaNie;
    Ocenione(Tryb(), ocena);
    NastepnaFiszka();
}

void StronaFiszek::BSluchajClick()
{
    // The English word is heard only once it is on the card: given, or shown as the answer.
    if (etap_ == Etap::Brak || !JestBiezacy())
        return;
    if (Tryb() == vokara::AngielskiPolski || etap_ == Etap::Odpowiedz)
        Wymow(Biezacy().Angielski);
}

void StronaFiszek::UstawKlawisze()
{
    spacja_->setEnabled(etap_ == Etap::Pytanie);
    for (QShortcut* s : cyfry_)
        s->setEnabled(etap_ == Etap::Odpowiedz);
}
