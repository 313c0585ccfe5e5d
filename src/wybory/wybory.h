// The learning memory in the set pickers: each set's progress and the closing "Powtórka (N)" item.
#pragma once

#include <vector>

class QComboBox;

namespace vokara {

class Pamiec;
struct Dane;

// True for the "Powtórka" item of a picker.
bool JestPowtorka(const QComboBox& lista, int indeks);

// Puts each set's known share on its picker item (nothing for a set never practised) and keeps "Powtórka (N)" as the
// last item while entries are due. An item the user has picked is never taken away.
void OdswiezWybory(Pamiec& pamiec, const Dane& dane, const std::vector<QComboBox*>& listy);

} // namespace vokara
