// The learning memory in the set pickers: each set's progress and the closing "Powtórka (N)" item.
#pragma once

#include <QString>

#include <vector>

class QComboBox;

namespace vokara {

class Pamiec;
struct Dane;
struct ZnajomoscZestawu;

// True for the "Powtórka" item of a picker.
bool JestPowtorka(const QComboBox& lista, int indeks);

// How a set stands in words: "Opanowane: 12 z 40, w nauce: 20".
QString OpisZnajomosci(const ZnajomoscZestawu& z);

// Puts each set's progress on its picker item (the shares opanowane and w nauce, and both counts as its tooltip and
// description; nothing for a set never practised) and keeps "Powtórka (N)" as the last item while entries are due.
// An item the user has picked is never taken away.
void OdswiezWybory(Pamiec& pamiec, const Dane& dane, const std::vector<QComboBox*>& listy);

} // namespace vokara
