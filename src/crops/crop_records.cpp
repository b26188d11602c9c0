#include "crops/crop_records.h"

void TJiki::CopyFrom(const TJiki& other) {
    st = other.st;
    ed = other.ed;
}

QString PeriodText(const TJiki& period) {
    return period.st + QStringLiteral("～") + period.ed;
}

QString PeriodsText(const TJikiList& periods) {
    QStringList texts;
    for (int i = 0; i < periods.count(); ++i)
        texts << PeriodText(*periods.at(i));
    return texts.join(QStringLiteral("、"));
}

QString TSakumotu::VarietiesText() const {
    if (!okiniiri1.isEmpty() && !okiniiri2.isEmpty())
        return okiniiri1 + QStringLiteral("、") + okiniiri2;
    return okiniiri1.isEmpty() ? okiniiri2 : okiniiri1;
}

QString TSakumotu::SpacingText() const {
    if (kabukan1.isEmpty())
        return QString();
    if (kabukan2.isEmpty())
        return QStringLiteral("株間") + kabukan1 + QStringLiteral("cm");
    const QString plants =
        QStringLiteral("株間") + kabukan1 + QStringLiteral("（または") + kabukan2 + QStringLiteral("）cm");
    if (joukan.isEmpty())
        return plants;
    return QStringLiteral("条間") + joukan + QStringLiteral("cmで、") + plants;
}

TSakumotu* TSakumotuList::FindByName(const QString& name) const {
    return FindOtherByName(name, nullptr);
}

TSakumotu* TSakumotuList::FindOtherByName(const QString& name, const TSakumotu* crop) const {
    for (const auto& item : m_items)
        if (item.get() != crop && item->name == name)
            return item.get();
    return nullptr;
}
