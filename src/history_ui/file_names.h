#pragma once

#include <QHash>
#include <QString>

namespace history {

// What a gardener calls the notebook's files, as the history window shows
// them: 作物一覧, 作付計画「春の畑」, 予定, 購入履歴, お気に入り. The one place
// that turns a data file's name into words.
class FileNames {
public:
    // The plans go by the names their files in folder hold now, unnamed ones
    // by the captions of their buttons (計画１ … サンプル).
    static FileNames ofFolder(const QString& folder);

    // A name it does not know stays as it is.
    QString of(const QString& fileName) const;

private:
    QHash<QString, QString> m_names;
};

} // namespace history
