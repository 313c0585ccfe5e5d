// The dictionary page: Enter or the button speaks the typed text; a pause in typing looks it up on a worker thread and
// shows its IPA and meanings, and "Dodaj do moich zestawów" keeps the meaning picked in an own set.
#include "stronaodsluchu.h"

#include "fwarning.h"
#include "slownik.h"
#include "tekst.h"
#include "ui_stronaodsluchu.h"
#include "wtle.h"

#include <QAccessible>
#include <QApplication>
#include <QButtonGroup>
#include <QKeyEvent>
#include <QRadioButton>
#include <QShortcut>
#include <QTimer>
#include <QToolButton>

#include <set>

namespace {

// The name of the new own set a word goes into when the learner has none yet.
const QString NowyZestaw = QStringLiteral("Moje słówka");
// At most this many of the own sets are offered, the ones used last.
constexpr int NajwiecejZestawow = 12;
constexpr int WysokoscRzedu = 24;
constexpr int WysokoscNaglowka = 22;
// The meanings' column: the part of speech before them.
constexpr int SzerokoscCzesci = 56;

QString Tekst(const std::string& utf8)
{
    return QString::fromStdString(utf8);
}

// The part of speech in full, as a screen reader says it.
QString CzescPelna(vokara::Czesc czesc)
{
    using vokara::Czesc;
    switch (czesc) {
    case Czesc::Rzeczownik:
        return QStringLiteral("rzeczownik");
    case Czesc::Czasownik:
        return QStringLiteral("czasownik");
    case Czesc::Przymiotnik:
        return QStringLiteral("przymiotnik");
    case Czesc::Przyslowek:
        return QStringLiteral("przysłówek");
    case Czesc::Zaimek:
        return QStringLiteral("zaimek");
    case Czesc::Liczebnik:
        return QStringLiteral("liczebnik");
    case Czesc::Przyimek:
        return QStringLiteral("przyimek");
    case Czesc::Spojnik:
        return QStringLiteral("spójnik");
    case Czesc::Wykrzyknik:
        return QStringLiteral("wykrzyknik");
    case Czesc::Partykula:
        return QStringLiteral("partykuła");
    case Czesc::NazwaWlasna:
        return QStringLiteral("nazwa własna");
    case Czesc::Skrot:
        return QStringLiteral("skrót");
    case Czesc::Przedrostek:
        return QStringLiteral("przedrostek");
    case Czesc::Przyrostek:
        return QStringLiteral("przyrostek");
    case Czesc::Wyrazenie:
        return QStringLiteral("wyrażenie");
    case Czesc::Przyslowie:
        return QStringLiteral("przysłowie");
    case Czesc::Inna:
        break;
    }
    return QString();
}

// The first character of a text that has no Windows-1250 byte; empty when the whole text has one.
QString ZnakSpozaCp1250(const QString& tekst)
{
    for (qsizetype i = 0; i < tekst.size(); ++i) {
        const qsizetype dlugosc = tekst[i].isHighSurrogate() && i + 1 < tekst.size() ? 2 : 1;
        const QString znak = tekst.mid(i, dlugosc);
        if (!vokara::DoCp1250(znak))
            return znak;
        i += dlugosc - 1;
    }
    return QString();
}

} // namespace

