#include "graphs/displaytext.h"

#include "base/text.h"
#include "report/formulaguard.h"

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

QString spreadsheetText(const QString& text) {
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString& line : lines) {
        QStringList cells = line.split(QLatin1Char('\t'));
        for (QString& cell : cells) {
            cell = QString::fromStdString(guardFormula(cell.toStdString()));
        }
        line = cells.join(QLatin1Char('\t'));
    }
    return lines.join(QLatin1Char('\n'));
}

// The engine opens files by UTF-8 names on Windows, and by the system's bytes elsewhere.
std::string pathBytes(const QString& path) {
#if defined(Q_OS_WIN)
    return path.toUtf8().toStdString();
#else
    return QFile::encodeName(path).toStdString();
#endif
}

QString pathText(const std::string& path) {
#if defined(Q_OS_WIN)
    return QString::fromUtf8(path);
#else
    return QFile::decodeName(QByteArray::fromStdString(path));
#endif
}

} // namespace torrentix
