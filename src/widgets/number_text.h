#pragma once

#include <QValidator>

class QLineEdit;

// Numbers as a Japanese input method types them by default: full-width digits,
// the full-width minus (and the minus sign) and the full-width plus become
// their half-width forms, and thousands separators (, and ，) go. Every other
// character stays, so the field's own checks still see it.
QString halfWidthNumber(const QString& typed);

// halfWidthNumber on every text a line edit takes: typed, pasted, composed or
// set. The field shows the half-width text, so that is what gets stored.
class HalfWidthNumber : public QValidator {
    Q_OBJECT
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override;
};

// Makes field a number field: half-width numbers, and no composition window.
void useHalfWidthNumbers(QLineEdit* field);