StronaOdsluchu::StronaOdsluchu(Uslugi uslugi, QWidget* parent)
    : TStrona(parent), uslugi_(std::move(uslugi)), ui(std::make_unique<Ui::TStronaOdsluchu>())
{
    setObjectName(QStringLiteral("StronaOdsluchu"));
    ui->setupUi(this);
    ui->LTekst->setBuddy(ui->EWpis4);
    ui->LZestaw4->setBuddy(ui->CZestaw4);
    connect(ui->BNastepny4, &QPushButton::clicked, this, &StronaOdsluchu::OdsluchajDowolne);
    connect(ui->BDodaj4, &QPushButton::clicked, this, &StronaOdsluchu::DodajDoMoich);
    ui->EWpis4->installEventFilter(this);
    EnterNaciska(this);

    // Typing restarts the pause; its end looks the text up.
    pauza_ = new QTimer(this);
    pauza_->setObjectName(QStringLiteral("CzasSzukania"));
    pauza_->setSingleShot(true);
    pauza_->setInterval(PrzerwaPisania);
    connect(pauza_, &QTimer::timeout, this, &StronaOdsluchu::Szukaj);
    connect(ui->EWpis4, &QLineEdit::textChanged, pauza_, qOverload<>(&QTimer::start));
    connect(&szukanie_, &QFutureWatcherBase::finished, this, [this] {
        if (szukanie_.future().resultCount() == 0)
            return;
        const Znalezione z = szukanie_.result();
        // Typing went on meanwhile: a newer look-up is on its way.
        if (z.Numer == numer_)
            Pokaz(z);
    });

    // The rows of meanings are made once and filled for each look-up.
    wybory_ = new QButtonGroup(this);
    wybory_->setExclusive(true);
    QWidget* poprzedni = ui->EWpis4;
    for (int i = 0; i < NajwiecejZnaczen; ++i) {
        Rzad r;
        r.Naglowek = new QLabel(ui->WZnaczenia4);
        r.Naglowek->setProperty("rola", QStringLiteral("naglowek"));
        r.Czesc = new QLabel(ui->WZnaczenia4);
        r.Czesc->setProperty("rola", QStringLiteral("czesc"));
        r.Wybor = new QRadioButton(ui->WZnaczenia4);
        r.Wybor->setObjectName(QStringLiteral("RZnaczenie4_%1").arg(i + 1));
        r.Glosnik = new QToolButton(ui->WZnaczenia4);
        r.Glosnik->setObjectName(QStringLiteral("BSluchajZnaczenie4_%1").arg(i + 1));
        r.Glosnik->setIcon(QIcon(QStringLiteral(":/obrazy/glosnik.png")));
        r.Glosnik->setIconSize(QSize(18, 18));
        r.Glosnik->setAutoRaise(true);
        // As on the exercise pages the loudspeaker takes no focus: Alt+L speaks the picked meaning.
        r.Glosnik->setFocusPolicy(Qt::NoFocus);
        r.Dopisek = new QLabel(ui->WZnaczenia4);
        r.Dopisek->setProperty("rola", QStringLiteral("dopisek"));
        for (QLabel* l : {r.Naglowek, r.Czesc, r.Dopisek}) {
            l->setTextFormat(Qt::PlainText);
            l->setFocusPolicy(Qt::NoFocus);
            l->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        }
        wybory_->addButton(r.Wybor, i);
        connect(r.Glosnik, &QToolButton::clicked, this, [this, i] { WymowPozycje(i); });
        QWidget::setTabOrder(poprzedni, r.Wybor);
        poprzedni = r.Wybor;
        rzedy_.push_back(r);
    }
    QWidget::setTabOrder(poprzedni, ui->CZestaw4);
    auto* altL = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_L), this);
    altL->setContext(Qt::WidgetWithChildrenShortcut);
    connect(altL, &QShortcut::activated, this, [this] { WymowPozycje(Wybrana()); });
    Wyczysc();
}

StronaOdsluchu::~StronaOdsluchu() = default;

void StronaOdsluchu::showEvent(QShowEvent* zdarzenie)
{
    TStrona::showEvent(zdarzenie);
    ZacznijWczytywanie();
}

void StronaOdsluchu::ZacznijWczytywanie()
{
    if (wczytanie_ || !uslugi_.Slownik)
        return;
    // The dictionary is read when the page first shows, never before (the start-up does not pay for it), and on a
    // worker thread, so the window goes on while its indexes load; a look-up asked meanwhile waits there for it.
    wczytanie_ = true;
    auto* wczytane = new QFutureWatcher<QString>(this);
    connect(wczytane, &QFutureWatcherBase::finished, this, [this, wczytane] {
        uwaga_ = wczytane->result();
        wczytane->deleteLater();
        // Without the dictionaries the page says so in its own line; pronunciation goes on as before.
        if (!uwaga_.isEmpty() && ui->LKomunikat4->text().isEmpty())
            Komunikat(uwaga_);
    });
    wczytane->setFuture(vokara::WTle([slownik = uslugi_.Slownik] {
        slownik->Wczytaj();
        return Tekst(slownik->Komunikat());
    }));
}

void StronaOdsluchu::Resetuj()
{
    ui->EWpis4->clear();
    pauza_->stop();
    ++numer_;
    Wyczysc();
    ui->CZestaw4->clear();
    ui->EWpis4->setFocus();
}

void StronaOdsluchu::OdsluchajDowolne()
{
    if (!ui->EWpis4->text().isEmpty()) {
        uslugi_.WymowTekst(ui->EWpis4->text());
        return;
    }
    uslugi_.Komunikat(vokara::komunikat::Informacja, vokara::komunikat::IkonaInformacji,
                      QStringLiteral("Wpisz, proszę, słowo, którego brzmienie chcesz odsłuchać"));
    ui->EWpis4->setFocus();
}

