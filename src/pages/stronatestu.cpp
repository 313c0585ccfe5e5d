// Choice test: states, option picking, the check and the loudspeakers.
#include "stronatestu.h"

#include "fwarning.h"
#include "tekst.h"
#include "ui_stronatestu.h"
#include "wyborzestawu.h"

#include <QAccessible>
#include <QFrame>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QShortcut>

#include <functional>

namespace {
// The options' colours: plain, picked (the skin's highlight brown), and after the check the right one green, a
// wrong pick red.
const QColor KolorOpcji(44, 47, 43);
const QColor KolorWyboru(0x9c, 0x6b, 0x3a);
const QColor KolorDobrej(0, 128, 0);
const QColor KolorZlej(0xb3, 0x26, 0x1e);
} // namespace

StronaTestu::StronaTestu(Uslugi uslugi, QWidget* parent)
    : Cwiczenie(std::move(uslugi), parent), ui(std::make_unique<Ui::TStronaTestu>())
{
    setObjectName(QStringLiteral("StronaTestu"));
    ui->setupUi(this);
    Powiaz(Id, ui->CZestawSlow, ui->LKomentarz, ui->ButNastepny,
           QStringLiteral("Wybierz któryś z zestawów słów i tryb pracy"));
    ui->SWybierzZestaw->setBuddy(ui->CZestawSlow);
    connect(ui->ButNastepny, &QPushButton::clicked, this, &StronaTestu::ButNastepnyClick);
    connect(ui->ButSprawdz, &QPushButton::clicked, this, &StronaTestu::SprawdzTest);
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
    // The focused option has a frame in the skin's focus brown, drawn over it so its text never moves.
    ramkaFokusu_ = new QFrame(this);
    ramkaFokusu_->setObjectName(QStringLiteral("RamkaFokusu"));
    ramkaFokusu_->setStyleSheet(
        QStringLiteral("QFrame#RamkaFokusu { border: 1px dotted #6e4a22; background: transparent; }"));
    ramkaFokusu_->setAttribute(Qt::WA_TransparentForMouseEvents);
    ramkaFokusu_->hide();
    // Each loudspeaker comes just before the word it speaks.
    QWidget* kolejnosc[] = {ui->RJezyk_1, Glosnik(0), Glosnik(1), ui->Lw1,       Glosnik(2),
                            ui->LW2,      Glosnik(3), ui->LW3,    ui->ButSprawdz};
    for (std::size_t i = 0; i + 1 < std::size(kolejnosc); ++i)
        QWidget::setTabOrder(kolejnosc[i], kolejnosc[i + 1]);
    // Keys 1, 2, 3 and Enter work wherever the focus is in the window while this page is in front (a hidden
    // "Następny" hands the focus on to whatever comes next, the tab bar included); an open picker list keeps its
    // keys, as a window's shortcuts do not reach a pop-up. Alt+L plays the given English word, as in the answer
    // fields of the other pages. The keypad's keys count the same.
    const auto skrot = [this](QKeySequence klawisze, std::function<void()> co) {
        auto* s = new QShortcut(klawisze, this);
        s->setContext(Qt::WindowShortcut);
        connect(s, &QShortcut::activated, this, [this, co = std::move(co)] {
            // The key that has just closed the picker's list is the list's, not the page's.
            if (!ui->CZestawSlow->ListaOtwarta() && !ui->CZestawSlow->ListaWlasnieZamknieta())
                co();
        });
    };
    for (int n = 1; n <= 3; ++n)
        skrot(QKeySequence(Qt::Key_0 + n), [this, n] { WybierzOpcje(n); });
    skrot(QKeySequence(Qt::Key_Return), [this] { Enter(); });
    skrot(QKeySequence(Qt::Key_Enter), [this] { Enter(); });
    skrot(QKeySequence(Qt::ALT | Qt::Key_L), [this] { BSluchajWyrazClick(0); });
}

StronaTestu::~StronaTestu() = default;

