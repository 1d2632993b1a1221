#pragma once

#include "question/TestEditorLink.h"

#include <QList>
#include <QPoint>
#include <QString>
#include <QStringList>

// The test editor's side of a test question, writing down what the question windows asked of it.
class RecordingTestEditor : public TestEditorLink {
public:
    QStringList calls;        // "label 3 Ala ma", "mark 3", "modified", "appended 4"
    bool saveQuestionAsResult = true;
    QPoint where{300, 200};
    bool testModified = false;

    void setNodeLabel(int k, const QString &text) override
    {
        calls << QStringLiteral("label ") + QString::number(k) + u' ' + text;
    }
    void setNodeMark(int k) override { calls << QStringLiteral("mark ") + QString::number(k); }
    bool saveQuestionAs(int k) override
    {
        calls << QStringLiteral("saveQuestionAs ") + QString::number(k);
        return saveQuestionAsResult;
    }
    void setTestModified() override
    {
        testModified = true;
        calls << QStringLiteral("modified");
    }
    void questionAppended(int k) override { calls << QStringLiteral("appended ") + QString::number(k); }
    QPoint position() const override { return where; }
};
