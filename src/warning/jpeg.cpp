// libjpeg decompressor whose fatal errors jump back here instead of ending the program.
#include "jpeg.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace vokara {

namespace {

struct MenedzerBledow {
    jpeg_error_mgr pub; // first, so libjpeg's pointer to it is also a pointer to the whole
    std::jmp_buf powrot;
    char komunikat[JMSG_LENGTH_MAX];
};

void BladKrytyczny(j_common_ptr cinfo)
{
    auto* m = reinterpret_cast<MenedzerBledow*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, m->komunikat);
    std::longjmp(m->powrot, 1);
}

// A warning means damaged data (a truncated file is "completed" with grey by libjpeg): the picture is refused.
void Ostrzezenie(j_common_ptr cinfo, int poziom)
{
    if (poziom < 0)
        BladKrytyczny(cinfo);
}

} // namespace

QImage DekodujJpeg(const QByteArray& bajty, QString* blad)
{
    jpeg_decompress_struct cinfo{};
    MenedzerBledow bledy{};
    cinfo.err = jpeg_std_error(&bledy.pub);
    bledy.pub.error_exit = BladKrytyczny;
    bledy.pub.emit_message = Ostrzezenie;
    // The picture being filled lives on the heap behind a volatile pointer: a local changed after setjmp would be
    // indeterminate once libjpeg jumps back.
    QImage* volatile obraz = nullptr;
    if (setjmp(bledy.powrot)) {
        jpeg_destroy_decompress(&cinfo);
        delete obraz;
        if (blad)
            *blad = QString::fromLatin1(bledy.komunikat);
        return QImage();
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(bajty.constData()),
                 static_cast<unsigned long>(bajty.size()));
    jpeg_read_header(&cinfo, TRUE);
    cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&cinfo);
    obraz = new QImage(int(cinfo.output_width), int(cinfo.output_height), QImage::Format_RGB888);
    if (obraz->isNull()) {
        jpeg_destroy_decompress(&cinfo);
        delete obraz;
        if (blad)
            *blad = QStringLiteral("image too large");
        return QImage();
    }
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW wiersz = obraz->scanLine(int(cinfo.output_scanline));
        jpeg_read_scanlines(&cinfo, &wiersz, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    QImage wynik = std::move(*obraz);
    delete obraz;
    return wynik;
}

} // namespace vokara
