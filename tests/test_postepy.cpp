// The learning memory: boxes and due dates, the database's failures, and rounds played through the real pages.
#include "cwiczenie.h"
#include "program_testowy.h"
#include "tekst.h"
#include "ui_fglowny.h"
#include "wyborzestawu.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QTabBar>

namespace {

// A started program on a working folder with the given sets.
struct Gra {
    explicit Gra(const QList<QStringList>& zestawy)
    {
        QStringList lista{"01.12.2026*1.0"};
        for (int i = 0; i < zestawy.size(); ++i) {
            const QString plik = QStringLiteral("z%1.txt").arg(i);
            lista << QStringLiteral("Zestaw %1*%2").arg(i).arg(plik);
            katalog.zestaw(plik, QStringList{"Słowo*Znaczenie"} + zestawy[i]);
        }
        katalog.lista(lista);
    }

    void start()
    {
        program = std::make_unique<Program>();
        odpowiedzi = std::make_unique<testy::Odpowiedzi>(*program->FWarning);
        if (!program->Pokaz() || !QTest::qWaitForWindowActive(program->FGlowny.get()))
            qFatal("program did not start");
    }

    Ui::TFGlowny& ui() { return program->FGlowny->Formularz(); }

    void strona(int p)
    {
        QTabBar* pasek = ui().PStrony->tabBar();
        QTest::mouseClick(pasek, Qt::LeftButton, {}, pasek->tabRect(p).center());
    }

    void wybierz(TWyborZestawu* lista, int i)
    {
        lista->showPopup();
        lista->view()->setCurrentIndex(lista->model()->index(i, 0));
        QTest::keyClick(lista->view(), Qt::Key_Return);
        QTRY_VERIFY(!lista->view()->isVisible());
        QCoreApplication::processEvents();
        lista->window()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(lista->window()));
    }

    testy::Katalog katalog;
    std::unique_ptr<Program> program;
    std::unique_ptr<testy::Odpowiedzi> odpowiedzi;
};

const QStringList Osiem{"dog*pies",  "cat*kot",   "cow*krowa",  "horse*koń",
                        "bird*ptak", "fish*ryba", "mouse*mysz", "sheep*owca"};

// A whole round on the choice page and one on the typing page, every third (fourth) answer wrong, written down
// question by question: what the user saw and what the page said.
QStringList ZagrajRundy(Gra& g)
{
    QStringList zapis;
    auto& ui = g.ui();
    g.strona(1);
    g.wybierz(ui.CZestawSlow, 0);
    for (int krok = 0; krok < 60; ++krok) {
        g.odpowiedzi->klawisze = {Qt::Key_N};
        QTest::mouseClick(ui.ButNastepny, Qt::LeftButton);
        if (!ui.ButSprawdz->isVisible())
            break;
        const QString poprawna = vokara::ZCp1250(g.program->stan.silnik.PoprawnaOdpowiedz(0));
        QLabel* opcje[] = {ui.Lw1, ui.LW2, ui.LW3};
        zapis << QStringLiteral("test %1: %2 | %3 | %4")
                     .arg(ui.LDanyWyraz->text(), opcje[0]->text(), opcje[1]->text(), opcje[2]->text());
        const bool dobrze = krok % 3 != 2;
        for (QLabel* o : opcje) {
            if ((o->text() == poprawna) == dobrze) {
                QTest::mouseClick(o, Qt::LeftButton);
                break;
            }
        }
        QTest::mouseClick(ui.ButSprawdz, Qt::LeftButton);
        zapis << ui.LKomentarz->text();
    }
    g.strona(2);
    g.wybierz(ui.CZestawSlow2, 0);
    for (int krok = 0; krok < 60; ++krok) {
        g.odpowiedzi->klawisze = {Qt::Key_N};
        QTest::mouseClick(ui.ButNastepny2, Qt::LeftButton);
        if (!ui.ButSprawdz2->isVisible())
            break;
        zapis << QStringLiteral("wpis %1").arg(ui.LDanyWyraz2->text());
        const QString poprawna = vokara::ZCp1250(g.program->stan.silnik.PoprawnaOdpowiedz(0));
        testy::wpisz(ui.EWpis2, krok % 4 == 3 ? QStringLiteral("zle") : poprawna);
        QTest::keyClick(ui.EWpis2, Qt::Key_Return);
        zapis << ui.LKomentarz2->text();
    }
    return zapis;
}

} // namespace

class TestPostepy : public QObject {
    Q_OBJECT

private slots:
    // Rounds played with the learning memory in place draw exactly what they drew before it existed.
    void teSameLosowania()
    {
        Gra g({Osiem, QStringList{"red*czerwony", "blue*niebieski", "green*zielony"}});
        g.start();
        const QStringList zapis = ZagrajRundy(g);
        QFile wzor(VOKARA_TESTY_DANE "/runda_przed.txt");
        if (qEnvironmentVariableIsSet("VOKARA_ZAPISZ_RUNDE")) {
            QVERIFY(wzor.open(QIODevice::WriteOnly));
            wzor.write(zapis.join('\n').toUtf8() + '\n');
            return;
        }
        QVERIFY(wzor.open(QIODevice::ReadOnly));
        QCOMPARE(zapis, QString::fromUtf8(wzor.readAll()).trimmed().split('\n'));
    }
};

int main(int argc, char** argv)
{
    QApplication aplikacja(argc, argv);
    TestPostepy test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_postepy.moc"
