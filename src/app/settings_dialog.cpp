#include "app/settings_dialog.h"

#include "settings/preferences.h"
#include "week/autostart.h"
#include "widgets/platform.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TSettingsDialog::TSettingsDialog(Platform& platform, settings::Preferences& preferences, QWidget* parent)
    : FormDialog(platform, parent), m_preferences(preferences), m_platform(platform) {
    setObjectName(QStringLiteral("settingsDialog"));
    setWindowTitle(QStringLiteral("設定"));

    m_caption = new QLineEdit(m_preferences.imageCaption(), this);
    m_caption->setObjectName(QStringLiteral("imageCaptionEdit"));
    m_caption->setMaxLength(settings::kCaptionLength);
    m_caption->setMinimumWidth(300);
    auto* note =
        new QLabel(QStringLiteral("作付計画やカードを画像で保存するとき、画像の左下に入る文字です。\n"
                                  "空にすると何も入りません。はじめは「%1」です。")
                       .arg(settings::kDefaultImageCaption),
                   this);
    note->setObjectName(QStringLiteral("imageCaptionNote"));
    note->setTextFormat(Qt::PlainText);

    auto* grid = new QGridLayout(this);
    auto* label = new QLabel(QStringLiteral("画像の署名(&S)"), this);
    label->setBuddy(m_caption);
    grid->addWidget(label, 0, 0);
    grid->addWidget(m_caption, 0, 1);
    grid->addWidget(note, 1, 1);
    grid->setRowMinimumHeight(2, 6);
    m_remind = new QCheckBox(QStringLiteral("ログイン時に今週の作業を知らせる(&R)"), this);
    m_remind->setObjectName(QStringLiteral("remindAtLoginBox"));
    m_remind->setChecked(RemindEntryWritten());
    grid->addWidget(m_remind, 3, 1);
    grid->setRowMinimumHeight(4, 6);
    grid->addLayout(okCancelRow(m_ok), 5, 0, 1, 2);
    connect(m_ok, &QPushButton::clicked, this, &TSettingsDialog::OkButtonClick);
    setFixedSize(sizeHint());
}

void TSettingsDialog::OkButtonClick() {
    const QString before = m_preferences.imageCaption();
    m_preferences.setImageCaption(m_caption->text());
    m_preferences.sync();
    m_changed = m_preferences.imageCaption() != before;
    if (m_remind->isChecked() != RemindEntryWritten()) {
        const QString failure = SetRemindAtLogin(
            m_remind->isChecked(), QCoreApplication::applicationFilePath(), m_platform.dataFolder());
        if (!failure.isEmpty())
            m_platform.error(failure);
    }
    accept();
}

bool editSettings(Platform& platform, QWidget* owner) {
    TSettingsDialog dialog(platform, platform.preferences(), owner);
    return dialog.exec() == QDialog::Accepted && dialog.changed();
}
