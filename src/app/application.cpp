#include "app/application.h"

#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <new>

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        if (m_onError)
            m_onError(errorText(e));
    } catch (...) {
        if (m_onError)
            m_onError(QStringLiteral("不明なエラーが発生しました。"));
    }
    return false;
}

QString errorText(const std::exception& e) {
    if (dynamic_cast<const std::bad_alloc*>(&e))
        return QStringLiteral("メモリーが足りません。");
    return QString::fromUtf8(e.what());
}

QStringList uiFontFamilies() {
    return {QStringLiteral("Tahoma"), QStringLiteral("Noto Sans CJK JP"), QStringLiteral("IPAexGothic"),
            QStringLiteral("IPAGothic"), QStringLiteral("sans-serif")};
}

QIcon applicationIcon() {
    QIcon builtIn;
    for (int size : {16, 32, 48, 128, 256})
        builtIn.addFile(QStringLiteral(":/icons/%1x%1/" AOBAROKU_APP_ID ".png").arg(size), QSize(size, size));
    return QIcon::fromTheme(QStringLiteral(AOBAROKU_APP_ID), builtIn);
}

void TApplication::setUpLook() {
    setWindowIcon(applicationIcon());
    QFont font;
    font.setFamilies(uiFontFamilies());
    font.setPointSize(8);
    setFont(font);

    auto* translator = new QTranslator(this);
    if (translator->load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        installTranslator(translator);
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
}