void StronaOdsluchu::Szukaj()
{
    pauza_->stop();
    const int numer = ++numer_;
    const QString tekst = ui->EWpis4->text().trimmed();
    if (tekst.isEmpty() || !uslugi_.Slownik) {
        Wyczysc();
        return;
    }
    ZacznijWczytywanie();
    szukanie_.setFuture(
        vokara::WTle([slownik = uslugi_.Slownik, tekst, numer] { return Znajdz(*slownik, tekst, numer); }));
}

StronaOdsluchu::Znalezione StronaOdsluchu::Znajdz(vokara::Slownik& slownik, const QString& tekst, int numer)
{
    using vokara::Jezyk;
    Znalezione z;
    z.Numer = numer;
    z.Tekst = tekst;
    const std::string utf8 = tekst.toStdString();
    const std::vector<vokara::Wynik> wyniki = slownik.Szukaj(utf8);
    z.Uwaga = Tekst(slownik.Komunikat());
    for (std::size_t r = 0; r < wyniki.size() && z.Pozycje.size() < std::size_t(NajwiecejZnaczen); ++r) {
        const vokara::Wynik& w = wyniki[r];
        const bool angielskie = w.JezykHasla == Jezyk::Angielski;
        QString naglowek = Tekst(w.Haslo);
        if (angielskie && !w.Ipa.empty())
            naglowek += QStringLiteral("  ") + Tekst(w.Ipa);
        else if (!angielskie)
            naglowek += QStringLiteral(" – po angielsku:");
        if (r == 0)
            z.Naglowek = naglowek;
        bool pierwszaWyniku = r > 0;
        std::set<std::string> byly; // a text the dictionary gives in two senses shows once, with the first one's note
        for (const vokara::Grupa& g : w.Grupy) {
            bool pierwszaGrupy = true;
            for (const vokara::Znaczenie& zn : g.Znaczenia) {
                if (z.Pozycje.size() >= std::size_t(NajwiecejZnaczen))
                    break;
                if (zn.Tekst.empty() || !byly.insert(zn.Tekst).second)
                    continue;
                Pozycja p;
                p.Czesc = pierwszaGrupy ? Tekst(vokara::SkrotCzesci(g.Rodzaj)) : QString();
                p.CzescPelna = CzescPelna(g.Rodzaj);
                p.Tekst = Tekst(zn.Tekst);
                p.Naglowek = pierwszaWyniku ? naglowek : QString();
                p.Angielskie = !angielskie;
                if (angielskie) {
                    // A sense of another form ("minutes" for "minute") goes into a set with that form.
                    p.Angielski = Tekst(zn.Forma.empty() ? w.Haslo : zn.Forma);
                    p.Polski = p.Tekst;
                    QStringList dopisek;
                    if (!zn.Forma.empty())
                        dopisek << Tekst(zn.Forma) + QLatin1Char(':');
                    if (!zn.Dopisek.empty())
                        dopisek << QLatin1Char('(') + Tekst(zn.Dopisek) + QLatin1Char(')');
                    p.Dopisek = dopisek.join(QLatin1Char(' '));
                } else {
                    p.Angielski = p.Tekst;
                    p.Polski = Tekst(w.Haslo);
                    QStringList dopisek;
                    if (const std::string ipa = slownik.Ipa(zn.Tekst); !ipa.empty())
                        dopisek << Tekst(ipa);
                    if (!zn.Dopisek.empty())
                        dopisek << Tekst(zn.Dopisek);
                    p.Dopisek = dopisek.join(QStringLiteral(" – "));
                }
                z.Pozycje.push_back(std::move(p));
                pierwszaGrupy = pierwszaWyniku = false;
            }
        }
    }
    if (wyniki.empty() && slownik.Dostepny()) {
        z.BrakSlowa = true;
        // A word the dictionaries lack still has its IPA when it is English (no Polish letters).
        bool ascii = true;
        for (const QChar c : tekst)
            ascii = ascii && c.unicode() < 0x80;
        if (const std::string ipa = ascii ? slownik.Ipa(utf8) : std::string(); !ipa.empty())
            z.Naglowek = tekst + QStringLiteral("  ") + Tekst(ipa);
    }
    return z;
}

void StronaOdsluchu::Wyczysc()
{
    pozycje_.clear();
    ui->LHaslo4->clear();
    ui->LHaslo4->setAccessibleName(QString());
    for (const Rzad& r : rzedy_) {
        for (QWidget* w : std::initializer_list<QWidget*>{r.Naglowek, r.Czesc, r.Wybor, r.Glosnik, r.Dopisek})
            w->hide();
    }
    // The dictionary's own word (not installed, damaged) stays in the line.
    ui->LKomunikat4->setText(uwaga_);
    ui->LZestaw4->hide();
    ui->CZestaw4->hide();
    ui->BDodaj4->hide();
}

