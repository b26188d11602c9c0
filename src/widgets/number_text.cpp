#include "widgets/number_text.h"

#include <QLineEdit>

QString halfWidthNumber(const QString& typed) {
    QString result;
    result.reserve(typed.size());
    for (const QChar c : typed) {
        const char16_t code = c.unicode();
        if (code >= u'０' && code <= u'９')
            result += QChar(u'0' + (code - u'０'));
        else if (code == u'－' || code == u'−')
            result += u'-';
        else if (code == u'＋')
            result += u'+';
        else if (code != u',' && code != u'，')
            result += c;
    }
    return result;
}

QValidator::State HalfWidthNumber::validate(QString& input, int& pos) const {
    const QString converted = halfWidthNumber(input);
    if (converted != input) {
        pos = int(halfWidthNumber(input.left(pos)).size());
        input = converted;
    }
    return Acceptable;
}

void useHalfWidthNumbers(QLineEdit* field) {
    field->setValidator(new HalfWidthNumber(field));
    field->setAttribute(Qt::WA_InputMethodEnabled, false);
    field->setInputMethodHints(Qt::ImhPreferNumbers | Qt::ImhLatinOnly);
}
