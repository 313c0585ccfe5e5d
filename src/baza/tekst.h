// The Qt edge of the Windows-1250 codec: data bytes to QString for display, typed text back to data bytes.
#pragma once

#include <QByteArrayView>
#include <QString>

#include <optional>
#include <string>

namespace vokara {

QString ZCp1250(QByteArrayView bajty);
inline QString ZCp1250(const std::string& bajty)
{
    return ZCp1250(QByteArrayView(bajty.data(), qsizetype(bajty.size())));
}

// Typed text as data bytes; empty when a character has no Windows-1250 byte (such text can match nothing).
std::optional<std::string> DoCp1250(const QString& tekst);

} // namespace vokara
