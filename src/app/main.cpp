// Program entry: `vokara [FILE]`; a file given opens the own-sets editor with it imported as a new set, or, when it
// holds running text (subtitles, HTML, prose), the words window with its words.
#include "program.h"

#include <QApplication>
#include <QStringList>

int main(int argc, char** argv)
{
    QApplication aplikacja(argc, argv);
    UstawAplikacje();
    Program program;
    // Without a list file the message has been shown and nothing else can work.
    if (!program.Pokaz())
        return 1;
    // Qt has taken its own options out of the arguments already; the first one left is the file to import.
    const QStringList argumenty = QCoreApplication::arguments();
    if (argumenty.size() > 1)
        program.FGlowny->OtworzPlik(argumenty.at(1));
    return QApplication::exec();
}
