// The one place that calls espeak-ng: phonemes of an English word in IPA, from the British RP voice.
#include "wymowa.h"

#include "utf8.h"

#include <espeak-ng/speak_lib.h>

#include <mutex>

namespace vokara::slownik {

std::string IpaEspeak(std::string_view slowo)
{
    std::string tekst;
    for (std::size_t i = 0; i < slowo.size() && tekst.size() < 200;) {
        const char32_t z = NastepnyZnak(slowo, i);
        if (Litera(z) || z == '\'' || z == '-')
            DopiszZnak(tekst, z);
        else if (z == ' ' && !tekst.empty() && tekst.back() != ' ')
            tekst += ' ';
    }
    if (tekst.empty())
        return {};

    static std::mutex zamek;
    static int stan = 0; // 0: not started yet, 1: ready, -1: cannot be used
    const std::lock_guard blokada(zamek);
    if (stan == 0) {
        stan = -1;
        // Phonemes only, no sound: nothing reaches the audio system. The voice is named by its file: Debian's 1.51
        // does not find "en-gb" by name, and a phoneme call after a failed voice selection crashes, so without the
        // voice espeak-ng is not used at all.
        if (espeak_Initialize(AUDIO_OUTPUT_RETRIEVAL, 0, nullptr, espeakINITIALIZE_DONT_EXIT) > 0 &&
            espeak_SetVoiceByName("gmw/en-GB-x-rp") == EE_OK)
            stan = 1;
    }
    if (stan != 1)
        return {};
    std::string wynik;
    const void* wskaznik = tekst.c_str();
    for (int zdanie = 0; wskaznik != nullptr && zdanie < 64; ++zdanie) {
        const char* fonemy = espeak_TextToPhonemes(&wskaznik, espeakCHARS_UTF8, espeakPHONEMES_IPA);
        if (fonemy == nullptr)
            break;
        if (!wynik.empty() && *fonemy != '\0')
            wynik += ' ';
        wynik += fonemy;
    }
    return wynik;
}

} // namespace vokara::slownik
