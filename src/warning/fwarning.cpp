// Message box: pictures, highlight walk, keys, clicks, the close spot and the drag strip.
#include "fwarning.h"

#include "jpeg.h"
#include "ui_fwarning.h"

#include <QFile>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>

using namespace vokara::komunikat;

TFWarning::TFWarning(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TFWarning>())
{
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setWindowModality(Qt::ApplicationModal);
    setFixedSize(350, 150);
    // The window takes every key itself; none of its parts can hold the focus.
    setFocusPolicy(Qt::StrongFocus);
    for (QLabel* klikany : {ui->ImButTak, ui->ImButNie, ui->ImButAnuluj, ui->ImButZamknij, ui->LClose, ui->LListwa})
        klikany->installEventFilter(this);
    // The buttons are pictures: a screen reader needs their words, and the keys that press them.
    const struct {
        QWidget* czesc;
        const char* nazwa;
        const char* opis;
    } nazwy[] = {
        {ui->ImButTak, "Tak", "klawisz T"},       {ui->ImButNie, "Nie", "klawisz N"},
        {ui->ImButAnuluj, "Anuluj", "klawisz A"}, {ui->ImButZamknij, "Zamknij", "klawisz Z lub Escape"},
        {ui->LClose, "Zamknij okno", ""},         {ui->LListwa, "Pasek tytułu", "przeciągnij, by przesunąć okno"},
        {ui->ImWarning, "Tło okna", ""},
    };
    for (const auto& n : nazwy) {
        n.czesc->setAccessibleName(QString::fromUtf8(n.nazwa));
        n.czesc->setAccessibleDescription(QString::fromUtf8(n.opis));
    }
    setAccessibleName(QStringLiteral("Vokara"));
    // The highlighted picture has a frame as well, in the dark brown a focused button of the main window has.
    ramka_ = new QFrame(this);
    ramka_->setObjectName(QStringLiteral("RamkaWyboru"));
    ramka_->setStyleSheet(
        QStringLiteral("QFrame#RamkaWyboru { border: 1px dotted #6e4a22; background: transparent; }"));
    ramka_->setAttribute(Qt::WA_TransparentForMouseEvents);
    ramka_->hide();
}

TFWarning::~TFWarning() = default;

namespace {

// A single carriage return separates the lines of a message.
QString Linie(const QString& tekst)
{
    QString linie = tekst;
    return linie.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
}

} // namespace

bool TFWarning::Miesci(const QString& tekst) const
{
    // Measured on a copy of the text's label, with the font its style sheet gives it.
    const QLabel* etykieta = ui->LTekstWarning;
    etykieta->ensurePolished();
    QLabel proba;
    proba.setFont(etykieta->font());
    proba.setTextFormat(etykieta->textFormat());
    proba.setWordWrap(etykieta->wordWrap());
    proba.setMargin(etykieta->margin());
    proba.setIndent(etykieta->indent());
    proba.setContentsMargins(etykieta->contentsMargins());
    proba.setText(Linie(tekst));
    return proba.heightForWidth(etykieta->width()) <= etykieta->height();
}

void TFWarning::Komunikat(int rodzaj, int ikona, const QString& tekst)
{
    // Nesting a second modal loop would leave the first caller waiting on a box that shows someone else's text.
    if (isVisible())
        return;
    OstatniTekst = tekst;
    UstawObrazy(rodzaj);
    const bool pytanie = rodzaj == Pytanie;
    ui->PButTak->setVisible(pytanie);
    ui->PButNie->setVisible(pytanie);
    ui->PButAnuluj->setVisible(pytanie);
    ui->pButZamknij->setVisible(!pytanie);
    const QString linie = Linie(tekst);
    ui->LTekstWarning->setText(linie);
    setAccessibleDescription(linie); // read with the window's name when it appears
    UstawIkone(ikona);
    WynikOkna = Nie;
    Przeciaganie = false;

    if (pierwszePokazanie_ || !wlasciciel_) {
        pierwszePokazanie_ = false;
        const QScreen* ekran = wlasciciel_ ? wlasciciel_->screen() : QGuiApplication::primaryScreen();
        if (ekran) {
            QRect obszar(QPoint(), size());
            obszar.moveCenter(ekran->geometry().center());
            move(obszar.topLeft());
        }
    } else {
        move(wlasciciel_->pos() + QPoint(200, 150));
    }
    emit pokazany();
    exec();
}

