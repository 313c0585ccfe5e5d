// Program entry: no arguments are read.
#include "program.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication aplikacja(argc, argv);
    UstawAplikacje();
    Program program;
    // Without a list file the message has been shown and nothing else can work.
    if (!program.Pokaz())
        return 1;
    return QApplication::exec();
}
