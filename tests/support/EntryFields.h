// The entry window's fields that keep text as typed: header, footer, headings, accounts and
// descriptions (the amount cells take amounts only).
#pragma once

#include "report/Form1.h"

#include <QLineEdit>

#include <vector>

inline std::vector<QLineEdit*> TextFields(Form1& form) {
    std::vector<QLineEdit*> fields{form.txtPurpose,   form.txtStatement, form.txtName,    form.txtPosition,
                                   form.txtSSN,       form.txtEmpID,     form.txtManager, form.txtDept,
                                   form.txtApproved1, form.txtApproved2, form.txtNotes1,  form.txtNotes2};
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
