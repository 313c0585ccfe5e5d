// JPEG decoding of the message box pictures with libjpeg.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

namespace vokara {

// Decodes JPEG bytes into an RGB image. On failure returns a null image and, when asked, libjpeg's reason.
QImage DekodujJpeg(const QByteArray& bajty, QString* blad = nullptr);

} // namespace vokara
