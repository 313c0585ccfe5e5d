// The shared steps of the exercise pages.
#include "cwiczenie.h"

#include "fwarning.h"
#include "kodowanie.h"
#include "slownik.h"
#include "tekst.h"
#include "wtle.h"
#include "wybory.h"
#include "wyborzestawu.h"

#include <QAccessible>
#include <QFutureWatcher>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>

#include <algorithm>

const QString Cwiczenie::KliknijNastepny = QStringLiteral("Kliknij w \"Następny\", by rozpocząć");
const QString Cwiczenie::KoniecZestawu = QStringLiteral(
    "Odpowiedziałeś poprawnie na wszystkie pytania w tym zestawie. Czy chcesz ponowić pracę z tym samym zestawem?");

Cwiczenie::Cwiczenie(Uslugi uslugi, QWidget* parent) : TStrona(parent), uslugi_(std::move(uslugi)), runda_(*uslugi_.Los)
{
    Q_ASSERT(uslugi_.Los);
}

void Cwiczenie::Powiaz(int id, TWyborZestawu* lista, QLabel* komentarz, QPushButton* nastepny, QString tekstBezczynny)
{
    id_ = id;
    lista_ = lista;
    komentarz_ = komentarz;
    nastepny_ = nastepny;
    tekstBezczynny_ = std::move(tekstBezczynny);
    // A pick by the user, never a selection made by the program, loads a set.
    connect(lista, &QComboBox::activated, this, &Cwiczenie::ZmianaZestawu);
    // The progress line sits in the picker column, under the picker controls.
    postep_ = new QLabel(lista->parentWidget());
    postep_->setObjectName(QStringLiteral("LPostep") + lista->objectName().mid(QStringLiteral("CZestawSlow").size()));
    postep_->setGeometry(38, 215, 240, 18);
    postep_->setStyleSheet(QStringLiteral("font-size: 13px; color: rgb(44,47,43); background: transparent;"));
    postep_->hide();
    EnterNaciska(this);
}

void Cwiczenie::ResetujWybor()
{
    runda_.Biezacy = -1;
    // Selecting an item from the program loads nothing: the page stays idle until the user picks a set.
    lista_->setCurrentIndex(lista_->count() > 0 ? 0 : -1);
}

void Cwiczenie::ZmianaZestawu(int i)
{
    Ukryj();
    lista_->setCurrentIndex(i);
    if (!Wczytaj(i))
        return;
    PoWczytaniu();
    nastepny_->show();
    // A set picked from the keyboard: Enter goes on to start the round.
    nastepny_->setFocus();
    komentarz_->setText(KliknijNastepny);
    Oglos(komentarz_);
    PokazPostep();
}

bool Cwiczenie::Wczytaj(int i)
{
    pominiete_ = 0;
    bledy_ = 0;
    // "Powtórka" is drilled like a set: the due entries are loaded, then shuffled by the same round.
    vokara::Zestaw zestaw;
    if (!(vokara::JestPowtorka(*lista_, i) ? uslugi_.Powtorka(zestaw) : uslugi_.Zestaw(i, zestaw)))
        return false;
    runda_.Zacznij(std::move(zestaw));
    return true;
}

void Cwiczenie::KoniecRundy()
{
    emit koniecRundy();
    const int wynik = Komunikat(vokara::komunikat::Pytanie, vokara::komunikat::IkonaPytania, KoniecZestawu);
    const int i = lista_->currentIndex();
    Ukryj();
    if (wynik == vokara::komunikat::Tak) {
        lista_->setCurrentIndex(i);
        if (!Wczytaj(i))
            return;
        nastepny_->show();
        komentarz_->setText(KliknijNastepny);
        PokazPostep();
    } else if (wynik == vokara::komunikat::Nie) {
        komentarz_->setText(tekstBezczynny_);
    }
}

void Cwiczenie::PokazPostep()
{
    const int wszystkie = int(runda_.Wyrazy().size()) - pominiete_;
    postep_->setText(QStringLiteral("Zaliczone: %1 z %2, błędy: %3")
                         .arg(runda_.Zaliczone() - pominiete_)
                         .arg(wszystkie)
                         .arg(bledy_));
    postep_->show();
}

void Cwiczenie::Odpowiedziano(int kierunek)
{
    if (JestBiezacy()) {
        const auto& wyraz = Biezacy();
        if (!wyraz.Zaliczony)
            ++bledy_;
        emit odpowiedziano(wyraz, id_, kierunek, wyraz.Zaliczony);
    }
    PokazPostep();
}

