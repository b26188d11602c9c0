#include "crops/crop_records.h"

void TJiki::CopyFrom(const TJiki& other) {
    st = other.st;
    ed = other.ed;
}

QString PeriodText(const TJiki& period) {
    return period.st + QStringLiteral("～") + period.ed;
}

TJiki* TJikiList::add() {
    m_items.push_back(std::make_unique<TJiki>());
    return m_items.back().get();
}

void TJikiList::remove(int i) {
    m_items.erase(m_items.begin() + i);
}

void TJikiList::CopyFrom(const TJikiList& other) {
    if (&other == this)
        return;
    clear();
    for (int i = 0; i < other.count(); ++i)
        add()->CopyFrom(*other.at(i));
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

int TSakumotuList::indexOf(const TSakumotu* crop) const {
    for (size_t i = 0; i < m_items.size(); ++i)
        if (m_items[i].get() == crop)
            return int(i);
    return -1;
}

TSakumotu* TSakumotuList::add() {
    m_items.push_back(std::make_unique<TSakumotu>());
    return m_items.back().get();
}

TSakumotu* TSakumotuList::insert(int index) {
    auto it = m_items.insert(m_items.begin() + index, std::make_unique<TSakumotu>());
    return it->get();
}

void TSakumotuList::remove(int index) {
    m_items.erase(m_items.begin() + index);
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
