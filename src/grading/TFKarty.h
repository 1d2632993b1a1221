#pragma once

#include "grading/GradingSession.h"
#include "toolkit/SkinnedWindow.h"

class LabelButton;
class QCheckBox;
class QLabel;
class QProgressBar;
class QTableWidget;
class Workspace;

// "Sprawdź karty odpowiedzi ...": scans added and read with a progress bar, the table of pupils, the
// chosen sheet's marks over its scan, every uncertain row enlarged to be settled with a click. The
// work is GradingSession's; the window shows it and forwards input.
class TFKarty : public SkinnedWindow {
    Q_OBJECT

public:
    explicit TFKarty(Workspace &ws, QWidget *parent = nullptr);
    ~TFKarty() override;

    // From the test editor: the window over `editor`, modally, for the test the workspace holds.
    static void showGradingWindow(Workspace &ws, QWidget *editor);

    GradingSession &session() { return m_session; }
    // The table and the review panel as the session holds them.
    void showValues();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void showSheet(int sheet);
    void showReview();
    void settleCurrent();

    GradingSession m_session;
    QTableWidget *m_table;
    QLabel *m_sheetView;
    QLabel *m_reviewView;
    QLabel *m_reviewCaption;
    QList<QCheckBox *> m_letters;
    LabelButton *m_settle;
    QProgressBar *m_progress;
    QLabel *m_status;
    LabelButton *m_add;
    LabelButton *m_save;
    LabelButton *m_print;
    LabelButton *m_close;
    LabelButton *m_closeLabel;
    int m_shownSheet = -1;
};
