// The entry window's fields that keep text as typed: header, footer, headings, accounts and
// descriptions (the amount cells take amounts only).
#pragma once

#include "FieldByName.h"
#include "report/Form1.h"

#include <QLineEdit>

#include <vector>

inline std::vector<QLineEdit*> TextFields(Form1& form) {
    std::vector<QLineEdit*> fields;
    for (const TextFieldEntry& entry : kTextFields) fields.push_back(Field(form, entry.key));
    fields.insert(fields.end(), form.txtHeading.begin(), form.txtHeading.end());
    fields.insert(fields.end(), form.txtAccount.begin(), form.txtAccount.end());
    fields.insert(fields.end(), form.txtDesc.begin(), form.txtDesc.end());
    return fields;
}

// Fills every text field to its limit with unbroken text, a different letter in each field.
inline void FillTextFieldsTo(Form1& form, int length) {
    int letter = 0;
    for (QLineEdit* field : TextFields(form)) field->setText(QString(length, QChar(u'A' + letter++ % 26)));
}
