// The free pronunciation page: any typed English word or phrase is spoken.
#pragma once

#include "strona.h"
#include "uslugi.h"

#include <memory>

class QLineEdit;

namespace Ui {
class TStronaOdsluchu;
}

class StronaOdsluchu : public TStrona {
    Q_OBJECT

public:
    StronaOdsluchu(Uslugi uslugi, QWidget* parent = nullptr);
    ~StronaOdsluchu() override;

    static constexpr OpisStrony Opis{"sSluchanieSlowa", "     Odsłuchanie słowa       ", "odsluch.htm"};

    void Resetuj() override;
    void OdsluchajDowolne();

protected:
    bool eventFilter(QObject* obiekt, QEvent* zdarzenie) override;

private:
    Uslugi uslugi_;
    std::unique_ptr<Ui::TStronaOdsluchu> ui;
};