void StronaTestu::Resetuj()
{
    UkryjTest();
    ResetujWybor();
    UstawTryb(ui->RJezyk, 0);
    ui->RJezyk->setEnabled(true);
}

int StronaTestu::Tryb() const
{
    return IndeksTrybu(ui->RJezyk);
}

QLabel* StronaTestu::Opcja(int n) const
{
    Q_ASSERT(n >= 1 && n <= 3);
    return n == 1 ? ui->Lw1 : n == 2 ? ui->LW2 : ui->LW3;
}

QWidget* StronaTestu::Glosnik(int n) const
{
    switch (n) {
    case 0:
        return ui->BSluchajWyraz_0;
    case 1:
        return ui->BSluchajWyraz_1;
    case 2:
        return ui->BSluchajWyraz_2;
    default:
        return ui->BSluchajWyraz_3;
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
    for (QWidget* w : {static_cast<QWidget*>(ui->Lw1), static_cast<QWidget*>(ui->LW2), static_cast<QWidget*>(ui->LW3),
                       Glosnik(0), Glosnik(1), Glosnik(2), Glosnik(3), static_cast<QWidget*>(ui->ButSprawdz),
                       static_cast<QWidget*>(ui->ButNastepny), static_cast<QWidget*>(ui->LWyraz),
                       static_cast<QWidget*>(ui->LOznacza), static_cast<QWidget*>(ui->LDanyWyraz)})
        w->hide();
    UkryjWymowe(ui->LIpa);
    ui->LKomentarz->setText(QStringLiteral("Wybierz któryś z zestawów słów i tryb pracy"));
    UkryjPostep();
}

void StronaTestu::PoWczytaniu()
{
    Pokaz(runda_.NaglowekWyraz(), ui->LWyraz);
    Pokaz(runda_.NaglowekOznacza(), ui->LOznacza);
    ui->RJezyk->setEnabled(true);
}

void StronaTestu::PokazTest()
{
    ui->LDanyWyraz->show();
    // A set of fewer than three entries shows only the options that exist.
    for (int n = 1; n <= 3; ++n)
        Opcja(n)->setVisible(n <= liczbaOpcji_);
    ui->ButSprawdz->show();
    ui->ButNastepny->hide();
    ui->LKomentarz->clear();
    ui->LWyraz->show();
    ui->LOznacza->show();
    Wybrana = -1;
    sprawdzone_ = false;
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
    const auto opcje = runda_.UlozOpcje(d);
    Pokaz(opcje.Dany, ui->LDanyWyraz);
    // The English word given: its pronunciation in writing under it.
    if (d == vokara::AngielskiPolski)
        PokazWymowe(ui->LIpa, opcje.Dany);
    else
        UkryjWymowe(ui->LIpa);
    liczbaOpcji_ = int(opcje.Indeksy.size());
    for (int n = 1; n <= 3; ++n) {
        if (n <= liczbaOpcji_) {
            const auto& wyraz = runda_.Wyrazy()[std::size_t(opcje.Indeksy[std::size_t(n - 1)])];
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
    if (runda_.NastepnyOdPoczatku() >= 0) {
        runda_.LosujInne();
        WypelnijTest();
        PokazTest();
    } else {
        KoniecRundy();
    }
}

void StronaTestu::ButNastepnyClick()
{
    NastepnyTest();
    ui->RJezyk->setEnabled(false); // the direction stays locked until a set is picked again
}

void StronaTestu::WybierzOpcje(int n)
{
    if (n < 1 || n > liczbaOpcji_ || !Opcja(n)->isVisible())
        return;
    // After the check the options keep showing the verdict; a click only changes the pick.
    if (sprawdzone_) {
        Wybrana = n;
        return;
    }
    for (int k = 1; k <= 3; ++k) {
        UstawKolorOpcji(k, KolorOpcji);
        Opcja(k)->setAccessibleDescription(QString());
    }
    UstawKolorOpcji(n, KolorWyboru);
    Opcja(n)->setAccessibleDescription(QStringLiteral("wybrana"));
    Wybrana = n;
}

void StronaTestu::SprawdzTest()
{
    if (!JestBiezacy())
        return;
    if (Wybrana < 1 || Wybrana > liczbaOpcji_) {
        Komunikat(vokara::komunikat::Informacja, vokara::komunikat::IkonaInformacji,
                  QStringLiteral("Wybierz jedną z odpowiedzi"));
        return;
    }
    const int d = Tryb();
    const vokara::Werdykt werdykt = runda_.SprawdzWybor(opcje_[std::size_t(Wybrana - 1)], d);
    Pokaz(werdykt.Komentarz, ui->LKomentarz);
    PokazWerdykt(werdykt.Dobrze, d);
    ui->ButSprawdz->hide();
    ui->ButNastepny->show();
    Odpowiedziano(d);
}

void StronaTestu::PokazWerdykt(bool dobrze, int tryb)
{
    sprawdzone_ = true;
    const std::string poprawna = runda_.PoprawnaOdpowiedz(tryb);
    for (int n = 1; n <= liczbaOpcji_; ++n) {
        QString opis;
        if (opcje_[std::size_t(n - 1)] == poprawna) {
            UstawKolorOpcji(n, KolorDobrej);
            opis = QStringLiteral("poprawna odpowiedź");
        } else if (n == Wybrana && !dobrze) {
            UstawKolorOpcji(n, KolorZlej);
            opis = QStringLiteral("wybrana, błędna");
        } else {
            UstawKolorOpcji(n, KolorOpcji);
        }
        Opcja(n)->setAccessibleDescription(opis);
        QAccessibleEvent zmiana(Opcja(n), QAccessible::DescriptionChanged);
        QAccessible::updateAccessibility(&zmiana);
    }
}

void StronaTestu::BSluchajWyrazClick(int n)
{
    const int d = Tryb();
    if (n == 0) {
        if (d == 0 && JestBiezacy())
            Wymow(Biezacy().Angielski);
    } else if (d == 1 && n <= liczbaOpcji_ && JestBiezacy()) {
        Wymow(opcje_[std::size_t(n - 1)]);
    }
}

void StronaTestu::Enter()
{
    if (ui->ButSprawdz->isVisible())
        SprawdzTest();
    else if (ui->ButNastepny->isVisible())
        ButNastepnyClick();
}

bool StronaTestu::eventFilter(QObject* obiekt, QEvent* zdarzenie)
{
    // The options: a click is the left button released over the option it was pressed on; Space picks the
    // focused one.
    for (int n = 1; n <= 3; ++n) {
        if (obiekt != Opcja(n))
            continue;
        if (zdarzenie->type() == QEvent::FocusIn || zdarzenie->type() == QEvent::FocusOut ||
            zdarzenie->type() == QEvent::Hide) {
            const QLabel* o = Opcja(n);
            if (zdarzenie->type() == QEvent::FocusIn) {
                const int szerokosc = std::min(o->width(), o->fontMetrics().horizontalAdvance(o->text()) + 8);
                const int wysokosc = o->heightForWidth(o->width());
                ramkaFokusu_->setGeometry(o->x() - 4, o->y() - 2, szerokosc, std::min(o->height(), wysokosc) + 4);
                ramkaFokusu_->raise();
                ramkaFokusu_->show();
            } else {
                ramkaFokusu_->hide();
            }
            return false;
        }
        if (zdarzenie->type() == QEvent::MouseButtonRelease) {
            auto* mysz = static_cast<QMouseEvent*>(zdarzenie);
            if (mysz->button() == Qt::LeftButton && Opcja(n)->rect().contains(mysz->position().toPoint())) {
                WybierzOpcje(n);
                return true;
            }
        } else if (zdarzenie->type() == QEvent::KeyPress) {
            auto* klawisz = static_cast<QKeyEvent*>(zdarzenie);
            if (klawisz->key() == Qt::Key_Space && !(klawisz->modifiers() & ~Qt::KeypadModifier)) {
                WybierzOpcje(n);
                return true;
            }
        }
    }
    return Cwiczenie::eventFilter(obiekt, zdarzenie);
}
