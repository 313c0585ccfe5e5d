// The shared steps of the exercise pages.
#include "cwiczenie.h"

#include "formularz.h"
#include "fwarning.h"
#include "tekst.h"
#include "wybory.h"
#include "wyborzestawu.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QRadioButton>

const QString Cwiczenie::KliknijNastepny = QStringLiteral("Kliknij w \"Następny\", by rozpocząć");
const QString Cwiczenie::KoniecZestawu = QStringLiteral(
    "Odpowiedziałeś poprawnie na wszystkie pytania w tym zestawie. Czy chcesz ponowić pracę z tym samym zestawem?");

Cwiczenie::Cwiczenie(StanProgramu& stan, FormularzGlowny& ui, TFWarning& warning, Wymowa wymow, QObject* parent)
    : QObject(parent), stan(stan), ui(ui), warning(warning), wymow(std::move(wymow))
{
}

void Cwiczenie::Powiaz(TWyborZestawu* lista, QLabel* komentarz, QPushButton* nastepny, QString tekstBezczynny)
{
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
}

void Cwiczenie::ZmianaZestawu(int i)
{
    Ukryj();
    lista_->setCurrentIndex(i);
    if (!Wczytaj(i))
        return;
    PoWczytaniu();
    nastepny_->show();
    komentarz_->setText(KliknijNastepny);
    Oglos(komentarz_);
    PokazPostep();
}

bool Cwiczenie::Wczytaj(int i)
{
    pominiete_ = 0;
    bledy_ = 0;
    // "Powtórka" is drilled like a set: the due entries are loaded, then shuffled by the same engine.
    if (vokara::JestPowtorka(*lista_, i)) {
        vokara::Zestaw powtorka;
        if (!stan.pamiec.WczytajPowtorke(powtorka))
            return false;
        stan.runda.Zacznij(std::move(powtorka));
        return true;
    }
    if (!stan.runda.WczytajZestaw(stan.dane, i))
        return false;
    // Answers are kept under the set's file name; a picker item beyond the list's sets has none here.
    stan.pamiec.NowaRunda(std::size_t(i) < stan.dane.Zestawy.size() ? stan.dane.Zestawy[std::size_t(i)].Plik
                                                                    : std::string());
    return true;
}

void Cwiczenie::KoniecRundy()
{
    warning.Komunikat(vokara::komunikat::Pytanie, vokara::komunikat::IkonaPytania, KoniecZestawu);
    const int i = lista_->currentIndex();
    Ukryj();
    if (warning.WynikOkna == vokara::komunikat::Tak) {
        lista_->setCurrentIndex(i);
        if (!Wczytaj(i))
            return;
        nastepny_->show();
        komentarz_->setText(KliknijNastepny);
        PokazPostep();
    } else if (warning.WynikOkna == vokara::komunikat::Nie) {
        komentarz_->setText(tekstBezczynny_);
    }
}

void Cwiczenie::PokazPostep()
{
    const int wszystkie = int(stan.runda.Wyrazy().size()) - pominiete_;
    postep_->setText(QStringLiteral("Zaliczone: %1 z %2, błędy: %3")
                         .arg(stan.runda.Zaliczone() - pominiete_)
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
        // The page is the tab the picker lies on.
        int strona = -1;
        for (QWidget* w = lista_; w && strona < 0; w = w->parentWidget())
            strona = ui.PStrony->indexOf(w);
        stan.pamiec.Zapisz(wyraz.Angielski, wyraz.Polski, strona, kierunek, wyraz.Zaliczony);
    }
    PokazPostep();
}

void Cwiczenie::UkryjPostep()
{
    postep_->hide();
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
    return QObject::eventFilter(obiekt, zdarzenie);
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
