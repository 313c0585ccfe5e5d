// A whole program in a temporary working folder, with its message boxes answered by a script of keys.
#pragma once

#include "pomocnicze.h"
#include "program.h"
#include "raport.h"
#include "wyborzestawu.h"

#include <QAbstractItemView>
#include <QApplication>

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

namespace testy {

// Answers every message box as it shows: with the next queued key, or Enter when none is queued. Records the texts.
class Odpowiedzi : public QObject {
public:
    explicit Odpowiedzi(TFWarning& okno) : okno_(okno)
    {
        connect(
            &okno, &TFWarning::pokazany, this,
            [this] {
                teksty << okno_.OstatniTekst;
                QTest::keyClick(&okno_, klawisze.isEmpty() ? Qt::Key_Return : Qt::Key(klawisze.takeFirst()));
            },
            Qt::QueuedConnection);
    }

    QStringList teksty;
    QList<int> klawisze;

private:
    TFWarning& okno_;
};

// A working folder with a data folder, made current for the program's life (the program reads `dane` there).
class Katalog {
public:
    Katalog() : poprzedni_(QDir::currentPath())
    {
        QDir().mkpath(katalog_.filePath("dane/voice"));
        QDir::setCurrent(katalog_.path());
    }
    ~Katalog() { QDir::setCurrent(poprzedni_); }
    Katalog(const Katalog&) = delete;
    Katalog& operator=(const Katalog&) = delete;

    QString sciezka(const QString& wzgledna = QString()) const { return katalog_.filePath(wzgledna); }
    void lista(const QStringList& linie) const { zapiszLinie(sciezka("dane/a_spis.txt"), linie); }
    void zestaw(const QString& plik, const QStringList& linie) const { zapiszLinie(sciezka("dane/" + plik), linie); }

private:
    QTemporaryDir katalog_;
    QString poprzedni_;
};

// The default error report records its texts for the test's lifetime.
class Raporty {
public:
    Raporty()
    {
        vokara::UstawRaportBledow([this](const QString& t) { teksty << t; });
    }
    ~Raporty() { vokara::UstawRaportBledow({}); }
    QStringList teksty;
};

// Types text key by key, Polish letters included (QTest::keyClicks takes ASCII only).
inline void wpisz(QWidget* pole, const QString& tekst)
{
    for (QChar z : tekst)
        QTest::sendKeyEvent(QTest::Click, pole, Qt::Key_unknown, QString(z), Qt::NoModifier);
}

// Picks a set the way a user does: the list opens, an item is chosen with Enter.
inline void wybierz(TWyborZestawu* lista, int i)
{
    lista->showPopup();
    lista->view()->setCurrentIndex(lista->model()->index(i, 0));
    QTest::keyClick(lista->view(), Qt::Key_Return);
    QTRY_VERIFY(!lista->view()->isVisible());
    QCoreApplication::processEvents(); // a person's next key comes after this one has been handled
    // The offscreen platform hands activation back from a closed popup neither to the window system's window nor
    // to the application: the window's shortcuts would stay dead, as they never are on a desktop.
    lista->window()->activateWindow();
    QApplication::setActiveWindow(lista->window());
    QVERIFY(QTest::qWaitForWindowActive(lista->window()));
}

template <typename T> T* znajdz(QWidget& okno, const char* nazwa)
{
    auto* w = okno.findChild<T*>(QString::fromLatin1(nazwa));
    if (!w)
        qFatal("no widget %s", nazwa);
    return w;
}

} // namespace testy
