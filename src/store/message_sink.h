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
};

class RecordingSink : public MessageSink {
public:
    void message(const QString& text) override { messages << text; }
    QStringList messages;
};

} // namespace store
