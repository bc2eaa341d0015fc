#pragma once

#include "scoring/types.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace sheets {

// One student of a class list.
struct ClassListRow {
    int line = 0; // in the file, from 1
    scoring::Subject subject;
    QString problem; // empty when a result record keeps the four fields whole; else why not
};

// A class list: a CSV file with the columns surname, first name, course and group, separated
// by ';' or ',' (whichever the first line has), in UTF-8 or else code page 1251. A first line
// "surname;first_name;course;group" or "фамилия;имя;курс;группа" is skipped, and so are empty
// lines. A field may be quoted ("…", a doubled quote inside). A row whose fields a record
// could not keep whole, or that lacks a surname or a first name, carries its problem in
// Russian.
QList<ClassListRow> parseClassList(const QByteArray& bytes);

// "строка 5 (Иванов Пётр): фамилия длиннее 20 знаков".
QString describeProblem(const ClassListRow& row);

} // namespace sheets
