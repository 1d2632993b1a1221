#pragma once

#include "question/QuestionEditor.h"
#include "question/TestEditorLink.h"
#include "support/DocumentTest.h"
#include "support/PakBytes.h"

#include <QBuffer>
#include <QImage>
#include <QList>

// The test editor's side, recorded.
class RecordedTestEditor : public TestEditorLink {
public:
    void setNodeLabel(int, const QString &) override {}
    void setNodeMark(int k) override { marks << k; }
    bool saveQuestionAs(int) override { return false; }
    void setTestModified() override { ++modifiedCalls; }
    void questionAppended(int k) override { appended << k; }
    QPoint position() const override { return {300, 200}; }

    QList<int> marks;
    QList<int> appended;
    int modifiedCalls = 0;
};

// A workspace with its working archives, a question editor and the recorded test editor.
class QuestionFixture : public DocumentTest {
protected:
    void SetUp() override
    {
        DocumentTest::SetUp();
        editor.setTestEditor(&link);
    }

    // Question k of a test of `count` questions in the editor.
    void editTestQuestion(int k = 1, int count = 3)
    {
        t.ws.workMode = WorkTest;
        t.ws.test.header.questionCount = count;
        ASSERT_TRUE(editor.fillFromTest(k));
    }
    void editNewSingle()
    {
        t.ws.workMode = WorkSingleQuestion;
        editor.newSingleQuestion();
    }
    QString diskFile(const QString &name, QByteArrayView bytes)
    {
        const QString p = path(name);
        EXPECT_TRUE(PakBytes::writeFile(p, bytes));
        return p;
    }
    static QByteArray bmp(int w, int h, QColor colour = Qt::red)
    {
        QImage image(w, h, QImage::Format_RGB32);
        image.fill(colour);
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "BMP");
        return bytes;
    }

    QuestionEditor editor{t.ws};
    RecordedTestEditor link;
};