void Cwiczenie::PowiazUznanie(QPushButton* uznaj)
{
    uznaj_ = uznaj;
    uznaj_->setAccessibleDescription(QStringLiteral("Uznaj swoją odpowiedź za poprawną, Alt+U"));
    uznaj_->hide();
    connect(uznaj_, &QPushButton::clicked, this, &Cwiczenie::UznajOdpowiedz);
    auto* skrot = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_U), this);
    connect(skrot, &QShortcut::activated, this, [this] {
        if (uznaj_->isVisible())
            UznajOdpowiedz();
    });
}

void Cwiczenie::PokazUznanie(bool widoczne)
{
    if (uznaj_)
        uznaj_->setVisible(widoczne);
}

void Cwiczenie::UznajOdpowiedz()
{
    if (!runda_.Uznaj())
        return;
    // The entry counts as answered, the mistake is taken back, and the memory keeps the answer as right.
    bledy_ = std::max(0, bledy_ - 1);
    emit uznano(Biezacy());
    PokazUznanie(false);
    komentarz_->setText(QStringLiteral("Uznano Twoją odpowiedź za poprawną."));
    Oglos(komentarz_);
    PokazPostep();
    nastepny_->setFocus();
}

void Cwiczenie::PokazWymowe(QLabel* linia, const std::string& angielski, bool zeSlowem)
{
    const quint64 numer = ++numerWymowy_;
    linia->clear();
    linia->hide();
    if (!uslugi_.Slownik)
        return;
    auto* czeka = new QFutureWatcher<std::string>(this);
    connect(czeka, &QFutureWatcherBase::finished, this, [this, czeka, linia, numer, angielski, zeSlowem] {
        czeka->deleteLater();
        const std::string ipa = czeka->result();
        if (numer != numerWymowy_ || ipa.empty())
            return;
        const QString tekst = QString::fromStdString(ipa);
        linia->setText(zeSlowem ? vokara::ZCp1250(angielski) + QStringLiteral("  ") + tekst : tekst);
        linia->setAccessibleName(QStringLiteral("Wymowa: ") + tekst);
        linia->show();
    });
    czeka->setFuture(vokara::WTle(
        [slownik = uslugi_.Slownik, utf8 = vokara::Cp1250NaUtf8(angielski)] { return slownik->Ipa(utf8); }));
}

void Cwiczenie::UkryjWymowe(QLabel* linia)
{
    ++numerWymowy_;
    linia->clear();
    linia->hide();
}

void Cwiczenie::UkryjPostep()
{
    postep_->hide();
}

void Cwiczenie::Ocenione(int kierunek, int ocena)
{
    if (JestBiezacy()) {
        const auto& wyraz = Biezacy();
        if (!wyraz.Zaliczony)
            ++bledy_;
        emit ocenione(wyraz, id_, kierunek, ocena);
    }
    PokazPostep();
}

void Cwiczenie::Pokaz(const std::string& bajty, QLabel* etykieta)
{
    // Data texts are shown as they are: markup in a set file is never interpreted.
    etykieta->setTextFormat(Qt::PlainText);
    etykieta->setText(vokara::ZCp1250(bajty));
    if (etykieta == komentarz_)
        Oglos(etykieta);
}

void Cwiczenie::Oglos(QLabel* komentarz)
{
    QAccessibleEvent nazwa(komentarz, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&nazwa);
    QAccessibleEvent alarm(komentarz, QAccessible::Alert);
    QAccessible::updateAccessibility(&alarm);
}

bool Cwiczenie::KlawiszWpisu(QLineEdit*, int, Qt::KeyboardModifiers)
{
    return false;
}

bool Cwiczenie::eventFilter(QObject* obiekt, QEvent* zdarzenie)
{
    if (zdarzenie->type() == QEvent::KeyPress) {
        auto* klawisz = static_cast<QKeyEvent*>(zdarzenie);
        if (auto* pole = qobject_cast<QLineEdit*>(obiekt))
            return KlawiszWpisu(pole, klawisz->key(), klawisz->modifiers() & ~Qt::KeypadModifier);
    }
    return TStrona::eventFilter(obiekt, zdarzenie);
}

int IndeksTrybu(const QWidget* grupa)
{
    const auto przyciski = grupa->findChildren<QRadioButton*>();
    for (const QRadioButton* p : przyciski) {
        if (p->isChecked() && p->objectName().endsWith(QLatin1String("_1")))
            return 1;
    }
    return 0;
}

void UstawTryb(QWidget* grupa, int indeks)
{
    const QString koncowka = indeks == 1 ? QStringLiteral("_1") : QStringLiteral("_0");
    for (QRadioButton* p : grupa->findChildren<QRadioButton*>()) {
        if (p->objectName().endsWith(koncowka))
            p->setChecked(true);
    }
}
