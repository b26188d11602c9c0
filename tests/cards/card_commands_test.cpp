#include "cards/record_cards.h"
#include "cards/show_card.h"
#include "crops/crop_records.h"
#include "crops/crop_tab.h"
#include "purchases/purchase_records.h"
#include "purchases/purchase_tab.h"
#include "report/pdf_tools.h"
#include "schedule/schedule_tab.h"
#include "schedule/task_records.h"
#include "support/scripted_platform.h"
#include "widgets/app_context.h"
#include "widgets/list_view3.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

// Closes the first card that opens and remembers what it was.
class CardCatcher {
public:
    CardCatcher() {
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            for (QWidget* window : QApplication::topLevelWidgets())
                if (auto* card = qobject_cast<TCardWindow*>(window); card && card->isVisible()) {
                    className = QString::fromLatin1(card->metaObject()->className());
                    modal = QApplication::activeModalWidget() == card;
                    card->close();
                }
        });
        m_timer.start(0);
    }

    QString className;
    bool modal = false;

private:
    QTimer m_timer;
};

} // namespace

class CardCommandsTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<ScriptedPlatform> m_platform;
    TSakumotuList m_crops;
    TYoteiList m_tasks;
    TCostList m_costs;
    AppContext m_context;

private slots:
    void init() {
        m_platform = std::make_unique<ScriptedPlatform>(m_dir.path() + QLatin1Char('/'));
        m_platform->printFile = m_dir.filePath(QStringLiteral("list.pdf"));
        m_crops.clear();
        m_crops.add()->name = kDummyCropName;
        m_crops.add()->name = QStringLiteral("トマト");
        m_context = AppContext();
        m_context.platform = m_platform.get();
        m_context.crops = &m_crops;
        m_tasks.clear();
        m_context.tasks = &m_tasks;
        m_costs.clear();
        m_context.costs = &m_costs;
        lendCardOpeners(m_context);
    }

    void cropTabShowOpensTheCropCard() {
        TCropTab tab(m_context);
        tab.RefreshCropList();
        CheckByData(m_crops.at(1), tab.list());
        CardCatcher catcher;
        tab.findChild<QPushButton*>(QStringLiteral("cropShowButton"))->click();
        QCOMPARE(catcher.className, QStringLiteral("TForm7"));
        QVERIFY(catcher.modal);
        QCOMPARE(m_crops.count(), 2);
    }

    void cropTabPrintPrintsTheList() {
        if (!pdftools::available())
            QSKIP("poppler-utils are not installed");
        TCropTab tab(m_context);
        tab.RefreshCropList();
        tab.findChild<QPushButton*>(QStringLiteral("cropPrintButton"))->click();
        QCOMPARE(pdftools::pageCount(m_platform->printFile), 1);
        QVERIFY(pdftools::pageText(m_platform->printFile, 1).contains(QStringLiteral("トマト")));
    }

    void scheduleTabShowOpensTheTaskCard() {
        TYotei* task = m_tasks.add();
        task->name = QStringLiteral("種まき");
        task->tuki = QStringLiteral("4");
        task->shuu = QStringLiteral("2");
        TScheduleTab tab(m_context);
        tab.filters()->button(4)->click(); // すべて
        CheckByData(task, tab.list());
        CardCatcher catcher;
        tab.findChild<QPushButton*>(QStringLiteral("taskShowButton"))->click();
        QCOMPARE(catcher.className, QStringLiteral("TForm12"));
        QVERIFY(catcher.modal);
        QCOMPARE(task->name, QStringLiteral("種まき"));
    }

    void purchaseTabShowOpensThePurchaseCard() {
        TCost* cost = m_costs.add();
        cost->nen = QStringLiteral("2014");
        cost->tuki = QStringLiteral("5");
        cost->hi = QStringLiteral("3");
        TPurchaseTab tab(m_context);
        tab.RebuildYears();
        tab.YearChanged();
        CheckByData(cost, tab.list());
        CardCatcher catcher;
        tab.findChild<QPushButton*>(QStringLiteral("costShowButton"))->click();
        QCOMPARE(catcher.className, QStringLiteral("TForm17"));
        QVERIFY(catcher.modal);
        QCOMPARE(m_costs.count(), 1);
    }
};

QTEST_MAIN(CardCommandsTest)
#include "card_commands_test.moc"
