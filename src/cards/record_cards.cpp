#include "cards/record_cards.h"

#include "cards/card_sheets.h"
#include "crops/crop_records.h"
#include "harvest/harvest_records.h"
#include "harvest/photo_import.h"
#include "purchases/purchase_records.h"
#include "schedule/task_records.h"
#include "store/file_names.h"
#include "widgets/platform.h"

#include <QPainter>

namespace {

// Each card proposes what its record is called; a record without a name, its old fixed name.
QString jpegName(const QString& name, const QString& fallback) {
    return store::proposedFileName(name, QStringLiteral(".jpg"), fallback);
}

QString twoDigits(const QString& number) {
    return number.size() == 1 ? QLatin1Char('0') + number : number;
}

// A purchase is known by its day: 2026-05-03.
QString purchaseDay(const TCost& cost) {
    if (cost.nen.isEmpty())
        return QString();
    return cost.nen + QLatin1Char('-') + twoDigits(cost.tuki) + QLatin1Char('-') + twoDigits(cost.hi);
}

} // namespace

// The smallest crop card window is 412 by 446 with its frame and title bar.
TForm7::TForm7(const TSakumotu& crop, Platform& platform, QWidget* owner)
    : TCardWindow(platform, QStringLiteral("作物情報"), cards::cropSheet(crop), QStringLiteral("cropCard"),
                  jpegName(crop.name, QStringLiteral("sakumotu.jpg")), owner) {
    setObjectName(QStringLiteral("TForm7"));
    setMinimumSize(412 - 16, 446 - 38);
}

TForm12::TForm12(const TYotei& task, Platform& platform, QWidget* owner)
    : TCardWindow(platform, QStringLiteral("予定"), cards::taskSheet(task), QStringLiteral("taskCard"),
                  jpegName(task.name, QStringLiteral("yotei.jpg")), owner) {
    setObjectName(QStringLiteral("TForm12"));
}

TForm17::TForm17(const TCost& cost, Platform& platform, QWidget* owner)
    : TCardWindow(platform, QStringLiteral("購入"), cards::purchaseSheet(cost),
                  QStringLiteral("purchaseCard"), jpegName(purchaseDay(cost), QStringLiteral("kounyu.jpg")),
                  owner) {
    setObjectName(QStringLiteral("TForm17"));
}

TFormNikkiCard::TFormNikkiCard(const TNikki& entry, Platform& platform, QWidget* owner)
    : TCardWindow(platform, QStringLiteral("日誌"), cards::diarySheet(entry), QStringLiteral("diaryCard"),
                  jpegName(entry.date.toString(Qt::ISODate), QStringLiteral("nikki.jpg")), owner) {
    setObjectName(QStringLiteral("TFormNikkiCard"));
    if (!entry.photos.isEmpty()) {
        m_photo = photos::loadPhoto(platform.dataFolder(), entry.photos.first());
        m_photoMissing = m_photo.isNull();
    }
}

void TFormNikkiCard::paintEvent(QPaintEvent* event) {
    TCardWindow::paintEvent(event);
    const QRect box = cards::kDiaryPhotoPlace.rect(size());
    QPainter painter(this);
    if (m_photoMissing) {
        painter.setFont(cards::cardFont(cards::FontKind::Value));
        painter.drawText(box, Qt::AlignLeft | Qt::AlignTop, QStringLiteral("（写真を読めませんでした）"));
        return;
    }
    if (m_photo.isNull() || box.isEmpty())
        return;
    const QImage scaled = m_photo.scaled(box.size(), Qt::KeepAspectRatio, Qt::SmoothTransformation);
    painter.drawImage(box.topLeft(), scaled);
}
