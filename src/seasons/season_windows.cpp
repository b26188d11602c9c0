#include "seasons/season_windows.h"

#include "image/jpeg_writer.h"
#include "plans/plan_chart.h"
#include "seasons/rotation_picture.h"
#include "seasons/season_records.h"
#include "store/export_file.h"
#include "store/notebook_files.h"
#include "widgets/dialog_placement.h"
#include "widgets/platform.h"

#include <QBuffer>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QScrollArea>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace seasons {

namespace {

QScrollArea* pictureArea(const QImage& image, QWidget* parent) {
    auto* label = new QLabel;
    label->setPixmap(QPixmap::fromImage(image));
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto* area = new QScrollArea(parent);
    area->setObjectName(QStringLiteral("pictureArea"));
    area->setBackgroundRole(QPalette::Base);
    area->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    area->setWidget(label);
    return area;
}

QPushButton* closeButton(QDialog* dialog) {
    auto* button = new QPushButton(QStringLiteral("閉じる"), dialog);
    button->setObjectName(QStringLiteral("closeButton"));
    button->setAutoDefault(false);
    button->setDefault(true);
    QObject::connect(button, &QPushButton::clicked, dialog, &QDialog::accept);
    return button;
}

} // namespace

TPastPlanWindow::TPastPlanWindow(Platform& platform, const PastPlan& past, const QString& caption,
                                 QWidget* parent)
    : FormDialog(platform, parent) {
    setObjectName(QStringLiteral("pastPlanWindow"));
    setWindowTitle(
        QStringLiteral("%1年度　%2（保存した作付計画・閲覧のみ）").arg(past.year).arg(past.plan->name));
    TGroupList plan;
    CopyPlan(*past.plan, plan);
    DrawChart(plan, m_chart, caption);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pictureArea(m_chart, this), 1);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(closeButton(this));
    layout->addLayout(row);
    resize(chart::kImageWidth + 40, std::min(640, m_chart.height() + 90));
    centreOnMainWindow(this);
}

TPastScheduleWindow::TPastScheduleWindow(Platform& platform, const PastSchedule& past, QWidget* parent)
    : FormDialog(platform, parent) {
    setObjectName(QStringLiteral("pastScheduleWindow"));
    setWindowTitle(QStringLiteral("%1年度の予定（%2 に残した記録・閲覧のみ）")
                       .arg(past.year)
                       .arg(past.kept.isValid() ? past.kept.toString(QStringLiteral("yyyy/M/d"))
                                                : QStringLiteral("日付不明")));
    auto* list = new QTreeWidget(this);
    list->setObjectName(QStringLiteral("pastTaskList"));
    list->setRootIsDecorated(false);
    list->setHeaderLabels(
        {QStringLiteral("週"), QStringLiteral("予定"), QStringLiteral("ノート"), QStringLiteral("状態")});
    const QColor grey(128, 128, 128);
    for (int i = 0; i < past.tasks->count(); ++i) {
        const TYotei& task = *past.tasks->at(i);
        auto* item = new QTreeWidgetItem(list, {task.WeekText(), task.name, task.NoteOneLine(), task.state});
        item->setToolTip(2, task.NoteText());
        if (task.isDone())
            for (int c = 0; c < 4; ++c)
                item->setForeground(c, grey);
    }
    list->header()->resizeSection(0, 70);
    list->header()->resizeSection(1, 220);
    list->header()->resizeSection(2, 260);
    auto* layout = new QVBoxLayout(this);
    const QList<TYotei*> tasks = past.tasks->items();
    const auto done = std::count_if(tasks.begin(), tasks.end(), [](const TYotei* t) { return t->isDone(); });
    layout->addWidget(
        new QLabel(QStringLiteral("完了 %1 件、未完了 %2 件").arg(done).arg(tasks.size() - done), this));
    layout->addWidget(list, 1);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(closeButton(this));
    layout->addLayout(row);
    resize(680, 460);
    centreOnMainWindow(this);
}

TRotationWindow::TRotationWindow(Platform& platform, RotationTable table, QWidget* parent)
    : FormDialog(platform, parent), m_platform(platform), m_table(std::move(table)) {
    setObjectName(QStringLiteral("rotationWindow"));
    setWindowTitle(QStringLiteral("連作表"));
    m_picture = DrawRotationTable(m_table);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(
        m_table.beds.isEmpty()
            ? QStringLiteral("作付計画にまだ作物がありません。")
            : QStringLiteral("畝（グループ）ごと、年度ごとに育てた科と作物です。"
                             "赤い枠と※は、連作障害の目安の年数をあけずに同じ科を育てたところです。"),
        this));
    layout->addWidget(pictureArea(m_picture, this), 1);
    auto* row = new QHBoxLayout;
    auto add = [&](const QString& caption, const char* name, void (TRotationWindow::*handler)()) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        connect(b, &QPushButton::clicked, this, handler);
        row->addWidget(b);
    };
    add(QStringLiteral("印刷"), "rotationPrintButton", &TRotationWindow::PrintButtonClick);
    add(QStringLiteral("画像で保存"), "rotationImageButton", &TRotationWindow::ImageButtonClick);
    add(QStringLiteral("CSVで保存"), "rotationCsvButton", &TRotationWindow::CsvButtonClick);
    row->addStretch(1);
    row->addWidget(closeButton(this));
    layout->addLayout(row);
    resize(std::min(900, m_picture.width() + 40), std::min(600, m_picture.height() + 120));
    centreOnMainWindow(this);
}

// Scaled down to the page's width when it is wider, never up.
void TRotationWindow::PrintButtonClick() {
    QPrinter printer;
    if (!m_platform.printDialog(printer))
        return;
    QPainter p;
    if (!p.begin(&printer)) {
        m_platform.error(QStringLiteral("印刷できませんでした。"));
        return;
    }
    const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
    const qreal scale =
        std::min<qreal>(1.0 * printer.resolution() / 96.0, qreal(page.width()) / m_picture.width());
    p.scale(scale, scale);
    p.drawImage(0, 0, m_picture);
    p.end();
}

// PNG unless the name ends in .jpg or .jpeg.
void TRotationWindow::ImageButtonClick() {
    const QString path = m_platform.saveFileName(
        {QStringLiteral("rotationImage"), SaveKind::Picture, QStringLiteral("連作表.png"),
         QStringLiteral("PNG 画像 (*.png);;JPEG 画像 (*.jpg *.jpeg)")});
    if (path.isEmpty())
        return;
    const store::NotebookFiles notebook = store::notebookFiles(m_platform.dataFolder());
    const QString lower = path.toLower();
    if (lower.endsWith(QStringLiteral(".jpg")) || lower.endsWith(QStringLiteral(".jpeg"))) {
        try {
            image::writeJpeg(m_picture, path, notebook);
        } catch (const image::JpegError& e) {
            m_platform.error(QString::fromUtf8(e.what()));
        }
        return;
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    m_picture.save(&buffer, "PNG");
    if (const QString failure = writeExportFile(path, bytes, m_platform.dataFolder()); !failure.isEmpty())
        m_platform.error(failure);
}

void TRotationWindow::CsvButtonClick() {
    const QString path =
        m_platform.saveFileName({QStringLiteral("rotationCsv"), SaveKind::Export,
                                 QStringLiteral("連作表.csv"), QStringLiteral("CSV (*.csv)")});
    if (path.isEmpty())
        return;
    if (const QString failure = writeExportFile(path, RotationCsv(m_table), m_platform.dataFolder());
        !failure.isEmpty())
        m_platform.error(failure);
}

} // namespace seasons
