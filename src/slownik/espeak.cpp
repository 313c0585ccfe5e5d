// The one place that calls espeak-ng: phonemes of an English word in IPA, from the British RP voice. The library is
// loaded on its first use, not linked, so the program's start does not pay for it and its audio libraries.
#include "wymowa.h"

#include "utf8.h"

#include <espeak-ng/speak_lib.h>

#include <dlfcn.h>

#include <mutex>

namespace vokara::slownik {

namespace {

// The three calls the IPA needs, from the library loaded by path (null when it cannot be loaded).
struct Espeak {
    decltype(&espeak_Initialize) Inicjuj = nullptr;
    decltype(&espeak_SetVoiceByName) UstawGlos = nullptr;
    decltype(&espeak_TextToPhonemes) Fonemy = nullptr;
};

Espeak Zaladuj()
{
    Espeak e;
    for (const char* nazwa : {VOKARA_ESPEAK_NG, "libespeak-ng.so.1"}) {
        // Kept for the process's life: espeak-ng's state lives in it.
        if (void* biblioteka = dlopen(nazwa, RTLD_NOW | RTLD_LOCAL)) {
            e.Inicjuj = reinterpret_cast<decltype(e.Inicjuj)>(dlsym(biblioteka, "espeak_Initialize"));
            e.UstawGlos = reinterpret_cast<decltype(e.UstawGlos)>(dlsym(biblioteka, "espeak_SetVoiceByName"));
            e.Fonemy = reinterpret_cast<decltype(e.Fonemy)>(dlsym(biblioteka, "espeak_TextToPhonemes"));
            if (e.Inicjuj && e.UstawGlos && e.Fonemy)
                return e;
            dlclose(biblioteka);
            e = Espeak{};
        }
    }
    return e;
}

} // namespace

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
    static Espeak espeak;
    const std::lock_guard blokada(zamek);
    if (stan == 0) {
        stan = -1;
        espeak = Zaladuj();
        // Phonemes only, no sound: nothing reaches the audio system. The voice is named by its file: Debian's 1.51
        // does not find "en-gb" by name, and a phoneme call after a failed voice selection crashes, so without the
        // voice espeak-ng is not used at all.
        if (espeak.Inicjuj && espeak.Inicjuj(AUDIO_OUTPUT_RETRIEVAL, 0, nullptr, espeakINITIALIZE_DONT_EXIT) > 0 &&
            espeak.UstawGlos("gmw/en-GB-x-rp") == EE_OK)
            stan = 1;
    }
    if (stan != 1)
        return {};
    std::string wynik;
    const void* wskaznik = tekst.c_str();
    for (int zdanie = 0; wskaznik != nullptr && zdanie < 64; ++zdanie) {
        const char* fonemy = espeak.Fonemy(&wskaznik, espeakCHARS_UTF8, espeakPHONEMES_IPA);
        if (fonemy == nullptr)
            break;
        if (!wynik.empty() && *fonemy != '\0')
            wynik += ' ';
        wynik += fonemy;
    }
    return wynik;
}

} // namespace vokara::slownik
