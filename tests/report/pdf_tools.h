#pragma once

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QString>
#include <QTemporaryDir>

// Reading printed PDFs back with poppler's command-line tools.
namespace pdftools {

inline bool available() {
    return !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty() &&
           !QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty() &&
           !QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty() &&
           !QStandardPaths::findExecutable(QStringLiteral("pdfimages")).isEmpty();
}

inline QByteArray run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(-1);
    return process.readAllStandardOutput();
}

inline int pageCount(const QString& pdf) {
    if (!QFileInfo::exists(pdf))
        return 0;
    const QString info = QString::fromUtf8(run(QStringLiteral("pdfinfo"), {pdf}));
    const QRegularExpressionMatch match = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info);
    return match.hasMatch() ? match.captured(1).toInt() : 0;
}

// Extractors map some glyphs to look-alike code points: CJK radicals for the
// ideographs they share a glyph with (⽉ for 月), the wave dash for the full-width
// tilde. Both are folded back so tests can compare with the texts printed.
inline QString folded(const QString& text) {
    QString out;
    for (QChar c : text) {
        if (c.unicode() >= 0x2E80 && c.unicode() <= 0x2FDF)
            out += QString(c).normalized(QString::NormalizationForm_KC);
        else
            out += c.unicode() == 0x301C ? QChar(0xFF5E) : c;
    }
    return out;
}

// The text of one page (from 1), laid out as on the page.
inline QString pageText(const QString& pdf, int page) {
    return folded(QString::fromUtf8(
        run(QStringLiteral("pdftotext"),
            {QStringLiteral("-layout"), QStringLiteral("-enc"), QStringLiteral("UTF-8"), QStringLiteral("-f"),
             QString::number(page), QStringLiteral("-l"), QString::number(page), pdf, QStringLiteral("-")})));
}

// One page rendered at the given resolution.
inline QImage rasterise(const QString& pdf, int page, int dpi) {
    QTemporaryDir dir;
    const QString stem = dir.filePath(QStringLiteral("page"));
    run(QStringLiteral("pdftoppm"), {QStringLiteral("-png"), QStringLiteral("-r"), QString::number(dpi),
                                     QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"),
                                     QString::number(page), QStringLiteral("-singlefile"), pdf, stem});
    return QImage(stem + QStringLiteral(".png")).convertToFormat(QImage::Format_RGB32);
}

// The pictures embedded in the PDF, as stored, in page order.
inline QList<QImage> embeddedImages(const QString& pdf) {
    QTemporaryDir dir;
    run(QStringLiteral("pdfimages"), {QStringLiteral("-png"), pdf, dir.filePath(QStringLiteral("image"))});
    QList<QImage> images;
    QDir folder(dir.path());
    for (const QString& name : folder.entryList({QStringLiteral("image-*.png")}, QDir::Files, QDir::Name))
        images << QImage(folder.filePath(name)).convertToFormat(QImage::Format_RGB32);
    return images;
}

// The resolution, in dots per inch across and down, each embedded picture is printed at.
inline QList<QPair<int, int>> imageResolutions(const QString& pdf) {
    const QStringList lines =
        QString::fromUtf8(run(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf}))
            .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QList<QPair<int, int>> found;
    for (int i = 2; i < lines.size(); ++i) { // after the two heading lines
        const QStringList columns = lines[i].split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (columns.size() > 13)
            found << qMakePair(columns[12].toInt(), columns[13].toInt());
    }
    return found;
}

} // namespace pdftools
