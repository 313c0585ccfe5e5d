// The update's own result window, for an outcome too long for the message box (the sets added and removed by name).
#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class TFWynikAktualizacji;
} // namespace Ui

class TFWynikAktualizacji : public QDialog {
    Q_OBJECT

public:
    explicit TFWynikAktualizacji(QWidget* parent = nullptr);
    ~TFWynikAktualizacji() override;

    // The text's first line is the heading, each further line a paragraph (lines split at a carriage return, as the
    // message box's). Shown modally over the parent, sized so that every line shows whole; returns when closed.
    void Pokaz(const QString& tekst);

    QString OstatniTekst; // the text shown last, as it was given

    // The width the paragraphs wrap at.
    static constexpr int SzerokoscTekstu = 440;

signals:
    // The window has been filled and is about to run its modal loop.
    void pokazany();

private:
    std::unique_ptr<Ui::TFWynikAktualizacji> ui;
};
