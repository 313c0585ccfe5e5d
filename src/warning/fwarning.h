// The program's own modal message box, drawn from JPEG pictures and answered by keys or mouse.
#pragma once

#include <QDialog>
#include <QPoint>
#include <QPointer>

#include <memory>

class QFrame;
class QLabel;

namespace Ui {
class TFWarning;
} // namespace Ui

// Kinds, icons and answers of a message.
namespace vokara::komunikat {
inline constexpr int Informacja = 1; // ZAMKNIJ only
inline constexpr int Pytanie = 3;    // TAK, NIE, ANULUJ
inline constexpr int IkonaInformacji = 1;
inline constexpr int IkonaPytania = 2;
inline constexpr int IkonaUwagi = 3;
inline constexpr int Zamknij = 0;
inline constexpr int Tak = 1;
inline constexpr int Nie = 2;
inline constexpr int Anuluj = 3;
} // namespace vokara::komunikat

class TFWarning : public QDialog {
    Q_OBJECT

public:
    explicit TFWarning(QWidget* parent = nullptr);
    ~TFWarning() override;

    // Fills the box, shows it modally and returns when it has closed; the answer is then in WynikOkna. A call while
    // the box is showing returns at once and changes nothing.
    void Komunikat(int rodzaj, int ikona, const QString& tekst);

    // Whether a text shows whole in the box: its lines wrapped at the text's width take no more than the text's height.
    // A notice that may be longer (a list of names) goes elsewhere when this is false.
    bool Miesci(const QString& tekst) const;

    // The window whose top-left corner places every box after the first; null centres each box on the screen.
    void UstawWlasciciela(QWidget* okno) { wlasciciel_ = okno; }

    void PodswietlWPrawo();
    void PodswietlWLewo();
    // Puts the named resource picture into an image; a missing or undecodable one leaves the image empty.
    void WczytajObraz(const char* nazwa, QLabel* obraz);

    int WynikOkna = 2;
    QString OstatniTekst; // the text of the message shown last, as it was given
    int Podswietlony = 4;
    bool Przeciaganie = false;
    QPoint OstatniPunkt;

signals:
    // Emitted when the box has been filled and is about to run its modal loop (tests and benchmarks wait on it).
    void pokazany();

protected:
    void keyPressEvent(QKeyEvent* zdarzenie) override;
    bool eventFilter(QObject* obiekt, QEvent* zdarzenie) override;

private:
    void UstawObrazy(int rodzaj);
    void UstawIkone(int ikona);
    void FormKeyDown(int klawisz);
    void ImButTakClick();
    void ImButNieClick();
    void ImButAnulujClick();
    void ImButZamknijClick();
    void LCloseClick();
    void LListwaMouseDown(const QPoint& punkt);
    void LListwaMouseMove(const QPoint& punkt);
    void LListwaMouseUp();
    void ZamknijZ(int kod);
    // The frame that shows which picture button Enter presses (the keyboard's focus in the box).
    void PokazRamke();

    std::unique_ptr<Ui::TFWarning> ui;
    QFrame* ramka_ = nullptr;
    QPointer<QWidget> wlasciciel_;
    bool pierwszePokazanie_ = true;
};
