#include "harvest/harvest_records.h"

#include <QRegularExpression>

QStringList DefaultUnits() {
    return {QStringLiteral("g"),  QStringLiteral("kg"), QStringLiteral("個"), QStringLiteral("本"),
            QStringLiteral("株"), QStringLiteral("束"), QStringLiteral("袋")};
}

std::optional<qint64> ParseAmount(const QString& text) {
    const QString plain = text.normalized(QString::NormalizationForm_KC).trimmed();
    static const QRegularExpression form(
        QRegularExpression::anchoredPattern(QStringLiteral("([0-9]{1,12})(?:\\.([0-9]{1,3}))?")));
    const QRegularExpressionMatch m = form.match(plain);
    if (!m.hasMatch())
        return std::nullopt;
    QString decimals = m.captured(2);
    while (decimals.size() < 3)
        decimals += QLatin1Char('0');
    return m.captured(1).toLongLong() * 1000 + decimals.toLongLong();
}

QString AmountText(qint64 thousandths) {
    const QString sign = thousandths < 0 ? QStringLiteral("-") : QString();
    const qint64 value = thousandths < 0 ? -thousandths : thousandths;
    QString text = sign + QString::number(value / 1000);
    if (const qint64 rest = value % 1000) {
        QString decimals = QStringLiteral("%1").arg(rest, 3, 10, QLatin1Char('0'));
        while (decimals.endsWith(QLatin1Char('0')))
            decimals.chop(1);
        text += QLatin1Char('.') + decimals;
    }
    return text;
}

namespace {

QString dateText(const QDate& date) {
    return QStringLiteral("%1/%2/%3").arg(date.year()).arg(date.month()).arg(date.day());
}

} // namespace

QString TShukaku::DateText() const {
    return dateText(date);
}

QString TShukaku::AmountWithUnit() const {
    return AmountText(Amount()) + QLatin1Char(' ') + tani;
}

QString TNikki::DateText() const {
    return dateText(date);
}

QString TNikki::OneLine() const {
    QStringList lines;
    for (const QString& line : text.split(QLatin1Char('\n')))
        if (!line.trimmed().isEmpty())
            lines << line.trimmed();
    QString shown = lines.join(QStringLiteral(" / "));
    if (!kind.isEmpty())
        shown = QStringLiteral("【") + kind + QStringLiteral("】") + shown;
    return shown;
}

bool IsSafePhotoName(const QString& name) {
    // Anchored whole: "$" alone would let a name end in a line break.
    static const QRegularExpression form(
        QRegularExpression::anchoredPattern(QStringLiteral("photos/[0-9]{4}/[A-Za-z0-9_-]{1,64}\\.jpg")));
    return form.match(name).hasMatch();
}
