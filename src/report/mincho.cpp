#include "report/mincho.h"

#include <QStringList>

namespace report {

namespace {

QFont mincho(const QStringList& preferred, double pointSize) {
    QFont font;
    font.setFamilies(preferred + QStringList{QStringLiteral("Noto Serif CJK JP"),
                                             QStringLiteral("IPAexMincho"), QStringLiteral("IPAMincho"),
                                             QStringLiteral("serif")});
    font.setStyleHint(QFont::Serif);
    font.setPointSizeF(pointSize);
    return font;
}

} // namespace

QFont minchoFont(double pointSize) {
    return mincho({QStringLiteral("ＭＳ 明朝"), QStringLiteral("MS Mincho")}, pointSize);
}

QFont pMinchoFont(double pointSize) {
    return mincho({QStringLiteral("ＭＳ Ｐ明朝"), QStringLiteral("MS PMincho")}, pointSize);
}

} // namespace report