void StronaOdsluchu::UstawRzad(int i, const Pozycja& p, int& y)
{
    const Rzad& r = rzedy_[std::size_t(i)];
    const int szerokosc = ui->WZnaczenia4->width();
    if (!p.Naglowek.isEmpty()) {
        y += 4;
        r.Naglowek->setText(p.Naglowek);
        r.Naglowek->setGeometry(0, y, szerokosc, WysokoscNaglowka);
        r.Naglowek->show();
        y += WysokoscNaglowka;
    } else {
        r.Naglowek->hide();
    }
    r.Czesc->setText(p.Czesc);
    r.Czesc->setGeometry(0, y, SzerokoscCzesci - 4, WysokoscRzedu);
    r.Czesc->setVisible(!p.Czesc.isEmpty());
    // A meaning is shown as it is: an '&' is not a mnemonic.
    QString napis = p.Tekst;
    r.Wybor->setText(napis.replace(QLatin1Char('&'), QStringLiteral("&&")));
    r.Wybor->setAccessibleName(p.Tekst);
    QStringList opis{p.CzescPelna};
    if (!p.Dopisek.isEmpty())
        opis << p.Dopisek;
    opis.removeAll(QString());
    r.Wybor->setAccessibleDescription(opis.join(QStringLiteral(", ")));
    r.Wybor->setToolTip(p.Dopisek);
    r.Wybor->ensurePolished(); // its size from the font the page's sheet gives it
    const int szerokoscWyboru = std::min(r.Wybor->sizeHint().width(), szerokosc - SzerokoscCzesci - 30);
    r.Wybor->setGeometry(SzerokoscCzesci, y, szerokoscWyboru, WysokoscRzedu);
    r.Wybor->show();
    int x = SzerokoscCzesci + szerokoscWyboru + 2;
    if (p.Angielskie) {
        r.Glosnik->setGeometry(x, y + 1, 22, 22);
        r.Glosnik->setToolTip(QStringLiteral("Odsłuchaj: ") + p.Angielski);
        r.Glosnik->setAccessibleName(QStringLiteral("Odsłuchaj: ") + p.Angielski);
        r.Glosnik->show();
        x += 24;
    } else {
        r.Glosnik->hide();
    }
    x += 4;
    if (!p.Dopisek.isEmpty() && x < szerokosc - 20) {
        r.Dopisek->setGeometry(x, y, szerokosc - x, WysokoscRzedu);
        r.Dopisek->setText(r.Dopisek->fontMetrics().elidedText(p.Dopisek, Qt::ElideRight, szerokosc - x));
        r.Dopisek->setToolTip(p.Dopisek);
        r.Dopisek->show();
    } else {
        r.Dopisek->hide();
    }
    y += WysokoscRzedu;
}

void StronaOdsluchu::Pokaz(const Znalezione& z)
{
    // The pick goes back to the first meaning, and a focused pick that disappears hands the focus to the field.
    const bool fokusWWynikach = ui->WZnaczenia4->isAncestorOf(QApplication::focusWidget());
    Wyczysc();
    pozycje_ = z.Pozycje;
    ui->LHaslo4->setText(z.Naglowek);
    int y = 0;
    for (std::size_t i = 0; i < pozycje_.size(); ++i)
        UstawRzad(int(i), pozycje_[i], y);
    if (!pozycje_.empty()) {
        rzedy_[0].Wybor->setChecked(true);
        if (fokusWWynikach)
            rzedy_[0].Wybor->setFocus();
        // The own sets are listed when first needed after the page came to the front (the editor may have changed
        // them meanwhile) and again after each word added.
        if (ui->CZestaw4->count() == 0)
            WypelnijZestawy();
        ui->LZestaw4->show();
        ui->CZestaw4->show();
        ui->BDodaj4->show();
        ui->BDodaj4->setEnabled(bool(uslugi_.DodajDoMoich));
    } else if (fokusWWynikach) {
        ui->EWpis4->setFocus();
    }
    uwaga_ = z.Uwaga;
    QString komunikat = z.Uwaga;
    if (z.BrakSlowa)
        komunikat = QStringLiteral("Słownik nie zna słowa „%1”. Sprawdź pisownię.").arg(z.Tekst);
    if (!komunikat.isEmpty())
        ui->LKomunikat4->setText(komunikat);

    // A screen reader hears the whole result at once: the headword line and every meaning with its part of speech.
    QStringList doOdczytu;
    if (!z.Naglowek.isEmpty())
        doOdczytu << z.Naglowek;
    QString czesc;
    for (const Pozycja& p : pozycje_) {
        if (!p.Naglowek.isEmpty())
            doOdczytu << p.Naglowek;
        doOdczytu << (p.CzescPelna != czesc && !p.CzescPelna.isEmpty() ? p.CzescPelna + QStringLiteral(": ")
                                                                       : QString()) +
                         p.Tekst;
        czesc = p.CzescPelna;
    }
    if (!komunikat.isEmpty())
        doOdczytu << komunikat;
    ui->LHaslo4->setAccessibleName(doOdczytu.join(QStringLiteral("; ")));
    QAccessibleEvent nazwa(ui->LHaslo4, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&nazwa);
    QAccessibleEvent alarm(ui->LHaslo4, QAccessible::Alert);
    QAccessible::updateAccessibility(&alarm);
}

