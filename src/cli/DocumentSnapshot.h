#pragma once

#include "DocumentKinds.h"
#include "core/TestModel.h"
#include "documents/ListDocuments.h"
#include "core/StudentList.h"

#include <QList>
#include <QString>
#include <QStringList>

// An attachment member: its size when read from a document, the disk file it comes from when written.
struct DocumentMember {
    QString name;
    qint64 size = -1;
    QString path;
};

struct SettingValue {
    QString key;
    QString value; // decoded text
};

// One document as the program's readers see it, whatever its kind; only the fields of its kind are
// used. Tests and questions carry their attachments in directory order, without the document's own
// member.
struct DocumentSnapshot {
    DocumentKind kind = DocumentKind::Test;
    int version = 40;
    TestModel test;
    SingleQuestion question;
    ListInfo listInfo;   // test list, question-set list
    QStringList entries; // test list, question-set list
    StudentList students;
    QList<SettingValue> settings; // in file order
    QList<DocumentMember> members;
};
