#pragma once

#include <QString>
#include <QStringList>

namespace store {

// Where loaders and savers report their one message. The windows hand in the
// real message box; tests hand in a recorder.
class MessageSink {
public:
    virtual ~MessageSink() = default;
    virtual void message(const QString& text) = 0;
    // A data file at path could not be read in full; message is its load
    // message. Said as it is, with a second line, for a file that will be kept
    // aside, that names it and says where its original goes before the next save.
    virtual void loadFailed(const QString& message, const QString& path);
};

class RecordingSink : public MessageSink {
public:
    void message(const QString& text) override { messages << text; }
    QStringList messages;
};

} // namespace store