void TFWarning::WczytajObraz(const char* nazwa, QLabel* obraz)
{
    // Pictures are decoded afresh on every use; a missing or damaged one leaves its place empty.
    QFile zasob(QStringLiteral(":/jpeg/") + QString::fromLatin1(nazwa).toUpper());
    QImage wynik;
    if (zasob.open(QIODevice::ReadOnly))
        wynik = vokara::DekodujJpeg(zasob.readAll());
    if (wynik.isNull())
        obraz->clear();
    else
        obraz->setPixmap(QPixmap::fromImage(wynik));
}

void TFWarning::UstawObrazy(int rodzaj)
{
    WczytajObraz("oknowarning", ui->ImWarning);
    WczytajObraz("buttakakt", ui->ImButTak);
    WczytajObraz("butnie", ui->ImButNie);
    WczytajObraz("butzamknij", ui->ImButZamknij);
    WczytajObraz("butanuluj", ui->ImButAnuluj);
    Podswietlony = 4;
    if (rodzaj == Informacja)
        WczytajObraz("butzamknijakt", ui->ImButZamknij);
    else if (rodzaj == Pytanie)
        Podswietlony = 1;
    PokazRamke();
}

void TFWarning::PokazRamke()
{
    QWidget* przycisk = Podswietlony == 1   ? ui->PButTak
                        : Podswietlony == 2 ? ui->PButNie
                        : Podswietlony == 3 ? ui->PButAnuluj
                                            : ui->pButZamknij;
    ramka_->setGeometry(przycisk->geometry().adjusted(-2, -2, 2, 2));
    ramka_->raise();
    ramka_->show();
}

void TFWarning::UstawIkone(int ikona)
{
    switch (ikona) {
    case IkonaInformacji:
        WczytajObraz("ikoinfo", ui->ImIkona);
        ui->ImIkona->setAccessibleName(QStringLiteral("Informacja"));
        break;
    case IkonaPytania:
        WczytajObraz("ikopytanie", ui->ImIkona);
        ui->ImIkona->setAccessibleName(QStringLiteral("Pytanie"));
        break;
    case IkonaUwagi:
        WczytajObraz("ikouwaga", ui->ImIkona);
        ui->ImIkona->setAccessibleName(QStringLiteral("Uwaga"));
        break;
    default:
        ui->ImIkona->clear();
        ui->ImIkona->setAccessibleName(QString());
    }
}

void TFWarning::PodswietlWPrawo()
{
    switch (Podswietlony) {
    case 1:
        WczytajObraz("buttak", ui->ImButTak);
        WczytajObraz("butnieakt", ui->ImButNie);
        Podswietlony = 2;
        break;
    case 2:
        WczytajObraz("butnie", ui->ImButNie);
        WczytajObraz("butanulujakt", ui->ImButAnuluj);
        Podswietlony = 3;
        break;
    case 3:
        WczytajObraz("buttakakt", ui->ImButTak);
        WczytajObraz("butanuluj", ui->ImButAnuluj);
        Podswietlony = 1;
        break;
    default:
        break; // ZAMKNIJ stands alone
    }
    PokazRamke();
}

void TFWarning::PodswietlWLewo()
{
    switch (Podswietlony) {
    case 1:
        WczytajObraz("buttak", ui->ImButTak);
        WczytajObraz("butanulujakt", ui->ImButAnuluj);
        Podswietlony = 3;
        break;
    case 2:
        WczytajObraz("butnie", ui->ImButNie);
        WczytajObraz("buttakakt", ui->ImButTak);
        Podswietlony = 1;
        break;
    case 3:
        WczytajObraz("butnieakt", ui->ImButNie);
        WczytajObraz("butanuluj", ui->ImButAnuluj);
        Podswietlony = 2;
        break;
    default:
        break;
    }
    PokazRamke();
}