int StronaOdsluchu::Wybrana() const
{
    const int i = wybory_->checkedId();
    return i >= 0 && std::size_t(i) < pozycje_.size() ? i : -1;
}

void StronaOdsluchu::WymowPozycje(int i)
{
    if (i >= 0 && std::size_t(i) < pozycje_.size())
        uslugi_.WymowTekst(pozycje_[std::size_t(i)].Angielski);
}

void StronaOdsluchu::Komunikat(const QString& tekst)
{
    ui->LKomunikat4->setText(tekst);
    QAccessibleEvent alarm(ui->LKomunikat4, QAccessible::Alert);
    QAccessible::updateAccessibility(&alarm);
}

void StronaOdsluchu::WypelnijZestawy(const QString& wybierz)
{
    QStringList nazwy = uslugi_.MojeZestawy ? uslugi_.MojeZestawy() : QStringList();
    if (nazwy.size() > NajwiecejZestawow)
        nazwy.resize(NajwiecejZestawow);
    ui->CZestaw4->clear();
    for (const QString& n : nazwy)
        ui->CZestaw4->addItem(n, n);
    if (!nazwy.contains(NowyZestaw))
        ui->CZestaw4->addItem(NowyZestaw + QStringLiteral(" (nowy zestaw)"), NowyZestaw);
    const int i = ui->CZestaw4->findData(wybierz);
    ui->CZestaw4->setCurrentIndex(i >= 0 ? i : 0);
}

void StronaOdsluchu::DodajDoMoich()
{
    const int i = Wybrana();
    if (i < 0 || !uslugi_.DodajDoMoich)
        return;
    const Pozycja& p = pozycje_[std::size_t(i)];
    const QString zestaw = ui->CZestaw4->currentData().toString();
    // A set file holds Windows-1250 text of at most 100 bytes a field, with '*' between the fields.
    for (const QString& pole : {p.Angielski, p.Polski}) {
        if (const QString znak = ZnakSpozaCp1250(pole); !znak.isEmpty()) {
            Komunikat(QStringLiteral("Nie można dodać „%1”: znak „%2” nie ma odpowiednika w kodowaniu Windows-1250, "
                                     "w którym program zapisuje zestawy.")
                          .arg(pole, znak));
            return;
        }
        if (pole.contains(QLatin1Char('*'))) {
            Komunikat(QStringLiteral("Nie można dodać „%1”: gwiazdka „*” rozdziela pola w pliku zestawu.").arg(pole));
            return;
        }
        if (vokara::DoCp1250(pole)->size() > vokara::NajdluzszeZnaczenie) {
            Komunikat(QStringLiteral("Nie można dodać „%1”: pole zestawu mieści najwyżej %2 znaków.")
                          .arg(pole)
                          .arg(vokara::NajdluzszeZnaczenie));
            return;
        }
    }
    QString blad;
    if (!uslugi_.DodajDoMoich(p.Angielski, p.Polski, zestaw, blad)) {
        Komunikat(blad);
        return;
    }
    Komunikat(QStringLiteral("Dodano „%1 – %2” do zestawu „%3”.").arg(p.Angielski, p.Polski, zestaw));
    // The set used last comes first from now on.
    WypelnijZestawy(zestaw);
}

bool StronaOdsluchu::eventFilter(QObject* obiekt, QEvent* zdarzenie)
{
    if (obiekt == ui->EWpis4 && zdarzenie->type() == QEvent::KeyPress) {
        const int klawisz = static_cast<QKeyEvent*>(zdarzenie)->key();
        if (klawisz == Qt::Key_Return || klawisz == Qt::Key_Enter) {
            OdsluchajDowolne();
            return true;
        }
    }
    return TStrona::eventFilter(obiekt, zdarzenie);
}
