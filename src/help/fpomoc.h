// The program's own help window: the help folder's pages in a text browser, for when no browser opens them.
#pragma once

#include <QWidget>

#include <memory>

class QUrl;

namespace Ui {
class TFPomoc;
}

class TFPomoc : public QWidget {
    Q_OBJECT

public:
    explicit TFPomoc(QWidget* parent = nullptr);
    ~TFPomoc() override;

    // Shows the help page at the given path (a file of the help folder) and brings the window to the front.
    void Pokaz(const QString& plik);
    QUrl Strona() const;

private:
    std::unique_ptr<Ui::TFPomoc> ui;
    QString spis_; // the contents page: index.htm beside the first page shown
};