void TFWarning::ZamknijZ(int kod)
{
    WynikOkna = kod;
    accept();
}

void TFWarning::keyPressEvent(QKeyEvent* zdarzenie)
{
    // Every key stops here: the dialog's own Escape and Enter handling would answer behind the box's back.
    FormKeyDown(zdarzenie->key());
    zdarzenie->accept();
}

void TFWarning::FormKeyDown(int klawisz)
{
    if (klawisz == Qt::Key_T && ui->PButTak->isVisible())
        ZamknijZ(Tak);
    else if (klawisz == Qt::Key_N && ui->PButNie->isVisible())
        ZamknijZ(Nie);
    else if (klawisz == Qt::Key_A && ui->PButAnuluj->isVisible())
        ZamknijZ(Anuluj);
    else if (klawisz == Qt::Key_Z && ui->pButZamknij->isVisible())
        ZamknijZ(Zamknij);
    else if (klawisz == Qt::Key_Escape && ui->pButZamknij->isVisible())
        ZamknijZ(Zamknij);
    else if (klawisz == Qt::Key_Return || klawisz == Qt::Key_Enter)
        ZamknijZ(Podswietlony == 4 ? Zamknij : Podswietlony);
    else if (klawisz == Qt::Key_Left)
        PodswietlWLewo();
    else if (klawisz == Qt::Key_Right)
        PodswietlWPrawo();
}

void TFWarning::ImButTakClick()
{
    ZamknijZ(Tak);
}
void TFWarning::ImButNieClick()
{
    ZamknijZ(Nie);
}
void TFWarning::ImButAnulujClick()
{
    ZamknijZ(Anuluj);
}
void TFWarning::ImButZamknijClick()
{
    ZamknijZ(Zamknij);
}

void TFWarning::LCloseClick()
{
    if (ui->PButAnuluj->isVisible())
        ZamknijZ(Anuluj);
    else if (ui->pButZamknij->isVisible())
        ZamknijZ(Zamknij);
}

void TFWarning::LListwaMouseDown(const QPoint& punkt)
{
    Przeciaganie = true;
    OstatniPunkt = punkt;
}

void TFWarning::LListwaMouseMove(const QPoint& punkt)
{
    if (!Przeciaganie)
        return;
    // Screen coordinates keep the movement exact while the window moves under the cursor.
    move(pos() + (punkt - OstatniPunkt));
    OstatniPunkt = punkt;
}

void TFWarning::LListwaMouseUp()
{
    Przeciaganie = false;
}

bool TFWarning::eventFilter(QObject* obiekt, QEvent* zdarzenie)
{
    const auto typ = zdarzenie->type();
    if (typ != QEvent::MouseButtonPress && typ != QEvent::MouseMove && typ != QEvent::MouseButtonRelease)
        return QDialog::eventFilter(obiekt, zdarzenie);
    auto* mysz = static_cast<QMouseEvent*>(zdarzenie);
    const QPoint ekranowy = mysz->globalPosition().toPoint();
    if (obiekt == ui->LListwa) {
        if (typ == QEvent::MouseButtonPress)
            LListwaMouseDown(ekranowy);
        else if (typ == QEvent::MouseMove)
            LListwaMouseMove(ekranowy);
        else
            LListwaMouseUp();
        return true;
    }
    // A click is a left-button release over the same part the press began on.
    auto* etykieta = static_cast<QWidget*>(obiekt);
    if (typ != QEvent::MouseButtonRelease || mysz->button() != Qt::LeftButton ||
        !etykieta->rect().contains(mysz->position().toPoint()))
        return typ != QEvent::MouseMove;
    if (obiekt == ui->ImButTak)
        ImButTakClick();
    else if (obiekt == ui->ImButNie)
        ImButNieClick();
    else if (obiekt == ui->ImButAnuluj)
        ImButAnulujClick();
    else if (obiekt == ui->ImButZamknij)
        ImButZamknijClick();
    else if (obiekt == ui->LClose)
        LCloseClick();
    return true;
}
