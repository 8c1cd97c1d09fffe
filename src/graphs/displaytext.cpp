#include "graphs/displaytext.h"

#include "base/text.h"

#include <QFile>

namespace torrentix {

QString displayText(std::string_view bytes, bool utf8) {
    if (utf8) {
        return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
    }
    const std::string converted = cp1252ToUtf8(bytes);
    return QString::fromUtf8(converted.data(), static_cast<qsizetype>(converted.size()));
}

QString anyText(std::string_view bytes) {
    return displayText(bytes, isValidUtf8(bytes));
}

QString screenLines(std::string_view bytes) {
    QString text = anyText(bytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

std::string pathBytes(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

QString pathText(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

} // namespace torrentix
