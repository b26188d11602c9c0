#include "store/message_sink.h"

#include "store/save_file.h"

#include <QDir>
#include <QFileInfo>

namespace store {

// The copy is made only when the file is next written, so its stamp is not known yet.
void MessageSink::loadFailed(const QString& text, const QString& path) {
    if (!isNotedUnreadable(path)) {
        message(text);
        return;
    }
    const QFileInfo file(path);
    message(text + QLatin1Char('\n') + QDir::toNativeSeparators(file.absoluteFilePath()) +
            QStringLiteral(" の元の内容は、次に保存する前に ") + file.fileName() +
            QStringLiteral(".unreadable-日付-時刻 として同じフォルダーに残します。"));
}

} // namespace store
